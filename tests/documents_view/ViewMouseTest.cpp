// SPDX-License-Identifier: GPL-3.0-or-later
// The view driven as a user does: clicks, drags, double- and triple-clicks on the viewport,
// drops, and an input method's events, on a shown view over real text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>

#include "TestEnvironment.h"
#include "ViewFixture.h"
#include "documents/view/TextView.h"

namespace {

class ViewMouseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view.setFont(ViewText::Font());
    view.document()->setDefaultFont(ViewText::Font());
    view.resize(480, 320);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  }

  // The viewport point just inside where the character at position is drawn.
  QPoint At(int position) {
    TTextCursor cursor(view.document());
    cursor.setPosition(position);
    const QRect caret = view.cursorRect(cursor);
    return {caret.left() + 1, caret.center().y()};
  }

  void Select(int anchor, int position) {
    TTextCursor cursor(view.document());
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    view.setTextCursor(cursor);
  }

  QString Selected() const { return view.textCursor().selectedText(); }

  // Drags data over the viewport and drops it at a point; whether the view took it.
  bool Drop(const QMimeData &data, QPoint at, Qt::DropAction action) {
    QDragEnterEvent enter(at, action, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(at, action, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &drop);
    return drop.isAccepted();
  }

  // What an input method asks the focused view.
  QVariant Query(Qt::InputMethodQuery query) {
    QInputMethodQueryEvent event(query);
    QCoreApplication::sendEvent(&view, &event);
    return event.value(query);
  }

  TTextView view;
};

const QString Lines = QStringLiteral("alpha beta gamma\nsecond line here\nthird");

TEST_F(ViewMouseTest, ClicksPlaceTheCaretWhereTheCharacterIsAndShiftAndDragSelect) {
  view.setPlainText(Lines);
  for (int position : {0, 3, 6, 16, 17, 24, 33, 34, 39}) {
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, At(position));
    EXPECT_EQ(view.textCursor().position(), position);
    EXPECT_FALSE(view.textCursor().hasSelection()) << position;
  }

  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, At(6));
  QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, At(24));
  EXPECT_EQ(view.textCursor().anchor(), 6);
  EXPECT_EQ(Selected(), QStringLiteral("beta gamma\u2029second "));

  // Dragging selects from the press to the mouse, backwards too.
  QTest::mousePress(view.viewport(), Qt::LeftButton, {}, At(28));
  QTest::mouseMove(view.viewport(), At(20));
  QTest::mouseMove(view.viewport(), At(11));
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, At(11));
  EXPECT_EQ(view.textCursor().anchor(), 28);
  EXPECT_EQ(view.textCursor().position(), 11);

  // A click inside the selection that does not move places the caret on release.
  QTest::mousePress(view.viewport(), Qt::LeftButton, {}, At(15));
  EXPECT_TRUE(view.textCursor().hasSelection());
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, At(15));
  EXPECT_FALSE(view.textCursor().hasSelection());
  EXPECT_EQ(view.textCursor().position(), 15);
  // Past the end of a row the selection covers is not on it: the press places the caret.
  Select(6, 24);
  QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(400, At(6).y()));
  EXPECT_FALSE(view.textCursor().hasSelection());
  EXPECT_EQ(view.textCursor().position(), 16);
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(400, At(6).y()));

  // Read-only: the mouse still selects.
  view.setReadOnly(true);
  QTest::mousePress(view.viewport(), Qt::LeftButton, {}, At(0));
  QTest::mouseMove(view.viewport(), At(5));
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, At(5));
  EXPECT_EQ(Selected(), QStringLiteral("alpha"));
}

TEST_F(ViewMouseTest, SelectingOrDraggingPastTheEdgeScrolls) {
  QStringList lines;
  for (int i = 0; i < 300; ++i) lines << QStringLiteral("line %1").arg(i);
  view.setPlainText(lines.join(u'\n'));
  QTest::mousePress(view.viewport(), Qt::LeftButton, {}, At(2));
  const QPoint below(40, view.viewport()->height() + 30);
  QCursor::setPos(view.viewport()->mapToGlobal(below));
  QTest::mouseMove(view.viewport(), below);
  EXPECT_TRUE(QTest::qWaitFor([&] { return view.verticalScrollBar()->value() > 5; }, 20000));
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, below);
  const int scrolled = view.verticalScrollBar()->value();
  EXPECT_EQ(view.textCursor().anchor(), 2);
  EXPECT_GT(view.textCursor().position(), view.document()->findBlockByNumber(scrolled).position());
  // Released: it stops.
  TestEnvironment::Settle();
  EXPECT_EQ(view.verticalScrollBar()->value(), scrolled);

  // A drag hovering at the bottom edge scrolls too, until it leaves.
  view.verticalScrollBar()->setValue(0);
  QMimeData data;
  data.setText(QStringLiteral("x"));
  const QPoint edge(40, view.viewport()->height() - 2);
  QCursor::setPos(view.viewport()->mapToGlobal(edge));
  QDragEnterEvent enter(edge, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view.viewport(), &enter);
  EXPECT_TRUE(QTest::qWaitFor([&] { return view.verticalScrollBar()->value() > 5; }, 20000));
  QDragLeaveEvent leave;
  QCoreApplication::sendEvent(view.viewport(), &leave);
  const int left = view.verticalScrollBar()->value();
  TestEnvironment::Settle();
  EXPECT_EQ(view.verticalScrollBar()->value(), left);
  EXPECT_EQ(view.toPlainText(), lines.join(u'\n'));
}

