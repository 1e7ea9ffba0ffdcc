// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/core/ReportRenderer.h"

#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include "print/core/ReportVariables.h"
#include "print/core/TextMeasure.h"

namespace ReportRenderer {

namespace {

// Draws one line in box (device pixels) with its alignment; a line wider than the box is
// narrowed to it rather than crossing its edge.
void DrawLine(QPainter &painter, const QString &text, const QFont &font, double tabPixels,
              const QRectF &box, THAlign align) {
  if (text.isEmpty()) return;
  QTextLayout layout(text, font, painter.device());
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  option.setTabStopDistance(TTextMeasure::TabDistance(painter.device(), std::max(tabPixels, 1.0)));
  layout.setTextOption(option);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  if (!line.isValid()) return layout.endLayout();
  line.setNumColumns(int(text.size()));
  layout.endLayout();
  const double width = line.naturalTextWidth();
  const double scale = width > box.width() && width > 0 ? box.width() / width : 1;
  const double drawn = width * scale;
  const double x = align == THAlign::Center  ? box.left() + (box.width() - drawn) / 2
                   : align == THAlign::Right ? box.right() - drawn
                                             : box.left();
  painter.save();
  painter.translate(x, box.top());
  painter.scale(scale, 1);
  layout.draw(&painter, QPointF(0, 0));
  painter.restore();
}

void DrawText(QPainter &painter, const TPlacedItem &item, const QString &text, double sx,
              double sy) {
  const QFont font = TTextMeasure::ToQFont(item.font);
  const QRectF box(item.rect.x() * sx, item.rect.y() * sy, item.rect.width() * sx,
                   item.rect.height() * sy);
  if (item.fit == TPlacedItem::Single) {
    // The layout gives its lines their stops; measuring a default is needed for other lines.
    const double tab = item.tabStop > 0 || !text.contains(u'\t')
                           ? item.tabStop
                           : TTextMeasure(item.font).TabStop();
    DrawLine(painter, text, font, tab * sx, box, item.align);
    return;
  }
  const TTextMeasure measure(item.font, item.tabStop);
  QStringList lines;
  for (const QString &line : text.split(u'\n'))
    if (item.fit == TPlacedItem::Wrap)
      lines << measure.Wrap(line, item.rect.width());
    else
      lines << measure.Elide(line, item.rect.width());
  const double lineHeight = measure.LineHeight();
  // Whole lines only, as many as the box is tall; a font too tall for its box shows its first
  // line cut at the box.
  const bool clip = lineHeight > item.rect.height() + 0.01;
  if (clip) {
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
  }
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const double top = item.rect.y() + static_cast<double>(i) * lineHeight;
    if (i > 0 && top + lineHeight > item.rect.bottom() + 0.01) break;
    const QRectF lineBox(box.x(), top * sy, box.width(), lineHeight * sy);
    DrawLine(painter, lines[i], font, measure.TabStop() * sx, lineBox, item.align);
  }
  if (clip) painter.restore();
}

}  // namespace

QString PageText(const TPlacedItem &item, int pageNumber, int totalPages) {
  if (!item.pageVariables || !item.text.contains(u'[')) return item.text;
  return ReportVariables::Expand(item.text, [&](const QString &name) {
    return ReportVariables::PageValue(name, pageNumber, totalPages);
  });
}

void PaintItems(QPainter &painter, const std::vector<TPlacedItem> &items, int pageNumber,
                int totalPages) {
  const QPaintDevice *device = painter.device();
  const double sx = device->logicalDpiX() / 25.4;
  const double sy = device->logicalDpiY() / 25.4;
  auto toDevice = [&](const QRectF &r) {
    return QRectF(r.x() * sx, r.y() * sy, r.width() * sx, r.height() * sy);
  };
  painter.save();
  for (const TPlacedItem &item : items) {
    // Lines end at their ends and frames lie inside their boxes, so no stroke reaches past
    // the box the layout gave it (a rule as wide as the page stays out of the margin).
    QPen pen(item.font.color);
    const double penWidth = std::max(item.lineWidth * sx, 1.0);
    pen.setWidthF(penWidth);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    switch (item.kind) {
      case TPlacedItem::Line: {
        const QRectF rect = toDevice(item.rect);
        painter.drawLine(rect.topLeft(), rect.bottomRight());
        break;
      }
      case TPlacedItem::Frame: {
        const double inset = penWidth / 2;
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(toDevice(item.rect).adjusted(inset, inset, -inset, -inset));
        break;
      }
      case TPlacedItem::Text:
        DrawText(painter, item, PageText(item, pageNumber, totalPages), sx, sy);
        break;
    }
  }
  painter.restore();
}

void PaintReportPage(QPainter &painter, const TPreparedReport &report, size_t index,
                     int totalPages) {
  if (index >= report.pages.size()) return;
  const int number = int(index) + 1;
  PaintItems(painter, report.everyPage, number, totalPages);
  PaintItems(painter, report.pages[index].items, number, totalPages);
}

}  // namespace ReportRenderer
