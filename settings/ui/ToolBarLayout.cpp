// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ui/ToolBarLayout.h"

#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QToolButton>
#include <QWidgetAction>
#include <algorithm>
#include <optional>

#include "settings/core/PropertyText.h"

namespace ToolBarLayout {

namespace {

constexpr quint64 AllowDrag = 1, AllowResize = 2, FlatButtons = 4;
const char optionsMemo[] = "_storedToolBarOptions";
// Buttons are never placed closer to the bar's edge than this.
constexpr int ButtonOffset = 3;

QMainWindow *MainWindowOf(const QToolBar *bar) {
  return qobject_cast<QMainWindow *>(bar->parentWidget());
}

int Position(const QToolBar *bar) {
  QMainWindow *window = MainWindowOf(bar);
  if (!window) return 1;
  if (bar->isFloating()) return 0;
  switch (window->toolBarArea(const_cast<QToolBar *>(bar))) {
    case Qt::BottomToolBarArea:
      return 2;
    case Qt::LeftToolBarArea:
      return 3;
    case Qt::RightToolBarArea:
      return 4;
    default:
      return 1;
  }
}

Qt::ToolBarArea AreaOf(int position) {
  switch (position) {
    case 2:
      return Qt::BottomToolBarArea;
    case 3:
      return Qt::LeftToolBarArea;
    case 4:
      return Qt::RightToolBarArea;
    default:
      return Qt::TopToolBarArea;  // top, and any value that names no side
  }
}

QString ButtonName(QToolBar *bar, QAction *action) {
  if (!action->objectName().isEmpty()) return action->objectName();
  if (auto *widgetAction = qobject_cast<QWidgetAction *>(action);
      widgetAction && widgetAction->defaultWidget())
    return widgetAction->defaultWidget()->objectName();
  QWidget *widget = bar->widgetForAction(action);
  return widget ? widget->objectName() : QString();
}

int Dpi(const QWidget *widget) { return widget->logicalDpiY() > 0 ? widget->logicalDpiY() : 96; }

QSize ButtonSize(QToolBar *bar) {
  for (QAction *action : bar->actions())
    if (QWidget *widget = bar->widgetForAction(action); widget && !action->isSeparator())
      return widget->size();
  return bar->iconSize() + QSize(7, 6);
}

// Makes the listed buttons the bar's buttons, in that order: separators keep their slots, the
// listed buttons fill the button slots in turn (any beyond them go at the end), and buttons
// not listed leave the bar. Re-made button widgets keep the fixed size and flatness the old
// ones had.
void Rebuild(QToolBar *bar, const QList<QAction *> &listed) {
  QList<QAction *> target;
  qsizetype next = 0;
  for (QAction *action : bar->actions()) {
    if (action->isSeparator())
      target.append(action);
    else if (next < listed.size())
      target.append(listed[next++]);
  }
  while (next < listed.size()) target.append(listed[next++]);
  for (QAction *action : listed) action->setVisible(true);
  if (target == bar->actions()) return;

  std::optional<QSize> fixedSize;
  std::optional<bool> flat;
  if (const QList<QToolButton *> old = bar->findChildren<QToolButton *>(); !old.isEmpty()) {
    if (old.first()->minimumSize() == old.first()->maximumSize()) fixedSize = old.first()->size();
    flat = old.first()->autoRaise();
  }
  for (QAction *action : bar->actions()) bar->removeAction(action);
  bar->addActions(target);
  for (QAction *action : target) {
    auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(action));
    if (!button) continue;
    if (fixedSize) button->setFixedSize(*fixedSize);
    if (flat) button->setAutoRaise(*flat);
  }
}

// A button by name: one of the bar's, else an action of the window that may be put on it.
QAction *FindButton(QToolBar *bar, const QString &name) {
  for (QAction *action : bar->actions())
    if (!action->isSeparator() && ButtonName(bar, action).compare(name, Qt::CaseInsensitive) == 0)
      return action;
  QWidget *window = bar->window();
  for (QAction *action : window->findChildren<QAction *>())
    if (action->objectName().compare(name, Qt::CaseInsensitive) == 0 && !action->menu())
      return action;
  return nullptr;
}

}  // namespace

const QStringList &OptionNames() {
  static const QStringList names = {
      QStringLiteral("sbAllowDrag"),       QStringLiteral("sbAllowResize"),
      QStringLiteral("sbFlatBtns"),        QStringLiteral("sbGrayedBtns"),
      QStringLiteral("sbTransparentBtns"), QStringLiteral("sbStretchBitmap")};
  return names;
}

