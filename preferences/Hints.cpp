// SPDX-License-Identifier: GPL-3.0-or-later
#include "preferences/Hints.h"

#include <QAction>
#include <QKeyEvent>
#include <QWidget>

namespace Hints {

void Set(QObject *control, const QString &hint) {
  const qsizetype bar = hint.indexOf(u'|');
  const QString popup = bar < 0 ? hint : hint.left(bar);
  const QString status = bar < 0 ? hint : hint.mid(bar + 1);
  if (auto *action = qobject_cast<QAction *>(control)) {
    action->setToolTip(popup.isEmpty() ? action->text().remove(u'&') : popup);
    action->setStatusTip(status);
  } else if (auto *widget = qobject_cast<QWidget *>(control)) {
    widget->setToolTip(popup);
    widget->setStatusTip(status);
  }
}

void SetHelp(QWidget *control, int context) { control->setProperty("HelpContext", context); }

namespace {

// Enter and Return move on to the next control and are swallowed.
class TEnterToTab : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget) return false;
    // The window's focus chain moves from the widget that has the focus.
    if (QWidget *next = widget->nextInFocusChain()) {
      while (next != widget &&
             !(next->isEnabled() && next->isVisible() && (next->focusPolicy() & Qt::TabFocus)))
        next = next->nextInFocusChain();
      next->setFocus(Qt::TabFocusReason);
    }
    return true;
  }
};

// Runs an action when the watched control loses the focus.
class TFocusOut : public QObject {
 public:
  TFocusOut(QObject *parent, std::function<void()> action)
      : QObject(parent), action_(std::move(action)) {}

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() != QEvent::FocusOut) return false;
    // Only the focus moving within a shown window: not another window (a message box)
    // taking it, nor a pop-up, nor the window closing.
    const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
    auto *widget = qobject_cast<QWidget *>(watched);
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && widget &&
        widget->window()->isVisible())
      action_();
    return false;
  }

 private:
  std::function<void()> action_;
};

}  // namespace

void OnFocusOut(QWidget *control, std::function<void()> action) {
  control->installEventFilter(new TFocusOut(control, std::move(action)));
}

void PressEnterKey(QWidget *control) { control->installEventFilter(new TEnterToTab(control)); }

}  // namespace Hints
