// SPDX-License-Identifier: GPL-3.0-or-later
// The bounds of a workspace while the user edits: its character limit and its undo limit.
#include <QApplication>
#include <QClipboard>
#include <QTextBlock>

#include "AppFixture.h"

TEST_F(AppFixture, TypingAndPastingGoOnPastTheOldCharacterLimit) {
  TfrmMain &m = Start();
  constexpr qsizetype oldLimit = 16777215;
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("limit"));
  QByteArray nearlyFull(oldLimit - 2, 'x');
  for (qsizetype i = 99; i < nearlyFull.size(); i += 100) nearlyFull[i] = '\n';
  TfrmEdit *edit =
      m.OpenFile(TestEnvironment::WriteFile(dir + QStringLiteral("/full.txt"), nearlyFull));
  TRichEdit *memo = edit->mmoMemo();
  EXPECT_FALSE(memo->Modified());
  memo->moveCursor(QTextCursor::End);

  TModalAnswerer answerer;
  QTest::keyClicks(memo, QStringLiteral("abc"));
  QApplication::clipboard()->setText(QStringLiteral("12345"));
  memo->Paste();
  Settle();
  EXPECT_EQ(memo->PositionCount(), oldLimit - 2 + 8);
  EXPECT_TRUE(memo->document()->lastBlock().text().endsWith(QStringLiteral("abc12345")));
  EXPECT_TRUE(answerer.texts.isEmpty());
  EXPECT_TRUE(memo->Modified());
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
