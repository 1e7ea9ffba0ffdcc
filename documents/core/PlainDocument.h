// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "documents/core/WorkSteps.h"
#include "documents/store/TextModel.h"

// A plain-text document in a text store: one line a line of the file, and the kind of each
// line break (TextFile break kinds) kept as the tag of the line after it wherever it differs
// from the document's own line end (tag: the kind + 1; 0: the document's line end). Undo steps
// keep the tags of the lines they remove, so an undone deletion brings the breaks back as they
// were; a line typed takes the tag of the line it was typed in, and a joined line keeps the
// first one's, so the break removed is the one the user removed.
namespace PlainDocument {

// The kind of the line break in front of a block, lineEnd when it has none of its own.
inline uint8_t BreakBefore(const TTextBlock &block, uint8_t lineEnd) {
  const uint8_t tag = block.tag();
  return tag == 0 ? lineEnd : uint8_t(tag - 1);
}

// True when some line of the document may keep a line break of its own kind, false when none
// can (none was ever given one).
bool MayHaveOwnBreaks(const TTextModel &document);
// True when the document holds character or paragraph formats of its own (rich text).
bool HasFormats(const TTextModel &document);

// Gives each line from the second on the break kind breaks holds for the break in front of it
// (breaks[0] is the first break's), where it differs from lineEnd; no breaks: nothing. Stops
// when keepGoing says so (false).
bool MarkBreaks(TTextStore &store, const std::vector<uint8_t> &breaks, uint8_t lineEnd,
                const TKeepGoing &keepGoing = {});

// A new store holding text ('\n' for each line break) with the break kinds of breaks, made
// apart from any view, so that it may be built on a working thread. Nothing when keepGoing
// stops it; it hears the characters put in so far of the text's length.
std::unique_ptr<TTextStore> Build(const QString &text, const std::vector<uint8_t> &breaks,
                                  uint8_t lineEnd, const TKeepGoing &keepGoing = {});

}  // namespace PlainDocument
