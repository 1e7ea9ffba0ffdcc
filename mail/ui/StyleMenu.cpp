#include "StyleMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include "CommandTable.h"

TStyleMenu::TStyleMenu(QWidget *form, QToolBar *bar, const THints &hints)
    : QObject(form), bar_(bar), pumToolBar_(new QMenu(form)) {
  pumToolBar_->setObjectName(QStringLiteral("pumToolBar"));
  pumToolBar_->setToolTipsVisible(true);
  auto *group = new QActionGroup(this);
  auto make = [&](const char *name, const QString &caption, const QString &hint) {
    QAction *item = TCommandTable::MakeCommand(form, name, caption, hint);
    item->setCheckable(true);
    group->addAction(item);
    pumToolBar_->addAction(item);
    connect(item, &QAction::triggered, this, [this, item] { UpdateMenus(item); });
    return item;
  };
  mniExplore_ = make("mniExplore", QStringLiteral("I&Explorer Style"), hints.flat);
  mniStandard_ = make("mniStandard", hints.standardCaption, hints.raised);
  mniExplore_->setChecked(true);
  bar->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(bar, &QWidget::customContextMenuRequested, this,
          [this](const QPoint &at) { pumToolBar_->popup(bar_->mapToGlobal(at)); });
}

void TStyleMenu::UpdateMenus(QAction *clicked) {
  clicked->setChecked(true);
  const bool flat = clicked == mniExplore_;
  for (QToolButton *button : bar_->findChildren<QToolButton *>()) button->setAutoRaise(flat);
}
