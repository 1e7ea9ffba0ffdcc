// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

class QTextDocument;

// Writes a QTextDocument as rich text (RTF): its text, each block as a paragraph with its
// alignment, and per run of text the font, size, bold, italic, underline, strike-out and
// colour. Characters outside Windows-1252 are written as Unicode escapes with a '?' for
// readers that do not know them. What TRtfReader reads back equals what was written.
class TRtfWriter {
 public:
  static QByteArray Write(const QTextDocument &document);
};
