// SPDX-License-Identifier: GPL-3.0-or-later
// Encrypted submission against a real SMTP server: STARTTLS with a required login, TLS from
// the first byte, and the refusals that must end a send before anything goes out. The
// server's certificates come from an authority made by the test and trusted only through
// SSL_CERT_FILE.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QJsonArray>

#include "MailTestServers.h"
#include "TestEnvironment.h"
#include "mail/core/MailErrors.h"
#include "mail/core/NMSMTP.h"

namespace {

const QString Login = QStringLiteral("alice");
const QString Secret = QStringLiteral("s3cret-Pa55word");

QString HeaderValue(const QJsonObject &record, const QString &name) {
  for (const QJsonValue pair : record[QStringLiteral("headers")].toArray()) {
    if (pair[0].toString().compare(name, Qt::CaseInsensitive) == 0) return pair[1].toString();
  }
  return {};
}

qsizetype LongestLine(const QByteArray &raw) {
  qsizetype longest = 0;
  for (const QByteArray &line : raw.split('\n'))
    longest = std::max(longest, line.endsWith('\r') ? line.size() - 1 : line.size());
  return longest;
}

class SmtpSecure : public ::testing::Test {
 protected:
  void Prepare(TSmtpSink &sink, TSmtpSecurity security) {
    client.Host = QStringLiteral("127.0.0.1");
    client.Port = sink.Port();
    client.UserID = QStringLiteral("tester");
    client.ReplyTimeOut = 20000;
    client.Security = security;
    client.LoginName = Login;
    client.Password = Secret;
    client.PostMessage.FromAddress = QStringLiteral("me@example.org");
    client.PostMessage.ToAddress = {QStringLiteral("jane@example.org")};
    client.PostMessage.Body = {QStringLiteral("Hello")};
  }
  QString FailureOfConnectAndSend() {
    try {
      client.Connect();
      client.SendMail();
    } catch (const EMailError &error) {
      return error.Message();
    }
    return QStringLiteral("<no error>");
  }

  TTestAuthority authority;
  TNMSMTP client;
};

}  // namespace

// One message over each encrypted path: what arrives is read back by the server's own
// parser, part by part, and compared with what was sent.
class SmtpSecurePaths : public SmtpSecure, public ::testing::WithParamInterface<TSmtpSecurity> {};

