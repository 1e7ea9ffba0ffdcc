#pragma once

#include "Glyphs.h"

#include <span>

// The main window's commands as the user reaches them: menu items, pop-up menu items and tool
// buttons, each with its caption, shortcut, tag, hint and glyph. Hints with a "|" hold the
// pop-up hint before it and the status-bar text after it.
struct TCommandDef {
  const char *name;
  const char *caption;
  const char *shortcut;  // empty: none
  int tag;
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
