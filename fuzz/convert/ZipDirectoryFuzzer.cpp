// SPDX-License-Identifier: GPL-3.0-or-later
// The ZIP directory reader on any bytes, as the file's last bytes and as a directory: it stays
// within them and answers "not found" or a size, never more.
#include <cstdint>
#include <cstdlib>

#include "convert/core/ZipDirectory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  qint64 offset = 0, length = 0;
  if (ZipDirectory::Find(bytes, &offset, &length) && (offset < 0 || length < 0)) std::abort();
  if (ZipDirectory::EntrySize(bytes, "word/document.xml") < -1) std::abort();
  return 0;
}
