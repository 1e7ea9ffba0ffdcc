// SPDX-License-Identifier: GPL-3.0-or-later
// A send never reports a failure as success and sends what the user wrote: refused
// recipients stop the message for everybody, a refused login is told apart, a cancel or a
// quitting program ends every wait at once, and the header carries what the fields show.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QTest>
#include <QTimer>

#include "MailTestServers.h"
#include "TestEnvironment.h"
#include "mail/core/FieldCheck.h"
#include "mail/core/MailErrors.h"
#include "mail/core/MessageBuilder.h"
#include "mail/core/MimeText.h"
#include "mail/core/NMSMTP.h"
#include "platform/core/NestedWait.h"

namespace {

QStringList Strings(const QJsonValue &value) {
  QStringList list;
  for (const QJsonValue item : value.toArray()) list << item.toString();
  return list;
}

QByteArray HeaderOf(const QByteArray &raw) { return raw.left(raw.indexOf("\r\n\r\n") + 2); }

// After a test made the application quit, lets the event loops run again for the next test.
void RecoverFromQuit() {
  QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
}

class SendSafety : public ::testing::Test {
 protected:
  void Prepare(quint16 port) {
    client.Host = QStringLiteral("127.0.0.1");
    client.Port = port;
    client.UserID = QStringLiteral("tester");
    client.ReplyTimeOut = 20000;
    client.PostMessage.FromAddress = QStringLiteral("me@example.org");
    client.PostMessage.Body = {QStringLiteral("Hello")};
  }
  template <typename Error = EMailError>
  QString Failure(const std::function<void()> &step, QStringList *refused = nullptr) {
    try {
      step();
    } catch (const EMailError &error) {
      const auto *expected = dynamic_cast<const Error *>(&error);
      if (!expected) return QStringLiteral("<other error> ") + error.Message();
      if constexpr (std::is_same_v<Error, ERecipientsRefused>) {
        if (refused) *refused = expected->Refused();
      }
      return error.Message();
    }
    return QStringLiteral("<no error>");
  }

  TNMSMTP client;
};

}  // namespace

TEST_F(SendSafety, ARefusedRecipientStopsTheMessageForEverybodyAndNamesEachRefusal) {
  TSmtpSink sink({QStringLiteral("nobody@example.org"), QStringLiteral("gone@example.org")});
  Prepare(sink.Port());
  client.Connect();
  client.AllRecipientsRequired = true;
  QStringList reported;
  client.OnRecipientNotFound = [&](const QString &entry) { reported << entry; };
  client.PostMessage.ToAddress = {QStringLiteral("Nobody <nobody@example.org>")};
  client.PostMessage.ToCarbonCopy = {QStringLiteral("gone@example.org")};
  client.PostMessage.ToBlindCarbonCopy = {QStringLiteral("me@example.org")};
  QStringList refused;
  const QString message = Failure<ERecipientsRefused>([&] { client.SendMail(); }, &refused);
  ASSERT_EQ(refused.size(), 2) << message.toStdString();
  EXPECT_TRUE(refused[0].startsWith(QStringLiteral("nobody@example.org (550")))
      << refused[0].toStdString();
  EXPECT_TRUE(refused[1].startsWith(QStringLiteral("gone@example.org (550")))
      << refused[1].toStdString();
  EXPECT_EQ(reported.size(), 2);
  EXPECT_EQ(sink.Count(), 0) << "not even the sender's own copy went out";
  EXPECT_FALSE(client.PostMessage.ToAddress.isEmpty()) << "a failed send keeps the recipients";

  // The dialogue is back at its start: the same connection sends the corrected message.
  client.PostMessage.ToAddress = {QStringLiteral("jane@example.org")};
  client.PostMessage.ToCarbonCopy.clear();
  client.SendMail();
  client.Disconnect();
  ASSERT_EQ(sink.Count(), 1);
  EXPECT_EQ(Strings(sink.Record(1)[QStringLiteral("rcpt_tos")]),
            QStringList({QStringLiteral("jane@example.org"), QStringLiteral("me@example.org")}));
}

