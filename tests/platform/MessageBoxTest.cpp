// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "ModalAnswerer.h"
#include "platform/ui/MessageBox.h"

namespace {

// Presses a key in the next box that shows, from its own event loop.
void PressInNextBox(Qt::Key key) {
  QTimer::singleShot(0, qApp, [key] {
    QWidget *box = QApplication::activeModalWidget();
    if (!box) return PressInNextBox(key);  // not up yet: look again after the next events
    QTest::keyClick(box, key);
  });
}

// A box the answerer takes is never shown: the answer comes back at once and the answerer
// sees what the user would have read.
TEST(MessageBoxSeam, AnAnsweredBoxIsNotShownAndTellsWhatItAsked) {
  QWidget window;
  QList<TMsgAsked> asked;
  bool shown = false;
  const auto previous = MessageBox::SetAnswerer([&](const TMsgAsked &box) {
    shown = shown || QApplication::activeModalWidget() != nullptr;
    asked << box;
    return std::optional(TMsgResult::No);
  });
  EXPECT_EQ(MessageBox::Show(&window, QStringLiteral("Save?\r\nreally\rnow"),
                             TMsgKind::Confirmation, TMsgButtons::YesNoCancel),
            TMsgResult::No);
  MessageBox::SetApplicationTitle(QStringLiteral("Vellumix - [a.txt]"));
  MessageBox::ShowError(nullptr, QStringLiteral("Broken"));
  MessageBox::SetAnswerer(previous);

  EXPECT_FALSE(shown);
  ASSERT_EQ(asked.size(), 2);
  EXPECT_EQ(asked[0].parent, &window);
  EXPECT_EQ(asked[0].title, QStringLiteral("Confirm"));
  EXPECT_EQ(asked[0].text, QStringLiteral("Save?\nreally\nnow"));
  EXPECT_EQ(asked[0].kind, TMsgKind::Confirmation);
  EXPECT_EQ(asked[0].buttons, TMsgButtons::YesNoCancel);
  EXPECT_EQ(asked[1].title, QStringLiteral("Vellumix - [a.txt]"));
  EXPECT_EQ(asked[1].text, QStringLiteral("Broken."));
  EXPECT_EQ(asked[1].kind, TMsgKind::Error);
}

// A box the answerer declines shows as usual; Escape on the real box gives the same answer
// the seam gives for a box closed without a button.
TEST(MessageBoxSeam, ADeclinedBoxShowsAndEscapeAnswersAsTheSeamSays) {
  int offered = 0;
  const auto previous = MessageBox::SetAnswerer([&](const TMsgAsked &) {
    ++offered;
    return std::optional<TMsgResult>();
  });
  for (const TMsgButtons buttons :
       {TMsgButtons::Ok, TMsgButtons::Yes, TMsgButtons::YesNo, TMsgButtons::YesNoCancel}) {
    PressInNextBox(Qt::Key_Escape);
    EXPECT_EQ(MessageBox::Show(nullptr, QStringLiteral("text"), TMsgKind::Warning, buttons),
              MessageBox::EscapeAnswer(buttons));
  }
  MessageBox::SetAnswerer(previous);
  EXPECT_EQ(offered, 4);
}

// The test answerer presses the button with the caption it is given, closes the box as Escape
// would when the box has no such button, and puts back the answerer it replaced.
TEST(MessageBoxSeam, TheTestAnswererPressesButtonsByCaptionAndNests) {
  const auto ask = [](TMsgButtons buttons) {
    return MessageBox::Show(nullptr, QStringLiteral("?"), TMsgKind::Confirmation, buttons);
  };
  TModalAnswerer outer({QStringLiteral("&Yes")});
  {
    TModalAnswerer inner({QStringLiteral("Cancel"), QStringLiteral("No"), QStringLiteral("Yes"),
                          QStringLiteral("No"), QString()});
    EXPECT_EQ(ask(TMsgButtons::YesNoCancel), TMsgResult::Cancel);
    EXPECT_EQ(ask(TMsgButtons::YesNo), TMsgResult::No);
    EXPECT_EQ(ask(TMsgButtons::Ok), TMsgResult::Ok);  // no Yes button: closed
    EXPECT_EQ(ask(TMsgButtons::Yes), TMsgResult::Yes);
    EXPECT_EQ(ask(TMsgButtons::YesNoCancel), TMsgResult::Cancel);  // no answer left
    EXPECT_EQ(inner.texts.size(), 5);
  }
  EXPECT_EQ(ask(TMsgButtons::YesNo), TMsgResult::Yes);
  EXPECT_EQ(outer.titles, QStringList{QStringLiteral("Confirm")});
}

}  // namespace
