// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/BarStyleMenu.h"

#include <QActionGroup>
#include <QToolBar>
#include <QToolButton>

TBarStyleMenu::TBarStyleMenu(const QList<QToolBar *> &bars, const TBarStyleTexts &texts)
    : QMenu(bars.first()) {
  setObjectName(QStringLiteral("pumToolBar"));
  mniExplore_ = AddItem(ExploreName, texts.exploreCaption, texts.exploreHint, 0);
  mniStandard_ = AddItem(StandardName, texts.standardCaption, texts.standardHint, 1);
  mniExplore_->setChecked(true);
  auto *group = new QActionGroup(this);
  group->addAction(mniExplore_);
  group->addAction(mniStandard_);
  for (QToolBar *bar : bars) AddBar(bar);
}

void TBarStyleMenu::AddBar(QToolBar *bar) {
  bars_ << bar;
  bar->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(bar, &QWidget::customContextMenuRequested, this,
          [this, guard = QPointer<QToolBar>(bar)](const QPoint &pos) {
            if (guard) popup(guard->mapToGlobal(pos));
          });
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
  const int tag = clicked->data().toInt();
  for (const QPointer<QToolBar> &bar : std::as_const(bars_))
    if (bar)
      for (QToolButton *button : bar->findChildren<QToolButton *>()) button->setAutoRaise(tag == 0);
  Q_EMIT StyleChosen(tag);
}