TEST_F(SendSafety, AWrongPasswordIsAnAuthenticationErrorAndTheRightOneWorksNext) {
  TTestAuthority authority;
  TSmtpSink sink({},
                 TSmtpSink::Secured(authority.Issue(QStringLiteral("IP:127.0.0.1")),
                                    QStringLiteral("--starttls"), QStringLiteral("alice:right")));
  Prepare(sink.Port());
  client.Security = TSmtpSecurity::StartTls;
  client.LoginName = QStringLiteral("alice");
  client.Password = QStringLiteral("wrong");
  const QString message = Failure<EAuthError>([&] { client.Connect(); });
  EXPECT_TRUE(message.contains(QStringLiteral("535"))) << message.toStdString();
  EXPECT_FALSE(message.startsWith(QStringLiteral("<"))) << message.toStdString();
  EXPECT_FALSE(client.Connected());

  client.Password = QStringLiteral("right");
  client.PostMessage.ToAddress = {QStringLiteral("jane@example.org")};
  client.Connect();
  client.SendMail();
  client.Disconnect();
  EXPECT_EQ(sink.Count(), 1);
}

TEST_F(SendSafety, CancelAgainstASilentServerClosesAtOnceWithoutQuit) {
  TScriptedServer server;
  server.Receive(5);  // accepts the connection and never says a word
  Prepare(server.Port());
  QTimer::singleShot(50, &client, [this] { client.Cancel(); });
  const QString message = Failure<EAbortError>([&] { client.Connect(); });
  EXPECT_EQ(message, QStringLiteral("Socket readln aborted"));
  EXPECT_FALSE(client.Connected());
  EXPECT_FALSE(client.Busy());
  ASSERT_TRUE(QTest::qWaitFor([&] { return server.Ended(); }, 10000));
  EXPECT_TRUE(server.Lines().isEmpty()) << "no QUIT waits for a reply after a cancel";
}

TEST_F(SendSafety, AServerSilentAfterQuitIsLeftAfterTheQuitLimit) {
  TScriptedServer server;
  server.Send("220 hi\r\n")
      .Reply("250 hello\r\n")
      .Receive()  // QUIT, never answered
      .Pause(60000);
  Prepare(server.Port());
  client.QuitReplyTimeOut = 300;
  client.Connect();
  const QString message = Failure([&] { client.Disconnect(); });
  EXPECT_EQ(message, QStringLiteral("The server did not reply in time"));
  EXPECT_FALSE(client.Connected());
  EXPECT_EQ(client.ReplyTimeOut, 20000) << "the ordinary limit is back";
  ASSERT_EQ(server.Lines().size(), 2);
  EXPECT_EQ(server.Lines()[1], QByteArray("QUIT\r\n"));
}

TEST_F(SendSafety, QuittingTheProgramEndsAWaitingSendAndEveryLaterWait) {
  TScriptedServer server;
  server.Receive(5);
  Prepare(server.Port());
  QTimer::singleShot(50, [] { QCoreApplication::exit(0); });
  const QString message = Failure([&] { client.Connect(); });
  EXPECT_EQ(message, QStringLiteral("Socket readln aborted"));
  EXPECT_FALSE(client.Connected());
  // While the program quits, a new wait ends at once instead of spinning.
  const QString again = Failure([&] { client.Connect(); });
  EXPECT_NE(again, QStringLiteral("<no error>"));
  RecoverFromQuit();
}

TEST(NestedWait, EndsOnItsConditionOnCancelOnDestructionAndOnQuit) {
  {
    TNestedWait wait;
    bool ready = false;
    QTimer::singleShot(5, [&] {
      ready = true;
      wait.Wake();
    });
    EXPECT_EQ(wait.Until([&] { return ready; }), TNestedWait::TEnd::Done);
  }
  {
    TNestedWait wait;
    QTimer::singleShot(5, [&] { wait.Cancel(); });
    EXPECT_EQ(wait.Until([] { return false; }), TNestedWait::TEnd::Canceled);
    EXPECT_EQ(wait.Until([] { return true; }), TNestedWait::TEnd::Canceled) << "stays cancelled";
  }
  {
    auto *guard = new QObject;
    TNestedWait wait(guard);
    QTimer::singleShot(5, guard, [guard] { guard->deleteLater(); });
    EXPECT_EQ(wait.Until([] { return false; }), TNestedWait::TEnd::ObjectGone);
  }
  {
    // A wait held by the object it waits on, which dies meanwhile.
    auto *owner = new QObject;
    auto *wait = new TNestedWait(owner);
    QTimer::singleShot(5, owner, [owner, wait] {
      delete wait;
      delete owner;
    });
    EXPECT_EQ(wait->Until([] { return false; }), TNestedWait::TEnd::ObjectGone);
  }
  {
    TNestedWait wait;
    QTimer::singleShot(5, [] { QCoreApplication::exit(0); });
    EXPECT_EQ(wait.Until([] { return false; }), TNestedWait::TEnd::Quit);
    EXPECT_EQ(wait.Until([] { return false; }), TNestedWait::TEnd::Quit) << "no spin";
    RecoverFromQuit();
  }
}

