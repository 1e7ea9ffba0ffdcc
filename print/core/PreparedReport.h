// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSizeF>
#include <vector>

#include "print/core/ReportTemplate.h"

// What the layout produces and the renderer draws: pages of placed items in millimetres from
// the sheet's top left corner.
struct TPlacedItem {
  enum TKind { Text, Line, Frame } kind = Text;
  // How a text that is wider than its box is drawn: a flowed line of the text body is already
  // broken to fit; a fixed box wraps its lines; a header or footer box shortens each line in
  // the middle, so the end of a path (the file name) always shows.
  enum TFit { Single, Wrap, Elide } fit = Single;
  QRectF rect;
  QString text;      // may still hold the page variables, expanded when drawn
  TReportFont font;  // the colour is also the colour of lines and frames
  THAlign align = THAlign::Left;
  bool pageVariables = true;  // false for the text body, which is the user's text as it is
  double lineWidth = 0.3;
  double tabStop = 0;  // mm between tab stops; 0: every eight blanks
};

struct TPreparedPage {
  std::vector<TPlacedItem> items;
};

// The header and footer are the same on every page and are kept once, so a template with many
// objects in them costs no more memory for a long text than for a short one.
struct TPreparedReport {
  QSizeF paperSize;  // mm, in the page's orientation
  bool landscape = false;
  QString paperName;
  std::vector<TPlacedItem> everyPage;  // drawn on each page, below the page's own items
  std::vector<TPreparedPage> pages;
};
