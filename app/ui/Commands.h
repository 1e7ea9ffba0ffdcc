// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <span>

#include "platform/ui/Glyphs.h"

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

// The main window's commands, one per row of the command table and in its order. Code names
// a command through these, never through its item's object name, so a command that is
// renamed or dropped fails to build instead of failing when it is used.
enum class TCommand {
  // File
  New,
  Open,
  Import,
  Export,
  Reopen,
  FavFiles,
  Close,
  Save,
  SaveAs,
  SendAsEmail,
  CustomizeMain,
  CustomizeEdit,
  CustomizePrint,
  Print,
  PrintPreview,
  PrinterSetup,
  Exit,
  // Edit
  Undo,
  Redo,
  Cut,
  Copy,
  Paste,
  PasteSpecial,
  Delete,
  SelectAll,
  DateTime,
  Spell,
  WordCount,
  // Character
  AlignLeft,
  AlignRight,
  AlignCenter,
  WordWrap,
  Convert,
  Lower,
  Upper,
  Capitalize,
  TitleCase,
  ToggleCase,
  SpecialChars,
  // Search
  Find,
  FindNext,
  Replace,
  // Window
  Tile,
  Cascade,
  ArrangeAll,
  // Options
  SetDefault,
  WinStart,
  ButtonHints,
  AutomaticBackups,
  MainStatusBar,
  StayOnTop,
  Tip,
  ReopenSession,
  Preferences,
  // Help
  Contents,
  OnLine,
  SearchHelp,
  HowToUseHelp,
  WhatsNew,
  TechSupport,
  Download,
  About,
  Properties,
  // Tray menu
  TrayRestore,
  TrayAbout,
  TrayExit,
  // Tool-bar style menu
  ExploreStyle,
  StandardStyle,
  Count
};

// The document pop-up menu's items that repeat a menu-bar item.
enum class TPopupItem {
  Undo,
  Redo,
  Cut,
  Copy,
  Paste,
  PasteSpecial,
  Delete,
  SelectAll,
  Find,
  FindNext,
  Replace,
  Count
};

// The tool buttons: those of the main tool bar, then those of the edit tool bar.
enum class TButton {
  // main tool bar
  New,
  Open,
  PrinterSetup,
  Exit,
  Tile,
  Cascade,
  ArrangeAll,
  Preferences,
  Contents,
  SearchHelp,
  UseHelp,
  WhatsNew,
  TechSupport,
  Download,
  About,
  // edit tool bar
  Save,
  SaveAs,
  Email,
  Print,
  Close,
  Undo,
  Redo,
  Cut,
  Copy,
  Paste,
  Delete,
  SelectAll,
  DateTime,
  Spell,
  AlignLeft,
  AlignRight,
  AlignCenter,
  Lower,
  Upper,
  Capitalize,
  TitleCase,
  ToggleCase,
  SpecialChars,
  Find,
  FindNext,
  Replace,
  Count
};

// The menus: those of the menu bar in order, then the submenus, the document pop-up and the
// tray menu.
enum class TMenu {
  File,
  Edit,
  Character,
  Search,
  Window,
  Options,
  Help,
  Reopen,
  FavFiles,
  Convert,
  Popup,
  Tray,
  Count
};

struct TCommandDef {
  TCommand id;
  const char *name;  // the item's object name; stored settings and tool-bar layouts use it
  const char *caption;
  const char *shortcut;  // empty: none
  int tag;
  TCommandHandler handler;  // nullptr: no window does this yet, the command stays disabled
  const char *hint;
  int glyph;
  enum TKind { Plain, Check, Radio } kind = Plain;
};

// An entry of a menu: a command's item, a pop-up item, a separator (named when other code
// must reach it) or a submenu.
struct TMenuEntry {
  enum TKind { Item, Popup, Separator, Submenu } kind;
  int id = 0;                  // the TCommand, TPopupItem or TMenu
  const char *name = nullptr;  // a separator's object name; nullptr: none
};
constexpr TMenuEntry Entry(TCommand command) { return {TMenuEntry::Item, int(command)}; }
constexpr TMenuEntry Entry(TPopupItem item) { return {TMenuEntry::Popup, int(item)}; }
constexpr TMenuEntry Entry(TMenu submenu) { return {TMenuEntry::Submenu, int(submenu)}; }
constexpr TMenuEntry Separator(const char *name = nullptr) {
  return {TMenuEntry::Separator, 0, name};
}

// The File menu's separator that shows only while there is a document window.
inline constexpr const char *kDocumentDivider = "mniFile10";

// A menu: its object name, caption and hint, and its entries.
struct TMenuDef {
  TMenu id;
  const char *name;
  const char *caption;
  const char *hint;
  std::span<const TMenuEntry> entries;
};

// A tool button: its own name, caption and hint, the command it runs, and its section.
struct TButtonDef {
  TButton id;
  const char *name;
  const char *caption;
  const char *hint;
  TCommand command;  // the command whose handler and tag it shares
  const char *section;
  int glyph;
};

// An item of the document pop-up menu that repeats a menu-bar item.
struct TPopupTwin {
  TPopupItem id;
  const char *name;
  TCommand twin;
  bool showsKey;
};

namespace Commands {

// Each table in the order of its identifiers: row n declares identifier n.
std::span<const TCommandDef> MenuItems();
std::span<const TPopupTwin> PopupTwins();
std::span<const TMenuDef> Menus();
std::span<const TButtonDef> Buttons();
const TCommandDef &Of(TCommand command);
const TPopupTwin &Of(TPopupItem item);
const TMenuDef &Of(TMenu menu);
const TButtonDef &Of(TButton button);

// The buttons each bar may show, and those it shows by default, in order.
std::span<const TButtonDef> MainButtons();
std::span<const TButtonDef> EditButtons();
std::span<const TButton> MainDefaultButtons();
std::span<const TButton> EditDefaultButtons();

// The object name of a menu entry's item; empty for an unnamed separator.
QString EntryName(const TMenuEntry &entry);

// The row of a menu item, pop-up item (through its twin) or tool button (through its
// command), by object name; nullptr for a name that is in no table. For tests and for
// stored layouts, which name items.
const TCommandDef *Find(const QString &name);
// The handler that runs when the named item or button is chosen; nullptr when none.
TCommandHandler HandlerOf(const QString &name);

// Splits a hint at its first "|": the pop-up part and the status-bar part. A hint without "|"
// serves for both.
struct THintParts {
  QString popup;
  QString status;
};
THintParts SplitHint(const QString &hint);

}  // namespace Commands
