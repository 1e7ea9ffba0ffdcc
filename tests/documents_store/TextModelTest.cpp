// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QSignalSpy>

#include "documents/store/TextModel.h"

namespace {
void Type(TTextCursor &cursor, const QString &text) {
  for (const QChar ch : text) cursor.insertText(QString(ch));
}
}  // namespace

TEST(TextModel, CharactersTypedOneAfterAnotherAreOneUndoStepUntilSaved) {
  TTextModel model;
  TTextCursor cursor(&model);
  Type(cursor, QStringLiteral("hello"));
  EXPECT_EQ(model.availableUndoSteps(), 1);
  cursor.insertText(QStringLiteral(" "));
  Type(cursor, QStringLiteral("world"));
  EXPECT_EQ(model.availableUndoSteps(), 1);
  // Saving ends the step: what is typed next is undone on its own.
  model.setModified(false);
  Type(cursor, QStringLiteral("!!"));
  EXPECT_EQ(model.availableUndoSteps(), 2);
  // A line break is a step of its own, and so is what follows it.
  cursor.insertText(QStringLiteral("\n"));
  Type(cursor, QStringLiteral("next"));
  EXPECT_EQ(model.availableUndoSteps(), 4);
  model.undo(&cursor);
  model.undo(&cursor);
  EXPECT_EQ(model.toPlainText(), QStringLiteral("hello world!!"));
  model.undo(&cursor);
  EXPECT_EQ(model.toPlainText(), QStringLiteral("hello world"));
  EXPECT_FALSE(model.isModified());
  EXPECT_EQ(cursor.position(), 11);  // where the text undone stood
  model.undo(&cursor);
  EXPECT_EQ(model.toPlainText(), QString());
  EXPECT_TRUE(model.isModified());
  model.redo(&cursor);
  EXPECT_EQ(model.toPlainText(), QStringLiteral("hello world"));
  EXPECT_EQ(cursor.position(), 11);
  EXPECT_FALSE(model.isModified());
}

TEST(TextModel, DeleteAndBackspaceRunsAreOneStepThatComesBackWhole) {
  TTextModel model;
  model.setPlainText(QStringLiteral("one two three"));
  TTextCursor cursor(&model);
  cursor.setPosition(7);
  model.setModified(true);
  for (int i = 0; i < 3; ++i) cursor.deletePreviousChar();
  // Deletes elsewhere are a step of their own.
  cursor.setPosition(5);
  for (int i = 0; i < 2; ++i) cursor.deleteChar();
  EXPECT_EQ(model.toPlainText(), QStringLiteral("one  ree"));
  EXPECT_EQ(model.availableUndoSteps(), 2);
  model.undo(&cursor);
  EXPECT_EQ(model.toPlainText(), QStringLiteral("one  three"));
  EXPECT_EQ(cursor.position(), 7);
  model.undo(&cursor);
  EXPECT_EQ(model.toPlainText(), QStringLiteral("one two three"));
  EXPECT_EQ(cursor.position(), 7);  // after what came back
  // A surrogate pair is deleted whole.
  model.setPlainText(QStringLiteral("a\U0001F600b"));
  cursor.setPosition(3);
  cursor.deletePreviousChar();
  EXPECT_EQ(model.toPlainText(), QStringLiteral("ab"));
}

TEST(TextModel, AnEditBlockIsOneStepAndTypingGoesOnInTheStepOfASelectionTypedOver) {
  TTextModel model;
  model.setPlainText(QStringLiteral("abc def"));
  QSignalSpy added(&model, &TTextModel::undoCommandAdded);
  TTextCursor cursor(&model);
  model.beginEditBlock();
  cursor.setPosition(0);
  cursor.insertText(QStringLiteral("X"));
  model.beginEditBlock();  // nested blocks are part of the outer one
  cursor.setPosition(8);
  cursor.insertText(QStringLiteral("Y"));
  model.endEditBlock();
  model.endEditBlock();
  EXPECT_EQ(model.toPlainText(), QStringLiteral("Xabc defY"));
  EXPECT_EQ(model.availableUndoSteps(), 1);
  EXPECT_EQ(added.count(), 1);
  cursor.setPosition(1);
  cursor.setPosition(4, QTextCursor::KeepAnchor);
  cursor.insertText(QStringLiteral("1"));
  Type(cursor, QStringLiteral("23"));
  EXPECT_EQ(model.toPlainText(), QStringLiteral("X123 defY"));
  EXPECT_EQ(model.availableUndoSteps(), 2);
  // A deletion after a step made in a block is a step of its own, and so is typing after it.
  cursor.deletePreviousChar();
  Type(cursor, QStringLiteral("4"));
  EXPECT_EQ(model.availableUndoSteps(), 4);
  model.undo();
  model.undo();
  EXPECT_EQ(model.toPlainText(), QStringLiteral("X123 defY"));
  model.undo();
  EXPECT_EQ(model.toPlainText(), QStringLiteral("Xabc defY"));
  model.undo();
  EXPECT_EQ(model.toPlainText(), QStringLiteral("abc def"));
}

