// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/core/CEBuffer.h"

#include <algorithm>

#include "documents/edit/EditControl.h"
#include "platform/core/CodePage.h"
#include "platform/core/LineEnds.h"

namespace {

// Code page 437 bytes of text, one byte per UTF-16 unit so that buffer positions stay in step
// with the control's positions (a character outside the basic plane becomes two '?').
QByteArray ToBufferBytes(QString text) {
  const bool hasSurrogates =
      std::any_of(text.cbegin(), text.cend(), [](QChar ch) { return ch.isSurrogate(); });
  if (hasSurrogates)  // rare: only then is the text copied
    for (QChar &ch : text)
      if (ch.isSurrogate()) ch = u'?';
  return CodePage::ToOem437(text);
}

// Extra buffer positions a line break takes beyond the one it counts for in the control.
int ExtraPerLineBreak(const TEditControl &control) { return int(control.LineEnd().size()) - 1; }

}  // namespace

TCEBuffer::TCEBuffer(TEditControl &control)
    : TPCharBuffer(&control), seenChanges_(control.ChangeCount()) {
  Reset();
  TCEBuffer::LoadText();
}

void TCEBuffer::LoadText() {
  // The copy is read again only when the control's text changed since it was last read.
  if (storage_.isEmpty() || control_->ChangeCount() != seenChanges_) {
    storage_ = ToBufferBytes(control_->Text());
    storage_.append('\0');
    seenChanges_ = control_->ChangeCount();
  }
  end_ = int(storage_.size());
  // The text may have changed before the scan position (the user edits while the dialog
  // waits): count the line breaks up to it afresh so that selections stay in place.
  if (position_ > end_) position_ = end_;
  lineBreaksPassed_ = int(QByteArrayView(storage_).first(position_ - 1).count('\r'));
}

void TCEBuffer::SelectWord() {
  SelectInControl();
  control_->Repaint();
}

void TCEBuffer::SelectInControl() {
  // Every line break counted as CR in the text takes the line end's length; the control
  // counts it once. With a one-character line end no correction is needed. The line breaks
  // passed are those before the scan position, and between the word and that position there
  // are only word characters.
  const int extra = ExtraPerLineBreak(*control_);
  control_->SetSelection(wordStart_ - lineBreaksPassed_ * extra - 1, wordEnd_ - wordStart_);
}

void TCEBuffer::ReplaceWord(const QString &text) {
  // Edits the buffer has not seen (made while the dialog waited) may have moved the word:
  // the copy is read again and the word looked for near its old place, so that the edit does
  // not make the replacement land on other text. A word the user removed is not replaced.
  if (GetModified() && !FindWordAgain()) {
    BackToWordStart();
    return;
  }
  control_->SetFocus();
  // The selection is replaced at once: painting it first would only cost time (a thousand
  // automatic replacements would each wait for a full repaint). The control repaints with
  // the next events.
  SelectInControl();
  position_ += wordStart_ - wordEnd_;
  control_->ReplaceSelection(text);
  QString stored = LineEnds::ToNewlines(text);
  const bool hasLineBreak = stored.contains(u'\n');
  if (hasLineBreak) stored.replace(u'\n', control_->LineEnd());
  const QByteArray bytes = ToBufferBytes(stored);
  position_ += int(bytes.size());
  if (hasLineBreak) {
    LoadText();
    return;
  }
  // The copy is patched in place, so that many replacements in a long text do not read the
  // whole text each time.
  storage_.replace(wordStart_ - 1, wordEnd_ - wordStart_, bytes);
  end_ = int(storage_.size());
  seenChanges_ = control_->ChangeCount();
}

bool TCEBuffer::FindWordAgain() {
  const QByteArray word = storage_.mid(wordStart_ - 1, wordEnd_ - wordStart_);
  const qsizetype oldStart = wordStart_ - 1;
  LoadText();
  if (word.isEmpty()) return false;
  // at is 0-based; At() counts from 1, and is NUL outside the text.
  const auto wholeWordAt = [&](qsizetype at) {
    return !IsWordChar(At(int(at))) && !IsWordChar(At(int(at + word.size()) + 1));
  };
  qsizetype after = storage_.indexOf(word, oldStart);
  while (after >= 0 && !wholeWordAt(after)) after = storage_.indexOf(word, after + 1);
  qsizetype before = oldStart > 0 ? storage_.lastIndexOf(word, oldStart - 1) : -1;
  while (before >= 0 && !wholeWordAt(before))
    before = before > 0 ? storage_.lastIndexOf(word, before - 1) : -1;
  qsizetype found = after;
  if (before >= 0 && (after < 0 || oldStart - before < after - oldStart)) found = before;
  if (found < 0) return false;
  wordStart_ = int(found) + 1;
  wordEnd_ = wordStart_ + int(word.size());
  position_ = wordEnd_;
  lineBreaksPassed_ = int(QByteArrayView(storage_).first(found).count('\r'));
  return true;
}

bool TCEBuffer::GetModified() const { return control_->ChangeCount() != seenChanges_; }

void TCEBuffer::SetModified(bool modified) {
  // Only "seen" can be recorded: the control marks itself modified when its text changes, and
  // a check never clears that mark, so a document closed during a check still asks to save.
  if (!modified) seenChanges_ = control_->ChangeCount();
}

int TCEBuffer::CaretScreenTop() const { return control_->ClientOrigin().y(); }
