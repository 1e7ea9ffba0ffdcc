// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

// Colours as stored values: 0x00BBGGRR for a plain colour, 0x800000nn (negative as a signed
// 32-bit number) for the system colour number nn, resolved against the desktop's palette.
namespace WinColor {

inline constexpr int32_t clWindow = int32_t(0x80000005);      // -2147483643
inline constexpr int32_t clWindowText = int32_t(0x80000008);  // -2147483640
inline constexpr int32_t clBtnFace = int32_t(0x8000000F);
inline constexpr int32_t clSilver = 0xC0C0C0;  // 12632256
inline constexpr int32_t clBlue = 0xFF0000;    // 16711680
inline constexpr int32_t clWhite = 0xFFFFFF;

QColor ToQColor(int32_t value, const QPalette &palette);
// Against the application's palette.
QColor ToQColor(int32_t value);
// Plain colours only: a QColor always becomes 0x00BBGGRR.
int32_t FromQColor(const QColor &color);
bool IsSystemColor(int32_t value);

}  // namespace WinColor
