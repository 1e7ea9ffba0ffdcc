#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QStringList>

#include "ReportTemplate.h"

// Measures text of one report font in millimetres, independent of any screen, and breaks long
// lines into lines that fit a width.
class TTextMeasure {
 public:
  explicit TTextMeasure(const TReportFont &font);

  static QFont ToQFont(const TReportFont &font);

  double LineHeight() const;
  double Width(const QString &text) const;
  // Breaks one line (tabs expanded) into pieces no wider than width: at blanks where it can,
  // inside a word that alone is too wide. An empty line stays one empty piece.
  QStringList Wrap(const QString &line, double width) const;

 private:
  double charWidth(QChar c) const;
  void breakWord(const QString &word, double width, QStringList &out, QString &current,
                 double &currentWidth) const;

  QImage device_;  // fixes the resolution the metrics are taken at
  QFont font_;
  QFontMetricsF metrics_;
  double mmPerPixel_;
  mutable QHash<QChar, double> charWidths_;
};

// Tabs become blanks up to the next multiple of eight columns.
QString ExpandTabs(const QString &line);
