// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/ui/NewListBox.h"

TNewListBox::TNewListBox(QWidget *parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
}

QString TNewListBox::SelectedText() const {
  const QList<QListWidgetItem *> items = selectedItems();
  return items.isEmpty() ? QString() : items.first()->text();
}

void TNewListBox::ReportChange() {
  if (!selectedItems().isEmpty()) Q_EMIT Change();
}

void TNewListBox::mouseReleaseEvent(QMouseEvent *event) {
  QListWidget::mouseReleaseEvent(event);
  ReportChange();
}

void TNewListBox::keyPressEvent(QKeyEvent *event) {
  QListWidget::keyPressEvent(event);
  ReportChange();
}

void TNewListBox::focusInEvent(QFocusEvent *event) {
  QListWidget::focusInEvent(event);
  Q_EMIT Entered();
}

void TNewListBox::mouseDoubleClickEvent(QMouseEvent *event) {
  QListWidget::mouseDoubleClickEvent(event);
  Q_EMIT DoubleClicked();
}
