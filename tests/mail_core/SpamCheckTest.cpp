// SPDX-License-Identifier: GPL-3.0-or-later
// What a receiving mail system's filter makes of an ordinary message: SpamAssassin (local
// rules only, no network) must find nothing wrong with its header or its MIME structure.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include "MailTestServers.h"
#include "TestEnvironment.h"
#include "mail/core/NMSMTP.h"

namespace {

const QString SpamAssassin = QStringLiteral("/usr/bin/spamassassin");

// The names of the rules SpamAssassin's report lists for the message.
QStringList RulesHit(const QByteArray &message) {
  QProcess process;
  process.start(SpamAssassin, {QStringLiteral("-L"), QStringLiteral("-t")});
  EXPECT_TRUE(process.waitForStarted(60000));
  process.write(message);
  process.closeWriteChannel();
  EXPECT_TRUE(process.waitForFinished(120000));
  const QString report = QString::fromUtf8(process.readAllStandardOutput());
  // The report's table: " pts rule name ..." then one line per rule.
  static const QRegularExpression row(QStringLiteral("^\\s*-?\\d+\\.\\d+\\s+([A-Z0-9_]+)\\s"),
                                      QRegularExpression::MultilineOption);
  const qsizetype table = report.indexOf(QStringLiteral("Content analysis details"));
  EXPECT_GE(table, 0) << report.toStdString();
  QStringList rules;
  for (auto match = row.globalMatch(report, table < 0 ? 0 : table); match.hasNext();)
    rules << match.next().captured(1);
  return rules;
}

}  // namespace

TEST(SpamCheck, AnOrdinaryMessageHitsNoHeaderOrMimeRule) {
  if (!QFileInfo::exists(SpamAssassin)) GTEST_SKIP() << "spamassassin is not installed";
  TSmtpSink sink;
  TNMSMTP client;
  client.Host = QStringLiteral("127.0.0.1");
  client.Port = sink.Port();
  client.UserID = QStringLiteral("tester");
  client.ReplyTimeOut = 20000;
  TPostMessage &m = client.PostMessage;
  m.FromAddress = QStringLiteral("ann@example.org");
  m.FromName = QStringLiteral("Ann Smith");
  m.ToAddress = {QStringLiteral("bob@example.org")};
  m.ReplyTo = QStringLiteral("ann@example.org");
  m.Subject = QStringLiteral("Notes from the meeting on Tuesday");
  m.LocalProgram = QStringLiteral("Vellumix 2.0");
  m.Body = {QStringLiteral("Dear Bob,"),
            QString(),
            QStringLiteral("here are my notes from Tuesday's meeting, as promised."),
            QStringLiteral("The figures are in the attached file."),
            QString(),
            QStringLiteral("Best wishes,"),
            QStringLiteral("Ann")};
  m.Attachments = {TestEnvironment::WriteFile(
      TestEnvironment::FreshDir(QStringLiteral("spam")) + QStringLiteral("/figures.txt"),
      "Quarter one: 12\nQuarter two: 15\n")};
  client.Connect();
  client.SendMail();
  client.Disconnect();
  ASSERT_EQ(sink.Count(), 1);

  QStringList rules = RulesHit(sink.Raw(1));
  // The message comes straight from the client: no relay has added a Received line yet. (That
  // this informational rule is read at all shows the report was understood.)
  EXPECT_TRUE(rules.contains(QStringLiteral("NO_RECEIVED"))) << rules.join(u' ').toStdString();
  rules.removeAll(QStringLiteral("NO_RECEIVED"));
  rules.removeAll(QStringLiteral("NO_RELAYS"));
  EXPECT_TRUE(rules.isEmpty()) << rules.join(u' ').toStdString() << "\n"
                               << sink.Raw(1).left(2000).toStdString();
}
