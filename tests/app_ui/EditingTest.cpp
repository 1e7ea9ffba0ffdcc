// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>

#include "AppFixture.h"
#include "documents/store/TextModel.h"
#include "settings/core/RootKey.h"

namespace {

QString header() { return QStringLiteral("Vellumix\n----------------\n"); }

TfrmEdit *openText(TfrmMain &m, const QString &dir, const char *name, const QByteArray &bytes) {
  return m.OpenFile(TestEnvironment::WriteFile(dir + u'/' + QLatin1String(name), bytes));
}

}  // namespace

TEST_F(AppFixture, SavingKeepsBackupsAndRoutesUntitledDocumentsThroughSaveAs) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("save"));
  m.SetFilePath(dir + u'/');
  TRichEdit *memo = m.ActiveEdit()->mmoMemo();
  QTest::keyClicks(memo, QStringLiteral("version one"));

  // A new document goes through Save As, proposing untitled.txt in the last folder.
  TModalAnswerer answerer;
  QString proposed;
  answerer.onShown = [&](QWidget *w) {
    if (auto *files = qobject_cast<QFileDialog *>(w)) proposed = files->selectedFiles().value(0);
  };
  answerer.Add(QStringLiteral("file:") + dir + QStringLiteral("/notes"));
  m.Action(QStringLiteral("mniFile2"))->trigger();
  Settle();
  EXPECT_EQ(proposed, dir + QStringLiteral("/untitled.txt"));
  const QString notes = dir + QStringLiteral("/notes.txt");  // the default extension was added
  EXPECT_EQ(TestEnvironment::ReadFile(notes), QByteArray("version one"));
  EXPECT_EQ(m.ActiveEdit()->Caption(), QStringLiteral("notes.txt"));
  EXPECT_EQ(m.ActiveEdit()->FileName(), notes);
  EXPECT_EQ(m.CurrentFileName(), notes);
  EXPECT_EQ(m.FileLists().Recent().first(), notes);
  EXPECT_FALSE(memo->Modified());
  EXPECT_FALSE(QFile::exists(dir + QStringLiteral("/notes.bak")));  // never on disk before

  // Backups on, two saves: the backup holds the version before each save.
  m.Action(QStringLiteral("mniAutomaticBackups"))->trigger();
  memo->SetText(QStringLiteral("version two"));
  memo->SetModified(true);
  m.Action(QStringLiteral("btnSave"))->trigger();
  Settle();
  EXPECT_EQ(TestEnvironment::ReadFile(dir + QStringLiteral("/notes.bak")),
            QByteArray("version one"));
  memo->SetText(QStringLiteral("version three"));
  m.Action(QStringLiteral("mniFile2"))->trigger();
  Settle();
  EXPECT_EQ(TestEnvironment::ReadFile(dir + QStringLiteral("/notes.bak")),
            QByteArray("version two"));
  EXPECT_EQ(TestEnvironment::ReadFile(notes), QByteArray("version three"));
  EXPECT_EQ(answerer.titles.size(), 1);  // plain saves ask nothing

  // Save As onto an existing file asks first; the replaced file becomes the new name's backup.
  const QString other = TestEnvironment::WriteFile(dir + QStringLiteral("/other.txt"), "old other");
  answerer.Add(QStringLiteral("file:") + other);
  answerer.Add(QStringLiteral("&Yes"));
  m.Action(QStringLiteral("mniFile3"))->trigger();
  Settle();
  ASSERT_EQ(answerer.titles.size(), 3)
      << answerer.titles.join(u'|').toStdString() << answerer.texts.join(u'|').toStdString();
  EXPECT_EQ(TestEnvironment::ReadFile(other), QByteArray("version three"));
  EXPECT_EQ(TestEnvironment::ReadFile(dir + QStringLiteral("/other.bak")), QByteArray("old other"));
}

