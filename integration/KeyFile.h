// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A desktop key file (mimeapps.list, a desktop entry) edited line by line: one key of one
// group is read, set or removed and every other line - comments, other groups, keys this
// program knows nothing of - is written back exactly as it was.
class TKeyFile {
 public:
  // Files larger than this are refused rather than read (a key file is a few kilobytes).
  static constexpr qint64 MaxSize = 1 << 20;

  // Reads a file; a missing file is an empty one. False with Error() when it cannot be read.
  bool Load(const QString &path);
  // Takes the bytes of a file (for files read elsewhere and for tests).
  void Parse(const QByteArray &bytes);
  QByteArray Bytes() const;
  // Replaces the file safely (a temporary file renamed over it), creating its folder.
  bool Save(const QString &path);
  QString Error() const { return error_; }

  bool Has(const QString &group, const QString &key) const;
  // The value of the first line "key=value" in the group; empty when there is none.
  QString Value(const QString &group, const QString &key) const;
  // Sets the first such line, or adds one at the end of the group (the group at the end of
  // the file when it is missing).
  void SetValue(const QString &group, const QString &key, const QString &value);
  void Remove(const QString &group, const QString &key);

 private:
  // Index of the line holding the key in the group, or -1; groupEnd is set to the index after
  // the group's last line (-1 when the group is missing).
  qsizetype find(const QString &group, const QString &key, qsizetype *groupEnd = nullptr) const;

  QList<QByteArray> lines_;
  bool endsWithNewline_ = true;
  QString error_;
};
