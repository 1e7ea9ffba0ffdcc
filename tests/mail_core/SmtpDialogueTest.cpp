// SPDX-License-Identifier: GPL-3.0-or-later
// The SMTP dialogue against a scripted peer: what a real server will not do on request.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include "MailTestServers.h"
#include "mail/core/MailErrors.h"
#include "mail/core/NMSMTP.h"

namespace {

using Lines = QList<QByteArray>;

class SmtpDialogue : public ::testing::Test {
 protected:
  SmtpDialogue() {
    client.Host = QStringLiteral("127.0.0.1");
    client.Port = server.Port();
    client.UserID = QStringLiteral("me");
    client.ReplyTimeOut = 5000;
    client.OnConnect = [this] { ++connects; };
    client.PostMessage.FromAddress = QStringLiteral("me@example.org");
    client.PostMessage.ToAddress = {QStringLiteral("you@example.org")};
    client.PostMessage.Body = {QStringLiteral("text")};
  }
  template <typename Operation>
  QString FailureOf(Operation operation) {
    try {
      operation();
    } catch (const EMailError &error) {
      return error.Message();
    }
    return QStringLiteral("<no error>");
  }
  // The replies of a server that accepts the greeting, HELO and everything up to DATA.
  void Greeted() { server.Send("220 ready\r\n").Reply("250 hello\r\n"); }
  void AcceptEnvelope() {
    server.Reply("250 reset\r\n").Reply("250 sender ok\r\n").Reply("250 rcpt ok\r\n");
  }

  TScriptedServer server;
  TNMSMTP client;
  int connects = 0;
};

}  // namespace

TEST_F(SmtpDialogue, GreetingRefusedSendsNoHelo) {
  server.Send("554 no service here\r\n").Reply("221 bye\r\n");
  EXPECT_EQ(FailureOf([&] { client.Connect(); }), "554 no service here\r\n");
  EXPECT_EQ(server.Lines(), Lines{"QUIT\r\n"});
  EXPECT_FALSE(client.Connected());
  EXPECT_FALSE(client.Busy());
  EXPECT_EQ(connects, 0);
}

TEST_F(SmtpDialogue, ContinuationLinesOfGreetingAndHelo) {
  server.Send("220-first\r\n220-second\r\n")
      .Pause(30)
      .Send("220 ready\r\n")
      .Reply("250-hello\r\n 250 folded line\r\n250 done\r\n")
      .Reply("250 reset\r\n");
  // A login is never sent in clear text: the plain path stays HELO only.
  client.LoginName = QStringLiteral("me");
  client.Password = QStringLiteral("secret");
  client.Connect();
  EXPECT_EQ(connects, 1);
  EXPECT_TRUE(client.Capabilities().isEmpty());
  EXPECT_EQ(client.ReplyNumber(), 250);
  // The next reply is read from where the last one ended.
  client.Transaction("RSET");
  EXPECT_EQ(client.LastLine(), "250 reset\r\n");
  EXPECT_EQ(server.Lines(), Lines({"HELO me\r\n", "RSET\r\n"}));
}

TEST_F(SmtpDialogue, HeloRefusedOnceThenAnotherName) {
  server.Send("220 ready\r\n").Reply("550 who are you\r\n").Reply("250 welcome\r\n");
  int asked = 0;
  client.OnAuthenticationFailed = [&](bool &handled) {
    ++asked;
    client.UserID = QStringLiteral("better");
    handled = true;
  };
  client.Connect();
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(server.Lines(), Lines({"HELO me\r\n", "HELO better\r\n"}));
  EXPECT_TRUE(client.Connected());
}

TEST_F(SmtpDialogue, HeloRefusedTwiceEndsWithQuit) {
  server.Send("220 ready\r\n").Reply("550 no\r\n").Reply("550 still no\r\n").Reply("221 bye\r\n");
  client.OnAuthenticationFailed = [&](bool &handled) { handled = true; };
  EXPECT_EQ(FailureOf([&] { client.Connect(); }), "Authentication failed");
  EXPECT_EQ(server.Lines(), Lines({"HELO me\r\n", "HELO me\r\n", "QUIT\r\n"}));
  EXPECT_FALSE(client.Connected());
  EXPECT_EQ(connects, 0);
}

