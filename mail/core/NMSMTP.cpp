// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/core/NMSMTP.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QHostInfo>
#include <QScopeGuard>

#include "mail/core/MailErrors.h"
#include "mail/core/MessageBuilder.h"
#include "mail/core/MimeText.h"

namespace {

const QByteArray CrLf = QByteArrayLiteral("\r\n");

QString ReplyText(const QByteArray &reply) { return QString::fromLatin1(reply); }

}  // namespace

TNMSMTP::TNMSMTP(QObject *parent) : TPowersock(parent) {
  Port = 25;
  CancelHook = [this] {
    TPowersock::Disconnect();
    ClearReceiveBuffer();
  };
}

TNMSMTP::~TNMSMTP() {
  // A dying client reports nothing more to its owner.
  OnDisconnect = nullptr;
  OnStatus = nullptr;
  try {
    TNMSMTP::Abort();
  } catch (const EMailError &error) {
    qWarning("Closing the mail connection: %s", error.what());
  }
}

QString TNMSMTP::ExtractAddress(const QString &entry) { return MimeText::EnvelopeAddress(entry); }

QByteArray TNMSMTP::ReadContinuation(QByteArray line) {
  int count = 0;
  while (line.startsWith(' ') || (line.size() >= 4 && line[3] == '-')) {
    if (++count > MaxReplyLines)
      throw ESockError(QStringLiteral("The server sent a reply of more than ") +
                       QString::number(MaxReplyLines) + QStringLiteral(" lines"));
    line = ReadLn();
  }
  return line;
}

// One command and its whole reply; the reply text is its last line. A line break in an
// argument becomes a blank, so no argument can smuggle in a command of its own.
QByteArray TNMSMTP::Command(const QString &command) {
  return ReadContinuation(Transaction(MimeText::WithoutLineBreaks(command).toUtf8()));
}

// A reply must carry a reply code; one that does not is refused rather than taken as
// success. A code of limit or more throws with the reply text.
void TNMSMTP::Expect(const QByteArray &reply, int limit) {
  if (ReplyNumber() < 100 || ReplyNumber() > 599)
    throw EMailError(QStringLiteral("Invalid reply from the server: ") +
                     ReplyText(LastLine()).trimmed());
  if (ReplyNumber() >= limit) throw EMailError(ReplyText(reply));
}

void TNMSMTP::Greet() {
  capabilities_.clear();
  if (Security == TSmtpSecurity::Tls) StartTls(Host);
  const QByteArray greeting = ReadLn();
  TakeReply(greeting);
  Expect(ReadContinuation(greeting), 400);
  if (Security == TSmtpSecurity::None) {
    Helo();
    return;
  }
  if (!Ehlo()) {
    if (Security == TSmtpSecurity::StartTls)
      throw EMailError(QStringLiteral("The server ") + Host +
                       QStringLiteral(" does not understand EHLO, so it cannot encrypt the "
                                      "connection (STARTTLS); nothing was sent."));
    Helo();
  }
  if (Security == TSmtpSecurity::StartTls) {
    if (!HasCapability(QStringLiteral("STARTTLS")))
      throw EMailError(QStringLiteral("The server ") + Host +
                       QStringLiteral(" does not offer STARTTLS, so the connection cannot be "
                                      "encrypted; nothing was sent."));
    Expect(Command(QStringLiteral("STARTTLS")), 300);
    StartTls(Host);
    // What the server said before the handshake counts no more: ask again.
    if (!Ehlo()) throw EMailError(ReplyText(LastLine()));
  }
  if (!LoginName.isEmpty()) Login();
}

// EHLO with the local host name; the reply's lines after the first word are the server's
// capabilities. False when the server refuses EHLO.
bool TNMSMTP::Ehlo() {
  capabilities_.clear();
  QByteArray line = Transaction((QStringLiteral("EHLO ") + GreetingName()).toLatin1());
  const qint16 number = ReplyNumber();
  if (number < 100 || number > 599) Expect(line, 1000);
  int count = 0;
  for (;;) {
    const bool more = line.size() >= 4 && line[3] == '-';
    if (number < 300 && count > 0) capabilities_.append(CapabilityOf(line));
    if (!more) break;
    if (++count > MaxReplyLines)
      throw ESockError(QStringLiteral("The server sent a reply of more than ") +
                       QString::number(MaxReplyLines) + QStringLiteral(" lines"));
    line = ReadLn();
  }
  TakeReply(line);
  return number < 300;
}

