// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/core/PCharBuffer.h"

#include "platform/core/CodePage.h"

TPCharBuffer::TPCharBuffer(TEditControl *control) : TAbsBuffer(control) {}

TPCharBuffer::TPCharBuffer(const QByteArray &text) : TAbsBuffer(nullptr), source_(text) {
  Reset();
  TPCharBuffer::LoadText();
}

void TPCharBuffer::LoadText() {
  storage_ = source_;
  storage_.append('\0');
  end_ = int(storage_.size());
}

QByteArray TPCharBuffer::NextWord() {
  wordStart_ = wordEnd_ = position_;
  digitsOnly_ = true;
  bool inTag = false;
  while (position_ < end_ && (inTag || !IsWordChar(At(position_)))) {
    const unsigned char ch = At(position_);
    if (ch == '\r') ++lineBreaksPassed_;
    if (skipMarkup_) {
      if (inTag && ch == '>')
        inTag = false;
      else if (ch == '<')
        inTag = true;
    }
    ++position_;
  }
  if (position_ >= end_) return {};
  wordStart_ = position_;
  while (position_ < end_ && IsWordChar(At(position_))) {
    if (!IsDigit(At(position_))) digitsOnly_ = false;
    ++position_;
    wordEnd_ = position_;
    if (wordEnd_ - wordStart_ == kMaxWordLength) {
      ShowMessage(QStringLiteral("Aborting spell check (Invalid word): \r") +
                  CodePage::FromOem437(storage_.mid(wordStart_ - 1, kMaxWordLength)));
      // The rest of the text is not scanned: to the caller this is its end.
      position_ = end_;
      return {};
    }
  }
  return storage_.mid(wordStart_ - 1, wordEnd_ - wordStart_);
}

void TPCharBuffer::BackToWordStart() {
  while (position_ > 1 && IsWordChar(At(position_))) --position_;
}

void TPCharBuffer::ReplaceWord(const QString &text) {
  const QByteArray bytes = CodePage::ToOem437(text);
  source_.replace(wordStart_ - 1, wordEnd_ - wordStart_, bytes);
  position_ = wordStart_ + int(bytes.size());
  LoadText();
}
