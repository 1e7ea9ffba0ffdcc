// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/properties/FileFacts.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QFileInfo>
#include <QLocale>
#include <QMimeDatabase>

namespace FileFacts {

namespace {

// The birth time, where the file system records one.
QDateTime BirthTime(const QString &path) {
  struct statx info {};
  const QByteArray native = QFile::encodeName(path);
  if (statx(AT_FDCWD, native.constData(), 0, STATX_BTIME, &info) != 0) return {};
  if (!(info.stx_mask & STATX_BTIME)) return {};
  return QDateTime::fromSecsSinceEpoch(info.stx_btime.tv_sec);
}

}  // namespace

QDateTime TwoSecondResolution(const QDateTime &time) {
  if (!time.isValid()) return time;
  QDateTime local = time.toLocalTime();
  const QTime clock = local.time();
  local.setTime(QTime(clock.hour(), clock.minute(), clock.second() & ~1));
  return local;
}

TFileFacts Read(const QString &path) {
  TFileFacts facts;
  const QFileInfo info(path);
  if (path.isEmpty() || !info.exists() || info.isDir()) return facts;
  facts.exists = true;
  facts.created = TwoSecondResolution(BirthTime(path));
  facts.modified = TwoSecondResolution(info.lastModified());
  // Not writable by this user; for a user who may write anything, no write permission at all.
  constexpr QFile::Permissions anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
  facts.readOnly = !info.isWritable() || !(info.permissions() & anyWrite);
  facts.hidden = info.fileName().startsWith(u'.');
  return facts;
}

QString DateText(const QDateTime &time) {
  if (!time.isValid()) return {};
  const QLocale locale;
  return locale.toString(time.date(), QLocale::ShortFormat) + u' ' +
         locale.toString(time.time(), QLocale::LongFormat);
}

QString TypeName(const QString &path) {
  const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
  const QString comment = type.isValid() && !type.isDefault() ? type.comment() : QString();
  return comment.isEmpty() ? QStringLiteral("Text Document") : comment;
}

}  // namespace FileFacts