QString TNMSMTP::GreetingName() const {
  return TMessageBuilder::LocalName(PostMessage.FromAddress);
}

QString TNMSMTP::CapabilityOf(const QByteArray &line) {
  return QString::fromLatin1(line.mid(4)).trimmed();
}

void TNMSMTP::Login() {
  if (!Secure())
    throw EMailError(QStringLiteral("The login is sent only over an encrypted connection."));
  QStringList mechanisms;
  for (const QString &line : capabilities_) {
    const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
    if (!words.isEmpty() && words.first().compare(QStringLiteral("AUTH"), Qt::CaseInsensitive) == 0)
      for (const QString &word : words.mid(1)) mechanisms.append(word.toUpper());
  }
  const QByteArray user = LoginName.toUtf8();
  const QByteArray password = Password.toUtf8();
  auto refused = [this](const QByteArray &reply) {
    return EAuthError(QStringLiteral("The server ") + Host +
                      QStringLiteral(" refused the login of \"") + LoginName +
                      QStringLiteral("\"; the message was not sent. The server said: ") +
                      ReplyText(reply).trimmed());
  };
  QByteArray reply;
  if (mechanisms.contains(QStringLiteral("PLAIN"))) {
    const QByteArray token =
        QByteArray(QByteArray(1, '\0') + user + QByteArray(1, '\0') + password).toBase64();
    reply = ReadContinuation(Transaction("AUTH PLAIN " + token));
  } else if (mechanisms.contains(QStringLiteral("LOGIN"))) {
    reply = ReadContinuation(Transaction("AUTH LOGIN"));
    if (ReplyNumber() == 334) reply = ReadContinuation(Transaction(user.toBase64()));
    if (ReplyNumber() == 334) reply = ReadContinuation(Transaction(password.toBase64()));
  } else {
    throw EMailError(QStringLiteral("The server ") + Host +
                     QStringLiteral(" offers no login method this program knows (PLAIN or "
                                    "LOGIN); the message was not sent."));
  }
  if (ReplyNumber() < 100 || ReplyNumber() > 599) Expect(reply, 1000);
  if (ReplyNumber() != 235) throw refused(reply);
}

void TNMSMTP::Helo() {
  for (int attempt = 1;; ++attempt) {
    Expect(Command(QStringLiteral("HELO ") + UserID), 1000);
    if (ReplyNumber() < 300) return;
    if (attempt == 1 && OnAuthenticationFailed) {
      bool handled = false;
      OnAuthenticationFailed(handled);
      if (handled) continue;
    }
    throw EMailError(QStringLiteral("Authentication failed"));
  }
}

void TNMSMTP::Connect() {
  const bool wasBusy = busy_;
  busy_ = true;
  const auto alive = AliveToken();
  {
    // No longer busy however the connection ends; a failure goes on to the caller.
    const auto idle = qScopeGuard([&] {
      if (*alive && !wasBusy) busy_ = false;
    });
    TPowersock::Connect();
    try {
      Greet();
    } catch (const EMailError &) {
      // After a cancel nothing more is said to the server: the connection just closes.
      if (*alive && (BeenCanceled() || !Connected()))
        TPowersock::Disconnect();
      else if (*alive)
        QuitQuietly();
      throw;
    }
  }
  if (OnConnect) OnConnect();
}

void TNMSMTP::Disconnect() {
  if (busy_) {
    // Connect or SendMail is waiting: a QUIT now would land inside its dialogue (or inside
    // the message). Close at once; the running operation ends with its abort error.
    Cancel();
    TPowersock::Disconnect();
    return;
  }
  QuitAndClose();
}

