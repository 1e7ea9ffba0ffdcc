#include "ReportRenderer.h"

#include <QPaintDevice>
#include <QPainter>

#include "ReportVariables.h"
#include "TextMeasure.h"

namespace ReportRenderer {

QString PageText(const TPlacedItem &item, int pageNumber, int totalPages) {
  if (!item.pageVariables || !item.text.contains(u'[')) return item.text;
  return ReportVariables::Expand(item.text, [&](const QString &name) {
    return ReportVariables::PageValue(name, pageNumber, totalPages);
  });
}

void PaintPage(QPainter &painter, const TPreparedPage &page, int pageNumber, int totalPages) {
  const QPaintDevice *device = painter.device();
  const double sx = device->logicalDpiX() / 25.4;
  const double sy = device->logicalDpiY() / 25.4;
  auto toDevice = [&](const QRectF &r) {
    return QRectF(r.x() * sx, r.y() * sy, r.width() * sx, r.height() * sy);
  };
  painter.save();
  for (const TPlacedItem &item : page.items) {
    QPen pen(item.font.color);
    pen.setWidthF(std::max(item.lineWidth * sx, 1.0));
    painter.setPen(pen);
    const QRectF rect = toDevice(item.rect);
    switch (item.kind) {
      case TPlacedItem::Line:
        painter.drawLine(rect.topLeft(), rect.bottomRight());
        break;
      case TPlacedItem::Frame:
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect);
        break;
      case TPlacedItem::Text: {
        painter.setFont(TTextMeasure::ToQFont(item.font));
        int flags = Qt::AlignTop;
        flags |= item.align == THAlign::Center  ? Qt::AlignHCenter
                 : item.align == THAlign::Right ? Qt::AlignRight
                                                : Qt::AlignLeft;
        if (item.wrap) flags |= Qt::TextWordWrap;
        painter.drawText(rect, flags, ExpandTabs(PageText(item, pageNumber, totalPages)));
        break;
      }
    }
  }
  painter.restore();
}

}  // namespace ReportRenderer
