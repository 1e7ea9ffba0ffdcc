// SPDX-License-Identifier: GPL-3.0-or-later
// The frame as a user meets it: starting with a relative name, dropping files on a document,
// the tray, the caption, keys with Alt, and what a dialog leaves behind.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>

#include "AppFixture.h"
#include "app/ui/Commands.h"
#include "app/ui/fmCustomize.h"
#include "documents/ui/FindDialog.h"
#include "settings/core/RootKey.h"
#include "settings/core/SettingsStore.h"
#include "settings/ui/FormStorage.h"

namespace {

// Sends a drag of the given files over a widget and drops it there.
void dropFiles(QWidget *target, const QStringList &files) {
  QList<QUrl> urls;
  for (const QString &f : files) urls << QUrl::fromLocalFile(f);
  QMimeData data;
  data.setUrls(urls);
  const QPoint at = target->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &move);
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
}

}  // namespace

TEST_F(AppFixture, ARelativeNameOnTheCommandLineMeansTheStartingFolder) {
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("relative"));
  const QString file =
      TestEnvironment::WriteFile(dir + QStringLiteral("/texts/letter.txt"), "Dear all");
  QDir::setCurrent(dir);
  TModalAnswerer answerer;  // no box may come up
  TfrmMain &m = Start({QStringLiteral("texts/letter.txt")});
  Settle();
  EXPECT_TRUE(answerer.texts.isEmpty()) << answerer.texts.join(u'|').toStdString();
  ASSERT_EQ(m.EditWindows().size(), 1);
  EXPECT_EQ(m.ActiveEdit()->FileName(), file);
  EXPECT_EQ(m.ActiveEdit()->mmoMemo()->toPlainText(), QStringLiteral("Dear all"));
  // Opening it made its folder current; a second relative name still means that folder.
  EXPECT_EQ(QDir::currentPath(), dir + QStringLiteral("/texts"));
  TestEnvironment::WriteFile(dir + QStringLiteral("/texts/reply.txt"), "Thanks");
  m.OpenFile(QStringLiteral("reply.txt"));
  EXPECT_EQ(m.ActiveEdit()->FileName(), dir + QStringLiteral("/texts/reply.txt"));
}

TEST_F(AppFixture, AFileDroppedOnADocumentOpensInsteadOfTypingItsAddress) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("dropdoc"));
  const QString file =
      TestEnvironment::WriteFile(dir + QStringLiteral("/dropped.txt"), "dropped text");
  TRichEdit *memo = m.ActiveEdit()->mmoMemo();
  QTest::keyClicks(memo, QStringLiteral("mine"));
  dropFiles(memo->viewport(), {file});
  Settle();
  ASSERT_EQ(m.EditWindows().size(), 2);
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("mine"));
  EXPECT_EQ(m.ActiveEdit()->Caption(), QStringLiteral("dropped.txt"));
  EXPECT_EQ(m.ActiveEdit()->mmoMemo()->toPlainText(), QStringLiteral("dropped text"));
  EXPECT_FALSE(m.ActiveEdit()->mmoMemo()->Modified());

  // Text dragged within a document is still moved as text.
  QMimeData text;
  text.setText(QStringLiteral(" more"));
  QDragEnterEvent enter(memo->viewport()->rect().center(), Qt::CopyAction, &text, Qt::LeftButton,
                        Qt::NoModifier);
  QCoreApplication::sendEvent(memo->viewport(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  EXPECT_EQ(m.EditWindows().size(), 2);
}

TEST_F(AppFixture, TrayKeepsThisRunsOptionsAndItsExitEndsTheProgram) {
  TfrmMain &m = Start();
  m.TrayIcon()->show();  // the test desktop has no tray; the program behaves as with one
  QAction *status = m.Action(QStringLiteral("mniMainStatusBar"));
  ASSERT_FALSE(status->isChecked());
  status->trigger();
  m.resize(700, 500);
  m.showMinimized();
  ASSERT_TRUE(QTest::qWaitFor([&] { return m.isHidden(); }, 5000));
  m.Action(QStringLiteral("sysNotepad"))->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return m.isVisible(); }, 5000));
  Settle();
  EXPECT_TRUE(status->isChecked());
  EXPECT_TRUE(m.barMain()->isVisible());
  EXPECT_EQ(m.size(), QSize(700, 500));

  // Exit from the tray menu while only the tray icon is left: the program ends, the icon goes.
  m.showMinimized();
  ASSERT_TRUE(QTest::qWaitFor([&] { return m.isHidden(); }, 5000));
  int result = -1;
  QTimer::singleShot(0, &m, [&] { m.Action(QStringLiteral("sysExit"))->trigger(); });
  // A bound so that a program that does not end fails the test instead of hanging it.
  QTimer bound;
  bound.setSingleShot(true);
  QObject::connect(&bound, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
  bound.start(20000);
  result = QCoreApplication::exec();
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(m.TrayIcon()->isVisible());
}

