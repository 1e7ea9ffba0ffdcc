#include "HelpKeyFilter.h"

#include <QKeyEvent>
#include <QWidget>

#include "HelpSource.h"

THelpKeyFilter::THelpKeyFilter(std::function<bool(const QString &)> show, QObject *parent)
    : QObject(parent), show_(std::move(show)) {}

bool THelpKeyFilter::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  auto *key = static_cast<QKeyEvent *>(event);
  if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
  QWidget *window = static_cast<QWidget *>(watched)->window();
  // A window (or an open menu) may name its help context number.
  if (const QVariant context = window->property("HelpContext"); context.isValid())
    if (show_(HelpContextId(context.toInt()))) return true;
  for (const QMetaObject *type = window->metaObject(); type && type != &QWidget::staticMetaObject;
       type = type->superClass())
    if (show_(QString::fromLatin1(type->className()))) return true;
  return false;
}
