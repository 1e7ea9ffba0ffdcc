// SPDX-License-Identifier: GPL-3.0-or-later
// Files through the real document window: what is opened and saved unchanged comes back byte
// for byte, a change changes only what the user changed, and files that are no ordinary text
// are opened only with a word to the user.
#include <QFileInfo>

#include "AppFixture.h"
#include "documents/core/SaveNames.h"
#include "documents/store/TextModel.h"

namespace {

QAction *SaveCommand(TfrmMain &m) { return m.Action(QStringLiteral("mniFile2")); }

// Puts the caret at the end of a line (counted from 0) of the edit control.
void CaretToLineEnd(TRichEdit *memo, int line) {
  TTextCursor cursor(memo->document()->findBlockByNumber(line));
  cursor.movePosition(QTextCursor::EndOfBlock);
  memo->setTextCursor(cursor);
}

void CaretToLineStart(TRichEdit *memo, int line) {
  memo->setTextCursor(TTextCursor(memo->document()->findBlockByNumber(line)));
}

}  // namespace

TEST_F(AppFixture, MixedLineEndsAndSpecialCharactersSurviveOpenEditAndSave) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("mixed"));
  // CR LF, LF, a lone CR, a no-break space, a line and a paragraph separator.
  const QByteArray bytes(
      "one\r\ntwo\nthree\rfour\xC2\xA0"
      "five\xE2\x80\xA8six\xE2\x80\xA9seven\n");
  const QString file = TestEnvironment::WriteFile(dir + QStringLiteral("/mixed.txt"), bytes);
  TfrmEdit *edit = m.OpenFile(file);
  TRichEdit *memo = edit->mmoMemo();
  // The widget holds the characters themselves; the separators are lines of their own only
  // where the editor ends a line.
  ASSERT_EQ(memo->document()->blockCount(), 6);
  EXPECT_EQ(memo->document()->findBlockByNumber(3).text(),
            QStringLiteral("four\u00A0five\u2028six"));
  EXPECT_EQ(memo->Text(),
            QStringLiteral("one\r\ntwo\r\nthree\r\nfour\u00A0five\u2028six\r\nseven\r\n"));
  EXPECT_FALSE(memo->Modified());

  // Unchanged: the same bytes.
  ASSERT_TRUE(m.SaveFile(edit, edit->FileName()));
  EXPECT_EQ(TestEnvironment::ReadFile(file), bytes);

  // Typed text and a new line change only that line; the new break is like the one in front
  // of the line it was typed in.
  CaretToLineEnd(memo, 1);
  QTest::keyClicks(memo, QStringLiteral("!"));
  QTest::keyClick(memo, Qt::Key_Return);
  QTest::keyClicks(memo, QStringLiteral("2b"));
  SaveCommand(m)->trigger();
  EXPECT_FALSE(memo->Modified());
  EXPECT_EQ(TestEnvironment::ReadFile(file), QByteArray("one\r\ntwo!\r\n2b\nthree\rfour\xC2\xA0"
                                                        "five\xE2\x80\xA8six\xE2\x80\xA9seven\n"));

  // Joining two lines removes the break between them, not the one after.
  CaretToLineStart(memo, 4);  // "four..." after the lone CR
  QTest::keyClick(memo, Qt::Key_Backspace);
  SaveCommand(m)->trigger();
  EXPECT_EQ(TestEnvironment::ReadFile(file), QByteArray("one\r\ntwo!\r\n2b\nthreefour\xC2\xA0"
                                                        "five\xE2\x80\xA8six\xE2\x80\xA9seven\n"));

  // Undoing every change brings every byte back, the lone CR included.
  while (memo->CanUndo()) memo->Undo();
  SaveCommand(m)->trigger();
  EXPECT_EQ(TestEnvironment::ReadFile(file), bytes);

  // Deleting a stretch of lines and pasting it back elsewhere keeps the breaks around it.
  memo->SetSelection(0, 4);  // "one" and its CR LF
  memo->Cut();
  SaveCommand(m)->trigger();
  EXPECT_EQ(TestEnvironment::ReadFile(file), QByteArray("two\nthree\rfour\xC2\xA0"
                                                        "five\xE2\x80\xA8six\xE2\x80\xA9seven\n"));
}

