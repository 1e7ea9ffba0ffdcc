// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QToolBar>
#include <QToolButton>

#include "AppFixture.h"
#include "app/ui/Commands.h"
#include "app/ui/fmCustomize.h"
#include "platform/core/Folders.h"
#include "platform/desktop/KeyboardState.h"
#include "platform/ui/Glyphs.h"
#include "platform/ui/MessageBox.h"

namespace {

QString header() { return QStringLiteral("Vellumix\n----------------\n"); }

}  // namespace

TEST_F(AppFixture, StartsWithOneMaximisedUntitledWorkspace) {
  TfrmMain &m = Start();
  ASSERT_EQ(m.EditWindows().size(), 1);
  TfrmEdit *edit = m.EditWindows().first();
  const QString home = Folders::Home();
  EXPECT_EQ(edit->Caption(), QStringLiteral("untitled.txt"));
  EXPECT_TRUE(m.SubWindowOf(edit)->isMaximized());
  EXPECT_EQ(Panel(edit, TfrmEdit::pnlFileName), u' ' + home + QStringLiteral("untitled.txt"));
  EXPECT_EQ(m.CurrentFileName(), u' ' + home + QStringLiteral("untitled.txt"));
  EXPECT_EQ(Panel(edit, TfrmEdit::pnlCaret), QStringLiteral("1:1"));
  EXPECT_EQ(Panel(edit, TfrmEdit::pnlSize), QStringLiteral("0 bytes"));
  EXPECT_EQ(Panel(edit, TfrmEdit::pnlInsert), QStringLiteral("INS"));
  EXPECT_EQ(m.windowTitle(), QStringLiteral("Vellumix - [untitled.txt]"));
  EXPECT_EQ(m.ApplicationTitle(), m.windowTitle());
  EXPECT_EQ(m.TrayIcon()->toolTip(), m.windowTitle());
  // The holders after a first start.
  EXPECT_EQ(m.FilePath(), home);
  EXPECT_EQ(m.Holder(QStringLiteral("ImportPath"))->Caption(), home);
  EXPECT_EQ(m.Holder(QStringLiteral("ExportPath"))->Caption(), home);
  EXPECT_FALSE(m.Holder(QStringLiteral("FirstTime"))->Checked());
  EXPECT_EQ(m.HelpFile(), Folders::ProgramFolder() + QStringLiteral("velx96.hlp"));
  EXPECT_NE(m.Holder(QStringLiteral("SMTPOrg"))->Caption(), QStringLiteral("Temp"));
  // Product texts.
  EXPECT_EQ(m.Action(QStringLiteral("mniAbout"))->text(), QStringLiteral("About Vellumix..."));
  EXPECT_EQ(m.Action(QStringLiteral("sysNotepad"))->text(), QStringLiteral("Vellumix..."));
  EXPECT_EQ(m.Action(QStringLiteral("btnExit"))->toolTip(), QStringLiteral("Exit Vellumix"));
  // Document menus and the edit tool bar are there while a workspace is.
  EXPECT_TRUE(m.Action(QStringLiteral("mniFile7"))->isVisible());
  EXPECT_FALSE(m.barECustom()->isHidden());
  EXPECT_TRUE(m.pnlTip()->isVisible());
  EXPECT_FALSE(m.barMain()->isVisible());
  // and it stays so once the timers have run (the once-a-second one reads the lock keys)
  int ticks = 0;
  KeyboardState::SetSource([&] { return ++ticks, TLockStates(); });
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks > 0; }, 10000));
  KeyboardState::SetSource({});
  EXPECT_TRUE(m.SubWindowOf(edit)->isMaximized());
}

TEST_F(AppFixture, CommandLineParametersAreJoinedIntoOneName) {
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("cmd"));
  const QString file = dir + QStringLiteral("/My Documents/Notes.txt");
  TestEnvironment::WriteFile(file, "first line\r\nsecond line\r\n");
  TfrmMain &m = Start({dir + QStringLiteral("/My"), QStringLiteral("Documents/Notes.txt")});
  ASSERT_EQ(m.EditWindows().size(), 1);
  TfrmEdit *edit = m.EditWindows().first();
  EXPECT_EQ(edit->Caption(), QStringLiteral("Notes.txt"));  // names keep their case here
  EXPECT_EQ(edit->FileName(), file);
  EXPECT_EQ(edit->mmoMemo()->toPlainText(), QStringLiteral("first line\nsecond line\n"));
  EXPECT_EQ(m.CurrentFileName(), file);
  EXPECT_EQ(m.FilePath(), dir + QStringLiteral("/My Documents/"));
  EXPECT_EQ(QDir::currentPath(), dir + QStringLiteral("/My Documents"));
  EXPECT_FALSE(edit->mmoMemo()->Modified());
  EXPECT_EQ(m.windowTitle(), QStringLiteral("Vellumix - [Notes.txt]"));
}

