// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

class TEditControl;

// The date and time stamp of the Edit menu. The clock and the locale are parameters so
// that callers (and tests) decide which moment and which names are used.

// The date formats by index (0 to 7) and the time formats by index (0 to 3).
QString DateFormatString(int index);
QString TimeFormatString(int index);

// Formats moment with the date-format letters: d dd ddd dddd ddddd dddddd, m mm mmm mmmm,
// yy yyyy, h hh, n nn, s ss, am/pm, c, t, tt; text in double or single quotes and every
// other character are copied. Names and the short and long formats come from locale.
QString FormatDateTime(const QString &format, const QDateTime &moment, const QLocale &locale);

// The stamp for the holder values dateIndex and timeIndex (decimal texts, "-1" leaves a
// part out): date + " at " + time, either alone, or empty.
QString DateTimeStamp(const QString &dateIndex, const QString &timeIndex, const QDateTime &moment,
                      const QLocale &locale);

// Replaces the selection of edit (at the caret when nothing is selected) by the stamp.
void UpdateDateTime(TEditControl &edit, const QString &dateIndex, const QString &timeIndex,
                    const QDateTime &moment, const QLocale &locale);