TEST_P(SmtpSecurePaths, LoginAndMessageReadBack) {
  const TSmtpSecurity security = GetParam();
  TSmtpSink sink(
      {}, TSmtpSink::Secured(authority.Issue(QStringLiteral("IP:127.0.0.1")),
                             security == TSmtpSecurity::Tls ? QStringLiteral("--implicit-tls")
                                                            : QStringLiteral("--starttls"),
                             Login + u':' + Secret) +
              // The TLS set-up offers only AUTH LOGIN: both methods are used.
              (security == TSmtpSecurity::Tls ? QStringList{QStringLiteral("--login-only")}
                                              : QStringList{}));
  Prepare(sink, security);
  const QString folder = TestEnvironment::FreshDir(QStringLiteral("attach"));
  QByteArray binary(70001, Qt::Uninitialized);
  for (qsizetype i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>((i * 7919) % 256);
  const QString attachment =
      TestEnvironment::WriteFile(folder + QStringLiteral("/Gr\u00FC\u00DFe \u20AC.bin"), binary);
  QString longLine;
  for (int i = 0; longLine.size() < 5000; ++i) longLine += QString::number(i) + u' ';
  longLine.truncate(5000);
  QString subject;
  for (int i = 0; subject.size() < 1500; ++i) subject += QStringLiteral("word%1 ").arg(i);
  subject = subject.left(1500).trimmed();
  TPostMessage &m = client.PostMessage;
  m.FromName = QStringLiteral("Doe, John");
  m.ToAddress = {QStringLiteral("Roe, Jane <jane@example.org>"),
                 QStringLiteral("  bob@example.org  ")};
  m.Subject = subject;
  m.Body = {QStringLiteral("Dear Jane,"), longLine, QStringLiteral(".")};
  m.Attachments = {attachment};
  qint64 lastSent = 0, lastTotal = 0;
  client.OnPacketSent = [&](qint64 sent, qint64 total) {
    EXPECT_GE(sent, lastSent);
    lastSent = sent;
    lastTotal = total;
  };
  client.Connect();
  EXPECT_TRUE(client.Secure());
  EXPECT_TRUE(client.HasCapability(QStringLiteral("AUTH")));
  EXPECT_EQ(client.Capabilities().filter(QStringLiteral("PLAIN")).isEmpty(),
            security == TSmtpSecurity::Tls);
  EXPECT_FALSE(client.HasCapability(QStringLiteral("STARTTLS"))) << "the list after TLS";
  client.SendMail();
  client.Disconnect();

  EXPECT_EQ(lastSent, lastTotal);
  EXPECT_EQ(lastTotal, client.MessageBody().size());
  ASSERT_EQ(sink.Count(), 1);
  const QJsonObject record = sink.Record(1);
  EXPECT_TRUE(record[QStringLiteral("secure")].toBool());
  EXPECT_EQ(record[QStringLiteral("login")].toString(), Login);
  EXPECT_EQ(record[QStringLiteral("rcpt_tos")].toArray().size(), 2);
  EXPECT_EQ(record[QStringLiteral("rcpt_tos")][1].toString(), "bob@example.org");
  EXPECT_FALSE(HeaderValue(record, QStringLiteral("Date")).isEmpty());
  EXPECT_TRUE(HeaderValue(record, QStringLiteral("Message-ID")).contains(u'@'));
  EXPECT_EQ(HeaderValue(record, QStringLiteral("Subject")), subject);
  EXPECT_EQ(HeaderValue(record, QStringLiteral("From")), "\"Doe, John\" <me@example.org>");
  EXPECT_EQ(HeaderValue(record, QStringLiteral("To")),
            "\"Roe, Jane\" <jane@example.org>, bob@example.org");
  const QByteArray raw = sink.Raw(1);
  EXPECT_LE(LongestLine(raw), 998);
  const qsizetype headerEnd = raw.indexOf("\r\n\r\n");
  // Header lines made of what the user typed are folded (the fixed Content-Type line is not).
  for (const QByteArray &line : raw.left(headerEnd).split('\n')) {
    if (line.startsWith("Content-Type:")) continue;
    EXPECT_LE(line.size(), 79) << line.toStdString();
  }

  const QJsonArray parts = record[QStringLiteral("parts")].toArray();
  ASSERT_EQ(parts.size(), 2);
  EXPECT_EQ(parts[0][QStringLiteral("text")].toString(),
            QStringLiteral("Dear Jane,\r\n") + longLine + QStringLiteral("\r\n."));
  EXPECT_EQ(parts[1][QStringLiteral("filename")].toString(), "Gr\u00FC\u00DFe \u20AC.bin");
  EXPECT_TRUE(TestEnvironment::ReadFile(parts[1][QStringLiteral("file")].toString()) == binary);

  // Neither the password nor its base64 form is in any file written during the test.
  const QByteArray plain = Secret.toUtf8();
  const QByteArray encoded =
      QByteArray(QByteArray(1, '\0') + Login.toUtf8() + QByteArray(1, '\0') + plain).toBase64();
  QDirIterator files(TestEnvironment::Home(), QDir::Files | QDir::Hidden,
                     QDirIterator::Subdirectories);
  int scanned = 0;
  while (files.hasNext()) {
    const QString path = files.next();
    const QByteArray content = TestEnvironment::ReadFile(path);
    ++scanned;
    EXPECT_FALSE(content.contains(plain) || content.contains(encoded)) << path.toStdString();
  }
  EXPECT_GT(scanned, 2);
}

INSTANTIATE_TEST_SUITE_P(StartTlsAndTls, SmtpSecurePaths,
                         ::testing::Values(TSmtpSecurity::StartTls, TSmtpSecurity::Tls));

TEST_F(SmtpSecure, RefusalsEndTheSendWithTheirOwnMessage) {
  const auto good = authority.Issue(QStringLiteral("IP:127.0.0.1"));
  {
    TSmtpSink sink({}, TSmtpSink::Secured(good, QStringLiteral("--starttls"),
                                          Login + QStringLiteral(":other")));
    Prepare(sink, TSmtpSecurity::StartTls);
    const QString failure = FailureOfConnectAndSend();
    EXPECT_TRUE(failure.contains(QStringLiteral("refused the login of \"alice\"")))
        << failure.toStdString();
    EXPECT_TRUE(failure.contains(QStringLiteral("535"))) << "the server's own reply";
    EXPECT_FALSE(failure.contains(Secret));
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(sink.Count(), 0);
  }
  {
    TSmtpSink sink({}, TSmtpSink::Secured(authority.Issue(QStringLiteral("DNS:other.example")),
                                          QStringLiteral("--implicit-tls"), {}));
    Prepare(sink, TSmtpSecurity::Tls);
    const QString failure = FailureOfConnectAndSend();
    EXPECT_TRUE(failure.startsWith(QStringLiteral("No secure connection to 127.0.0.1: ")))
        << failure.toStdString();
    EXPECT_TRUE(failure.contains(QStringLiteral("mismatch"))) << failure.toStdString();
    EXPECT_EQ(sink.Count(), 0);
  }
  {
    TSmtpSink sink({}, TSmtpSink::Secured(authority.Issue(QStringLiteral("IP:127.0.0.1"), -1),
                                          QStringLiteral("--starttls"), {}));
    Prepare(sink, TSmtpSecurity::StartTls);
    client.LoginName.clear();
    const QString failure = FailureOfConnectAndSend();
    EXPECT_TRUE(failure.contains(QStringLiteral("certificate has expired")))
        << failure.toStdString();
    EXPECT_EQ(sink.Count(), 0);
  }
  {
    TSmtpSink sink;  // clear text only: no STARTTLS on offer
    Prepare(sink, TSmtpSecurity::StartTls);
    const QString failure = FailureOfConnectAndSend();
    EXPECT_TRUE(failure.contains(QStringLiteral("does not offer STARTTLS")))
        << failure.toStdString();
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(sink.Count(), 0);
  }
  {
    // The same clear-text server asked for TLS from the first byte.
    TSmtpSink sink;
    Prepare(sink, TSmtpSecurity::Tls);
    client.ReplyTimeOut = 3000;
    const QString failure = FailureOfConnectAndSend();
    EXPECT_TRUE(failure.startsWith(QStringLiteral("No secure connection to 127.0.0.1")))
        << failure.toStdString();
    EXPECT_EQ(sink.Count(), 0);
  }
}

TEST_F(SmtpSecure, SecurityHolderTexts) {
  for (TSmtpSecurity security : {TSmtpSecurity::None, TSmtpSecurity::StartTls, TSmtpSecurity::Tls})
    EXPECT_EQ(SmtpSecurityFromText(SmtpSecurityText(security)), security);
  EXPECT_EQ(SmtpSecurityText(TSmtpSecurity::StartTls), "STARTTLS");
  EXPECT_EQ(SmtpSecurityFromText(QStringLiteral(" starttls ")), TSmtpSecurity::StartTls);
  EXPECT_EQ(SmtpSecurityFromText(QString()), TSmtpSecurity::None);
  EXPECT_EQ(SmtpSecurityFromText(QStringLiteral("SSL")), TSmtpSecurity::None);
  EXPECT_EQ(SmtpSecurityDefaultPort(TSmtpSecurity::Tls), 465);
}
