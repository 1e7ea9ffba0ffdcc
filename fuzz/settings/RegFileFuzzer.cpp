// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the settings file reader. Accepted text must survive a write and a
// second read unchanged (same tree, same bytes).
#include <cstdint>
#include <cstdlib>

#include "settings/core/RegFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  const std::unique_ptr<TRegKey> root = RegFile::Parse(bytes);
  if (!root) return 0;
  const QByteArray written = RegFile::Serialize(*root);
  if (written.size() > RegFile::MaxFileSize) return 0;  // the store refuses to write such a tree
  const std::unique_ptr<TRegKey> again = RegFile::Parse(written);
  if (!again || !again->SameContent(*root) || RegFile::Serialize(*again) != written) std::abort();
  return 0;
}
