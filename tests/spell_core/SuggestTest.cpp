// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "DctFiles.h"
#include "TestEnvironment.h"
#include "spell/core/DCTFile.h"
#include "spell/core/Dictionary.h"
#include "spell/core/PhoneticCode.h"
#include "spell/core/Similarity.h"
#include "spell/core/SuggestList.h"
#include "spell/core/UpperMap.h"

namespace {

TEST(PhoneticCodeTest, CodesOfTheTable) {
  struct Case {
    const char *text, *padded, *plain;
  } cases[] = {
      {"hello", "H400", "H4"},     {"speling", "S145", "S145"}, {"spelling", "S145", "S145"},
      {"teh", "T200", "T2"},       {"the", "T200", "T2"},       {"ahead", "A230", "A23"},
      {"pfister", "P123", "P123"}, {"tymczak", "T520", "T52"},  {"robert", "R163", "R163"},
      {"rupert", "R163", "R163"},  {"HeLLo", "H400", "H4"}};
  for (const Case &c : cases) {
    EXPECT_EQ(PhoneticCode(c.text, true), QByteArray(c.padded)) << c.text;
    EXPECT_EQ(PhoneticCode(c.text, false), QByteArray(c.plain)) << c.text;
  }
  // Non-letters give the character of value 0, which is kept and collapses like a digit.
  EXPECT_EQ(PhoneticCode("don't", false), QByteArray("D5\0"
                                                     "3",
                                                     4));
  EXPECT_EQ(PhoneticCode("a12", false), QByteArray("A\0", 2));
  // The first character stays as it is; an accented one is no ASCII letter.
  EXPECT_EQ(PhoneticCode("\x82tat", true), QByteArray("\x82"
                                                      "300"));
  EXPECT_EQ(PhoneticCode("", true), QByteArray("0000"));
  EXPECT_EQ(PhoneticCode("", false), QByteArray());
}

TEST(SimilarityTest, ScoresOfTheTable) {
  struct Case {
    const char *word, *candidate;
    int score;
  } cases[] = {{"hello", "hello", 100}, {"helo", "hello", 66},      {"teh", "the", 66},
               {"cat", "bat", 66},      {"recieve", "receive", 71}, {"speling", "spelling", 93},
               {"wrod", "word", 50},    {"hello", "hep", 50},       {"hello", "ho", 28}};
  for (const Case &c : cases)
    EXPECT_EQ(Similarity(c.word, c.candidate), c.score) << c.word << " " << c.candidate;
  EXPECT_EQ(Similarity("Hello", "hello"), 80);  // letter case counts
  EXPECT_EQ(Similarity("", ""), 0);
  EXPECT_EQ(Similarity("abc", ""), 0);
}

TEST(UpperMapTest, AccentedLettersAndEverythingElse) {
  EXPECT_EQ(UpperMap('a'), 'A');
  EXPECT_EQ(UpperMap('Z'), 'Z');
  EXPECT_EQ(UpperMap('7'), '7');
  EXPECT_EQ(UpperMap('\''), '\'');
  EXPECT_EQ(UpperMap(0x81), 0x9A);  // ü -> Ü
  EXPECT_EQ(UpperMap(0x82), 0x90);  // é -> É
  EXPECT_EQ(UpperMap(0x83), 'A');   // â -> A
  EXPECT_EQ(UpperMap(0xA4), 0xA5);  // ñ -> Ñ
  EXPECT_EQ(UpperMap(0x98), 'Y');   // ÿ -> Y
  EXPECT_EQ(UpperMap(0x97), 0x97);  // ù is not in the map
  EXPECT_EQ(UpperMap(0x90), 0x90);
}

TEST(SuggestListTest, RanksWithinTheCapacity) {
  TSuggestList list;
  list.SetCapacity(3);
  list.AddCandidate("hello", "help");   // 66
  list.AddCandidate("hello", "hep");    // 50
  list.AddCandidate("hello", "held");   // 66
  list.AddCandidate("hello", "jello");  // 80
  EXPECT_EQ(list.Words(), (QList<QByteArray>{"jello", "help", "held"}));
  list.AddCandidate("hello", "xyz");   // below all: discarded
  list.AddCandidate("hello", "halo");  // equal to the last: later ones stay behind
  list.AddCandidate("hello", "help");  // already listed
  EXPECT_EQ(list.Words(), (QList<QByteArray>{"jello", "help", "held"}));
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(static_cast<TSuggestion *>(list.Head())->Score(), 80);
}

TEST(SuggestListTest, CodeMatchesAgainstAPaddedTarget) {
  TSuggestList list;
  list.SetTarget("teh");
  EXPECT_EQ(list.TargetCode(), QByteArray("T200"));
  EXPECT_TRUE(list.CodeMatches("t"));
  EXPECT_TRUE(list.CodeMatches("the"));
  EXPECT_TRUE(list.CodeMatches("tea"));
  EXPECT_FALSE(list.CodeMatches("then"));
  EXPECT_FALSE(list.CodeMatches("bath"));
}

class SuggestTest : public ::testing::Test {
 protected:
  void Open(const QStringList &words) {
    ASSERT_TRUE(
        dictionary.OpenMainDictionary(DctFiles::Compile(dir, QStringLiteral("s.dct"), words)));
  }
  QString dir = TestEnvironment::FreshDir(QStringLiteral("suggest"));
  TDictionary dictionary;
};

TEST_F(SuggestTest, RankedSuggestionsFollowTheSoundCode) {
  Open({"the", "then", "tea", "ten", "toe", "apple"});
  const QStringList teh = dictionary.Suggest(QStringLiteral("teh"), 10);
  EXPECT_TRUE(teh.contains(QStringLiteral("the")));
  EXPECT_FALSE(teh.contains(QStringLiteral("then")));
  EXPECT_FALSE(teh.contains(QStringLiteral("ten")));
  EXPECT_EQ(dictionary.Suggest(QStringLiteral("Teh"), 10).first(), QStringLiteral("Tea"));
  EXPECT_TRUE(dictionary.Suggest(QStringLiteral("TEH"), 10).contains(QStringLiteral("THE")));
  // No node for the first letter: no ranked suggestions.
  EXPECT_TRUE(dictionary.Suggest(QStringLiteral("xeh"), 10).isEmpty());
  EXPECT_TRUE(dictionary.Suggest(QString(), 10).isEmpty());
}

TEST_F(SuggestTest, SplitsComeAfterCloseRankedSuggestions) {
  Open({"a", "lot", "allot", "alit", "light"});
  // "allot" scores 88 against "alot", as "a lot" does before its penalty: it comes first.
  const QStringList all = dictionary.Suggest(QStringLiteral("alot"), 10);
  ASSERT_GE(all.size(), 3);
  EXPECT_EQ(all.first(), QStringLiteral("allot"));
  EXPECT_TRUE(all.contains(QStringLiteral("a lot")));
  EXPECT_EQ(dictionary.Suggest(QStringLiteral("alot"), 1), QStringList{QStringLiteral("allot")});
  EXPECT_TRUE(dictionary.SuggestSplits("a", 10).isEmpty());
  // Without a close ranked suggestion the split is first, in the case typed.
  dictionary.CloseAll();
  Open({"a", "lot"});
  EXPECT_EQ(dictionary.Suggest(QStringLiteral("alot"), 10).first(), QStringLiteral("a lot"));
  EXPECT_EQ(dictionary.Suggest(QStringLiteral("Alot"), 1), QStringList{QStringLiteral("A lot")});
}

TEST_F(SuggestTest, SplitsOnlyIntoWordsAReaderTakes) {
  Open({"occur", "occurred", "ed", "diction", "dictionary", "ay", "re", "pacing", "replacing",
        "has", "hi", "hash", "a", "lot", "in", "deed", "indeed"});
  const QStringList occured = dictionary.Suggest(QStringLiteral("occured"), 10);
  ASSERT_FALSE(occured.isEmpty());
  EXPECT_EQ(occured.first(), QStringLiteral("occurred"));
  EXPECT_FALSE(occured.contains(QStringLiteral("occur ed")));
  EXPECT_FALSE(
      dictionary.Suggest(QStringLiteral("dictionay"), 10).contains(QStringLiteral("diction ay")));
  EXPECT_FALSE(
      dictionary.Suggest(QStringLiteral("repacing"), 10).contains(QStringLiteral("re pacing")));
  EXPECT_FALSE(dictionary.Suggest(QStringLiteral("hashi"), 10).contains(QStringLiteral("has hi")));
  // A split of real words stays.
  EXPECT_TRUE(dictionary.Suggest(QStringLiteral("indeed"), 10).contains(QStringLiteral("in deed")));
  EXPECT_TRUE(dictionary.Suggest(QStringLiteral("alot"), 10).contains(QStringLiteral("a lot")));
}

TEST_F(SuggestTest, UserWordsJoinTheRanking) {
  Open({"tea", "toe"});
  dictionary.AddWord("the");
  dictionary.AddWord("xylophone");
  const QStringList list = dictionary.Suggest(QStringLiteral("teh"), 10);
  // Equal scores keep the order found: the dictionary's walk first, then the user words.
  EXPECT_EQ(list,
            (QStringList{QStringLiteral("tea"), QStringLiteral("toe"), QStringLiteral("the")}));
  // The same word in two main files is offered once.
  ASSERT_TRUE(
      dictionary.OpenMainDictionary(DctFiles::Compile(dir, QStringLiteral("t.dct"), {"tea"})));
  EXPECT_EQ(dictionary.Suggest(QStringLiteral("teh"), 10).count(QStringLiteral("tea")), 1);
}

TEST_F(SuggestTest, CompletionsInFileOrderAndTypedCase) {
  Open({"car", "card", "cards", "care", "cat", "dog"});
  const QStringList expected{QStringLiteral("card"), QStringLiteral("cards"),
                             QStringLiteral("care")};
  EXPECT_EQ(dictionary.SuggestCompletions(QStringLiteral("car"), 10), expected);
  EXPECT_EQ(dictionary.SuggestCompletions(QStringLiteral("car"), 2), expected.mid(0, 2));
  EXPECT_EQ(dictionary.SuggestCompletions(QStringLiteral("CAR"), 1),
            QStringList{QStringLiteral("CARD")});
  EXPECT_EQ(dictionary.SuggestCompletions(QStringLiteral("Car"), 1),
            QStringList{QStringLiteral("Card")});
  EXPECT_EQ(dictionary.SuggestCompletions(QStringLiteral("ca"), 10).first(), QStringLiteral("car"));
  EXPECT_TRUE(dictionary.SuggestCompletions(QStringLiteral("cards"), 10).isEmpty());
  EXPECT_TRUE(dictionary.SuggestCompletions(QStringLiteral("cx"), 10).isEmpty());
  EXPECT_TRUE(dictionary.SuggestCompletions(QString(), 10).isEmpty());
}

TEST(RestoreCaseTest, FollowsTheTypedWord) {
  const QList<QByteArray> the{"the"};
  EXPECT_EQ(TDictionary::RestoreCase(the, "Teh"), QStringList{QStringLiteral("The")});
  EXPECT_EQ(TDictionary::RestoreCase(the, "TEH"), QStringList{QStringLiteral("THE")});
  EXPECT_EQ(TDictionary::RestoreCase(the, "tEh"), QStringList{QStringLiteral("THE")});
  EXPECT_EQ(TDictionary::RestoreCase(the, "teh"), QStringList{QStringLiteral("the")});
  EXPECT_EQ(TDictionary::RestoreCase(the, "T"), QStringList{QStringLiteral("THE")});
  EXPECT_EQ(TDictionary::RestoreCase(the, ""), QStringList{QStringLiteral("the")});
  // Accented letters map through the upper-case map, and come back as Unicode.
  EXPECT_EQ(TDictionary::RestoreCase({"\x82t\x82"}, "\x90T"), QStringList{QStringLiteral("ÉTÉ")});
  EXPECT_EQ(TDictionary::RestoreCase({"\x82t\x82"}, "\x90t"), QStringList{QStringLiteral("Été")});
  // A second character that maps to itself (a digit, ù) counts as upper case.
  EXPECT_EQ(TDictionary::RestoreCase(the, "t1"), QStringList{QStringLiteral("THE")});
}

TEST_F(SuggestTest, MalformedGraphsCannotKeepTheWalksRunning) {
  // 200 'a' nodes in one list, each with the whole list as its children, none ending a word
  // except the last: the number of paths explodes, the walks still end.
  using DctFiles::Node;
  QList<uint32_t> nodes;
  for (int i = 1; i <= 200; ++i) nodes.append(Node('a', i == 200, i == 200, 1));
  const QString path = DctFiles::Write(dir, QStringLiteral("loop.dct"), DctFiles::Bytes(nodes));
  TDCTFile file(path);
  TSuggestList list;
  list.Collect(file, 10, "aaaa");
  EXPECT_LE(list.Visits(), TSuggestList::kMaxVisits + 1);
  for (const QByteArray &word : list.Words()) EXPECT_EQ(word, QByteArray(word.size(), 'a'));
  ASSERT_TRUE(dictionary.OpenMainDictionary(path));
  const QStringList completions = dictionary.SuggestCompletions(QStringLiteral("a"), 3);
  EXPECT_LE(completions.size(), 3);
  for (const QString &word : completions) {
    EXPECT_LE(word.size(), 50);
    EXPECT_EQ(word, QString(word.size(), QLatin1Char('a')));
  }
  EXPECT_TRUE(dictionary.SuggestCompletions(QStringLiteral("b"), 3).isEmpty());
}

}  // namespace
