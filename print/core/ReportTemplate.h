// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <vector>

// A report template: one page layout with up to three bands (page header, a data band printed
// once for the single record of the user data source, page footer), each holding text objects
// and lines. All lengths are millimetres; object positions are relative to their band's top
// left corner inside the page margins.

enum class TBandKind { PageHeader, Data, PageFooter };
enum class TObjectKind { Text, Line };
enum class THAlign { Left, Center, Right };

struct TReportFont {
  QString name = QStringLiteral("DejaVu Sans");
  double size = 10;  // points
  bool bold = false;
  bool italic = false;
  QColor color = Qt::black;

  bool operator==(const TReportFont &) const = default;
};

struct TReportObject {
  TObjectKind kind = TObjectKind::Text;
  // Text: the object's box. Line: from the top left to the bottom right corner of the box
  // (a zero height is a horizontal line, a zero width a vertical one).
  QRectF rect;
  QStringList lines;  // text objects only
  TReportFont font;   // the colour is also a line's colour
  THAlign align = THAlign::Left;
  bool frame = false;      // text objects: a thin frame around the box
  double lineWidth = 0.3;  // lines and frames
  // Text objects: millimetres between tab stops; 0 puts a stop every eight blanks. Set by the
  // program for the text body (the stops the workspace shows); not kept in the file.
  double tabStop = 0;

  bool operator==(const TReportObject &) const = default;
};

struct TReportBand {
  TBandKind kind = TBandKind::Data;
  double height = 20;
  std::vector<TReportObject> objects;

  bool operator==(const TReportBand &) const = default;
};

struct TPageSetup {
  QString size = QStringLiteral("A4");  // one of TPageSetup::SizeNames()
  bool landscape = false;
  double left = 15, top = 15, right = 15, bottom = 15;

  // The paper sizes a template may name, with their portrait width and height.
  static QStringList SizeNames();
  static QSizeF PortraitSize(const QString &name);  // empty size for an unknown name
  // Width and height of the sheet in its orientation.
  QSizeF PaperSize() const;
  // The area inside the margins, in sheet coordinates.
  QRectF ContentRect() const;

  bool operator==(const TPageSetup &) const = default;
};

struct TReportTemplate {
  TPageSetup page;
  std::vector<TReportBand> bands;  // at most one band of each kind

  // The band of a kind; nullptr when the template has none.
  TReportBand *Band(TBandKind kind);
  const TReportBand *Band(TBandKind kind) const;
  // The band of that kind, added (in header, data, footer order) when missing.
  TReportBand &EnsureBand(TBandKind kind);

  bool operator==(const TReportTemplate &) const = default;
};

// How much a band or object sticks out of the page; empty when everything fits. A band fits
// when all bands together are no taller than the area inside the margins; an object fits when
// its box lies inside its band (band width is the width inside the margins).
QString FitProblem(const TReportTemplate &report);
bool ObjectFits(const TReportObject &object, double bandWidth, double bandHeight);
// The template laid out on another page: positions and widths follow the width inside the
// margins; the header and footer keep their heights while the page has room for them and the
// data band takes what is left. The result always fits (FitProblem is empty).
TReportTemplate FitToPage(const TReportTemplate &report, const TPageSetup &page);

// The text-body marker: a text object whose first line is exactly this flows the workspace's
// text over as many pages as it needs.
inline constexpr const char *TextBodyMarker = "[Text Body]";
bool IsTextBodyMarker(const TReportObject &object);

// Names used in the file and in the designer.
QString BandKindName(TBandKind kind);
QString BandCaption(TBandKind kind);  // "Page Header", "Data", "Page Footer"
QString AlignName(THAlign align);
