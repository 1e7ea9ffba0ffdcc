#include <gtest/gtest.h>

#include <QFile>

#include "CodePage.h"
#include "Dictionary.h"
#include "Folders.h"

namespace {

// The dictionaries the build makes from the distribution's word lists (the "dictionaries"
// target), read as the program reads them.
class ShippedDictionaryTest : public ::testing::Test {
 protected:
  void Open(const char *name) {
    const QString path = Folders::ProgramFolder() + QLatin1String(name);
    ASSERT_TRUE(dictionary.OpenMainDictionary(path))
        << qPrintable(path) << " is missing: build the dictionaries target";
  }
  void ExpectWords(std::initializer_list<const char *> words, bool known) {
    for (const char *word : words)
      EXPECT_EQ(dictionary.IsWord(CodePage::ToOem437(QString::fromUtf8(word))), known) << word;
  }

  TDictionary dictionary;
};

// The misspellings and their intended words kept for the spell benchmark.
QList<std::pair<QString, QString>> Misspellings() {
  QFile file(qEnvironmentVariable("VELLUMIX_SOURCE_DIR") +
             QStringLiteral("/bench/spell/misspellings.txt"));
  QList<std::pair<QString, QString>> pairs;
  if (!file.open(QIODevice::ReadOnly)) return pairs;
  for (const QByteArray &line : file.readAll().split('\n')) {
    const QList<QByteArray> parts = line.simplified().split(' ');
    if (parts.size() == 2 && !line.startsWith('#'))
      pairs.append({QString::fromUtf8(parts[0]), QString::fromUtf8(parts[1])});
  }
  return pairs;
}

TEST_F(ShippedDictionaryTest, EnglishHoldsOnlyLowerCaseWordsAndItsOneLetterWords) {
  Open("English.dct");
  ExpectWords({"a", "i", "I", "receive", "the", "until", "which", "letter", "don't"}, true);
  // Names and abbreviations the list has only capitalised or in capitals; other letters.
  ExpectWords({"nasa", "NASA", "usa", "recife", "ing", "er", "nt", "wi", "po", "t", "x"}, false);

  // No suggestion for the common misspellings splits off a letter that is no word, and the
  // splits that used to come first ("t eh", "un till", "begin ing", ...) are gone.
  const auto pairs = Misspellings();
  ASSERT_GE(pairs.size(), 100);
  int first = 0;
  for (const auto &[bad, good] : pairs) {
    const QStringList suggestions = dictionary.Suggest(bad, 10);
    for (const QString &entry : suggestions)
      for (const QString &part : entry.split(u' '))
        EXPECT_TRUE(part.size() > 1 || part == u"a" || part == u"i")
            << qPrintable(bad) << ": " << qPrintable(entry);
    first += !suggestions.isEmpty() && suggestions.first() == good;
  }
  EXPECT_FALSE(dictionary.Suggest(QStringLiteral("teh"), 10).contains(QStringLiteral("t eh")));
  EXPECT_EQ(dictionary.Suggest(QStringLiteral("untill"), 1), QStringList{"until"});
  EXPECT_EQ(dictionary.Suggest(QStringLiteral("wich"), 1), QStringList{"which"});
  EXPECT_EQ(dictionary.Suggest(QStringLiteral("begining"), 1), QStringList{"beginning"});
  EXPECT_EQ(dictionary.Suggest(QStringLiteral("leter"), 1), QStringList{"letter"});
  // Built from every entry, this list had its intended word first 115 times in 204.
  EXPECT_GT(first, 115);
}

TEST_F(ShippedDictionaryTest, GermanKeepsItsNounsAndTheSharpS) {
  Open("German.dct");
  ExpectWords({"Haus", "haus", "Straße", "straße", "Fuß", "groß", "und"}, true);
  ExpectWords({"usa", "gmbh", "a", "b"}, false);
}

TEST_F(ShippedDictionaryTest, OneLetterWordsOfEachLanguage) {
  Open("Spanish.dct");
  ExpectWords({"a", "e", "o", "u", "y"}, true);
  ExpectWords({"b", "x"}, false);
  dictionary.CloseAll();
  Open("French.dct");
  ExpectWords({"a", "y", "à"}, true);
  ExpectWords({"b", "e"}, false);
}

}  // namespace