TEST_F(AppFixture, AFailedSaveKeepsTheDocumentChangedAndTheFileIntact) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("fail"));
  TfrmEdit *edit = openText(m, dir, "locked.txt", "original\n");
  ::chmod(QFile::encodeName(edit->FileName()).constData(), 0444);
  edit->mmoMemo()->SetText(QStringLiteral("changed\n"));
  edit->mmoMemo()->SetModified(true);
  TModalAnswerer answerer({QStringLiteral("OK")});
  m.Action(QStringLiteral("mniFile2"))->trigger();
  Settle();
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_EQ(answerer.titles[0], QStringLiteral("Vellumix - [locked.txt]"));
  EXPECT_TRUE(answerer.texts[0].startsWith(QStringLiteral("Cannot create file ") +
                                           edit->FileName() + u'.'));
  EXPECT_TRUE(edit->mmoMemo()->Modified());
  EXPECT_EQ(TestEnvironment::ReadFile(edit->FileName()), QByteArray("original\n"));

  // Changed by another program since it was loaded: asked before it is replaced.
  TfrmEdit *shared = openText(m, dir, "shared.txt", "first\n");
  TestEnvironment::WriteFile(shared->FileName(), "someone else's\n");
  shared->mmoMemo()->SetText(QStringLiteral("mine\n"));
  answerer.Add(QStringLiteral("&No"));
  m.Action(QStringLiteral("mniFile2"))->trigger();
  Settle();
  ASSERT_EQ(answerer.texts.size(), 2);
  EXPECT_TRUE(answerer.texts[1].contains(QLatin1String("changed by another program")));
  EXPECT_EQ(TestEnvironment::ReadFile(shared->FileName()), QByteArray("someone else's\n"));
  answerer.Add(QStringLiteral("&Yes"));
  m.Action(QStringLiteral("mniFile2"))->trigger();
  Settle();
  EXPECT_EQ(TestEnvironment::ReadFile(shared->FileName()), QByteArray("mine\n"));
}

TEST_F(AppFixture, CaseConversionsAreOneUndoStepEach) {
  TfrmMain &m = Start();
  TRichEdit *memo = m.ActiveEdit()->mmoMemo();
  QTest::keyClicks(memo, QStringLiteral("Hello, World 42 straße"));
  Settle();
  m.Action(QStringLiteral("btnTogCase"))->trigger();
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("hELLO, wORLD 42 STRAßE"));
  Settle();
  EXPECT_EQ(m.Action(QStringLiteral("mniUndo"))->text(), QStringLiteral("&Undo"));
  m.Action(QStringLiteral("mniUndo"))->trigger();
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("Hello, World 42 straße"));
  memo->SetSelection(0, 5);
  Settle();
  m.Action(QStringLiteral("mniUpper"))->trigger();
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("HELLO, World 42 straße"));
  EXPECT_EQ(memo->SelLength(), 0);
  EXPECT_EQ(memo->SelStart(), 5);
  m.Action(QStringLiteral("mniTitleCase"))->trigger();
  EXPECT_EQ(memo->toPlainText(),
            QStringLiteral("Hello, World 42 Straße"));  // ß is a letter of the word
}

TEST_F(AppFixture, AlignmentFollowsTheActiveWindowAndWordWrapReachesEveryWindow) {
  TfrmMain &m = Start();
  TfrmEdit *first = m.ActiveEdit();
  m.Action(QStringLiteral("btnRight"))->trigger();
  Settle();
  EXPECT_EQ(first->mmoMemo()->Alignment(), TTextAlignment::Right);
  EXPECT_TRUE(m.IsChecked(QStringLiteral("mniRight")));
  TfrmEdit *second = m.NewWorkspace();
  Settle();
  EXPECT_EQ(second->mmoMemo()->Alignment(), TTextAlignment::Left);
  EXPECT_TRUE(m.Action(QStringLiteral("btnLeft"))->isChecked());
  m.Activate(first);
  Settle();
  EXPECT_TRUE(m.Action(QStringLiteral("btnRight"))->isChecked());

  EXPECT_TRUE(first->mmoMemo()->WordWrap());
  m.Action(QStringLiteral("mniWordWrap"))->trigger();
  for (TfrmEdit *edit : m.EditWindows()) {
    EXPECT_FALSE(edit->mmoMemo()->WordWrap());
    EXPECT_EQ(edit->mmoMemo()->ScrollBars(), TRichEdit::TScrollStyle::ssBoth);
  }
  {
    TRootKey root;
    EXPECT_EQ(
        root.ReadString(QStringLiteral("Edit Form"), QStringLiteral("mmoMemo_WordWrap"), QString()),
        QStringLiteral("False"));
    EXPECT_EQ(root.ReadString(QStringLiteral("Edit Form"), QStringLiteral("mmoMemo_ScrollBars"),
                              QString()),
              QStringLiteral("ssBoth"));
  }
  EXPECT_FALSE(m.NewWorkspace()->mmoMemo()->WordWrap());  // windows opened later follow
}

