#pragma once

#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QToolBar;
class QWidget;

// The pop-up menu of a window's tool bar with its two style items: "I&Explorer Style"
// (mniExplore, flat buttons) and the raised style (mniStandard). The clicked
// item ticks itself and restyles the bar (UpdateMenus). The items are the window's children,
// so its form storage finds them by name.
class TStyleMenu : public QObject {
  Q_OBJECT

 public:
  struct THints {
    QString standardCaption;
    QString flat;
    QString raised;
  };

  TStyleMenu(QWidget *form, QToolBar *bar, const THints &hints);

  QMenu *Menu() const { return pumToolBar_; }
  QAction *Explore() const { return mniExplore_; }
  QAction *Standard() const { return mniStandard_; }

  // The clicked style item ticks itself: mniExplore gives flat buttons, mniStandard raised
  // ones.
  void UpdateMenus(QAction *clicked);

 private:
  QToolBar *bar_;
  QMenu *pumToolBar_;
  QAction *mniExplore_;
  QAction *mniStandard_;
};
