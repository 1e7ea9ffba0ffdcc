// SPDX-License-Identifier: GPL-3.0-or-later
// The SMTP client against a real SMTP server: what arrives is read back and checked, both
// as raw bytes and as the server's own e-mail parser decodes it.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QRegularExpression>

#include "MailTestServers.h"
#include "TestEnvironment.h"
#include "mail/core/MailErrors.h"
#include "mail/core/NMSMTP.h"

namespace {

QStringList Strings(const QJsonValue &value) {
  QStringList list;
  for (const QJsonValue item : value.toArray()) list << item.toString();
  return list;
}

QString HeaderValue(const QJsonObject &record, const QString &name) {
  for (const QJsonValue pair : record[QStringLiteral("headers")].toArray()) {
    if (pair[0].toString().compare(name, Qt::CaseInsensitive) == 0) return pair[1].toString();
  }
  return {};
}

// The message with its Date and Message-ID lines taken out, after checking their form: the
// rest of the header is compared byte for byte.
QByteArray WithoutDateAndId(const QByteArray &raw) {
  static const QRegularExpression date(
      QStringLiteral("\r\nDate: (Mon|Tue|Wed|Thu|Fri|Sat|Sun), \\d\\d "
                     "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) \\d{4} "
                     "\\d\\d:\\d\\d:\\d\\d [+-]\\d{4}(?=\r\n)"));
  static const QRegularExpression id(
      QStringLiteral("\r\nMessage-ID: <[0-9a-f-]{36}@[A-Za-z0-9.-]+>(?=\r\n)"));
  QString text = QString::fromLatin1(raw);
  const qsizetype end = text.indexOf(QStringLiteral("\r\n\r\n"));
  QString header = text.left(end);
  EXPECT_EQ(header.count(date), 1) << header.toStdString();
  EXPECT_EQ(header.count(id), 1) << header.toStdString();
  header.remove(date).remove(id);
  return (header + text.mid(end)).toLatin1();
}

QByteArray HeaderPart(const QByteArray &raw) {
  const QByteArray clean = WithoutDateAndId(raw);
  return clean.left(clean.indexOf("\r\n\r\n") + 2);
}

class SmtpDelivery : public ::testing::Test {
 protected:
  void Open(TSmtpSink &sink) {
    client.Host = QStringLiteral("127.0.0.1");
    client.Port = sink.Port();
    client.UserID = QStringLiteral("tester");
    client.ReplyTimeOut = 20000;
    client.Connect();
  }
  void Address(const QStringList &to) {
    client.PostMessage.FromAddress = QStringLiteral("me@example.org");
    client.PostMessage.ToAddress = to;
    client.PostMessage.Body = {QStringLiteral("Hello")};
  }
  QString FailureOfSend() {
    try {
      client.SendMail();
    } catch (const EMailError &error) {
      return error.Message();
    }
    return QStringLiteral("<no error>");
  }

  TNMSMTP client;
};

}  // namespace

