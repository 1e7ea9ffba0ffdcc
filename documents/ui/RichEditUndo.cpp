// SPDX-License-Identifier: GPL-3.0-or-later
// The edit control's undo history: the kinds of its steps, its bound (UndoLimit), and whole
// documents that replaced the text, kept so that Undo and Redo swap them in and out.
#include <QPointer>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

#include "documents/core/UndoHistory.h"
#include "documents/ui/RichEdit.h"
#include "platform/core/LineEnds.h"

void TRichEdit::recordUndoStep() {
  if (trimmingUndo_) return;  // the steps replayed get their kinds from dropOldUndoSteps
  ++undoLevels_;
  queueUndoTrim();
  const int steps = document()->availableUndoSteps();
  undoKinds_.resize(std::max(steps, 0));
  if (steps > 0) undoKinds_[steps - 1] = pendingKind_;
}

void TRichEdit::queueUndoTrim() {
  // Twice the limit held: the oldest are dropped (once the step under way is complete), so the
  // history never holds more than that.
  if (undoLimit_ > 0 && undoLevels_ >= 2 * undoLimit_ && !trimQueued_) {
    trimQueued_ = true;
    QMetaObject::invokeMethod(this, &TRichEdit::dropOldUndoSteps, Qt::QueuedConnection);
  }
  // Only the newest UndoLimit steps may be undone (the ones beyond are dropped soon).
  undoFloor_ = std::max(undoFloor_, undoLevels_ - undoLimit_);
}

bool TRichEdit::CanUndo() const {
  return (document()->isUndoAvailable() || !older_.empty()) && undoLevels_ > undoFloor_;
}

bool TRichEdit::CanRedo() const { return document()->isRedoAvailable() || !newer_.empty(); }

void TRichEdit::ResetUndoHistory() {
  document()->clearUndoRedoStacks();
  dropHeld(older_);
  dropHeld(newer_);
  undoKinds_.clear();
  undoFloor_ = 0;
  undoLevels_ = 0;
}

void TRichEdit::dropHeld(std::vector<THeldDocument> &held) {
  for (const THeldDocument &kept : held) delete kept.document;
  held.clear();
}

void TRichEdit::dropOlderDocuments() {
  // With UndoLimit steps or more of its own, the current document leaves the older ones out of
  // reach.
  const int own = document()->availableUndoSteps();
  while (!older_.empty() &&
         (own >= undoLimit_ || undoLevels_ - older_.front().levels >= undoLimit_)) {
    undoLevels_ -= older_.front().levels;
    delete older_.front().document;
    older_.erase(older_.begin());
  }
  undoFloor_ = std::max(undoLevels_ - undoLimit_, 0);
}

void TRichEdit::dropOldUndoSteps() {
  trimQueued_ = false;
  if (editBlockDepth_ > 0 || undoLevels_ < 2 * undoLimit_ || CanRedo()) return;
  dropOlderDocuments();
  if (!older_.empty() || undoLevels_ < 2 * undoLimit_) return;
  const QTextCursor selection = textCursor();
  const int anchor = selection.anchor(), position = selection.position();
  const int scrollX = horizontalScrollBar()->value(), scrollY = verticalScrollBar()->value();
  const bool modified = Modified();
  std::vector<TUndoKind> kinds;  // of the steps kept, newest first
  size_t replayed = 0;
  HoldUpdates();
  trimmingUndo_ = true;
  const bool dropped = UndoHistory::DropOldest(
      *document(), undoLimit_, [&] { kinds.push_back(UndoKind()); },
      [&] {
        if (replayed == 0) undoKinds_.clear();
        const int steps = document()->availableUndoSteps();
        undoKinds_.resize(size_t(std::max(steps, 0)));
        if (steps > 0) undoKinds_[size_t(steps - 1)] = kinds[kinds.size() - 1 - replayed];
        ++replayed;
      });
  trimmingUndo_ = false;
  if (dropped) {
    undoFloor_ = 0;
    undoLevels_ = undoLimit_;
  }
  SetModified(modified);
  QTextCursor restored(document());
  restored.setPosition(std::min(anchor, int(PositionCount())));
  restored.setPosition(std::min(position, int(PositionCount())), QTextCursor::KeepAnchor);
  setTextCursor(restored);
  horizontalScrollBar()->setValue(scrollX);
  verticalScrollBar()->setValue(scrollY);
  ReleaseUpdates();
}

TUndoKind TRichEdit::UndoKind() const {
  const int steps = document()->availableUndoSteps();
  if (steps == 0 && !older_.empty()) return older_.back().kind;
  return (steps > 0 && steps <= int(undoKinds_.size())) ? undoKinds_[steps - 1]
                                                        : TUndoKind::Unknown;
}

TUndoKind TRichEdit::RedoKind() const {
  const int steps = document()->availableUndoSteps();
  if (!document()->isRedoAvailable())
    return newer_.empty() ? TUndoKind::Unknown : newer_.back().kind;
  return steps < int(undoKinds_.size()) ? undoKinds_[steps] : TUndoKind::Unknown;
}

void TRichEdit::Undo() {
  // A half-loaded text, or one the user may not change, is not taken back.
  if (loading_ || isReadOnly() || !CanUndo()) return;
  if (document()->isUndoAvailable()) {
    const QScopedValueRollback replaying(replaying_, true);
    undo();
  } else {
    THeldDocument back = std::move(older_.back());
    older_.pop_back();
    const TUndoKind kind = back.kind;
    newer_.push_back(exchangeDocument(std::move(back)));
    newer_.back().kind = kind;
  }
  if (undoLevels_ > 0) --undoLevels_;
}

