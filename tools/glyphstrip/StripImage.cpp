// SPDX-License-Identifier: GPL-3.0-or-later
#include "StripImage.h"

#include <QPainter>

QImage TStripImage::ToCell(const QImage &picture) {
  const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
  QImage cell(CellSize, CellSize, QImage::Format_RGB32);
  cell.fill(Magenta);
  const int width = qMin(source.width(), CellSize);
  const int height = qMin(source.height(), CellSize);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const QRgb pixel = source.pixel(x, y);
      if (qAlpha(pixel) < 128) continue;
      const QRgb opaque = qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
      cell.setPixel(x, y, opaque == Magenta ? NearMagenta : opaque);
    }
  }
  return cell;
}

QImage TStripImage::Assemble(const QList<QImage> &cells) {
  QImage strip(Columns * CellSize, Rows * CellSize, QImage::Format_RGB32);
  strip.fill(Magenta);
  QPainter painter(&strip);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  for (int index = 0; index < cells.size() && index < Columns * Rows; ++index) {
    const QPoint origin((index % Columns) * CellSize, (index / Columns) * CellSize);
    painter.drawImage(origin, cells.at(index), QRect(0, 0, CellSize, CellSize));
  }
  return strip;
}

QImage TStripImage::Cell(const QImage &strip, int index) {
  return strip.copy((index % Columns) * CellSize, (index / Columns) * CellSize, CellSize, CellSize);
}

QStringList TStripImage::Check(const QImage &strip) {
  QStringList problems;
  if (strip.width() != Columns * CellSize || strip.height() != Rows * CellSize) {
    problems << QStringLiteral("the strip is %1 x %2 pixels, not %3 x %4")
                    .arg(strip.width())
                    .arg(strip.height())
                    .arg(Columns * CellSize)
                    .arg(Rows * CellSize);
    return problems;
  }
  if (strip.hasAlphaChannel()) problems << QStringLiteral("the strip has an alpha channel");

  QList<QImage> used;
  for (int index = 0; index < Columns * Rows; ++index) {
    const QImage cell = Cell(strip, index).convertToFormat(QImage::Format_RGB32);
    int shown = 0;
    for (int y = 0; y < CellSize; ++y) {
      for (int x = 0; x < CellSize; ++x) {
        if ((cell.pixel(x, y) | 0xFF000000) != Magenta) ++shown;
      }
    }
    if (index >= ImageCount) {
      if (shown > 0) problems << QStringLiteral("unused cell %1 is not all magenta").arg(index);
      continue;
    }
    // Fewer than a couple of dozen pixels cannot make a recognisable picture.
    if (shown < 24) problems << QStringLiteral("cell %1 is (nearly) empty").arg(index);
    for (int other = 0; other < used.size(); ++other) {
      if (used.at(other) == cell) {
        problems << QStringLiteral("cells %1 and %2 are the same picture").arg(other).arg(index);
      }
    }
    used << cell;
  }
  return problems;
}
