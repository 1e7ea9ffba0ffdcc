// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary .dct bytes to lookup, ranked suggestions and completions. When the first
// input byte is odd, a valid header is put before the rest, so that the fuzzer spends its
// time on the node graph rather than on the signature.
#include <cstddef>
#include <cstdint>

#include "FuzzFile.h"
#include "spell/core/DCTFile.h"
#include "spell/core/Dictionary.h"
#include "spell/core/SpellErrors.h"
#include "spell/core/SuggestList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0 || size > (1 << 20)) return 0;
  QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
  if (data[0] & 1) {
    QByteArray header(1, '\0');
    header += TDCTFile::Signature();
    header += QByteArray(TDCTFile::kHeaderSize - header.size(), '\0');
    bytes.prepend(header);
  }
  const QString path = WriteFuzzFile("dct", bytes);
  static const char *const kWords[] = {"a",     "the",      "teh",       "card",
                                       "aaaa",  "zzzzzzzz", "\x82t\x82", "EEEEEEEEEEEEEEEE",
                                       "L'Ete", "users'"};
  const auto mode = (data[0] & 2) ? TDCTFile::TReadMode::Blocks : TDCTFile::TReadMode::Mapped;
  try {
    TDCTFile file(path, mode);
    for (const char *word : kWords) {
      file.ContainsWord(word);
      file.ContainsAnyCase(word);
      TSuggestList list;
      list.Collect(file, 10, word);
    }
    TDictionary dictionary;
    dictionary.OpenMainDictionary(path);
    for (const char *word : kWords) {
      dictionary.IsWord(word);
      dictionary.Suggest(QString::fromLatin1(word), 10);
      dictionary.SuggestCompletions(QString::fromLatin1(word).left(2), 20);
    }
  } catch (const TSpellError &) {
    // Refused files are fine; crashes, hangs and leaks are not.
  }
  return 0;
}