TEST_F(AppFixture, SeveralFilesOnTheCommandLineOpenEachInAWorkspace) {
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("several"));
  const QString first = TestEnvironment::WriteFile(dir + QStringLiteral("/first.txt"), "one");
  const QString second = TestEnvironment::WriteFile(dir + QStringLiteral("/second.txt"), "two");
  QDir::setCurrent(dir);
  TModalAnswerer answerer({QStringLiteral("OK")});
  TfrmMain &m = Start({QStringLiteral("first.txt"), QStringLiteral("missing.txt"), second});
  // The name that cannot be read is reported, and the files after it still open.
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_EQ(answerer.texts[0], QStringLiteral("Cannot open file ") + dir +
                                   QStringLiteral("/missing.txt.\nThere is no such file."));
  const QList<TfrmEdit *> edits = m.EditWindows();
  ASSERT_EQ(edits.size(), 3);
  QStringList texts;
  for (TfrmEdit *edit : edits) texts << edit->mmoMemo()->toPlainText();
  texts.sort();
  EXPECT_EQ(texts, (QStringList{QString(), QStringLiteral("one"), QStringLiteral("two")}));
  // The last one named is the active workspace; both files read are in the recent list.
  EXPECT_EQ(m.ActiveEdit()->FileName(), second);
  EXPECT_EQ(m.CurrentFileName(), second);
  EXPECT_EQ(m.windowTitle(), QStringLiteral("Vellumix - [second.txt]"));
  EXPECT_EQ(m.FileLists().Recent().mid(0, 2), (QStringList{second, first}));
}

TEST_F(AppFixture, AnUnreadableNameIsReportedAndStartUpCarriesOn) {
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("missing"));
  QDir::setCurrent(dir);
  TModalAnswerer answerer({QStringLiteral("OK")});
  TfrmMain &m = Start({QStringLiteral("a b.txt")});
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_EQ(answerer.texts[0], QStringLiteral("Cannot open file ") + dir +
                                   QStringLiteral("/a b.txt.\nThere is no such file."));
  EXPECT_EQ(answerer.titles[0], QStringLiteral("Vellumix"));
  ASSERT_EQ(m.EditWindows().size(), 1);
  TfrmEdit *edit = m.EditWindows().first();
  // Nothing could be read: the workspace is an untitled document in that folder.
  EXPECT_EQ(edit->Caption(), QStringLiteral("untitled.txt"));
  EXPECT_TRUE(edit->mmoMemo()->toPlainText().isEmpty());
  EXPECT_EQ(m.CurrentFileName(), dir + QStringLiteral("/a b.txt"));
  EXPECT_EQ(m.FilePath(), dir + u'/');
  // The steps after the command line still ran.
  EXPECT_FALSE(m.HelpFile().isEmpty());
  EXPECT_FALSE(m.IsTopMost());
}

TEST_F(AppFixture, ExitAsksEachChangedDocumentInTurnAndStopsAtCancel) {
  TfrmMain &m = Start();
  m.NewWorkspace();
  const auto windows = m.EditWindows();
  ASSERT_EQ(windows.size(), 2);
  QTest::keyClicks(windows[0]->mmoMemo(), QStringLiteral("first"));
  QTest::keyClicks(windows[1]->mmoMemo(), QStringLiteral("second"));

  TModalAnswerer answerer({QStringLiteral("Cancel")});
  QStringList activeAtQuestion;
  answerer.onAsked = [&](const TMsgAsked &) {
    activeAtQuestion << m.ActiveEdit()->mmoMemo()->toPlainText();
  };
  EXPECT_FALSE(m.close());
  Settle();
  ASSERT_EQ(answerer.texts.size(), 1);  // the second window was never asked
  EXPECT_EQ(answerer.texts[0], header() + QStringLiteral("Save Changes to 'untitled.txt'\"?"));
  EXPECT_EQ(answerer.titles[0], QStringLiteral("Confirm"));
  EXPECT_EQ(activeAtQuestion, QStringList{QStringLiteral("first")});  // brought to the front first
  EXPECT_EQ(m.EditWindows().size(), 2);
  EXPECT_TRUE(m.isVisible());

  // No to both: the program ends without saving.
  answerer.Add(QStringLiteral("&No"));
  answerer.Add(QStringLiteral("&No"));
  EXPECT_TRUE(m.close());
  Settle();
  EXPECT_EQ(answerer.texts.size(), 3);
  EXPECT_EQ(activeAtQuestion.last(), QStringLiteral("second"));
}

