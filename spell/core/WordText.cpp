// SPDX-License-Identifier: GPL-3.0-or-later
#include "WordText.h"

namespace WordText {

QByteArray Clip(QByteArrayView word) {
  return word.first(qMin<qsizetype>(word.size(), kMaxWordLength)).toByteArray();
}

QByteArray Fold(QByteArrayView word) {
  QByteArray out(word.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < word.size(); ++i) out[i] = FoldChar(word[i]);
  return out;
}

int CompareIgnoreCase(QByteArrayView a, QByteArrayView b) {
  const qsizetype n = qMin(a.size(), b.size());
  for (qsizetype i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(FoldChar(a[i]));
    const auto y = static_cast<unsigned char>(FoldChar(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

QByteArray FileNamePart(QByteArrayView path) {
  const qsizetype slash = path.lastIndexOf('/');
  return path.sliced(slash + 1).toByteArray();
}

}  // namespace WordText

namespace WordText {

QByteArray FoldAccents(QByteArrayView word) {
  QByteArray out = word.toByteArray();
  for (char &c : out) {
    switch (static_cast<unsigned char>(c)) {
      case 0x80:
        c = char(0x87);
        break;
      case 0x8E:
        c = char(0x84);
        break;
      case 0x8F:
        c = char(0x86);
        break;
      case 0x90:
        c = char(0x82);
        break;
      case 0x92:
        c = char(0x91);
        break;
      case 0x99:
        c = char(0x94);
        break;
      case 0x9A:
        c = char(0x81);
        break;
      case 0xA5:
        c = char(0xA4);
        break;
      default:
        break;
    }
  }
  return out;
}

}  // namespace WordText
