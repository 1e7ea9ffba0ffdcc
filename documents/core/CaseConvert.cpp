#include "CaseConvert.h"

#include "EditControl.h"

namespace {
bool IsLower(char16_t c) { return c >= u'a' && c <= u'z'; }
bool IsUpper(char16_t c) { return c >= u'A' && c <= u'Z'; }
char16_t ToUpper(char16_t c) { return IsLower(c) ? char16_t(c - 32) : c; }
char16_t ToLower(char16_t c) { return IsUpper(c) ? char16_t(c + 32) : c; }

template <typename F>
QString MapCharacters(const QString &s, F f) {
  QString result(s.size(), Qt::Uninitialized);
  const char16_t *from = reinterpret_cast<const char16_t *>(s.constData());
  char16_t *to = reinterpret_cast<char16_t *>(result.data());
  for (qsizetype i = 0; i < s.size(); ++i) to[i] = f(from[i]);
  return result;
}
}  // namespace

QString MakeLowerCase(const QString &s) {
  return MapCharacters(s, [](char16_t c) { return ToLower(c); });
}

QString MakeUpperCase(const QString &s) {
  return MapCharacters(s, [](char16_t c) { return ToUpper(c); });
}

QString MakeToggleCase(const QString &s) {
  return MapCharacters(s, [](char16_t c) { return IsLower(c) ? ToUpper(c) : ToLower(c); });
}

QString MakeTitleCase(const QString &s) {
  bool wordStart = true;
  return MapCharacters(s, [&wordStart](char16_t c) {
    c = ToLower(c);
    if (wordStart && IsLower(c)) {
      wordStart = false;
      return ToUpper(c);
    }
    if (c != u'\'' && !IsLower(c)) wordStart = true;
    return c;
  });
}

QString MakeCapitalized(const QString &s) {
  if (s.isEmpty()) return s;
  QString result = s;
  result[0] = QChar(ToUpper(s[0].unicode()));
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