TEST_F(AppFixture, FindNextNeverWrapsAndEachWindowKeepsItsOwnSearch) {
  TfrmMain &m = Start();
  TfrmEdit *edit = m.ActiveEdit();
  TRichEdit *memo = edit->mmoMemo();
  memo->SetText(QStringLiteral("cat cat cat"));
  memo->SetSelection(1, 0);  // inside the first word
  Settle();
  m.Action(QStringLiteral("mniFind"))->trigger();
  TFindDialog *find = edit->SearchDialog(TFindDialog::TMode::Find);
  EXPECT_TRUE(find->isVisible());
  EXPECT_EQ(find->FindText(), QStringLiteral("cat"));
  memo->SetSelection(0, 0);
  find->btnFindNext()->click();
  EXPECT_EQ(memo->SelStart(), 0);
  EXPECT_EQ(memo->SelLength(), 3);
  Settle();
  m.Action(QStringLiteral("mniFindNext"))->trigger();
  EXPECT_EQ(memo->SelStart(), 4);
  // F3 as the user presses it: the shortcut searches as the key goes down, the key-up that
  // follows finds nothing pending. One key press, one search.
  m.Action(QStringLiteral("mniFindNext"))->trigger();
  QTest::keyRelease(memo, Qt::Key_F3);
  EXPECT_EQ(memo->SelStart(), 8);
  TModalAnswerer answerer({QStringLiteral("OK")});
  m.Action(QStringLiteral("btnFindNext"))->trigger();
  Settle();
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_EQ(answerer.texts[0], header() + QStringLiteral("Cannot find 'cat'."));
  EXPECT_EQ(answerer.titles[0], QStringLiteral("Information"));
  EXPECT_EQ(memo->SelStart(), 8);

  // Another window has no last search: Find Next does nothing there.
  TfrmEdit *other = m.NewWorkspace();
  other->mmoMemo()->SetText(QStringLiteral("cat"));
  m.Action(QStringLiteral("mniFindNext"))->trigger();
  Settle();
  EXPECT_EQ(answerer.texts.size(), 1);
  EXPECT_EQ(other->mmoMemo()->SelLength(), 0);
  EXPECT_FALSE(other->SearchState().HasLastSearch());
}

TEST_F(AppFixture, ReplaceSkipsTheSelectedOccurrenceAndReplaceAllWorksFromTheCaret) {
  TfrmMain &m = Start();
  TfrmEdit *edit = m.ActiveEdit();
  TRichEdit *memo = edit->mmoMemo();
  memo->SetText(QStringLiteral("cat cat cat"));
  memo->SetSelection(0, 3);
  Settle();
  m.Action(QStringLiteral("mniReplace"))->trigger();
  TFindDialog *replace = edit->SearchDialog(TFindDialog::TMode::Replace);
  replace->SetFindText(QStringLiteral("cat"));
  replace->edtReplace()->setText(QStringLiteral("dog"));
  replace->btnReplace()->click();
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("cat dog cat"));

  memo->SetText(QStringLiteral("aaa"));
  memo->SetSelection(0, 0);
  replace->SetFindText(QStringLiteral("a"));
  replace->edtReplace()->setText(QStringLiteral("aa"));
  replace->btnReplaceAll()->click();
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("aaaaaa"));
  Settle();
  m.Action(QStringLiteral("mniUndo"))->trigger();
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("aaa"));

  memo->SetText(QStringLiteral("x y x y x"));
  memo->SetSelection(4, 0);
  replace->SetFindText(QStringLiteral("x"));
  replace->edtReplace()->setText(QStringLiteral("z"));
  replace->btnReplaceAll()->click();
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("x y z y z"));
  // The find dialog made now takes over the replace dialog's find text.
  EXPECT_EQ(edit->SearchDialog(TFindDialog::TMode::Find)->FindText(), QStringLiteral("x"));
}

