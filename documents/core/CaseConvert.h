// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class TEditControl;

// Letter-case conversions of the Character menu. They know the letters of every script, each
// character mapped on its own, so a converted text keeps its length (a sharp s stays one).

// The conversions by the tag of the command that asks for them.
enum class TConvertKind { Lower = 0, Upper = 1, Capitalize = 2, Title = 3, Toggle = 4 };

QString MakeLowerCase(const QString &s);
QString MakeUpperCase(const QString &s);
// Every lower-case letter upper-cased and every upper-case one lower-cased.
QString MakeToggleCase(const QString &s);
// Lower-cases s, then upper-cases each letter that starts a word. A word starts after any
// character that is neither a letter (with its accents) nor an apostrophe.
QString MakeTitleCase(const QString &s);
// The first character upper-cased, the rest unchanged.
QString MakeCapitalized(const QString &s);

QString ConvertText(TConvertKind kind, const QString &s);

// Converts the selection of edit, or its whole text when nothing is selected (Capitalize:
// the selection only). A converted selection leaves the caret after it with nothing
// selected; a whole-text conversion keeps the caret where it was. The change is one undo
// step. tag is the command's tag (0 to 4); other values do nothing.
void MenuConvert(TEditControl &edit, int tag);
