// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/core/ExStringList.h"

qsizetype TExStringList::IndexOfName(const QString &name) const {
  for (qsizetype i = 0; i < size(); ++i) {
    const QString &entry = at(i);
    const qsizetype colon = entry.indexOf(u':');
    if (colon >= 0 && QStringView(entry).first(colon).compare(name, Qt::CaseInsensitive) == 0)
      return i;
  }
  return -1;
}

void TExStringList::SetHeader(const QString &name, const QString &value) {
  const qsizetype index = IndexOfName(name);
  if (value.isEmpty()) {
    if (index >= 0) removeAt(index);
    return;
  }
  const QString line = name + QStringLiteral(": ") + value;
  if (index >= 0)
    replace(index, line);
  else
    append(line);
}
