// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QToolBar;

// A check button on a tool bar changes state two ways: clicked (which runs its command) and
// toggled directly, as assistive technology does through the button's toggle action. This
// makes a direct toggle run the command too, for every button the bar holds now or later.
namespace ToolButtonToggles {

void RunCommandsOnToggle(QToolBar *bar);

}  // namespace ToolButtonToggles
