// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/core/WordList.h"

#include <algorithm>

#include "spell/core/WordText.h"

namespace WordFile {

bool ReadAtMost(QIODevice &file, qint64 limit, QByteArray &bytes) {
  bytes.clear();
  char piece[65536];
  for (;;) {
    const qint64 got = file.read(piece, sizeof piece);
    if (got < 0) return false;
    if (got == 0) return true;
    if (bytes.size() + got > limit) return false;
    bytes.append(piece, got);
  }
}

QList<QByteArray> SplitLines(QByteArrayView text) {
  QList<QByteArray> lines;
  qsizetype start = 0;
  for (qsizetype i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\r' && text[i] != '\n') continue;
    if (i > start) lines.append(text.sliced(start, i - start).toByteArray());
    if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  return lines;
}

QByteArray JoinLines(const QList<QByteArray> &words) {
  QByteArray out;
  for (const QByteArray &word : words) out += word + "\r\n";
  return out;
}

}  // namespace WordFile

namespace {
bool Less(const QByteArray &a, QByteArrayView b) { return WordText::CompareIgnoreCase(a, b) < 0; }
}  // namespace

QList<QByteArray>::const_iterator TWordList::LowerBound(QByteArrayView word) const {
  return std::lower_bound(words_.cbegin(), words_.cend(), word, Less);
}

bool TWordList::Contains(QByteArrayView word) const {
  const auto it = LowerBound(word);
  return it != words_.cend() && WordText::EqualIgnoreCase(*it, word);
}

bool TWordList::Insert(const QByteArray &word) {
  const auto it = LowerBound(word);
  if (it != words_.cend() && WordText::EqualIgnoreCase(*it, word)) return false;
  words_.insert(it - words_.cbegin(), word);
  return true;
}

void TWordList::Assign(const QList<QByteArray> &words) {
  words_ = words;
  std::stable_sort(words_.begin(), words_.end(),
                   [](const QByteArray &a, const QByteArray &b) { return Less(a, b); });
  words_.erase(std::unique(words_.begin(), words_.end(),
                           [](const QByteArray &a, const QByteArray &b) {
                             return WordText::EqualIgnoreCase(a, b);
                           }),
               words_.end());
}