std::unique_ptr<TValueAccessor> OptionsAccessor(QToolBar *bar) {
  QPointer<QToolBar> guard(bar);
  return PropertyBinding::MakeAccessor(
      [guard] {
        if (!guard) return QString();
        const QVariant kept = guard->property(optionsMemo);
        quint64 bits = kept.isValid() ? kept.toULongLong() : FlatButtons;
        bits = guard->isMovable() ? bits | AllowDrag : bits & ~AllowDrag;
        // The bar's own buttons tell, not its overflow arrow (a tool button too, always flat).
        for (QAction *action : guard->actions())
          if (auto *button = qobject_cast<QToolButton *>(guard->widgetForAction(action))) {
            bits = button->autoRaise() ? bits | FlatButtons : bits & ~FlatButtons;
            break;
          }
        return PropertyText::FromSet(bits, OptionNames());
      },
      [guard](const QString &text) {
        if (!guard) return;
        const quint64 bits = PropertyText::ToSet(text, OptionNames());
        guard->setProperty(optionsMemo, bits);
        guard->setMovable(bits & AllowDrag);
        for (QToolButton *button : guard->findChildren<QToolButton *>())
          button->setAutoRaise(bits & FlatButtons);
      });
}

QString Section(const QString &iniSection, const QString &formClass, const QToolBar *bar) {
  return iniSection + u'\\' + formClass + bar->objectName();
}

void Save(TRootKey &root, const QString &section, QToolBar *bar) {
  root.EraseSection(section);
  const int position = Position(bar);
  root.WriteInteger(section, QStringLiteral("Position"), position);
  if (position == 1 || position == 2)
    root.WriteInteger(section, QStringLiteral("Width"), bar->height());
  if (position == 3 || position == 4)
    root.WriteInteger(section, QStringLiteral("Width"), bar->width());
  root.WriteInteger(section, QStringLiteral("Version"), bar->property("Version").toInt());
  root.WriteInteger(section, QStringLiteral("PixelsPerInch"), Dpi(bar));
  const QSize size = ButtonSize(bar);
  root.WriteInteger(section, QStringLiteral("BtnWidth"), size.width());
  root.WriteInteger(section, QStringLiteral("BtnHeight"), size.height());
  int count = 0;
  for (QAction *action : bar->actions()) {
    const QString name = ButtonName(bar, action);
    if (action->isSeparator() || !action->isVisible() || name.isEmpty()) continue;
    QWidget *widget = bar->widgetForAction(action);
    const QPoint place = widget ? widget->pos() : QPoint(ButtonOffset, ButtonOffset);
    root.WriteString(section, QStringLiteral("Button%1").arg(++count),
                     QStringLiteral("%1,%2,%3").arg(name).arg(place.x()).arg(place.y()));
  }
  root.WriteInteger(section, QStringLiteral("Count"), count);
}

void Restore(TRootKey &root, const QString &section, QToolBar *bar) {
  const int ownVersion = bar->property("Version").toInt();
  if (root.ReadInteger(section, QStringLiteral("Version"), ownVersion) < ownVersion) return;
  const quint64 options = PropertyText::ToSet(OptionsAccessor(bar)->Text(), OptionNames());
  if (options & AllowDrag) {
    const int position = root.ReadInteger(section, QStringLiteral("Position"), Position(bar));
    if (QMainWindow *window = MainWindowOf(bar); window && position != Position(bar))
      window->addToolBar(AreaOf(position), bar);
  }
  if (root.ReadInteger(section, QStringLiteral("PixelsPerInch"), Dpi(bar)) != Dpi(bar)) return;
  if (options & AllowResize) {
    const int width = root.ReadInteger(section, QStringLiteral("Width"), 0);
    const int position = Position(bar);
    if (width > 0 && (position == 1 || position == 2)) bar->setFixedHeight(width);
    if (width > 0 && (position == 3 || position == 4)) bar->setFixedWidth(width);
  }
  const int count = std::min(root.ReadInteger(section, QStringLiteral("Count"), 0), MaxButtons);
  if (count <= 0) return;

  struct TPlace {
    QAction *action;
    int left, top;
  };
  QList<TPlace> places;
  for (int i = 1; i <= count; ++i) {
    const QStringList words =
        PropertyText::Words(root.ReadString(section, QStringLiteral("Button%1").arg(i), QString()));
    if (words.isEmpty()) continue;
    QAction *action = FindButton(bar, words[0]);
    if (!action) continue;  // a button that no longer exists
    QWidget *widget = bar->widgetForAction(action);
    const QPoint current = widget ? widget->pos() : QPoint();
    const int left = words.size() > 1
                         ? PropertyText::ToIntegerOrNothing(words[1]).value_or(current.x())
                         : current.x();
    const int top = words.size() > 2
                        ? PropertyText::ToIntegerOrNothing(words[2]).value_or(current.y())
                        : current.y();
    places.append({action, std::max(left, ButtonOffset), std::max(top, ButtonOffset)});
  }
  std::stable_sort(places.begin(), places.end(), [](const TPlace &a, const TPlace &b) {
    return a.top != b.top ? a.top < b.top : a.left < b.left;
  });
  QList<QAction *> listed;
  for (const TPlace &place : places)
    if (!listed.contains(place.action)) listed.append(place.action);
  Rebuild(bar, listed);
  bar->update();
}

}  // namespace ToolBarLayout
