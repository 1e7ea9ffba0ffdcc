// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/UndoHistory.h"

#include <QAbstractTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <algorithm>
#include <vector>

namespace UndoHistory {

namespace {
// What one step did: the characters from `from` on, `removed` of them, became `added`.
struct TChange {
  int from = 0;
  int removed = 0;
  QTextDocumentFragment added;
};
}  // namespace

bool DropOldest(QTextDocument &document, int keep, const std::function<void()> &beforeUndo,
                const std::function<void()> &replayed) {
  if (keep < 0 || document.isRedoAvailable()) return false;

  // Walk back over the steps to keep, then forward again, noting the stretch of text each one
  // changed: from its first changed character to the last, however many changes it made.
  int start = 0, tail = 0;    // unchanged characters at the start and at the end
  document.documentLayout();  // a document reports its changes only once it has a layout
  const auto watch = QObject::connect(&document, &QTextDocument::contentsChange, &document,
                                      [&](int position, int charsRemoved, int charsAdded) {
                                        const int before =
                                            document.characterCount() + charsRemoved - charsAdded;
                                        start = std::min(start, position);
                                        tail = std::min(tail, before - position - charsRemoved);
                                      });
  int walked = 0;
  for (; walked < keep && document.isUndoAvailable(); ++walked) {
    if (beforeUndo) beforeUndo();
    document.undo();
  }
  if (!document.isUndoAvailable()) {  // no older step to drop: back to where it was
    for (int i = 0; i < walked; ++i) document.redo();
    QObject::disconnect(watch);
    return false;
  }
  std::vector<TChange> changes;
  changes.reserve(size_t(keep));
  for (int i = 0; i < keep; ++i) {
    const int before = document.characterCount();
    start = tail = before;
    document.redo();
    const int after = document.characterCount();
    // The implicit last paragraph end is never part of a change.
    tail = std::max(tail, 1);
    start = std::min(start, after - tail);
    QTextCursor range(&document);
    range.setPosition(start);
    range.setPosition(after - tail, QTextCursor::KeepAnchor);
    changes.push_back({start, before - tail - start, QTextDocumentFragment(range)});
  }
  for (int i = 0; i < keep; ++i) document.undo();
  QObject::disconnect(watch);

  // A fresh history from here, then the kept steps again.
  document.clearUndoRedoStacks();
  for (const TChange &change : changes) {
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    cursor.setPosition(change.from);
    cursor.setPosition(change.from + change.removed, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.insertFragment(change.added);
    cursor.endEditBlock();
    if (replayed) replayed();
  }
  return true;
}

}  // namespace UndoHistory
