#pragma once

#include <QByteArrayView>
#include <QString>

class QTextDocument;

// Reads rich text (RTF) into a QTextDocument: the text with its Unicode and code-page
// escapes, the character formatting (bold, italic, underline, strike-out, font, size,
// colour) and the paragraph alignment. Destinations it does not show (pictures, headers,
// style sheets, document information, field instructions, anything marked ignorable) are
// skipped. Input size, group nesting and the length of the text are bounded, so damaged or
// hostile input gives either text or a clear error.
class TRtfReader {
 public:
  struct TLimits {
    qsizetype maxInputBytes = 256 * 1024 * 1024;
    int maxGroupDepth = 200;
    qsizetype maxCharacters = 16777215;
  };

  TRtfReader();
  explicit TRtfReader(const TLimits &limits);

  // Replaces the content of document by the text of rtf. False, with Error() set and the
  // document left empty, when rtf is not rich text or breaks a limit.
  bool Read(QByteArrayView rtf, QTextDocument &document);

  QString Error() const;
  // The text was cut at maxCharacters.
  bool Truncated() const;

 private:
  TLimits limits_;
  QString error_;
  bool truncated_ = false;
};
