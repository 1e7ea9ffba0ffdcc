// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include "platform/core/TextFile.h"

// A document's text as the bytes of its file. The encoding, byte-order mark and line-end
// style it was read with are kept, so an unchanged document is written back byte for byte.
// When the encoding cannot hold a character of the text (Windows-1252 and a character
// outside it), nothing is dropped: the file is written as UTF-8 instead (same line ends) and
// the caller tells the user with EncodingChangedText.
struct TEncodedText {
  QByteArray bytes;
  TTextFormat format;          // the format written
  bool changedToUtf8 = false;  // the requested encoding could not hold the text
};

// text holds each line break as it is to be written.
TEncodedText EncodeForSave(QStringView text, const TTextFormat &format);

// The notice for a save whose encoding had to change from previous.
QString EncodingChangedText(const QString &fileName, const TTextFormat &previous);
