// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class QTextDocument;

// The undo history of a text document, bounded: a document keeps every step it is given, so a
// long editing session would hold every text ever typed or removed. Dropping the oldest steps
// frees them while the newest ones stay undoable exactly as before.
namespace UndoHistory {

// Keeps only the newest keep undo steps of document (a step is what one undo takes back): they
// are replayed onto a fresh history, each one step again. The text, the block formats and the
// kept steps' results stay the same. Nothing happens while redo steps exist or when there are
// no more than keep steps. beforeUndo runs before each of the kept steps is taken back, newest
// first; replayed after each is made again, oldest first (to carry what the caller knows of
// each step). True when older steps were dropped.
bool DropOldest(QTextDocument &document, int keep, const std::function<void()> &beforeUndo = {},
                const std::function<void()> &replayed = {});

}  // namespace UndoHistory
