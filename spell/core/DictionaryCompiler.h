#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

// Builds a .dct file from word lists. Words are folded to lower case (ASCII letters),
// converted to code page 437 and kept only when every character is one the word scanner puts
// into a word; entries ending in "'s" are dropped because lookup strips that ending. The
// graph shares identical child lists (a minimal word graph), keeps sibling lists in byte
// order and lays the lists out depth first, so that a lookup stays within few blocks.
class TDictionaryCompiler {
 public:
  struct TStats {
    qsizetype linesRead = 0;
    qsizetype wordsKept = 0;  // distinct words in the graph
    qsizetype dropped = 0;    // lines that could not become a word
    uint32_t nodes = 0;
    qsizetype lists = 0;
  };

  // maxNodes is the most nodes a file may hold (the format's limit unless lowered).
  explicit TDictionaryCompiler(uint32_t maxNodes = 0x3FFFFF) : maxNodes_(maxNodes) {}

  // Reads a word list: UTF-8, or Latin-1 when the file is not valid UTF-8; one word per line.
  // With stripFlags, a '/' and what follows it on a line are ignored (lists that carry flags
  // after each word). Raises Spell::EFOpenError or Spell::EInOutError.
  void AddFile(const QString &path, bool stripFlags = false);
  void AddText(QByteArrayView bytes, bool stripFlags = false);
  // False when the word cannot be stored.
  bool AddWord(QStringView word);

  // The file's bytes. Raises TEDictionaryTooLarge when the graph would need more than
  // maxNodes nodes (4,194,303 by default) or more than 255 first letters.
  QByteArray Compile();
  // Compiles and replaces path in one step. Raises Spell::EFCreateError when it cannot write.
  void Write(const QString &path);

  const TStats &Stats() const { return stats_; }

 private:
  void CheckNodes(uint64_t nodes) const;

  uint32_t maxNodes_;
  std::vector<QByteArray> words_;
  TStats stats_;
};
