// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// What a file on disk looked like when a document was loaded from it or saved to it: size,
// modification time and a hash of the content. Comparing it with the file's present state
// tells whether another program changed the file meanwhile.
struct TFileStamp {
  bool exists = false;
  qint64 size = 0;
  qint64 modifiedNs = 0;  // modification time in nanoseconds since the epoch
  QByteArray hash;        // hash of the content

  // The state of the file now (symbolic links followed); reads the file for the hash.
  static TFileStamp Of(const QString &fileName);
  // The state of a file whose content is known to be bytes (just read or just written);
  // only the size and time are taken from the disk.
  static TFileStamp OfContent(const QString &fileName, const QByteArray &bytes);
  static QByteArray Hash(const QByteArray &bytes);

  // True when the file at fileName is no longer the one this stamp describes: it was
  // created, or its content differs. A file that merely got a new time with the same
  // content, or that was removed, does not count as changed.
  bool ChangedOnDisk(const QString &fileName) const;
};
