// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "spell/core/PCharBuffer.h"

// A buffer bound to an edit control: the text is read from the control, and the word found
// is selected or replaced in it. The control's text uses the document's own line end, while
// the control counts a line break as one position; the line breaks passed map between them.
class TCEBuffer : public TPCharBuffer {
 public:
  explicit TCEBuffer(TEditControl &control);

  void LoadText() override;
  void SelectWord() override;
  void ReplaceWord(const QString &text) override;
  bool GetModified() const override;
  void SetModified(bool modified) override;
  int CaretScreenTop() const override;

 private:
  // Selects the last word in the control, without repainting it.
  void SelectInControl();
  // Reads the changed text again and finds the last word in it: the whole-word occurrence
  // nearest its old place becomes the last word. False when the word is gone.
  bool FindWordAgain();

  // The control's change count when the text was last taken in. "Modified" here means changed
  // since then; the document's own modified flag is left to the document.
  quint64 seenChanges_ = 0;
};
