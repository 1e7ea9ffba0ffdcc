// SPDX-License-Identifier: GPL-3.0-or-later
#include "integration/KeyFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QByteArray trimmed(const QByteArray &line) { return line.trimmed(); }

bool isGroupLine(const QByteArray &line) {
  const QByteArray t = trimmed(line);
  return t.startsWith('[') && t.endsWith(']');
}

QByteArray groupName(const QByteArray &line) {
  const QByteArray t = trimmed(line);
  return t.mid(1, t.size() - 2);
}

// The key of a "key=value" line (blanks around the '=' allowed), or empty.
QByteArray keyOf(const QByteArray &line) {
  const QByteArray t = trimmed(line);
  if (t.isEmpty() || t.startsWith('#')) return {};
  const qsizetype equals = t.indexOf('=');
  return equals <= 0 ? QByteArray() : t.left(equals).trimmed();
}

}  // namespace

bool TKeyFile::Load(const QString &path) {
  error_.clear();
  QFile file(path);
  if (!file.exists()) {
    Parse({});
    return true;
  }
  if (file.size() > MaxSize) {
    error_ = QStringLiteral("%1 is larger than %2 bytes").arg(path).arg(MaxSize);
    return false;
  }
  if (!file.open(QIODevice::ReadOnly)) {
    error_ = QStringLiteral("%1: %2").arg(path, file.errorString());
    return false;
  }
  Parse(file.read(MaxSize));
  return true;
}

void TKeyFile::Parse(const QByteArray &bytes) {
  lines_ = bytes.split('\n');
  endsWithNewline_ = bytes.isEmpty() || bytes.endsWith('\n');
  if (bytes.endsWith('\n') || bytes.isEmpty()) lines_.removeLast();
}

QByteArray TKeyFile::Bytes() const {
  QByteArray bytes = lines_.join('\n');
  if (endsWithNewline_ && !lines_.isEmpty()) bytes += '\n';
  return bytes;
}

bool TKeyFile::Save(const QString &path) {
  error_.clear();
  QDir().mkpath(QFileInfo(path).absolutePath());
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(Bytes()) < 0 || !file.commit()) {
    error_ = QStringLiteral("%1: %2").arg(path, file.errorString());
    return false;
  }
  return true;
}

qsizetype TKeyFile::find(const QString &group, const QString &key, qsizetype *groupEnd) const {
  const QByteArray g = group.toUtf8();
  const QByteArray k = key.toUtf8();
  bool inGroup = false;
  qsizetype found = -1;
  qsizetype end = -1;
  for (qsizetype i = 0; i < lines_.size(); ++i) {
    const QByteArray &line = lines_[i];
    if (isGroupLine(line)) {
      if (inGroup) break;
      inGroup = groupName(line) == g;
      if (inGroup) end = i + 1;
      continue;
    }
    if (!inGroup) continue;
    if (!trimmed(line).isEmpty()) end = i + 1;
    if (found < 0 && keyOf(line) == k) found = i;
  }
  if (groupEnd) *groupEnd = end;
  return found;
}

bool TKeyFile::Has(const QString &group, const QString &key) const { return find(group, key) >= 0; }

QString TKeyFile::Value(const QString &group, const QString &key) const {
  const qsizetype i = find(group, key);
  if (i < 0) return {};
  const QByteArray &line = lines_[i];
  return QString::fromUtf8(line.mid(line.indexOf('=') + 1).trimmed());
}

void TKeyFile::SetValue(const QString &group, const QString &key, const QString &value) {
  const QByteArray line = key.toUtf8() + '=' + value.toUtf8();
  qsizetype end = -1;
  const qsizetype i = find(group, key, &end);
  if (i >= 0) {
    lines_[i] = line;
  } else if (end >= 0) {
    lines_.insert(end, line);
  } else {
    if (!lines_.isEmpty() && !trimmed(lines_.last()).isEmpty()) lines_.append(QByteArray());
    lines_.append('[' + group.toUtf8() + ']');
    lines_.append(line);
    endsWithNewline_ = true;
  }
}

void TKeyFile::Remove(const QString &group, const QString &key) {
  const qsizetype i = find(group, key);
  if (i >= 0) lines_.removeAt(i);
}
