#include "ColorValue.h"

namespace ColorValue {

namespace {

QPalette::ColorRole RoleOf(int index) {
  switch (index) {
    case 5:
      return QPalette::Base;  // window
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

bool IsSystemColor(qint32 value) { return (quint32(value) & 0xff000000u) == 0x80000000u; }

QColor ToQColor(qint32 value, const QPalette &palette) {
  const quint32 bits = quint32(value);
  if (IsSystemColor(value)) return palette.color(RoleOf(int(bits & 0xff)));
  return QColor(int(bits & 0xff), int((bits >> 8) & 0xff), int((bits >> 16) & 0xff));
}

qint32 FromQColor(const QColor &color) {
  const QColor rgb = color.toRgb();
  return qint32(quint32(rgb.red()) | (quint32(rgb.green()) << 8) | (quint32(rgb.blue()) << 16));
}

}  // namespace ColorValue
