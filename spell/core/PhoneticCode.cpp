// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/core/PhoneticCode.h"

#include "spell/core/WordText.h"

namespace {

// Indexed by a letter's position in the alphabet; only the first 26 characters are used.
constexpr char kDigits[] = "0123012202245501262301020220000002000000000000000000011000055";

char Upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

}  // namespace

QByteArray PhoneticCode(QByteArrayView text, bool pad) {
  text = text.first(qMin<qsizetype>(text.size(), WordText::kMaxWordLength));
  QByteArray code;
  if (!text.isEmpty()) code.append(Upper(text[0]));
  for (qsizetype i = 1; i < text.size() && code.size() < 4; ++i) {
    const char c = Upper(text[i]);
    const char digit = (c >= 'A' && c <= 'Z') ? kDigits[c - 'A'] : '\0';
    if (digit == '0') continue;
    if (code.size() >= 2 && code.back() == digit) continue;
    code.append(digit);
  }
  while (pad && code.size() < 4) code.append('0');
  return code;
}