TEST_F(AppFixture, TheCaptionNamesTheActiveMaximisedDocument) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("titles"));
  QList<TfrmEdit *> windows;
  for (const char *name : {"a.txt", "b.txt", "c.txt"})
    windows << m.OpenFile(TestEnvironment::WriteFile(dir + u'/' + QLatin1String(name), name));
  Settle();
  EXPECT_EQ(m.windowTitle(), QStringLiteral("Vellumix - [c.txt]"));
  m.Activate(windows[0]);
  Settle();
  EXPECT_EQ(m.windowTitle(), QStringLiteral("Vellumix - [a.txt]"));
  EXPECT_EQ(m.TrayIcon()->toolTip(), m.windowTitle());
  m.Action(QStringLiteral("mniWin0"))->trigger();  // Tile: nothing is maximised
  Settle();
  EXPECT_EQ(m.windowTitle(), QStringLiteral("Vellumix"));
  m.SubWindowOf(windows[1])->showMaximized();
  Settle();
  EXPECT_EQ(m.windowTitle(), QStringLiteral("Vellumix - [b.txt]"));
}

TEST_F(AppFixture, AltWithALetterThatIsNoMnemonicTypesNothing) {
  TfrmMain &m = Start();
  TRichEdit *memo = m.ActiveEdit()->mmoMemo();
  QTest::keyClicks(memo, QStringLiteral("ab"));
  memo->SetModified(false);
  for (Qt::Key key : {Qt::Key_Q, Qt::Key_J, Qt::Key_1}) QTest::keyClick(memo, key, Qt::AltModifier);
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("ab"));
  EXPECT_FALSE(memo->Modified());
  QTest::keyClick(memo, Qt::Key_C);  // plain letters still type
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("abc"));

  // The same in a dialog's text box.
  m.Action(QStringLiteral("mniFind"))->trigger();
  TFindDialog *find = m.ActiveEdit()->SearchDialog(TFindDialog::TMode::Find);
  find->edtFind()->clear();
  QTest::keyClick(find->edtFind(), Qt::Key_Q, Qt::AltModifier);
  EXPECT_TRUE(find->edtFind()->text().isEmpty());
  find->close();
}

TEST_F(AppFixture, AfterSaveAsReplacesAFileTheDocumentTakesTheKeysAgain) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("focus"));
  const QString old = TestEnvironment::WriteFile(dir + QStringLiteral("/old.txt"), "old");
  TRichEdit *memo = m.ActiveEdit()->mmoMemo();
  m.activateWindow();
  memo->setFocus();
  QTest::keyClicks(memo, QStringLiteral("new"));
  TModalAnswerer answerer({QStringLiteral("file:") + old, QStringLiteral("&Yes")});
  m.Action(QStringLiteral("mniFile3"))->trigger();
  Settle();
  ASSERT_EQ(answerer.titles.size(), 2);
  EXPECT_EQ(TestEnvironment::ReadFile(old), QByteArray("new"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == memo; }, 5000))
      << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className()
                                      : "no focus");
  EXPECT_EQ(QApplication::activeWindow(), &m);
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("er"));
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("newer"));
}

