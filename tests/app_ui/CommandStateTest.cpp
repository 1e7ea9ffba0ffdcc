// SPDX-License-Identifier: GPL-3.0-or-later
#include <QClipboard>
#include <QMenu>
#include <QToolBar>

#include "AppFixture.h"
#include "app/ui/Commands.h"

namespace {

bool enabled(TfrmMain &m, const char *name) {
  return m.Action(QString::fromLatin1(name))->isEnabled();
}

}  // namespace

TEST_F(AppFixture, CommandsFollowSelectionTextAndClipboard) {
  TfrmMain &m = Start();
  QApplication::clipboard()->clear();
  Settle();
  // An empty document: searching, converting, counting and printing have nothing to work on.
  for (const char *name :
       {"mniFind", "mniFindNext", "mniReplace", "mniSelectAll", "mniConvert", "mniSpell",
        "mniWordCount", "mniFile6", "mniPPreview", "btnFind", "puiFind"})
    EXPECT_FALSE(enabled(m, name)) << name;
  for (const char *name : {"mniFile2", "mniFile1", "btnSave", "btnClose", "mniDateTime"})
    EXPECT_TRUE(enabled(m, name)) << name;
  EXPECT_FALSE(enabled(m, "mniPaste"));

  TRichEdit *memo = m.ActiveEdit()->mmoMemo();
  QTest::keyClicks(memo, QStringLiteral("some words"));
  Settle();
  EXPECT_TRUE(enabled(m, "mniFind"));
  EXPECT_FALSE(enabled(m, "mniCut"));
  EXPECT_EQ(m.Action(QStringLiteral("mniLower"))->statusTip(),
            QStringLiteral("Convert all text to lowercase"));
  memo->SetSelection(0, 4);
  Settle();
  for (const char *name :
       {"mniCut", "mniCopy", "mniDelete", "puiCut", "btnCopy", "mniCapitalize", "btnCapitalize"})
    EXPECT_TRUE(enabled(m, name)) << name;
  EXPECT_EQ(m.Action(QStringLiteral("mniLower"))->statusTip(),
            QStringLiteral("Convert selected text to lowercase"));
  EXPECT_EQ(m.Action(QStringLiteral("btnTogCase"))->statusTip(),
            QStringLiteral("tOGGLE cASE in selected text"));

  // Copy through the menu; the clipboard now enables Paste everywhere.
  m.Action(QStringLiteral("mniCopy"))->trigger();
  Settle();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("some"));
  EXPECT_TRUE(enabled(m, "mniPaste"));
  EXPECT_TRUE(enabled(m, "btnPaste"));
  m.Action(QStringLiteral("mniDelete"))->trigger();
  Settle();
  EXPECT_EQ(memo->toPlainText(), QStringLiteral(" words"));
  EXPECT_EQ(m.Action(QStringLiteral("mniUndo"))->text(), QStringLiteral("&Undo Delete"));
  m.Action(QStringLiteral("puiPaste"))->trigger();
  Settle();
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("some words"));
  EXPECT_EQ(m.Action(QStringLiteral("puiUndo"))->text(), QStringLiteral("&Undo Paste"));
  m.Action(QStringLiteral("mniSelectAll"))->trigger();
  Settle();
  m.Action(QStringLiteral("btnCut"))->trigger();
  Settle();
  EXPECT_EQ(m.Action(QStringLiteral("mniUndo"))->text(), QStringLiteral("&Undo Cut"));
  EXPECT_TRUE(memo->toPlainText().isEmpty());

  // A saved document's window does not import.
  const QString file = TestEnvironment::WriteFile(
      TestEnvironment::FreshDir(QStringLiteral("st")) + QStringLiteral("/x.txt"), "x");
  m.OpenFile(file);
  Settle();
  EXPECT_FALSE(enabled(m, "mniFile0"));

  // No window at all: the clipboard still enables Paste; undo and redo read plainly.
  for (TfrmEdit *edit : m.EditWindows()) {
    edit->mmoMemo()->SetModified(false);
    m.SubWindowOf(edit)->close();
  }
  Settle();
  ASSERT_TRUE(m.EditWindows().isEmpty());
  EXPECT_TRUE(enabled(m, "mniPaste"));
  EXPECT_FALSE(enabled(m, "mniCut"));
  EXPECT_FALSE(enabled(m, "mniUndo"));
  EXPECT_EQ(m.Action(QStringLiteral("mniUndo"))->text(), QStringLiteral("&Undo"));
  EXPECT_EQ(m.Action(QStringLiteral("mniRedo"))->text(), QStringLiteral("&Redo"));
}

// Whatever the user can reach (menu bar, submenus, document pop-up, tray menu, every button
// either tool bar can show) either runs a handler or is disabled, in each state the idle
// refresh knows: an empty document, text with a selection and a full clipboard, no document.
TEST_F(AppFixture, EveryEnabledCommandHasAHandler) {
  TfrmMain &m = Start();
  QStringList reachable;
  for (const TMenuDef &menu : Commands::Menus())
    for (const TMenuEntry &entry : menu.entries)
      if (entry.kind != TMenuEntry::Separator) reachable << Commands::EntryName(entry);
  for (const TButtonDef &button : Commands::Buttons())
    reachable << QString::fromLatin1(button.name);
  for (const TCommand style : {TCommand::ExploreStyle, TCommand::StandardStyle})
    reachable << QString::fromLatin1(Commands::Of(style).name);
  ASSERT_GT(reachable.size(), 100);

  QStringList silent;
  auto walk = [&](const char *state) {
    Settle();
    for (const QString &name : reachable) {
      QAction *item = m.Action(name);
      ASSERT_NE(item, nullptr) << name.toStdString();
      if (item->isEnabled() && !item->menu() && !Commands::HandlerOf(name))
        silent << name + u'@' + QLatin1String(state);
    }
  };
  walk("empty");
  QApplication::clipboard()->setText(QStringLiteral("clip"));
  TRichEdit *memo = m.ActiveEdit()->mmoMemo();
  QTest::keyClicks(memo, QStringLiteral("some words"));
  memo->SetSelection(0, 4);
  walk("text");
  for (TfrmEdit *edit : m.EditWindows()) {
    edit->mmoMemo()->SetModified(false);
    m.SubWindowOf(edit)->close();
  }
  walk("none");
  EXPECT_TRUE(silent.isEmpty()) << silent.join(u' ').toStdString();

  m.NewWorkspace();
  QTest::keyClicks(m.ActiveEdit()->mmoMemo(), QStringLiteral("text"));
  Settle();
  // The others answer: a tool button runs its menu item's handler.
  m.ActiveEdit()->mmoMemo()->SelectAll();
  m.Action(QStringLiteral("btnUpper"))->trigger();
  EXPECT_EQ(m.ActiveEdit()->mmoMemo()->toPlainText(), QStringLiteral("TEXT"));
}
