// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "documents/core/MemoryEdit.h"
#include "platform/core/LineEnds.h"

TEST(MemoryEdit, PositionsCountALineBreakOnceAndTextUsesTheLineEnd) {
  TMemoryEdit edit(QStringLiteral("ab\r\ncd\re\nf"), QStringLiteral("\r\n"));
  EXPECT_EQ(edit.PositionCount(), 9);
  EXPECT_EQ(edit.Text(), QStringLiteral("ab\r\ncd\r\ne\r\nf"));
  EXPECT_EQ(edit.TextLength(), 12);
  EXPECT_EQ(edit.TextRange(1, 5), QStringLiteral("b\ncd"));
  edit.SetSelection(3, 2);
  EXPECT_EQ(edit.SelText(), QStringLiteral("cd"));
  EXPECT_EQ(edit.CaretLine(), 1);
  EXPECT_EQ(edit.CaretColumn(), 2);
  // Out-of-range selections are clamped rather than trusted.
  edit.SetSelection(7, 100);
  EXPECT_EQ(edit.SelStart(), 7);
  EXPECT_EQ(edit.SelLength(), 2);
  edit.SetSelection(-5, 1);
  EXPECT_EQ(edit.SelStart(), 0);
}

TEST(MemoryEdit, ReplaceSelectionIsAnUndoStepThatRestoresTextAndSelection) {
  TMemoryEdit edit(QStringLiteral("hello world"));
  EXPECT_FALSE(edit.Modified());
  edit.SetSelection(6, 5);
  edit.ReplaceSelection(QStringLiteral("there\r\nfriend"));
  EXPECT_EQ(edit.TextRange(0, edit.PositionCount()), QStringLiteral("hello there\nfriend"));
  EXPECT_EQ(edit.SelStart(), 18);
  EXPECT_EQ(edit.SelLength(), 0);
  EXPECT_TRUE(edit.Modified());
  ASSERT_TRUE(edit.CanUndo());
  EXPECT_EQ(edit.UndoKind(), TUndoKind::Unknown);

  edit.Undo();
  EXPECT_EQ(edit.Text(), QStringLiteral("hello world"));
  EXPECT_EQ(edit.SelText(), QStringLiteral("world"));
  EXPECT_FALSE(edit.Modified());  // back where it was saved
  EXPECT_TRUE(edit.CanRedo());
  edit.Redo();
  EXPECT_EQ(edit.Text(), QStringLiteral("hello there\nfriend"));
  EXPECT_TRUE(edit.Modified());

  // A new change drops what could be redone.
  edit.Undo();
  edit.SetSelection(0, 0);
  edit.TypeText(QStringLiteral(">"));
  EXPECT_FALSE(edit.CanRedo());
  EXPECT_EQ(edit.UndoKind(), TUndoKind::Typing);
}

TEST(MemoryEdit, EditBlocksNestAndUndoAsOneStep) {
  TMemoryEdit edit(QStringLiteral("one two three"));
  edit.BeginEditBlock();
  edit.SetSelection(0, 3);
  edit.ReplaceSelection(QStringLiteral("1"));
  edit.BeginEditBlock();
  edit.SetSelection(2, 3);
  edit.ReplaceSelection(QStringLiteral("2"));
  edit.EndEditBlock();
  EXPECT_TRUE(edit.Modified());
  edit.SetSelection(4, 5);
  edit.DeleteSelection();
  edit.EndEditBlock();
  EXPECT_EQ(edit.Text(), QStringLiteral("1 2 "));
  EXPECT_EQ(edit.UndoKind(), TUndoKind::Unknown);
  edit.Undo();
  EXPECT_EQ(edit.Text(), QStringLiteral("one two three"));
  EXPECT_EQ(edit.SelText(), QStringLiteral("one"));
  EXPECT_FALSE(edit.CanUndo());
  edit.Redo();
  EXPECT_EQ(edit.Text(), QStringLiteral("1 2 "));
  // An empty block leaves no step behind.
  edit.BeginEditBlock();
  edit.EndEditBlock();
  edit.Undo();
  EXPECT_EQ(edit.Text(), QStringLiteral("one two three"));
}

