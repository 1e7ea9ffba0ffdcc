// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "documents/core/PlainDocument.h"
#include "documents/edit/EditControl.h"
#include "documents/ui/LongOperation.h"

class TRichEdit;

// A long command whose result replaces a long stretch of a large plain text (Replace All,
// case conversion) takes it in as a new text store, built on the command's working thread:
// putting the text into the edit control and undoing it then cost no more than swapping two
// stores, where changing the text in place would hold the window up.
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
  // How the line breaks of a piece take their kinds.
  enum class TBreaks {
    InOrder,  // the piece is the stretch worked on: its breaks keep the stretch's kinds in order
    Typed,    // new breaks take the kind in front of the line the stretch starts in
  };
  // Builds the document of text (as Read read it) with [start, end) replaced by piece; false
  // when keepGoing stopped it, or, InOrder, when the piece holds another number of line breaks
  // than the stretch in a text with breaks of their own.
  bool Build(const QString &text, qsizetype start, qsizetype end, const QString &piece,
             TBreaks breaks, const TKeepGoing &keepGoing);
  // Shows the document built in memo with the caret at position, as one undo step of the kind
  // given; false when none was built.
  bool Take(TRichEdit &memo, qsizetype position, TUndoKind kind = TUndoKind::Unknown);

 private:
  bool possible_ = false;
  bool ownBreaks_ = false;
  uint8_t lineEnd_ = 0;
  std::vector<uint8_t> breaks_;
  std::unique_ptr<TTextStore> built_;
};
