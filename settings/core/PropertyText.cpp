// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/core/PropertyText.h"

#include <QLocale>

namespace PropertyText {

QString FromInteger(qint64 value) { return QString::number(value); }

std::optional<qint32> ToIntegerOrNothing(QStringView text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok, 10);
  if (!ok) return std::nullopt;
  return value;
}

qint32 ToInteger(QStringView text) { return ToIntegerOrNothing(text).value_or(0); }

QString FromBool(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

std::optional<bool> ToBool(QStringView text) {
  if (text.compare(u"True", Qt::CaseInsensitive) == 0) return true;
  if (text.compare(u"False", Qt::CaseInsensitive) == 0) return false;
  return std::nullopt;
}

QString FromEnum(int index, const QStringList &names) {
  return index >= 0 && index < names.size() ? names[index] : QString::number(index);
}

std::optional<int> ToEnum(QStringView text, const QStringList &names) {
  for (int i = 0; i < names.size(); ++i)
    if (text.compare(names[i], Qt::CaseInsensitive) == 0) return i;
  return std::nullopt;
}

QString FromSet(quint64 bits, const QStringList &names) {
  QStringList members;
  for (int i = 0; i < names.size() && i < 64; ++i)
    if (bits & (quint64(1) << i)) members.append(names[i]);
  return u'[' + members.join(u',') + u']';
}

quint64 ToSet(QStringView text, const QStringList &names) {
  quint64 bits = 0;
  qsizetype start = 0;
  auto take = [&](qsizetype end) {
    const QStringView word = text.mid(start, end - start);
    if (const auto index = ToEnum(word, names); index && *index < 64) bits |= quint64(1) << *index;
  };
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == u' ' || c == u',' || c == u'[' || c == u']' || c == u'\t') {
      take(i);
      start = i + 1;
    }
  }
  take(text.size());
  return bits;
}

QString FromFloat(double value, int digits) {
  // General format: plain digits unless the exponent is very small or large, trailing zeros
  // dropped, so 100.0 is "100" and 0.1 is "0.1".
  return QString::number(value, 'g', digits);
}

std::optional<double> ToFloat(QStringView text) {
  bool ok = false;
  const double value = QLocale::c().toDouble(text.trimmed(), &ok);
  if (!ok) return std::nullopt;
  return value;
}

QString FromChar(QChar value) { return QString(value); }

std::optional<QChar> ToChar(QStringView text) {
  if (text.isEmpty()) return std::nullopt;
  return text.front();
}

QStringList Words(QStringView text) {
  QStringList words;
  for (QStringView word : text.split(u',')) {
    for (QStringView part : word.split(u' ', Qt::SkipEmptyParts)) words.append(part.toString());
  }
  return words;
}

}  // namespace PropertyText