TEST_F(ViewMouseTest, DoubleClickSelectsAWordInAMegabyteLineLayingNothingOutAgain) {
  const QString line = ViewText::Words(1 << 20);
  view.setPlainText(line);
  TestEnvironment::Settle();
  const int laidOut = view.viewLayout()->PieceLayouts();
  // "value" in the second word group of the first row.
  const int value = static_cast<int>(line.indexOf(QStringLiteral("value"), 20));
  QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, At(value + 2));
  EXPECT_EQ(Selected(), QStringLiteral("value"));
  // The right half of a word's last character still means that word.
  QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, At(value + 5) - QPoint(2, 0));
  EXPECT_EQ(Selected(), QStringLiteral("value"));

  // Dragging after a double-click extends by whole words, keeping the first.
  const int key = static_cast<int>(line.indexOf(QStringLiteral("key"), value + 10));
  QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, At(value + 2));
  QTest::mouseMove(view.viewport(), At(key + 1));
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, At(key + 1));
  EXPECT_EQ(view.textCursor().anchor(), value);
  EXPECT_EQ(view.textCursor().position(), key + 3);

  // At the line's end, far from its start.
  TTextCursor end(view.document());
  end.movePosition(QTextCursor::End);
  view.setTextCursor(end);
  TestEnvironment::Settle();
  const int near = static_cast<int>(line.lastIndexOf(QStringLiteral("value")));
  QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, At(near + 1));
  EXPECT_EQ(Selected(), QStringLiteral("value"));
  EXPECT_EQ(view.textCursor().position(), near + 5);
  // Selecting lays nothing out again; a drop lays out the piece it falls in.
  EXPECT_EQ(view.viewLayout()->PieceLayouts(), laidOut);
  QMimeData data;
  data.setText(QStringLiteral("dropped"));
  ASSERT_TRUE(Drop(data, At(near), Qt::CopyAction));
  EXPECT_EQ(view.document()->characterCount(), line.size() + 8);
  EXPECT_LE(view.viewLayout()->PieceLayouts() - laidOut, 2);
}

TEST_F(ViewMouseTest, TripleClickSelectsTheWholeLineAndDraggingOnWholeLines) {
  view.setPlainText(Lines);
  QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, At(20));
  QTest::mousePress(view.viewport(), Qt::LeftButton, {}, At(20));
  EXPECT_EQ(Selected(), QStringLiteral("second line here\u2029"));
  // Dragging on selects whole lines, the clicked one kept.
  QTest::mouseMove(view.viewport(), At(36));
  EXPECT_EQ(Selected(), QStringLiteral("second line here\u2029third"));
  QTest::mouseMove(view.viewport(), At(3));
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, At(3));
  EXPECT_EQ(view.textCursor().position(), 0);
  EXPECT_EQ(Selected(), QStringLiteral("alpha beta gamma\u2029second line here\u2029"));
  // Long after a double-click a press is a click again.
  QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, At(20));
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, At(20));
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, At(20));
  EXPECT_FALSE(view.textCursor().hasSelection());
  // The last line has no line break to take.
  QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, At(36));
  QTest::mousePress(view.viewport(), Qt::LeftButton, {}, At(36));
  EXPECT_EQ(Selected(), QStringLiteral("third"));
}

TEST_F(ViewMouseTest, TheMouseSelectionIsTheX11SelectionAndAMiddleClickPastesIt) {
  QClipboard *clipboard = QGuiApplication::clipboard();
  if (!clipboard->supportsSelection()) GTEST_SKIP() << "this platform has no X11 selection";
  view.setPlainText(Lines);
  QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, At(8));
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, At(8));
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return clipboard->text(QClipboard::Selection) == QStringLiteral("beta"); }, 10000));
  QTest::mouseClick(view.viewport(), Qt::MiddleButton, {}, At(17));
  EXPECT_EQ(view.toPlainText(), QStringLiteral("alpha beta gamma\nbetasecond line here\nthird"));
  // A selection across lines, in the bytes another program is given: the line break as '\n'.
  // It is read when asked for, from the text as it then is.
  QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, At(6));
  QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, At(21));
  ASSERT_TRUE(clipboard->mimeData(QClipboard::Selection));
  EXPECT_EQ(clipboard->mimeData(QClipboard::Selection)->data(QStringLiteral("text/plain")),
            QByteArray("beta gamma\nbeta"));
  TTextCursor(view.document()).insertText(QStringLiteral("> "));
  EXPECT_EQ(clipboard->text(QClipboard::Selection), QStringLiteral("beta gamma\nbeta"));
  view.setReadOnly(true);
  QTest::mouseClick(view.viewport(), Qt::MiddleButton, {}, At(0));
  EXPECT_TRUE(view.toPlainText().startsWith(QStringLiteral("> alpha")));
}

