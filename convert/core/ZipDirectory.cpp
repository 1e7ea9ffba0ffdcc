// SPDX-License-Identifier: GPL-3.0-or-later
#include "convert/core/ZipDirectory.h"

#include <QFile>

namespace {

quint32 le16(QByteArrayView b, qsizetype at) {
  return quint32(uchar(b[at])) | quint32(uchar(b[at + 1])) << 8;
}
quint32 le32(QByteArrayView b, qsizetype at) { return le16(b, at) | le16(b, at + 2) << 16; }

constexpr qsizetype kEndRecord = 22;             // end-of-directory record without its comment
constexpr qsizetype kEntryHeader = 46;           // directory entry without its name and fields
constexpr qint64 kMaxDirectory = 16 << 20;       // a directory larger than this is not read
constexpr qsizetype kTail = kEndRecord + 65535;  // the record and the longest comment

}  // namespace

namespace ZipDirectory {

bool Find(QByteArrayView tail, qint64 *offset, qint64 *size) {
  for (qsizetype at = tail.size() - kEndRecord; at >= 0; --at) {
    if (le32(tail, at) != 0x06054b50u) continue;
    *size = le32(tail, at + 12);
    *offset = le32(tail, at + 16);
    return true;
  }
  return false;
}

qint64 EntrySize(QByteArrayView directory, QByteArrayView name) {
  qsizetype at = 0;
  while (directory.size() - at >= kEntryHeader && le32(directory, at) == 0x02014b50u) {
    const qsizetype nameLength = le16(directory, at + 28);
    const qsizetype next =
        at + kEntryHeader + nameLength + le16(directory, at + 30) + le16(directory, at + 32);
    if (next > directory.size()) return -1;
    if (directory.sliced(at + kEntryHeader, nameLength) == name) return le32(directory, at + 24);
    at = next;
  }
  return -1;
}

qint64 EntrySizeInFile(const QString &file, QByteArrayView name) {
  QFile zip(file);
  if (!zip.open(QIODevice::ReadOnly)) return -1;
  const qint64 tailStart = qMax<qint64>(0, zip.size() - kTail);
  if (!zip.seek(tailStart)) return -1;
  qint64 offset = 0, size = 0;
  if (!Find(zip.read(kTail), &offset, &size) || size > kMaxDirectory || offset + size > zip.size())
    return -1;
  if (!zip.seek(offset)) return -1;
  return EntrySize(zip.read(size), name);
}

}  // namespace ZipDirectory
