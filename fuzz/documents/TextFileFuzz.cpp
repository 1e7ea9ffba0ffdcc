// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever a file holds, reading it as text and writing the unchanged text back gives the
// same bytes: no encoding guess, line end or stray byte may change a single one. Read in small
// chunks (their size taken from the first byte), the text is the same as read whole.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "platform/core/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
  const TDecodedText decoded = TextFile::Decode(input, qsizetype(size) + 1);
  if (decoded.truncated) std::abort();
  bool lossless = false;
  if (TextFile::Encode(TextFile::JoinBreaks(decoded), decoded.format, &lossless) != input)
    std::abort();
  if (!lossless) std::abort();

  const qsizetype chunkChars = size > 0 ? 1 + data[0] % 16 : 1;
  TDecodedChunks chunks = TextFile::DecodeChunks(input, qsizetype(size) + 1, {}, chunkChars);
  for (size_t i = 0; i < chunks.chunks.size(); ++i) {
    const QString &chunk = chunks.chunks[i];
    if (chunk.isEmpty() || chunk.size() > 2 * std::max<qsizetype>(chunkChars, 1)) std::abort();
    // A pair is never split; a high surrogate of none may end a chunk.
    if (i + 1 < chunks.chunks.size() && chunk.back().isHighSurrogate() &&
        chunks.chunks[i + 1].front().isLowSurrogate())
      std::abort();
  }
  const TDecodedText joined = TextFile::JoinChunks(std::move(chunks));
  if (joined.text != decoded.text || joined.breaks != decoded.breaks ||
      !(joined.format == decoded.format) || joined.binary != decoded.binary ||
      joined.unreadableBytes != decoded.unreadableBytes || joined.truncated)
    std::abort();
  return 0;
}