TEST_F(AppFixture, AStrayByteInUtf8IsKeptAndTheUserIsTold) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("stray"));
  // UTF-8 with one byte of another encoding: "à" and "Р" end in byte A0 and must stay.
  const QByteArray bytes("voil\xC3\xA0 \xD0\xA0 caf\xE9\r\nline two\r\n");
  const QString file = TestEnvironment::WriteFile(dir + QStringLiteral("/stray.txt"), bytes);
  TModalAnswerer answerer({QStringLiteral("OK")});
  // The notice comes once the window names the file and shows it unchanged.
  QString shownName, shownModified;
  answerer.onAsked = [&](const TMsgAsked &) {
    if (TfrmEdit *active = m.ActiveEdit()) {
      active->appEventsIdle();
      shownName = Panel(active, TfrmEdit::pnlFileName);
      shownModified = Panel(active, TfrmEdit::pnlModified);
    }
  };
  TfrmEdit *edit = m.OpenFile(file);
  answerer.onAsked = {};
  EXPECT_EQ(shownName, file);
  EXPECT_EQ(shownModified, QString());
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_EQ(answerer.titles[0], QStringLiteral("Warning"));
  EXPECT_TRUE(answerer.texts[0].contains(QStringLiteral(
      "is not valid UTF-8. It was read as UTF-8; its 1 byte that is not UTF-8 is shown as a box.")))
      << answerer.texts[0].toStdString();
  EXPECT_TRUE(
      answerer.texts[0].contains(QStringLiteral("saving writes every byte back unchanged")));
  TRichEdit *memo = edit->mmoMemo();
  EXPECT_TRUE(memo->Text().startsWith(QStringLiteral("voilà Р caf")));
  EXPECT_EQ(edit->Format().encoding, TTextEncoding::Utf8);
  EXPECT_FALSE(memo->Modified());

  ASSERT_TRUE(m.SaveFile(edit, edit->FileName()));
  EXPECT_EQ(TestEnvironment::ReadFile(file), bytes);

  // A change elsewhere leaves the stray byte and every other character as they were.
  memo->moveCursor(QTextCursor::End);
  QTest::sendKeyEvent(QTest::Click, memo, Qt::Key_unknown, QStringLiteral("ñ"), Qt::NoModifier);
  SaveCommand(m)->trigger();
  EXPECT_EQ(TestEnvironment::ReadFile(file), bytes + QByteArray("\xC3\xB1"));

  // After a byte-order mark, invalid bytes are kept too (never silently U+FFFD).
  const QByteArray bom("\xEF\xBB\xBFok \xFF!");
  const QString bomFile = TestEnvironment::WriteFile(dir + QStringLiteral("/bom.txt"), bom);
  answerer.Add(QStringLiteral("OK"));
  TfrmEdit *bomEdit = m.OpenFile(bomFile);
  ASSERT_EQ(answerer.texts.size(), 2);
  EXPECT_TRUE(answerer.texts[1].contains(QStringLiteral("not valid UTF-8 with BOM")));
  EXPECT_FALSE(bomEdit->mmoMemo()->Text().contains(QChar::ReplacementCharacter));
  ASSERT_TRUE(m.SaveFile(bomEdit, bomEdit->FileName()));
  EXPECT_EQ(TestEnvironment::ReadFile(bomFile), bom);
}

