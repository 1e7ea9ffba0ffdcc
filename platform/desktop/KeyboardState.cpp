// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/KeyboardState.h"

#include <QGuiApplication>

// Xlib's macros (Bool, Status) break Qt's headers, so it comes after them.
#include <X11/XKBlib.h>

namespace {
std::function<TLockStates()> &source() {
  static std::function<TLockStates()> s;
  return s;
}

TLockStates readX11() {
  TLockStates states;
  auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display *display = x11 ? x11->display() : nullptr;
  if (!display) return states;
  unsigned int indicators = 0;
  if (XkbGetIndicatorState(display, XkbUseCoreKbd, &indicators) != Success) return states;
  states.known = true;
  states.capsLock = indicators & 0x01;
  states.numLock = indicators & 0x02;
  return states;
}
}  // namespace

namespace KeyboardState {

namespace {
bool insertToggled = false;
}

bool InsertToggled() { return insertToggled; }
void ToggleInsert() { insertToggled = !insertToggled; }

TLockStates Read() { return source() ? source()() : readX11(); }

void SetSource(std::function<TLockStates()> s) { source() = std::move(s); }

}  // namespace KeyboardState
