// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "documents/core/UndoHistory.h"

namespace {

constexpr int kMark = QTextFormat::UserProperty + 1;

// The text with each block's mark, so that block formats count as much as characters.
QString State(const QTextDocument &document) {
  QString state;
  for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
    state += QStringLiteral("[%1]").arg(b.blockFormat().intProperty(kMark)) + b.text();
  return state;
}

// One step of each kind an editor makes: typing, line breaks, deletions across lines, a
// multi-line insertion, a replacement at the very end.
void Edit(QTextDocument &document, int i) {
  QTextCursor cursor(&document);
  const int count = document.characterCount() - 1;
  cursor.beginEditBlock();
  switch (i % 5) {
    case 0:
      cursor.setPosition((i * 7) % (count + 1));
      cursor.insertText(QStringLiteral("w%1").arg(i));
      break;
    case 1:
      cursor.setPosition((i * 3) % (count + 1));
      cursor.insertBlock();
      break;
    case 2:
      cursor.setPosition((i * 5) % (count + 1));
      cursor.setPosition(std::min(count, cursor.position() + 6), QTextCursor::KeepAnchor);
      cursor.removeSelectedText();
      break;
    case 3:
      cursor.setPosition(count / 2);
      cursor.insertText(QStringLiteral("a\nb\nc"));
      break;
    default:
      cursor.movePosition(QTextCursor::End);
      cursor.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor);
      cursor.insertText(QStringLiteral("end%1").arg(i));
      break;
  }
  cursor.endEditBlock();
}

}  // namespace

TEST(UndoHistory, DroppingOldStepsKeepsTheTextAndEveryNewerStep) {
  QTextDocument document;
  document.setPlainText(QStringLiteral("first line\nsecond line\nthird line"));
  // Marked blocks, as the edit control marks a line's own line break.
  for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
    QTextBlockFormat format;
    format.setProperty(kMark, b.blockNumber() + 1);
    QTextCursor(b).setBlockFormat(format);
  }
  document.clearUndoRedoStacks();

  QStringList states{State(document)};
  for (int i = 0; i < 40; ++i) {
    Edit(document, i);
    states << State(document);
  }
  const int commands = document.availableUndoSteps();

  int undone = 0, replayed = 0;
  EXPECT_TRUE(UndoHistory::DropOldest(
      document, 12, [&] { ++undone; }, [&] { ++replayed; }));
  EXPECT_EQ(undone, 12);
  EXPECT_EQ(replayed, 12);
  EXPECT_LT(document.availableUndoSteps(), commands);  // the history really is shorter
  EXPECT_FALSE(document.isRedoAvailable());
  EXPECT_EQ(State(document), states.last());
  // Each kept step undoes and redoes to the same state as before.
  for (int i = 39; i >= 28; --i) {
    document.undo();
    EXPECT_EQ(State(document), states[i]) << i;
  }
  EXPECT_FALSE(document.isUndoAvailable());
  for (int i = 29; i <= 40; ++i) {
    document.redo();
    EXPECT_EQ(State(document), states[i]) << i;
  }

  // Nothing to drop, or redo steps waiting: the history stays as it is.
  EXPECT_FALSE(UndoHistory::DropOldest(document, 12));
  EXPECT_EQ(State(document), states.last());
  document.undo();
  EXPECT_EQ(State(document), states[39]);
  EXPECT_FALSE(UndoHistory::DropOldest(document, 2));
  EXPECT_TRUE(document.isRedoAvailable());
}
