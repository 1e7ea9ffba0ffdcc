// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QAbstractButton;
class QStackedWidget;
class QWidget;

// One page of a wizard, known by its name.
class TPageProxy : public QObject {
  Q_OBJECT

 public:
  TPageProxy(const QString &pageName, QWidget *page, QObject *parent);
  QString PageName() const { return objectName(); }
  QWidget *Page() const { return page_; }

 private:
  QPointer<QWidget> page_;
};

// Drives a stack of pages with a next and a previous button, strictly in the order of its
// proxies (no history). The buttons are enabled exactly when there is a page to go to.
class TPageManager : public QObject {
  Q_OBJECT

 public:
  TPageManager(QStackedWidget *pages, QAbstractButton *next, QAbstractButton *previous,
               QObject *parent);

  void AddPage(const QString &pageName, QWidget *page);
  // Shows the first page and takes over the two buttons' clicks.
  void Start();
  void Next();
  void Previous();
  int ActiveIndex() const { return active_; }
  QString ActivePageName() const;

 Q_SIGNALS:
  void PageChanged();

 private:
  void show(int index);

  QStackedWidget *pages_;
  QAbstractButton *next_;
  QAbstractButton *previous_;
  QList<TPageProxy *> proxies_;
  int active_ = -1;
};