TEST_F(SendSafety, AnAddressOutsideAsciiNeedsSmtpUtf8) {
  TTestAuthority authority;
  const TTestAuthority::TCertificate certificate = authority.Issue(QStringLiteral("IP:127.0.0.1"));
  const QString user = QStringLiteral("jürgen@例え.jp");
  {
    // The plain dialogue greets with HELO and learns of no SMTPUTF8: refused before RCPT.
    TSmtpSink sink;
    Prepare(sink.Port());
    client.Connect();
    client.PostMessage.ToAddress = {user};
    const QString message = Failure([&] { client.SendMail(); });
    EXPECT_TRUE(message.contains(QStringLiteral("SMTPUTF8"))) << message.toStdString();
    EXPECT_TRUE(message.contains(user)) << message.toStdString();
    client.Disconnect();
    EXPECT_EQ(sink.Count(), 0);
  }
  {
    TSmtpSink sink({}, TSmtpSink::Secured(certificate, QStringLiteral("--starttls"), {}) +
                           QStringList{QStringLiteral("--smtputf8")});
    Prepare(sink.Port());
    client.Security = TSmtpSecurity::StartTls;
    client.Connect();
    client.PostMessage.ToAddress = {user};
    client.SendMail();
    client.Disconnect();
    ASSERT_EQ(sink.Count(), 1);
    EXPECT_EQ(Strings(sink.Record(1)[QStringLiteral("rcpt_tos")]), QStringList({user}));
  }
}

TEST_F(SendSafety, HeaderNamesTheSenderAndFoldsWithoutAnEmptyFirstLine) {
  TSmtpSink sink;
  Prepare(sink.Port());
  client.Connect();
  TPostMessage &m = client.PostMessage;
  m.ToAddress = {QStringLiteral("jane@example.org")};
  m.FromName = QStringLiteral("Ann Smith");
  m.Subject = QString(30, QChar(0x00E9)) + QStringLiteral(" and a rather long subject line");
  m.Body = {QStringLiteral("Hello")};
  client.SendMail();
  // A name typed into From wins over the one given apart, and is encoded outside ASCII.
  m.ToAddress = {QStringLiteral("jane@example.org")};
  m.FromAddress = QStringLiteral("Änne Smith <me@example.org>");
  client.SendMail();
  client.Disconnect();
  ASSERT_EQ(sink.Count(), 2);

  const QByteArray first = HeaderOf(sink.Raw(1));
  EXPECT_TRUE(first.startsWith("From: Ann Smith <me@example.org>\r\n")) << first.constData();
  EXPECT_TRUE(first.contains("\r\nSubject: =?utf-8?B?")) << "the value starts on the name's line";
  EXPECT_FALSE(first.contains("Subject:\r\n"));
  for (const QByteArray &line : first.split('\n')) EXPECT_LE(line.size(), 998);
  const QJsonObject record = sink.Record(1);
  bool subjectRead = false;
  for (const QJsonValue pair : record[QStringLiteral("headers")].toArray()) {
    if (pair[0].toString() == QStringLiteral("Subject"))
      subjectRead = pair[1].toString() == m.Subject;
  }
  EXPECT_TRUE(subjectRead) << "the server's parser reads the subject back whole";

  const QByteArray second = HeaderOf(sink.Raw(2));
  EXPECT_TRUE(second.startsWith("From: =?utf-8?B?")) << second.constData();
  EXPECT_TRUE(second.contains("?= <me@example.org>\r\n")) << second.constData();
  EXPECT_EQ(sink.Record(2)[QStringLiteral("mail_from")].toString(), "me@example.org");
}

