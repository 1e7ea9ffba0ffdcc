// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "convert/core/ConverterProtocol.h"
#include "settings/core/MachineHive.h"

namespace {

using TState = TChunkReader::TState;

TEST(ConverterProtocol, ChunksOfAtMost4096BytesArriveWholeHoweverTheStreamIsCut) {
  QByteArray text;
  for (int i = 0; i < 10000; ++i) text += char('a' + i % 26);
  const QByteArray stream = ConverterProtocol::Chunks(text) + ConverterProtocol::Done();
  EXPECT_TRUE(stream.startsWith("DATA 4096\n"));
  for (const qsizetype piece : {qsizetype(1), qsizetype(7), qsizetype(4096), stream.size()}) {
    TChunkReader reader(1 << 20);
    QByteArray out;
    TState state = TState::More;
    for (qsizetype at = 0; at < stream.size(); at += piece)
      state = reader.Feed(stream.mid(at, piece), out);
    EXPECT_EQ(state, TState::Done) << piece;
    EXPECT_EQ(out, text) << piece;
  }
}

TEST(ConverterProtocol, StreamsOutOfFormAreRefusedWithAReason) {
  struct TCase {
    QByteArray stream;
    const char *reason;
  };
  const TCase cases[] = {
      {"DATA 4097\n", "wrong size"},
      {"DATA 0\n", "wrong size"},
      {"DATA -3\n", "wrong size"},
      {"DATA 12x\n", "wrong size"},
      {"HELLO\n", "not understood"},
      {"DONE\nDATA 1\nx", "after its end"},
      {"ERROR pandoc failed: unknown reader\n", "pandoc failed: unknown reader"},
      {QByteArray(2000, 'x'), "too long"},
      {"DATA 4000\n" + QByteArray(4000, 'x') + "DATA 4000\n", "larger than 6000"},
  };
  for (const TCase &c : cases) {
    TChunkReader reader(6000);
    QByteArray out;
    EXPECT_EQ(reader.Feed(c.stream, out), TState::Failed) << c.stream.left(40).toStdString();
    EXPECT_TRUE(reader.Error().contains(QLatin1String(c.reason))) << reader.Error().toStdString();
  }
  TChunkReader reader(100);
  QByteArray out;
  EXPECT_EQ(reader.Feed("ERROR\n", out), TState::Failed);
  EXPECT_FALSE(reader.Error().isEmpty()) << "a failure without a reason still says something";
}

TEST(MachineHive, LaterFilesAddAndOverrideAndDamagedOnesAreSkipped) {
  TMachineHive hive;
  hive.Merge(
      "Windows Registry Editor Version "
      "5.00\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\n\"Name\"=\"one\"\n"
      "\"Keep\"=\"yes\"\n[HKEY_CURRENT_USER\\SOFTWARE\\B]\n\"Name\"=\"user\"\n",
      QStringLiteral("first"));
  hive.Merge(
      "Windows Registry Editor Version "
      "5.00\n\n[HKEY_LOCAL_MACHINE\\software\\a]\n\"Name\"=\"two\"\n",
      QStringLiteral("second"));
  hive.Merge("not a registry file", QStringLiteral("third"));
  const TRegKey *a = hive.Key(QStringLiteral("SOFTWARE\\A"));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Value(u"Name")->text, QStringLiteral("two"));
  EXPECT_EQ(a->Value(u"Keep")->text, QStringLiteral("yes"));
  EXPECT_EQ(hive.Key(QStringLiteral("SOFTWARE\\B")), nullptr) << "other hives are ignored";
  ASSERT_EQ(hive.Errors().size(), 1);
  EXPECT_TRUE(hive.Errors().first().startsWith(QLatin1String("third: ")));
}

}  // namespace
