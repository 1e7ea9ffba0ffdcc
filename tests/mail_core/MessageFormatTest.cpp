#include <gtest/gtest.h>

#include <QRegularExpression>

#include "ExStringList.h"
#include "MessageBuilder.h"
#include "MimeText.h"
#include "NMSMTP.h"

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
