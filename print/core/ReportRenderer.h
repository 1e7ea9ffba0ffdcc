#pragma once

#include "PreparedReport.h"

class QPainter;

// Draws prepared pages on any paint device (printer, PDF, image) at its own resolution: the
// sheet's top left corner is the device's origin.
namespace ReportRenderer {

// pageNumber is 1-based; totalPages is what "[Total Pages]" shows.
void PaintPage(QPainter &painter, const TPreparedPage &page, int pageNumber, int totalPages);

// The text of an item as drawn on that page: its page variables expanded.
QString PageText(const TPlacedItem &item, int pageNumber, int totalPages);

}  // namespace ReportRenderer
