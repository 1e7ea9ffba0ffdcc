// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/core/ColorValue.h"

#include "platform/gui/WinColor.h"

namespace ColorValue {

bool IsSystemColor(qint32 value) { return WinColor::IsSystemColor(value); }

QColor ToQColor(qint32 value, const QPalette &palette) {
  return WinColor::ToQColor(value, palette);
}

qint32 FromQColor(const QColor &color) { return WinColor::FromQColor(color); }

}  // namespace ColorValue
