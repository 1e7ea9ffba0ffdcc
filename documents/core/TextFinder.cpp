// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/TextFinder.h"

#include <algorithm>
#include <vector>

#include "documents/core/WordBoundary.h"

namespace {
// A long replacement asks whether to go on each time it has come this many characters further.
constexpr qsizetype kAskEvery = 1 << 18;

// Adds the start of the count-th occurrence while there are few; forgets them past that.
void ListStart(std::vector<qsizetype> &starts, qsizetype start, qsizetype count) {
  if (count <= TTextFinder::kListed)
    starts.push_back(start);
  else if (!starts.empty())
    std::vector<qsizetype>().swap(starts);
}
}  // namespace

TTextFinder::TTextFinder(const TSearchOptions &options)
    : needle_(options.findText),
      cs_(options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive),
      wholeWord_(options.wholeWord),
      matcher_(options.findText, cs_) {}

QChar TTextFinder::At(QStringView text, qsizetype i) {
  return i >= 0 && i < text.size() ? text[i] : QChar();
}

bool TTextFinder::IsWholeWord(QChar before, QChar after) const {
  if (!wholeWord_) return true;
  return !IsWordCharacter(before) && !IsWordCharacter(after);
}

qsizetype TTextFinder::RawForward(QStringView text, qsizetype from) const {
  if (needle_.isEmpty() || from < 0) return -1;
  return matcher_.indexIn(text, from);
}

qsizetype TTextFinder::RawBackward(QStringView text, qsizetype limit) const {
  if (needle_.isEmpty()) return -1;
  const qsizetype from = std::min(limit, text.size()) - needle_.size();
  if (from < 0) return -1;
  return text.lastIndexOf(QStringView(needle_), from, cs_);
}

qsizetype TTextFinder::FindForward(QStringView text, qsizetype from, qsizetype end) const {
  end = std::min(end, text.size());
  for (qsizetype p = RawForward(text, from); p >= 0 && p + Length() <= end;
       p = RawForward(text, p + 1)) {
    if (IsWholeWord(At(text, p - 1), At(text, p + Length()))) return p;
  }
  return -1;
}

qsizetype TTextFinder::FindBackward(QStringView text, qsizetype begin, qsizetype limit) const {
  for (qsizetype p = RawBackward(text, limit); p >= begin && p >= 0;
       p = RawBackward(text, p + Length() - 1)) {
    if (IsWholeWord(At(text, p - 1), At(text, p + Length()))) return p;
  }
  return -1;
}

TTextFinder::TReplaced TTextFinder::ReplaceForward(QStringView text, qsizetype from,
                                                   const QString &replacement,
                                                   const TKeepGoing &keepGoing) const {
  TReplaced result;
  qsizetype nextAsk = from;
  result.lastEnd = from;
  // The character in front of a candidate: the original text's, unless the candidate starts
  // right behind the previous occurrence, where the text now holds the replacement.
  qsizetype p = RawForward(text, from);
  while (p >= 0) {
    if (p >= nextAsk) {
      if (!KeepGoing(keepGoing, p, text.size())) return result;
      nextAsk = p + kAskEvery;
    }
    QChar before = At(text, p - 1);
    if (result.count > 0 && p == result.lastEnd)
      before = result.text.isEmpty() ? At(text, result.firstStart - 1) : result.text.back();
    if (!IsWholeWord(before, At(text, p + Length()))) {
      p = RawForward(text, p + 1);
      continue;
    }
    if (result.count == 0)
      result.firstStart = p;
    else
      result.text += text.mid(result.lastEnd, p - result.lastEnd);
    result.text += replacement;
    result.lastEnd = p + Length();
    ListStart(result.starts, p, ++result.count);
    p = RawForward(text, result.lastEnd);
  }
  return result;
}

TTextFinder::TReplacedBackward TTextFinder::ReplaceBackward(QStringView text, qsizetype limit,
                                                            const QString &replacement,
                                                            const TKeepGoing &keepGoing) const {
  TReplacedBackward result;
  limit = std::clamp<qsizetype>(limit, 0, text.size());
  qsizetype nextAsk = limit;
  result.firstStart = limit;
  // Pieces of the new text, last first; follow is the character behind the current limit
  // in the text as it stands after the replacements made so far.
  std::vector<QStringView> pieces;
  QChar follow = At(text, limit);
  qsizetype p = RawBackward(text, limit);
  while (p >= 0) {
    if (p <= nextAsk) {
      if (!KeepGoing(keepGoing, limit - p, limit)) return result;
      nextAsk = p - kAskEvery;
    }
    const qsizetype end = p + Length();
    QChar after = end == result.firstStart ? follow : At(text, end);
    if (!IsWholeWord(At(text, p - 1), after)) {
      p = RawBackward(text, end - 1);
      continue;
    }
    const QStringView between = text.mid(end, result.firstStart - end);
    pieces.push_back(between);
    pieces.push_back(replacement);
    if (!replacement.isEmpty())
      follow = replacement.front();
    else if (!between.isEmpty())
      follow = between.front();
    result.firstStart = p;
    ListStart(result.starts, p, ++result.count);
    p = RawBackward(text, p);
  }
  qsizetype size = 0;
  for (const auto &piece : pieces) size += piece.size();
  result.text.reserve(size);
  for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) result.text += *it;
  return result;
}
