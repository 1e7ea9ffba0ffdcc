// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>

// The text forms in which stored properties are written and read back. Readers return
// nothing where the stored text must leave the property unchanged.
namespace PropertyText {

// Integers: decimal with a minus sign where negative. Text that is not a valid 32-bit
// integer reads as 0.
QString FromInteger(qint64 value);
qint32 ToInteger(QStringView text);
// The same, but nothing for invalid text (for values whose fallback is a default).
std::optional<qint32> ToIntegerOrNothing(QStringView text);

// "True" / "False"; read without regard to case, any other text (including "1") is nothing.
QString FromBool(bool value);
std::optional<bool> ToBool(QStringView text);

// An enumeration: the name of the value's index in names; read without regard to case.
QString FromEnum(int index, const QStringList &names);
std::optional<int> ToEnum(QStringView text, const QStringList &names);

// A set of members (bit i = names[i]): "[a,b]" in ascending order, no blanks. Reading splits
// at blanks, commas and square brackets, matches names without regard to case, ignores
// unknown words; the result replaces the whole set.
QString FromSet(quint64 bits, const QStringList &names);
quint64 ToSet(QStringView text, const QStringList &names);

// Floating point: the shortest general form with at most `digits` significant digits and "."
// as decimal point whatever the locale (15 for double, 7 for single precision).
QString FromFloat(double value, int digits = 15);
std::optional<double> ToFloat(QStringView text);

// A character: itself; read as the first character (nothing for empty text).
QString FromChar(QChar value);
std::optional<QChar> ToChar(QStringView text);

// Splits at blanks and commas, dropping empty words (placement and tool-bar values).
QStringList Words(QStringView text);

}  // namespace PropertyText