TEST_F(AppFixture, StayOnTopSwitchesWithoutRecreatingTheWindow) {
  TfrmMain &m = Start();
  QWindow *window = m.windowHandle();
  ASSERT_NE(window, nullptr);
  if (m.IsChecked(QStringLiteral("mniStayOnTop")))
    m.Action(QStringLiteral("mniStayOnTop"))->trigger();
  struct THideCounter : QObject {
    int hides = 0;
    bool eventFilter(QObject *, QEvent *event) override {
      hides += event->type() == QEvent::Hide;
      return false;
    }
  } counter;
  m.installEventFilter(&counter);
  m.Action(QStringLiteral("mniStayOnTop"))->trigger();
  EXPECT_TRUE(m.IsTopMost());
  EXPECT_TRUE(window->flags() & Qt::WindowStaysOnTopHint);
  // A dialog lowers it and raises it again.
  TModalAnswerer answerer;
  bool topDuringDialog = true;
  answerer.onShown = [&](QWidget *) {
    topDuringDialog = window->flags() & Qt::WindowStaysOnTopHint;
  };
  m.Action(QStringLiteral("mniOpen"))->trigger();
  Settle();
  ASSERT_EQ(answerer.titles.size(), 1);
  EXPECT_FALSE(topDuringDialog);
  EXPECT_TRUE(window->flags() & Qt::WindowStaysOnTopHint);
  m.Action(QStringLiteral("mniStayOnTop"))->trigger();
  EXPECT_FALSE(m.IsTopMost());
  EXPECT_EQ(m.windowHandle(), window);
  EXPECT_EQ(counter.hides, 0);
  EXPECT_TRUE(m.isVisible());
  m.removeEventFilter(&counter);
}

TEST_F(AppFixture, FindNextRepeatsTheDialogAsItIsNow) {
  TfrmMain &m = Start();
  TfrmEdit *edit = m.ActiveEdit();
  TRichEdit *memo = edit->mmoMemo();
  memo->SetText(QStringLiteral("cat dog Cat dog cat"));
  memo->SetSelection(0, 0);
  Settle();
  m.Action(QStringLiteral("mniFind"))->trigger();
  TFindDialog *find = edit->SearchDialog(TFindDialog::TMode::Find);
  find->SetFindText(QStringLiteral("cat"));
  find->btnFindNext()->click();
  EXPECT_EQ(memo->SelStart(), 0);
  // The user changes the dialog without pressing its button; F3 uses what it shows now.
  find->SetFindText(QStringLiteral("dog"));
  m.Action(QStringLiteral("mniFindNext"))->trigger();
  EXPECT_EQ(memo->SelStart(), 4);
  EXPECT_EQ(memo->SelLength(), 3);
  find->SetFindText(QStringLiteral("cat"));
  find->chkMatchCase()->setChecked(true);
  m.Action(QStringLiteral("mniFindNext"))->trigger();
  EXPECT_EQ(memo->SelStart(), 16);  // "Cat" no longer matches
  find->close();
}

TEST_F(AppFixture, EveryStoredEntryOfTheWindowsStoresSomething) {
  TfrmMain &m = Start();
  auto *strMain = m.findChild<TFormStorage *>(QStringLiteral("strMain"));
  ASSERT_NE(strMain, nullptr);
  EXPECT_TRUE(strMain->Unresolved().isEmpty()) << strMain->Unresolved().join(u' ').toStdString();
  EXPECT_GT(strMain->StoredProps().size(), 40);
  auto *strEdit = m.ActiveEdit()->findChild<TFormStorage *>(QStringLiteral("strEdit"));
  ASSERT_NE(strEdit, nullptr);
  EXPECT_TRUE(strEdit->Unresolved().isEmpty()) << strEdit->Unresolved().join(u' ').toStdString();
}

