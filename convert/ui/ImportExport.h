// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QObject;
class QStatusBar;
class QWidget;
class TEditHost;
class TfrmEdit;

// File|Import... and File|Export...: the converter dialogs of the main window. The last folder
// and filter index of each direction live in the setting holders ImportPath, lblIFilter,
// ExportPath and lblEFilter; the main window's status bar tells what happens, and the
// document window shows a conversion's progress with Cancel.
//
// An import never replaces text: it fills the active workspace only when that is empty and
// unchanged, and a new workspace otherwise. The imported text is one undo step and counts as
// a change until it is saved. Closing the workspace during a conversion ends the converter.
namespace ImportExport {

struct TContext {
  QWidget *parent;                           // the main window: owner of the dialogs and boxes
  QObject *holders;                          // where the setting holders are found by name
  QStatusBar *status;                        // the main window's status bar
  TEditHost *host;                           // stay-on-top paused around the dialogs
  TfrmEdit *window;                          // the active workspace
  std::function<TfrmEdit *()> newWorkspace;  // opens a new, untitled workspace
};

void ImportDocument(const TContext &context);
void ExportDocument(const TContext &context);

}  // namespace ImportExport