TEST(TextModel, CursorsFollowChangesAsQtsDo) {
  TTextModel model;
  model.setPlainText(QStringLiteral("0123456789"));
  TTextCursor editor(&model), before(&model), at(&model), kept(&model), inside(&model);
  before.setPosition(2);
  at.setPosition(5);
  kept.setPosition(5);
  kept.setKeepPositionOnInsert(true);
  inside.setPosition(7);
  inside.setPosition(8, QTextCursor::KeepAnchor);
  editor.setPosition(5);
  editor.insertText(QStringLiteral("ab"));
  EXPECT_EQ(before.position(), 2);
  EXPECT_EQ(at.position(), 7);  // text typed where it stood goes in front of it
  EXPECT_EQ(kept.position(), 5);
  EXPECT_EQ(inside.anchor(), 9);
  editor.setPosition(6);
  editor.setPosition(10, QTextCursor::KeepAnchor);
  editor.removeSelectedText();
  EXPECT_EQ(model.toPlainText(), QStringLiteral("01234a89"));
  EXPECT_EQ(at.position(), 6);
  EXPECT_EQ(inside.anchor(), 6);
  EXPECT_EQ(inside.position(), 6);
  // A cursor outlives its model as a null cursor.
  auto *gone = new TTextModel;
  TTextCursor orphan(gone);
  delete gone;
  EXPECT_TRUE(orphan.isNull());
  orphan.insertText(QStringLiteral("nothing happens"));
}

TEST(TextModel, TheModifiedFlagAndHistorySignalsFollowUndoAndRedo) {
  TTextModel model;
  QSignalSpy modified(&model, &TTextModel::modificationChanged);
  QSignalSpy undo(&model, &TTextModel::undoAvailable);
  QSignalSpy redo(&model, &TTextModel::redoAvailable);
  QSignalSpy change(&model, &TTextModel::contentsChange);
  TTextCursor cursor(&model);
  cursor.insertText(QStringLiteral("a"));
  EXPECT_EQ(modified.count(), 1);
  EXPECT_EQ(undo.count(), 1);
  ASSERT_EQ(change.count(), 1);
  EXPECT_EQ(change.first(), QVariantList({0, 0, 1}));
  model.setModified(false);
  model.undo();
  model.redo();
  EXPECT_FALSE(model.isModified());
  EXPECT_EQ(modified.count(), 4);  // on, off (saved), on (undone), off (redone)
  EXPECT_EQ(redo.count(), 2);
  // A change after an undo drops the redo steps; a text saved there can no longer be reached.
  model.undo();
  cursor.insertText(QStringLiteral("b"));
  EXPECT_FALSE(model.isRedoAvailable());
  EXPECT_TRUE(model.isModified());
  model.undo();
  EXPECT_TRUE(model.isModified());
  // With undo off, a change still marks the text modified.
  model.setModified(false);
  model.setUndoRedoEnabled(false);
  cursor.insertText(QStringLiteral("c"));
  EXPECT_TRUE(model.isModified());
  EXPECT_FALSE(model.isUndoAvailable());
}

