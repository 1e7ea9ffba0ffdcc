// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/Glyphs.h"

#include <QBitmap>

TGlyphList::TGlyphList(const QImage &strip) {
  constexpr int cell = 16, columns = 20, rows = 6;
  const QImage rgb = strip.convertToFormat(QImage::Format_RGB32);
  for (int i = 0; i < gGlyphCount && i < columns * rows; ++i) {
    const QRect r((i % columns) * cell, (i / columns) * cell, cell, cell);
    QPixmap pixmap = QPixmap::fromImage(rgb.copy(r));
    pixmap.setMask(pixmap.createMaskFromColor(QColor(255, 0, 255), Qt::MaskInColor));
    pixmaps_.append(pixmap);
    icons_.append(QIcon(pixmap));
  }
}

// The pictures live in a resource of this static library, which the linker keeps only when
// asked for by name.
static void initResources() { Q_INIT_RESOURCE(vellumix); }

const TGlyphList &TGlyphList::Shared() {
  initResources();
  static const TGlyphList list(QImage(QStringLiteral(":/vellumix/glyphs.png")));
  return list;
}

QIcon TGlyphList::Icon(int index) const {
  return (index >= 0 && index < icons_.size()) ? icons_[index] : QIcon();
}

QPixmap TGlyphList::Pixmap(int index) const {
  return (index >= 0 && index < pixmaps_.size()) ? pixmaps_[index] : QPixmap();
}
