// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "settings/core/RootKey.h"

// A window's placement in its section: "Flags", "ShowCmd" (1 normal, 2 minimized,
// 3 maximized), "PixelsPerInch", "MinMaxPos" and "NormPos" (each also under a name with the
// screen size, "NormPos(1024x768)", so a place is remembered per screen size), "Visible" and,
// when asked for, "ActiveControl". NormPos is left, top, right, bottom of the normal
// (restored) rectangle; MinMaxPos holds minimized x, y and maximized x, y (Qt keeps no such
// places, so they are written as -1).
namespace WindowPlacement {

// The window whose placement a form has: the form itself when it is a window, the MDI
// sub-window that holds it, or null.
QWidget *Target(QWidget *form);
// True for the program's frame: a main window whose central widget is an MDI area.
bool IsMainFrame(const QWidget *form);

void Save(TRootKey &root, const QString &section, QWidget *form, bool destroying,
          bool activeControl);
// Each throws ESettingsError for a value of a non-string type.
void RestorePosition(TRootKey &root, const QString &section, QWidget *form);
void RestoreState(TRootKey &root, const QString &section, QWidget *form);

}  // namespace WindowPlacement
