// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever a file holds, reading it as text and writing the unchanged text back gives the
// same bytes: no encoding guess, line end or stray byte may change a single one.
#include <cstdint>
#include <cstdlib>

#include "platform/core/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
  const TDecodedText decoded = TextFile::Decode(input, qsizetype(size) + 1);
  if (decoded.truncated) std::abort();
  bool lossless = false;
  if (TextFile::Encode(TextFile::JoinBreaks(decoded), decoded.format, &lossless) != input)
    std::abort();
  if (!lossless) std::abort();
  return 0;
}
