// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/WebAddresses.h"

#include <QRegularExpression>
#include <algorithm>

namespace WebAddresses {

namespace {

const QRegularExpression &pattern() {
  static const QRegularExpression re(
      QStringLiteral(
          R"((?:(?:https?|ftp)://|mailto:|www\.)[^\s<>"'()\[\]{}]+[^\s<>"'()\[\]{}.,;:!?])"),
      QRegularExpression::CaseInsensitiveOption);
  return re;
}

// The blanks an address never holds: those of the pattern's \s, which without Unicode
// properties are the ASCII ones (a no-break space may stand inside an address).
bool isBlank(QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

}  // namespace

std::vector<TSpan> Overlapping(QStringView text, qsizetype from, qsizetype to) {
  from = std::clamp<qsizetype>(from, 0, text.size());
  to = std::clamp<qsizetype>(to, from, text.size());
  // Out to the blanks around the query, within reach: matches never cross a blank, so those
  // found in the stretch are those a search of the whole text finds there.
  qsizetype first = from;
  const qsizetype firstBound = std::max<qsizetype>(0, from - Reach);
  while (first > firstBound && !isBlank(text[first - 1])) --first;
  qsizetype last = to;
  const qsizetype lastBound = std::min<qsizetype>(text.size(), to + Reach);
  while (last < lastBound && !isBlank(text[last])) ++last;

  std::vector<TSpan> spans;
  auto it = pattern().globalMatch(text.mid(first, last - first));
  while (it.hasNext()) {
    const QRegularExpressionMatch match = it.next();
    const TSpan span{first + match.capturedStart(), match.capturedLength()};
    if (span.start >= std::max(to, from + 1)) break;
    if (span.end() > from) spans.push_back(span);
  }
  return spans;
}

QStringView At(QStringView text, qsizetype position) {
  for (const TSpan &span : Overlapping(text, position, position))
    if (span.start <= position && position < span.end()) return text.mid(span.start, span.length);
  return {};
}

}  // namespace WebAddresses
