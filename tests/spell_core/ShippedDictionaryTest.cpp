// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>

#include "platform/core/CodePage.h"
#include "platform/core/Folders.h"
#include "spell/core/Dictionary.h"

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

TEST_F(ShippedDictionaryTest, EnglishKeepsNamesAsWrittenAndItsOneLetterWords) {
  Open("English.dct");
  ExpectWords({"a", "i", "I", "receive", "the", "until", "which", "letter", "don't", "NASA", "June",
               "JUNE", "Monday", "English", "America", "users'", "Users'"},
              true);
  // Names and abbreviations written in small letters; letters that are no words.
  ExpectWords({"nasa", "usa", "recife", "june", "monday", "t", "x", "cf", "dz", "bd", "er"}, false);

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
  ExpectWords({"Haus", "HAUS", "Straße", "Fuß", "groß", "und", "Über", "über"}, true);
  // Abbreviations in small letters, letters that are no words. (The German forms also hold
  // the nouns in small letters, as the inner parts of compounds.)
  ExpectWords({"usa", "gmbh", "b"}, false);
}

// Words of real text each language's users write every day.
TEST_F(ShippedDictionaryTest, RealTextOfEachLanguage) {
  const struct {
    const char *dct;
    std::initializer_list<const char *> right, wrong;
  } languages[] = {
      {"Spanish.dct", {"todos", "está", "estaban", "queremos", "Mañana", "comíamos"}, {"estavan"}},
      {"French.dct",
       {"l'été", "d'une", "n'est", "l'option", "Être", "qu'importe", "jusqu'au", "L'après-midi"},
       {"l'optoin"}},
      {"Italian.dct",
       {"l'estate", "un'amica", "dell'arte", "all'aperto", "È", "dov'era"},
       {"dell'artte"}},
      {"German.dct", {"Handbuchseiten", "Küchentisch", "Waschmaschine", "Über"}, {"Handbuchseitn"}},
      {"Dutch.dct", {"Één", "één", "zandkastelen", "vakantiehuis"}, {"vakantiehuuis"}},
      {"British.dct", {"colour", "users'", "June"}, {"june"}},
  };
  for (const auto &language : languages) {
    dictionary.CloseAll();
    Open(language.dct);
    for (const char *word : language.right)
      for (const QString &part : QString::fromUtf8(word).split(u'-'))
        EXPECT_TRUE(dictionary.IsWord(CodePage::ToOem437(part))) << language.dct << " " << word;
    ExpectWords(language.wrong, false);
  }
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