TEST(TextModel, UndoingADeletionBringsBackTagsAndFormats) {
  TTextModel model;
  model.setPlainText(QStringLiteral("one\ntwo\nthree"));
  model.findBlockByNumber(1).setTag(2);
  model.findBlockByNumber(2).setTag(1);
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  TTextCursor cursor(&model);
  cursor.setPosition(4);
  cursor.setPosition(7, QTextCursor::KeepAnchor);
  cursor.setCharFormat(bold);  // "two"
  EXPECT_TRUE(model.hasFormats());
  // Typing after a bold character types bold.
  cursor.setPosition(6);
  cursor.insertText(QStringLiteral("o"));
  EXPECT_EQ(model.formatAt(6), bold);
  EXPECT_EQ(model.formatAt(8), QTextCharFormat());  // the break after "twoo"
  const auto ranges = model.findBlockByNumber(1).textFormats();
  ASSERT_EQ(ranges.size(), 1);
  EXPECT_EQ(ranges[0].start, 0);
  EXPECT_EQ(ranges[0].length, 4);
  cursor.setPosition(2);
  cursor.setPosition(11, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  EXPECT_EQ(model.toPlainText(), QStringLiteral("onree"));
  EXPECT_FALSE(model.hasFormats());
  model.undo();
  EXPECT_EQ(model.toPlainText(), QStringLiteral("one\ntwoo\nthree"));
  EXPECT_EQ(model.findBlockByNumber(1).tag(), 2);
  EXPECT_EQ(model.findBlockByNumber(2).tag(), 1);
  EXPECT_EQ(model.formatAt(4), bold);
  EXPECT_EQ(model.formatAt(7), bold);
  EXPECT_EQ(model.formatAt(3), QTextCharFormat());
  EXPECT_EQ(model.formatAt(8), QTextCharFormat());
  model.undo();  // the typed "o"
  model.undo();  // the format
  EXPECT_FALSE(model.hasFormats());
}

TEST(TextModel, TheUndoLimitDropsTheOldestSteps) {
  TTextModel model;
  model.setUndoLimit(3);
  TTextCursor cursor(&model);
  for (int i = 0; i < 6; ++i) cursor.insertText(QStringLiteral("%1\n").arg(i));
  EXPECT_EQ(model.availableUndoSteps(), 3);
  while (model.isUndoAvailable()) model.undo();
  EXPECT_EQ(model.toPlainText(), QStringLiteral("0\n1\n2\n"));
  EXPECT_TRUE(model.isModified());  // the text as it was first is out of reach
}

TEST(TextModel, AStoreSwappedInIsOneStepEitherWay) {
  TTextModel model;
  model.setPlainText(QStringLiteral("small\ntext"));
  TTextCursor cursor(&model);
  cursor.setPosition(3);
  auto store = std::make_unique<TTextStore>();
  store->SetText(QStringLiteral("a whole\nnew\ntext"));
  model.replaceStore(std::move(store));
  EXPECT_EQ(model.toPlainText(), QStringLiteral("a whole\nnew\ntext"));
  EXPECT_EQ(model.blockCount(), 3);
  model.undo(&cursor);
  EXPECT_EQ(model.toPlainText(), QStringLiteral("small\ntext"));
  model.redo(&cursor);
  EXPECT_EQ(model.findBlockByNumber(1).text(), QStringLiteral("new"));
}

TEST(TextModel, BlocksAndPositionsCountLikeQtsTextDocument) {
  TTextModel model;
  model.setPlainText(QStringLiteral("ab\n\ncd"));
  EXPECT_EQ(model.characterCount(), 7);
  EXPECT_EQ(model.blockCount(), 3);
  EXPECT_EQ(model.findBlock(2).blockNumber(), 0);
  EXPECT_EQ(model.findBlock(3).blockNumber(), 1);
  EXPECT_EQ(model.findBlock(6).blockNumber(), 2);
  EXPECT_FALSE(model.findBlock(7).isValid());
  EXPECT_EQ(model.characterAt(2), QChar(QChar::ParagraphSeparator));
  EXPECT_EQ(model.characterAt(4), u'c');
  EXPECT_EQ(model.lastBlock().length(), 3);
  EXPECT_FALSE(model.lastBlock().next().isValid());
  model.findBlockByNumber(0).setLineCount(3);
  EXPECT_EQ(model.lineCount(), 5);
  EXPECT_EQ(model.findBlockByLineNumber(3).blockNumber(), 1);
  EXPECT_FALSE(model.findBlockByLineNumber(5).isValid());
  TTextCursor cursor(model.findBlockByNumber(2));
  EXPECT_TRUE(cursor.atBlockStart());
  cursor.movePosition(QTextCursor::EndOfBlock);
  EXPECT_TRUE(cursor.atEnd());
  cursor.movePosition(QTextCursor::PreviousBlock, QTextCursor::KeepAnchor, 2);
  EXPECT_EQ(cursor.selectedText(), QStringLiteral("ab\u2029\u2029cd"));
}

// Random edits through cursors, then every step undone and made again: the texts seen on the
// way back and forth are those seen going forward.
TEST(TextModel, UndoingAndRedoingRandomEditsRetracesTheTexts) {
  QRandomGenerator random(11);
  TTextModel model;
  model.setPlainText(QStringLiteral("start\nof the\ntext"));
  model.setModified(true);
  TTextCursor cursor(&model);
  std::vector<QString> texts{model.toPlainText()};
  static const QString letters = QStringLiteral("xy \n");
  for (int i = 0; i < 300; ++i) {
    const int length = model.characterCount() - 1;
    cursor.setPosition(random.bounded(length + 1));
    cursor.setPosition(std::min(length, cursor.position() + random.bounded(4)),
                       QTextCursor::KeepAnchor);
    const int steps = model.availableUndoSteps();
    switch (random.bounded(4)) {
      case 0:
        cursor.deleteChar();
        break;
      case 1:
        cursor.deletePreviousChar();
        break;
      default:
        cursor.insertText(QString(letters[random.bounded(letters.size())]));
    }
    if (model.availableUndoSteps() > steps) {
      texts.push_back(model.toPlainText());
    } else {
      texts.back() = model.toPlainText();  // joined the step before
    }
  }
  for (size_t i = texts.size() - 1; i > 0; --i) {
    ASSERT_EQ(model.toPlainText(), texts[i]);
    model.undo(&cursor);
  }
  EXPECT_EQ(model.toPlainText(), texts.front());
  while (model.isRedoAvailable()) model.redo(&cursor);
  EXPECT_EQ(model.toPlainText(), texts.back());
}
