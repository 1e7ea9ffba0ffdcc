// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/CaseConvert.h"

#include "documents/edit/EditControl.h"

namespace {
// Letters of every script, one character (code point) at a time with its simple case mapping,
// so that a text keeps its length and the caret its place.
template <typename F>
void MapRange(const QChar *from, QChar *to, qsizetype size, F &f) {
  for (qsizetype i = 0; i < size; ++i) {
    if (from[i].isHighSurrogate() && i + 1 < size && from[i + 1].isLowSurrogate()) {
      const char32_t mapped = f(QChar::surrogateToUcs4(from[i], from[i + 1]));
      if (QChar::requiresSurrogates(mapped)) {
        to[i] = QChar(QChar::highSurrogate(mapped));
        to[i + 1] = QChar(QChar::lowSurrogate(mapped));
      } else {
        to[i] = from[i];
        to[i + 1] = from[i + 1];
      }
      ++i;
      continue;
    }
    const char32_t mapped = f(char32_t(from[i].unicode()));
    to[i] = QChar::requiresSurrogates(mapped) ? from[i] : QChar(char16_t(mapped));
  }
}

// Slices of a quarter of a million characters between the questions whether to go on.
constexpr qsizetype kSliceChars = 1 << 18;

// The text mapped slice by slice (a slice never ends between the halves of a surrogate
// pair, and f keeps its state from one to the next); a null string when keepGoing stopped it.
template <typename F>
QString MapCharacters(const QString &s, F f, const TKeepGoing &keepGoing = {}) {
  QString result(s.size(), Qt::Uninitialized);
  const QChar *from = s.constData();
  QChar *to = result.data();
  for (qsizetype at = 0; at < s.size();) {
    if (!KeepGoing(keepGoing, at, s.size())) return QString();
    qsizetype end = std::min(s.size(), at + kSliceChars);
    if (end < s.size() && from[end - 1].isHighSurrogate()) ++end;
    MapRange(from + at, to + at, end - at, f);
    at = end;
  }
  return result;
}

char32_t ToUpper(char32_t c) { return QChar::toUpper(c); }
char32_t ToLower(char32_t c) { return QChar::toLower(c); }
// A letter, or a mark that belongs to the letter before it.
bool InWord(char32_t c) { return QChar::isLetter(c) || QChar::isMark(c); }
}  // namespace

QString MakeLowerCase(const QString &s, const TKeepGoing &keepGoing) {
  return MapCharacters(s, ToLower, keepGoing);
}

QString MakeUpperCase(const QString &s, const TKeepGoing &keepGoing) {
  return MapCharacters(s, ToUpper, keepGoing);
}

QString MakeToggleCase(const QString &s, const TKeepGoing &keepGoing) {
  return MapCharacters(
      s,
      [](char32_t c) {
        if (QChar::isLower(c)) return ToUpper(c);
        if (QChar::isUpper(c) || QChar::isTitleCase(c)) return ToLower(c);
        return c;
      },
      keepGoing);
}

QString MakeTitleCase(const QString &s, const TKeepGoing &keepGoing) {
  bool wordStart = true;
  return MapCharacters(
      s,
      [&wordStart](char32_t c) {
        c = ToLower(c);
        if (wordStart && QChar::isLetter(c)) {
          wordStart = false;
          return QChar::toTitleCase(c);
        }
        if (c != U'\'' && c != U'\u2019' && !InWord(c)) wordStart = true;
        return c;
      },
      keepGoing);
}

QString MakeCapitalized(const QString &s) {
  if (s.isEmpty()) return s;
  QString result = s;
  const qsizetype first = s[0].isHighSurrogate() && s.size() > 1 ? 2 : 1;
  result.replace(0, first, MakeUpperCase(s.first(first)));
  return result;
}

QString ConvertText(TConvertKind kind, const QString &s, const TKeepGoing &keepGoing) {
  switch (kind) {
    case TConvertKind::Lower:
      return MakeLowerCase(s, keepGoing);
    case TConvertKind::Upper:
      return MakeUpperCase(s, keepGoing);
    case TConvertKind::Capitalize:
      return MakeCapitalized(s);
    case TConvertKind::Title:
      return MakeTitleCase(s, keepGoing);
    case TConvertKind::Toggle:
      return MakeToggleCase(s, keepGoing);
  }
  return s;
}

std::optional<TCaseJob> CaseJobFor(const TEditControl &edit, int tag, bool readText) {
  if (tag < 0 || tag > 4) return std::nullopt;
  TCaseJob job;
  job.kind = static_cast<TConvertKind>(tag);
  job.selection = edit.SelLength() > 0;
  if (!job.selection && job.kind == TConvertKind::Capitalize) return std::nullopt;
  job.start = edit.SelStart();
  job.length = job.selection ? edit.SelLength() : edit.PositionCount();
  if (readText) job.text = edit.TextRange(job.From(), job.To());
  return job;
}

void ApplyCaseJob(TEditControl &edit, const TCaseJob &job, const QString &converted) {
  if (job.selection) {
    // The same stretch, even when the selection was moved while the text was converted.
    edit.SetSelection(job.start, job.length);
    edit.ReplaceSelection(converted);
    return;
  }
  if (converted == job.text) return;
  // The conversions keep the length, so the caret can go back where it stood.
  edit.HoldUpdates();
  edit.BeginEditBlock();
  edit.SelectAll();
  edit.ReplaceSelection(converted);
  edit.EndEditBlock();
  edit.SetSelection(job.start, 0);
  edit.ReleaseUpdates();
}

void MenuConvert(TEditControl &edit, int tag) {
  if (const std::optional<TCaseJob> job = CaseJobFor(edit, tag))
    ApplyCaseJob(edit, *job, ConvertText(job->kind, job->text));
}
