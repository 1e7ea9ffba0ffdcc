#include "FileDialogs.h"

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
  dialog.setNameFilters(filters);
  if (index >= 1 && index <= filters.size()) dialog.selectNameFilter(filters[index - 1]);
}

int ChosenIndex(const QFileDialog &dialog, const QString &filter) {
  return int(NameFilters(filter).indexOf(dialog.selectedNameFilter())) + 1;
}

}  // namespace FileDialogs
