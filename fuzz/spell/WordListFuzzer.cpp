// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the dictionary compiler as a word list, under the list rules the
// first byte picks: the graph must compile within the format's bounds, hold exactly the words
// it counted, and no entry the rules refuse (a one-letter entry that is no named word) may
// become a word.
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "spell/core/DCTFile.h"
#include "spell/core/DictionaryCompiler.h"
#include "spell/core/SpellErrors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1 || size > (1 << 16)) return 0;
  TListRules rules;
  rules.letterCase = TListRules::TCase(data[0] % 3);
  if (data[0] & 4) rules.oneLetterWords = {QStringLiteral("a"), QStringLiteral("i")};
  const QByteArrayView list(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

  TDictionaryCompiler compiler;
  compiler.SetListRules(rules);
  compiler.AddText(list, data[0] & 8);
  QByteArray bytes;
  try {
    bytes = compiler.Compile();
  } catch (const TEDictionaryTooLarge &) {
    return 0;  // more than 255 first letters: refused with its message
  }
  if (bytes.size() != TDCTFile::kHeaderSize + qsizetype(compiler.Stats().nodes) * 4) std::abort();

  static QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("fuzz.dct"));
  compiler.Write(path);
  TDCTFile file(path);
  for (const char letter : {'b', 'x', 'Z'})  // never named: no one-letter entry counts
    if (file.ContainsWord(QByteArray(1, letter).toLower())) std::abort();
  return 0;
}
