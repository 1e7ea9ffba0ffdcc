// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QList>
#include <QStringList>

// The glyph strip: one picture of 20 x 6 cells of 16 x 16 pixels. Cells are filled row by
// row; magenta (255, 0, 255) is the transparent colour, so it may appear nowhere else.
class TStripImage {
 public:
  static constexpr int CellSize = 16;
  static constexpr int Columns = 20;
  static constexpr int Rows = 6;
  static constexpr int ImageCount = 82;
  static constexpr QRgb Magenta = 0xFFFF00FF;
  // What an opaque pixel that happens to be exactly magenta becomes.
  static constexpr QRgb NearMagenta = 0xFFFE00FF;

  // Turns a 16 x 16 picture with an alpha channel into an opaque cell: pixels at least half
  // covered keep their own colour (fully opaque), the others become magenta.
  static QImage ToCell(const QImage &picture);

  // Lays out up to Columns * Rows cells row by row; unused cells are magenta.
  static QImage Assemble(const QList<QImage> &cells);

  // Everything wrong with a strip, one line each; empty when it is fit to ship.
  static QStringList Check(const QImage &strip);

  // One cell of a strip.
  static QImage Cell(const QImage &strip, int index);
};
