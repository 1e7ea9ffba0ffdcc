// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "DctFiles.h"
#include "TestEnvironment.h"
#include "spell/core/DCTFile.h"
#include "spell/core/DictionaryCompiler.h"
#include "spell/core/SpellErrors.h"

namespace {

class CompilerTest : public ::testing::Test {
 protected:
  QString dir = TestEnvironment::FreshDir(QStringLiteral("compiler"));
};

TEST_F(CompilerTest, KeepsOnlyWordsTheScannerCanProduce) {
  TDictionaryCompiler compiler;
  // UTF-8, mixed line ends, duplicates, and lines that cannot be words.
  compiler.AddText(
      "Apple\r\napple\nbanana\rcan't\nJohn's\n's\ne-mail\nice cream\ne.g.\n\xc3\xa9t\xc3\xa9\n"
      "\xc5\x82\xc3\xb3"
      "d\xc5\xba\n\xe2\x82\xac\n");
  const QString path = dir + QStringLiteral("/w.dct");
  compiler.Write(path);
  EXPECT_EQ(compiler.Stats().linesRead, 12);
  // apple banana can't été 's (a word of its own in Dutch; lookup strips only a longer word's
  // "'s")
  EXPECT_EQ(compiler.Stats().wordsKept, 5);
  // Apple (the lower-case line counts), John's e-mail "ice cream" e.g. łódź €
  EXPECT_EQ(compiler.Stats().dropped, 7);
  EXPECT_EQ(compiler.Stats().notLowerCase, 2);  // Apple, John's

  TDCTFile file(path);
  for (const char *word : {"apple", "banana", "can't", "\x82t\x82"})
    EXPECT_TRUE(file.ContainsWord(word)) << word;
  for (const char *word : {"Apple", "john", "e", "mail", "ice", "app"})
    EXPECT_FALSE(file.ContainsWord(word)) << word;
  // Byte 0 and the signature are in place.
  EXPECT_EQ(file.Header().mid(1, 50), TDCTFile::Signature());
}

TEST_F(CompilerTest, ReadsLatin1ListsAndFlaggedLists) {
  TestEnvironment::WriteFile(dir + QStringLiteral("/latin1.txt"), "caf\xe9\nna\xefve\n");
  TestEnvironment::WriteFile(dir + QStringLiteral("/flags.dic"), "abate/L\nabbe/M\nplain\n");
  TDictionaryCompiler compiler;
  compiler.AddFile(dir + QStringLiteral("/latin1.txt"));
  compiler.AddFile(dir + QStringLiteral("/flags.dic"), true);
  EXPECT_THROW(compiler.AddFile(dir + QStringLiteral("/missing.txt")), Spell::EFOpenError);
  compiler.Write(dir + QStringLiteral("/x.dct"));
  TDCTFile file(dir + QStringLiteral("/x.dct"));
  for (const char *word : {"caf\x82", "na\x8bve", "abate", "abbe", "plain"})
    EXPECT_TRUE(file.ContainsWord(word)) << word;
}

// Words keep the case the list gives them; Lower leaves a list's names and abbreviations out.
// Single letters other than the language's own would make junk splits ("t eh" for "teh").
TEST_F(CompilerTest, ListEntriesCountByTheirLetterCaseAndOneLetterWordsByName) {
  const QByteArray list =
      "Apple\napple\nNASA\nRecife\nGmbH\nHaus\nStra\xc3\x9f"
      "e\n\xc3\x89t\xc3\xa9\nx\nI\n"
      "b\nteh\n";
  const auto compile = [&](const TListRules &rules, const char *name) {
    TDictionaryCompiler compiler;
    compiler.SetListRules(rules);
    compiler.AddText(list);
    compiler.Write(dir + QLatin1Char('/') + QLatin1String(name));
    return compiler.Stats();
  };
  const auto contains = [&](const char *name, const char *word) {
    return TDCTFile(dir + QLatin1Char('/') + QLatin1String(name)).ContainsWord(word);
  };

  // The default: lower-case entries only; the one-letter words named, whatever the list has.
  const auto lower = compile({TListRules::TCase::Lower, {"a", "i"}, {}}, "lower.dct");
  EXPECT_EQ(lower.wordsKept, 4);      // a apple i teh
  EXPECT_EQ(lower.notLowerCase, 7);   // Apple NASA Recife GmbH Haus Straße Été
  EXPECT_EQ(lower.singleLetters, 3);  // x I b
  for (const char *word : {"apple", "teh", "a", "i"}) EXPECT_TRUE(contains("lower.dct", word));
  for (const char *word : {"nasa", "recife", "haus", "x", "b"})
    EXPECT_FALSE(contains("lower.dct", word)) << word;

  // A language that capitalises its nouns keeps them, but not abbreviations in capitals.
  compile({TListRules::TCase::Capitalised, {}, {}}, "nouns.dct");
  for (const char *word : {"Haus", "Stra\341e", "Recife", "apple", "Apple"})
    EXPECT_TRUE(contains("nouns.dct", word)) << word;
  for (const char *word : {"haus", "NASA", "GmbH", "i", "x"})
    EXPECT_FALSE(contains("nouns.dct", word)) << word;

  // Every entry, whatever its case, and every single letter: the list as it stands.
  const auto any = compile({TListRules::TCase::Any, {"*"}, {}}, "any.dct");
  EXPECT_EQ(any.dropped, 0);
  for (const char *word : {"NASA", "GmbH", "\x90t\x82", "x", "I", "b"})
    EXPECT_TRUE(contains("any.dct", word)) << word;
  EXPECT_FALSE(contains("any.dct", "nasa"));
}

TEST_F(CompilerTest, TwoLetterEntriesOnlyWhereTheLanguageHasThem) {
  TDictionaryCompiler compiler;
  compiler.SetListRules({TListRules::TCase::Any, {"a"}, {"of", "on"}});
  compiler.AddText("of\ncf\nTV\ndz\non\nDr\nbook\n");
  const QString path = dir + QStringLiteral("/two.dct");
  compiler.Write(path);
  EXPECT_EQ(compiler.Stats().twoLetters, 2);  // cf dz: abbreviations in small letters
  TDCTFile file(path);
  for (const char *word : {"of", "on", "TV", "Dr", "book", "a"})
    EXPECT_TRUE(file.ContainsWord(word)) << word;
  for (const char *word : {"cf", "dz"}) EXPECT_FALSE(file.ContainsWord(word)) << word;
}

TEST_F(CompilerTest, SharesEqualListsInByteOrder) {
  // "bats", "cats", "rats" share one "ats" chain: 3 root nodes + a, t, s.
  const QString path = DctFiles::Compile(dir, QStringLiteral("s.dct"), {"rats", "cats", "bats"});
  TDCTFile file(path);
  EXPECT_EQ(file.NodeCount(), 6u);
  EXPECT_EQ(TDCTFile::Letter(file.NodeAt(1)), 'b');
  EXPECT_EQ(TDCTFile::Letter(file.NodeAt(2)), 'c');
  EXPECT_EQ(TDCTFile::Letter(file.NodeAt(3)), 'r');
  EXPECT_TRUE(TDCTFile::IsLast(file.NodeAt(3)));
  EXPECT_EQ(TDCTFile::Child(file.NodeAt(1)), TDCTFile::Child(file.NodeAt(3)));
  // An empty list compiles to a file without nodes.
  TDCTFile empty(DctFiles::Compile(dir, QStringLiteral("e.dct"), {}));
  EXPECT_EQ(empty.NodeCount(), 0u);
}

TEST_F(CompilerTest, RoundTripOfManyRandomWords) {
  QRandomGenerator random(7);
  QStringList words, absent;
  for (int i = 0; i < 3000; ++i) {
    QString word;
    const int length = 1 + int(random.bounded(12));
    for (int k = 0; k < length; ++k) word.append(QChar(u'a' + random.bounded(6)));
    (i % 3 ? words : absent).append(word);
  }
  TDCTFile file(DctFiles::Compile(dir, QStringLiteral("r.dct"), words));
  for (const QString &word : words)
    ASSERT_TRUE(file.ContainsWord(word.toLatin1())) << qPrintable(word);
  for (const QString &word : absent) {
    if (words.contains(word)) continue;
    ASSERT_FALSE(file.ContainsWord(word.toLatin1())) << qPrintable(word);
  }
}

TEST_F(CompilerTest, RefusesMoreNodesThanAllowed) {
  // "abc" and "abd" need 4 nodes (a, b, c, d).
  TDictionaryCompiler fits(4);
  fits.AddWord(QStringLiteral("abc"));
  fits.AddWord(QStringLiteral("abd"));
  EXPECT_EQ(TDCTFile::kHeaderSize + 4 * 4, fits.Compile().size());

  TDictionaryCompiler tooMany(3);
  tooMany.AddWord(QStringLiteral("abc"));
  tooMany.AddWord(QStringLiteral("abd"));
  try {
    tooMany.Compile();
    ADD_FAILURE();
  } catch (const TEDictionaryTooLarge &error) {
    EXPECT_EQ(
        error.Message(),
        QStringLiteral("The word list needs more than 3 nodes; a dictionary holds at most 3."));
  }
  // The format's own limit is the default, and it cannot be raised.
  TDictionaryCompiler big(0xFFFFFFFF);
  for (int i = 0; i < 3; ++i) big.AddWord(QString(1, QChar(u'a' + i)));
  EXPECT_NO_THROW(big.Compile());
  EXPECT_EQ(TDCTFile::kMaxNode, 4194303u);
}

}  // namespace