void TNMSMTP::QuitAndClose() {
  ClearCancel();
  const auto alive = AliveToken();
  if (Connected()) {
    const int ordinary = ReplyTimeOut;
    if (QuitReplyTimeOut > 0 && (ordinary == 0 || ordinary > QuitReplyTimeOut))
      ReplyTimeOut = QuitReplyTimeOut;
    try {
      const QByteArray reply = Command(QStringLiteral("QUIT"));
      ReplyTimeOut = ordinary;
      if (ReplyNumber() > 339) throw EMailError(ReplyText(reply));
    } catch (const EMailError &) {
      if (*alive) {
        ReplyTimeOut = ordinary;
        TPowersock::Disconnect();
      }
      throw;
    }
  }
  TPowersock::Disconnect();
}

// QUIT on the way out of a failure: the failure is what the caller reports, so a farewell
// that goes wrong as well is only noted.
void TNMSMTP::QuitQuietly() {
  try {
    QuitAndClose();
  } catch (const EMailError &error) {
    StatusMessage(1, QStringLiteral("QUIT failed: ") + error.Message().trimmed());
  }
}

void TNMSMTP::Abort() {
  if (BeenCanceled() || !Connected()) return;
  if (busy_) {
    Cancel();
    return;
  }
  TPowersock::Disconnect();
  ClearReceiveBuffer();
}

void TNMSMTP::ClearParameters() {
  PostMessage.ToAddress.clear();
  PostMessage.ToCarbonCopy.clear();
  PostMessage.ToBlindCarbonCopy.clear();
  PostMessage.Attachments.clear();
}

void TNMSMTP::BuildMessage() {
  TMessageBuilder builder;
  builder.EncodeType = EncodeType;
  builder.OnEncodeStart = OnEncodeStart;
  builder.OnEncodeEnd = OnEncodeEnd;
  builder.OnAttachmentNotFound = OnAttachmentNotFound;
  // Encoding a large file takes a while: let pending events run between its blocks. The
  // busy flag keeps a second send out meanwhile.
  builder.OnProgress = [alive = AliveToken()] {
    QCoreApplication::processEvents();
    if (!*alive) throw EAbortError(QStringLiteral("Socket destroyed"));
  };
  builder.Build(PostMessage);
  FinalHeader = builder.Header;
  body_ = builder.Body;
  boundary_ = builder.Boundary;
}

void TNMSMTP::SendMail() {
  if (busy_) return;
  busy_ = true;
  const auto alive = AliveToken();
  {
    // No longer busy however the sending ends; a failure goes on to the caller.
    const auto idle = qScopeGuard([&] {
      if (*alive) busy_ = false;
    });
    BuildMessage();
    CertifyConnect();

    auto incomplete = [this] {
      const TPostMessage &m = PostMessage;
      return m.FromAddress.isEmpty() ||
             (m.ToAddress.isEmpty() && m.ToCarbonCopy.isEmpty() && m.ToBlindCarbonCopy.isEmpty());
    };
    if (incomplete()) {
      bool handled = false;
      if (OnHeaderIncomplete)
        OnHeaderIncomplete(handled, PostMessage.FromAddress.isEmpty() ? 1 : 2);
      if (!handled || incomplete()) throw EMailError(QStringLiteral("Incomplete Header"));
      // The handler filled in what was missing: the header names it too.
      BuildMessage();
    }

    const bool international = CheckAddresses();
    if (OnSendStart) OnSendStart();
    Expect(Command(QStringLiteral("RSET")), 400);
    Expect(Command(QStringLiteral("MAIL FROM:<") +
                   MimeText::SenderAddress(PostMessage.FromAddress).trimmed() + u'>' +
                   (international ? QStringLiteral(" SMTPUTF8") : QString())),
           400);
    QStringList refused;
    for (const QStringList *list :
         {&PostMessage.ToAddress, &PostMessage.ToCarbonCopy, &PostMessage.ToBlindCarbonCopy}) {
      for (const QString &entry : *list) {
        const QString address = ExtractAddress(entry).trimmed();
        if (address.isEmpty()) continue;
        const QByteArray reply = Command(QStringLiteral("RCPT TO:<") + address + u'>');
        Expect(reply, 1000);
        if (ReplyNumber() <= 300) continue;
        refused << address + QStringLiteral(" (") + ReplyText(reply).trimmed() + u')';
        if (OnRecipientNotFound) OnRecipientNotFound(entry);
      }
    }
    if (AllRecipientsRequired && !refused.isEmpty()) {
      // Nothing goes to the others either: the whole message waits for corrected addresses.
      Expect(Command(QStringLiteral("RSET")), 400);
      throw ERecipientsRefused(QStringLiteral("The server refused ") + refused.join(u','), refused);
    }
    const QByteArray dataReply = Command(QStringLiteral("DATA"));
    Expect(dataReply, 400);
    // Only 354 invites the message; any other answer would have the text taken as commands.
    if (ReplyNumber() != 354) throw EMailError(ReplyText(dataReply));
    SendData();
    if (ClearParams) ClearParameters();
  }
  if (OnSuccess) OnSuccess();
}

