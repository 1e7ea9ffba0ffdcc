// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTimeZone>

#include "TestEnvironment.h"
#include "mail/core/ExStringList.h"
#include "mail/core/MessageBuilder.h"
#include "mail/core/MimeText.h"
#include "mail/core/NMSMTP.h"

TEST(MessageFormat, RecipientAddressExtraction) {
  auto extract = [](const char *entry) {
    return TNMSMTP::ExtractAddress(QString::fromUtf8(entry));
  };
  EXPECT_EQ(extract("Jane Doe <jane@example.org>"), "jane@example.org");
  EXPECT_EQ(extract("<a@b.c> trailing"), "a@b.c");
  EXPECT_EQ(extract("x <a@b.c <d@e.f>"), "a@b.c ");  // up to the next "<"
  EXPECT_EQ(extract("<unclosed@b.c"), "unclosed@b.c");
  EXPECT_EQ(extract("plain@example.org"), "plain@example.org");
  EXPECT_EQ(extract("smtp: user@example.org"), " user@example.org");
  EXPECT_EQ(extract("a:b@c:d"), "b@c");
  EXPECT_EQ(extract(""), "");
}

TEST(MessageFormat, HeaderListByName) {
  TExStringList list{QStringLiteral("From: a"), QStringLiteral("no colon here"),
                     QStringLiteral("Subject: old")};
  EXPECT_EQ(list.IndexOfName(QStringLiteral("subject")), 2);
  EXPECT_EQ(list.IndexOfName(QStringLiteral("no colon here")), -1);
  EXPECT_EQ(list.IndexOfName(QStringLiteral("Subj")), -1);

  list.SetHeader(QStringLiteral("SUBJECT"), QStringLiteral("new"));
  EXPECT_EQ(list.at(2), "SUBJECT: new");
  list.SetHeader(QStringLiteral("X-Mailer"), QStringLiteral("Vellumix"));
  EXPECT_EQ(list.last(), "X-Mailer: Vellumix");
  list.SetHeader(QStringLiteral("from"), QString());
  EXPECT_EQ(list.size(), 3);
  EXPECT_EQ(list.IndexOfName(QStringLiteral("From")), -1);
  list.SetHeader(QStringLiteral("Absent"), QString());
  EXPECT_EQ(list.size(), 3);
}

TEST(MessageFormat, LongHeaderTextOutsideAscii) {
  // Text outside ASCII becomes encoded words, each short enough for a header line, never
  // splitting a character, folded onto continuation lines.
  const QString subject = QString(40, QChar(0x00E9)) + QStringLiteral(" caf\u00E9 \u20AC");
  const QString encoded = MimeText::HeaderText(subject);
  const QStringList lines = encoded.split(QStringLiteral("\r\n "));
  ASSERT_GT(lines.size(), 1);
  QByteArray decoded;
  static const QRegularExpression word(QStringLiteral("^=\\?utf-8\\?B\\?([A-Za-z0-9+/=]+)\\?=$"));
  for (const QString &line : lines) {
    EXPECT_LE(line.size(), 75);
    const auto match = word.match(line);
    ASSERT_TRUE(match.hasMatch()) << line.toStdString();
    const QByteArray piece = QByteArray::fromBase64(match.captured(1).toLatin1());
    EXPECT_TRUE(QString::fromUtf8(piece).toUtf8() == piece) << "a character was split";
    decoded += piece;
  }
  EXPECT_EQ(QString::fromUtf8(decoded), subject);

  EXPECT_EQ(MimeText::QuotedParameter(u"a\"b\\c.txt"), "a\\\"b\\\\c.txt");
}

TEST(MessageFormat, BoundaryNeverOccursInTheText) {
  TMessageBuilder builder;
  TPostMessage message;
  message.FromAddress = QStringLiteral("a@b.c");
  message.Attachments = {QStringLiteral(MAIL_TEST_DIR "/smtp_sink.py")};
  message.Body = {QStringLiteral("x"), TMessageBuilder::MakeBoundary()};
  builder.Build(message);
  // The text line holding today's boundary does not end the part: another is chosen.
  EXPECT_NE(builder.Boundary, message.Body[1]);
  EXPECT_FALSE(message.Body[1].contains(builder.Boundary));
  const QByteArray closing = "--" + builder.Boundary.toLatin1() + "--\r\n";
  EXPECT_TRUE(builder.Body.endsWith(closing));
}

namespace {

TMessageBuilder Built(const QStringList &body, const QStringList &attachments = {},
                      UUMethods method = uuMime) {
  TMessageBuilder builder;
  builder.EncodeType = method;
  TPostMessage message;
  message.FromAddress = QStringLiteral("a@b.c");
  message.ToAddress = {QStringLiteral("d@e.f")};
  message.Body = body;
  message.Attachments = attachments;
  builder.Build(message);
  return builder;
}

QString Unfolded(QString folded) { return folded.remove(QStringLiteral("\r\n")); }

}  // namespace