TEST_F(AppFixture, OnlyTheFirstOfSeveralDroppedFilesOpens) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("drop"));
  QList<QUrl> urls;
  for (const char *name : {"one.txt", "two.txt", "three.txt"})
    urls << QUrl::fromLocalFile(TestEnvironment::WriteFile(dir + u'/' + QLatin1String(name), name));
  QMimeData data;
  data.setUrls(urls);
  const QPoint at = m.rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&m, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&m, &drop);
  Settle();
  ASSERT_EQ(m.EditWindows().size(), 2);
  EXPECT_EQ(m.EditWindows().last()->Caption(), QStringLiteral("one.txt"));
  EXPECT_EQ(m.EditWindows().last()->mmoMemo()->toPlainText(), QStringLiteral("one.txt"));
}

TEST_F(AppFixture, OptionTogglesApplyEveryOption) {
  TfrmMain &m = Start();
  QAction *status = m.Action(QStringLiteral("mniMainStatusBar"));
  EXPECT_EQ(status->statusTip(), QStringLiteral("Enable status bar"));
  status->trigger();
  EXPECT_TRUE(status->isChecked());
  EXPECT_TRUE(m.barMain()->isVisible());
  EXPECT_EQ(status->statusTip(), QStringLiteral("Disable status bar"));

  m.Action(QStringLiteral("mniTip"))->trigger();
  EXPECT_FALSE(m.pnlTip()->isVisible());

  QAction *backups = m.Action(QStringLiteral("mniAutomaticBackups"));
  backups->trigger();
  EXPECT_EQ(backups->statusTip(), QStringLiteral("Turn automatic backups off"));

  QAction *hints = m.Action(QStringLiteral("mniButtonHints"));
  hints->trigger();
  EXPECT_EQ(hints->statusTip(), QStringLiteral("Turn button hints on"));

  QAction *top = m.Action(QStringLiteral("mniStayOnTop"));
  EXPECT_EQ(top->statusTip(), QStringLiteral("Keep Vellumix on top of all windows"));
  top->trigger();
  EXPECT_TRUE(m.IsTopMost());
  EXPECT_EQ(top->statusTip(), QStringLiteral("Allow Vellumix to float on the screen"));

  // Dialogs of the program lower the window while they are open and raise it again after.
  TModalAnswerer answerer;
  bool topMostDuringDialog = true;
  answerer.onShown = [&](QWidget *) { topMostDuringDialog = m.IsTopMost(); };
  m.Action(QStringLiteral("mniOpen"))->trigger();
  EXPECT_EQ(answerer.titles.size(), 1);
  EXPECT_FALSE(topMostDuringDialog);
  EXPECT_TRUE(m.IsTopMost());
}

TEST_F(AppFixture, HintLineShowsTheStatusPartOfHints) {
  TfrmMain &m = Start();
  m.Action(QStringLiteral("mniMainStatusBar"))->trigger();
  m.Action(QStringLiteral("mniNew"))->showStatusText(&m);
  EXPECT_EQ(m.barMain()->currentMessage(), QStringLiteral(" New workspace"));
  QStatusTipEvent tip(m.barMCustom()->statusTip());
  QCoreApplication::sendEvent(m.barMCustom(), &tip);
  EXPECT_EQ(m.barMain()->currentMessage(), QStringLiteral(" Right-click for tool bar options"));
  EXPECT_TRUE(m.barMCustom()->toolTip().isEmpty());
}

