// SPDX-License-Identifier: GPL-3.0-or-later
#include "CaseConvert.h"

#include "EditControl.h"

namespace {
// Letters of every script, one character (code point) at a time with its simple case mapping,
// so that a text keeps its length and the caret its place.
template <typename F>
QString MapCharacters(const QString &s, F f) {
  QString result(s.size(), Qt::Uninitialized);
  const QChar *from = s.constData();
  QChar *to = result.data();
  for (qsizetype i = 0; i < s.size(); ++i) {
    if (from[i].isHighSurrogate() && i + 1 < s.size() && from[i + 1].isLowSurrogate()) {
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
  return result;
}

char32_t ToUpper(char32_t c) { return QChar::toUpper(c); }
char32_t ToLower(char32_t c) { return QChar::toLower(c); }
// A letter, or a mark that belongs to the letter before it.
bool InWord(char32_t c) { return QChar::isLetter(c) || QChar::isMark(c); }
}  // namespace

QString MakeLowerCase(const QString &s) { return MapCharacters(s, ToLower); }

QString MakeUpperCase(const QString &s) { return MapCharacters(s, ToUpper); }

QString MakeToggleCase(const QString &s) {
  return MapCharacters(s, [](char32_t c) {
    if (QChar::isLower(c)) return ToUpper(c);
    if (QChar::isUpper(c) || QChar::isTitleCase(c)) return ToLower(c);
    return c;
  });
}

QString MakeTitleCase(const QString &s) {
  bool wordStart = true;
  return MapCharacters(s, [&wordStart](char32_t c) {
    c = ToLower(c);
    if (wordStart && QChar::isLetter(c)) {
      wordStart = false;
      return QChar::toTitleCase(c);
    }
    if (c != U'\'' && c != U'\u2019' && !InWord(c)) wordStart = true;
    return c;
  });
}

QString MakeCapitalized(const QString &s) {
  if (s.isEmpty()) return s;
  QString result = s;
  const qsizetype first = s[0].isHighSurrogate() && s.size() > 1 ? 2 : 1;
  result.replace(0, first, MakeUpperCase(s.first(first)));
  return result;
}

QString ConvertText(TConvertKind kind, const QString &s) {
  switch (kind) {
    case TConvertKind::Lower:
      return MakeLowerCase(s);
    case TConvertKind::Upper:
      return MakeUpperCase(s);
    case TConvertKind::Capitalize:
      return MakeCapitalized(s);
    case TConvertKind::Title:
      return MakeTitleCase(s);
    case TConvertKind::Toggle:
      return MakeToggleCase(s);
  }
  return s;
}

void MenuConvert(TEditControl &edit, int tag) {
  if (tag < 0 || tag > 4) return;
  const auto kind = static_cast<TConvertKind>(tag);
  if (edit.SelLength() > 0) {
    const QString converted = ConvertText(kind, edit.SelText());
    edit.ReplaceSelection(converted);
    return;
  }
  if (kind == TConvertKind::Capitalize) return;

  const QString text = edit.TextRange(0, edit.PositionCount());
  const QString converted = ConvertText(kind, text);
  if (converted == text) return;
  // The conversions keep the length, so the caret can go back where it stood.
  const qsizetype caret = edit.SelStart();
  edit.HoldUpdates();
  edit.BeginEditBlock();
  edit.SelectAll();
  edit.ReplaceSelection(converted);
  edit.EndEditBlock();
  edit.SetSelection(caret, 0);
  edit.ReleaseUpdates();
}