TEST(MessageFormat, BodiesThatMayNotGoOutRaw) {
  // Plain short ASCII stays as it is.
  EXPECT_EQ(Built({QStringLiteral("short line")}).Body, "short line\r\n");
  // A line beyond SMTP's 998 octets, or a control byte, makes the text quoted-printable.
  const QString longLine(5000, u'a');
  const TMessageBuilder wide = Built({longLine});
  EXPECT_TRUE(wide.Header.contains(QStringLiteral("Content-Transfer-Encoding: quoted-printable")));
  EXPECT_TRUE(wide.Header.contains(
      QStringLiteral("Content-Type: text/plain;                        charset=us-ascii")));
  for (const QByteArray &line : wide.Body.split('\n')) EXPECT_LE(line.size(), 77);
  EXPECT_EQ(wide.Body.count('a'), 5000);
  const TMessageBuilder controls = Built({QString::fromLatin1("nul\0here\x1b", 9)});
  EXPECT_EQ(controls.Body, "nul=00here=1B\r\n");
  // A 998-octet line still goes out raw; one starting with a dot is one octet longer on the wire.
  EXPECT_EQ(Built({QString(998, u'b')}).Body.size(), 1000);
  EXPECT_TRUE(Built({u'.' + QString(997, u'b')})
                  .Header.contains(QStringLiteral("Content-Transfer-Encoding: quoted-printable")));
}

TEST(MessageFormat, UuencodedLinesAreDotStuffed) {
  // 14 bytes give a line whose length character is ".".
  const QString file = TestEnvironment::WriteFile(
      TestEnvironment::FreshDir(QStringLiteral("uu")) + QStringLiteral("/f.bin"),
      QByteArray("fourteen bytes"));
  const TMessageBuilder builder = Built({QStringLiteral("x")}, {file}, uuCode);
  EXPECT_TRUE(builder.Body.contains("\r\n..")) << builder.Body.toStdString();
  EXPECT_FALSE(builder.Body.contains("\r\n.\r\n"));
}

TEST(MessageFormat, HeaderFoldingAndQuoting) {
  EXPECT_EQ(MimeText::DisplayName(u"Doe, John"), "\"Doe, John\"");
  EXPECT_EQ(MimeText::DisplayName(u"John Doe"), "John Doe");
  EXPECT_EQ(MimeText::DisplayName(u"\"Already, quoted\""), "\"Already, quoted\"");
  EXPECT_EQ(MimeText::DisplayName(u"Say \"hi\"."), "\"Say \\\"hi\\\".\"");
  EXPECT_EQ(MimeText::HeaderAddress(u"Doe, John <j@x.org>"), "\"Doe, John\" <j@x.org>");
  EXPECT_EQ(MimeText::HeaderAddress(u"Jane <j@x.org>"), "Jane <j@x.org>");
  EXPECT_EQ(MimeText::FileParameter(u"filename", u"caf\u00E9 1.txt"),
            "filename*=utf-8''caf%C3%A9%201.txt");
  EXPECT_EQ(MimeText::FileParameter(u"name", u"a.txt"), "name=\"a.txt\"");

  QString subject = QStringLiteral("Subject:");
  for (int i = 0; i < 60; ++i) subject += QStringLiteral(" word") + QString::number(i);
  const QString folded = MimeText::Fold(subject);
  EXPECT_EQ(Unfolded(folded), subject);
  for (const QString &line : folded.split(QStringLiteral("\r\n"))) {
    EXPECT_LE(line.size(), 78);
    EXPECT_FALSE(line.isEmpty());
  }
  // A list of addresses breaks after its commas, never inside a quoted name.
  QString to = QStringLiteral("To: ");
  for (int i = 0; i < 8; ++i) to += QStringLiteral("\"Doe, Jo%1\" <jo%1@example.org>,").arg(i);
  const QString list = MimeText::Fold(to);
  for (const QString &line : list.split(QStringLiteral("\r\n"))) {
    EXPECT_LE(line.size(), 78);
    EXPECT_EQ(line.count(u'"') % 2, 0) << line.toStdString();
  }
  // Already folded encoded words keep their breaks.
  const QString words = QStringLiteral("Subject: =?utf-8?B?AAAA?=\r\n =?utf-8?B?BBBB?=");
  EXPECT_EQ(MimeText::Fold(words), words);

  const QString date = MimeText::MessageDate(
      QDateTime(QDate(2026, 3, 1), QTime(7, 5, 9), QTimeZone(-(3 * 3600 + 1800))));
  EXPECT_EQ(date, "Sun, 01 Mar 2026 07:05:09 -0330");
  EXPECT_NE(MimeText::MessageId(u"host"), MimeText::MessageId(u"host"));
  EXPECT_TRUE(MimeText::MessageId(u"bad host!").endsWith(QStringLiteral("@badhost>")));
}
