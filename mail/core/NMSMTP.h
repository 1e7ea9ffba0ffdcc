#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

#include "ExStringList.h"
#include "NMUUProcessor.h"
#include "PostMessage.h"
#include "Powersock.h"

// Sends e-mail messages to an SMTP server over the socket layer: greeting and HELO on
// Connect, then per SendMail RSET, MAIL FROM, RCPT TO for every recipient, DATA, the
// header, the body and the terminating dot; QUIT on Disconnect.
class TNMSMTP : public TPowersock {
  Q_OBJECT

 public:
  // Reply lines of one reply beyond which a server is taken to be broken.
  static constexpr int MaxReplyLines = 1000;

  explicit TNMSMTP(QObject *parent = nullptr);
  ~TNMSMTP() override;

  // Argument of the HELO command.
  QString UserID;
  TPostMessage PostMessage;
  // The header lines built by the last SendMail.
  TExStringList FinalHeader;
  UUMethods EncodeType = uuMime;
  // After a successful send, empty the recipient and attachment lists.
  bool ClearParams = true;

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
  void Disconnect() override;
  void ClearParameters();
  void Abort() override;

  bool Busy() const { return busy_; }
  // The bytes sent after the header by the last SendMail.
  const QByteArray &MessageBody() const { return body_; }

  // The address of a recipient entry as sent in RCPT TO.
  static QString ExtractAddress(const QString &entry);

 protected:
  void SocketConnected() override {}

 private:
  QByteArray Command(const QString &command);
  QByteArray ReadContinuation(QByteArray line);
  void Expect(const QByteArray &reply, int limit);
  void BuildMessage();
  void Greet();

  bool busy_ = false;
  QByteArray body_;
  QString boundary_;
};
