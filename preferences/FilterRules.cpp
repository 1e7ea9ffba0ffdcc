// SPDX-License-Identifier: GPL-3.0-or-later
#include "preferences/FilterRules.h"

namespace FilterRules {

QStringList SplitFilter(const QString &filter) {
  QStringList boxes = filter.isEmpty() ? QStringList() : filter.split(u'|');
  while (boxes.size() > Boxes) boxes.removeLast();
  while (boxes.size() < Boxes) boxes.append(QString());
  return boxes;
}

QString BuildFilter(const QStringList &boxes) {
  QStringList pieces;
  for (int box = 0; box + 1 < boxes.size() && box + 1 < Boxes; box += 2)
    if (!boxes[box].isEmpty() && !boxes[box + 1].isEmpty()) pieces << boxes[box] << boxes[box + 1];
  return pieces.join(u'|');
}

int FirstEmptyBox(const QStringList &boxes) {
  for (int box = 0; box < Boxes; ++box)
    if (box >= boxes.size() || boxes[box].isEmpty()) return box + 1;
  return Boxes + 1;
}

TEnabled EnabledPart(const QStringList &boxes) {
  const int n = FirstEmptyBox(boxes);
  if (n >= 30) return {Boxes, Rows};
  return {n + 1, (n + 3) / 2 - 1};
}

namespace {

bool Complete(int row, const QStringList &boxes) {
  const qsizetype end = qsizetype{row} * 2;
  return row >= 1 && row <= Rows && end <= boxes.size() && !boxes[end - 2].isEmpty() &&
         !boxes[end - 1].isEmpty();
}

}  // namespace

int FilterIndex(int row, const QStringList &boxes) {
  if (!Complete(row, boxes)) return 1;
  int index = 0;
  for (int r = 1; r <= row; ++r)
    if (Complete(r, boxes)) ++index;
  return index;
}

int DefaultRow(int checkedRow, const QStringList &boxes) {
  if (Complete(checkedRow, boxes)) return checkedRow;
  for (int box = 2; box <= Boxes && box <= boxes.size(); ++box)
    if (boxes[box - 1] == QLatin1String("*.*")) return box / 2;
  return 1;
}

bool ValidExtension(const QString &text) { return text.startsWith(QLatin1String("*.")); }

}  // namespace FilterRules
