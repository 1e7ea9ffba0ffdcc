// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>
#include <functional>

class QTextDocument;

// Reads rich text (RTF) into a QTextDocument: the text with its Unicode and code-page
// escapes, the character formatting (bold, italic, underline, strike-out, font, size,
// colour) and the paragraph alignment. Destinations it does not show (pictures, headers,
// style sheets, document information, field instructions, anything marked ignorable) are
// skipped.
//
// Reading takes time and memory in proportion to the input: the input is read once into the
// text and its runs of one format (neighbouring runs of the same format merged), which then
// become the document in one pass. Input size, group nesting, the length of the text, the
// number of paragraphs and the number of formatting runs are bounded, so damaged or hostile
// input gives either text or a clear error.
class TRtfReader {
 public:
  struct TLimits {
    qsizetype maxInputBytes = 256 * 1024 * 1024;
    int maxGroupDepth = 200;
    qsizetype maxCharacters = 16777215;
    // Each paragraph costs a document some hundreds of bytes.
    qsizetype maxParagraphs = 1000000;
    // Laying a paragraph out takes time that grows with the square of its runs; runs beyond
    // these take the format of the run before them.
    int maxRunsPerParagraph = 2000;
    qsizetype maxRuns = 4000000;
  };
  // Told now and then how much of a read is done (0 to 1000); returning false cancels it.
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
  // The text was cut at maxCharacters.
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
