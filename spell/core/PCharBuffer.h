// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "spell/core/AbsBuffer.h"

// The scanning logic over a NUL-terminated text. Made from a plain text, it scans a copy of
// that text; TCEBuffer makes it read an edit control instead.
class TPCharBuffer : public TAbsBuffer {
 public:
  // text is in code page 437.
  explicit TPCharBuffer(const QByteArray &text);

  void LoadText() override;
  QByteArray NextWord() override;
  void BackToWordStart() override;
  // Takes the new text as the source (code page 437 of text) and reloads it.
  void ReplaceWord(const QString &text) override;
  bool GetModified() const override { return modified_; }
  void SetModified(bool modified) override { modified_ = modified; }

  int LineBreaksPassed() const { return lineBreaksPassed_; }

 protected:
  explicit TPCharBuffer(TEditControl *control);

  bool modified_ = false;
  QByteArray source_;
  int lineBreaksPassed_ = 0;
};
