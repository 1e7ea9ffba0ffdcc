#include "StyleMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

TStyleMenu::TStyleMenu(QWidget *form, QToolBar *bar, const THints &hints)
    : QObject(form), bar_(bar), pumToolBar_(new QMenu(form)) {
  pumToolBar_->setObjectName(QStringLiteral("pumToolBar"));
  pumToolBar_->setToolTipsVisible(true);
  auto *group = new QActionGroup(this);
  auto make = [&](const char *name, const QString &caption, const QString &hint, int tag) {
    auto *item = new QAction(caption, form);
    item->setObjectName(QString::fromLatin1(name));
    item->setCheckable(true);
    item->setToolTip(hint);
    item->setStatusTip(hint);
    item->setProperty("tag", tag);
    group->addAction(item);
    pumToolBar_->addAction(item);
    connect(item, &QAction::triggered, this, [this, item] { UpdateMenus(item); });
    return item;
  };
  mniExplore_ = make("mniExplore", QStringLiteral("I&Explorer Style"), hints.flat, 0);
  mniStandard_ = make("mniStandard", hints.standardCaption, hints.raised, 1);
  mniExplore_->setChecked(true);
  bar->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(bar, &QWidget::customContextMenuRequested, this,
          [this](const QPoint &at) { pumToolBar_->popup(bar_->mapToGlobal(at)); });
}

void TStyleMenu::UpdateMenus(QAction *clicked) {
  clicked->setChecked(true);
  const bool flat = clicked->property("tag").toInt() == 0;
  for (QToolButton *button : bar_->findChildren<QToolButton *>()) button->setAutoRaise(flat);
}
