#pragma once

#include <QString>

class TEditControl;

// Letter-case conversions of the Character menu. They know only the ASCII letters A to Z and
// a to z; every other character, accented letters included, stays as it is.

// The conversions by the tag of the command that asks for them.
enum class TConvertKind { Lower = 0, Upper = 1, Capitalize = 2, Title = 3, Toggle = 4 };

QString MakeLowerCase(const QString &s);
QString MakeUpperCase(const QString &s);
// Every a-z upper-cased and every A-Z lower-cased.
QString MakeToggleCase(const QString &s);
// Lower-cases s, then upper-cases each letter that starts a word. A word starts after any
// character that is neither a letter a-z nor an apostrophe.
QString MakeTitleCase(const QString &s);
// The first character upper-cased, the rest unchanged.
QString MakeCapitalized(const QString &s);

QString ConvertText(TConvertKind kind, const QString &s);

// Converts the selection of edit, or its whole text when nothing is selected (Capitalize:
// the selection only). A converted selection leaves the caret after it with nothing
// selected; a whole-text conversion keeps the caret where it was. The change is one undo
// step. tag is the command's tag (0 to 4); other values do nothing.
void MenuConvert(TEditControl &edit, int tag);