TEST_F(AppFixture, TheOpenDialogShowsTheStoredTypesAndKeepsTheOneChosen) {
  {
    TRootKey root;
    root.WriteString(QStringLiteral("Main Form"), QStringLiteral("dlgOpen_Filter"),
                     QStringLiteral("Notes|*.txt|Web|*.htm;*.html|Everything|*.*"));
    root.Close();
  }
  TfrmMain &m = Start();
  TModalAnswerer answerer;
  QStringList shown;
  answerer.onShown = [&](QWidget *w) {
    auto *dialog = qobject_cast<QFileDialog *>(w);
    if (!dialog) return;
    shown = dialog->nameFilters();
    dialog->selectNameFilter(shown.value(1));  // the user picks the second type, then cancels
  };
  m.Action(QStringLiteral("mniOpen"))->trigger();
  Settle();
  ASSERT_EQ(shown.size(), 3);
  EXPECT_TRUE(shown[0].startsWith(QStringLiteral("Notes")));
  EXPECT_TRUE(shown[1].startsWith(QStringLiteral("Web")));
  main.reset();
  TRootKey root;
  EXPECT_EQ(root.ReadString(QStringLiteral("Main Form"), QStringLiteral("dlgOpen_FilterIndex"),
                            QString()),
            QStringLiteral("2"));
  EXPECT_EQ(
      root.ReadString(QStringLiteral("Main Form"), QStringLiteral("dlgOpen_Filter"), QString()),
      QStringLiteral("Notes|*.txt|Web|*.htm;*.html|Everything|*.*"));
}

TEST_F(AppFixture, FileDialogsShowEachTypeNameOnceAndFilterByItsMasks) {
  const QString defaults = QStringLiteral(
      "Text Files (*.TXT)|*.txt|Initialization Files (*.INI)|*.ini|HTML Files "
      "(*.HTM;*HTML)|*.htm;*.html|All Files (*.*)|*.*");
  {
    TRootKey root;  // as a fresh start has it, whatever tests in this process stored before
    root.WriteString(QStringLiteral("Main Form"), QStringLiteral("dlgOpen_Filter"), defaults);
    root.WriteString(QStringLiteral("Main Form"), QStringLiteral("lblFilter_Caption"),
                     QStringLiteral("1"));
    root.Close();
  }
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("types"));
  TestEnvironment::WriteFile(dir + QStringLiteral("/notes.txt"), "n");
  TestEnvironment::WriteFile(dir + QStringLiteral("/page.html"), "p");
  m.SetFilePath(dir + u'/');
  TModalAnswerer answerer;
  QStringList captions;
  QStringList entries;
  answerer.onShown = [&](QWidget *w) {
    auto *dialog = qobject_cast<QFileDialog *>(w);
    if (!dialog) return;
    if (auto *combo = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo")))
      for (int i = 0; i < combo->count(); ++i) captions << combo->itemText(i);
    entries = dialog->nameFilters();
  };
  m.Action(QStringLiteral("mniOpen"))->trigger();
  Settle();
  EXPECT_EQ(captions, (QStringList{QStringLiteral("Text Files (*.TXT)"),
                                   QStringLiteral("Initialization Files (*.INI)"),
                                   QStringLiteral("HTML Files (*.HTM;*HTML)"),
                                   QStringLiteral("All Files (*.*)")}));
  // The dialog still filters by the list's masks, not by those in the names.
  EXPECT_EQ(entries.value(0), QStringLiteral("Text Files (*.TXT) (*.txt)"));
  EXPECT_EQ(entries.value(2), QStringLiteral("HTML Files (*.HTM;*HTML) (*.htm *.html)"));
  captions.clear();
  m.Action(QStringLiteral("mniFile3"))->trigger();  // Save As shows the same list
  Settle();
  EXPECT_EQ(captions.size(), 4);
  EXPECT_EQ(captions.value(0), QStringLiteral("Text Files (*.TXT)"));
}

