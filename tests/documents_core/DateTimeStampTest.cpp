// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "documents/core/DateTimeStamp.h"
#include "documents/core/MemoryEdit.h"

namespace {
const QDateTime evening(QDate(1999, 1, 5), QTime(21, 5, 7));
const QLocale english(QLocale::English, QLocale::UnitedStates);
}  // namespace

TEST(DateTimeStamp, FixedFormatsUseTheLocaleNames) {
  EXPECT_EQ(DateTimeStamp(QStringLiteral("4"), QStringLiteral("2"), evening, english),
            QStringLiteral("January 5, 1999 at 21:05"));
  EXPECT_EQ(DateTimeStamp(QStringLiteral("3"), QStringLiteral("-1"), evening, english),
            QStringLiteral("Jan 5, 1999"));
  EXPECT_EQ(DateTimeStamp(QStringLiteral("5"), QStringLiteral("-1"), evening, english),
            QStringLiteral("5 Jan 1999"));
  EXPECT_EQ(DateTimeStamp(QStringLiteral("6"), QStringLiteral("-1"), evening, english),
            QStringLiteral("Tue Jan 5, 1999"));
  EXPECT_EQ(DateTimeStamp(QStringLiteral("7"), QStringLiteral("3"), evening, english),
            QStringLiteral("Tuesday Jan 5, 1999 at 9:05 pm"));
  EXPECT_EQ(DateTimeStamp(QStringLiteral("-1"), QStringLiteral("3"),
                          QDateTime(QDate(2000, 2, 3), QTime(0, 7)), english),
            QStringLiteral("12:07 am"));
  const QLocale german(QLocale::German, QLocale::Germany);
  EXPECT_EQ(DateTimeStamp(QStringLiteral("7"), QStringLiteral("-1"), evening, german),
            QStringLiteral("Dienstag Jan. 5, 1999"));
}

TEST(DateTimeStamp, LocaleFormatsAndLeftOutParts) {
  EXPECT_EQ(DateTimeStamp(QStringLiteral("1"), QStringLiteral("-1"), evening, english),
            english.toString(evening.date(), QLocale::ShortFormat));
  EXPECT_EQ(DateTimeStamp(QStringLiteral("2"), QStringLiteral("0"), evening, english),
            english.toString(evening.date(), QLocale::LongFormat) + QStringLiteral(" at ") +
                english.toString(evening.time(), QLocale::ShortFormat));
  // The long time carries the seconds but no time zone.
  const QString longTime =
      DateTimeStamp(QStringLiteral("-1"), QStringLiteral("1"), evening, english);
  EXPECT_TRUE(longTime.startsWith(QStringLiteral("9:05:07"))) << longTime.toStdString();
  EXPECT_FALSE(longTime.contains(QStringLiteral("UTC")));
  const QString both = DateTimeStamp(QStringLiteral("0"), QStringLiteral("-1"), evening, english);
  EXPECT_EQ(both, english.toString(evening.date(), QLocale::ShortFormat) + u' ' + longTime);
  EXPECT_EQ(DateTimeStamp(QStringLiteral("-1"), QStringLiteral("-1"), evening, english), QString());
  EXPECT_EQ(DateTimeStamp(QStringLiteral("9"), QStringLiteral("x"), evening, english), QString());
}

TEST(DateTimeStamp, UpdateDateTimeReplacesTheSelection) {
  TMemoryEdit edit(QStringLiteral("Date: XX."));
  edit.SetSelection(6, 2);
  UpdateDateTime(edit, QStringLiteral("4"), QStringLiteral("2"), evening, english);
  EXPECT_EQ(edit.Text(), QStringLiteral("Date: January 5, 1999 at 21:05."));
  EXPECT_EQ(edit.SelStart(), 30);
  // With both parts left out the selection is deleted.
  edit.SetSelection(0, 6);
  UpdateDateTime(edit, QStringLiteral("-1"), QStringLiteral("-1"), evening, english);
  EXPECT_EQ(edit.Text(), QStringLiteral("January 5, 1999 at 21:05."));
}

TEST(DateTimeStamp, FormatLettersAndQuotedText) {
  EXPECT_EQ(FormatDateTime(QStringLiteral("dd/mm/yy hh:nn:ss 'd m' \"y\""), evening, english),
            QStringLiteral("05/01/99 21:05:07 d m y"));
  EXPECT_EQ(FormatDateTime(QStringLiteral("hh AM/PM"), evening, english), QStringLiteral("09 PM"));
}
