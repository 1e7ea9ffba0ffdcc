// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "TestEnvironment.h"
#include "documents/special/SpecialChars.h"
#include "documents/special/fmSpecialChar.h"
#include "documents/ui/RichEdit.h"
#include "platform/ui/BarStyleMenu.h"

namespace {

// A special-characters window inserting into a real edit control.
struct TSpecialFixture : ::testing::Test {
  TRichEdit memo;

  TfrmSpecialChar *Open(const QFont &font = QFont(), const QColor &color = QColor()) {
    auto *window = new TfrmSpecialChar([this] { return static_cast<TEditControl *>(&memo); }, font,
                                       color, QIcon());
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    windows << window;
    return window;
  }

  void TearDown() override {
    for (auto &window : windows) delete window.data();
  }

  // Selects a cell the way the user does and double-clicks it.
  static void DoubleClick(TfrmSpecialChar *window, int column, int row) {
    QTableWidget *grid = window->grdSpecial();
    grid->scrollToItem(grid->item(row, column));
    const QRect cell = grid->visualItemRect(grid->item(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  }

  static QToolButton *Button(TfrmSpecialChar *window, const char *name) {
    auto *bar = window->findChild<QToolBar *>(QStringLiteral("barTools"));
    auto *action = window->findChild<QAction *>(QString::fromLatin1(name));
    return action ? qobject_cast<QToolButton *>(bar->widgetForAction(action)) : nullptr;
  }

  static QString CharLabel(TfrmSpecialChar *window) {
    return window->findChild<QLabel *>(QStringLiteral("lblChar"))->text();
  }

  QList<QPointer<TfrmSpecialChar>> windows;
};

}  // namespace

TEST(SpecialChars, CellsRunThroughEveryCodeColumnByColumn) {
  EXPECT_EQ(SpecialChars::CodeOf(0, 0), 1);
  EXPECT_EQ(SpecialChars::CodeOf(5, 4), 65);
  EXPECT_EQ(SpecialChars::CodeOf(21, 2), 255);
  EXPECT_EQ(SpecialChars::CodeOf(21, 3), 0);
  EXPECT_EQ(SpecialChars::CodeOf(21, 11), 8);
  EXPECT_EQ(SpecialChars::LabelText(21, 2), QStringLiteral("Char: 255"));
  EXPECT_EQ(SpecialChars::LabelText(21, 11), QStringLiteral("Char: 0"));
  // Windows-1252 characters, nothing for 0 and the five undefined codes.
  EXPECT_EQ(SpecialChars::CharOf(0x80), QStringLiteral("\u20AC"));
  EXPECT_EQ(SpecialChars::CharOf(0xE9), QStringLiteral("\u00E9"));
  for (int code : {0, 0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
    EXPECT_TRUE(SpecialChars::CharOf(code).isEmpty()) << code;
    EXPECT_TRUE(SpecialChars::DisplayOf(code).isEmpty()) << code;
  }
  // Control codes show nothing but insert themselves.
  EXPECT_TRUE(SpecialChars::DisplayOf(9).isEmpty());
  EXPECT_EQ(SpecialChars::CharOf(9), QStringLiteral("\t"));
}

TEST_F(TSpecialFixture, WindowShowsTheGridInTheDocumentsFontAndColour) {
  QFont font(QStringLiteral("DejaVu Serif"));
  font.setPixelSize(15);
  TfrmSpecialChar *window = Open(font, QColor(255, 255, 200));
  QTableWidget *grid = window->grdSpecial();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Insert Special Characters"));
  EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(grid->columnCount(), 22);
  EXPECT_EQ(grid->rowCount(), 12);
  EXPECT_EQ(grid->columnWidth(3), 25);
  EXPECT_EQ(grid->rowHeight(3), 25);
  EXPECT_EQ(grid->font().family(), QStringLiteral("DejaVu Serif"));
  EXPECT_EQ(grid->palette().color(QPalette::Base), QColor(255, 255, 200));
  EXPECT_EQ(grid->item(4, 5)->text(), QStringLiteral("A"));
  // The whole grid is in view, its last column and row included.
  const QRect last = grid->visualItemRect(grid->item(11, 21));
  EXPECT_TRUE(grid->viewport()->rect().contains(last)) << last.right() << " " << last.bottom();
  EXPECT_EQ(CharLabel(window), QStringLiteral("Char: 0"));
}

TEST_F(TSpecialFixture, DoubleClickInsertsAtTheCaretAndReplacesTheSelection) {
  memo.SetText(QStringLiteral("xy"));
  memo.SetSelection(1, 0);
  TfrmSpecialChar *window = Open();
  DoubleClick(window, 5, 4);
  EXPECT_EQ(CharLabel(window), QStringLiteral("Char: 65"));
  EXPECT_EQ(memo.Text(), QStringLiteral("xAy"));
  EXPECT_EQ(memo.SelStart(), 2);
  EXPECT_TRUE(window->isVisible());  // the window stays open

  // Column 21, row 3 holds code 0: it inserts nothing but replaces the selection by nothing.
  memo.SetSelection(0, 2);
  DoubleClick(window, 21, 3);
  EXPECT_EQ(CharLabel(window), QStringLiteral("Char: 0"));
  EXPECT_EQ(memo.Text(), QStringLiteral("y"));

  // Code 13 is a line break of the document's own kind.
  memo.SetSelection(1, 0);
  DoubleClick(window, 1, 0);
  EXPECT_EQ(CharLabel(window), QStringLiteral("Char: 13"));
  EXPECT_EQ(memo.TextRange(0, 2), QStringLiteral("y\n"));
}

TEST_F(TSpecialFixture, TwoWindowsShareTheCharacterPickedLast) {
  memo.SetText(QString());
  TfrmSpecialChar *first = Open();
  TfrmSpecialChar *second = Open();
  DoubleClick(first, 5, 4);   // "A"
  DoubleClick(second, 5, 5);  // "B"
  EXPECT_EQ(TfrmSpecialChar::SelectedChar(), QStringLiteral("B"));
  first->grdSpecialDblClick();  // inserts the character picked last, in either window
  EXPECT_EQ(memo.Text(), QStringLiteral("ABB"));
  EXPECT_EQ(CharLabel(first), QStringLiteral("Char: 65"));
}

TEST_F(TSpecialFixture, CloseFreesTheWindowAndNoDocumentMeansNoInsert) {
  auto *lonely = new TfrmSpecialChar([] { return nullptr; }, QFont(), QColor(), QIcon());
  QPointer<TfrmSpecialChar> guard(lonely);
  lonely->show();
  DoubleClick(lonely, 5, 4);  // no document window: nothing happens
  auto *close = Button(lonely, "btnClose");
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->text(), QStringLiteral("Close"));
  close->click();
  TestEnvironment::Settle();
  EXPECT_TRUE(guard.isNull());
}

TEST_F(TSpecialFixture, StyleItemsMakeTheButtonsFlatOrRaised) {
  TfrmSpecialChar *window = Open();
  auto *menu = window->findChild<TBarStyleMenu *>();
  ASSERT_NE(menu, nullptr);
  QToolButton *button = Button(window, "btnClose");
  EXPECT_TRUE(menu->mniExplore()->isChecked());
  EXPECT_TRUE(button->autoRaise());
  menu->mniStandard()->trigger();
  EXPECT_FALSE(button->autoRaise());
  EXPECT_FALSE(menu->mniExplore()->isChecked());
  menu->mniExplore()->trigger();
  EXPECT_TRUE(button->autoRaise());
}
