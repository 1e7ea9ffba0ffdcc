#include "CEBuffer.h"

#include "CodePage.h"
#include "EditControl.h"

namespace {

// Code page 437 bytes of text, one byte per UTF-16 unit so that buffer positions stay in step
// with the control's positions (a character outside the basic plane becomes two '?').
QByteArray ToBufferBytes(QString text) {
  for (QChar &ch : text)
    if (ch.isSurrogate()) ch = u'?';
  return CodePage::ToOem437(text);
}

// Extra buffer positions a line break takes beyond the one it counts for in the control.
int ExtraPerLineBreak(const TEditControl &control) { return int(control.LineEnd().size()) - 1; }

}  // namespace

TCEBuffer::TCEBuffer(TEditControl &control) : TPCharBuffer(&control), seenChanges_(control.ChangeCount()) {
  storage_.reserve(BufferSize() + 4096);
  Reset();
  LoadText();
}

int TCEBuffer::BufferSize() const { return int(control_->TextLength()) + 1; }

void TCEBuffer::LoadText() {
  storage_ = ToBufferBytes(control_->Text());
  storage_.append('\0');
  end_ = int(storage_.size());
  // The text may have changed before the scan position (the user edits while the dialog
  // waits): count the line breaks up to it afresh so that selections stay in place.
  if (position_ > end_) position_ = end_;
  lineBreaksPassed_ = int(storage_.left(position_ - 1).count('\r'));
}

void TCEBuffer::SelectWord() {
  // Every line break counted as CR in the text takes the line end's length; the control
  // counts it once. With a one-character line end no correction is needed.
  const int extra = ExtraPerLineBreak(*control_);
  const int breaks = extra > 0 ? int(storage_.left(wordStart_ - 1).count('\r')) : 0;
  control_->SetSelection(wordStart_ - breaks * extra - 1, wordEnd_ - wordStart_);
  control_->Repaint();
}

void TCEBuffer::ReplaceWord(const QString &text) {
  control_->SetFocus();
  SelectWord();
  position_ += wordStart_ - wordEnd_;
  control_->ReplaceSelection(text);
  position_ += int(text.size());
  LoadText();
}

bool TCEBuffer::GetModified() const { return control_->ChangeCount() != seenChanges_; }

void TCEBuffer::SetModified(bool modified) {
  // Only "seen" can be recorded: the control marks itself modified when its text changes, and
  // a check never clears that mark, so a document closed during a check still asks to save.
  if (!modified) seenChanges_ = control_->ChangeCount();
}

int TCEBuffer::CaretScreenTop() const { return control_->ClientOrigin().y(); }