TEST_F(AppFixture, MessagesFitTheirTitleAndADamagedSettingsFileIsReportedLikeTheOthers) {
  TestEnvironment::WriteFile(TSettingsStore::UserFilePath(), "this is no settings file\n");
  TModalAnswerer answerer({QStringLiteral("OK")});
  answerer.showBoxes = true;  // the box itself is measured
  int width = 0, titleWidth = 0;
  answerer.onShown = [&](QWidget *w) {
    width = w->width();
    titleWidth = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar"))
                     .horizontalAdvance(w->windowTitle());
  };
  TfrmMain &m = Start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return answerer.texts.size() == 1; }, 5000));
  EXPECT_EQ(answerer.titles[0], QStringLiteral("Error"));
  EXPECT_TRUE(answerer.texts[0].startsWith(
      QStringLiteral("Vellumix\n----------------\nThe settings file ")))
      << answerer.texts[0].toStdString();
  EXPECT_TRUE(answerer.texts[0].endsWith(QStringLiteral("apply.")) ||
              answerer.texts[0].endsWith(QStringLiteral("over it.")))
      << answerer.texts[0].toStdString();

  // "Cannot find": a short text under a longer title.
  TRichEdit *memo = m.ActiveEdit()->mmoMemo();
  memo->SetText(QStringLiteral("abc"));
  m.Action(QStringLiteral("mniFind"))->trigger();
  TFindDialog *find = m.ActiveEdit()->SearchDialog(TFindDialog::TMode::Find);
  find->SetFindText(QStringLiteral("x"));
  answerer.Add(QStringLiteral("OK"));
  find->btnFindNext()->click();
  ASSERT_EQ(answerer.texts.size(), 2);
  EXPECT_EQ(answerer.titles[1], QStringLiteral("Information"));
  EXPECT_GE(width, titleWidth + 100);
  find->close();
}

TEST_F(AppFixture, CascadeKeepsEveryWindowInsideTheFrame) {
  TfrmMain &m = Start();
  for (int i = 0; i < 5; ++i) m.NewWorkspace();
  for (int width : {640, 900}) {
    m.resize(width, 480);
    Settle();
    m.Action(QStringLiteral("mniWin1"))->trigger();
    Settle();
    const QRect space = m.Area()->viewport()->rect();
    QList<QMdiSubWindow *> subs = m.Area()->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(subs.size(), 6);
    for (qsizetype i = 0; i < subs.size(); ++i) {
      EXPECT_FALSE(subs[i]->isMaximized());
      EXPECT_TRUE(space.contains(subs[i]->geometry())) << width << " window " << i;
      if (i > 0) {
        EXPECT_GT(subs[i]->x(), subs[i - 1]->x());  // stepped, so every title shows
      }
      EXPECT_EQ(subs[i]->size(), subs[0]->size());
    }
  }
}