TEST_F(SmtpDelivery, PlainMessageHeaderBodyAndEnvelope) {
  TSmtpSink sink;
  QStringList events;
  client.OnConnect = [&] { events << QStringLiteral("connect"); };
  client.OnSendStart = [&] { events << QStringLiteral("start"); };
  client.OnSuccess = [&] { events << QStringLiteral("success"); };
  Open(sink);
  TPostMessage &m = client.PostMessage;
  m.FromAddress = QStringLiteral("me@example.org");
  m.FromName = QStringLiteral("Me Myself");
  m.ToAddress = {QStringLiteral("Jane Doe <jane@example.org>"), QStringLiteral("bob@example.org")};
  m.ToCarbonCopy = {QStringLiteral("carol@example.org")};
  m.ToBlindCarbonCopy = {QStringLiteral("hidden@example.org")};
  m.Subject = QStringLiteral("Report");
  m.LocalProgram = QStringLiteral("Vellumix 2.0");
  m.ReplyTo = QStringLiteral("reply@example.org");
  m.Body = {QStringLiteral("Hello"), QStringLiteral("."), QStringLiteral(".hidden dot"), QString(),
            QStringLiteral("end")};
  client.SendMail();
  client.Disconnect();

  EXPECT_EQ(events, QStringList({QStringLiteral("connect"), QStringLiteral("start"),
                                 QStringLiteral("success")}));
  ASSERT_EQ(sink.Count(), 1);
  const QJsonObject record = sink.Record(1);
  EXPECT_EQ(record[QStringLiteral("helo")].toString(), "tester");
  EXPECT_EQ(record[QStringLiteral("mail_from")].toString(), "me@example.org");
  EXPECT_EQ(
      Strings(record[QStringLiteral("rcpt_tos")]),
      QStringList({QStringLiteral("jane@example.org"), QStringLiteral("bob@example.org"),
                   QStringLiteral("carol@example.org"), QStringLiteral("hidden@example.org")}));
  const QByteArray expected =
      "From: Me Myself <me@example.org>\r\n"
      "To: Jane Doe <jane@example.org>,bob@example.org\r\n"
      "CC: carol@example.org\r\n"
      "Subject: Report\r\n"
      "X-Mailer: Vellumix 2.0\r\n"
      "Reply-To: reply@example.org\r\n"
      "Mime-Version: 1.0\r\n"
      "Content-Type: text/plain;                        charset=us-ascii\r\n"
      "\r\n"
      "\r\n"
      "Hello\r\n"
      ".\r\n"
      ".hidden dot\r\n"
      "\r\n"
      "end\r\n";
  EXPECT_EQ(WithoutDateAndId(sink.Raw(1)),
            expected);  // the server has removed the stuffed dots again
  EXPECT_TRUE(client.MessageBody().contains("\r\n..\r\n..hidden dot\r\n"));

  // ClearParams: recipients and attachments go, the rest stays.
  EXPECT_TRUE(m.ToAddress.isEmpty() && m.ToCarbonCopy.isEmpty() && m.ToBlindCarbonCopy.isEmpty());
  EXPECT_EQ(m.Body.size(), 5);
  EXPECT_EQ(m.Subject, "Report");
  EXPECT_EQ(m.FromAddress, "me@example.org");
}

TEST_F(SmtpDelivery, MinimalHeaderAndInjectedLinesOnOneConnection) {
  TSmtpSink sink;
  Open(sink);
  Address({QStringLiteral("jane@example.org")});
  client.SendMail();
  EXPECT_EQ(HeaderPart(sink.Raw(1)),
            "From: <me@example.org>\r\n"
            "To: jane@example.org\r\n"
            "Mime-Version: 1.0\r\n"
            "Content-Type: text/plain;                        charset=us-ascii\r\n");

  // Line breaks in header values and addresses must not start header lines or commands.
  Address({QStringLiteral("jane@example.org\r\nDATA")});
  QStringList refused;
  client.OnRecipientNotFound = [&](const QString &entry) { refused << entry; };
  EXPECT_EQ(FailureOfSend().left(3), "503") << "no command of its own: no recipient, no DATA";
  EXPECT_EQ(refused.size(), 1);
  client.PostMessage.Subject = QStringLiteral("Hi\r\nBcc: victim@example.org");
  client.PostMessage.FromName = QStringLiteral("Me\nX-Evil: yes");
  client.PostMessage.ToAddress = {QStringLiteral("Jane\r\n <jane@example.org>")};
  client.SendMail();

  // A sender written with a display name still gives a bare envelope address.
  Address({QStringLiteral("jane@example.org")});
  client.PostMessage.FromAddress = QStringLiteral("Me <me@example.org>");
  client.PostMessage.FromName.clear();
  client.SendMail();
  client.Disconnect();
  ASSERT_EQ(sink.Count(), 3);
  EXPECT_EQ(sink.Record(3)[QStringLiteral("mail_from")].toString(), "me@example.org");
  EXPECT_TRUE(sink.Raw(3).startsWith("From: Me <me@example.org>\r\n")) << "the typed name stays";
  const QByteArray header = HeaderPart(sink.Raw(2));
  EXPECT_FALSE(header.contains("\nBcc:"));
  EXPECT_FALSE(header.contains("\nX-Evil:"));
  EXPECT_TRUE(header.contains("Subject: Hi Bcc: victim@example.org\r\n"));
  EXPECT_EQ(Strings(sink.Record(2)[QStringLiteral("rcpt_tos")]),
            QStringList{QStringLiteral("jane@example.org")});
}