TEST_F(SmtpDialogue, RefusalsDuringTheMessage) {
  Greeted();
  server.Reply("451 try again later\r\n");  // RSET
  AcceptEnvelope();                         // second attempt
  // Header (4 lines), two empty lines, the text and the dot.
  server.Reply("354 go ahead\r\n").Receive(10).Send("554 rejected as spam\r\n");
  server.Reply("500 what\r\n");  // QUIT
  client.Connect();
  EXPECT_EQ(FailureOf([&] { client.SendMail(); }), "451 try again later\r\n");
  EXPECT_TRUE(client.Connected());
  EXPECT_FALSE(client.Busy());

  int failures = 0, successes = 0;
  client.OnFailure = [&] { ++failures; };
  client.OnSuccess = [&] { ++successes; };
  EXPECT_EQ(FailureOf([&] { client.SendMail(); }), "554 rejected as spam\r\n");
  EXPECT_EQ(failures, 1);
  EXPECT_EQ(successes, 0);
  EXPECT_EQ(client.PostMessage.ToAddress.size(), 1);

  int disconnects = 0;
  client.OnDisconnect = [&] { ++disconnects; };
  EXPECT_EQ(FailureOf([&] { client.Disconnect(); }), "500 what\r\n");
  EXPECT_FALSE(client.Connected()) << "closed all the same";
  EXPECT_EQ(disconnects, 1);
  const Lines lines = server.Lines();
  ASSERT_GE(lines.size(), 8);
  EXPECT_EQ(lines.mid(1, 5), Lines({"RSET\r\n", "RSET\r\n", "MAIL FROM:<me@example.org>\r\n",
                                    "RCPT TO:<you@example.org>\r\n", "DATA\r\n"}));
  EXPECT_EQ(lines.last(), "QUIT\r\n");
}

TEST_F(SmtpDialogue, MalformedRepliesAreNotSuccess) {
  server.Send("220 ready\r\n").Reply("hello friend\r\n").Reply("221 bye\r\n");
  EXPECT_EQ(FailureOf([&] { client.Connect(); }), "Invalid reply from the server: hello friend");
  EXPECT_FALSE(client.Connected());
  EXPECT_EQ(server.Lines(), Lines({"HELO me\r\n", "QUIT\r\n"}));
}

TEST_F(SmtpDialogue, ServerGoneMidDialogue) {
  {
    server.Send("220 ready\r\n");  // then silence
    client.ReplyTimeOut = 200;
    EXPECT_EQ(FailureOf([&] { client.Connect(); }), "The server did not reply in time");
    EXPECT_FALSE(client.Connected());
    EXPECT_FALSE(client.Busy());
  }
  TScriptedServer closing;
  closing.Send("220 ready\r\n").Reply("250 hello\r\n").Receive().Send("250 res").Close();
  client.Port = closing.Port();
  client.Connect();
  EXPECT_EQ(FailureOf([&] { client.SendMail(); }), "The server closed the connection");
  EXPECT_FALSE(client.Connected());
  EXPECT_FALSE(client.Busy());
  client.Disconnect();  // nothing to say QUIT to: just closes
}

TEST(SmtpClientLifetime, DestroyedWhileSending) {
  TScriptedServer server;
  server.Send("220 ready\r\n").Reply("250 hello\r\n").Reply("250 reset\r\n");
  server.Reply("250 sender ok\r\n").Reply("250 rcpt ok\r\n").Reply("354 go ahead\r\n");
  auto *client = new TNMSMTP;
  client->Host = QStringLiteral("127.0.0.1");
  client->Port = server.Port();
  client->PostMessage.FromAddress = QStringLiteral("me@example.org");
  client->PostMessage.ToAddress = {QStringLiteral("you@example.org")};
  client->Connect();
  // The form holding the client closes while the client waits for the server's verdict.
  QTimer::singleShot(100, [&] { delete client; });
  try {
    client->SendMail();
    ADD_FAILURE() << "the send cannot succeed";
  } catch (const EAbortError &error) {
    EXPECT_EQ(error.Message(), "Socket destroyed");
  }
}

// Waits and cancels around the message that must always end, each with a sound state after.
TEST_F(SmtpDialogue, EmptyBodyAndDataOnlyOn354) {
  Greeted();
  AcceptEnvelope();
  server.Reply("354 go ahead\r\n").Receive(9).Send("250 queued\r\n");
  AcceptEnvelope();
  server.Reply("250 no data needed\r\n").Reply("221 bye\r\n");
  client.ReplyTimeOut = 0;  // a stall would last for ever, never end as a failure
  client.ClearParams = false;
  client.Connect();
  client.PostMessage.Body.clear();
  client.SendMail();
  EXPECT_EQ(client.LastLine(), "250 queued\r\n");
  // A DATA answered with anything but 354 sends no message text.
  EXPECT_EQ(FailureOf([&] { client.SendMail(); }), "250 no data needed\r\n");
  client.Disconnect();
  EXPECT_EQ(server.Lines().last(), "QUIT\r\n");
}

