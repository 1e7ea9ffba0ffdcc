// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the auto-correct list reader: every pair it keeps must have two
// non-empty sides, the first without ASCII capitals (it is matched against lower-cased words).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "spell/core/AutoCorrect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > (1 << 20)) return 0;
  const TAutoCorrectPairs pairs =
      ParseAutoCorrectList(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
  if (pairs.from.size() != pairs.to.size()) std::abort();
  for (qsizetype i = 0; i < pairs.from.size(); ++i) {
    if (pairs.from[i].isEmpty() || pairs.to[i].isEmpty()) std::abort();
    for (const char ch : pairs.from[i])
      if (ch >= 'A' && ch <= 'Z') std::abort();
  }
  return 0;
}
