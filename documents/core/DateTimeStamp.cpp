// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/DateTimeStamp.h"

#include <array>

#include "documents/edit/EditControl.h"

namespace {
const std::array<const char *, 8> dateFormats = {
    "c",          "ddddd",           "dddddd",          "mmm d, yyyy", "mmmm d, yyyy",
    "d mmm yyyy", "ddd mmm d, yyyy", "dddd mmm d, yyyy"};
const std::array<const char *, 4> timeFormats = {"t", "tt", "h:nn", "h:nn am/pm"};

// The locale's long time format without the time-zone field, which a clock reading in a
// document does not carry.
QString LongTimeFormat(const QLocale &locale) {
  const QString format = locale.timeFormat(QLocale::LongFormat);
  QString result;
  bool quoted = false;
  for (QChar c : format) {
    if (c == u'\'') quoted = !quoted;
    if (!quoted && c == u't') continue;
    result += c;
  }
  return result.trimmed();
}

// Length of the run of c starting at i.
qsizetype RunLength(const QString &s, qsizetype i) {
  qsizetype n = 1;
  while (i + n < s.size() && s[i + n].toLower() == s[i].toLower()) ++n;
  return n;
}

QString TwoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }
}  // namespace

QString DateFormatString(int index) {
  return index >= 0 && index < int(dateFormats.size()) ? QString::fromLatin1(dateFormats[index])
                                                       : QString();
}

QString TimeFormatString(int index) {
  return index >= 0 && index < int(timeFormats.size()) ? QString::fromLatin1(timeFormats[index])
                                                       : QString();
}

QString FormatDateTime(const QString &format, const QDateTime &moment, const QLocale &locale) {
  const QDate date = moment.date();
  const QTime time = moment.time();
  // A 12-hour clock applies to every hour of the format when it holds an am/pm marker.
  const bool twelveHour = format.contains(QLatin1String("am/pm"), Qt::CaseInsensitive);
  QString out;
  for (qsizetype i = 0; i < format.size();) {
    const QChar c = format[i];
    const char16_t lower = c.toLower().unicode();
    if (c == u'"' || c == u'\'') {
      const qsizetype close = format.indexOf(c, i + 1);
      const qsizetype end = close < 0 ? format.size() : close;
      out += format.mid(i + 1, end - i - 1);
      i = end + 1;
      continue;
    }
    if (QStringView(format).mid(i, 5).compare(QLatin1String("am/pm"), Qt::CaseInsensitive) == 0) {
      const bool pm = time.hour() >= 12;
      const QString marker = QString::fromLatin1(pm ? "pm" : "am");
      out += c.isUpper() ? marker.toUpper() : marker;
      i += 5;
      continue;
    }
    const qsizetype run = RunLength(format, i);
    qsizetype used = run;
    switch (lower) {
      case u'd':
        if (run == 1)
          out += QString::number(date.day());
        else if (run == 2)
          out += TwoDigits(date.day());
        else if (run == 3)
          out += locale.dayName(date.dayOfWeek(), QLocale::ShortFormat);
        else if (run == 4)
          out += locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
        else if (run == 5)
          out += locale.toString(date, QLocale::ShortFormat);
        else
          out += locale.toString(date, QLocale::LongFormat), used = 6;
        break;
      case u'm':
        if (run == 1)
          out += QString::number(date.month());
        else if (run == 2)
          out += TwoDigits(date.month());
        else if (run == 3)
          out += locale.monthName(date.month(), QLocale::ShortFormat);
        else
          out += locale.monthName(date.month(), QLocale::LongFormat), used = 4;
        break;
      case u'y':
        if (run >= 3)
          out += QString::number(date.year()), used = std::min<qsizetype>(run, 4);
        else
          out += TwoDigits(date.year() % 100), used = 2;
        break;
      case u'h': {
        int hour = time.hour();
        if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
        out += run >= 2 ? TwoDigits(hour) : QString::number(hour);
        used = std::min<qsizetype>(run, 2);
        break;
      }
      case u'n':
        out += run >= 2 ? TwoDigits(time.minute()) : QString::number(time.minute());
        used = std::min<qsizetype>(run, 2);
        break;
      case u's':
        out += run >= 2 ? TwoDigits(time.second()) : QString::number(time.second());
        used = std::min<qsizetype>(run, 2);
        break;
      case u't':
        if (run >= 2)
          out += locale.toString(time, LongTimeFormat(locale)), used = 2;
        else
          out += locale.toString(time, QLocale::ShortFormat);
        break;
      case u'c':
        out += locale.toString(date, QLocale::ShortFormat) + u' ' +
               locale.toString(time, LongTimeFormat(locale));
        used = 1;
        break;
      default:
        out += c;
        used = 1;
        break;
    }
    i += used;
  }
  return out;
}

QString DateTimeStamp(const QString &dateIndex, const QString &timeIndex, const QDateTime &moment,
                      const QLocale &locale) {
  bool ok = false;
  const QString dateFormat = DateFormatString(dateIndex.trimmed().toInt(&ok));
  const QString datePart =
      ok && !dateFormat.isEmpty() ? FormatDateTime(dateFormat, moment, locale) : QString();
  const QString timeFormat = TimeFormatString(timeIndex.trimmed().toInt(&ok));
  const QString timePart =
      ok && !timeFormat.isEmpty() ? FormatDateTime(timeFormat, moment, locale) : QString();
  if (!datePart.isEmpty() && !timePart.isEmpty())
    return datePart + QLatin1String(" at ") + timePart;
  return datePart + timePart;
}

void UpdateDateTime(TEditControl &edit, const QString &dateIndex, const QString &timeIndex,
                    const QDateTime &moment, const QLocale &locale) {
  const QString stamp = DateTimeStamp(dateIndex, timeIndex, moment, locale);
  if (stamp.isEmpty() && edit.SelLength() == 0) return;
  edit.ReplaceSelection(stamp);
}
