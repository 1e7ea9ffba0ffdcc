// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Moves a window that is about to open beside another one: to its right when the screen has
// room, else to its left, else over its right part; always wholly on the screen. Windows the
// desktop would otherwise put at the screen's corner open where the user is working.
void PlaceBeside(QWidget *window, const QWidget *anchor);
