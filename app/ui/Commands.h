// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Glyphs.h"

#include <span>

class TfrmMain;

// The main window's commands as the user reaches them: menu items, pop-up menu items and tool
// buttons, each with its caption, shortcut, tag, handler, hint and glyph. Hints with a "|"
// hold the pop-up hint before it and the status-bar text after it.
//
// How a command reaches its code: the table in Commands.cpp names each command's handler, a
// function of Commands.cpp's handler block that takes the main window and the command's tag
// and hands the work to the window or engine that does it. The main window connects every
// item to the handler its row names and nothing else; the document pop-up's twins and the
// tool buttons run the handler of the menu item they repeat. A row whose handler is nullptr
// is shown disabled whatever the idle refresh says, so a command is never enabled and
// silent; a test walks every menu, the pop-up, the tray menu and both tool bars and fails
// for any enabled entry without a handler.
//
// To wire a new window to its command:
//   1. beside the other handlers in Commands.cpp add one line such as
//        void Print(TfrmMain &m, int) { TfrmPrint::Run(m.ActiveEdit(), &m); }
//   2. in the command's row replace nullptr by that handler's name.
// The command becomes enabled by itself; the idle refresh still disables it while it has
// nothing to work on (Print with an empty document, for example).
using TCommandHandler = void (*)(TfrmMain &main, int tag);

struct TCommandDef {
  const char *name;
  const char *caption;
  const char *shortcut;  // empty: none
  int tag;
  TCommandHandler handler;  // nullptr: no window does this yet, the command stays disabled
  const char *hint;
  int glyph;
  enum TKind { Plain, Check, Radio } kind = Plain;
};

// A menu: its item, caption and hint, and its entries by name ("-" a separator, which may be
// named "-name" when other code must reach it; ">name" a submenu defined elsewhere).
struct TMenuDef {
  const char *name;
  const char *caption;
  const char *hint;
  std::span<const char *const> entries;
};

// A tool button: its own name, caption and hint, the command it runs, and its section.
struct TButtonDef {
  const char *name;
  const char *caption;
  const char *hint;
  const char *command;  // the menu item whose handler and tag it shares
  const char *section;
  int glyph;
};

// An item of the document pop-up menu that repeats a menu-bar item.
struct TPopupTwin {
  const char *name;
  const char *twin;
  bool showsKey;
};

namespace Commands {

std::span<const TCommandDef> MenuItems();
// The row of a menu item, pop-up item (through its twin) or tool button (through its
// command); nullptr for a name that is in no table.
const TCommandDef *Find(const QString &name);
// The handler that runs when the named item or button is chosen; nullptr when none.
TCommandHandler HandlerOf(const QString &name);
// Menus of the menu bar in order, then the submenus, then pumPopup, traMenu and pumToolBar.
std::span<const TMenuDef> Menus();
std::span<const TPopupTwin> PopupTwins();
std::span<const TButtonDef> MainButtons();
std::span<const TButtonDef> EditButtons();
// Names of the buttons each bar shows by default, in order.
std::span<const char *const> MainDefaultButtons();
std::span<const char *const> EditDefaultButtons();

// Splits a hint at its first "|": the pop-up part and the status-bar part. A hint without "|"
// serves for both.
struct THintParts {
  QString popup;
  QString status;
};
THintParts SplitHint(const QString &hint);

}  // namespace Commands
