// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The character grid of the special-characters window: 22 columns by 12 rows, filled column
// by column with the codes 1 to 255 and then 0 to 8 again, as Windows-1252 characters.
namespace SpecialChars {

inline constexpr int ColCount = 22;
inline constexpr int RowCount = 12;

// The code a cell holds: (column x 12 + row + 1) modulo 256.
int CodeOf(int column, int row);
// The number the "Char: " label shows for a cell: column x 12 + row + 1, or 0 above 255.
int LabelCode(int column, int row);
// "Char: " and the cell's label code.
QString LabelText(int column, int row);

// The character a code inserts: empty for 0 and for the codes Windows-1252 leaves undefined.
QString CharOf(int code);
// What a cell shows: the character; nothing for the control codes and the empty codes.
QString DisplayOf(int code);

}  // namespace SpecialChars
