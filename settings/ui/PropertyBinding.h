// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// One stored text value of a control's property, in its stored encoding.
class TValueAccessor {
 public:
  virtual ~TValueAccessor() = default;
  virtual QString Text() const = 0;
  // Assigns through the control's ordinary setter; text the encoding cannot use leaves the
  // property unchanged.
  virtual void SetText(const QString &text) = 0;
};

// A property named in a stored-property entry ("mniWordWrap.Checked"), bound to the control.
// Plain properties are one text value named "C_P"; a string list is kept in its own section;
// a font is one text value per sub-property ("C_PName", "C_PSize", ...), in the order of the
// sub-property names so that the size is applied after the height.
struct TBoundProperty {
  enum class TKind { Value, StringList, Font };

  QString component;
  QString property;
  QPointer<QObject> object;
  TKind kind = TKind::Value;
  std::unique_ptr<TValueAccessor> value;
  std::function<QStringList()> lines;
  std::function<void(const QStringList &)> setLines;
  std::vector<std::pair<QString, std::unique_ptr<TValueAccessor>>> parts;

  QString ValueName() const { return component + u'_' + property; }
};

// Finds how property `name` (a name of the stored format, compared without regard to case)
// of object is stored. Looked up, in this order:
//  1. a property the object declares, or a dynamic property, spelt exactly `name` (so a
//     control may offer "SelectionBar", "UndoLimit", ... itself, typed by its value);
//  2. the table of stored names for Qt's own classes (Checked, Caption, Text, Lines, Items,
//     Visible, Color, Font, ScrollBars, ActivePage, Options of a tool bar, ...);
//  3. a Qt property of the same name ignoring case ("Flat" is "flat", "Value" is "value").
// Types: bool, integers, enumerations and flags (declared with Q_ENUM / Q_FLAG, whose key
// names are the stored names), floating point, QString, QChar, QStringList, QFont, QColor and
// object pointers (component references). Nothing when the property does not exist.
// form is the window the object belongs to (for component references).
std::optional<TBoundProperty> BindProperty(QWidget *form, QObject *object, const QString &name);

namespace PropertyBinding {
// An accessor made of a getter and a setter over text.
std::unique_ptr<TValueAccessor> MakeAccessor(std::function<QString()> get,
                                             std::function<void(const QString &)> set);
// Accessor for a colour property kept as a palette role of a widget.
std::unique_ptr<TValueAccessor> PaletteColor(QWidget *widget, bool text);
// The palette roles a widget's background and text colours use.
bool UsesBaseRole(const QWidget *widget);
}  // namespace PropertyBinding
