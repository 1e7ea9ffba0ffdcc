// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QStringList>
#include <QTextOption>

#include "print/core/ReportTemplate.h"

// Measures text of one report font in millimetres, independent of any screen or printer, and
// breaks long lines into lines that fit a width. The font is used without hinting, so its
// widths scale with the resolution it is drawn at; the renderer draws with the same font and
// the same tab stops, so a line measured to fit its box fits it on paper and in the preview.
class TTextMeasure {
 public:
  // tabStop: millimetres between tab stops; 0 puts a stop every eight blanks.
  explicit TTextMeasure(const TReportFont &font, double tabStop = 0);

  static QFont ToQFont(const TReportFont &font);
  // Text layouts on a device take tab distances in units that the device's resolution scales;
  // the distance to give for tabStopPixels device pixels.
  static double TabDistance(const QPaintDevice *device, double tabStopPixels);

  double LineHeight() const;
  // Millimetres between tab stops.
  double TabStop() const { return tabStop_; }
  // Width of one line, tabs at their stops.
  double Width(const QString &text) const;
  // Breaks one line into pieces no wider than width: at blanks where it can, between
  // characters inside a word that alone is too wide. The blanks at a break go with the line
  // they end. An empty line stays one empty piece.
  QStringList Wrap(const QString &line, double width) const;
  // The line shortened to width with "…" in the middle. A line holding a path keeps its last
  // part (the file name) whole when that fits: "/home/…/name.txt".
  QString Elide(const QString &line, double width) const;

 private:
  double pixels(double mm) const { return mm / mmPerPixel_; }

  QImage device_;  // fixes the resolution the metrics are taken at
  QFont font_;
  QFontMetricsF metrics_;
  double mmPerPixel_;
  double tabStop_;
  QTextOption option_;
};
