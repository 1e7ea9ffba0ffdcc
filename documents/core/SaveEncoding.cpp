// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/SaveEncoding.h"

TEncodedText EncodeForSave(QStringView text, const TTextFormat &format) {
  TEncodedText result;
  result.format = format;
  bool lossless = true;
  result.bytes = TextFile::Encode(text, format, &lossless);
  if (!lossless) {
    result.format.encoding = TTextEncoding::Utf8;
    result.changedToUtf8 = true;
    result.bytes = TextFile::Encode(text, result.format);
  }
  return result;
}

QString EncodingChangedText(const QString &fileName, const TTextFormat &previous) {
  return QLatin1String("The text holds characters that ") + previous.EncodingName() +
         QLatin1String(" cannot store, so ") + fileName +
         QLatin1String(" was saved as UTF-8 to keep every character.");
}
