// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class QObject;
class QStatusBar;
class QWidget;

// Hints of the preferences and set-up windows: "short|long" shows the short part as the
// tool tip and the long part in the window's status line; "|long" has only the long part;
// a hint without "|" serves for both.
namespace Hints {

// Gives a widget or an action its tool tip and status text.
void Set(QObject *control, const QString &hint);

// The help topic of a control, kept as its "HelpContext" property for the help viewer.
void SetHelp(QWidget *control, int context);

// Makes Enter in control move the focus to the next control in tab order instead of
// reaching the control.
void PressEnterKey(QWidget *control);

// Runs action each time control loses the keyboard focus to another control of its shown
// window.
void OnFocusOut(QWidget *control, std::function<void()> action);

}  // namespace Hints
