// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/ToolButtonToggles.h"

#include <QAction>
#include <QActionGroup>
#include <QChildEvent>
#include <QPointer>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {

const char *const kTriggers = "triggerCount";

void Count(QAction *action) {
  if (!action || action->property(kTriggers).isValid()) return;
  action->setProperty(kTriggers, 0);
  QObject::connect(action, &QAction::triggered, action, [action] {
    action->setProperty(kTriggers, action->property(kTriggers).toInt() + 1);
  });
}

void Follow(QToolButton *button) {
  if (button->property("followsToggles").toBool()) return;
  button->setProperty("followsToggles", true);
  QObject::connect(button, &QToolButton::toggled, button, [button](bool on) {
    QPointer<QAction> action = button->defaultAction();
    if (!action || !action->isCheckable()) return;
    // In a group of choices a button goes off because another came on: that one runs.
    if (!on && action->actionGroup() && action->actionGroup()->isExclusive()) return;
    Count(action);
    // A click triggers the command while the button toggles; a direct toggle only passes the
    // new state on. Once the toggle is through, run the command if nothing triggered it.
    const int before = action->property(kTriggers).toInt();
    QTimer::singleShot(0, action, [action, before, on] {
      if (action && action->isEnabled() && action->property(kTriggers).toInt() == before &&
          action->isChecked() == on)
        Q_EMIT action->triggered(on);
    });
  });
}

class TToggleWatcher : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::ChildPolished)
      if (auto *button = qobject_cast<QToolButton *>(static_cast<QChildEvent *>(event)->child()))
        Follow(button);
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

namespace ToolButtonToggles {

void RunCommandsOnToggle(QToolBar *bar) {
  for (QToolButton *button : bar->findChildren<QToolButton *>(Qt::FindDirectChildrenOnly))
    Follow(button);
  bar->installEventFilter(new TToggleWatcher(bar));
}

}  // namespace ToolButtonToggles
