#pragma once

#include <QApplication>

// The application object: it names the program and is the last-resort handler of errors no
// command caught, which it reports in an error box instead of ending the program.
class TApplication : public QApplication {
 public:
  TApplication(int &argc, char **argv);
  bool notify(QObject *receiver, QEvent *event) override;
};
