// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "documents/core/FileStamp.h"
#include "documents/core/SafeSave.h"
#include "documents/core/WorkSteps.h"
#include "platform/core/TextFile.h"

class QTextDocument;

// One save of a document: its text turned into the bytes of its file (plain text in the
// format it was read with, or rich text for a file whose extension is rtf) and written
// safely.
struct TDocumentSaveRequest {
  QString fileName;
  QString text;        // plain text with each line break as the file is to hold it
  TTextFormat format;  // the plain-text format to write
  std::shared_ptr<const QTextDocument> richText;  // the formatted text, for rtf files
  bool makeBackup = false;
  std::optional<TFileStamp> known;  // the file as loaded or last saved
};

struct TDocumentSaveResult {
  TSaveOutcome outcome;
  TTextFormat format;  // the format written; keep it for the next save
  QString notice;      // tell the user this after a successful save (empty: nothing to say)
};

// writer: the seam for write failures (null: plain writes).
TDocumentSaveResult SaveDocument(const TDocumentSaveRequest &request,
                                 TByteWriter *writer = nullptr);

// Writes a document's bytes in steps of a megabyte, telling keepGoing how far it has come
// before each; when keepGoing says stop, the write fails with ECANCELED, so that the save
// removes what it wrote and the file stays as it was.
class TSteppedWriter : public TByteWriter {
 public:
  // next does the writing (null: plain writes).
  explicit TSteppedWriter(TKeepGoing keepGoing, TByteWriter *next = nullptr);
  qint64 Write(int fd, const char *data, qint64 size) override;
  // Whether keepGoing stopped a write.
  bool Stopped() const { return stopped_; }

 private:
  TKeepGoing keepGoing_;
  TByteWriter plain_;
  TByteWriter *next_;
  qint64 written_ = 0;
  bool stopped_ = false;
};
