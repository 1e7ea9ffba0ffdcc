// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/ui/DesignerCanvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "print/core/ReportRenderer.h"

TDesignerCanvas::TDesignerCanvas(TTemplateEditor &editor, QWidget *parent)
    : QWidget(parent), editor_(editor) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TDesignerCanvas::SetScale(double pixelsPerMm) {
  scale_ = std::clamp(pixelsPerMm, 1.0, 12.0);
  updateGeometry();
  resize(sizeHint());
  update();
}

QSize TDesignerCanvas::sizeHint() const {
  const QSizeF paper = editor_.Template().page.PaperSize();
  return QSize(qCeil(paper.width() * scale_ + 2 * kBorder),
               qCeil(paper.height() * scale_ + 2 * kBorder));
}

QPointF TDesignerCanvas::ToWidget(QPointF p) const {
  return QPointF(kBorder, kBorder) + p * scale_;
}
QPointF TDesignerCanvas::ToSheet(QPointF p) const {
  return (p - QPointF(kBorder, kBorder)) / scale_;
}

QRectF TDesignerCanvas::handleRect(const QRectF &r) const {
  const double h = 2.0;  // mm
  return QRectF(r.right() - h / 2, r.bottom() - h / 2, h, h);
}

void TDesignerCanvas::paintEvent(QPaintEvent *) {
  const TReportTemplate &t = editor_.Template();
  const QSizeF paper = t.page.PaperSize();
  // The objects themselves are drawn by the report's own renderer, at this scale.
  QImage sheet(qRound(paper.width() * scale_), qRound(paper.height() * scale_),
               QImage::Format_RGB32);
  sheet.setDotsPerMeterX(qRound(scale_ * 1000));
  sheet.setDotsPerMeterY(qRound(scale_ * 1000));
  sheet.fill(Qt::white);
  {
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor tints[] = {QColor(225, 235, 250), QColor(245, 245, 235), QColor(225, 245, 230)};
    for (const TReportBand &band : t.bands) {
      const QRectF r = editor_.BandRect(band.kind);
      p.fillRect(QRectF(r.topLeft() * scale_, r.size() * scale_), tints[int(band.kind)]);
    }
    ReportRenderer::PaintItems(p, editor_.Sketch().items, 1, 1);
  }
  QPainter p(this);
  p.fillRect(rect(), palette().dark());
  p.drawImage(ToWidget(QPointF(0, 0)), sheet);
  const QRectF content = t.page.ContentRect();
  QPen dashed(Qt::gray, 1, Qt::DashLine);
  p.setPen(dashed);
  p.drawRect(QRectF(ToWidget(content.topLeft()), ToWidget(content.bottomRight())));
  QFont small = font();
  small.setPointSizeF(7);
  p.setFont(small);
  // Band names go in the left margin, beside their band, clear of the objects.
  const QStringList names = {QStringLiteral("Header"), QStringLiteral("Data"),
                             QStringLiteral("Footer")};
  for (const TReportBand &band : t.bands) {
    const QRectF r = editor_.BandRect(band.kind);
    p.setPen(QPen(QColor(120, 140, 170), 1, Qt::DotLine));
    p.drawLine(ToWidget(r.bottomLeft()), ToWidget(r.bottomRight()));
    p.setPen(QColor(90, 100, 120));
    const QPointF at = ToWidget(QPointF(0, r.top()));
    p.drawText(QRectF(at.x() + 2, at.y(), ToWidget(r.topLeft()).x() - at.x() - 6, 14),
               Qt::AlignRight | Qt::AlignTop, names[int(band.kind)]);
  }
  if (const auto &s = editor_.Selection()) {
    const QRectF r = editor_.SheetRect(*s);
    p.setPen(QPen(QColor(0, 90, 200), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(ToWidget(r.topLeft()), ToWidget(r.bottomRight())).adjusted(-1, -1, 1, 1));
    p.setBrush(QColor(0, 90, 200));
    const QRectF h = handleRect(r);
    p.drawRect(QRectF(ToWidget(h.topLeft()), ToWidget(h.bottomRight())));
  }
  if (hasFocus()) {
    p.setPen(QPen(palette().highlight().color(), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(1, 1, -1, -1));
  }
}

void TDesignerCanvas::mousePressEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  setFocus();
  const QPointF at = ToSheet(event->position());
  if (const std::optional<TBandKind> band = editor_.BandAt(at)) currentBand_ = *band;
  const auto &current = editor_.Selection();
  if (current && handleRect(editor_.SheetRect(*current)).contains(at)) {
    drag_ = TDrag::Resize;
  } else {
    editor_.Select(editor_.ObjectAt(at));
    drag_ = editor_.Selection() ? TDrag::Move : TDrag::None;
  }
  dragFrom_ = at;
  if (drag_ != TDrag::None) editor_.BeginGesture();
  update();
  Q_EMIT Changed();
}

void TDesignerCanvas::mouseMoveEvent(QMouseEvent *event) {
  const QPointF at = ToSheet(event->position());
  const auto &current = editor_.Selection();
  setCursor(current && handleRect(editor_.SheetRect(*current)).contains(at) ? Qt::SizeFDiagCursor
                                                                            : Qt::ArrowCursor);
  if (drag_ == TDrag::None) return;
  // Steps of half a millimetre keep positions tidy in the file.
  const QPointF delta = at - dragFrom_;
  const double dx = std::round(delta.x() * 2) / 2, dy = std::round(delta.y() * 2) / 2;
  if (dx == 0 && dy == 0) return;
  if (drag_ == TDrag::Move)
    editor_.MoveBy(dx, dy);
  else
    editor_.ResizeBy(dx, dy);
  dragFrom_ += QPointF(dx, dy);
  update();
  Q_EMIT Changed();
}

void TDesignerCanvas::mouseReleaseEvent(QMouseEvent *event) {
  if (drag_ != TDrag::None) editor_.EndGesture();
  drag_ = TDrag::None;
  QWidget::mouseReleaseEvent(event);
}

void TDesignerCanvas::keyPressEvent(QKeyEvent *event) {
  double dx = 0, dy = 0;
  switch (event->key()) {
    case Qt::Key_Left:
      dx = -1;
      break;
    case Qt::Key_Right:
      dx = 1;
      break;
    case Qt::Key_Up:
      dy = -1;
      break;
    case Qt::Key_Down:
      dy = 1;
      break;
    case Qt::Key_Delete:
      editor_.DeleteSelected();
      update();
      Q_EMIT Changed();
      return;
    default:
      return QWidget::keyPressEvent(event);
  }
  if (event->modifiers() & Qt::ShiftModifier)
    editor_.ResizeBy(dx, dy);
  else
    editor_.MoveBy(dx, dy);
  update();
  Q_EMIT Changed();
}
