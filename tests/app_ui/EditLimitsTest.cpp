// The bounds of a workspace while the user edits: its character limit and its undo limit.
#include <QApplication>
#include <QClipboard>
#include <QTextBlock>

#include "AppFixture.h"

TEST_F(AppFixture, TypingAndPastingStopAtTheCharacterLimit) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("limit"));
  QByteArray nearlyFull(TEditControl::MaxLength - 2, 'x');
  for (qsizetype i = 99; i < nearlyFull.size(); i += 100) nearlyFull[i] = '\n';
  TfrmEdit *edit =
      m.OpenFile(TestEnvironment::WriteFile(dir + QStringLiteral("/full.txt"), nearlyFull));
  TRichEdit *memo = edit->mmoMemo();
  memo->moveCursor(QTextCursor::End);

  TModalAnswerer answerer({QStringLiteral("OK"), QStringLiteral("OK")});
  QTest::keyClicks(memo, QStringLiteral("abc"));
  Settle();
  EXPECT_EQ(memo->PositionCount(), TEditControl::MaxLength);
  EXPECT_TRUE(memo->document()->lastBlock().text().endsWith(QStringLiteral("ab")));
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_EQ(answerer.titles[0], QStringLiteral("Warning"));
  EXPECT_TRUE(answerer.texts[0].endsWith(
      QStringLiteral("A workspace holds at most ") + TfrmEdit::LimitText() +
      QStringLiteral(" characters.\nThe text that did not fit was not added.")));

  // A paste that fits after a selection is removed goes in; one that does not is cut.
  QApplication::clipboard()->setText(QStringLiteral("12345"));
  memo->SetSelection(memo->PositionCount() - 2, 2);  // "ab"
  memo->Paste();
  Settle();
  EXPECT_EQ(memo->PositionCount(), TEditControl::MaxLength);
  EXPECT_TRUE(memo->document()->lastBlock().text().endsWith(QStringLiteral("12")));
  EXPECT_EQ(answerer.texts.size(), 2);

  // With room made, typing goes on again without a word.
  QTest::keyClick(memo, Qt::Key_Backspace);
  QTest::keyClicks(memo, QStringLiteral("z"));
  Settle();
  EXPECT_TRUE(memo->document()->lastBlock().text().endsWith(QStringLiteral("1z")));
  EXPECT_EQ(answerer.texts.size(), 2);
}

TEST_F(AppFixture, StepsBeyondTheUndoLimitAreDroppedAndTheNewestStillUndo) {
  TfrmMain &m = Start();
  TfrmEdit *edit = m.EditWindows().first();
  TRichEdit *memo = edit->mmoMemo();
  memo->SetUndoLimit(10);
  QStringList states{memo->Text()};
  for (int i = 0; i < 45; ++i) {
    memo->moveCursor(QTextCursor::End);
    // Separate steps: a word, then a new line every third time.
    if (i % 3 == 2)
      QTest::keyClick(memo, Qt::Key_Return);
    else
      memo->ReplaceSelection(QStringLiteral("w%1 ").arg(i));
    Settle();
    states << memo->Text();
  }
  // Never more than twice the limit is kept; the document keeps the text typed.
  EXPECT_LE(memo->document()->availableUndoSteps(), 2 * 10 * 2);
  EXPECT_EQ(memo->Text(), states.last());
  EXPECT_TRUE(memo->Modified());
  // The newest ten steps undo one by one, then nothing more.
  int undone = 0;
  while (memo->CanUndo()) {
    memo->Undo();
    ++undone;
    EXPECT_EQ(memo->Text(), states[states.size() - 1 - undone]) << undone;
  }
  EXPECT_EQ(undone, 10);
  // And come back again.
  while (memo->CanRedo()) memo->Redo();
  EXPECT_EQ(memo->Text(), states.last());
}