TEST_F(AppFixture, BinaryFilesOpenOnlyAfterAWarning) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("binary"));
  QByteArray binary(
      "\x7F"
      "ELF\x02\x01\x01",
      7);
  for (int i = 0; i < 600; ++i) binary.append(char(i * 7));
  const QString file = TestEnvironment::WriteFile(dir + QStringLiteral("/program"), binary);

  // No: nothing of the file is loaded; the window is an untitled document.
  TModalAnswerer answerer({QStringLiteral("&No")});
  TfrmEdit *declined = m.OpenFile(file);
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_EQ(answerer.titles[0], QStringLiteral("Warning"));
  EXPECT_TRUE(answerer.texts[0].contains(QStringLiteral("does not look like text")));
  EXPECT_TRUE(answerer.texts[0].endsWith(QStringLiteral("Open it anyway?")));
  EXPECT_EQ(declined->mmoMemo()->PositionCount(), 0);
  EXPECT_EQ(declined->Caption(), QStringLiteral("untitled.txt"));

  // Yes: opened, and written back unchanged.
  answerer.Add(QStringLiteral("&Yes"));
  TfrmEdit *opened = m.OpenFile(file);
  ASSERT_EQ(answerer.texts.size(), 2);
  EXPECT_EQ(opened->Caption(), QStringLiteral("program"));
  EXPECT_GT(opened->mmoMemo()->PositionCount(), 600);
  ASSERT_TRUE(m.SaveFile(opened, opened->FileName()));
  EXPECT_EQ(TestEnvironment::ReadFile(file), binary);

  // Ordinary text with a tab and a form feed asks nothing.
  m.OpenFile(TestEnvironment::WriteFile(dir + QStringLiteral("/text.txt"), "a\tb\fc\n"));
  EXPECT_EQ(answerer.texts.size(), 2);
}

TEST_F(AppFixture, AWorkspaceWhoseFileCouldNotBeOpenedIsUntitled) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("missing"));
  TModalAnswerer answerer({QStringLiteral("OK")});
  TfrmEdit *edit = m.OpenFile(dir + QStringLiteral("/gone.txt"));
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_TRUE(answerer.texts[0].startsWith(QStringLiteral("Cannot open file ")));
  EXPECT_EQ(edit->Caption(), QStringLiteral("untitled.txt"));
  EXPECT_EQ(edit->FileName(), u' ' + dir + QStringLiteral("/untitled.txt"));

  // Save asks for a name, in the file's folder.
  QTest::keyClicks(edit->mmoMemo(), QStringLiteral("new text"));
  answerer.Add(QString());  // cancel the Save As dialog
  SaveCommand(m)->trigger();
  Settle();
  ASSERT_EQ(answerer.titles.size(), 2);
  EXPECT_EQ(answerer.titles[1], QStringLiteral("Save As"));
  EXPECT_TRUE(edit->mmoMemo()->Modified());

  // Closing asks about the untitled document.
  answerer.Add(QStringLiteral("&No"));
  m.SubWindowOf(edit)->close();
  Settle();
  ASSERT_EQ(answerer.texts.size(), 3);
  EXPECT_TRUE(answerer.texts[2].endsWith(QStringLiteral("Save Changes to 'untitled.txt'\"?")));
}

TEST_F(AppFixture, LongNamesAndNamesEndingInABlankSaveUnderTheirOwnName) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("names"));
  const QString longName = dir + u'/' + QString(251, u'l') + QStringLiteral(".txt");  // 255 bytes
  const QString blank = dir + QStringLiteral("/draft.txt ");
  for (const QString &file : {longName, blank}) {
    SCOPED_TRACE(file.toStdString());
    TfrmEdit *edit = m.OpenFile(TestEnvironment::WriteFile(file, "first\n"));
    EXPECT_EQ(SaveNames::FromPanelText(edit->FileName()), file);
    edit->mmoMemo()->moveCursor(QTextCursor::End);
    QTest::keyClicks(edit->mmoMemo(), QStringLiteral("second"));
    SaveCommand(m)->trigger();
    EXPECT_FALSE(edit->mmoMemo()->Modified());
    EXPECT_EQ(TestEnvironment::ReadFile(file), QByteArray("first\nsecond"));
  }
  EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/draft.txt")));
}
