// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Conversion between Unicode, Windows-1252 (the editor's single-byte code page) and code
// page 437 (the spell engine's). Characters a target code page lacks follow one fixed
// best-fit rule: an accented letter becomes its base letter, anything else becomes '?'.
namespace CodePage {

// The Unicode character of one byte.
char16_t Windows1252ToUnicode(unsigned char byte);
char16_t Oem437ToUnicode(unsigned char byte);

QString FromWindows1252(QByteArrayView bytes);
QString FromOem437(QByteArrayView bytes);

// When lossless is given it is set to false if any character had to be replaced.
QByteArray ToWindows1252(QStringView text, bool *lossless = nullptr);
QByteArray ToOem437(QStringView text, bool *lossless = nullptr);

// True when every character of text exists in the code page.
bool FitsWindows1252(QStringView text);

// Byte-to-byte conversion between the two code pages (best fit where a character is missing).
QByteArray AnsiToOem(QByteArrayView ansi);
QByteArray OemToAnsi(QByteArrayView oem);

}  // namespace CodePage