TEST_F(AppFixture, AButtonDraggedOntoTheBarListLandsOnTheBarAndStandardStyleIsStored) {
  TfrmMain &m = Start();
  QToolBar *bar = m.barMCustom();
  QList<QAction *> all;
  for (const TButtonDef &def : Commands::MainButtons())
    all << m.Action(QString::fromLatin1(def.name));
  TfrmCustomize dialog(bar, all);
  dialog.show();
  dialog.cbxSection()->setCurrentText(QStringLiteral("Window Menu"));
  QListWidget *from = dialog.lstAvailable();
  QListWidget *to = dialog.lstButtons();
  ASSERT_GT(from->count(), 0);
  const QString dragged = from->item(0)->text();
  // What a drag carries from the list of available buttons, dropped on the bar's first row.
  std::unique_ptr<QMimeData> data(from->model()->mimeData({from->model()->index(0, 0)}));
  const QPoint at = to->visualItemRect(to->item(0)).center();
  QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(to->viewport(), &enter);
  QDragMoveEvent move(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(to->viewport(), &move);
  QDropEvent drop(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(to->viewport(), &drop);
  Settle();
  QStringList onBar;
  for (QAction *a : bar->actions()) onBar << a->text();
  EXPECT_TRUE(onBar.contains(dragged)) << onBar.join(u',').toStdString();
  EXPECT_EQ(to->count(), bar->actions().size());
  dialog.close();

  m.Action(QStringLiteral("mniStandard"))->trigger();
  main.reset();
  TRootKey root;
  for (const char *name : {"barMCustom_Options", "barECustom_Options"})
    EXPECT_FALSE(root.ReadString(QStringLiteral("Main Form"), QString::fromLatin1(name), QString())
                     .contains(QStringLiteral("sbFlatBtns")))
        << name;
}

TEST_F(AppFixture, AMaximisedDocumentAndItsStatusBarFitTheFrame) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(
      QStringLiteral("fit/a rather long folder name/and another long one/deeper"));
  const QString file = TestEnvironment::WriteFile(
      dir + QStringLiteral("/with a long file name as well.txt"), "13 characters");
  TfrmEdit *edit = m.OpenFile(file);
  for (int width : {640, 420}) {
    m.resize(width, 451);
    Settle();
    QMdiSubWindow *sub = m.SubWindowOf(edit);
    ASSERT_TRUE(sub->isMaximized());
    EXPECT_TRUE(m.Area()->viewport()->rect().contains(sub->geometry())) << width;
    // The edit control's right edge (its scroll bar) is inside the frame.
    const QPoint right = edit->mmoMemo()->mapTo(&m, QPoint(edit->mmoMemo()->width() - 1, 0));
    EXPECT_LT(right.x(), m.width()) << width;
    // Panels stay side by side within the bar; a path that does not fit is shortened, whole in its
    // tooltip.
    TPanelStatusBar *bar = edit->barEdit();
    for (int p = 0; p < bar->PanelCount(); ++p) {
      EXPECT_LE(bar->Panel(p)->geometry().right(), bar->width()) << width << " panel " << p;
      if (p > 0) {
        EXPECT_GT(bar->Panel(p)->x(), bar->Panel(p - 1)->geometry().right())
            << width << " panel " << p;
      }
    }
    EXPECT_EQ(bar->Text(TfrmEdit::pnlFileName), file);
    if (bar->Panel(TfrmEdit::pnlFileName)->text() != file) {
      EXPECT_EQ(bar->Panel(TfrmEdit::pnlFileName)->toolTip(), file);
    }
  }
  // With room, the size panel shows its whole text.
  m.resize(1400, 451);
  Settle();
  EXPECT_EQ(edit->barEdit()->Panel(TfrmEdit::pnlSize)->text(), QStringLiteral("13 bytes"));
  EXPECT_EQ(edit->barEdit()->Panel(TfrmEdit::pnlFileName)->text(), file);
  QLabel *size = edit->barEdit()->Panel(TfrmEdit::pnlSize);
  EXPECT_GE(size->contentsRect().width(), size->fontMetrics().horizontalAdvance(size->text()));
}

TEST_F(AppFixture, TheCaretPanelShowsALargeLineNumberWhole) {
  TfrmMain &m = Start();
  m.resize(800, 600);
  TfrmEdit *edit = m.ActiveEdit();
  edit->mmoMemo()->SetText(QStringLiteral("line\n").repeated(400'000));
  edit->mmoMemo()->moveCursor(QTextCursor::End);
  Settle();
  QLabel *caret = edit->barEdit()->Panel(TfrmEdit::pnlCaret);
  EXPECT_EQ(edit->barEdit()->Text(TfrmEdit::pnlCaret), QStringLiteral("400001:1"));
  EXPECT_EQ(caret->text(), QStringLiteral("400001:1"));
  edit->mmoMemo()->SetModified(false);
}
