// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Files only their owner may read, written so that a crash or power loss at any moment
// leaves either the previous file or the new one, never a mix.
namespace PrivateFile {

// Writes bytes to a temporary file beside path (mode 0600), flushes it to disk, renames it
// over path and flushes the folder. False with error set when anything failed; the previous
// file at path is then untouched and the temporary file is gone.
bool WriteAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// Creates a folder (and its parents) that only the owner may enter (mode 0700).
bool MakeFolder(const QString &path);

}  // namespace PrivateFile
