// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's items, pop-up items, tool buttons, menus and setting holders are made
// from their tables: each row yields its object with the row's texts, the typed look-up and
// the look-up by object name find the same object, and the stored names stay as they were.
#include <QMenu>
#include <QSet>
#include <QToolBar>
#include <QToolButton>

#include "AppFixture.h"
#include "app/ui/Commands.h"
#include "app/ui/MainSettings.h"
#include "platform/ui/BarStyleMenu.h"
#include "settings/ui/FormTables.h"

namespace {

// Rows whose hint the window rewrites as the state changes (undo kind, selection, option
// check marks, the desktop integration's state); their table hint is only the starting text.
bool HintFollowsState(TCommand command) {
  using C = TCommand;
  static const QSet<C> rewritten = {
      C::Undo,        C::Redo,       C::Lower,         C::Upper,
      C::TitleCase,   C::ToggleCase, C::MainStatusBar, C::AutomaticBackups,
      C::ButtonHints, C::StayOnTop,  C::SetDefault,    C::WinStart};
  return rewritten.contains(command);
}

QString Hint(const char *hint) { return Commands::SplitHint(QString::fromUtf8(hint)).popup; }

}  // namespace

TEST_F(AppFixture, EveryCommandRowYieldsItsItemWithTheRowsCaptionHintAndShortcut) {
  TfrmMain &m = Start();
  ASSERT_EQ(Commands::MenuItems().size(), std::size_t(TCommand::Count));
  for (const TCommandDef &def : Commands::MenuItems()) {
    SCOPED_TRACE(def.name);
    QAction *item = m.Item(def.id);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->objectName(), QLatin1String(def.name));
    EXPECT_EQ(m.Action(QString::fromLatin1(def.name)), item);
    EXPECT_EQ(item->text(), QString::fromUtf8(def.caption));
    EXPECT_EQ(item->shortcut(), QKeySequence(QString::fromLatin1(def.shortcut)));
    EXPECT_EQ(item->isCheckable(), def.kind != TCommandDef::Plain);
    if (!HintFollowsState(def.id)) {
      EXPECT_EQ(item->toolTip(), Hint(def.hint));
    }
    if (!item->menu()) {
      EXPECT_EQ(item->property("tag").toInt(), def.tag);
    }
  }
}

TEST_F(AppFixture, EveryPopupRowRepeatsItsMenuBarItem) {
  TfrmMain &m = Start();
  for (const TPopupTwin &def : Commands::PopupTwins()) {
    SCOPED_TRACE(def.name);
    QAction *item = m.PopupItem(def.id);
    QAction *twin = m.Item(def.twin);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(m.Action(QString::fromLatin1(def.name)), item);
    EXPECT_EQ(item->text(), twin->text());
    EXPECT_EQ(item->toolTip(), twin->toolTip());
    EXPECT_EQ(item->property("tag"), twin->property("tag"));
    EXPECT_EQ(item->shortcut().isEmpty(), !def.showsKey);
    EXPECT_EQ(Commands::HandlerOf(item->objectName()), Commands::Of(def.twin).handler);
  }
}

// Each menu holds its entries in the table's order: the command items, pop-up items,
// submenus and separators, and nothing else before items made at run time.
TEST_F(AppFixture, EveryMenuHoldsItsRowsEntriesInOrder) {
  TfrmMain &m = Start();
  for (const TMenuDef &def : Commands::Menus()) {
    SCOPED_TRACE(def.name);
    QMenu *menu = m.Menu(def.id);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(m.Menu(QString::fromLatin1(def.name)), menu);
    EXPECT_EQ(menu->title(), QString::fromUtf8(def.caption));
    const QList<QAction *> actions = menu->actions();
    ASSERT_GE(actions.size(), qsizetype(def.entries.size()));
    for (std::size_t i = 0; i < def.entries.size(); ++i) {
      const TMenuEntry &entry = def.entries[i];
      QAction *shown = actions[qsizetype(i)];
      switch (entry.kind) {
        case TMenuEntry::Item:
          EXPECT_EQ(shown, m.Item(TCommand(entry.id))) << i;
          break;
        case TMenuEntry::Popup:
          EXPECT_EQ(shown, m.PopupItem(TPopupItem(entry.id))) << i;
          break;
        case TMenuEntry::Submenu:
          EXPECT_EQ(shown, m.Menu(TMenu(entry.id))->menuAction()) << i;
          break;
        case TMenuEntry::Separator:
          EXPECT_TRUE(shown->isSeparator()) << i;
          break;
      }
      if (entry.kind != TMenuEntry::Separator || entry.name) {
        EXPECT_EQ(shown->objectName(), Commands::EntryName(entry)) << i;
      }
    }
  }
  // A submenu stands for its command: the command's item opens it.
  for (const auto &[command, submenu] : {std::pair{TCommand::Reopen, TMenu::Reopen},
                                         {TCommand::FavFiles, TMenu::FavFiles},
                                         {TCommand::Convert, TMenu::Convert}})
    EXPECT_EQ(m.Item(command)->menu(), m.Menu(submenu));
}

