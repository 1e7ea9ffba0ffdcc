// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <stdexcept>

#include "mail/core/NMSMTP.h"
#include "mail/ui/MailSettings.h"
#include "platform/ui/MessageBox.h"

class EMailError;
class TWaitPanel;
class QWidget;

// What the compose window hands over for one message. (Not to be confused with the
// preferences' mail settings box, TMailFields: one name for two classes would break the
// program at link time without a word.)
struct TMessageFields {
  QString from;
  QString to;
  QString subject;
  QStringList body;
  QStringList attachments;
  bool copyToSelf = false;
};

// The port setting is not a number.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One send through the compose window's client: the client prepared from the mail settings
// and the fields, its events shown in the wait panel and in message boxes, and the
// connection closed again whatever happens.
class TMailSend {
 public:
  // client and panel belong to the compose window; a send that finds the client destroyed
  // after a wait (the window closed meanwhile) touches neither of them again.
  TMailSend(TNMSMTP &client, TMailSettings settings, TWaitPanel &panel, QWidget *form);
  ~TMailSend();
  TMailSend(const TMailSend &) = delete;
  TMailSend &operator=(const TMailSend &) = delete;

  // Clears the client's lists and sets server, port, security, login, HELO argument and
  // message. Throws EConvertError when the port setting is not a number; false when the user
  // declined to give the login's password (asked when the password store holds none).
  bool Prepare(const TMessageFields &fields);
  // Connect, SendMail, Disconnect. Returns true when the message was sent; false after a
  // failure or cancel, which has been reported and has closed the connection.
  bool Run();
  // Stops a running send; Run then returns false without a box.
  void Cancel();

  // The port setting as a number, or EConvertError "'<text>' is not a valid integer value".
  static int PortNumber(const QString &text);
  // The recipient text shown in the boxes.
  QString To() const { return to_; }

 private:
  void ConnectEvents();
  void AskUserId(bool &handled);
  bool AskPassword();
  void Report(const EMailError &error, bool connecting);
  void ReportFailure(bool connecting, const QString &reason);
  // The name the From line carries when From holds only an address.
  QString SenderName() const;
  // The password store's account of the login.
  QString Account() const;
  void Box(const QString &text, TMsgKind kind);
  void CloseConnection();

  TNMSMTP &client_;
  QPointer<TNMSMTP> clientAlive_;
  TMailSettings settings_;
  TWaitPanel &panel_;
  QPointer<QWidget> form_;
  QString to_;
  QStringList refused_;  // reply lines of recipients the server refused
  bool canceled_ = false;
};
