// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QWidget>

#include "platform/ui/TextFit.h"

namespace {

int TextWidth(const QWidget *widget, const QString &text) {
  return QFontMetrics(widget->font()).horizontalAdvance(text);
}

// A window laid out for narrow captions: a right-aligned label with a box to its right and
// room to its left, a left-aligned label on a small shape with a neighbour further right,
// and a narrow button with a picture.
struct TWindow {
  QWidget window;
  QLabel *right = new QLabel(QStringLiteral("Found"), &window);
  QFrame *box = new QFrame(&window);
  QFrame *shape = new QFrame(&window);
  QLabel *onShape = new QLabel(QStringLiteral("Title"), &window);
  QFrame *neighbour = new QFrame(&window);
  QPushButton *button = new QPushButton(QStringLiteral("Skip"), &window);

  TWindow() {
    window.resize(400, 200);
    right->setGeometry(100, 10, 40, 15);
    right->setAlignment(Qt::AlignRight | Qt::AlignTop);
    box->setGeometry(150, 10, 100, 15);
    shape->setGeometry(10, 50, 60, 20);
    onShape->setGeometry(10, 52, 60, 15);
    neighbour->setGeometry(120, 40, 50, 40);
    button->setGeometry(10, 100, 60, 24);
    button->setIcon(window.style()->standardIcon(QStyle::SP_DialogOkButton));
  }
};

TEST(TextFitTest, LabelsGrowIntoFreeRoomAndButtonsShrinkThenReturnToTheDesign) {
  TWindow w;
  TextFit::FitTexts(&w.window);  // everything fits: nothing moves
  EXPECT_EQ(w.right->geometry(), QRect(100, 10, 40, 15));
  EXPECT_EQ(w.button->iconSize().isEmpty(), false);

  // A long right-aligned caption grows leftwards and keeps its right edge.
  w.right->setText(QStringLiteral("Dans le dictionnaire"));
  TextFit::FitTexts(&w.window);
  EXPECT_EQ(w.right->geometry().right(), 139);
  EXPECT_GE(w.right->contentsRect().width(), TextWidth(w.right, w.right->text()));

  // A caption on a shape grows rightwards with its shape, short of the neighbour.
  w.onShape->setText(QStringLiteral("Rechtschreibprüfung"));
  TextFit::FitTexts(&w.window);
  EXPECT_EQ(w.onShape->x(), 10);
  EXPECT_LE(w.onShape->geometry().right(), 116);
  EXPECT_EQ(w.shape->width(), 60 + (w.onShape->width() - 60));
  EXPECT_GE(w.onShape->contentsRect().width(), TextWidth(w.onShape, w.onShape->text()));

  // A button too narrow for its caption keeps a smaller picture, then its face gets smaller.
  w.button->setText(QStringLiteral("Überspringe &Immer"));
  TextFit::FitTexts(&w.window);
  EXPECT_EQ(w.button->iconSize(), QSize(12, 12));
  EXPECT_LT(w.button->font().pointSizeF(), w.window.font().pointSizeF());
  EXPECT_EQ(w.button->width(), 60);

  // Short captions again: every control is back as designed.
  w.right->setText(QStringLiteral("Found"));
  w.onShape->setText(QStringLiteral("Title"));
  w.button->setText(QStringLiteral("Skip"));
  TextFit::FitTexts(&w.window);
  EXPECT_EQ(w.right->geometry(), QRect(100, 10, 40, 15));
  EXPECT_EQ(w.onShape->geometry(), QRect(10, 52, 60, 15));
  EXPECT_EQ(w.shape->geometry(), QRect(10, 50, 60, 20));
  EXPECT_EQ(w.button->iconSize(), QSize(16, 16));
  EXPECT_EQ(w.button->font(), w.window.font());
}

}  // namespace
