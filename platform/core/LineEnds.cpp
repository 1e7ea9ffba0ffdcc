// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/core/LineEnds.h"

QString LineEnds::ToNewlines(const QString &text) {
  if (!text.contains(u'\r')) return text;
  QString result = text;
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  result.replace(u'\r', u'\n');
  return result;
}
