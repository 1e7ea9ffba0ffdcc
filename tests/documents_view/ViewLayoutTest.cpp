// SPDX-License-Identifier: GPL-3.0-or-later
// The view's layout against Qt's own text layout, and its pieces through edits: rows cover the
// text in order, every caret position is found again at its place, and a change lays out only
// the piece it falls in.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "TestEnvironment.h"
#include "ViewFixture.h"
#include "documents/store/TextModel.h"
#include "documents/view/ViewLayout.h"

namespace {

class ViewLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.setDefaultFont(ViewText::Font());
    layout = new TViewLayout(&doc);
    layout->SetWidth(600, true);
  }

  TTextBlock Block(int n = 0) {
    TTextBlock block = doc.findBlockByNumber(n);
    layout->EnsureLaidOut(block);
    return block;
  }

  // Rows follow each other without gap or overlap and end where the line ends; every sampled
  // caret stop (each step-th) is found again at the place its caret is drawn, and the stops
  // forward and back are the same.
  void ExpectConsistent(const TTextBlock &block, int step = 1) {
    const int rows = layout->RowCount(block);
    ASSERT_EQ(layout->RowStart(block, 0), 0);
    for (int row = 1; row < rows; ++row)
      ASSERT_GT(layout->RowStart(block, row), layout->RowStart(block, row - 1)) << row;
    ASSERT_EQ(layout->RowEnd(block, rows - 1), block.length() - 1);
    qreal previousY = -1;
    const int last = block.length() - 1;
    for (int position = 0;;) {
      const QRectF caret = layout->CaretRect(block, position);
      ASSERT_TRUE(caret.isValid()) << position;
      // Blanks that end a wrapped row stand squeezed at its right edge: a click on one of them
      // may find its neighbour.
      const int found = layout->PositionAt(block, QPointF(caret.x(), caret.center().y()));
      if (found != position) {
        ASSERT_EQ(std::abs(found - position), 1)
            << "position " << position << " found " << found << " of " << block.length() - 1;
        ASSERT_TRUE(block.text().at(std::min(found, position)).isSpace()) << position;
        ASSERT_EQ(layout->RowOf(block, found), layout->RowOf(block, position)) << position;
      }
      const int row = layout->RowOf(block, position);
      ASSERT_EQ(layout->RowRect(block, row).top(), caret.top()) << position;
      ASSERT_GE(caret.top(), previousY) << position;
      previousY = caret.top();
      if (position == last) break;
      int next = position;
      for (int i = 0; i < step && next < last; ++i) {
        const int after = layout->NextPosition(block, next, QTextLayout::SkipCharacters);
        ASSERT_GT(after, next);
        ASSERT_EQ(layout->PreviousPosition(block, after, QTextLayout::SkipCharacters), next);
        next = after;
      }
      position = next;
    }
  }

  TTextModel doc;
  TViewLayout *layout = nullptr;
};

TEST_F(ViewLayoutTest, AShortLineIsLaidOutAsQtLaysOutTheWholeLine) {
  const QString text = ViewText::Words(700) + QStringLiteral(" éé 漢字 end");
  doc.setPlainText(text);
  const TTextBlock block = Block();

  QTextLayout reference(text, doc.defaultFont());
  QTextOption option = doc.defaultTextOption();
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  reference.setTextOption(option);
  reference.beginLayout();
  qreal y = 0;
  for (QTextLine line = reference.createLine(); line.isValid(); line = reference.createLine()) {
    line.setLeadingIncluded(true);
    line.setLineWidth(600);
    line.setPosition(QPointF(0, y));
    y += line.height();
  }
  reference.endLayout();

  ASSERT_EQ(layout->RowCount(block), reference.lineCount());
  EXPECT_EQ(layout->Height(block), y);
  for (int position = 0; position <= text.size(); ++position) {
    const QTextLine line = reference.lineForTextPosition(position);
    const QRectF caret = layout->CaretRect(block, position);
    EXPECT_EQ(caret.x(), line.cursorToX(position)) << position;
    EXPECT_EQ(caret.y(), line.y()) << position;
  }
  ExpectConsistent(block);
}

