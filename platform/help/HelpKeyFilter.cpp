// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/help/HelpKeyFilter.h"

#include <QKeyEvent>

#include "platform/help/HelpSource.h"

THelpKeyFilter::THelpKeyFilter(std::function<bool(const QString &)> show, QWidget *main,
                               QObject *parent)
    : QObject(parent), show_(std::move(show)), main_(main) {}

bool THelpKeyFilter::eventFilter(QObject *watched, QEvent *event) {
  const bool override = event->type() == QEvent::ShortcutOverride;
  if ((!override && event->type() != QEvent::KeyPress) || !watched->isWidgetType()) return false;
  auto *key = static_cast<QKeyEvent *>(event);
  if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
  QWidget *window = static_cast<QWidget *>(watched)->window();
  if (window == main_) return false;
  if (!ShowTopicOf(window)) return false;
  // Taking the shortcut's turn keeps the main window's F1 command from running as well.
  event->accept();
  return true;
}

bool THelpKeyFilter::ShowTopicOf(QWidget *window) const {
  // A window (or an open menu) may name its help context number or its topic.
  if (const QVariant context = window->property("HelpContext"); context.isValid())
    if (show_(HelpContextId(context.toInt()))) return true;
  if (const QVariant topic = window->property("HelpTopic"); topic.isValid())
    if (show_(topic.toString())) return true;
  for (const QMetaObject *type = window->metaObject(); type && type != &QWidget::staticMetaObject;
       type = type->superClass())
    if (show_(QString::fromLatin1(type->className()))) return true;
  return false;
}
