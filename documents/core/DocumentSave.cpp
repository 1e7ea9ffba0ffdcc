// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/DocumentSave.h"

#include <QTextDocument>
#include <cerrno>

#include "documents/core/RtfWriter.h"
#include "documents/core/SaveEncoding.h"
#include "documents/core/SaveNames.h"

TDocumentSaveResult SaveDocument(const TDocumentSaveRequest &request, TByteWriter *writer) {
  TDocumentSaveResult result;
  result.format = request.format;
  QByteArray bytes;
  if (SaveNames::IsRichTextName(request.fileName)) {
    if (request.richText) {
      bytes = TRtfWriter::Write(*request.richText);
    } else {
      QTextDocument plain;
      plain.setPlainText(request.text);
      bytes = TRtfWriter::Write(plain);
    }
  } else {
    const TEncodedText encoded = EncodeForSave(request.text, request.format);
    bytes = encoded.bytes;
    if (encoded.changedToUtf8) {
      result.format = encoded.format;
      result.notice = EncodingChangedText(request.fileName, request.format);
    }
  }
  TSafeSave saver(writer);
  saver.SetMakeBackup(request.makeBackup);
  result.outcome = saver.Save(request.fileName, bytes, request.known);
  if (!result.outcome.Saved()) {
    result.format = request.format;
    result.notice.clear();
  }
  return result;
}

TSteppedWriter::TSteppedWriter(TKeepGoing keepGoing, TByteWriter *next)
    : keepGoing_(std::move(keepGoing)), next_(next ? next : &plain_) {}

qint64 TSteppedWriter::Write(int fd, const char *data, qint64 size) {
  constexpr qint64 kStep = 1 << 20;
  if (stopped_ || !KeepGoing(keepGoing_, written_, written_ + size)) {
    stopped_ = true;
    errno = ECANCELED;
    return -1;
  }
  const qint64 n = next_->Write(fd, data, std::min(size, kStep));
  if (n > 0) written_ += n;
  return n;
}
