// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Helpers for words as code page 437 byte strings. Letter case is folded for the 26 ASCII
// letters only; accented letters keep their case.
namespace WordText {

// Words are at most this many characters; longer input is cut.
inline constexpr int kMaxWordLength = 50;

inline char FoldChar(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// The first kMaxWordLength characters of word.
QByteArray Clip(QByteArrayView word);
// word with its ASCII capitals in lower case.
QByteArray Fold(QByteArrayView word);
// word with its accented capitals that have a small letter in code page 437 (É Ä Å Ç Æ Ö Ü Ñ)
// in lower case.
QByteArray FoldAccents(QByteArrayView word);

// Compares with ASCII letter case ignored: <0, 0 or >0. Bytes compare unsigned, so the
// order is the byte order of the folded words.
int CompareIgnoreCase(QByteArrayView a, QByteArrayView b);
inline bool EqualIgnoreCase(QByteArrayView a, QByteArrayView b) {
  return a.size() == b.size() && CompareIgnoreCase(a, b) == 0;
}

// The code page 437 byte of the German sharp s.
inline constexpr unsigned char kSharpS = 0xE1;

// True for the bytes the word scanner puts into a word: the apostrophe, digits, ASCII
// letters, the code page 437 letters 0x80 to 0xA5 and the sharp s (German words are written
// with it, so it cannot end a word).
inline bool IsWordChar(unsigned char c) {
  return c == '\'' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
         (c >= 0x80 && c <= 0xA5) || c == kSharpS;
}

// The file-name part of a path (after the last '/').
QByteArray FileNamePart(QByteArrayView path);

}  // namespace WordText
