// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/core/PreparedReport.h"

class QPainter;

// Draws prepared pages on any paint device (printer, PDF, image) at its own resolution: the
// sheet's top left corner is the device's origin. No text is drawn outside its box: a line the
// device's font makes wider than the layout measured is narrowed to its box.
namespace ReportRenderer {

// Draws page index (0-based) of a report with the items every page has.
void PaintReportPage(QPainter &painter, const TPreparedReport &report, size_t index,
                     int totalPages);
// Draws items; pageNumber is 1-based; totalPages is what "[Total Pages]" shows.
void PaintItems(QPainter &painter, const std::vector<TPlacedItem> &items, int pageNumber,
                int totalPages);

// The text of an item as drawn on that page: its page variables expanded.
QString PageText(const TPlacedItem &item, int pageNumber, int totalPages);

}  // namespace ReportRenderer
