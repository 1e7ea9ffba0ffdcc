#pragma once

class QObject;
class QStatusBar;
class QWidget;
class TEditControl;
class TEditHost;

// File|Import... and File|Export...: the converter dialogs of the main window. The last folder
// and filter index of each direction live in the setting holders ImportPath, lblIFilter,
// ExportPath and lblEFilter; the main window's status bar tells what happens.
namespace ImportExport {

struct TContext {
  QWidget *parent;        // the main window: owner of the dialogs and boxes
  QObject *holders;       // where the setting holders are found by name
  QStatusBar *status;     // the main window's status bar
  TEditHost *host;        // stay-on-top paused around the dialogs
  TEditControl *edit;     // the active workspace's text
};

void ImportDocument(const TContext &context);
void ExportDocument(const TContext &context);

}  // namespace ImportExport