TEST_F(AppFixture, DateStampAndPasteSpecial) {
  TfrmMain &m = Start();
  TRichEdit *memo = m.ActiveEdit()->mmoMemo();
  m.Holder(QStringLiteral("lblDate"))->SetCaption(QStringLiteral("-1"));
  m.Holder(QStringLiteral("lblTime"))->SetCaption(QStringLiteral("2"));
  m.Action(QStringLiteral("mniDateTime"))->trigger();
  EXPECT_TRUE(
      QRegularExpression(QStringLiteral("^\\d{1,2}:\\d\\d$")).match(memo->toPlainText()).hasMatch())
      << memo->toPlainText().toStdString();
  memo->SelectAll();
  m.Holder(QStringLiteral("lblTime"))->SetCaption(QStringLiteral("-1"));
  m.Action(QStringLiteral("mniDateTime"))->trigger();
  EXPECT_TRUE(memo->toPlainText().isEmpty());  // neither format: the selection goes

  auto *data = new QMimeData;
  data->setHtml(QStringLiteral("<p><b>bold</b> words</p>"));
  data->setText(QStringLiteral("plain words"));
  QApplication::clipboard()->setMimeData(data);
  Settle();
  TModalAnswerer answerer;
  QStringList offered;
  answerer.onShown = [&](QWidget *w) {
    auto *list = w->findChild<QListWidget *>(QStringLiteral("lstFormats"));
    for (int i = 0; i < list->count(); ++i) offered << list->item(i)->text();
    list->setCurrentRow(0);
    static_cast<QDialog *>(w)->accept();
  };
  m.Action(QStringLiteral("mniPasteSpecial"))->trigger();
  Settle();
  EXPECT_EQ(offered,
            (QStringList{QStringLiteral("HTML Format"), QStringLiteral("Unformatted text")}));
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("bold words"));
}

TEST_F(AppFixture, RichTextFilesKeepTheirFormattingThroughOpenAndSave) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("rtf"));
  TfrmEdit *edit =
      openText(m, dir, "Letter.RTF",
               "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 Dear {\\b friend}, "
               "caf\\'e9\\par}");
  TRichEdit *memo = edit->mmoMemo();
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("Dear friend, café"));
  TTextCursor at(memo->document());
  at.setPosition(7);  // inside "friend"
  EXPECT_EQ(at.charFormat().fontWeight(), QFont::Bold);
  memo->moveCursor(QTextCursor::End);
  QTest::keyClicks(memo, QStringLiteral("!"));
  ASSERT_TRUE(m.SaveFile(edit, edit->FileName()));
  const QByteArray saved = TestEnvironment::ReadFile(edit->FileName());
  EXPECT_TRUE(saved.startsWith("{\\rtf1"));
  EXPECT_TRUE(saved.contains("\\b"));
  // Reopened: the same text and formatting.
  TfrmEdit *again = m.OpenFile(edit->FileName());
  EXPECT_EQ(again->mmoMemo()->toPlainText(), QStringLiteral("Dear friend, café!"));
  TTextCursor bold(again->mmoMemo()->document());
  bold.setPosition(7);
  EXPECT_EQ(bold.charFormat().fontWeight(), QFont::Bold);
  // Damaged rich text: a clear message, an empty window.
  TModalAnswerer answerer({QStringLiteral("OK")});
  TfrmEdit *bad = openText(m, dir, "bad.rtf", "this is not rich text");
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_TRUE(answerer.texts[0].startsWith(QStringLiteral("Cannot open file ")));
  EXPECT_TRUE(bad->mmoMemo()->toPlainText().isEmpty());
}

TEST_F(AppFixture, FindAndReplaceShowTheirSelectionInTheFindHighlightColour) {
  TfrmMain &m = Start();
  m.Holder(QStringLiteral("lblDate"))->SetColor(0x000000FF);  // red, as the preferences store it
  TfrmEdit *edit = m.ActiveEdit();
  TRichEdit *memo = edit->mmoMemo();
  memo->SetText(QStringLiteral("red or blue"));
  Settle();  // the idle refresh enables the search commands
  const QColor usual = memo->palette().color(QPalette::Inactive, QPalette::Highlight);
  ASSERT_NE(usual, QColor(Qt::red));
  for (const char *command : {"mniFind", "mniReplace"}) {
    m.Action(QString::fromLatin1(command))->trigger();
    TFindDialog *dialog = edit->SearchDialog(QLatin1String(command) == QLatin1String("mniFind")
                                                 ? TFindDialog::TMode::Find
                                                 : TFindDialog::TMode::Replace);
    ASSERT_TRUE(dialog->isVisible()) << command;
    EXPECT_EQ(memo->palette().color(QPalette::Inactive, QPalette::Highlight), QColor(Qt::red))
        << command;
    EXPECT_EQ(memo->palette().color(QPalette::Active, QPalette::Highlight), QColor(Qt::red))
        << command;
    dialog->close();
    EXPECT_EQ(memo->palette().color(QPalette::Inactive, QPalette::Highlight), usual) << command;
  }
}