TEST_F(ViewLayoutTest, ALongLineIsLaidOutInPiecesWithAndWithoutWrapping) {
  doc.setPlainText(ViewText::Words(60'000));
  TTextBlock block = Block();
  EXPECT_GT(layout->PieceLayouts(), 10);
  EXPECT_GT(layout->RowCount(block), 60'000 / 100);
  ExpectConsistent(block);

  // Unwrapped: one row, the pieces side by side with their blanks, positions growing to the
  // right without a jump or an overlap where one piece meets the next.
  layout->SetWidth(600, false);
  block = Block();
  EXPECT_EQ(layout->RowCount(block), 1);
  const qreal advance = layout->CaretRect(block, 1).x() - layout->CaretRect(block, 0).x();
  for (int position = 1; position < block.length(); ++position)
    ASSERT_NEAR(layout->CaretRect(block, position).x() - layout->CaretRect(block, position - 1).x(),
                advance, 0.01)
        << position;
  ExpectConsistent(block, 7);
  EXPECT_NEAR(layout->RowsWidth(block), advance * 60'000, 1);
}

TEST_F(ViewLayoutTest, ALineWithoutBlanksIsCutBetweenCharacters) {
  // Letters followed by combining accents and characters outside the basic plane: no piece
  // may start inside one of them.
  doc.setPlainText(ViewText::Words(40'000, QStringLiteral("e\u0301\U0001F600x")));
  const TTextBlock block = Block();
  ExpectConsistent(block);
  for (int row = 1; row < layout->RowCount(block); ++row) {
    const QChar first = block.text().at(layout->RowStart(block, row));
    EXPECT_FALSE(first.isMark() || first.isLowSurrogate()) << row;
  }
}

TEST_F(ViewLayoutTest, AChangeInAHugeLineLaysOutOnlyThePieceItFallsIn) {
  doc.setPlainText(ViewText::Words(400'000));
  TTextBlock block = Block();
  TTextCursor cursor(&doc);

  const auto piecesFor = [&](auto change) {
    const int before = layout->PieceLayouts();
    change();
    layout->EnsureLaidOut(doc.firstBlock());
    return layout->PieceLayouts() - before;
  };
  EXPECT_EQ(piecesFor([&] {
              cursor.movePosition(QTextCursor::End);
              cursor.insertText(QStringLiteral("x"));
            }),
            1);
  EXPECT_EQ(piecesFor([&] {
              cursor.setPosition(200'000);
              cursor.insertText(QStringLiteral("typed"));
            }),
            1);
  EXPECT_EQ(piecesFor([&] {
              cursor.setPosition(200'000);
              cursor.deletePreviousChar();
            }),
            1);
  // A stretch over several pieces becomes one piece, cut again where it is too long.
  EXPECT_LE(piecesFor([&] {
              cursor.setPosition(100'000);
              cursor.setPosition(110'000, QTextCursor::KeepAnchor);
              cursor.removeSelectedText();
            }),
            2);
  EXPECT_LE(piecesFor([&] {
              cursor.setPosition(50'000);
              cursor.insertText(ViewText::Words(20'000));
            }),
            6);
  block = doc.firstBlock();
  ExpectConsistent(block, 13);
}

TEST_F(ViewLayoutTest, AClickAtTheRightEndOfAWrappedRowStaysOnThatRow) {
  // Lines of words and of words with accents, so that rows break at blanks at every distance
  // from the right edge, pieces included.
  doc.setPlainText(ViewText::Words(20'000) + u'\n' +
                   ViewText::Words(20'000, QStringLiteral("ab cd\u00e9 ")));
  for (int n = 0; n < 2; ++n) {
    const TTextBlock block = Block(n);
    ASSERT_GT(layout->RowCount(block), 20);
    for (int row = 0; row < layout->RowCount(block); ++row) {
      const QRectF rect = layout->RowRect(block, row);
      const int found = layout->PositionAt(block, QPointF(layout->Width() + 5, rect.center().y()));
      EXPECT_EQ(layout->RowOf(block, found), row) << "line " << n << " row " << row;
      EXPECT_EQ(found, layout->RowEnd(block, row)) << "line " << n << " row " << row;
    }
  }
}

TEST_F(ViewLayoutTest, RandomEditsKeepThePiecesInStepWithTheText) {
  doc.setPlainText(ViewText::Words(30'000));
  Block();
  std::mt19937 random(TestEnvironment::Seed());
  TTextCursor cursor(&doc);
  for (int edit = 0; edit < 150; ++edit) {
    const int size = doc.characterCount() - 1;
    const int at = int(random() % uint(size + 1));
    switch (random() % 4) {
      case 0:
        cursor.setPosition(at);
        cursor.insertText(
            ViewText::Words(qsizetype(1 + random() % 9000), QStringLiteral("ab cd\u00e9 ")));
        break;
      case 1:
        cursor.setPosition(at);
        cursor.setPosition(std::min(size, at + int(random() % 12000)), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        break;
      case 2:
        cursor.setPosition(at);
        cursor.insertText(QStringLiteral("x"));
        break;
      default:
        // Lines split and joined: the pieces of the lines involved are cut again.
        cursor.setPosition(at);
        cursor.insertText(random() % 2 ? QStringLiteral("\n") : QString());
        if (doc.blockCount() > 1 && random() % 2) {
          const TTextBlock second = doc.firstBlock().next();
          cursor.setPosition(second.position());
          cursor.deletePreviousChar();
        }
        break;
    }
    for (TTextBlock block = doc.firstBlock(); block.isValid(); block = block.next()) {
      layout->EnsureLaidOut(block);
      ExpectConsistent(block, 211);
      if (HasFatalFailure()) {
        ADD_FAILURE() << "after edit " << edit << " (seed " << TestEnvironment::Seed() << ")";
        return;
      }
    }
  }
}

TEST_F(ViewLayoutTest, FormatsOfTheTextAndOfAMarkerReachTheirPiece) {
  doc.setPlainText(ViewText::Words(50'000));
  TTextBlock block = Block();
  const qreal plainHeight = layout->RowRect(block, 0).height();

  TTextCursor cursor(&doc);
  cursor.setPosition(30'000);
  cursor.setPosition(30'005, QTextCursor::KeepAnchor);
  QTextCharFormat large;
  large.setFontPointSize(30);
  cursor.setCharFormat(large);
  block = Block();
  EXPECT_GT(layout->RowRect(block, layout->RowOf(block, 30'002)).height(), plainHeight * 1.5);
  EXPECT_EQ(layout->RowRect(block, layout->RowOf(block, 20'000)).height(), plainHeight);

  cursor.setPosition(40'000);
  cursor.insertText(QStringLiteral("BIG"));
  // Marks "BIG" in a large size. Each piece asks for its own stretch of the line only.
  qsizetype widestAsked = 0;
  layout->SetMarker([&](QStringView line, int from, int to) {
    widestAsked = std::max<qsizetype>(widestAsked, to - from);
    QTextCharFormat big;
    big.setFontPointSize(40);
    QList<QTextLayout::FormatRange> marks;
    for (qsizetype at = line.indexOf(QLatin1String("BIG"), from); at >= 0 && at < to;
         at = line.indexOf(QLatin1String("BIG"), at + 1))
      marks.append({int(at), 3, big});
    return marks;
  });
  block = Block();
  EXPECT_GT(layout->RowRect(block, layout->RowOf(block, 40'001)).height(), plainHeight * 2);
  EXPECT_EQ(layout->RowRect(block, layout->RowOf(block, 20'000)).height(), plainHeight);
  EXPECT_GT(widestAsked, 0);
  EXPECT_LE(widestAsked, 2 * TViewLayout::PieceChars);
  ExpectConsistent(block, 17);
}

}  // namespace
