// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QMenu>
#include <QPointer>
#include <QString>

class QToolBar;

// Captions and hints of the two style items; they differ slightly from window to window.
struct TBarStyleTexts {
  QString exploreCaption;
  QString exploreHint;
  QString standardCaption;
  QString standardHint;
};

// The right-click menu of a window's tool bars: "IExplorer Style" (tag 0, flat buttons) and
// "Standard Style" (tag 1, raised buttons), radio items named mniExplore and mniStandard so a
// window's settings store keeps their check marks. Each of its bars opens it on a right
// click and follows the chosen style. The main window, the preferences, the dialogs and the
// mail windows share it; a window may add its own entries below the two.
class TBarStyleMenu : public QMenu {
  Q_OBJECT

 public:
  // The items' object names, which stored settings use.
  static constexpr const char *ExploreName = "mniExplore";
  static constexpr const char *StandardName = "mniStandard";

  // The menu belongs to the first bar; bars must not be empty.
  TBarStyleMenu(const QList<QToolBar *> &bars, const TBarStyleTexts &texts);
  TBarStyleMenu(QToolBar *bar, const TBarStyleTexts &texts)
      : TBarStyleMenu(QList<QToolBar *>{bar}, texts) {}

  QAction *mniExplore() const { return mniExplore_; }
  QAction *mniStandard() const { return mniStandard_; }
  // mniExplore for tag 0, mniStandard for any other.
  QAction *ItemOfTag(int tag) const { return tag == 0 ? mniExplore_ : mniStandard_; }

  // A bar added after the menu was made: it opens the menu and follows the style from now on.
  void AddBar(QToolBar *bar);

  // The clicked item ticks itself; tag 0 makes the bars' buttons flat, tag 1 raised.
  void UpdateMenus(QAction *clicked);

 Q_SIGNALS:
  // A style item was chosen and the bars restyled: tag 0 flat, 1 raised.
  void StyleChosen(int tag);

 private:
  QAction *AddItem(const char *name, const QString &caption, const QString &hint, int tag);

  QList<QPointer<QToolBar>> bars_;  // a bar may go before the menu
  QAction *mniExplore_;
  QAction *mniStandard_;
};
