// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/AccessibleNames.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace {

bool IsControl(const QWidget *widget) {
  return qobject_cast<const QAbstractButton *>(widget) || qobject_cast<const QLineEdit *>(widget) ||
         qobject_cast<const QComboBox *>(widget) ||
         qobject_cast<const QAbstractSpinBox *>(widget) ||
         qobject_cast<const QAbstractItemView *>(widget) ||
         qobject_cast<const QPlainTextEdit *>(widget) || qobject_cast<const QTextEdit *>(widget) ||
         // The document's own text view, known by its class name: this layer does not link it.
         widget->inherits("TTextView");
}

QString OwnName(const QWidget *widget) {
  if (!widget->accessibleName().isEmpty()) return widget->accessibleName();
  if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) return button->text();
  return {};
}

// The long part of a hint: what follows its bar, or the whole hint when it has none.
QString HintText(const QWidget *widget) {
  for (const QString &hint : {widget->statusTip(), widget->toolTip()}) {
    QString text = hint.section(u'|', -1).trimmed();
    if (!text.isEmpty()) return text;
  }
  return {};
}

}  // namespace

void TAccessibleNamer::NameControls(QWidget *window) {
  QHash<const QWidget *, QString> labelled;
  for (const QLabel *label : window->findChildren<QLabel *>())
    if (label->buddy())
      labelled.insert(label->buddy(), QString(label->text()).remove(u'&').remove(u':').trimmed());
  for (QWidget *control : window->findChildren<QWidget *>()) {
    if (!IsControl(control) || !OwnName(control).remove(u'&').trimmed().isEmpty()) continue;
    const QString name = labelled.value(control, HintText(control));
    if (!name.isEmpty()) control->setAccessibleName(name);
  }
}

bool TAccessibleNamer::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::Show && watched->isWidgetType())
    if (auto *window = static_cast<QWidget *>(watched); window->isWindow()) NameControls(window);
  return QObject::eventFilter(watched, event);
}
