// SPDX-License-Identifier: GPL-3.0-or-later
// Keys typed into a real text view: caret moves and selections over short, wrapped and very
// long lines, editing, overwriting, read-only, and the keys the view keeps from shortcuts.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "TestEnvironment.h"
#include "ViewFixture.h"
#include "documents/view/TextView.h"

namespace {

class ViewKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view->setFont(ViewText::Font());
    auto *box = new QVBoxLayout(&window);
    box->addWidget(view);
    box->addWidget(next);
    window.resize(400, 340);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    view->setFocus();
  }

  void Show(const QString &text, int caret = 0, int anchor = -1) {
    view->setPlainText(text);
    TTextCursor cursor = view->textCursor();
    cursor.setPosition(anchor < 0 ? caret : anchor);
    cursor.setPosition(caret, QTextCursor::KeepAnchor);
    view->setTextCursor(cursor);
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int times = 1) {
    for (int i = 0; i < times; ++i) QTest::keyClick(view, key, modifiers);
  }
  int Caret() const { return view->textCursor().position(); }
  int Anchor() const { return view->textCursor().anchor(); }
  QString Text() const { return view->toPlainText(); }

  QWidget window;
  TTextView *view = new TTextView;
  QLineEdit *next = new QLineEdit;
};

TEST_F(ViewKeysTest, CharacterAndWordMovesCrossLineEndsAndSelect) {
  Show(QStringLiteral("one two\nthree"), 3, 1);
  Key(Qt::Key_Left);  // a selection collapses to its start without moving further
  EXPECT_EQ(Caret(), 1);
  EXPECT_EQ(Anchor(), 1);
  Key(Qt::Key_End);
  Key(Qt::Key_Right);  // from the line's end to the next line's start and back
  EXPECT_EQ(Caret(), 8);
  Key(Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(Caret(), 7);
  EXPECT_EQ(Anchor(), 8);
  Key(Qt::Key_Home);
  Key(Qt::Key_Right, Qt::ControlModifier, 3);  // the last stop: the next line's start
  EXPECT_EQ(Caret(), 8);
  Key(Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier, 2);
  EXPECT_EQ(Caret(), 4);
  EXPECT_EQ(Anchor(), 8);
  Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(Caret(), 13);
}

TEST_F(ViewKeysTest, UpDownHomeAndEndGoByRowsKeepingTheColumn) {
  Show(QStringLiteral("0123456789\nab\n0123456789"), 7);
  Key(Qt::Key_Down);
  EXPECT_EQ(Caret(), 13);  // the short line's end
  Key(Qt::Key_Down);
  EXPECT_EQ(Caret(), 21);
  Key(Qt::Key_Up, Qt::ShiftModifier, 3);  // nothing above the first row
  EXPECT_EQ(Caret(), 7);
  EXPECT_EQ(Anchor(), 21);

  QString text;
  while (text.size() < 300) text += QStringLiteral("alpha beta gamma ");
  Show(text, 3);
  const TTextBlock block = view->document()->firstBlock();
  ASSERT_GE(view->viewLayout()->RowCount(block), 3);
  const int rowStart = view->viewLayout()->RowStart(block, 1);
  Key(Qt::Key_Down);
  EXPECT_EQ(Caret(), rowStart + 3);
  Key(Qt::Key_Home);
  EXPECT_EQ(Caret(), rowStart);
  Key(Qt::Key_End);
  EXPECT_EQ(Caret(), view->viewLayout()->RowEnd(block, 1));
  EXPECT_EQ(view->rowOf(Caret()).row, 1);
}

TEST_F(ViewKeysTest, PageDownMovesTheCaretAndTheViewByAPage) {
  QStringList lines;
  for (int i = 0; i < 200; ++i) lines << QStringLiteral("line %1").arg(i);
  Show(lines.join(u'\n'));
  Key(Qt::Key_Down, Qt::NoModifier, 2);
  const int page = view->rowsPerPage();
  Key(Qt::Key_PageDown);
  EXPECT_EQ(view->textCursor().block().blockNumber(), 2 + page);
  EXPECT_EQ(view->firstVisibleBlock().blockNumber(), page);  // same place on screen
  Key(Qt::Key_PageUp, Qt::ShiftModifier);
  EXPECT_EQ(view->textCursor().selectedText().count(QChar::ParagraphSeparator), page);
}

TEST_F(ViewKeysTest, DeletingRemovesWholeCharactersAndLineEnds) {
  const QString text =
      QStringLiteral("a") + QChar(0xD83D) + QChar(0xDE00) + QStringLiteral("b\ncd");
  Show(text, 1);
  Key(Qt::Key_Delete);  // both halves of a character outside the basic plane
  EXPECT_EQ(Text(), QStringLiteral("ab\ncd"));
  Show(text, 3);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(Text(), QStringLiteral("ab\ncd"));
  Key(Qt::Key_Right);
  Key(Qt::Key_Delete);
  EXPECT_EQ(Text(), QStringLiteral("abcd"));
  Key(Qt::Key_Return);
  Key(Qt::Key_Right);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(Text(), QStringLiteral("ab\nd"));
  Show(QStringLiteral("one two three"), 5);
  Key(Qt::Key_Delete, Qt::ControlModifier);
  Key(Qt::Key_Backspace, Qt::ControlModifier);
  EXPECT_EQ(Text(), QStringLiteral("one three"));
}

TEST_F(ViewKeysTest, TypingInsertsOverwritesAndTabTypesUnlessItChangesFocus) {
  Show(QStringLiteral("abc\nd"), 1);
  QTest::keyClicks(view, QStringLiteral("x"));
  view->setOverwriteMode(true);
  QTest::keyClicks(view, QStringLiteral("123"));  // replaces up to the line's end, then adds
  EXPECT_EQ(Text(), QStringLiteral("ax123\nd"));
  Key(Qt::Key_A, Qt::ControlModifier);
  Key(Qt::Key_Tab);  // replaces the selection, focus stays
  EXPECT_EQ(Text(), QStringLiteral("\t"));
  view->setTabChangesFocus(true);
  Key(Qt::Key_Tab);
  EXPECT_EQ(Text(), QStringLiteral("\t"));
  EXPECT_TRUE(next->hasFocus());
}

TEST_F(ViewKeysTest, ReadOnlyRefusesEditsAndLeavesTypedKeysToShortcuts) {
  QAction letter(&window), right(&window);
  letter.setShortcut(QKeySequence(Qt::Key_X));
  right.setShortcut(QKeySequence(Qt::Key_Right));
  window.addActions({&letter, &right});
  QSignalSpy letters(&letter, &QAction::triggered), rights(&right, &QAction::triggered);
  Show(QStringLiteral("ab"));
  Key(Qt::Key_X);
  Key(Qt::Key_Right);
  EXPECT_EQ(Text(), QStringLiteral("xab"));
  view->setReadOnly(true);
  Key(Qt::Key_X);
  for (const Qt::Key key : {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return}) Key(key);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text(), QStringLiteral("xab"));
  Key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(view->textCursor().selectedText(), QStringLiteral("b"));
  EXPECT_EQ(letters.count(), 1);
  EXPECT_EQ(rights.count(), 0);
}

TEST_F(ViewKeysTest, AKeyAtTheEndOfAMegabyteLineLaysOutOnlyItsPiece) {
  QString line;
  while (line.size() < 1'000'000) line += QStringLiteral("{\"key\":\"value\",\"n\":12}, ");
  Show(line);
  Key(Qt::Key_End, Qt::ControlModifier);
  TestEnvironment::Settle();
  for (const Qt::Key key : {Qt::Key_A, Qt::Key_Backspace, Qt::Key_Left, Qt::Key_Delete}) {
    const int before = view->viewLayout()->PieceLayouts();
    Key(key);
    TestEnvironment::Settle();  // painted too
    EXPECT_LE(view->viewLayout()->PieceLayouts() - before, 1) << key;
  }
  EXPECT_EQ(Text().size(), line.size() - 1);
}

}  // namespace
