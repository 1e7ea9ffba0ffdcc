// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <vector>

// Which entries of a word list become words. Words keep their letter case, and lookup
// accepts a stored capital only where the text has one, so Any keeps names as names; Lower
// keeps a list's names and abbreviations out altogether. Single letters would feed junk into
// split suggestions ("t eh"), so only the language's own one-letter words count.
struct TListRules {
  enum class TCase {
    Lower,        // only entries in lower case
    Capitalised,  // also entries with a capital first letter (languages that capitalise nouns)
    Any,          // every entry, whatever its case (lists that do not mark it)
  };
  TCase letterCase = TCase::Lower;
  // The one-letter words of the language: always words, while a list's other one-letter
  // entries are dropped. Any one-letter entry counts when this holds "*".
  QStringList oneLetterWords;
  // When not empty, the only two-letter entries in small letters that count: the lists also
  // hold abbreviations and symbols ("cf", "dz", "kg") that would pass typos. Entries with a
  // capital ("TV", "Dr") count as written.
  QStringList twoLetterWords;
};

// Builds a .dct file from word lists. Words keep their letter case, are
// converted to code page 437 and kept only when every character is one the word scanner puts
// into a word; entries ending in "'s" are dropped because lookup strips that ending. The
// graph shares identical child lists (a minimal word graph), keeps sibling lists in byte
// order and lays the lists out depth first, so that a lookup stays within few blocks.
class TDictionaryCompiler {
 public:
  struct TStats {
    qsizetype linesRead = 0;
    qsizetype wordsKept = 0;      // distinct words in the graph
    qsizetype dropped = 0;        // lines that did not become a word, the two below included
    qsizetype notLowerCase = 0;   // entries dropped for their letter case
    qsizetype singleLetters = 0;  // one-letter entries dropped
    qsizetype twoLetters = 0;     // two-letter entries dropped
    uint32_t nodes = 0;
    qsizetype lists = 0;
  };

  // maxNodes is the most nodes a file may hold (the format's limit unless lowered).
  explicit TDictionaryCompiler(uint32_t maxNodes = 0x3FFFFF) : maxNodes_(maxNodes) {}

  // The rules for the entries of the lists added after this; the one-letter words are added.
  void SetListRules(const TListRules &rules);

  // Reads a word list: UTF-8, or Latin-1 when the file is not valid UTF-8; one word per line.
  // With stripFlags, a '/' or a blank and what follows on a line are ignored (lists that
  // carry flags or other fields after each word). Entries count as the list rules say. Raises
  // Spell::EFOpenError or Spell::EInOutError.
  void AddFile(const QString &path, bool stripFlags = false);
  void AddText(QByteArrayView bytes, bool stripFlags = false);
  // Adds one word whatever its case and length; false when it cannot be stored.
  bool AddWord(QStringView word);

  // The file's bytes. Raises TEDictionaryTooLarge when the graph would need more than
  // maxNodes nodes (4,194,303 by default) or more than 255 first letters.
  QByteArray Compile();
  // Compiles and replaces path in one step. Raises Spell::EFCreateError when it cannot write.
  void Write(const QString &path);

  const TStats &Stats() const { return stats_; }

 private:
  void CheckNodes(uint64_t nodes) const;
  // Whether the list rules let a list's entry count (the statistics note why not).
  bool Admits(QStringView entry);

  uint32_t maxNodes_;
  TListRules rules_;
  std::vector<QByteArray> words_;
  TStats stats_;
};
