// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ui/PropertyBinding.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>

#include "settings/core/ColorValue.h"
#include "settings/core/PropertyText.h"
#include "settings/ui/FontBinding.h"
#include "settings/ui/ToolBarLayout.h"

namespace {

using TGetter = std::function<QVariant()>;
using TSetter = std::function<void(const QVariant &)>;

// An accessor made of two functions over text.
class TTextAccessor : public TValueAccessor {
 public:
  TTextAccessor(std::function<QString()> get, std::function<void(const QString &)> set)
      : get_(std::move(get)), set_(std::move(set)) {}
  QString Text() const override { return get_(); }
  void SetText(const QString &text) override { set_(text); }

 private:
  std::function<QString()> get_;
  std::function<void(const QString &)> set_;
};

std::unique_ptr<TValueAccessor> Accessor(std::function<QString()> get,
                                         std::function<void(const QString &)> set) {
  return std::make_unique<TTextAccessor>(std::move(get), std::move(set));
}

QVariant Converted(QVariant value, QMetaType type) {
  if (value.metaType() != type) value.convert(type);
  return value;
}

// Names of an enumeration by value (values 0..n-1) or of a flag set by bit.
QStringList EnumNames(const QMetaEnum &meta) {
  QStringList names;
  for (int i = 0; i < meta.keyCount(); ++i) {
    const int value = meta.value(i);
    int index = value;
    if (meta.isFlag()) {
      if (value == 0 || (value & (value - 1)) != 0) continue;  // only single bits are members
      index = 0;
      while (!(value & (1 << index))) ++index;
    }
    if (index < 0 || index > 63) continue;
    if (names.size() <= index) names.resize(index + 1);
    names[index] = QString::fromLatin1(meta.key(i));
  }
  return names;
}

QObject *FindComponent(QWidget *form, const QString &text) {
  const qsizetype dot = text.indexOf(u'.');
  if (dot < 0) {
    if (form && form->objectName() == text) return form;
    return form ? form->findChild<QObject *>(text) : nullptr;
  }
  const QString owner = text.left(dot), name = text.mid(dot + 1);
  for (QWidget *window : QApplication::topLevelWidgets()) {
    if (window->objectName().compare(owner, Qt::CaseInsensitive) == 0)
      return window->findChild<QObject *>(name);
  }
  return nullptr;
}

QString ReferenceText(QWidget *form, const QObject *object) {
  if (!object) return QStringLiteral("(null)");
  if (form) {
    for (const QObject *o = object; o; o = o->parent())
      if (o == form) return object->objectName();
  }
  const QObject *owner = object->parent();
  while (owner && !(owner->isWidgetType() && static_cast<const QWidget *>(owner)->isWindow()))
    owner = owner->parent();
  return owner ? owner->objectName() + u'.' + object->objectName() : object->objectName();
}

std::unique_ptr<TValueAccessor> ReferenceAccessor(QWidget *form,
                                                  const std::function<QObject *()> &get,
                                                  const std::function<void(QObject *)> &set) {
  return Accessor([form, get] { return ReferenceText(form, get()); },
                  [form, set](const QString &text) {
                    if (text == u"(null)") {
                      set(nullptr);
                    } else if (QObject *found = FindComponent(form, text)) {
                      set(found);
                    }
                  });
}

bool BindMetaProperty(TBoundProperty &bound, QWidget *form, const QMetaProperty &prop);

// A value accessor by type; sets kind for string lists and fonts. Null for unusable types.
bool BindTyped(TBoundProperty &bound, QWidget *form, QMetaType type, const QMetaEnum &meta,
               const TGetter &get, const TSetter &set) {
  const int id = type.id();
  if (meta.isValid()) {
    const QStringList names = EnumNames(meta);
    if (meta.isFlag()) {
      bound.value =
          Accessor([get, names] { return PropertyText::FromSet(get().toULongLong(), names); },
                   [set, names, type](const QString &text) {
                     set(Converted(QVariant(int(PropertyText::ToSet(text, names))), type));
                   });
    } else {
      bound.value = Accessor([get, names] { return PropertyText::FromEnum(get().toInt(), names); },
                             [set, names, type](const QString &text) {
                               if (const auto index = PropertyText::ToEnum(text, names))
                                 set(Converted(QVariant(*index), type));
                             });
    }
    return true;
  }
  switch (id) {
    case QMetaType::Bool:
      bound.value = Accessor([get] { return PropertyText::FromBool(get().toBool()); },
                             [set](const QString &text) {
                               if (const auto value = PropertyText::ToBool(text)) set(*value);
                             });
      return true;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
      bound.value = Accessor([get] { return PropertyText::FromInteger(get().toLongLong()); },
                             [set, type](const QString &text) {
                               set(Converted(QVariant(PropertyText::ToInteger(text)), type));
                             });
      return true;
    case QMetaType::Double:
    case QMetaType::Float: {
      const int digits = id == QMetaType::Float ? 7 : 15;
      bound.value =
          Accessor([get, digits] { return PropertyText::FromFloat(get().toDouble(), digits); },
                   [set, type](const QString &text) {
                     if (const auto value = PropertyText::ToFloat(text))
                       set(Converted(QVariant(*value), type));
                   });
      return true;
    }
    case QMetaType::QString:
      bound.value =
          Accessor([get] { return get().toString(); }, [set](const QString &text) { set(text); });
      return true;
    case QMetaType::QChar:
      bound.value = Accessor([get] { return PropertyText::FromChar(get().value<QChar>()); },
                             [set](const QString &text) {
                               if (const auto value = PropertyText::ToChar(text))
                                 set(QVariant::fromValue(*value));
                             });
      return true;
    case QMetaType::QStringList:
      bound.kind = TBoundProperty::TKind::StringList;
      bound.lines = [get] { return get().toStringList(); };
      bound.setLines = [set](const QStringList &lines) { set(lines); };
      return true;
    case QMetaType::QColor: {
      // The colour value last stored is kept, so that a system colour stays one.
      auto remembered = std::make_shared<std::optional<qint32>>();
      bound.value = Accessor(
          [get, remembered] {
            const QColor color = get().value<QColor>();
            if (*remembered &&
                ColorValue::ToQColor(**remembered, QGuiApplication::palette()) == color)
              return PropertyText::FromInteger(**remembered);
            return PropertyText::FromInteger(ColorValue::FromQColor(color));
          },
          [set, remembered](const QString &text) {
            const qint32 value = PropertyText::ToInteger(text);
            *remembered = value;
            set(ColorValue::ToQColor(value, QGuiApplication::palette()));
          });
      return true;
    }
    case QMetaType::QFont:
      if (auto *widget = qobject_cast<QWidget *>(bound.object.data())) {
        bound.kind = TBoundProperty::TKind::Font;
        bound.parts = FontBinding::Parts(
            widget, [get] { return get().value<QFont>(); },
            [set](const QFont &font) { set(font); });
        // A control that declares its own text colour keeps it there.
        const int colorIndex = widget->metaObject()->indexOfProperty("FontColor");
        TBoundProperty color;
        color.object = widget;
        if (colorIndex >= 0 &&
            BindMetaProperty(color, form, widget->metaObject()->property(colorIndex)) &&
            color.value) {
          for (auto &[part, accessor] : bound.parts)
            if (part == u"Color") accessor = std::move(color.value);
        }
        return true;
      }
      return false;
    default:
      break;
  }
  if (type.flags().testFlag(QMetaType::PointerToQObject)) {
    bound.value = ReferenceAccessor(
        form, [get] { return get().value<QObject *>(); },
        [set, type](QObject *object) { set(Converted(QVariant::fromValue(object), type)); });
    return true;
  }
  return false;
}

bool BindMetaProperty(TBoundProperty &bound, QWidget *form, const QMetaProperty &prop) {
  if (!prop.isReadable() || !prop.isWritable()) return false;
  QObject *object = bound.object;
  return BindTyped(
      bound, form, prop.metaType(), prop.enumerator(), [object, prop] { return prop.read(object); },
      [object, prop](const QVariant &value) { prop.write(object, value); });
}

bool BindDynamicProperty(TBoundProperty &bound, QWidget *form, const QByteArray &name) {
  QObject *object = bound.object;
  const QVariant current = object->property(name.constData());
  return BindTyped(
      bound, form, current.metaType(), QMetaEnum(),
      [object, name] { return object->property(name.constData()); },
      [object, name](const QVariant &value) { object->setProperty(name.constData(), value); });
}

bool BindNamedQtProperty(TBoundProperty &bound, QWidget *form, const QString &name) {
  const QMetaObject *meta = bound.object->metaObject();
  for (int i = 0; i < meta->propertyCount(); ++i) {
    const QMetaProperty prop = meta->property(i);
    if (QString::fromLatin1(prop.name()).compare(name, Qt::CaseInsensitive) == 0)
      return BindMetaProperty(bound, form, prop);
  }
  return false;
}

bool BindFirstOf(TBoundProperty &bound, QWidget *form, std::initializer_list<const char *> names) {
  for (const char *name : names) {
    const int index = bound.object->metaObject()->indexOfProperty(name);
    if (index >= 0)
      return BindMetaProperty(bound, form, bound.object->metaObject()->property(index));
  }
  return false;
}

void BindLinesOfText(TBoundProperty &bound, const std::function<QString()> &get,
                     const std::function<void(const QString &)> &set) {
  bound.kind = TBoundProperty::TKind::StringList;
  bound.lines = [get] {
    const QString text = get();
    return text.isEmpty() ? QStringList() : text.split(u'\n');
  };
  bound.setLines = [set](const QStringList &lines) { set(lines.join(u'\n')); };
}

const QStringList scrollBarNames = {QStringLiteral("ssNone"), QStringLiteral("ssHorizontal"),
                                    QStringLiteral("ssVertical"), QStringLiteral("ssBoth")};

// The stored names for Qt's own classes.
bool BindQtClass(TBoundProperty &bound, QWidget *form, const QString &lower) {
  QObject *object = bound.object;
  auto *widget = qobject_cast<QWidget *>(object);
  if (lower == u"caption") {
    if (widget && widget->isWindow() && !qobject_cast<QLineEdit *>(widget))
      return BindFirstOf(bound, form, {"windowTitle"});
    return BindFirstOf(bound, form, {"text", "title", "plainText", "windowTitle"});
  }
  if (lower == u"text") return BindFirstOf(bound, form, {"text", "plainText", "currentText"});
  if (lower == u"lines") {
    if (auto *edit = qobject_cast<QPlainTextEdit *>(object)) {
      BindLinesOfText(
          bound, [edit] { return edit->toPlainText(); },
          [edit](const QString &text) { edit->setPlainText(text); });
      return true;
    }
    if (auto *edit = qobject_cast<QTextEdit *>(object)) {
      BindLinesOfText(
          bound, [edit] { return edit->toPlainText(); },
          [edit](const QString &text) { edit->setPlainText(text); });
      return true;
    }
    return false;
  }
  if (lower == u"items") {
    if (auto *list = qobject_cast<QListWidget *>(object)) {
      bound.kind = TBoundProperty::TKind::StringList;
      bound.lines = [list] {
        QStringList lines;
        for (int i = 0; i < list->count(); ++i) lines.append(list->item(i)->text());
        return lines;
      };
      bound.setLines = [list](const QStringList &lines) {
        list->clear();
        list->addItems(lines);
      };
      return true;
    }
    if (auto *combo = qobject_cast<QComboBox *>(object)) {
      bound.kind = TBoundProperty::TKind::StringList;
      bound.lines = [combo] {
        QStringList lines;
        for (int i = 0; i < combo->count(); ++i) lines.append(combo->itemText(i));
        return lines;
      };
      bound.setLines = [combo](const QStringList &lines) {
        combo->clear();
        combo->addItems(lines);
      };
      return true;
    }
    return false;
  }
  if (lower == u"sorted") {
    if (auto *list = qobject_cast<QListWidget *>(object))
      return BindTyped(
          bound, form, QMetaType::fromType<bool>(), QMetaEnum(),
          [list] { return QVariant(list->isSortingEnabled()); },
          [list](const QVariant &v) { list->setSortingEnabled(v.toBool()); });
    return false;
  }
  if (lower == u"visible" && widget) {
    // The control's own flag, not whether it is on screen now (its window may be hidden).
    return BindTyped(
        bound, form, QMetaType::fromType<bool>(), QMetaEnum(),
        [widget] { return QVariant(!widget->isHidden()); },
        [widget](const QVariant &v) { widget->setVisible(v.toBool()); });
  }
  if (lower == u"color" && widget) {
    bound.value = PropertyBinding::PaletteColor(widget, false);
    return true;
  }
  if (lower == u"font" && widget) {
    bound.kind = TBoundProperty::TKind::Font;
    bound.parts = FontBinding::Parts(
        widget, [widget] { return widget->font(); },
        [widget](const QFont &font) { widget->setFont(font); });
    return true;
  }
  if (lower == u"wordwrap") {
    if (auto *edit = qobject_cast<QPlainTextEdit *>(object))
      return BindTyped(
          bound, form, QMetaType::fromType<bool>(), QMetaEnum(),
          [edit] { return QVariant(edit->lineWrapMode() != QPlainTextEdit::NoWrap); },
          [edit](const QVariant &v) {
            edit->setLineWrapMode(v.toBool() ? QPlainTextEdit::WidgetWidth
                                             : QPlainTextEdit::NoWrap);
          });
    if (auto *edit = qobject_cast<QTextEdit *>(object))
      return BindTyped(
          bound, form, QMetaType::fromType<bool>(), QMetaEnum(),
          [edit] { return QVariant(edit->lineWrapMode() != QTextEdit::NoWrap); },
          [edit](const QVariant &v) {
            edit->setLineWrapMode(v.toBool() ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
          });
    return false;
  }
  if (lower == u"scrollbars") {
    auto *area = qobject_cast<QAbstractScrollArea *>(object);
    if (!area) return false;
    bound.value = Accessor(
        [area] {
          const int index = (area->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff ? 1 : 0) +
                            (area->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff ? 2 : 0);
          return scrollBarNames[index];
        },
        [area](const QString &text) {
          if (const auto index = PropertyText::ToEnum(text, scrollBarNames)) {
            area->setHorizontalScrollBarPolicy(*index & 1 ? Qt::ScrollBarAsNeeded
                                                          : Qt::ScrollBarAlwaysOff);
            area->setVerticalScrollBarPolicy(*index & 2 ? Qt::ScrollBarAsNeeded
                                                        : Qt::ScrollBarAlwaysOff);
          }
        });
    return true;
  }
  if (lower == u"activepage") {
    if (auto *tabs = qobject_cast<QTabWidget *>(object)) {
      bound.value = ReferenceAccessor(
          form, [tabs] { return tabs->currentWidget(); },
          [tabs](QObject *page) {
            if (auto *w = qobject_cast<QWidget *>(page); w && tabs->indexOf(w) >= 0)
              tabs->setCurrentWidget(w);
          });
      return true;
    }
    if (auto *stack = qobject_cast<QStackedWidget *>(object)) {
      bound.value = ReferenceAccessor(
          form, [stack] { return stack->currentWidget(); },
          [stack](QObject *page) {
            if (auto *w = qobject_cast<QWidget *>(page); w && stack->indexOf(w) >= 0)
              stack->setCurrentWidget(w);
          });
      return true;
    }
    return false;
  }
  if (lower == u"options") {
    if (auto *bar = qobject_cast<QToolBar *>(object)) {
      bound.value = ToolBarLayout::OptionsAccessor(bar);
      return true;
    }
  }
  return false;
}

}  // namespace

namespace PropertyBinding {

std::unique_ptr<TValueAccessor> MakeAccessor(std::function<QString()> get,
                                             std::function<void(const QString &)> set) {
  return Accessor(std::move(get), std::move(set));
}

bool UsesBaseRole(const QWidget *widget) {
  return qobject_cast<const QAbstractScrollArea *>(widget) ||
         qobject_cast<const QLineEdit *>(widget) ||
         qobject_cast<const QAbstractSpinBox *>(widget) || qobject_cast<const QComboBox *>(widget);
}

std::unique_ptr<TValueAccessor> PaletteColor(QWidget *widget, bool text) {
  const bool base = UsesBaseRole(widget);
  const QPalette::ColorRole role = text ? (base ? QPalette::Text : QPalette::WindowText)
                                        : (base ? QPalette::Base : QPalette::Window);
  // The colour value last stored is kept on the widget, so that a system colour stays one
  // while the widget still shows it.
  const QByteArray memo = QByteArrayLiteral("_storedColor") + QByteArray::number(int(role));
  QPointer<QWidget> guard(widget);
  return Accessor(
      [guard, role, memo] {
        if (!guard) return QString();
        const QColor shown = guard->palette().color(role);
        const QVariant kept = guard->property(memo.constData());
        if (kept.isValid() &&
            ColorValue::ToQColor(kept.toInt(), QGuiApplication::palette()) == shown)
          return PropertyText::FromInteger(kept.toInt());
        return PropertyText::FromInteger(ColorValue::FromQColor(shown));
      },
      [guard, role, memo, base, text](const QString &value) {
        if (!guard) return;
        const qint32 number = PropertyText::ToInteger(value);
        QPalette palette = guard->palette();
        palette.setColor(role, ColorValue::ToQColor(number, QGuiApplication::palette()));
        guard->setPalette(palette);
        if (!base && !text) guard->setAutoFillBackground(true);
        guard->setProperty(memo.constData(), number);
      });
}

}  // namespace PropertyBinding

std::optional<TBoundProperty> BindProperty(QWidget *form, QObject *object, const QString &name) {
  if (!object || name.isEmpty()) return std::nullopt;
  TBoundProperty bound;
  bound.object = object;
  bound.property = name;
  bound.component = object->objectName();
  const QByteArray latin = name.toLatin1();
  bool ok = false;
  const int index = object->metaObject()->indexOfProperty(latin.constData());
  if (index >= 0)
    ok = BindMetaProperty(bound, form, object->metaObject()->property(index));
  else if (object->dynamicPropertyNames().contains(latin))
    ok = BindDynamicProperty(bound, form, latin);
  if (!ok) ok = BindQtClass(bound, form, name.toLower());
  if (!ok) ok = BindNamedQtProperty(bound, form, name);
  if (!ok) return std::nullopt;
  return bound;
}
