// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLocale>

#include "settings/core/ColorValue.h"
#include "settings/core/PropertyText.h"

using namespace PropertyText;

TEST(PropertyText, BooleansAndIntegers) {
  EXPECT_EQ(FromBool(true), QStringLiteral("True"));
  EXPECT_EQ(FromBool(false), QStringLiteral("False"));
  EXPECT_EQ(ToBool(u"true"), true);
  EXPECT_EQ(ToBool(u"TRUE"), true);
  EXPECT_EQ(ToBool(u"fAlSe"), false);
  EXPECT_EQ(ToBool(u"1"), std::nullopt);  // leaves the property unchanged
  EXPECT_EQ(ToBool(u""), std::nullopt);

  EXPECT_EQ(FromInteger(-2147483643), QStringLiteral("-2147483643"));
  EXPECT_EQ(ToInteger(u"-13"), -13);
  EXPECT_EQ(ToInteger(u"12632256"), 12632256);
  EXPECT_EQ(ToInteger(u"12x"), 0);
  EXPECT_EQ(ToInteger(u""), 0);
  EXPECT_EQ(ToInteger(u"2147483648"), 0);  // beyond 32 bits
  EXPECT_EQ(ToIntegerOrNothing(u"abc"), std::nullopt);
}

TEST(PropertyText, EnumerationsAndSets) {
  const QStringList styles = {QStringLiteral("fsBold"), QStringLiteral("fsItalic"),
                              QStringLiteral("fsUnderline"), QStringLiteral("fsStrikeOut")};
  EXPECT_EQ(FromSet(0b1011, styles), QStringLiteral("[fsBold,fsItalic,fsStrikeOut]"));
  EXPECT_EQ(FromSet(0, styles), QStringLiteral("[]"));
  EXPECT_EQ(ToSet(u"fsBold,fsItalic", styles), 0b0011u);
  EXPECT_EQ(ToSet(u"[fsBold,fsStrikeout]", styles), 0b1001u);
  EXPECT_EQ(ToSet(u"[ FSITALIC  fsNothing ]", styles), 0b0010u);
  EXPECT_EQ(ToSet(u"[]", styles), 0u);

  const QStringList bars = {QStringLiteral("ssNone"), QStringLiteral("ssHorizontal"),
                            QStringLiteral("ssVertical"), QStringLiteral("ssBoth")};
  EXPECT_EQ(FromEnum(2, bars), QStringLiteral("ssVertical"));
  EXPECT_EQ(ToEnum(u"SSBOTH", bars), 3);
  EXPECT_EQ(ToEnum(u"ssDiagonal", bars), std::nullopt);
}

TEST(PropertyText, FloatsUseAPointWhateverTheLocale) {
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(FromFloat(100.0), QStringLiteral("100"));
  EXPECT_EQ(FromFloat(0.5), QStringLiteral("0.5"));
  EXPECT_EQ(FromFloat(1.0 / 3.0), QStringLiteral("0.333333333333333"));
  EXPECT_EQ(FromFloat(1.0 / 3.0, 7), QStringLiteral("0.3333333"));
  EXPECT_EQ(ToFloat(u"2.25"), 2.25);
  EXPECT_EQ(ToFloat(u"1,5"), std::nullopt);
  EXPECT_EQ(ToFloat(u"abc"), std::nullopt);
  QLocale::setDefault(saved);

  EXPECT_EQ(ToChar(u"xyz"), QChar(u'x'));
  EXPECT_EQ(ToChar(u""), std::nullopt);
  EXPECT_EQ(Words(u" btnOpen, 27 ,3"),
            (QStringList{QStringLiteral("btnOpen"), QStringLiteral("27"), QStringLiteral("3")}));
}

TEST(ColorValue, PlainAndSystemColours) {
  const QPalette palette(Qt::black, Qt::darkGray, Qt::lightGray, Qt::gray, Qt::darkGray, Qt::yellow,
                         Qt::white, Qt::cyan, Qt::magenta);
  EXPECT_EQ(ColorValue::ToQColor(12632256, palette), QColor(192, 192, 192));
  EXPECT_EQ(ColorValue::ToQColor(16711680, palette), QColor(0, 0, 255));
  EXPECT_EQ(ColorValue::FromQColor(QColor(0, 0, 255)), 16711680);
  EXPECT_EQ(ColorValue::FromQColor(QColor(1, 2, 3)), 0x030201);
  EXPECT_TRUE(ColorValue::IsSystemColor(-2147483643));
  EXPECT_FALSE(ColorValue::IsSystemColor(16777215));
  EXPECT_EQ(ColorValue::ToQColor(ColorValue::Window, palette), palette.color(QPalette::Base));
  EXPECT_EQ(ColorValue::ToQColor(ColorValue::WindowText, palette), palette.color(QPalette::Text));
}
