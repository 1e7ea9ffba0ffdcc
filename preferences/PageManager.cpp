// SPDX-License-Identifier: GPL-3.0-or-later
#include "preferences/PageManager.h"

#include <QAbstractButton>
#include <QStackedWidget>

TPageProxy::TPageProxy(const QString &pageName, QWidget *page, QObject *parent)
    : QObject(parent), page_(page) {
  setObjectName(pageName);
}

TPageManager::TPageManager(QStackedWidget *pages, QAbstractButton *next, QAbstractButton *previous,
                           QObject *parent)
    : QObject(parent), pages_(pages), next_(next), previous_(previous) {}

void TPageManager::AddPage(const QString &pageName, QWidget *page) {
  proxies_ << new TPageProxy(pageName, page, this);
  if (pages_->indexOf(page) < 0) pages_->addWidget(page);
}

void TPageManager::Start() {
  connect(next_, &QAbstractButton::clicked, this, &TPageManager::Next);
  connect(previous_, &QAbstractButton::clicked, this, &TPageManager::Previous);
  show(0);
}

QString TPageManager::ActivePageName() const {
  return active_ >= 0 && active_ < proxies_.size() ? proxies_[active_]->PageName() : QString();
}

void TPageManager::Next() {
  if (active_ + 1 < proxies_.size()) show(active_ + 1);
}

void TPageManager::Previous() {
  if (active_ > 0) show(active_ - 1);
}

void TPageManager::show(int index) {
  if (index < 0 || index >= proxies_.size()) return;
  active_ = index;
  if (QWidget *page = proxies_[index]->Page()) pages_->setCurrentWidget(page);
  previous_->setEnabled(active_ > 0);
  next_->setEnabled(active_ + 1 < proxies_.size());
  Q_EMIT PageChanged();
}