void TRichEdit::Redo() {
  if (loading_ || isReadOnly() || !CanRedo()) return;
  if (document()->isRedoAvailable()) {
    const QScopedValueRollback replaying(replaying_, true);
    redo();
  } else {
    THeldDocument next = std::move(newer_.back());
    newer_.pop_back();
    const int levels = document()->availableUndoSteps() + 1;
    const TUndoKind kind = next.kind;
    older_.push_back(exchangeDocument(std::move(next)));
    older_.back().levels = levels;
    older_.back().kind = kind;
  }
  ++undoLevels_;
}

bool TRichEdit::CanTakeDocument() const {
  return !loading_ && !PlainDocument::HasFormats(*document());
}

void TRichEdit::TakeDocument(std::unique_ptr<QTextDocument> document, qsizetype position,
                             TUndoKind kind) {
  if (!document) return;
  QTextDocument *incoming = document.release();
  incoming->setParent(this);
  // Undone steps of the text it replaces can no longer be redone.
  this->document()->clearUndoRedoStacks(QTextDocument::RedoStack);
  dropHeld(newer_);
  const int steps = this->document()->availableUndoSteps();
  undoKinds_.resize(size_t(std::max(steps, 0)));
  const int clamped = int(std::clamp<qsizetype>(position, 0, incoming->characterCount() - 1));
  incoming->setModified(true);
  THeldDocument shown;
  shown.document = incoming;
  shown.anchor = shown.position = clamped;
  THeldDocument replaced = exchangeDocument(std::move(shown));
  if (undoLimit_ == 0) {
    delete replaced.document;
    return;
  }
  replaced.levels = steps + 1;
  replaced.kind = kind;
  older_.push_back(std::move(replaced));
  ++undoLevels_;
  queueUndoTrim();
}

TRichEdit::THeldDocument TRichEdit::exchangeDocument(THeldDocument held) {
  const QTextCursor cursor = textCursor();
  THeldDocument out;
  out.document = document();
  out.undoKinds = std::move(undoKinds_);
  out.anchor = cursor.anchor();
  out.position = cursor.position();
  const bool wasModified = Modified();
  setDocument(held.document);
  connectDocument();
  undoKinds_ = std::move(held.undoKinds);
  // Settings changed while the document was held apply to it now.
  applyDocumentFont();
  applyAlignment();
  SetWordWrap(WordWrap());
  ++changeCount_;
  QTextCursor restored(document());
  const int last = document()->characterCount() - 1;
  restored.setPosition(std::clamp(held.anchor, 0, last));
  restored.setPosition(std::clamp(held.position, 0, last), QTextCursor::KeepAnchor);
  setTextCursor(restored);
  ensureCursorVisible();
  if (Modified() != wasModified) Q_EMIT modificationChanged(Modified());
  return out;
}

namespace {
// At most this many characters are built into a new document at once (some tens of
// milliseconds); a change of fewer is made in place as quickly.
constexpr qsizetype kWholeChars = 1 << 20;
}  // namespace

bool TRichEdit::isLongEdit(const QString &added) const {
  const QTextCursor cursor = textCursor();
  const qsizetype removed = cursor.selectionEnd() - cursor.selectionStart();
  return longEdit_ && removed + added.size() >= LongEditChars &&
         PositionCount() - removed + added.size() > kWholeChars && editBlockDepth_ == 0 &&
         !isReadOnly() && CanTakeDocument();
}

bool TRichEdit::runLongEdit(const QString &added) {
  const QTextCursor cursor = textCursor();
  const QPointer<TRichEdit> self(this);
  const bool taken = longEdit_(cursor.selectionStart(), cursor.selectionEnd(), added, pendingKind_);
  // The window may have gone meanwhile: then nothing of it is touched.
  if (taken && self) pendingKind_ = TUndoKind::Unknown;
  return taken || !self;
}

bool TRichEdit::replaceSelectionWhole(const QString &text) { return replaceWhole(text, true); }

bool TRichEdit::replaceWhole(const QString &text, bool mayRunLong) {
  const QString added = LineEnds::ToNewlines(text);
  if (mayRunLong && isLongEdit(added)) return runLongEdit(added);
  const QTextCursor cursor = textCursor();
  const int start = cursor.selectionStart(), end = cursor.selectionEnd();
  if (end - start + added.size() < kWholeChars ||
      PositionCount() - (end - start) + added.size() > kWholeChars || editBlockDepth_ > 0 ||
      isReadOnly() || !CanTakeDocument())
    return false;
  // What stays, with the kinds of its line breaks: those in front of the selection and behind
  // it keep theirs, the new ones take the kind of the break in front of the line the selection
  // starts in, as typing them there would.
  const QTextBlock first = document()->findBlock(start);
  const QTextBlock last = document()->findBlock(end);
  std::vector<uint8_t> breaks;
  const uint8_t lineEnd = LineEndKind();
  if (MayHaveOwnBreaks()) {
    for (QTextBlock block = document()->begin(); block != first;) {
      block = block.next();
      breaks.push_back(PlainDocument::BreakBefore(block, lineEnd));
    }
    const uint8_t typed = first == document()->begin() ? lineEnd : breaks.back();
    breaks.insert(breaks.end(), size_t(added.count(u'\n')), typed);
    for (QTextBlock block = last.next(); block.isValid(); block = block.next())
      breaks.push_back(PlainDocument::BreakBefore(block, lineEnd));
  }
  const QString whole = TextRange(0, start) + added + TextRange(end, PositionCount());
  TakeDocument(PlainDocument::Build(Look(), whole, breaks, lineEnd), start + added.size(),
               pendingKind_);
  return true;
}
