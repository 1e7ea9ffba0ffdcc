// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QToolBar>

#include "settings/core/RootKey.h"
#include "settings/ui/PropertyBinding.h"

// The stored layout of a customisable tool bar, in its own section
// "<IniSection>\<window class name><tool-bar name>" ("Main Form\TfrmMainbarMCustom"):
// "Position" (0 none, 1 top, 2 bottom, 3 left, 4 right), "Width" (its height at the top or
// bottom, its width at the left or right), "Version" (the bar's dynamic property "Version",
// 0 when unset), "PixelsPerInch", "BtnWidth", "BtnHeight", "Button1".."Button<n>" as
// "<name>,<left>,<top>" for each visible button in the bar's order, and "Count".
//
// A button's name is its action's objectName (or its widget's). On restore the listed
// buttons (found on the bar, or among the window's actions) make up the bar in the order of
// their stored places; buttons not listed leave it.
namespace ToolBarLayout {

// Member names of a tool bar's option set, bit by bit.
const QStringList &OptionNames();
// "Options" of a tool bar: sbAllowDrag is whether it can be moved, sbFlatBtns whether its
// buttons are flat; the other members are kept with the bar.
std::unique_ptr<TValueAccessor> OptionsAccessor(QToolBar *bar);

QString Section(const QString &iniSection, const QString &formClass, const QToolBar *bar);
void Save(TRootKey &root, const QString &section, QToolBar *bar);
// Throws ESettingsError for a value of a non-string type (the rest is then not restored).
void Restore(TRootKey &root, const QString &section, QToolBar *bar);

// Most "Button<n>" values a restore reads.
inline constexpr int MaxButtons = 1024;

}  // namespace ToolBarLayout
