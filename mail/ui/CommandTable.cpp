// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/ui/CommandTable.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QToolBar>
#include <QWidget>

namespace {

// Adds action to a menu or bar, with a separator where the group changes.
template <typename Target>
void Place(Target *target, QAction *action, int group, std::map<Target *, int> &lastGroup) {
  const auto last = lastGroup.find(target);
  if (last != lastGroup.end() && last->second != group) target->addSeparator();
  lastGroup[target] = group;
  target->addAction(action);
}

}  // namespace

QAction *TCommandTable::MakeCommand(QObject *owner, const char *name, const QString &caption,
                                    const QString &hint, const QIcon &glyph) {
  auto *action = new QAction(glyph, caption, owner);
  action->setObjectName(QString::fromLatin1(name));
  action->setToolTip(hint);
  action->setStatusTip(hint);
  return action;
}

TCommandTable::TCommandTable(QWidget *form, const std::vector<QMenu *> &menus, QToolBar *bar,
                             const std::vector<TCommandSpec> &specs)
    : QObject(form) {
  std::map<QMenu *, int> menuGroups;
  std::map<QToolBar *, int> barGroups;
  std::map<QMenu *, QActionGroup *> itemRadios;
  QActionGroup *buttonRadios = nullptr;
  for (const TCommandSpec &spec : specs) {
    auto make = [&](const TCommandFace &face, TCommandSource source) {
      QAction *action = MakeCommand(form, face.name, face.caption, face.hint, spec.glyph);
      action->setShortcut(spec.shortcut);
      action->setCheckable(spec.checkable || spec.radio);
      action->setChecked(spec.checked);
      action->setEnabled(spec.enabled);
      if (spec.handler)
        connect(action, &QAction::triggered, this,
                [handler = spec.handler, source] { handler(source); });
      return action;
    };
    if (spec.item.name && spec.menu >= 0 && spec.menu < static_cast<int>(menus.size())) {
      QMenu *menu = menus[static_cast<size_t>(spec.menu)];
      QAction *item = make(spec.item, TCommandSource::Menu);
      if (spec.radio) {
        QActionGroup *&group = itemRadios[menu];
        if (!group) group = new QActionGroup(this);
        group->addAction(item);
      }
      Place(menu, item, spec.item.group, menuGroups);
      items_[spec.id] = item;
    }
    if (spec.button.name && bar) {
      QAction *button = make(spec.button, TCommandSource::Button);
      // A button shares the menu item's shortcut only when there is no item to hold it.
      if (items_.count(spec.id)) button->setShortcut({});
      if (spec.radio) {
        if (!buttonRadios) buttonRadios = new QActionGroup(this);
        buttonRadios->addAction(button);
      }
      Place(bar, button, spec.button.group, barGroups);
      buttons_[spec.id] = button;
    }
  }
}

QAction *TCommandTable::Item(int id) const {
  const auto found = items_.find(id);
  return found == items_.end() ? nullptr : found->second;
}

QAction *TCommandTable::Button(int id) const {
  const auto found = buttons_.find(id);
  return found == buttons_.end() ? nullptr : found->second;
}

void TCommandTable::SetEnabled(int id, bool enabled) {
  for (QAction *action : {Item(id), Button(id)})
    if (action) action->setEnabled(enabled);
}
