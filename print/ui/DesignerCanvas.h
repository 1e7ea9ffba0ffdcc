// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "print/core/TemplateEditor.h"

// The designer's page: the sheet with its margins, bands and objects, drawn from the editor's
// template. Objects are selected with a click, moved by dragging, resized by dragging the
// handle at their bottom right corner; the arrow keys move the selection by a millimetre
// (with Shift they resize it) and Delete removes it.
class TDesignerCanvas : public QWidget {
  Q_OBJECT

 public:
  explicit TDesignerCanvas(TTemplateEditor &editor, QWidget *parent = nullptr);

  double Scale() const { return scale_; }  // pixels per millimetre
  void SetScale(double pixelsPerMm);
  // Widget position of a sheet point, and back.
  QPointF ToWidget(QPointF sheetMm) const;
  QPointF ToSheet(QPointF widgetPoint) const;
  // The band new objects go into: the band last clicked, else the data band.
  TBandKind CurrentBand() const { return currentBand_; }

  QSize sizeHint() const override;

 Q_SIGNALS:
  // The template or the selection changed.
  void Changed();

 protected:
  void paintEvent(QPaintEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

 private:
  QRectF handleRect(const QRectF &objectRect) const;

  TTemplateEditor &editor_;
  double scale_ = 3;
  static constexpr double kBorder = 12;  // pixels around the sheet
  enum class TDrag { None, Move, Resize } drag_ = TDrag::None;
  QPointF dragFrom_;  // sheet mm
  TBandKind currentBand_ = TBandKind::Data;
};
