// SPDX-License-Identifier: GPL-3.0-or-later
#include "BarStyleMenu.h"

#include <QActionGroup>
#include <QToolBar>
#include <QToolButton>

TBarStyleMenu::TBarStyleMenu(QToolBar *bar, const TBarStyleTexts &texts) : QMenu(bar), bar_(bar) {
  setObjectName(QStringLiteral("pumToolBar"));
  mniExplore_ = AddItem("mniExplore", texts.exploreCaption, texts.exploreHint, 0);
  mniStandard_ = AddItem("mniStandard", texts.standardCaption, texts.standardHint, 1);
  mniExplore_->setChecked(true);
  auto *group = new QActionGroup(this);
  group->addAction(mniExplore_);
  group->addAction(mniStandard_);
  bar->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(bar, &QWidget::customContextMenuRequested, this,
          [this](const QPoint &pos) { popup(bar_->mapToGlobal(pos)); });
}

QAction *TBarStyleMenu::AddItem(const char *name, const QString &caption, const QString &hint,
                                int tag) {
  QAction *item = addAction(caption);
  item->setObjectName(QString::fromLatin1(name));
  item->setCheckable(true);
  item->setStatusTip(hint);
  item->setToolTip(hint);
  item->setData(tag);
  connect(item, &QAction::triggered, this, [this, item] { UpdateMenus(item); });
  return item;
}

void TBarStyleMenu::UpdateMenus(QAction *clicked) {
  clicked->setChecked(true);
  const bool flat = clicked->data().toInt() == 0;
  for (QToolButton *button : bar_->findChildren<QToolButton *>()) button->setAutoRaise(flat);
}
