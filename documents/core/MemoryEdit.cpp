// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/MemoryEdit.h"

#include <algorithm>

#include "documents/core/WordBoundary.h"
#include "platform/core/LineEnds.h"

namespace {
QString &SharedClipboard() {
  static QString clipboard;
  return clipboard;
}
}  // namespace

TMemoryEdit::TMemoryEdit(const QString &text, const QString &lineEnd) : lineEnd_(lineEnd) {
  TMemoryEdit::SetText(text);
}

QString TMemoryEdit::Text() const {
  if (lineEnd_ == QStringLiteral("\n")) return text_;
  QString result = text_;
  result.replace(u'\n', lineEnd_);
  return result;
}

void TMemoryEdit::SetText(const QString &text) {
  text_ = LineEnds::ToNewlines(text);
  ++changeCount_;
  selStart_ = 0;
  selLength_ = 0;
  undo_.clear();
  redo_.clear();
  openStep_ = TStep();
  cleanIndex_ = 0;
}

QString TMemoryEdit::LineEnd() const { return lineEnd_; }

void TMemoryEdit::SetLineEnd(const QString &lineEnd) { lineEnd_ = lineEnd; }

qsizetype TMemoryEdit::TextLength() const {
  return text_.size() + text_.count(u'\n') * (lineEnd_.size() - 1);
}

void TMemoryEdit::Clear() { SetText(QString()); }

qsizetype TMemoryEdit::SelStart() const { return selStart_; }

qsizetype TMemoryEdit::SelLength() const { return selLength_; }

void TMemoryEdit::SetSelection(qsizetype start, qsizetype length) {
  selStart_ = std::clamp<qsizetype>(start, 0, text_.size());
  selLength_ = std::clamp<qsizetype>(length, 0, text_.size() - selStart_);
}

QString TMemoryEdit::SelText() const { return text_.mid(selStart_, selLength_); }

void TMemoryEdit::ReplaceSelection(const QString &text) {
  ReplaceSelectionAs(text, TUndoKind::Unknown);
}

void TMemoryEdit::TypeText(const QString &text) { ReplaceSelectionAs(text, TUndoKind::Typing); }

void TMemoryEdit::ReplaceSelectionAs(const QString &text, TUndoKind kind) {
  const QString inserted = LineEnds::ToNewlines(text);
  if (inserted.isEmpty() && selLength_ == 0) return;

  TStep step;
  step.kind = kind;
  step.selStartBefore = selStart_;
  step.selLengthBefore = selLength_;
  step.changes.push_back({selStart_, text_.mid(selStart_, selLength_), inserted});
  ApplyChange(selStart_, selLength_, inserted);
  selStart_ += inserted.size();
  selLength_ = 0;
  PushStep(std::move(step));
}

void TMemoryEdit::ApplyChange(qsizetype position, qsizetype removeLength, const QString &inserted) {
  ++changeCount_;
  if (position == 0 && removeLength == text_.size())
    text_ = inserted;  // the whole text: share the new one instead of copying it
  else
    text_.replace(position, removeLength, inserted);
}

void TMemoryEdit::PushStep(TStep step) {
  redo_.clear();
  if (blockDepth_ > 0) {
    // Inside an edit block the change joins the block's step; the block keeps the
    // selection from before its first change and its kind stays unknown.
    if (openStep_.changes.empty()) {
      openStep_.selStartBefore = step.selStartBefore;
      openStep_.selLengthBefore = step.selLengthBefore;
    }
    for (auto &change : step.changes) openStep_.changes.push_back(std::move(change));
    return;
  }
  if (cleanIndex_ && *cleanIndex_ > undo_.size()) cleanIndex_.reset();
  undo_.push_back(std::move(step));
  if (undoLimit_ >= 0 && undo_.size() > static_cast<size_t>(std::max(undoLimit_, 1)))
    DropOldestStep();
}

void TMemoryEdit::DropOldestStep() {
  undo_.erase(undo_.begin());
  // The saved state moves one step closer, or out of reach.
  if (cleanIndex_) {
    if (*cleanIndex_ == 0)
      cleanIndex_.reset();
    else
      --*cleanIndex_;
  }
}

void TMemoryEdit::SelectAll() { SetSelection(0, text_.size()); }

QString TMemoryEdit::TextRange(qsizetype start, qsizetype end) const {
  start = std::clamp<qsizetype>(start, 0, text_.size());
  end = std::clamp<qsizetype>(end, start, text_.size());
  return text_.mid(start, end - start);
}

qsizetype TMemoryEdit::PositionCount() const { return text_.size(); }

void TMemoryEdit::BeginEditBlock() {
  if (blockDepth_++ == 0) openStep_ = TStep();
}

void TMemoryEdit::EndEditBlock() {
  if (blockDepth_ == 0) return;
  if (--blockDepth_ > 0) return;
  TStep step = std::move(openStep_);
  openStep_ = TStep();
  if (!step.changes.empty()) {
    step.kind = TUndoKind::Unknown;
    PushStep(std::move(step));
  }
}

void TMemoryEdit::Cut() {
  if (selLength_ == 0) return;
  Copy();
  ReplaceSelectionAs(QString(), TUndoKind::Cut);
}

void TMemoryEdit::Copy() {
  if (selLength_ > 0) SharedClipboard() = SelText();
}

