// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/core/WordText.h"

#include <algorithm>
#include <array>
#include <utility>

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

// Code page 437's accented capitals, each with its small letter.
constexpr std::array<std::pair<unsigned char, unsigned char>, 8> kSmallOf{{{0x80, 0x87},
                                                                           {0x8E, 0x84},
                                                                           {0x8F, 0x86},
                                                                           {0x90, 0x82},
                                                                           {0x92, 0x91},
                                                                           {0x99, 0x94},
                                                                           {0x9A, 0x81},
                                                                           {0xA5, 0xA4}}};

QByteArray FoldAccents(QByteArrayView word) {
  QByteArray out = word.toByteArray();
  for (char &c : out) {
    const auto found = std::find_if(kSmallOf.begin(), kSmallOf.end(), [c](const auto &pair) {
      return pair.first == static_cast<unsigned char>(c);
    });
    if (found != kSmallOf.end()) c = static_cast<char>(found->second);
  }
  return out;
}

}  // namespace WordText
