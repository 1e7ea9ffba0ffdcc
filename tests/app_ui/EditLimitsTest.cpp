// SPDX-License-Identifier: GPL-3.0-or-later
// The bounds of a workspace while the user edits: its character limit and its undo limit, with
// whole texts taken in as documents of their own among the steps.
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>

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

TEST_F(AppFixture, AWorkspaceKeepsTheNewestHundredUndoStepsUnlessToldOtherwise) {
  TfrmMain &m = Start();
  TRichEdit *memo = m.EditWindows().first()->mmoMemo();
  EXPECT_EQ(memo->UndoLimit(), 100);
  for (int i = 0; i < 130; ++i) {
    memo->moveCursor(QTextCursor::End);
    memo->ReplaceSelection(QStringLiteral("w%1 ").arg(i));
  }
  EXPECT_EQ(memo->document()->availableUndoSteps(), 100);
  while (memo->CanUndo()) memo->Undo();
  EXPECT_EQ(memo->Text(), QStringList([] {
                            QStringList words;
                            for (int i = 0; i < 30; ++i) words << QStringLiteral("w%1 ").arg(i);
                            return words;
                          }())
                              .join(QString()));
}

TEST_F(AppFixture, TextsTakenInWholeUndoAndRedoAsStepsBetweenTypingWithinTheLimit) {
  TfrmMain &m = Start();
  TRichEdit *memo = m.EditWindows().first()->mmoMemo();
  memo->SetUndoLimit(6);
  // The text shown and the stores kept for Undo and Redo.
  const auto documents = [memo] { return memo->document()->heldStores() + 1; };
  QSignalSpy changed(memo, &TTextView::textChanged);
  QStringList states{memo->Text()};
  for (int i = 0; i < 20; ++i) {
    if (i % 3 == 0) {
      const QString text = memo->Text().toUpper() + QStringLiteral("\nline %1").arg(i);
      memo->TakeDocument(PlainDocument::Build(text, {}, memo->LineEndKind()), 2);
      EXPECT_EQ(memo->SelStart(), std::min<qsizetype>(2, memo->PositionCount()));
    } else {
      memo->moveCursor(QTextCursor::End);
      memo->ReplaceSelection(QStringLiteral(" w%1").arg(i));
    }
    Settle();
    states << memo->Text();
  }
  EXPECT_EQ(memo->Text(), states.last());
  // The documents replaced are kept only while undo can reach them.
  EXPECT_LE(documents(), 2 * 6 + 1);

  // Saved here: each step back is a change, and back again it is not.
  memo->SetModified(false);
  int undone = 0;
  while (memo->CanUndo()) {
    const quint64 count = memo->ChangeCount();
    changed.clear();
    memo->Undo();
    ++undone;
    EXPECT_EQ(memo->Text(), states[states.size() - 1 - undone]) << undone;
    EXPECT_TRUE(memo->Modified()) << undone;
    EXPECT_GT(memo->ChangeCount(), count);
    EXPECT_FALSE(changed.isEmpty());
  }
  EXPECT_EQ(undone, 6);
  while (memo->CanRedo()) memo->Redo();
  EXPECT_EQ(memo->Text(), states.last());
  EXPECT_FALSE(memo->Modified());

  // Typing after two steps back leaves nothing to redo and frees what redo would have shown,
  // though the key merges into the step before it.
  const qsizetype before = documents();
  memo->Undo();
  memo->Undo();
  memo->moveCursor(QTextCursor::End);
  QTest::keyClicks(memo, QStringLiteral("q"));
  EXPECT_FALSE(memo->CanRedo());
  EXPECT_EQ(memo->Text(), states[states.size() - 3] + u'q');
  EXPECT_LT(documents(), before);
  memo->Undo();
  EXPECT_EQ(memo->Text(), states[states.size() - 4]);

  // Without undo a replaced document is not kept at all; a load forgets them all.
  memo->SetUndoLimit(0);
  memo->TakeDocument(PlainDocument::Build(QStringLiteral("plain"), {}, 1), 0);
  EXPECT_EQ(documents(), 1);
  EXPECT_FALSE(memo->CanUndo());
  memo->SetUndoLimit(100);  // the window keeps its limit for the next ones
}
