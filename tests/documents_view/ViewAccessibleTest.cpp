// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader gets from the text view: its role and state, its text by character,
// word, row and line, the caret and selection both ways, edits, and the events typing sends.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QTest>
#include <vector>

#include "ViewFixture.h"
#include "documents/store/TextModel.h"
#include "documents/view/TextView.h"
#include "documents/view/ViewAccessible.h"
#include "platform/ui/AccessibleNames.h"

namespace {

// A class derived from the view (as the rich editing view is) answers as the view does.
class TDerivedView : public TTextView {
  Q_OBJECT
};

// What a recorded event told: its type, and its position and text where it has them.
struct TEventSeen {
  QAccessible::Event type;
  int position = -1;
  QString text;
};

std::vector<TEventSeen> *gSeen = nullptr;

void Record(QAccessibleEvent *event) {
  if (!gSeen) return;
  TEventSeen seen{event->type(), -1, {}};
  if (const auto *insert = dynamic_cast<QAccessibleTextInsertEvent *>(event))
    seen = {event->type(), insert->changePosition(), insert->textInserted()};
  else if (const auto *remove = dynamic_cast<QAccessibleTextRemoveEvent *>(event))
    seen = {event->type(), remove->changePosition(), remove->textRemoved()};
  else if (const auto *cursor = dynamic_cast<QAccessibleTextCursorEvent *>(event))
    seen.position = cursor->cursorPosition();
  gSeen->push_back(seen);
}

class ViewAccessibleTest : public ShownViewTest {
 protected:
  void SetUp() override {
    ShownViewTest::SetUp();
    if (HasFatalFailure()) return;
    accessible = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(accessible, nullptr);
    text = accessible->textInterface();
    ASSERT_NE(text, nullptr);
  }

  struct TRange {
    QString text;
    int start = -1, end = -1;
  };
  using TQuery = QString (QAccessibleTextInterface::*)(int, QAccessible::TextBoundaryType, int *,
                                                       int *) const;
  TRange Ask(TQuery query, int offset, QAccessible::TextBoundaryType type) const {
    TRange range;
    range.text = (text->*query)(offset, type, &range.start, &range.end);
    return range;
  }
  TRange At(int offset, QAccessible::TextBoundaryType type) const {
    return Ask(&QAccessibleTextInterface::textAtOffset, offset, type);
  }
  TRange After(int offset, QAccessible::TextBoundaryType type) const {
    return Ask(&QAccessibleTextInterface::textAfterOffset, offset, type);
  }
  TRange Before(int offset, QAccessible::TextBoundaryType type) const {
    return Ask(&QAccessibleTextInterface::textBeforeOffset, offset, type);
  }

