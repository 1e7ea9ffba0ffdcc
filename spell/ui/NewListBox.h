// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>

// A list box that reports Change after each mouse click or keyboard move that leaves an item
// selected, and every double-click.
class TNewListBox : public QListWidget {
  Q_OBJECT
 public:
  explicit TNewListBox(QWidget *parent = nullptr);

  // The selected item's text; empty when nothing is selected.
  QString SelectedText() const;

 Q_SIGNALS:
  void Change();
  // The list received the focus.
  void Entered();
  // A double-click anywhere on the list, on an item or not.
  void DoubleClicked();

 protected:
  void mouseReleaseEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void focusInEvent(QFocusEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;

 private:
  void ReportChange();
};
