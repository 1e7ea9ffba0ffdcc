// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPalette>

// The settings store's names for the colour conversions of WinColor (platform).
// Colours as stored in the settings: 0x00BBGGRR for a plain colour, 0x800000nn (negative as a
// 32-bit integer) for the system colour number nn, which follows the desktop's palette.
namespace ColorValue {

bool IsSystemColor(qint32 value);
QColor ToQColor(qint32 value, const QPalette &palette);
// A plain colour value (never a system colour).
qint32 FromQColor(const QColor &color);

inline constexpr qint32 Window = qint32(0x80000005);      // the window background
inline constexpr qint32 WindowText = qint32(0x80000008);  // the window text

}  // namespace ColorValue