// A recipient written with brackets but nothing inside them ("Name <>") is a typing slip:
// it is refused before anything goes to the server. An address outside ASCII needs a server
// that offers SMTPUTF8; true when the message uses it.
bool TNMSMTP::CheckAddresses() const {
  const bool utf8Offered = HasCapability(QStringLiteral("SMTPUTF8"));
  bool international = false;
  auto check = [&](const QString &entry) {
    const QString address = MimeText::EnvelopeAddress(entry).trimmed();
    if (entry.contains(u'<') && address.isEmpty())
      throw EMailError(QStringLiteral("\"") + entry.trimmed() +
                       QStringLiteral("\" has no address; nothing was sent."));
    if (MimeText::IsAscii(address)) return;
    if (!utf8Offered)
      throw EMailError(QStringLiteral("The address \"") + address +
                       QStringLiteral("\" holds characters outside ASCII, which the server ") +
                       Host +
                       QStringLiteral(" does not accept (it does not offer SMTPUTF8); nothing "
                                      "was sent."));
    international = true;
  };
  check(PostMessage.FromAddress);
  for (const QStringList *list :
       {&PostMessage.ToAddress, &PostMessage.ToCarbonCopy, &PostMessage.ToBlindCarbonCopy})
    for (const QString &entry : *list) check(entry);
  return international;
}

// The header, the body and the final dot. Once the message has begun, the dialogue cannot
// go back to commands: any failure here closes the connection at once (no QUIT inside the
// data). A server that refused the message while it was arriving has its own reply shown.
void TNMSMTP::SendData() {
  const auto alive = AliveToken();
  auto close = [&] {
    if (*alive && Connected()) TPowersock::Disconnect();
  };
  try {
    QByteArray header;
    for (const QString &line : FinalHeader) header.append(line.toUtf8() + CrLf);
    header.append(CrLf + CrLf);
    SendBuffer(header);
    QBuffer stream(&body_);
    stream.open(QIODevice::ReadOnly);
    SendStream(stream);
  } catch (const EAbortError &) {
    close();
    throw;
  } catch (const ESockError &) {
    if (*alive && LineWaiting()) {
      const QByteArray reply = ReadLn();
      TakeReply(reply);
      close();
      throw EMailError(ReplyText(reply));
    }
    close();
    throw;
  }

  // The server may check the whole message before it answers: the reply to the final dot
  // gets its own, longer limit.
  const int ordinary = ReplyTimeOut;
  ReplyTimeOut = FinalReplyTimeOut;
  QByteArray reply;
  try {
    reply = Command(QStringLiteral("."));
  } catch (const EAbortError &) {
    if (*alive) ReplyTimeOut = ordinary;
    close();
    throw;
  } catch (const EMailError &error) {
    if (!*alive) throw;
    ReplyTimeOut = ordinary;
    close();
    if (OnFailure) OnFailure();
    throw EMailError(QStringLiteral("No answer came to the end of the message (") +
                     error.Message().trimmed() +
                     QStringLiteral("). The message may still have been delivered."));
  }
  ReplyTimeOut = ordinary;
  if (ReplyNumber() >= 400 && OnFailure) OnFailure();
  Expect(reply, 400);
}

bool TNMSMTP::HasCapability(const QString &name) const {
  for (const QString &line : capabilities_) {
    if (line.section(u' ', 0, 0).compare(name, Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}
