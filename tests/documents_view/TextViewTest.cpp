// SPDX-License-Identifier: GPL-3.0-or-later
// The text view shown: what it scrolls to, where its caret is drawn and found again, what it
// reports, and how little a change in a huge line lays out again.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "ViewFixture.h"
#include "documents/view/TextView.h"

namespace {

const QString kLorem = QStringLiteral("lorem ipsum dolor sit amet, ");

class TextViewTest : public ShownViewTest {
 protected:
  void Place(int position) {
    TTextCursor cursor = view.textCursor();
    cursor.setPosition(position);
    view.setTextCursor(cursor);
    QCoreApplication::processEvents();
  }

  // The caret is inside the viewport, and a click where it is drawn finds its position.
  void ExpectCaretShownAndFound() {
    const QRect caret = view.cursorRect();
    EXPECT_TRUE(view.viewport()->rect().contains(caret)) << caret.y() << " " << caret.x();
    EXPECT_EQ(view.cursorForPosition(QPoint(caret.x(), caret.center().y())).position(),
              view.textCursor().position());
  }
};

TEST_F(TextViewTest, TheCaretIsScrolledIntoViewAndFoundWhereItIsDrawn) {
  view.setPlainText(QStringLiteral("first\n") + ViewText::Words(200'000, kLorem) +
                    QStringLiteral("\nlast line"));
  const int end = view.document()->characterCount() - 1;
  for (int position : {end, 100'000, 7, 199'999, end - 3, 0}) {
    Place(position);
    ExpectCaretShownAndFound();
  }
  EXPECT_EQ(view.verticalScrollBar()->value(), 0);
  Place(end);
  EXPECT_GT(view.verticalScrollBar()->value(), 1000);  // the long line's rows lie between
  EXPECT_EQ(view.firstVisibleBlock().blockNumber(), 1);

  // Without wrapping the long line is one row; the view scrolls sideways to the caret.
  view.setLineWrapMode(TTextView::NoWrap);
  Place(150'000);
  EXPECT_GT(view.horizontalScrollBar()->value(), 100'000);
  ExpectCaretShownAndFound();
  Place(0);
  EXPECT_EQ(view.horizontalScrollBar()->value(), 0);
  ExpectCaretShownAndFound();
}

TEST_F(TextViewTest, AChangeInAHugeLineShownLaysOutOnlyItsPiece) {
  view.setPlainText(ViewText::Words(2'000'000, kLorem));
  Place(view.document()->characterCount() - 1);
  view.viewport()->repaint();
  const int before = view.viewLayout()->PieceLayouts();
  view.insertPlainText(QStringLiteral("x"));
  view.viewport()->repaint();
  EXPECT_LE(view.viewLayout()->PieceLayouts() - before, 1);
  ExpectCaretShownAndFound();
}

TEST_F(TextViewTest, ItReportsCursorSelectionAndTextChangesAndEditsThroughTheClipboard) {
  view.setPlainText(QStringLiteral("alpha beta\ngamma"));
  QSignalSpy moved(&view, &TTextView::cursorPositionChanged);
  QSignalSpy selection(&view, &TTextView::selectionChanged);
  QSignalSpy copyable(&view, &TTextView::copyAvailable);
  QSignalSpy text(&view, &TTextView::textChanged);
  QSignalSpy modified(&view, &TTextView::modificationChanged);

  TTextCursor cursor = view.textCursor();
  cursor.setPosition(6);
  cursor.setPosition(10, QTextCursor::KeepAnchor);
  view.setTextCursor(cursor);
  EXPECT_EQ(moved.size(), 1);
  EXPECT_EQ(selection.size(), 1);
  ASSERT_EQ(copyable.size(), 1);
  EXPECT_TRUE(copyable.first().first().toBool());

  view.cut();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("beta"));
  EXPECT_EQ(view.toPlainText(), QStringLiteral("alpha \ngamma"));
  EXPECT_EQ(text.size(), 1);
  EXPECT_EQ(modified.size(), 1);
  EXPECT_EQ(copyable.size(), 2);
  view.moveCursor(QTextCursor::End);
  view.paste();
  EXPECT_EQ(view.toPlainText(), QStringLiteral("alpha \ngammabeta"));
  view.undo();
  view.undo();
  EXPECT_EQ(view.toPlainText(), QStringLiteral("alpha beta\ngamma"));
  EXPECT_FALSE(view.document()->isModified());
  view.redo();
  EXPECT_EQ(view.toPlainText(), QStringLiteral("alpha \ngamma"));

  view.setReadOnly(true);
  view.paste();
  view.insertPlainText(QStringLiteral("no"));
  EXPECT_EQ(view.toPlainText(), QStringLiteral("alpha \ngamma"));
}

}  // namespace

TEST(TextViewText, ARangeReadsTheTextAndTheClipboardTakesLineSeparatorsAsBreaks) {
  TTextModel document;
  TTextCursor cursor(&document);
  cursor.insertText(QStringLiteral("one\ntwo\x2028three\x00a0four\n\nfive"));
  const int count = document.characterCount() - 1;
  EXPECT_EQ(TTextView::TextBetween(document, 4, 13), QStringLiteral("two\x2028three"));
  EXPECT_EQ(TTextView::SelectedText(document, 4, 13), QStringLiteral("two\nthree"));
  // Out of the text: what of it lies inside.
  EXPECT_EQ(TTextView::TextBetween(document, -5, 3), QStringLiteral("one"));
  EXPECT_EQ(TTextView::TextBetween(document, count - 5, count + 9), QStringLiteral("\nfive"));
}