TEST(MemoryEdit, ClipboardCommandsCarryTheirUndoKinds) {
  TMemoryEdit edit(QStringLiteral("cut me"));
  TMemoryEdit other;
  edit.SetSelection(0, 4);
  edit.Cut();
  EXPECT_EQ(edit.Text(), QStringLiteral("me"));
  EXPECT_EQ(edit.UndoKind(), TUndoKind::Cut);
  other.Paste();
  EXPECT_EQ(other.Text(), QStringLiteral("cut "));
  EXPECT_EQ(other.UndoKind(), TUndoKind::Paste);
  edit.SelectAll();
  edit.DeleteSelection();
  EXPECT_EQ(edit.UndoKind(), TUndoKind::Delete);
  edit.Undo();
  EXPECT_EQ(edit.RedoKind(), TUndoKind::Delete);
  EXPECT_EQ(edit.Text(), QStringLiteral("me"));
  // Copy with nothing selected keeps the clipboard.
  edit.SetSelection(0, 0);
  edit.Copy();
  EXPECT_EQ(TMemoryEdit::ClipboardText(), QStringLiteral("cut "));
}

TEST(MemoryEdit, LoadingClearsHistoryAndModifiedAndTheUndoLimitDropsOldSteps) {
  TMemoryEdit edit;
  edit.SetUndoLimit(3);
  for (int i = 0; i < 5; ++i) edit.TypeText(QString::number(i));
  int undone = 0;
  while (edit.CanUndo()) edit.Undo(), ++undone;
  EXPECT_EQ(undone, 3);
  EXPECT_EQ(edit.Text(), QStringLiteral("01"));
  // The saved state fell out of the history, so no undo reaches it.
  EXPECT_TRUE(edit.Modified());
  edit.SetText(QStringLiteral("fresh"));
  EXPECT_FALSE(edit.Modified());
  EXPECT_FALSE(edit.CanUndo());
  EXPECT_FALSE(edit.CanRedo());
  edit.SetModified(true);
  EXPECT_TRUE(edit.Modified());
}

TEST(MemoryEdit, HoldsTextBeyondTheOldSixteenMegaCharacterLimit) {
  constexpr qsizetype oldLimit = 16777215;
  TMemoryEdit edit(QString(oldLimit + 10, u'x'));
  EXPECT_EQ(edit.PositionCount(), oldLimit + 10);
  edit.SetSelection(0, 2);
  edit.ReplaceSelection(QStringLiteral("abcd"));
  EXPECT_EQ(edit.PositionCount(), oldLimit + 12);
  EXPECT_EQ(edit.TextRange(0, 5), QStringLiteral("abcdx"));
  edit.Undo();
  EXPECT_EQ(edit.PositionCount(), oldLimit + 10);
}

TEST(MemoryEdit, CaretWordTakesTheWordAtOrBeforeTheCaret) {
  TMemoryEdit edit(QStringLiteral("alpha  beta_2, gamma"));
  edit.SetSelection(2, 0);
  EXPECT_EQ(edit.CaretWord(), QStringLiteral("alpha"));
  edit.SetSelection(5, 0);
  EXPECT_EQ(edit.CaretWord(), QStringLiteral("alpha"));
  edit.SetSelection(6, 0);  // among the blanks: the word before
  EXPECT_EQ(edit.CaretWord(), QStringLiteral("alpha"));
  edit.SetSelection(7, 0);  // at the start of a word: that word
  EXPECT_EQ(edit.CaretWord(), QStringLiteral("beta_2"));
  edit.SetSelection(0, 0);
  EXPECT_EQ(edit.CaretWord(), QString());
  TMemoryEdit blanks(QStringLiteral("   "));
  blanks.SetSelection(2, 0);
  EXPECT_EQ(blanks.CaretWord(), QString());
}

TEST(LineEnds, EachLineEndOfAnyKindBecomesOneNewline) {
  // A CR before a CR LF is a line end of its own, not half of one.
  EXPECT_EQ(LineEnds::ToNewlines(QStringLiteral("a\r\r\nb\n\rc\r")),
            QStringLiteral("a\n\nb\n\nc\n"));
  EXPECT_EQ(LineEnds::ToNewlines(QStringLiteral("no breaks")), QStringLiteral("no breaks"));
}
