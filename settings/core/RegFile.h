// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>

#include "settings/core/RegKey.h"

// Reading and writing a tree of keys in the text syntax of registry export files:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Kestrelwick\Vellumix\Main Form]
//   "mniButtonHints_Checked"="True"
//   "Flags"=dword:00000000
//
// The file is UTF-8 (a UTF-16 file with its byte-order mark is read too). Strings holding
// control characters are written as hex(1): UTF-16LE bytes, so every line stays one line.
// Writing a tree that was read from a written file gives the same bytes again.
namespace RegFile {

// Bounds on what the reader accepts; anything beyond them makes the file unreadable.
inline constexpr qsizetype MaxFileSize = qsizetype{4} * 1024 * 1024;
inline constexpr qsizetype MaxLogicalLineLength = qsizetype{1024} * 1024;
// Longest text (characters) or data (bytes) of one value; small enough that any value, in
// whatever form it is written, fits on one logical line.
inline constexpr qsizetype MaxValueLength = qsizetype{128} * 1024;

// Reads a file's bytes into a new unnamed root key whose children are the hives (e.g.
// "HKEY_CURRENT_USER"). On a fault returns null and, when error is given, describes the
// first fault with its line number.
std::unique_ptr<TRegKey> Parse(QByteArrayView bytes, QString *error = nullptr);

// The text of every key below root, depth first, each key with all its values.
QByteArray Serialize(const TRegKey &root);

}  // namespace RegFile