TEST_F(AppFixture, EveryButtonRowYieldsItsButtonRunningItsCommand) {
  TfrmMain &m = Start();
  ASSERT_EQ(Commands::Buttons().size(), std::size_t(TButton::Count));
  ASSERT_EQ(Commands::MainButtons().size() + Commands::EditButtons().size(),
            Commands::Buttons().size());
  for (const TButtonDef &def : Commands::Buttons()) {
    SCOPED_TRACE(def.name);
    QAction *button = m.Button(def.id);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(m.Action(QString::fromLatin1(def.name)), button);
    EXPECT_EQ(button->text(), QString::fromUtf8(def.caption));
    if (!HintFollowsState(def.command)) {
      EXPECT_EQ(button->toolTip(), Hint(def.hint));
    }
    EXPECT_EQ(button->property("section").toString(), QString::fromLatin1(def.section));
    EXPECT_EQ(button->property("command").toString(),
              QLatin1String(Commands::Of(def.command).name));
    EXPECT_EQ(button->property("tag").toInt(), Commands::Of(def.command).tag);
    EXPECT_EQ(Commands::HandlerOf(button->objectName()), Commands::Of(def.command).handler);
  }
  // A fresh start shows each bar's default buttons, in order, with their glyphs.
  const auto shown = [](QToolBar *bar) {
    QStringList names;
    for (QAction *a : bar->actions()) {
      names << a->objectName();
      EXPECT_FALSE(a->icon().isNull()) << a->objectName().toStdString();
    }
    return names;
  };
  const auto defaults = [](std::span<const TButton> buttons) {
    QStringList names;
    for (const TButton b : buttons) names << QString::fromLatin1(Commands::Of(b).name);
    return names;
  };
  EXPECT_EQ(shown(m.barMCustom()), defaults(Commands::MainDefaultButtons()));
  EXPECT_EQ(shown(m.barECustom()), defaults(Commands::EditDefaultButtons()));
}

// A button and its menu item run the same command: Select All from the edit bar selects the
// document's text as the menu item does.
TEST_F(AppFixture, AButtonRunsTheHandlerOfItsCommand) {
  TfrmMain &m = Start();
  TRichEdit *memo = m.ActiveEdit()->mmoMemo();
  QTest::keyClicks(memo, QStringLiteral("three short words"));
  memo->SetSelection(0, 0);
  Settle();  // the idle refresh enables Select All for a document with text
  ASSERT_TRUE(m.Button(TButton::SelectAll)->isEnabled());
  m.Button(TButton::SelectAll)->trigger();
  EXPECT_EQ(memo->SelLength(), QStringLiteral("three short words").size());
  m.Button(TButton::AlignCenter)->trigger();
  EXPECT_EQ(memo->Alignment(), TTextAlignment::Center);
  EXPECT_TRUE(m.IsChecked(TCommand::AlignCenter));
}

// Both bars share one style menu, whose two items are the table's style rows: choosing a
// style restyles the buttons of both bars, and the check mark is kept under its stored name.
TEST_F(AppFixture, BothBarsShareOneStyleMenuMadeFromTheTable) {
  TfrmMain &m = Start();
  const QList<TBarStyleMenu *> menus = m.findChildren<TBarStyleMenu *>();
  ASSERT_EQ(menus.size(), 1);
  TBarStyleMenu *styles = menus.first();
  EXPECT_EQ(m.Menu(QStringLiteral("pumToolBar")), styles);
  EXPECT_EQ(styles->accessibleName(), QStringLiteral("Tool bar style menu"));
  EXPECT_EQ(styles->actions(),
            (QList<QAction *>{m.Item(TCommand::ExploreStyle), m.Item(TCommand::StandardStyle)}));
  for (const TCommand style : {TCommand::ExploreStyle, TCommand::StandardStyle}) {
    const TCommandDef &def = Commands::Of(style);
    EXPECT_EQ(m.Item(style)->text(), QString::fromUtf8(def.caption));
    EXPECT_EQ(m.Item(style)->statusTip(), QString::fromUtf8(def.hint));
    EXPECT_EQ(m.Action(QString::fromLatin1(def.name)), m.Item(style));
  }
  EXPECT_TRUE(m.IsChecked(TCommand::ExploreStyle));

  const auto flat = [&](QToolBar *bar, TButton button) {
    return qobject_cast<QToolButton *>(bar->widgetForAction(m.Button(button)))->autoRaise();
  };
  // The edit bar's right click opens the same menu as the main bar's.
  Q_EMIT m.barECustom()->customContextMenuRequested(QPoint(2, 2));
  EXPECT_TRUE(QTest::qWaitFor([&] { return styles->isVisible(); }, 5000));
  styles->hide();
  m.Item(TCommand::StandardStyle)->trigger();
  EXPECT_FALSE(m.IsChecked(TCommand::ExploreStyle));
  EXPECT_FALSE(flat(m.barMCustom(), TButton::Open));
  EXPECT_FALSE(flat(m.barECustom(), TButton::Save));
  m.Item(TCommand::ExploreStyle)->trigger();
  EXPECT_TRUE(flat(m.barMCustom(), TButton::Open));
  EXPECT_TRUE(flat(m.barECustom(), TButton::Save));
}

// Every holder exists under its stored name, and every name is one the settings store keeps
// for the main window: a holder renamed in code would no longer find its stored value.
TEST_F(AppFixture, EveryHolderKeepsItsStoredName) {
  TfrmMain &m = Start();
  QSet<QString> stored;
  for (const QString &entry : FormTables::MainFormProps()) stored << entry.section(u'.', 0, 0);
  for (const MainSettings::THolderName &def : MainSettings::kHolders) {
    SCOPED_TRACE(def.name);
    THolder *holder = m.Holder(def.id);
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(holder->objectName(), QLatin1String(def.name));
    EXPECT_EQ(m.Holder(QString::fromLatin1(def.name)), holder);
    EXPECT_TRUE(stored.contains(holder->objectName()));
  }
  EXPECT_EQ(m.Holder(QStringLiteral("NoSuchHolder")), nullptr);
  EXPECT_EQ(m.Action(QStringLiteral("mniNoSuchItem")), nullptr);
}
