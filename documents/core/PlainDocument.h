// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>
#include <QTextFormat>
#include <QTextOption>
#include <cstdint>
#include <memory>
#include <vector>

#include "documents/core/WorkSteps.h"

class QTextBlock;
class QTextDocument;

// A plain-text document in a QTextDocument: one block a line, and the kind of each line break
// (TextFile break kinds) kept as a property of the block after it wherever it differs from the
// document's own line end. Block formats are part of the undo history, so an undone deletion
// brings the breaks back as they were; a new block copies the format of the block it was split
// from, and a merged block keeps the first one's, so the break removed is the one the user
// removed.
namespace PlainDocument {

inline constexpr int kBreakBefore = QTextFormat::UserProperty + 1;

// The kind of the line break in front of a block, lineEnd when it has none of its own.
uint8_t BreakBefore(const QTextBlock &block, uint8_t lineEnd);

// True when some block of the document may keep a line break of its own kind, false when
// none can (no such block format was ever made in it).
bool MayHaveOwnBreaks(const QTextDocument &document);
// True when the document holds character or block formats of its own (rich text).
bool HasFormats(const QTextDocument &document);

// Appends about sliceChars characters of text from position from on to the end of the
// document, up to a line break unless the line is longer than a slice by far, never half a
// character, and returns the position the next slice starts at.
qsizetype AppendSlice(QTextDocument &document, const QString &text, qsizetype from,
                      qsizetype sliceChars);

// Gives each block from the second on the break kind breaks holds for the break in front of
// it (breaks[0] is the first break's), where it differs from lineEnd; no breaks: nothing.
// Stops when keepGoing says so (false).
bool MarkBreaks(QTextDocument &document, const std::vector<uint8_t> &breaks, uint8_t lineEnd,
                const TKeepGoing &keepGoing = {});

// How a new document looks, taken from the document it replaces.
struct TLook {
  QFont font;
  QTextOption option;
  qreal margin = 4;
  bool undo = true;
};
TLook LookOf(const QTextDocument &document);

// A new document holding text ('\n' for each line break) with the break kinds of breaks, made
// apart from any view and from this thread's objects, so that it may be built on a working
// thread and moved to the view's thread after. Without undo steps, unmodified. Nothing when
// keepGoing stops it; it hears the characters put in so far of the text's length.
std::unique_ptr<QTextDocument> Build(const TLook &look, const QString &text,
                                     const std::vector<uint8_t> &breaks, uint8_t lineEnd,
                                     const TKeepGoing &keepGoing = {});

}  // namespace PlainDocument
