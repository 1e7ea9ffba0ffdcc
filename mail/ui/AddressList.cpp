// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/ui/AddressList.h"

#include <algorithm>

TAddressList::TAddressList(QWidget *parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void TAddressList::SetSorted(bool sorted) {
  sorted_ = sorted;
  if (sorted) SetEntries(Entries());
}

QStringList TAddressList::Entries() const {
  QStringList entries;
  for (int i = 0; i < count(); ++i) entries << item(i)->text();
  return entries;
}

void TAddressList::SetEntries(const QStringList &entries) {
  const std::optional<QString> highlighted = Highlighted();
  QStringList ordered = entries;
  if (sorted_)
    std::stable_sort(ordered.begin(), ordered.end(), [](const QString &a, const QString &b) {
      return a.compare(b, Qt::CaseInsensitive) < 0;
    });
  clear();
  addItems(ordered);
  if (highlighted) {
    const int row = int(ordered.indexOf(*highlighted));
    if (row >= 0) setCurrentRow(row);
  }
}

std::optional<QString> TAddressList::Highlighted() const {
  const QListWidgetItem *current = currentItem();
  if (!current || !current->isSelected()) return std::nullopt;
  return current->text();
}