TEST_F(AppFixture, WithoutDocumentsTheDocumentCommandsGoAway) {
  TfrmMain &m = Start();
  m.Action(QStringLiteral("mniFile1"))->trigger();  // File|Close
  Settle();
  EXPECT_TRUE(m.EditWindows().isEmpty());
  for (const char *name : {"mniFile7", "mniFile8", "mniFile9", "mniFile0", "mniFile1", "mniFile2",
                           "mniFile3", "mniFile4", "mniFile5", "mniFile6"})
    EXPECT_FALSE(m.Action(QString::fromLatin1(name))->isVisible()) << name;
  for (const char *name :
       {"mniNew", "mniOpen", "mniMCustom", "mniPCustom", "mniPPreview", "mniPrintSetup", "mniExit"})
    EXPECT_TRUE(m.Action(QString::fromLatin1(name))->isVisible()) << name;
  EXPECT_FALSE(m.Action(QStringLiteral("mniWin0"))->isEnabled());
  EXPECT_FALSE(m.Action(QStringLiteral("btnWin2"))->isEnabled());
  EXPECT_TRUE(m.barECustom()->isHidden());
  EXPECT_EQ(m.windowTitle(), QStringLiteral("Vellumix"));
  // Commands on the active document do nothing without one.
  Commands::HandlerOf(QStringLiteral("mniSelectAll"))(m, 6);
  Commands::HandlerOf(QStringLiteral("mniFile2"))(m, 4);
  m.Action(QStringLiteral("mniNew"))->trigger();
  EXPECT_EQ(m.EditWindows().size(), 1);
  EXPECT_TRUE(m.Action(QStringLiteral("mniFile7"))->isVisible());
}

TEST_F(AppFixture, TileLaysTheWorkspacesOutInHorizontalStrips) {
  TfrmMain &m = Start();
  m.Holder(QStringLiteral("EditDisplay"))->SetCaption(QStringLiteral("2"));
  m.NewWorkspace();
  m.NewWorkspace();
  m.Action(QStringLiteral("mniWin0"))->trigger();
  const QRect area = m.Area()->viewport()->rect();
  int top = 0;
  for (QMdiSubWindow *sub : m.Area()->subWindowList(QMdiArea::CreationOrder)) {
    EXPECT_FALSE(sub->isMaximized());
    EXPECT_EQ(sub->geometry().left(), 0);
    EXPECT_EQ(sub->geometry().width(), area.width());
    EXPECT_EQ(sub->geometry().top(), top);
    top = sub->geometry().bottom() + 1;
  }
  EXPECT_EQ(top, area.height());
  // The Window menu lists the open windows below its commands.
  QMenu *menu = m.Menu(QStringLiteral("mniWindow"));
  Q_EMIT menu->aboutToShow();
  QStringList titles;
  for (QAction *a : menu->actions())
    if (a->text().contains(QLatin1String("untitled.txt"))) titles << a->text();
  EXPECT_EQ(titles,
            (QStringList{QStringLiteral("&1 untitled.txt"), QStringLiteral("&2 untitled.txt"),
                         QStringLiteral("&3 untitled.txt")}));
}

TEST_F(AppFixture, TypingAndUndoNameTheirKindInTheEditMenu) {
  TfrmMain &m = Start();
  TRichEdit *memo = m.ActiveEdit()->mmoMemo();
  QTest::keyClicks(memo, QStringLiteral("word"));
  Settle();
  EXPECT_EQ(m.Action(QStringLiteral("mniUndo"))->text(), QStringLiteral("&Undo Typing"));
  EXPECT_TRUE(m.Action(QStringLiteral("mniUndo"))->isEnabled());
  EXPECT_EQ(m.Action(QStringLiteral("btnUndo"))->statusTip(), QStringLiteral("Undo Typing"));
  EXPECT_EQ(Panel(m.ActiveEdit(), TfrmEdit::pnlModified), QStringLiteral("Modified"));
  EXPECT_EQ(Panel(m.ActiveEdit(), TfrmEdit::pnlCaret), QStringLiteral("1:5"));
  m.Action(QStringLiteral("mniUndo"))->trigger();
  Settle();
  EXPECT_EQ(memo->toPlainText(), QString());
  EXPECT_EQ(m.Action(QStringLiteral("mniRedo"))->text(), QStringLiteral("&Redo Typing"));
  EXPECT_TRUE(m.Action(QStringLiteral("mniRedo"))->isEnabled());
  EXPECT_FALSE(m.Action(QStringLiteral("mniUndo"))->isEnabled());
  EXPECT_EQ(m.Action(QStringLiteral("mniUndo"))->text(), QStringLiteral("&Undo"));
}

