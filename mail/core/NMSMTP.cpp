#include "NMSMTP.h"

#include <QBuffer>
#include <QCoreApplication>

#include "MailErrors.h"
#include "MessageBuilder.h"
#include "MimeText.h"

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
    Abort();
  } catch (...) {
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
  const QByteArray greeting = ReadLn();
  TakeReply(greeting);
  Expect(ReadContinuation(greeting), 400);
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
  try {
    TPowersock::Connect();
    try {
      Greet();
    } catch (...) {
      if (*alive) {
        try {
          Disconnect();
        } catch (...) {
        }
      }
      throw;
    }
  } catch (...) {
    if (*alive && !wasBusy) busy_ = false;
    throw;
  }
  if (!wasBusy) busy_ = false;
  if (OnConnect) OnConnect();
}

void TNMSMTP::Disconnect() {
  ClearCancel();
  const auto alive = AliveToken();
  if (Connected()) {
    try {
      const QByteArray reply = Command(QStringLiteral("QUIT"));
      if (ReplyNumber() > 339) throw EMailError(ReplyText(reply));
    } catch (...) {
      if (*alive) TPowersock::Disconnect();
      throw;
    }
  }
  TPowersock::Disconnect();
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
  try {
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

    if (OnSendStart) OnSendStart();
    Expect(Command(QStringLiteral("RSET")), 400);
    Expect(Command(QStringLiteral("MAIL FROM:<") +
                   MimeText::SenderAddress(PostMessage.FromAddress) + u'>'),
           400);
    for (const QStringList *list :
         {&PostMessage.ToAddress, &PostMessage.ToCarbonCopy, &PostMessage.ToBlindCarbonCopy}) {
      for (const QString &entry : *list) {
        const QString address = ExtractAddress(entry);
        if (address.isEmpty()) continue;
        Expect(Command(QStringLiteral("RCPT TO:<") + address + u'>'), 1000);
        if (ReplyNumber() > 300 && OnRecipientNotFound) OnRecipientNotFound(entry);
      }
    }
    Expect(Command(QStringLiteral("DATA")), 400);

    QByteArray header;
    for (const QString &line : FinalHeader) header.append(line.toUtf8() + CrLf);
    header.append(CrLf + CrLf);
    SendBuffer(header);
    QBuffer stream(&body_);
    stream.open(QIODevice::ReadOnly);
    SendStream(stream);

    const QByteArray reply = Command(QStringLiteral("."));
    if (ReplyNumber() >= 400 && OnFailure) OnFailure();
    Expect(reply, 400);
    if (ClearParams) ClearParameters();
  } catch (...) {
    if (*alive) busy_ = false;
    throw;
  }
  busy_ = false;
  if (OnSuccess) OnSuccess();
}

bool TNMSMTP::HasCapability(const QString &name) const {
  for (const QString &line : capabilities_) {
    if (line.section(u' ', 0, 0).compare(name, Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}
