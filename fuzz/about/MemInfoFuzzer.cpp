// SPDX-License-Identifier: GPL-3.0-or-later
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "about/SysInfoComp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
  for (const char *name : {"MemTotal", "MemAvailable", "CommitLimit", "Committed_AS", "VmSize"})
    (void)TSysInfoComp::MemInfoValue(text, name);
  (void)TSysInfoComp::ArchitectureOf(text.left(64));
  (void)TSysInfoComp::ProcessorTypeOf(text.left(64));
  return 0;
}
