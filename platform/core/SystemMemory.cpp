// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/core/SystemMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <QFile>
#include <algorithm>
#include <climits>

namespace SystemMemory {

QByteArray ProcField(const QByteArray &text, const QByteArray &name) {
  for (const QByteArray &line : text.split('\n')) {
    const qsizetype colon = line.indexOf(':');
    if (colon > 0 && line.left(colon).trimmed() == name) return line.mid(colon + 1).trimmed();
  }
  return {};
}

quint64 MemInfoValue(const QByteArray &memInfo, const QByteArray &name) {
  const QByteArray field = ProcField(memInfo, name);
  bool ok = false;
  const quint64 value = field.split(' ').value(0).toULongLong(&ok);
  if (!ok) return 0;
  const bool kiloBytes = field.endsWith("kB");
  return kiloBytes ? (value > UINT64_MAX / 1024 ? UINT64_MAX : value * 1024) : value;
}

qint64 AvailableBytes() {
  QFile file(QStringLiteral("/proc/meminfo"));
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QByteArray text =
      file.read(qint64{64} * 1024);  // a small system file; bounded all the same
  if (ProcField(text, "MemAvailable").isEmpty()) return -1;
  return qint64(std::min<quint64>(MemInfoValue(text, "MemAvailable"), quint64(LLONG_MAX)));
}

void GiveBackFreed() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace SystemMemory