TEST_F(SmtpDelivery, AttachmentsAsMimeParts) {
  TSmtpSink sink;
  const QString folder = TestEnvironment::FreshDir(QStringLiteral("attach"));
  const QByteArray binary = TestEnvironment::RandomBytes(100003);
  const QString first =
      TestEnvironment::WriteFile(folder + QStringLiteral("/deep/data.bin"), binary);
  const QString second = TestEnvironment::WriteFile(folder + QStringLiteral("/empty.txt"), {});
  QStringList events;
  client.OnEncodeStart = [&](const QString &path) { events << QStringLiteral("start ") + path; };
  client.OnEncodeEnd = [&](const QString &path) { events << QStringLiteral("end ") + path; };
  Open(sink);
  Address({QStringLiteral("jane@example.org")});
  client.PostMessage.Body = {QStringLiteral("See the files."), QStringLiteral(".")};
  client.PostMessage.Attachments = {first, second};
  client.SendMail();
  client.Disconnect();

  EXPECT_EQ(events,
            QStringList({QStringLiteral("start ") + first, QStringLiteral("end ") + first,
                         QStringLiteral("start ") + second, QStringLiteral("end ") + second}));
  const QByteArray raw = sink.Raw(1);
  const qsizetype typeAt =
      raw.indexOf("Content-Type: multipart/mixed;                   boundary=\"");
  ASSERT_GE(typeAt, 0);
  const qsizetype quote = raw.indexOf('"', typeAt) + 1;
  const QByteArray boundary = raw.mid(quote, raw.indexOf('"', quote) - quote);
  EXPECT_TRUE(boundary.startsWith("====================54535"));
  EXPECT_TRUE(raw.endsWith(QByteArray("--" + boundary + "--\r\n")));
  EXPECT_EQ(raw.count(QByteArray("--" + boundary + "\r\n")), 3);
  EXPECT_TRUE(
      raw.contains("Content-Type: application/octet-stream;          name=\"data.bin\"\r\n"
                   "Content-Transfer-Encoding: base64\r\n"
                   "Content-Disposition: attachment;                 "
                   "filename=\"data.bin\"\r\n\r\n"));
  EXPECT_FALSE(raw.contains(folder.toUtf8()));

  const QJsonArray parts = sink.Record(1)[QStringLiteral("parts")].toArray();
  ASSERT_EQ(parts.size(), 3);
  // The line end before a boundary belongs to the boundary.
  EXPECT_EQ(parts[0][QStringLiteral("text")].toString(), "See the files.\r\n.");
  EXPECT_EQ(parts[1][QStringLiteral("filename")].toString(), "data.bin");
  EXPECT_TRUE(TestEnvironment::ReadFile(parts[1][QStringLiteral("file")].toString()) == binary);
  EXPECT_EQ(parts[2][QStringLiteral("filename")].toString(), "empty.txt");
  EXPECT_TRUE(TestEnvironment::ReadFile(parts[2][QStringLiteral("file")].toString()).isEmpty());
}

TEST_F(SmtpDelivery, TextOutsideAsciiIsDeclaredAndEncoded) {
  TSmtpSink sink;
  Open(sink);
  Address({QStringLiteral("J\u00FCrgen <jurgen@example.org>")});
  client.PostMessage.FromName = QStringLiteral("J\u00F6rg M\u00FCller");
  client.PostMessage.Subject = QStringLiteral("Bericht \u00FCber \u00C4pfel");
  const QString longLine = QString(150, QChar(0x00E9));
  client.PostMessage.Body = {QStringLiteral("Gr\u00FC\u00DFe aus K\u00F6ln"),
                             QStringLiteral("bare\nLF and\rCR and\r\nCRLF"),
                             QStringLiteral(".dot \u20AC = euro "), longLine};
  client.SendMail();
  client.Disconnect();

  const QByteArray raw = sink.Raw(1);
  EXPECT_TRUE(
      raw.contains("Content-Type: text/plain;                        charset=utf-8\r\n"
                   "Content-Transfer-Encoding: quoted-printable\r\n"));
  for (qsizetype i = 0; i < raw.size(); ++i) {
    ASSERT_LT(static_cast<uchar>(raw[i]), 0x80) << "raw byte outside ASCII at " << i;
    const bool lineEndOk = raw[i] == '\n'   ? i > 0 && raw[i - 1] == '\r'
                           : raw[i] == '\r' ? i + 1 < raw.size() && raw[i + 1] == '\n'
                                            : true;
    ASSERT_TRUE(lineEndOk) << "bare CR or LF at " << i;
  }
  for (const QByteArray &line : raw.split('\n')) EXPECT_LE(line.size(), 78);

  const QJsonObject record = sink.Record(1);
  EXPECT_EQ(HeaderValue(record, QStringLiteral("Subject")), "Bericht \u00FCber \u00C4pfel");
  EXPECT_EQ(HeaderValue(record, QStringLiteral("From")), "J\u00F6rg M\u00FCller <me@example.org>");
  EXPECT_EQ(HeaderValue(record, QStringLiteral("To")), "J\u00FCrgen <jurgen@example.org>");
  const QJsonArray parts = record[QStringLiteral("parts")].toArray();
  ASSERT_EQ(parts.size(), 1);
  EXPECT_EQ(parts[0][QStringLiteral("charset")].toString(), "utf-8");
  EXPECT_EQ(
      parts[0][QStringLiteral("text")].toString(),
      QStringLiteral("\r\nGr\u00FC\u00DFe aus K\u00F6ln\r\nbare\r\nLF and\r\nCR and\r\nCRLF\r\n"
                     ".dot \u20AC = euro \r\n") +
          longLine + QStringLiteral("\r\n"));
}

