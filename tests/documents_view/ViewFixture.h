// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QFont>
#include <QString>
#include <QTest>

#include "documents/view/TextView.h"

// What the view's tests lay out: text made of one word again and again, in one monospaced face.
namespace ViewText {

inline QString Words(qsizetype size,
                     const QString &word = QStringLiteral("{\"key\":\"value\",\"n\":12}, ")) {
  QString text;
  while (text.size() < size) text += word;
  text.truncate(size);
  return text;
}

inline QFont Font() {
  QFont font(QStringLiteral("Liberation Mono"));
  font.setPixelSize(13);
  return font;
}

}  // namespace ViewText

// A text view in that face, shown and focused.
class ShownViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view.setFont(ViewText::Font());
    view.resize(420, 300);
    view.show();
    view.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  }

  TTextView view;
};
