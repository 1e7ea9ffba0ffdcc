// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

#include "mail/core/ExStringList.h"
#include "mail/core/NMUUProcessor.h"
#include "mail/core/PostMessage.h"
#include "mail/core/Powersock.h"
#include "mail/core/SmtpSecurity.h"

// Sends e-mail messages to an SMTP server over the socket layer: greeting and HELO on
// Connect, then per SendMail RSET, MAIL FROM, RCPT TO for every recipient, DATA, the
// header, the body and the terminating dot; QUIT on Disconnect.
//
// With Security StartTls or Tls the connection is encrypted (STARTTLS after the greeting, or
// TLS from the first byte), the client greets with EHLO (HELO when the server refuses it)
// and, when LoginName is set, logs in with AUTH PLAIN or AUTH LOGIN. A login is never sent
// over a clear connection. With Security None the dialogue is the plain HELO one.
//
// Progress of a message: OnPacketSent (inherited) is called with the bytes of the message
// sent so far and its total after each chunk written during SendMail.
class TNMSMTP : public TPowersock {
  Q_OBJECT

 public:
  // Reply lines of one reply beyond which a server is taken to be broken.
  static constexpr int MaxReplyLines = 1000;

  explicit TNMSMTP(QObject *parent = nullptr);
  ~TNMSMTP() override;

  // Argument of the HELO command of the plain path (Security None). The encrypted paths greet
  // with the local host name, as servers expect of EHLO.
  QString UserID;
  TSmtpSecurity Security = TSmtpSecurity::None;
  // Login user name; empty means no login. Used only over an encrypted connection.
  QString LoginName;
  // Login password; kept in memory only, never reported through OnStatus.
  QString Password;
  // Longest wait in milliseconds for the reply to the final dot of a message (a server may
  // check the whole message first); 0 means no limit.
  int FinalReplyTimeOut = 10 * 60 * 1000;
  TPostMessage PostMessage;
  // The header lines built by the last SendMail.
  TExStringList FinalHeader;
  UUMethods EncodeType = uuMime;
  // After a successful send, empty the recipient and attachment lists.
  bool ClearParams = true;
  // When set, a recipient the server refuses stops the message before DATA (nothing is
  // delivered to anybody) and SendMail throws ERecipientsRefused naming every refused one.
  // When not set, the refused ones are only reported through OnRecipientNotFound.
  bool AllRecipientsRequired = false;
  // Longest wait in milliseconds for the reply to QUIT: the message is out by then, and a
  // server slow to say goodbye must not hold the user.
  int QuitReplyTimeOut = 2000;

  // The greeting and HELO were accepted (the socket-level OnConnect of the base is not used).
  // OnConnect itself is inherited.
  THandlerEvent OnAuthenticationFailed;
  // hiType 1: no From address; 2: no recipient.
  std::function<void(bool &handled, int hiType)> OnHeaderIncomplete;
  TNotifyEvent OnSendStart;
  std::function<void(const QString &recipient)> OnRecipientNotFound;
  TNotifyEvent OnSuccess;
  TNotifyEvent OnFailure;
  std::function<void(const QString &fileName)> OnEncodeStart;
  std::function<void(const QString &fileName)> OnEncodeEnd;
  std::function<void(const QString &fileName)> OnAttachmentNotFound;

  void Connect() override;
  void SendMail();
  // QUIT and close. Called while Connect or SendMail waits (from an event handled meanwhile),
  // it closes at once without QUIT and that operation fails with its abort error.
  void Disconnect() override;
  void ClearParameters();
  void Abort() override;

  bool Busy() const { return busy_; }
  // The capability lines of the last EHLO reply, without their reply codes ("SIZE 1000",
  // "STARTTLS", "AUTH PLAIN LOGIN", ...); empty after HELO.
  const QStringList &Capabilities() const { return capabilities_; }
  // True when the server offered the capability (its first word, without regard to case).
  bool HasCapability(const QString &name) const;
  // The bytes sent after the header by the last SendMail.
  const QByteArray &MessageBody() const { return body_; }

  // The address of a recipient entry as sent in RCPT TO.
  static QString ExtractAddress(const QString &entry);
  // The name the client greets with in EHLO: the machine's fully qualified name, else the
  // domain of the sender's address, else "localhost".
  QString GreetingName() const;

 protected:
  void SocketConnected() override {}

 private:
  QByteArray Command(const QString &command);
  QByteArray ReadContinuation(QByteArray line);
  void Expect(const QByteArray &reply, int limit);
  void BuildMessage();
  void Greet();
  void QuitAndClose();
  void QuitQuietly();
  void Helo();
  bool Ehlo();
  void Login();
  void SendData();
  bool CheckAddresses() const;
  static QString CapabilityOf(const QByteArray &line);

  QStringList capabilities_;
  bool busy_ = false;
  QByteArray body_;
  QString boundary_;
};
