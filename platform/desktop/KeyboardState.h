// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

// The toggle states of the keyboard's lock keys. On X11 they are read from the keyboard
// indicators; where the desktop offers none, every state reads "unknown" and callers leave
// their display empty.
struct TLockStates {
  bool known = false;
  bool capsLock = false;
  bool numLock = false;
};

namespace KeyboardState {

TLockStates Read();

// The Insert key's toggle: the keyboard has no Insert indicator, so the program keeps the state
// itself. Edit controls type over their text while it is on.
bool InsertToggled();
void ToggleInsert();

// Replaces the source of the states (for tests, which have no keyboard); an empty function
// restores the desktop's.
void SetSource(std::function<TLockStates()> source);

}  // namespace KeyboardState
