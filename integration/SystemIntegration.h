// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

#include "integration/Autostart.h"
#include "integration/DefaultEditor.h"

class QAction;

// The main window's two Options items that tie the program into the desktop:
// "Default Windows Notepad" (mniSetDefault: the default application for plain text) and
// "Start With Windows" (mniWinStart, through the autostart component Autostart1).
class TSystemIntegration : public QObject {
  Q_OBJECT

 public:
  // mniSetDefault: the check item whose mark and hint follow mimeapps.list. programPath: the
  // program entries start (empty: the running program). Creates Autostart1 and applies its
  // stored values as the main window loads them.
  TSystemIntegration(QAction *mniSetDefault, QObject *parent,
                     const QString &programPath = QString());

  // The Options menu opens: the check mark and hint of mniSetDefault from mimeapps.list.
  void mniOptionsClick();
  // mniSetDefault was clicked: its mark has flipped; checked makes the program the default,
  // unchecked undoes it. Failures are not reported; the next opening of the menu shows the
  // state mimeapps.list then holds.
  void mniSetDefaultClick();
  // Start With Windows follows the mniWinStart check mark.
  void ApplyWinStart(bool checked) { autostart_.SetAutostart(checked); }

  TAutostart &Autostart1() { return autostart_; }
  TDefaultEditor &DefaultEditor() { return editor_; }

 private:
  QPointer<QAction> mniSetDefault_;
  TDefaultEditor editor_;
  TAutostart autostart_;
};