TEST_F(SendSafety, TextAttachmentsDeclareTheirRealCharsetAndStayByteExact) {
  TSmtpSink sink;
  const QString folder = TestEnvironment::FreshDir(QStringLiteral("charsets"));
  struct TCase {
    const char *name;
    QByteArray bytes;
    QString type;
    QString charset;
  };
  const TCase cases[] = {
      {"plain.txt", "just ascii\r\n", QStringLiteral("text/plain"), QStringLiteral("us-ascii")},
      {"utf8.txt",
       "gr\xC3\xBC\xC3\x9F"
       "e\n",
       QStringLiteral("text/plain"), QStringLiteral("utf-8")},
      {"latin.txt", "caf\xE9 cr\xE8me\n", QStringLiteral("text/plain"),
       QStringLiteral("windows-1252")},
      {"notes.csv", "a;b\n1;2\n", QStringLiteral("text/plain"), QStringLiteral("us-ascii")},
      {"data.bin", QByteArray("\x00\x01\x02\xFF", 4), QStringLiteral("application/octet-stream"),
       QString()},
  };
  Prepare(sink.Port());
  for (const TCase &c : cases)
    client.PostMessage.Attachments
        << TestEnvironment::WriteFile(folder + u'/' + QString::fromLatin1(c.name), c.bytes);
  client.PostMessage.ToAddress = {QStringLiteral("jane@example.org")};
  client.Connect();
  client.SendMail();
  client.Disconnect();
  ASSERT_EQ(sink.Count(), 1);
  const QJsonArray parts = sink.Record(1)[QStringLiteral("parts")].toArray();
  ASSERT_EQ(parts.size(), 1 + std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].name);
    const QJsonObject part = parts[qsizetype(i) + 1].toObject();
    EXPECT_EQ(part[QStringLiteral("filename")].toString(), QString::fromLatin1(cases[i].name));
    EXPECT_EQ(part[QStringLiteral("content_type")].toString(), cases[i].type);
    if (!cases[i].charset.isEmpty()) {
      EXPECT_EQ(part[QStringLiteral("charset")].toString(), cases[i].charset);
    }
    QFile file(part[QStringLiteral("file")].toString());
    if (file.exists() && file.open(QIODevice::ReadOnly)) {
      EXPECT_EQ(file.readAll(), cases[i].bytes);
    } else {
      // A text part the parser kept as text: its decoded content must match the file.
      EXPECT_FALSE(part[QStringLiteral("text")].toString().isEmpty());
    }
  }
}

TEST(MessageNames, GreetingNameIsFullyQualifiedOrTheSendersDomain) {
  EXPECT_EQ(TMessageBuilder::ChooseLocalName(u"mail.example.org", u"", u"a@b.org"),
            QStringLiteral("mail.example.org"));
  EXPECT_EQ(TMessageBuilder::ChooseLocalName(u"vm", u"lan.example", u"a@b.org"),
            QStringLiteral("vm.lan.example"));
  EXPECT_EQ(TMessageBuilder::ChooseLocalName(u"vm", u"", u"Ann <ann@home.example>"),
            QStringLiteral("home.example"));
  EXPECT_EQ(TMessageBuilder::ChooseLocalName(u"vm", u"", u"ann@localhost"),
            QStringLiteral("localhost"));
  EXPECT_EQ(TMessageBuilder::ChooseLocalName(u"bad_name.x", u"", u"ann"),
            QStringLiteral("localhost"));
  EXPECT_EQ(TMessageBuilder::ChooseLocalName(u"vm", u"", u"ann@évil.example"),
            QStringLiteral("localhost"));
}

TEST(FieldChecks, LineBreaksAndAddressesThatWouldGoElsewhereAreRefused) {
  for (const QString &value :
       {QStringLiteral("bob@mail.test\r\nBcc: victim@mail.test"), QStringLiteral("a\nb"),
        QStringLiteral("a\rb"), QStringLiteral("a\u2028b")}) {
    const QString problem = FieldCheck::LineBreak(QStringLiteral("To:"), value);
    EXPECT_TRUE(problem.contains(QStringLiteral("line break"))) << value.toStdString();
  }
  EXPECT_TRUE(FieldCheck::LineBreak(QStringLiteral("Subject:"), u"Note: fine").isEmpty());

  for (const QString &good :
       {QStringLiteral("bob@mail.test"), QStringLiteral(" bob@mail.test "),
        QStringLiteral("Bob Smith <bob@mail.test>"),
        QStringLiteral("\"Smith, Bob\" <bob@mail.test>"), QStringLiteral("postmaster")})
    EXPECT_TRUE(FieldCheck::OneAddress(QStringLiteral("To:"), good).isEmpty())
        << good.toStdString();

  const QString redirected =
      FieldCheck::OneAddress(QStringLiteral("To:"), u"bob@mail.test Bcc: victim@mail.test");
  EXPECT_TRUE(redirected.contains(QStringLiteral("\"victim@mail.test\"")))
      << redirected.toStdString();
  for (const QString &bad :
       {QStringLiteral("Jane <jane@x.org>, bob@x.org"), QStringLiteral("a@x.org, b@x.org"),
        QStringLiteral("<a@x.org> <b@x.org>"), QStringLiteral("Name <>"),
        QStringLiteral("bob smith@x.org")})
    EXPECT_FALSE(FieldCheck::OneAddress(QStringLiteral("To:"), bad).isEmpty()) << bad.toStdString();
}
