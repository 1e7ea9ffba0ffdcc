// SPDX-License-Identifier: GPL-3.0-or-later
// In-process measures of the spell engine on a real dictionary: lookups per second with the
// file memory-mapped and read block by block, blocks read per lookup (how well the layout
// keeps a lookup together), and ranked suggestions per second.
//   spell_engine_bench DICT.dct WORDLIST
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <cstdio>

#include "spell/core/DCTFile.h"
#include "spell/core/Dictionary.h"
#include "spell/core/WordText.h"

namespace {

QList<QByteArray> LoadWords(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QList<QByteArray> words;
  for (const QByteArray &line : file.readAll().split('\n'))
    if (line.size() > 1 && !line.contains('\'')) words.append(WordText::Fold(line));
  return words;
}

void Lookups(const QString &dct, const QList<QByteArray> &words, TDCTFile::TReadMode mode,
             const char *name) {
  TDCTFile file(dct, mode);
  QElapsedTimer timer;
  timer.start();
  int found = 0;
  const int rounds = 5;
  for (int r = 0; r < rounds; ++r)
    for (const QByteArray &word : words) found += file.ContainsWord(word);
  const double seconds = timer.nsecsElapsed() / 1e9;
  const double lookups = double(words.size()) * rounds;
  std::printf("lookups (%s): %.0f per second, %.2f blocks read per lookup, %d found\n", name,
              lookups / seconds, double(file.BlockLoads()) / lookups, found / rounds);
}

}  // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: spell_engine_bench DICT.dct WORDLIST\n");
    return 2;
  }
  const QString dct = QString::fromLocal8Bit(argv[1]);
  QList<QByteArray> words = LoadWords(QString::fromLocal8Bit(argv[2]));
  if (words.isEmpty()) {
    std::fprintf(stderr, "no words in %s\n", argv[2]);
    return 1;
  }
  // Lookups in random order, so that consecutive words do not share blocks by accident.
  QRandomGenerator random(5);
  for (qsizetype i = words.size() - 1; i > 0; --i) words.swapItemsAt(i, random.bounded(i + 1));
  Lookups(dct, words, TDCTFile::TReadMode::Mapped, "memory-mapped");
  Lookups(dct, words, TDCTFile::TReadMode::Blocks, "block reads");

  TDictionary dictionary;
  if (!dictionary.OpenMainDictionary(dct)) return 1;
  QElapsedTimer timer;
  timer.start();
  const int count = 2000;
  for (int i = 0; i < count; ++i) {
    QByteArray word = words[i];
    word[random.bounded(int(word.size()))] = char('a' + random.bounded(26));
    dictionary.Suggest(QString::fromLatin1(word), 10);
  }
  std::printf("suggest: %.3f ms per word\n", timer.nsecsElapsed() / 1e6 / count);
  return 0;
}
