// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/ui/FileDialogs.h"

#include <QFileDialog>

namespace FileDialogs {

QStringList NameFilters(const QString &filter) {
  const QStringList parts = filter.split(u'|');
  QStringList result;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString masks = parts[i + 1];
    masks.replace(u';', u' ');
    result << parts[i] + QStringLiteral(" (") + masks + u')';
  }
  return result;
}

void SetFilters(QFileDialog &dialog, const QString &filter, int index) {
  const QStringList filters = NameFilters(filter);
  // Each entry carries its masks for the dialog to filter by; the user sees the name as it
  // was written, which mostly names the masks already ("Text Files (*.TXT)").
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(filters);
  if (index >= 1 && index <= filters.size()) dialog.selectNameFilter(filters[index - 1]);
}

int ChosenIndex(const QFileDialog &dialog, const QString &filter) {
  // The dialog answers with the entry or, its masks hidden, with the name alone.
  const QString chosen = dialog.selectedNameFilter();
  const QStringList entries = NameFilters(filter);
  const QStringList parts = filter.split(u'|');
  for (qsizetype i = 0; i < entries.size(); ++i)
    if (chosen == entries[i] || chosen == parts[2 * i]) return int(i) + 1;
  return 0;
}

}  // namespace FileDialogs
