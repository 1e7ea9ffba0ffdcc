// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QKeySequence>
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <vector>

class QAction;
class QMenu;
class QToolBar;
class QWidget;

// Where a command was given from: its menu item or its tool button.
enum class TCommandSource { Menu, Button };

// One face of a command: a menu item or a tool button. A face without a name is not built.
struct TCommandFace {
  const char *name = nullptr;  // the action's object name (mniSend, btnSend, ...)
  QString caption{};
  QString hint{};
  // Faces of neighbouring rows in one menu or bar are separated where the group changes.
  int group = 0;
};

// A command of a mail window, declared once: its menu item and its tool button, glyph,
// shortcut, state and handler.
struct TCommandSpec {
  int id = 0;     // the window's own identifier of the command
  int menu = -1;  // index of the menu holding the item (given to TCommandTable)
  TCommandFace item{};
  TCommandFace button{};
  QIcon glyph{};
  QKeySequence shortcut{};
  bool checkable = false;
  // Radio rows exclude each other: their items in one group, their buttons in another.
  bool radio = false;
  bool checked = false;
  bool enabled = true;
  std::function<void(TCommandSource)> handler{};
};

// Builds a window's commands from their table: the menu items into the window's menus and
// the tool buttons onto its bar, each action a child of the window (its form storage finds
// the ticks by name) and each connected to its row's handler.
class TCommandTable : public QObject {
  Q_OBJECT

 public:
  TCommandTable(QWidget *form, const std::vector<QMenu *> &menus, QToolBar *bar,
                const std::vector<TCommandSpec> &specs);

  // The menu item or tool button of a command; null when the command has none.
  QAction *Item(int id) const;
  QAction *Button(int id) const;
  // Enables or disables both faces of a command.
  void SetEnabled(int id, bool enabled);

  // An action named name with its caption, glyph and hint (tool tip and status tip).
  static QAction *MakeCommand(QObject *owner, const char *name, const QString &caption,
                              const QString &hint, const QIcon &glyph = {});

 private:
  std::map<int, QAction *> items_;
  std::map<int, QAction *> buttons_;
};