TEST_F(ViewMouseTest, ADropInsertsAtItsPlaceAsOneUndoStep) {
  view.setPlainText(Lines);
  QMimeData data;
  data.setText(QStringLiteral("NEW "));
  ASSERT_TRUE(Drop(data, At(6), Qt::CopyAction));
  EXPECT_EQ(view.toPlainText(), QStringLiteral("alpha NEW beta gamma\nsecond line here\nthird"));
  EXPECT_EQ(Selected(), QStringLiteral("NEW "));
  view.undo();
  EXPECT_EQ(view.toPlainText(), Lines);

  view.setReadOnly(true);
  EXPECT_FALSE(Drop(data, At(6), Qt::CopyAction));
  EXPECT_EQ(view.toPlainText(), Lines);
}

TEST_F(ViewMouseTest, AMoveWithinTheViewMovesTheTextAsOneUndoStep) {
  view.setPlainText(Lines);
  Select(6, 11);  // "beta "
  // A drag the view starts carries the view on its data (this platform's drag ends at once).
  QMimeData data;
  data.setText(QStringLiteral("beta "));
  data.setProperty("vellumixDragView", QVariant::fromValue(static_cast<QObject *>(&view)));
  ASSERT_TRUE(Drop(data, At(24), Qt::MoveAction));
  EXPECT_EQ(view.toPlainText(), QStringLiteral("alpha gamma\nsecond beta line here\nthird"));
  EXPECT_EQ(Selected(), QStringLiteral("beta "));
  view.undo();
  EXPECT_EQ(view.toPlainText(), Lines);

  // Dropped onto itself: nothing changes.
  Select(6, 11);
  Drop(data, At(8), Qt::MoveAction);
  EXPECT_EQ(view.toPlainText(), Lines);

  // Pressing in the selection and moving starts a drag that, not dropped, changes nothing
  // (on the offscreen platform a drag ends at once; on X it would wait for a real mouse).
  if (QGuiApplication::platformName() != QStringLiteral("offscreen")) return;
  Select(6, 11);
  QTest::mousePress(view.viewport(), Qt::LeftButton, {}, At(8));
  QTest::mouseMove(view.viewport(), At(8) + QPoint(QApplication::startDragDistance() + 20, 0));
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, At(30));
  EXPECT_EQ(view.toPlainText(), Lines);
}

TEST_F(ViewMouseTest, AnInputMethodCommitsAndSeesAWindowOfALongLine) {
  view.setPlainText(QStringLiteral("abc"));
  view.moveCursor(QTextCursor::End);
  QInputMethodEvent compose(QStringLiteral("xy"), {});
  QCoreApplication::sendEvent(&view, &compose);
  EXPECT_EQ(view.toPlainText(), QStringLiteral("abc"));  // composing is not text yet
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("\u00e9t\u00e9"), -2, 2);  // replaces "bc"
  QCoreApplication::sendEvent(&view, &commit);
  EXPECT_EQ(view.toPlainText(), QStringLiteral("a\u00e9t\u00e9"));
  EXPECT_EQ(view.textCursor().position(), 4);
  view.undo();
  EXPECT_EQ(view.toPlainText(), QStringLiteral("abc"));
  EXPECT_TRUE(Query(Qt::ImEnabled).toBool());

  const QString line = ViewText::Words(300000);
  view.setPlainText(line);
  Select(150000, 150010);
  const QString around = Query(Qt::ImSurroundingText).toString();
  const int caret = Query(Qt::ImCursorPosition).toInt();
  const int anchor = Query(Qt::ImAnchorPosition).toInt();
  ASSERT_LE(around.size(), 1024);
  ASSERT_GT(around.size(), 500);
  EXPECT_EQ(caret - anchor, 10);
  EXPECT_EQ(line.mid(150010 - caret, around.size()), around);
  EXPECT_EQ(Query(Qt::ImCurrentSelection).toString(), line.mid(150000, 10));
  EXPECT_EQ(Query(Qt::ImCursorRectangle).toRect().center(),
            view.cursorRect().translated(view.viewport()->pos()).center());

  view.setReadOnly(true);
  EXPECT_FALSE(Query(Qt::ImEnabled).toBool());
  QInputMethodEvent refused;
  refused.setCommitString(QStringLiteral("no"));
  QCoreApplication::sendEvent(&view, &refused);
  EXPECT_EQ(view.toPlainText(), line);
}

}  // namespace
