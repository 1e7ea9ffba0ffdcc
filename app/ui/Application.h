// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

// The application object: it names the program. Errors are reported where a command, slot or
// timer starts (ReportErrors); one that gets past them is only logged here, as a fault.
class TApplication : public QApplication {
 public:
  TApplication(int &argc, char **argv);
  bool notify(QObject *receiver, QEvent *event) override;
};
