// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>
#include <functional>

#include "documents/core/RtfContent.h"

class QTextDocument;

// Reads rich text (RTF) into a QTextDocument in one call: RtfParser reads it into plain data,
// TRtfDocumentBuilder makes the document of that. For short texts (the clipboard, imports);
// a window that must answer meanwhile runs the two stages itself (see TRtfParseJob).
class TRtfReader {
 public:
  using TLimits = TRtfLimits;
  // Told now and then how much of a read is done (0 to 1000: reading the first half, making
  // the document the second); returning false cancels it.
  using TProgress = std::function<bool(int perMille)>;

  TRtfReader();
  explicit TRtfReader(const TLimits &limits);

  void SetProgress(TProgress progress);

  // Replaces the content of document by the text of rtf (document's undo history is cleared).
  // False, with Error() set and the document left empty, when rtf is not rich text, breaks a
  // limit or the read was cancelled.
  bool Read(QByteArrayView rtf, QTextDocument &document);

  // Why the last read failed: a sentence without its final full stop (message boxes add it).
  QString Error() const;
  // The text was cut at maxCharacters (never with the default limits).
  bool Truncated() const;
  // Formatting changes beyond the bounds on runs were given up (the text is all there).
  bool FormattingDropped() const;
  // The last read was cancelled through the progress function.
  bool Cancelled() const;

 private:
  TLimits limits_;
  TProgress progress_;
  QString error_;
  bool truncated_ = false;
  bool formattingDropped_ = false;
  bool cancelled_ = false;
};
