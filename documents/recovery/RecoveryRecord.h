// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "platform/core/TextFile.h"

// What a recovery copy holds: enough to give a document back as it was a moment before the
// program ended unexpectedly.
struct TRecoveryRecord {
  // The document's name as its status bar shows it: a file, or " <folder>untitled.txt" for a
  // document never saved.
  QString name;
  // The file as it was when the document was read or last saved (size, modification time);
  // nothing when the document never came from a file.
  bool diskKnown = false;
  qint64 diskSize = 0;
  qint64 diskModifiedNs = 0;
  TTextFormat format;    // encoding and line ends a save writes (trailer not kept)
  qsizetype caret = 0;   // caret position, line breaks counted once
  qint64 changedMs = 0;  // when the text was last changed, ms since the epoch
  // Kept on purpose at a clean exit (the last session), not left behind by a crash.
  bool session = false;
  QString text;  // line breaks as '\n'

  bool Titled() const;
};

// The file format of a recovery copy: a few text lines naming the document, then the text
// itself, its length and a hash declared up front so that a cut or damaged copy is noticed.
namespace RecoveryFile {

// Largest recovery file read: a copy of the largest document that could be opened, in UTF-16
// (documents have no fixed size; the bound follows the memory the system has free).
qint64 MaxFileSize();
// The header lines together may hold no more than this.
inline constexpr qsizetype MaxHeaderSize = qsizetype{64} * 1024;

QByteArray Serialize(const TRecoveryRecord &record);

// The record in bytes, or nothing with error set to a reason a user can read.
std::optional<TRecoveryRecord> Parse(const QByteArray &bytes, QString *error = nullptr);

}  // namespace RecoveryFile