TEST_F(AppFixture, GlyphListHoldsEightyTwoPicturesWithMagentaTransparent) {
  const TGlyphList &glyphs = TGlyphList::Shared();
  ASSERT_EQ(glyphs.Count(), 82);
  int withTransparency = 0;
  for (int i = 0; i < glyphs.Count(); ++i) {
    const QImage image = glyphs.Pixmap(i).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(16, 16)) << i;
    int transparent = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c.alpha() == 0)
          ++transparent;
        else
          EXPECT_NE(c.rgb() & 0xFFFFFF, 0xFF00FFu) << "magenta left visible in glyph " << i;
      }
    withTransparency += transparent > 0;
    EXPECT_LT(transparent, 256) << "empty glyph " << i;
  }
  EXPECT_GT(withTransparency, 70);  // icons, not squares
  // A strip cut by hand: magenta cells become fully transparent.
  QImage strip(320, 96, QImage::Format_RGB32);
  strip.fill(QColor(255, 0, 255));
  strip.setPixelColor(17, 0, Qt::black);  // one pixel in glyph 1
  const TGlyphList cut(strip);
  EXPECT_EQ(cut.Count(), 82);
  const QImage second = cut.Pixmap(1).toImage().convertToFormat(QImage::Format_ARGB32);
  EXPECT_EQ(second.pixelColor(1, 0).alpha(), 255);
  EXPECT_EQ(second.pixelColor(0, 0).alpha(), 0);
  // The main window's bars and menus take their pictures from the list.
  TfrmMain &m = Start();
  EXPECT_FALSE(m.Action(QStringLiteral("btnNew"))->icon().isNull());
  EXPECT_FALSE(m.Action(QStringLiteral("mniSpell"))->icon().isNull());
}

TEST_F(AppFixture, CustomisedToolBarsAndButtonStyleSurviveARestart) {
  {
    TfrmMain &m = Start();
    // Customise the main bar: add Tile Windows after New, take Exit off, move Open first.
    QToolBar *bar = m.barMCustom();
    TfrmCustomize dialog(bar, [&] {
      QList<QAction *> all;
      for (const char *n : {"btnNew", "btnOpen", "btnPSetup", "btnExit", "btnWin0", "btnWin1",
                            "btnWin2", "btnOptions", "btnHelp", "btnSearchHelp", "btnUseHelp",
                            "btnWhatsNew", "btnTech", "btnLVersion", "btnAbout"})
        all << m.Action(QString::fromLatin1(n));
      return all;
    }());
    dialog.cbxSection()->setCurrentText(QStringLiteral("Window Menu"));
    ASSERT_EQ(dialog.lstAvailable()->count(), 3);
    dialog.lstButtons()->setCurrentRow(0);
    dialog.lstAvailable()->setCurrentRow(0);
    dialog.AddSelected();
    EXPECT_EQ(bar->actions().at(1)->objectName(), QStringLiteral("btnWin0"));
    EXPECT_EQ(dialog.lstAvailable()->count(), 2);
    dialog.lstButtons()->setCurrentRow(static_cast<int>(bar->actions().size()) - 1);
    dialog.RemoveSelected();
    EXPECT_FALSE(bar->actions().contains(m.Action(QStringLiteral("btnExit"))));
    dialog.lstButtons()->setCurrentRow(2);
    dialog.MoveSelected(-1);
    dialog.MoveSelected(-1);
    QStringList names;
    for (QAction *a : bar->actions()) names << a->objectName();
    EXPECT_EQ(names, (QStringList{"btnOpen", "btnNew", "btnWin0", "btnPSetup", "btnOptions",
                                  "btnHelp", "btnTech", "btnAbout"}));
    // Standard style: raised buttons on both bars.
    m.Action(QStringLiteral("mniStandard"))->trigger();
    auto *button = qobject_cast<QToolButton *>(
        m.barECustom()->widgetForAction(m.Action(QStringLiteral("btnSave"))));
    ASSERT_TRUE(button);
    EXPECT_FALSE(button->autoRaise());
    for (TfrmEdit *edit : m.EditWindows()) edit->mmoMemo()->SetModified(false);
    EXPECT_TRUE(m.close());
    main.reset();
  }
  TfrmMain &m = Start();
  QStringList names;
  for (QAction *a : m.barMCustom()->actions()) names << a->objectName();
  EXPECT_EQ(names, (QStringList{"btnOpen", "btnNew", "btnWin0", "btnPSetup", "btnOptions",
                                "btnHelp", "btnTech", "btnAbout"}));
  EXPECT_TRUE(m.IsChecked(QStringLiteral("mniStandard")));
  auto *button = qobject_cast<QToolButton *>(
      m.barMCustom()->widgetForAction(m.Action(QStringLiteral("btnOpen"))));
  ASSERT_TRUE(button);
  EXPECT_FALSE(button->autoRaise());
}
