// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// Splits Unicode text into words by the editor's rules: a word is a run of characters that
// become word characters in code page 437 (letters, digits, the apostrophe, the accented
// letters); everything else separates. With skipMarkup, text from '<' to the next '>' is
// skipped. A run of 50 or more word characters is an invalid word and ends the scan.
class TTextWords {
 public:
  TTextWords(QStringView text, bool skipMarkup);

  // The next word, or false at the end (or at an invalid word).
  bool Next();
  QStringView Word() const { return word_; }
  // The word in code page 437.
  QByteArray Oem() const;
  bool DigitsOnly() const { return digitsOnly_; }
  // The run of 50 word characters that stopped the scan, empty when none did.
  QStringView InvalidWord() const { return invalid_; }

  static unsigned char OemByte(char16_t ch);

 private:
  QStringView text_;
  bool skipMarkup_;
  qsizetype pos_ = 0;
  QStringView word_;
  QStringView invalid_;
  bool digitsOnly_ = false;
};
