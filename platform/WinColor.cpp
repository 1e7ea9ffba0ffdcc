#include "WinColor.h"

#include <QGuiApplication>
#include <QPalette>

namespace WinColor {

bool IsSystemColor(int32_t value) { return (uint32_t(value) & 0xFF000000u) == 0x80000000u; }

QColor ToQColor(int32_t value) {
  if (IsSystemColor(value)) {
    const QPalette palette = QGuiApplication::palette();
    switch (uint32_t(value) & 0xFFu) {
      case 0x05: return palette.color(QPalette::Base);         // window background
      case 0x08: return palette.color(QPalette::Text);         // window text
      case 0x0D: return palette.color(QPalette::Highlight);
      case 0x0E: return palette.color(QPalette::HighlightedText);
      case 0x0F: return palette.color(QPalette::Button);       // button face
      case 0x12: return palette.color(QPalette::ButtonText);
      case 0x0C: return palette.color(QPalette::Window);       // application workspace
      default: return palette.color(QPalette::Window);
    }
  }
  const uint32_t v = uint32_t(value);
  return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

int32_t FromQColor(const QColor &color) {
  const QColor rgb = color.toRgb();
  return int32_t(uint32_t(rgb.red()) | (uint32_t(rgb.green()) << 8) | (uint32_t(rgb.blue()) << 16));
}

}  // namespace WinColor
