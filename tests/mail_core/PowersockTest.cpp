// SPDX-License-Identifier: GPL-3.0-or-later
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QBuffer>
#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <cerrno>

#include "MailTestServers.h"
#include "mail/core/LineBuffer.h"
#include "mail/core/MailErrors.h"
#include "mail/core/Powersock.h"
#include "mail/core/SocketErrors.h"

namespace {

// Runs an operation that must fail and returns its message.
template <typename Error = EMailError, typename Operation>
QString FailureOf(Operation operation) {
  try {
    operation();
  } catch (const Error &error) {
    return error.Message();
  }
  return QStringLiteral("<no error>");
}

quint16 UnusedPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  return probe.serverPort();  // closed again when probe goes
}

// A listening socket whose backlog is full: further connects hang without an answer.
class TBlackHole {
 public:
  TBlackHole() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(::bind(listener_, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    EXPECT_EQ(::listen(listener_, 0), 0);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr *>(&address), &length);
    port_ = ntohs(address.sin_port);
    filler_ = ::socket(AF_INET, SOCK_STREAM, 0);
    EXPECT_EQ(::connect(filler_, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
  }
  ~TBlackHole() {
    ::close(filler_);
    ::close(listener_);
  }
  quint16 Port() const { return port_; }

 private:
  int listener_;
  int filler_;
  quint16 port_;
};

void ConnectTo(TPowersock &socket, quint16 port) {
  socket.Host = QStringLiteral("127.0.0.1");
  socket.Port = port;
  socket.Connect();
}

}  // namespace

TEST(Powersock, ErrorTableAndMessages) {
  EXPECT_EQ(SocketErrors::Message(10061), "10061:Connection refused");
  EXPECT_EQ(SocketErrors::Message(12345), "Unknown Error No. 12345");
  EXPECT_EQ(SocketErrors::Message(0), "");
  EXPECT_EQ(SocketErrors::Message(11004), "11004:Valid name, no data record of requested type");
  EXPECT_EQ(std::size(SocketErrors::Table), 51u);
  EXPECT_EQ(SocketErrors::Table[50].number, 0);
  EXPECT_EQ(SocketErrors::FromErrno(ECONNREFUSED), 10061);
  EXPECT_EQ(SocketErrors::FromErrno(EWOULDBLOCK), SocketErrors::WouldBlock);
  EXPECT_EQ(SocketErrors::FromErrno(ECONNRESET), 10054);

  EXPECT_EQ(TPowersock::ParseReplyNumber("250 ok"), 250);
  EXPECT_EQ(TPowersock::ParseReplyNumber("250-more"), 250);
  EXPECT_EQ(TPowersock::ParseReplyNumber("hello 250"), 0);
  EXPECT_EQ(TPowersock::ParseReplyNumber(""), 0);
  EXPECT_EQ(TPowersock::ParseReplyNumber("99999999999 too big for 32 bits"), 0);
  EXPECT_EQ(FailureOf([] { TPowersock::ParseReplyNumber("40000 x"); }), "Range check error");
}

TEST(Powersock, LineBufferKeepsOrderAndBounds) {
  TLineBuffer buffer(16);
  buffer.Append("one\r\ntwo\nthr");
  EXPECT_EQ(buffer.TakeLine(), "one\r\n");
  EXPECT_EQ(buffer.TakeLine(), "two\n");
  EXPECT_EQ(buffer.TakeLine(), "");
  buffer.Append("ee\n0123456789abcdef");
  EXPECT_EQ(buffer.TakeLine(), "three\n");
  EXPECT_TRUE(buffer.LineTooLong());
  // Many short lines in one receive come out whole and in order.
  QByteArray many;
  for (int i = 0; i < 10000; ++i) many += QByteArray::number(i) + '\n';
  TLineBuffer large(1 << 20);
  large.Append(many);
  for (int i = 0; i < 10000; ++i) ASSERT_EQ(large.TakeLine(), QByteArray::number(i) + '\n');
  EXPECT_EQ(large.Size(), 0);
}

TEST(Powersock, ConnectFailuresAndReconnect) {
  const int live = TPowersock::LiveCount();
  {
    TPowersock socket;
    EXPECT_EQ(TPowersock::LiveCount(), live + 1);
    int failed = 0, connects = 0, disconnects = 0, resolved = 0;
    socket.OnConnectionFailed = [&] { ++failed; };
    socket.OnConnect = [&] { ++connects; };
    socket.OnDisconnect = [&] { ++disconnects; };
    socket.OnHostResolved = [&] { ++resolved; };

    EXPECT_EQ(FailureOf<ESockError>([&] { ConnectTo(socket, UnusedPort()); }), "Connection Failed");
    EXPECT_EQ(failed, 1);
    EXPECT_EQ(socket.LastErrorNo(), 10061);
    EXPECT_FALSE(socket.Connected());

    // Closing an object that never connected still reports it and leaves a fresh socket.
    socket.Disconnect();
    EXPECT_EQ(disconnects, 1);
    EXPECT_TRUE(socket.HasSocket());

    TScriptedServer server;
    server.Receive();
    ConnectTo(socket, server.Port());
    EXPECT_TRUE(socket.Connected());
    EXPECT_EQ(connects, 1);
    EXPECT_EQ(resolved, 0) << "a dotted address needs no lookup";
    EXPECT_EQ(FailureOf<ESockError>([&] { socket.Connect(); }), "Already connected");
    EXPECT_TRUE(socket.Connected());
  }
  EXPECT_EQ(TPowersock::LiveCount(), live);
}

TEST(Powersock, HostNamesAndInvalidHosts) {
  TScriptedServer server;
  TPowersock socket;
  socket.TimeOut = 10000;
  int resolved = 0;
  socket.OnHostResolved = [&] { ++resolved; };
  socket.Host = QStringLiteral("localhost");
  socket.Port = server.Port();
  socket.Connect();
  EXPECT_EQ(resolved, 1);
  socket.Disconnect();

  // One retry: the handler may put in a better host.
  int asked = 0;
  socket.Host = QStringLiteral("no-such-host.invalid");
  socket.OnInvalidHost = [&](bool &handled) {
    ++asked;
    socket.Host = QStringLiteral("127.0.0.1");
    handled = true;
  };
  TScriptedServer second;
  socket.Port = second.Port();
  socket.Connect();
  EXPECT_TRUE(socket.Connected());
  EXPECT_EQ(asked, 1);
  socket.Disconnect();

  // A second failure is final.
  asked = 0;
  socket.Host = QStringLiteral("no-such-host.invalid");
  socket.OnInvalidHost = [&](bool &handled) {
    ++asked;
    handled = true;
  };
  EXPECT_EQ(FailureOf<ESockError>([&] { socket.Connect(); }), "Null Remote Address");
  EXPECT_EQ(asked, 1);

  socket.Host = QString(128, u'a');
  EXPECT_EQ(FailureOf<ESockError>([&] { socket.Connect(); }),
            "Host name longer than 127 characters");
}

TEST(Powersock, ConnectTimeLimitAndCancel) {
  TBlackHole hole;
  TPowersock socket;
  int failed = 0;
  socket.OnConnectionFailed = [&] { ++failed; };
  socket.TimeOut = 200;
  EXPECT_EQ(FailureOf<ESockError>([&] { ConnectTo(socket, hole.Port()); }), "Connection Timed out");
  EXPECT_TRUE(socket.TimedOut());

  // With TimeOut 0 the wait ends by a cancel, by a close, or at the default limit.
  socket.TimeOut = 0;
  QTimer::singleShot(300, &socket, [&] { socket.Cancel(); });
  EXPECT_EQ(FailureOf<ESockError>([&] { ConnectTo(socket, hole.Port()); }), "Connection Canceled");
  QTimer::singleShot(300, &socket, [&] { socket.Disconnect(); });
  EXPECT_EQ(FailureOf<ESockError>([&] { ConnectTo(socket, hole.Port()); }), "Connection Canceled");
  socket.DefaultTimeOut = 200;
  EXPECT_EQ(FailureOf<ESockError>([&] { ConnectTo(socket, hole.Port()); }), "Connection Timed out");
  EXPECT_EQ(failed, 4);
  EXPECT_FALSE(socket.Connected());
  // The object connects again afterwards.
  TScriptedServer server;
  server.Send("220 hi\r\n");
  ConnectTo(socket, server.Port());
  EXPECT_EQ(socket.ReadLn(), "220 hi\r\n");
}

TEST(Powersock, AddressFamiliesAndTheAnyAddress) {
  TPowersock socket;
  for (const char *any : {"0.0.0.0", "::", "[::]"}) {
    socket.Host = QString::fromLatin1(any);
    socket.Port = 25;
    EXPECT_EQ(FailureOf<ESockError>([&] { socket.Connect(); }), "Null Remote Address") << any;
  }
  QTcpServer six;
  if (!six.listen(QHostAddress::LocalHostIPv6, 0)) GTEST_SKIP() << "this machine has no ::1";
  for (const char *host : {"::1", "[::1]"}) {
    socket.Host = QString::fromLatin1(host);
    socket.Port = six.serverPort();
    socket.Connect();
    EXPECT_TRUE(socket.Connected()) << host;
    ASSERT_TRUE(six.hasPendingConnections() || six.waitForNewConnection(5000));
    QTcpSocket *peer = six.nextPendingConnection();
    peer->write("220 over IPv6\r\n");
    peer->flush();
    EXPECT_EQ(socket.ReadLn(), "220 over IPv6\r\n");
    socket.Disconnect();
    delete peer;
  }
  // And back to IPv4 on the same object.
  TScriptedServer four;
  four.Send("220 v4\r\n");
  ConnectTo(socket, four.Port());
  EXPECT_EQ(socket.ReadLn(), "220 v4\r\n");
}

TEST(Powersock, DisconnectIsReportedOncePerConnection) {
  TScriptedServer server;
  server.Send("220 hi\r\n").Close();
  TPowersock socket;
  int disconnects = 0;
  socket.OnDisconnect = [&] { ++disconnects; };
  ConnectTo(socket, server.Port());
  EXPECT_EQ(socket.ReadLn(), "220 hi\r\n");
  EXPECT_THROW(socket.ReadLn(), ESockError);  // the server closed
  EXPECT_EQ(disconnects, 1);
  socket.Disconnect();
  socket.Disconnect();
  EXPECT_EQ(disconnects, 1);
}

TEST(Powersock, EmptyWritesFinishAtOnce) {
  TScriptedServer server;
  server.Receive().Send("250 ok\r\n");
  TPowersock socket;
  socket.ReplyTimeOut = 0;  // a stalled write would wait for ever
  ConnectTo(socket, server.Port());
  socket.Write("");
  socket.SendBuffer(QByteArrayView());
  QBuffer empty;
  empty.open(QIODevice::ReadOnly);
  socket.SendStream(empty);
  EXPECT_EQ(socket.Transaction("NOOP"), "250 ok\r\n");
}

TEST(Powersock, ReadingReplyLines) {
  TScriptedServer server;
  server.Send("250-first\r\n250 second\r\n")
      .Send("25")
      .Pause(50)
      .Send("0 split")
      .Pause(50)
      .Send(" reply\r\n")
      .Reply("354 go ahead\r\n")
      .Reply("hello there\r\n")
      .Reply("221 bye\r\n")
      .Close();
  TPowersock socket;
  QStringList status;
  socket.OnStatus = [&](const QString &text) { status << text; };
  ConnectTo(socket, server.Port());

  EXPECT_EQ(socket.ReadLn(), "250-first\r\n");
  EXPECT_EQ(socket.ReadLn(), "250 second\r\n");
  EXPECT_EQ(socket.ReadLn(), "250 split reply\r\n");
  EXPECT_EQ(socket.Transaction("DATA"), "354 go ahead\r\n");
  EXPECT_EQ(socket.ReplyNumber(), 354);
  EXPECT_EQ(socket.LastLine(), "354 go ahead\r\n");
  EXPECT_EQ(socket.Transaction("NOOP"), "hello there\r\n");
  EXPECT_EQ(socket.ReplyNumber(), 0);
  // A NUL ends the text, yet the command still gets its line end.
  EXPECT_EQ(socket.Transaction(QByteArray("QUIT\0junk", 9)), "221 bye\r\n");
  EXPECT_EQ(server.Lines(), QList<QByteArray>({"DATA\r\n", "NOOP\r\n", "QUIT\r\n"}));
  // At the default level only reply lines are reported.
  EXPECT_EQ(status,
            QStringList({QStringLiteral("354 go ahead\r\n"), QStringLiteral("hello there\r\n"),
                         QStringLiteral("221 bye\r\n")}));

  // The server has closed: the next read ends with an error, not a wait.
  int disconnects = 0;
  socket.OnDisconnect = [&] { ++disconnects; };
  EXPECT_EQ(FailureOf<ESockError>([&] { socket.ReadLn(); }), "The server closed the connection");
  EXPECT_FALSE(socket.Connected());
  EXPECT_EQ(disconnects, 1);
}

TEST(Powersock, BrokenServersEndTheWait) {
  {  // silent
    TScriptedServer server;
    TPowersock socket;
    socket.ReplyTimeOut = 200;
    ConnectTo(socket, server.Port());
    EXPECT_EQ(FailureOf<ESockError>([&] { socket.ReadLn(); }), "The server did not reply in time");
    EXPECT_FALSE(socket.Connected());
  }
  {  // closes in the middle of a reply line
    TScriptedServer server;
    server.Send("250 hal").Close();
    TPowersock socket;
    ConnectTo(socket, server.Port());
    EXPECT_EQ(FailureOf<ESockError>([&] { socket.ReadLn(); }), "The server closed the connection");
  }
  {  // a line that never ends
    TScriptedServer server;
    server.Send(QByteArray(TPowersock::MaxLineLength + 100000, 'x'));
    TPowersock socket;
    ConnectTo(socket, server.Port());
    EXPECT_EQ(FailureOf<ESockError>([&] { socket.ReadLn(); }),
              "The server sent a line longer than 1 MB");
    EXPECT_FALSE(socket.Connected());
  }
}

TEST(Powersock, CancelAndDestroyDuringWaits) {
  TScriptedServer server;
  server.Receive(100);
  TPowersock socket;
  ConnectTo(socket, server.Port());
  QTimer::singleShot(100, &socket, [&] { socket.Cancel(); });
  EXPECT_EQ(FailureOf<EAbortError>([&] { socket.ReadLn(); }), "Socket readln aborted");
  EXPECT_TRUE(socket.BeenCanceled());
  // The flag stays: a send returns without sending, a read fails at once.
  socket.Writeln("NOT SENT");
  EXPECT_EQ(FailureOf<EAbortError>([&] { socket.ReadLn(); }), "Socket readln aborted");

  TScriptedServer second;
  auto *doomed = new TPowersock;
  ConnectTo(*doomed, second.Port());
  QTimer::singleShot(100, [&] { delete doomed; });
  EXPECT_EQ(FailureOf<EAbortError>([&] { doomed->ReadLn(); }), "Socket destroyed");
  QEventLoop loop;
  QTimer::singleShot(100, &loop, &QEventLoop::quit);
  loop.exec();
  EXPECT_TRUE(server.Lines().isEmpty());
}

TEST(Powersock, LargeSendArrivesInOrderWhileEventsRun) {
  TScriptedServer server;
  TPowersock socket;
  ConnectTo(socket, server.Port());
  QByteArray data(8 * 1024 * 1024, Qt::Uninitialized);
  for (qsizetype i = 0; i < data.size(); ++i) data[i] = static_cast<char>((i * 7919) >> 8);
  QBuffer stream(&data);
  stream.open(QIODevice::ReadOnly);
  stream.seek(1000);  // sent from its start all the same

  int packets = 0, ticks = 0;
  socket.OnPacketSent = [&](qint64, qint64) { ++packets; };
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(1);
  socket.SendStream(stream);
  ticker.stop();

  EXPECT_EQ(socket.BytesSent(), data.size());
  EXPECT_EQ(socket.BytesTotal(), data.size());
  EXPECT_GE(packets, data.size() / TPowersock::ChunkSize);
  EXPECT_GT(ticks, 0) << "the event loop kept running during the send";
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (server.Received().size() >= data.size()) loop.quit();
  });
  poll.start(5);
  QTimer::singleShot(10000, &loop, &QEventLoop::quit);
  loop.exec();
  EXPECT_TRUE(server.Received() == data) << "bytes lost or out of order";

  // Sending to a connection the server has closed fails instead of waiting.
  TScriptedServer closing;
  closing.Close();
  TPowersock other;
  ConnectTo(other, closing.Port());
  QByteArray big(4 * 1024 * 1024, 'z');
  const QString message = FailureOf<ESockError>([&] {
    for (int i = 0; i < 20; ++i) other.SendBuffer(big);
  });
  EXPECT_TRUE(message == "The server closed the connection" ||
              message == "10054:Connection reset by peer" ||
              message == "10058:Can't send after socket shutdown")
      << message.toStdString();
}
