// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/core/ReportVariables.h"

#include <QLocale>

namespace ReportVariables {

QStringList CategoryVariables() {
  return {QStringLiteral("Text Body"), QStringLiteral("Text File Name"),
          QStringLiteral("Page Number")};
}

QStringList EngineVariables() {
  return {QStringLiteral("Page Number"), QStringLiteral("Total Pages"), QStringLiteral("Date"),
          QStringLiteral("Time")};
}

bool IsPageVariable(const QString &name) {
  return name == QLatin1String("Page Number") || name == QLatin1String("Total Pages");
}

QString Expand(const QString &text,
               const std::function<std::optional<QString>(const QString &)> &lookup) {
  QString out;
  qsizetype from = 0;
  while (true) {
    const qsizetype open = text.indexOf(u'[', from);
    if (open < 0) break;
    const qsizetype close = text.indexOf(u']', open + 1);
    if (close < 0) break;
    const qsizetype inner = text.lastIndexOf(u'[', close);  // "[[x]" names "x"
    const std::optional<QString> value = lookup(text.mid(inner + 1, close - inner - 1));
    out += QStringView(text).mid(from, inner - from);
    if (value)
      out += *value;
    else
      out += QStringView(text).mid(inner, close - inner + 1);
    from = close + 1;
  }
  return out + QStringView(text).mid(from);
}

std::optional<QString> EngineValue(const QString &name, const QDateTime &now) {
  if (name == QLatin1String("Date")) return QLocale().toString(now.date(), QLocale::ShortFormat);
  if (name == QLatin1String("Time")) return QLocale().toString(now.time(), QLocale::ShortFormat);
  return std::nullopt;
}

std::optional<QString> PageValue(const QString &name, int pageNumber, int totalPages) {
  if (name == QLatin1String("Page Number")) return QString::number(pageNumber);
  if (name == QLatin1String("Total Pages")) return QString::number(totalPages);
  return std::nullopt;
}

}  // namespace ReportVariables
