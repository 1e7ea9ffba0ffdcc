// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMenu>
#include <QString>

class QToolBar;

// Captions and hints of the two style items; they differ slightly from window to window.
struct TBarStyleTexts {
  QString exploreCaption;
  QString exploreHint;
  QString standardCaption;
  QString standardHint;
};

// The right-click menu of a window's tool bar: "IExplorer Style" (tag 0, flat buttons) and
// "Standard Style" (tag 1, raised buttons), radio items named mniExplore and mniStandard so a
// window's settings store keeps their check marks. The bar opens it on a right click. The
// dialogs and the mail windows share it; a window may add its own entries below the two.
class TBarStyleMenu : public QMenu {
  Q_OBJECT

 public:
  TBarStyleMenu(QToolBar *bar, const TBarStyleTexts &texts);

  QAction *mniExplore() const { return mniExplore_; }
  QAction *mniStandard() const { return mniStandard_; }

  // The clicked item ticks itself; tag 0 makes the bar's buttons flat, tag 1 raised.
  void UpdateMenus(QAction *clicked);

 private:
  QAction *AddItem(const char *name, const QString &caption, const QString &hint, int tag);

  QToolBar *bar_;
  QAction *mniExplore_;
  QAction *mniStandard_;
};
