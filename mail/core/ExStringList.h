// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// A list of header lines of the form name, colon, value.
class TExStringList : public QStringList {
 public:
  using QStringList::QStringList;

  // Index of the first entry whose text before its first colon equals name, compared
  // without regard to case; entries without a colon never match. -1 when there is none.
  qsizetype IndexOfName(const QString &name) const;

  // With a value: replaces the entry for name, or appends one, as "name: value".
  // With an empty value: deletes the entry for name, if any.
  void SetHeader(const QString &name, const QString &value);
};
