// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QComboBox;
class QListWidget;
class QListWidgetItem;
class QToolBar;

// Customises one tool bar: the buttons of the chosen section that are not on the bar are
// listed on the left, the bar's buttons in their order on the right. Buttons move between
// the lists by dragging or with Add and Remove, and along the bar by dragging or with Move Up
// and Move Down; every change shows on the bar at once.
class TfrmCustomize : public QDialog {
  Q_OBJECT

 public:
  // buttons: every button the bar may show, each with its "section" property.
  TfrmCustomize(QToolBar *bar, const QList<QAction *> &buttons, QWidget *parent = nullptr);

  QListWidget *lstAvailable() const { return lstAvailable_; }
  QListWidget *lstButtons() const { return lstButtons_; }
  QComboBox *cbxSection() const { return cbxSection_; }

  void AddSelected();
  void RemoveSelected();
  void MoveSelected(int step);
  // The bar's buttons as they stood when the dialog opened.
  void ResetBar();

 private:
  void fillAvailable();
  void fillButtons();
  // Rebuilds the bar from the right-hand list.
  void applyToBar();
  QListWidgetItem *itemFor(QAction *button) const;
  QAction *actionOf(const QListWidgetItem *item) const;

  QToolBar *bar_;
  QList<QAction *> buttons_;
  QList<QAction *> original_;
  QComboBox *cbxSection_;
  QListWidget *lstAvailable_;
  QListWidget *lstButtons_;
};
