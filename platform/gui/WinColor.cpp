// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/WinColor.h"

#include <QGuiApplication>

namespace {

// The palette role that stands for system colour number index.
QPalette::ColorRole roleOf(uint32_t index) {
  switch (index) {
    case 5:
      return QPalette::Base;  // window background
    case 8:
      return QPalette::Text;  // window text
    case 7:
      return QPalette::WindowText;  // menu text
    case 9:
    case 14:
      return QPalette::HighlightedText;
    case 2:
    case 13:
      return QPalette::Highlight;
    case 6:
    case 16:
    case 21:
      return QPalette::Dark;
    case 15:
      return QPalette::Button;  // button face
    case 18:
      return QPalette::ButtonText;
    case 17:
      return QPalette::PlaceholderText;  // grey text
    case 20:
    case 22:
      return QPalette::Light;
    case 23:
      return QPalette::ToolTipText;
    case 24:
      return QPalette::ToolTipBase;
    default:
      return QPalette::Window;  // desktop, background, menu, faces
  }
}

}  // namespace

namespace WinColor {

bool IsSystemColor(int32_t value) { return (uint32_t(value) & 0xFF000000u) == 0x80000000u; }

QColor ToQColor(int32_t value, const QPalette &palette) {
  const uint32_t v = uint32_t(value);
  if (IsSystemColor(value)) return palette.color(roleOf(v & 0xFFu));
  return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

QColor ToQColor(int32_t value) { return ToQColor(value, QGuiApplication::palette()); }

int32_t FromQColor(const QColor &color) {
  const QColor rgb = color.toRgb();
  return int32_t(uint32_t(rgb.red()) | (uint32_t(rgb.green()) << 8) | (uint32_t(rgb.blue()) << 16));
}

}  // namespace WinColor