  QAccessibleInterface *accessible = nullptr;
  QAccessibleTextInterface *text = nullptr;
};

TEST_F(ViewAccessibleTest, IsEditableMultiLineTextForTheViewAndItsDerivedClasses) {
  EXPECT_EQ(accessible->role(), QAccessible::EditableText);
  EXPECT_NE(accessible->editableTextInterface(), nullptr);
  QAccessible::State state = accessible->state();
  EXPECT_TRUE(state.editable && state.multiLine && state.selectableText && state.focusable);
  EXPECT_TRUE(state.focused);
  EXPECT_FALSE(state.readOnly);
  view.setReadOnly(true);
  state = accessible->state();
  EXPECT_TRUE(state.readOnly);
  EXPECT_FALSE(state.editable);

  TDerivedView derived;
  QAccessibleInterface *other = QAccessible::queryAccessibleInterface(&derived);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(other->role(), QAccessible::EditableText);
  EXPECT_NE(other->textInterface(), nullptr);
}

TEST(ViewAccessibleNameTest, TheViewIsNamedByItsLabelOrHintAsAControl) {
  QWidget window;
  auto *label = new QLabel(QStringLiteral("&Body:"), &window);
  auto *labelled = new TDerivedView;
  labelled->setParent(&window);
  label->setBuddy(labelled);
  auto *hinted = new TTextView(&window);
  hinted->setToolTip(QStringLiteral("Text|The text of the message"));
  TAccessibleNamer::NameControls(&window);
  EXPECT_EQ(labelled->accessibleName(), QStringLiteral("Body"));
  EXPECT_EQ(hinted->accessibleName(), QStringLiteral("The text of the message"));
}

TEST_F(ViewAccessibleTest, ReadsTextByCharacterWordLineAndParagraph) {
  view.setPlainText(QStringLiteral("One two, three.\nsecond line\n\nlast"));
  EXPECT_EQ(text->characterCount(), 33);
  EXPECT_EQ(text->text(0, 3), QStringLiteral("One"));
  EXPECT_EQ(text->text(9, 22), QStringLiteral("three.\nsecond"));
  EXPECT_EQ(text->text(29, 100), QStringLiteral("last"));

  EXPECT_EQ(At(1, QAccessible::CharBoundary).text, QStringLiteral("n"));
  EXPECT_EQ(At(15, QAccessible::CharBoundary).text, QStringLiteral("\n"));
  EXPECT_EQ(At(33, QAccessible::CharBoundary).text, QString());
  EXPECT_EQ(Before(33, QAccessible::CharBoundary).text, QStringLiteral("t"));

  const TRange word = At(11, QAccessible::WordBoundary);
  EXPECT_EQ(word.text, QStringLiteral("three"));
  EXPECT_EQ(word.start, 9);
  EXPECT_EQ(word.end, 14);
  EXPECT_EQ(Before(9, QAccessible::WordBoundary).text, QStringLiteral(", "));
  EXPECT_EQ(After(21, QAccessible::WordBoundary).text, QStringLiteral(" "));
  EXPECT_EQ(At(1, QAccessible::SentenceBoundary).text, QStringLiteral("One two, three."));

  // Lines and paragraphs take their line break; the last has none.
  EXPECT_EQ(At(20, QAccessible::LineBoundary).text, QStringLiteral("second line\n"));
  EXPECT_EQ(At(28, QAccessible::ParagraphBoundary).text, QStringLiteral("\n"));
  EXPECT_EQ(After(20, QAccessible::ParagraphBoundary).text, QStringLiteral("\n"));
  EXPECT_EQ(Before(20, QAccessible::LineBoundary).text, QStringLiteral("One two, three.\n"));
  EXPECT_EQ(At(-1, QAccessible::LineBoundary).text, QStringLiteral("last"));
  EXPECT_EQ(After(31, QAccessible::LineBoundary).text, QString());
  EXPECT_EQ(At(5, QAccessible::NoBoundary).text, view.toPlainText());

  // A character is what the caret steps over; an empty text has none of anything.
  view.setPlainText(QStringLiteral("a\U0001F600b"));
  EXPECT_EQ(At(2, QAccessible::CharBoundary).text, QStringLiteral("\U0001F600"));
  view.clear();
  for (auto type :
       {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
        QAccessible::LineBoundary, QAccessible::ParagraphBoundary, QAccessible::NoBoundary}) {
    EXPECT_EQ(At(0, type).text, QString());
    EXPECT_EQ(After(0, type).text, QString());
    EXPECT_EQ(Before(0, type).text, QString());
  }
}

TEST_F(ViewAccessibleTest, LinesAreTheViewsRowsOfAWrappedLine) {
  view.setPlainText(QStringLiteral("short\n") + ViewText::Words(3000) + QStringLiteral("\nend"));
  const TTextBlock block = view.document()->findBlockByNumber(1);
  view.viewLayout()->EnsureLaidOut(block);
  const int rows = view.viewLayout()->RowCount(block);
  ASSERT_GT(rows, 10);

  // Walking line by line reads each row once, in order, and the whole text.
  QString read;
  int lines = 0;
  for (TRange line = At(0, QAccessible::LineBoundary); !line.text.isEmpty();
       line = After(line.start, QAccessible::LineBoundary), ++lines) {
    EXPECT_EQ(line.start, read.size());
    read += line.text;
    if (line.start > block.position() && line.end < block.position() + block.length()) {
      const TTextView::TRowPlace place = view.rowOf(line.start);
      EXPECT_EQ(line.start, block.position() + view.viewLayout()->RowStart(block, place.row));
      EXPECT_EQ(view.rowOf(line.end - 1).row, place.row);
    }
  }
  EXPECT_EQ(read, view.toPlainText());
  EXPECT_EQ(lines, rows + 2);
  // And back again from the end.
  int back = 0;
  for (TRange line = At(-1, QAccessible::LineBoundary); !line.text.isEmpty();
       line = Before(line.start, QAccessible::LineBoundary))
    ++back;
  EXPECT_EQ(back, rows + 2);
}

TEST_F(ViewAccessibleTest, CaretSelectionAndGeometryFollowTheView) {
  view.setPlainText(QStringLiteral("alpha beta\ngamma delta"));
  text->setCursorPosition(13);
  EXPECT_EQ(view.textCursor().position(), 13);
  EXPECT_EQ(text->selectionCount(), 0);

  TTextCursor cursor = view.textCursor();
  cursor.setPosition(2);
  cursor.setPosition(8, QTextCursor::KeepAnchor);
  view.setTextCursor(cursor);
  int start = 0, end = 0;
  ASSERT_EQ(text->selectionCount(), 1);
  text->selection(0, &start, &end);
  EXPECT_EQ(start, 2);
  EXPECT_EQ(end, 8);
  EXPECT_EQ(text->cursorPosition(), 8);

  text->setSelection(0, 17, 12);
  EXPECT_EQ(view.textCursor().anchor(), 17);
  EXPECT_EQ(view.textCursor().position(), 12);
  text->removeSelection(0);
  EXPECT_FALSE(view.textCursor().hasSelection());
  EXPECT_EQ(view.textCursor().position(), 12);

  // A point in a character's rectangle finds it again.
  for (int offset : {0, 4, 11, 16}) {
    const QRect rect = text->characterRect(offset);
    EXPECT_GT(rect.width(), 1);
    EXPECT_EQ(text->offsetAtPoint(rect.topLeft() + QPoint(1, rect.height() / 2)), offset);
  }
  EXPECT_EQ(text->offsetAtPoint(view.viewport()->mapToGlobal(QPoint(-5, -5))), -1);
}

TEST_F(ViewAccessibleTest, EditsAreUndoableStepsAndReadOnlyRefusesThem) {
  view.setPlainText(QStringLiteral("hello world"));
  QAccessibleEditableTextInterface *edit = accessible->editableTextInterface();
  edit->insertText(5, QStringLiteral(",\nbig"));
  EXPECT_EQ(view.toPlainText(), QStringLiteral("hello,\nbig world"));
  edit->replaceText(11, 16, QStringLiteral("moon"));
  EXPECT_EQ(view.toPlainText(), QStringLiteral("hello,\nbig moon"));
  edit->deleteText(0, 7);
  EXPECT_EQ(view.toPlainText(), QStringLiteral("big moon"));
  view.undo();
  EXPECT_EQ(view.toPlainText(), QStringLiteral("hello,\nbig moon"));
  view.undo();
  EXPECT_EQ(view.toPlainText(), QStringLiteral("hello,\nbig world"));
  view.undo();
  EXPECT_EQ(view.toPlainText(), QStringLiteral("hello world"));

  view.setReadOnly(true);
  edit->insertText(0, QStringLiteral("x"));
  edit->deleteText(0, 5);
  edit->replaceText(0, 5, QStringLiteral("y"));
  EXPECT_EQ(view.toPlainText(), QStringLiteral("hello world"));
}

TEST_F(ViewAccessibleTest, TypingAndMovingTellTheScreenReader) {
  view.setPlainText(QStringLiteral("text"));
  std::vector<TEventSeen> seen;
  gSeen = &seen;
  TViewAccessible::SetListener(Record);
  auto has = [&](QAccessible::Event type, int position, const QString &changed = {}) {
    for (const TEventSeen &event : seen)
      if (event.type == type && event.position == position && event.text == changed) return true;
    return false;
  };

  QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
  QTest::keyClicks(&view, QStringLiteral("s!"));
  QTest::keyClick(&view, Qt::Key_Backspace);
  QTest::keyClick(&view, Qt::Key_Left, Qt::ShiftModifier);
  const std::vector<TEventSeen> typed = seen;
  seen.clear();
  // A new text much larger than a screen reader is sent reports its start only.
  view.setPlainText(ViewText::Words(TViewAccessible::ReportedChars + 1000));
  const std::vector<TEventSeen> loaded = seen;

  TViewAccessible::SetListener(nullptr);
  gSeen = nullptr;

  seen = typed;
  EXPECT_TRUE(has(QAccessible::TextCaretMoved, 4));
  EXPECT_TRUE(has(QAccessible::TextInserted, 4, QStringLiteral("s")));
  EXPECT_TRUE(has(QAccessible::TextInserted, 5, QStringLiteral("!")));
  EXPECT_TRUE(has(QAccessible::TextCaretMoved, 6));
  EXPECT_TRUE(has(QAccessible::TextRemoved, 5, QStringLiteral(" ")));
  EXPECT_TRUE(has(QAccessible::TextSelectionChanged, 4));
  // The old text goes, the new one comes, cut to what a screen reader is sent.
  ASSERT_GE(loaded.size(), 2U);
  EXPECT_EQ(loaded[0].type, QAccessible::TextRemoved);
  EXPECT_EQ(loaded[1].type, QAccessible::TextInserted);
  EXPECT_EQ(loaded[1].text.size(), TViewAccessible::ReportedChars);
}

TEST_F(ViewAccessibleTest, AQueryInAHugeLineReadsOnlyItsRowOrWord) {
  view.setPlainText(ViewText::Words(2'000'000));
  const int middle = 1'000'000;
  text->setCursorPosition(middle);
  EXPECT_EQ(text->characterCount(), 2'000'000);

  const TRange row = At(middle, QAccessible::LineBoundary);
  const TTextView::TRowPlace place = view.rowOf(middle);
  EXPECT_EQ(row.start, view.viewLayout()->RowStart(place.block, place.row));
  EXPECT_LE(row.start, middle);
  EXPECT_GT(row.end, middle);
  EXPECT_EQ(row.text.size(), row.end - row.start);
  EXPECT_LT(row.text.size(), 200);
  EXPECT_EQ(row.text, view.toPlainText().mid(row.start, row.end - row.start));

  const TRange word = At(middle, QAccessible::WordBoundary);
  EXPECT_LE(word.start, middle);
  EXPECT_LT(word.text.size(), 20);
  const TRange sentence = At(middle, QAccessible::SentenceBoundary);
  EXPECT_LE(sentence.text.size(), 2 * TViewLayout::PieceChars);
}

}  // namespace

#include "ViewAccessibleTest.moc"
