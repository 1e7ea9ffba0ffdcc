// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The rules of the Open and Save filter rows, apart from the widgets. A row k (1 to 16) has
// a name box k*2-1 and an extension box k*2; boxes are numbered from 1 and given as a list of
// 32 texts (box n at index n-1).
namespace FilterRules {

inline constexpr int Rows = 16;
inline constexpr int Boxes = Rows * 2;

// The boxes filled from a filter list "Name|*.a|Name|*.b": piece n goes to box n; pieces
// beyond the last box are dropped, missing ones are empty.
QStringList SplitFilter(const QString &filter);

// The filter list from the rows whose name and extension are both given, in row order.
QString BuildFilter(const QStringList &boxes);

// The number of the first empty box, Boxes + 1 when none is empty.
int FirstEmptyBox(const QStringList &boxes);

// What the row-enabling rule leaves usable: the boxes up to the first empty one and the one
// after it (so one new row at a time), and the rows those boxes start.
struct TEnabled {
  int lastBox;  // boxes after it are disabled
  int lastRow;  // radio buttons after it are disabled
};
TEnabled EnabledPart(const QStringList &boxes);

// The default row after Save: the checked row when its name and extension are filled; else
// the row of the first box from box 2 on reading exactly "*.*"; else row 1.
int DefaultRow(int checkedRow, const QStringList &boxes);

// The position (from 1) of a row among the rows BuildFilter keeps, which is what the Open
// dialog's filter index counts; 1 when the row is not kept.
int FilterIndex(int row, const QStringList &boxes);

// An extension must begin with "*." ("*.htm;*.html" is fine: only the start is tested).
bool ValidExtension(const QString &text);

}  // namespace FilterRules
