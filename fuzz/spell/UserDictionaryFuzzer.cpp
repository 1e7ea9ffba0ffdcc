// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the readers of the plain-text word files: the user dictionary
// (load, look up, add, merge on save) and the exclusion list.
#include <cstddef>
#include <cstdint>

#include "FuzzFile.h"
#include "spell/core/Dictionary.h"
#include "spell/core/SpellErrors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > (1 << 20)) return 0;
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  const QString user = WriteFuzzFile("user", bytes);
  const QString exclusions = WriteFuzzFile("exclusions", bytes);
  try {
    TDictionary dictionary;
    dictionary.OpenUserDictionary(user);
    dictionary.OpenExclusionList(exclusions);
    for (const QByteArray &word : bytes.split('\n')) {
      dictionary.IsWord(word);
      dictionary.AddWord(QByteArray(word.left(8) + "q"));
    }
    dictionary.Suggest(QString::fromLatin1(bytes.left(12)), 5);
    // Another writer grows the file before the save, which then merges.
    WriteFuzzFile("user", QByteArray(bytes + "\r\nextra\r\n"));
    dictionary.SaveUserDictionary();
  } catch (const TSpellError &) {
  }
  return 0;
}
