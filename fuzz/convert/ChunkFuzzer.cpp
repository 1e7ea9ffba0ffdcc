// SPDX-License-Identifier: GPL-3.0-or-later
// A converter's output stream, cut at a point the input chooses: whatever the bytes, the
// reader ends in one state, keeps within its bound, and reads the same however it is cut.
#include <cstdint>
#include <cstdlib>

#include "convert/core/ConverterProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) return 0;
  const QByteArrayView bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
  const qsizetype cut = bytes.isEmpty() ? 0 : data[0] % bytes.size();
  TChunkReader whole(8192), split(8192);
  QByteArray a, b;
  const TChunkReader::TState one = whole.Feed(bytes, a);
  split.Feed(bytes.first(cut), b);
  const TChunkReader::TState two = split.State() == TChunkReader::TState::Failed
                                       ? split.State()
                                       : split.Feed(bytes.sliced(cut), b);
  if (a.size() > 8192 || whole.Total() > 8192) std::abort();
  if (one != two || (one != TChunkReader::TState::Failed && a != b)) std::abort();
  return 0;
}
