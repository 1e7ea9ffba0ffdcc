// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "documents/core/PlainDocument.h"
#include "documents/ui/LongOperation.h"

class QTextDocument;
class TRichEdit;

// A long command whose result replaces a long stretch of a large plain text (Replace All,
// case conversion) takes it in as a new document, built on the command's working thread:
// putting the text into the edit control and undoing it then cost no more than showing
// another document, where changing the text in place would freeze the window for seconds.
// Made on the window's thread before the command runs; Build runs on the working thread,
// Take on the window's thread after.
class TNewDocument {
 public:
  explicit TNewDocument(const TRichEdit &memo);
  ~TNewDocument();
  TNewDocument(const TNewDocument &) = delete;
  TNewDocument &operator=(const TNewDocument &) = delete;

  // The control can take a new document (a plain text, not loading).
  bool Possible() const { return possible_; }
  // Reads the whole text ('\n' for each line break) into *into, and the break kinds where the
  // text may have some of its own.
  LongOperation::TRead Read(const TRichEdit &memo, QString *into);
  // Whether a change of [start, end) is worth a new document rather than a change in place.
  static bool Worth(qsizetype start, qsizetype end);
  // Builds the document of text (as Read read it) with [start, end) replaced by piece, each
  // line break keeping its kind in order; false when keepGoing stopped it, or when the piece
  // holds another number of line breaks than the stretch in a text with breaks of their own.
  bool Build(const QString &text, qsizetype start, qsizetype end, const QString &piece,
             const TKeepGoing &keepGoing);
  // Shows the document built in memo with the caret at position, as one undo step; false when
  // none was built.
  bool Take(TRichEdit &memo, qsizetype position);

 private:
  bool possible_ = false;
  bool ownBreaks_ = false;
  uint8_t lineEnd_ = 0;
  PlainDocument::TLook look_;
  std::vector<uint8_t> breaks_;
  std::unique_ptr<QTextDocument> built_;
};
