// SPDX-License-Identifier: GPL-3.0-or-later
// The edit control's undo history: the kinds of its steps, its bound (UndoLimit), and whole
// stores that replace the text as one step.
#include <QPointer>
#include <QScopedValueRollback>

#include "documents/ui/RichEdit.h"
#include "platform/core/LineEnds.h"

void TRichEdit::connectDocument() {
  TTextModel *model = document();
  // Each new step keeps the kind of the edit that made it.
  connect(model, &TTextModel::undoCommandAdded, this,
          [this] { document()->setLastStepTag(int(pendingKind_)); });
  connect(model, &TTextModel::contentsChange, this, [this](int, int removed, int added) {
    if (removed || added) ++changeCount_;
  });
}

bool TRichEdit::CanUndo() const { return document()->isUndoAvailable(); }

bool TRichEdit::CanRedo() const { return document()->isRedoAvailable(); }

void TRichEdit::ResetUndoHistory() { document()->clearUndoRedoStacks(); }

TUndoKind TRichEdit::UndoKind() const { return TUndoKind(document()->undoTag()); }

TUndoKind TRichEdit::RedoKind() const { return TUndoKind(document()->redoTag()); }

void TRichEdit::Undo() {
  // A half-loaded text, or one the user may not change, is not taken back.
  if (loading_ || isReadOnly() || !CanUndo()) return;
  undo();
}

void TRichEdit::Redo() {
  if (loading_ || isReadOnly() || !CanRedo()) return;
  redo();
}

void TRichEdit::SetUndoLimit(int limit) {
  undoLimit_ = std::max(limit, 0);
  document()->setUndoRedoEnabled(undoLimit_ > 0);
  document()->setUndoLimit(undoLimit_);
}

void TRichEdit::TakeDocument(std::unique_ptr<TTextStore> store, qsizetype position,
                             TUndoKind kind) {
  if (!store) return;
  const int clamped = int(std::clamp<qsizetype>(position, 0, store->Length()));
  const QScopedValueRollback pending(pendingKind_, kind);
  const TTextCursor before = textCursor();
  document()->replaceStore(std::move(store), before.anchor(), before.position(), clamped);
  TTextCursor cursor(document());
  cursor.setPosition(clamped);
  setTextCursor(cursor);
  ensureCursorVisible();
}

bool TRichEdit::CanTakeDocument() const {
  return !loading_ && !PlainDocument::HasFormats(*document());
}

namespace {
// At most this many characters are built into a new document at once (some tens of
// milliseconds); a change of fewer is made in place as quickly.
constexpr qsizetype kWholeChars = 1 << 20;
}  // namespace

bool TRichEdit::isLongEdit(const QString &added) const {
  const TTextCursor cursor = textCursor();
  const qsizetype removed = cursor.selectionEnd() - cursor.selectionStart();
  return longEdit_ && removed + added.size() >= LongEditChars &&
         PositionCount() - removed + added.size() > kWholeChars && editBlockDepth_ == 0 &&
         !isReadOnly() && CanTakeDocument();
}

bool TRichEdit::runLongEdit(const QString &added) {
  const TTextCursor cursor = textCursor();
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
  const TTextCursor cursor = textCursor();
  const int start = cursor.selectionStart(), end = cursor.selectionEnd();
  if (end - start + added.size() < kWholeChars ||
      PositionCount() - (end - start) + added.size() > kWholeChars || editBlockDepth_ > 0 ||
      isReadOnly() || !CanTakeDocument())
    return false;
  // What stays, with the kinds of its line breaks: those in front of the selection and behind
  // it keep theirs, the new ones take the kind of the break in front of the line the selection
  // starts in, as typing them there would.
  const TTextBlock first = document()->findBlock(start);
  const TTextBlock last = document()->findBlock(end);
  std::vector<uint8_t> breaks;
  const uint8_t lineEnd = LineEndKind();
  if (MayHaveOwnBreaks()) {
    for (TTextBlock block = document()->begin(); block != first;) {
      block = block.next();
      breaks.push_back(PlainDocument::BreakBefore(block, lineEnd));
    }
    const uint8_t typed = first == document()->begin() ? lineEnd : breaks.back();
    breaks.insert(breaks.end(), size_t(added.count(u'\n')), typed);
    for (TTextBlock block = last.next(); block.isValid(); block = block.next())
      breaks.push_back(PlainDocument::BreakBefore(block, lineEnd));
  }
  const QString whole = TextRange(0, start) + added + TextRange(end, PositionCount());
  TakeDocument(PlainDocument::Build(whole, breaks, lineEnd), start + added.size(), pendingKind_);
  return true;
}