void TMemoryEdit::Paste() {
  if (!SharedClipboard().isEmpty()) ReplaceSelectionAs(SharedClipboard(), TUndoKind::Paste);
}

void TMemoryEdit::DeleteSelection() { ReplaceSelectionAs(QString(), TUndoKind::Delete); }

void TMemoryEdit::Undo() {
  if (undo_.empty() || blockDepth_ > 0) return;
  TStep step = std::move(undo_.back());
  undo_.pop_back();
  for (auto it = step.changes.rbegin(); it != step.changes.rend(); ++it)
    ApplyChange(it->position, it->inserted.size(), it->removed);
  SetSelection(step.selStartBefore, step.selLengthBefore);
  redo_.push_back(std::move(step));
}

void TMemoryEdit::Redo() {
  if (redo_.empty() || blockDepth_ > 0) return;
  TStep step = std::move(redo_.back());
  redo_.pop_back();
  for (const auto &change : step.changes)
    ApplyChange(change.position, change.removed.size(), change.inserted);
  const TChange &last = step.changes.back();
  SetSelection(last.position + last.inserted.size(), 0);
  undo_.push_back(std::move(step));
}

bool TMemoryEdit::CanUndo() const { return !undo_.empty(); }

bool TMemoryEdit::CanRedo() const { return !redo_.empty(); }

TUndoKind TMemoryEdit::UndoKind() const {
  return undo_.empty() ? TUndoKind::Unknown : undo_.back().kind;
}

TUndoKind TMemoryEdit::RedoKind() const {
  return redo_.empty() ? TUndoKind::Unknown : redo_.back().kind;
}

int TMemoryEdit::UndoLimit() const { return undoLimit_; }

void TMemoryEdit::SetUndoLimit(int limit) {
  undoLimit_ = std::max(limit, 1);
  while (undo_.size() > static_cast<size_t>(undoLimit_)) DropOldestStep();
}

// The text counts as modified unless the history stands exactly where it stood when the
// flag was last cleared (undoing back to the saved state clears it again).
bool TMemoryEdit::Modified() const {
  if (!openStep_.changes.empty()) return true;
  return !cleanIndex_ || *cleanIndex_ != undo_.size();
}

void TMemoryEdit::SetModified(bool modified) {
  if (modified)
    cleanIndex_.reset();
  else
    cleanIndex_ = undo_.size();
}

bool TMemoryEdit::HideSelection() const { return hideSelection_; }

void TMemoryEdit::SetHideSelection(bool hide) { hideSelection_ = hide; }

void TMemoryEdit::SetFocus() { focused_ = true; }

bool TMemoryEdit::HasFocus() const { return focused_; }

void TMemoryEdit::Repaint() {
  if (holdDepth_ == 0) ++repaintCount_;
}

QPoint TMemoryEdit::ClientOrigin() const { return QPoint(0, 0); }

QPoint TMemoryEdit::PositionToScreen(qsizetype position) const {
  position = std::clamp<qsizetype>(position, 0, text_.size());
  const qsizetype lineStart = text_.lastIndexOf(u'\n', position - 1) + 1;
  const qsizetype line = QStringView(text_).left(lineStart).count(u'\n');
  return ClientOrigin() + QPoint(int(position - lineStart) * CharWidth, int(line) * LineHeight);
}

qsizetype TMemoryEdit::Caret() const { return selStart_ + selLength_; }

int TMemoryEdit::CaretLine() const { return int(QStringView(text_).left(Caret()).count(u'\n')); }

int TMemoryEdit::CaretColumn() const {
  const qsizetype caret = Caret();
  return int(caret - (text_.lastIndexOf(u'\n', caret - 1) + 1));
}

QString TMemoryEdit::CaretWord() const {
  qsizetype caret = Caret();
  if (caret == 0) return QString();
  qsizetype start = caret;
  // Inside or right after a word: that word. Otherwise the nearest word before the caret.
  if (!(start < text_.size() && IsWordCharacter(text_[start])) &&
      !IsWordCharacter(text_[start - 1])) {
    while (start > 0 && !IsWordCharacter(text_[start - 1])) --start;
    if (start == 0) return QString();
  }
  qsizetype end = start;
  while (start > 0 && IsWordCharacter(text_[start - 1])) --start;
  while (end < text_.size() && IsWordCharacter(text_[end])) ++end;
  return text_.mid(start, end - start).trimmed();
}

TTextAlignment TMemoryEdit::Alignment() const { return alignment_; }

void TMemoryEdit::SetAlignment(TTextAlignment alignment) { alignment_ = alignment; }

bool TMemoryEdit::WordWrap() const { return wordWrap_; }

void TMemoryEdit::SetWordWrap(bool wrap) { wordWrap_ = wrap; }

void TMemoryEdit::HoldUpdates() { ++holdDepth_; }

void TMemoryEdit::ReleaseUpdates() {
  if (holdDepth_ > 0 && --holdDepth_ == 0) Repaint();
}

bool TMemoryEdit::UpdatesHeld() const { return holdDepth_ > 0; }

int TMemoryEdit::RepaintCount() const { return repaintCount_; }

QString TMemoryEdit::ClipboardText() { return SharedClipboard(); }

void TMemoryEdit::SetClipboardText(const QString &text) { SharedClipboard() = text; }
