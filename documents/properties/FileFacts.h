// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>

// What the file system says about one file, for the properties dialog. Times are local and
// reduced to two-second resolution (seconds rounded down to an even number).
struct TFileFacts {
  bool exists = false;  // false also for a folder
  QDateTime created;    // invalid where the file system keeps no creation time
  QDateTime modified;
  bool readOnly = false;  // not writable (see Read)
  bool hidden = false;    // a dot-file
  // No file system here has system or archive attributes: they stay false.
  bool system = false;
  bool archive = false;
};

namespace FileFacts {

TFileFacts Read(const QString &path);

// Seconds rounded down to an even number, milliseconds dropped.
QDateTime TwoSecondResolution(const QDateTime &time);

// "<short date> <long time>" in the locale's formats.
QString DateText(const QDateTime &time);

// The desktop's name for the file's type; "Text Document" when it knows none.
QString TypeName(const QString &path);

}  // namespace FileFacts