TEST_F(SmtpDelivery, RefusedRecipients) {
  TSmtpSink sink({QStringLiteral("nobody@example.org")});
  QStringList refused;
  int successes = 0;
  client.OnRecipientNotFound = [&](const QString &entry) { refused << entry; };
  client.OnSuccess = [&] { ++successes; };
  Open(sink);
  Address({QStringLiteral("Nobody <nobody@example.org>"), QStringLiteral("jane@example.org")});
  client.SendMail();
  EXPECT_EQ(refused, QStringList{QStringLiteral("Nobody <nobody@example.org>")});
  EXPECT_EQ(Strings(sink.Record(1)[QStringLiteral("rcpt_tos")]),
            QStringList{QStringLiteral("jane@example.org")});

  // Every recipient refused: the server refuses DATA and its reply is the error.
  Address({QStringLiteral("nobody@example.org")});
  const QString failure = FailureOfSend();
  EXPECT_TRUE(failure.startsWith(QStringLiteral("503"))) << failure.toStdString();
  EXPECT_TRUE(failure.endsWith(QStringLiteral("\r\n")));
  EXPECT_EQ(successes, 1);
  EXPECT_FALSE(client.Busy());
  EXPECT_TRUE(client.Connected()) << "a refused message leaves the connection open";
  EXPECT_EQ(client.PostMessage.ToAddress.size(), 1) << "lists stay after a failure";
  client.Disconnect();
  EXPECT_EQ(sink.Count(), 1);
}

TEST_F(SmtpDelivery, MessagesThatCannotGo) {
  TSmtpSink sink;
  Address({QStringLiteral("jane@example.org")});
  EXPECT_EQ(FailureOfSend(), "Not Connected");
  Open(sink);

  // No sender: asked once; the handler's sender is the one the header names.
  client.PostMessage.FromAddress.clear();
  EXPECT_EQ(FailureOfSend(), "Incomplete Header");
  QList<int> kinds;
  client.OnHeaderIncomplete = [&](bool &handled, int kind) {
    kinds << kind;
    if (kind == 1) {
      client.PostMessage.FromAddress = QStringLiteral("late@example.org");
      handled = true;
    }
  };
  client.SendMail();
  EXPECT_TRUE(HeaderPart(sink.Raw(1)).startsWith("From: <late@example.org>\r\n"));
  EXPECT_EQ(sink.Record(1)[QStringLiteral("mail_from")].toString(), "late@example.org");
  EXPECT_EQ(FailureOfSend(), "Incomplete Header");  // no recipient left, handler declines
  EXPECT_EQ(kinds, QList<int>({1, 2}));

  // A missing attachment stops the message before any command.
  QStringList missing;
  client.OnAttachmentNotFound = [&](const QString &path) { missing << path; };
  Address({QStringLiteral("jane@example.org")});
  const QString path = TestEnvironment::Home() + QStringLiteral("/no/such/file.txt");
  client.PostMessage.Attachments = {path};
  EXPECT_TRUE(FailureOfSend().startsWith(QStringLiteral("Cannot open file \"") + path));
  EXPECT_EQ(missing, QStringList{path});
  client.PostMessage.Attachments = {TestEnvironment::Home()};
  EXPECT_TRUE(FailureOfSend().startsWith(QStringLiteral("Cannot open file")));

  // While one send runs, a second one does nothing.
  client.PostMessage.Attachments.clear();
  int starts = 0;
  client.OnSendStart = [&] {
    ++starts;
    client.SendMail();
  };
  client.SendMail();
  client.Disconnect();
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(sink.Count(), 2);
}
