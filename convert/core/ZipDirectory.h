// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

// The central directory of a ZIP file (an office document's container), read only as far as
// a converter needs to judge a document's size before choosing a tool: where the directory
// lies, and the uncompressed size of one entry. Every offset and length is checked against
// the bytes given; damaged input gives "not found".
namespace ZipDirectory {

// The directory's offset and size from the end-of-directory record in the file's last bytes.
bool Find(QByteArrayView tail, qint64 *offset, qint64 *size);
// The uncompressed size of the named entry in the directory's bytes; -1 when it is not there.
qint64 EntrySize(QByteArrayView directory, QByteArrayView name);
// Both steps on a file; -1 when the file is no ZIP file or the entry is missing.
qint64 EntrySizeInFile(const QString &file, QByteArrayView name);

}  // namespace ZipDirectory
