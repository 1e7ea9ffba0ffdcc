// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentSave.h"

#include <QTextDocument>

#include "RtfWriter.h"
#include "SaveEncoding.h"
#include "SaveNames.h"

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
