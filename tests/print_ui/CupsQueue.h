// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

// A private print server for the tests: the process's CUPS_SERVER points at a socket in a
// folder of its own from before main() runs, so no test ever sees the machine's printers (and
// with no server started, there are none). Start() runs cupsd on that socket with its own
// configuration and cups-pdf queues (by default one, the default printer).
class TCupsQueue {
 public:
  static constexpr const char *QueueName = "VellumixPDF";

  ~TCupsQueue();

  // Starts the server and adds the queues (cups-pdf printers), defaultQueue (if not empty) as
  // the default; false with the reason when this machine cannot run them (cupsd or cups-pdf
  // missing, not allowed to start).
  bool Start(QString *reason, const QStringList &queues = {QString::fromLatin1(QueueName)},
             const QString &defaultQueue = QString::fromLatin1(QueueName));
  // Waits (bounded) for the next PDF from the queue and moves it into folder; empty when none
  // came. A PDF folder the queue had to create is removed when the server stops.
  QString WaitForPdf(const QString &folder);
  QString ErrorLog() const;

  static QString Socket();

 private:
  bool lpadmin(const QStringList &arguments, QString *reason);
  QString outputFolder() const;

  std::unique_ptr<QProcess> cupsd_;
  QString dir_;
  bool outputFolderExisted_ = true;
};
