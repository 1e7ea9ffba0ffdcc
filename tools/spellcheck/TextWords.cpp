// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/spellcheck/TextWords.h"

#include <array>
#include <memory>

#include "platform/core/CodePage.h"
#include "spell/core/WordText.h"

namespace {

// The code page 437 byte of every UTF-16 unit (best fit), computed once.
const std::array<unsigned char, 65536> &OemTable() {
  static const auto table = [] {
    auto t = std::make_unique<std::array<unsigned char, 65536>>();
    for (int u = 0; u < 65536; ++u) {
      const QChar ch{char16_t(u)};
      (*t)[u] = ch.isSurrogate()
                    ? '?'
                    : static_cast<unsigned char>(CodePage::ToOem437(QStringView(&ch, 1))[0]);
    }
    return t;
  }();
  return *table;
}

}  // namespace

unsigned char TTextWords::OemByte(char16_t ch) { return OemTable()[ch]; }

TTextWords::TTextWords(QStringView text, bool skipMarkup) : text_(text), skipMarkup_(skipMarkup) {
  OemTable();
}

bool TTextWords::Next() {
  const auto &table = OemTable();
  const qsizetype end = text_.size();
  bool inTag = false;
  while (pos_ < end) {
    const char16_t ch = text_[pos_].unicode();
    if (!inTag && WordText::IsWordChar(table[ch])) break;
    if (skipMarkup_) {
      if (inTag && ch == u'>')
        inTag = false;
      else if (ch == u'<')
        inTag = true;
    }
    ++pos_;
  }
  if (pos_ >= end) return false;
  const qsizetype start = pos_;
  digitsOnly_ = true;
  while (pos_ < end && WordText::IsWordChar(table[text_[pos_].unicode()])) {
    const char16_t ch = text_[pos_].unicode();
    if (ch < u'0' || ch > u'9') digitsOnly_ = false;
    ++pos_;
    if (pos_ - start == WordText::kMaxWordLength) {
      invalid_ = text_.sliced(start, pos_ - start);
      pos_ = end;
      return false;
    }
  }
  word_ = text_.sliced(start, pos_ - start);
  return true;
}

QByteArray TTextWords::Oem() const {
  const auto &table = OemTable();
  QByteArray bytes(word_.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < word_.size(); ++i) bytes[i] = char(table[word_[i].unicode()]);
  return bytes;
}