TEST_F(SmtpDialogue, EmptyAddressRefusedBeforeAnythingIsSent) {
  Greeted();
  server.Reply("221 bye\r\n");
  client.Connect();
  client.PostMessage.ToAddress = {QStringLiteral("you@example.org"), QStringLiteral("Jane <  >")};
  EXPECT_EQ(FailureOf([&] { client.SendMail(); }),
            "\"Jane <  >\" has no address; nothing was sent.");
  client.Disconnect();
  EXPECT_EQ(server.Lines(), Lines({"HELO me\r\n", "QUIT\r\n"}));
}

TEST_F(SmtpDialogue, CancelDuringDataClosesWithoutQuit) {
  Greeted();
  AcceptEnvelope();
  server.Reply("354 go ahead\r\n");
  client.Connect();
  client.PostMessage.Body = QStringList(20000, QString(200, u'x'));
  int packets = 0;
  client.OnPacketSent = [&](qint64, qint64) {
    if (++packets == 2) client.Cancel();
  };
  EXPECT_EQ(FailureOf([&] { client.SendMail(); }), "Socket send aborted");
  EXPECT_FALSE(client.Connected()) << "closed at once";
  EXPECT_FALSE(client.Busy());
  client.Disconnect();  // nothing more to say to that server
  QTimer::singleShot(100, [] {});
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  for (const QByteArray &line : server.Lines()) EXPECT_NE(line, "QUIT\r\n");
}

TEST_F(SmtpDialogue, ServerThatRefusesDuringDataIsHeard) {
  Greeted();
  AcceptEnvelope();
  server.Reply("354 go ahead\r\n")
      .Receive(3)
      .Send("552 5.3.4 Message size exceeds limit\r\n")
      .Close();
  client.Connect();
  client.PostMessage.Body = QStringList(100000, QString(100, u'y'));
  EXPECT_EQ(FailureOf([&] { client.SendMail(); }), "552 5.3.4 Message size exceeds limit\r\n");
  EXPECT_FALSE(client.Connected());
  EXPECT_FALSE(client.Busy());
}

TEST_F(SmtpDialogue, FinalDotHasItsOwnLimitAndMayHaveDelivered) {
  Greeted();
  AcceptEnvelope();
  server.Reply("354 go ahead\r\n").Receive(10);  // then silence
  client.ReplyTimeOut = 0;                       // the ordinary limit would never end the wait
  client.FinalReplyTimeOut = 300;
  int failures = 0;
  client.OnFailure = [&] { ++failures; };
  client.Connect();
  const QString failure = FailureOf([&] { client.SendMail(); });
  EXPECT_TRUE(failure.contains(QStringLiteral("may still have been delivered")))
      << failure.toStdString();
  EXPECT_EQ(failures, 1);
  EXPECT_FALSE(client.Connected());
  EXPECT_EQ(client.ReplyTimeOut, 0) << "the ordinary limit comes back";
  EXPECT_EQ(client.PostMessage.ToAddress.size(), 1) << "nothing cleared: not known to be sent";
}

TEST_F(SmtpDialogue, DisconnectWhileSendingClosesWithoutQuit) {
  Greeted();
  AcceptEnvelope();
  server.Reply("354 go ahead\r\n");
  client.Connect();
  client.PostMessage.Body = QStringList(20000, QString(200, u'z'));
  int disconnects = 0;
  client.OnDisconnect = [&] { ++disconnects; };
  client.OnPacketSent = [&](qint64, qint64) {
    if (client.Connected()) client.Disconnect();
  };
  EXPECT_EQ(FailureOf([&] { client.SendMail(); }), "Socket send aborted");
  EXPECT_FALSE(client.Connected());
  EXPECT_FALSE(client.Busy());
  EXPECT_EQ(disconnects, 1);
  client.Disconnect();
  EXPECT_EQ(disconnects, 1);
  for (const QByteArray &line : server.Lines()) EXPECT_NE(line, "QUIT\r\n");
}
