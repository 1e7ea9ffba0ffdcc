// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse, drag and drop and input methods of the text view.
#include <QInputMethodEvent>
#include <QMouseEvent>

#include "documents/view/TextView.h"

void TTextView::mousePressEvent(QMouseEvent *event) { QAbstractScrollArea::mousePressEvent(event); }
void TTextView::mouseMoveEvent(QMouseEvent *event) { QAbstractScrollArea::mouseMoveEvent(event); }
void TTextView::mouseReleaseEvent(QMouseEvent *event) {
  QAbstractScrollArea::mouseReleaseEvent(event);
}
void TTextView::mouseDoubleClickEvent(QMouseEvent *event) {
  QAbstractScrollArea::mouseDoubleClickEvent(event);
}
void TTextView::dragEnterEvent(QDragEnterEvent *event) {
  QAbstractScrollArea::dragEnterEvent(event);
}
void TTextView::dragMoveEvent(QDragMoveEvent *event) { QAbstractScrollArea::dragMoveEvent(event); }
void TTextView::dragLeaveEvent(QDragLeaveEvent *event) {
  QAbstractScrollArea::dragLeaveEvent(event);
}
void TTextView::dropEvent(QDropEvent *event) { QAbstractScrollArea::dropEvent(event); }
void TTextView::inputMethodEvent(QInputMethodEvent *event) {
  QAbstractScrollArea::inputMethodEvent(event);
}
QVariant TTextView::inputMethodQuery(Qt::InputMethodQuery query) const {
  return QAbstractScrollArea::inputMethodQuery(query);
}
void TTextView::startDrag() {}
void TTextView::autoScroll() {}
