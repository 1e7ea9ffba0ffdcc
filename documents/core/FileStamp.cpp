// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/FileStamp.h"

#include <sys/stat.h>

#include <QFile>
#include <QHash>

namespace {
bool Stat(const QString &fileName, struct stat &st) {
  return ::stat(QFile::encodeName(fileName).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

TFileStamp FromStat(const struct stat &st) {
  TFileStamp stamp;
  stamp.exists = true;
  stamp.size = st.st_size;
  stamp.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return stamp;
}
}  // namespace

// Two 64-bit hashes with different seeds: enough to tell whether another program changed a
// file (no adversary is involved), and many times faster than a cryptographic hash.
QByteArray TFileStamp::Hash(const QByteArray &bytes) {
  const size_t first = qHash(QByteArrayView(bytes), size_t(0));
  const size_t second = qHash(QByteArrayView(bytes), size_t(0x9e3779b97f4a7c15ULL));
  QByteArray result;
  result.append(reinterpret_cast<const char *>(&first), sizeof first);
  result.append(reinterpret_cast<const char *>(&second), sizeof second);
  return result;
}

TFileStamp TFileStamp::Of(const QString &fileName) {
  struct stat st;
  if (!Stat(fileName, st)) return TFileStamp();
  TFileStamp stamp = FromStat(st);
  QFile file(fileName);
  if (file.open(QIODevice::ReadOnly)) stamp.hash = Hash(file.readAll());
  return stamp;
}

TFileStamp TFileStamp::OfContent(const QString &fileName, const QByteArray &bytes) {
  struct stat st;
  if (!Stat(fileName, st)) return TFileStamp();
  TFileStamp stamp = FromStat(st);
  stamp.hash = Hash(bytes);
  return stamp;
}

bool TFileStamp::ChangedOnDisk(const QString &fileName) const {
  struct stat st;
  if (!Stat(fileName, st)) return false;
  if (!exists) return true;
  const TFileStamp now = FromStat(st);
  if (now.size != size) return true;
  if (now.modifiedNs == modifiedNs) return false;
  return Of(fileName).hash != hash;
}
