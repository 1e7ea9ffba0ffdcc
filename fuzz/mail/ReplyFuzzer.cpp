// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a server's side of the conversation: first through the receive buffer
// and the reply-number parser directly, then as the replies of a peer on 127.0.0.1 to a
// whole SMTP dialogue (connect, send a message, disconnect), once on the plain HELO path and
// once on the STARTTLS path, where the bytes are read as an EHLO capability list and, after
// a STARTTLS reply, as the server's side of a TLS handshake. Whatever arrives, the client
// must end with a result or an error: no crash, no hang, no unbounded buffer.
#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <cstdint>
#include <cstdlib>

#include "mail/core/LineBuffer.h"
#include "mail/core/MailErrors.h"
#include "mail/core/NMSMTP.h"

namespace {

constexpr qsizetype MaxInput = qsizetype{256} * 1024;

// Plays the current input to every client that connects, a piece at a time, then closes.
class TReplayServer : public QTcpServer {
 public:
  QByteArray script;

  TReplayServer() {
    listen(QHostAddress::LocalHost, 0);
    connect(this, &QTcpServer::newConnection, this, [this] {
      QTcpSocket *peer = nextPendingConnection();
      connect(peer, &QTcpSocket::disconnected, peer, &QObject::deleteLater);
      // The first byte chooses the piece size, so replies split anywhere.
      const qsizetype piece = script.isEmpty() ? 1 : static_cast<uchar>(script[0]) % 97 + 1;
      for (qsizetype at = 0; at < script.size(); at += piece) peer->write(script.mid(at, piece));
      peer->disconnectFromHost();
    });
  }
};

void CheckLineBuffer(const QByteArray &input) {
  constexpr qsizetype limit = 4096;
  TLineBuffer buffer(limit);
  const qsizetype piece = input.isEmpty() ? 1 : static_cast<uchar>(input[0]) % 61 + 1;
  for (qsizetype at = 0; at < input.size(); at += piece) {
    // The reader receives only while the buffer is not full.
    if (!buffer.Full())
      buffer.Append(QByteArrayView(input).sliced(at, std::min(piece, input.size() - at)));
    if (buffer.Size() > limit + piece) std::abort();
    while (buffer.HasLine()) {
      const QByteArray line = buffer.TakeLine();
      if (!line.endsWith('\n') || line.indexOf('\n') != line.size() - 1) std::abort();
      try {
        TPowersock::ParseReplyNumber(line);
      } catch (const EMailError &) {
      }
    }
    if (buffer.LineTooLong()) buffer.Clear();
  }
}

void RunDialogue(TReplayServer &server, const QByteArray &input, TSmtpSecurity security) {
  server.script = input;
  TNMSMTP client;
  client.Security = security;
  client.LoginName = QStringLiteral("user");
  client.Password = QStringLiteral("secret");
  client.Host = QStringLiteral("127.0.0.1");
  client.Port = server.serverPort();
  client.UserID = QStringLiteral("fuzz");
  client.ReplyTimeOut = 2000;  // the peer closes after its script; this only guards a hang
  client.OnAuthenticationFailed = [](bool &handled) { handled = true; };
  client.PostMessage.FromAddress = QStringLiteral("a@b.c");
  client.PostMessage.ToAddress = {QStringLiteral("d@e.f"), QStringLiteral("g@h.i")};
  client.PostMessage.Body = {QStringLiteral("text"), QStringLiteral(".")};
  try {
    client.Connect();
    client.SendMail();
  } catch (const EMailError &) {
  }
  // The capability list stays within the reply bound and never holds a line break.
  if (client.Capabilities().size() > TNMSMTP::MaxReplyLines) std::abort();
  for (const QString &capability : client.Capabilities()) {
    if (capability.contains(u'\n')) std::abort();
  }
  (void)client.HasCapability(QStringLiteral("AUTH"));
  try {
    client.Disconnect();
  } catch (const EMailError &) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static int argc = 1;
  static char name[] = "mail_reply_fuzzer";
  static char *argv[] = {name, nullptr};
  static QCoreApplication *app = new QCoreApplication(argc, argv);
  static TReplayServer *server = new TReplayServer;
  (void)app;

  const QByteArray input(reinterpret_cast<const char *>(data),
                         static_cast<qsizetype>(std::min<size_t>(size, MaxInput)));
  CheckLineBuffer(input);
  RunDialogue(*server, input, TSmtpSecurity::None);
  RunDialogue(*server, input, TSmtpSecurity::StartTls);
  return 0;
}
