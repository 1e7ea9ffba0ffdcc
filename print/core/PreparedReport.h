#pragma once

#include <QSizeF>
#include <vector>

#include "ReportTemplate.h"

// What the layout produces and the renderer draws: pages of placed items in millimetres from
// the sheet's top left corner.
struct TPlacedItem {
  enum TKind { Text, Line, Frame } kind = Text;
  QRectF rect;
  QString text;      // may still hold the page variables, expanded when drawn
  TReportFont font;  // the colour is also the colour of lines and frames
  THAlign align = THAlign::Left;
  bool wrap = false;          // a fixed text box wraps its lines; a flowed line is already broken
  bool pageVariables = true;  // false for the text body, which is the user's text as it is
  double lineWidth = 0.3;
};

struct TPreparedPage {
  std::vector<TPlacedItem> items;
};

struct TPreparedReport {
  QSizeF paperSize;  // mm, in the page's orientation
  bool landscape = false;
  QString paperName;
  std::vector<TPreparedPage> pages;
};
