// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <stdexcept>

#include "ModalAnswerer.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ReportErrors.h"

namespace {

// An error that ends a piece of work is shown once, in the program's error box, and what
// runs afterwards runs as usual.
TEST(ReportErrors, AFailedWorkShowsItsErrorOnceAndTheNextWorkRuns) {
  MessageBox::SetApplicationTitle(QStringLiteral("Vellumix - [notes.txt]"));
  QWidget window;
  window.show();
  TModalAnswerer answerer({QStringLiteral("OK")});
  int steps = 0;
  const bool failed = !ReportErrors(&window, [&] {
    ++steps;
    throw std::runtime_error("Failed to set data for 'x'\rThe disk is full..");
  });
  EXPECT_TRUE(failed);
  EXPECT_EQ(steps, 1);
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_EQ(answerer.titles[0], QStringLiteral("Vellumix - [notes.txt]"));
  // One full stop, whatever the error's text ended with; the CR is a line break.
  EXPECT_EQ(answerer.texts[0], QStringLiteral("Failed to set data for 'x'\nThe disk is full."));

  EXPECT_TRUE(ReportErrors(&window, [&] { ++steps; }));
  EXPECT_EQ(steps, 2);
  EXPECT_EQ(answerer.texts.size(), 1);  // no box for work that succeeded
}

// Without a window of its own the box belongs to the active one, so it comes up in front
// of what the user is working in.
TEST(ReportErrors, WithoutAParentTheBoxBelongsToTheActiveWindow) {
  QWidget window;
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QWidget *owner = nullptr;
  TModalAnswerer answerer({QStringLiteral("OK")});
  answerer.onAsked = [&](const TMsgAsked &box) { owner = box.parent; };
  EXPECT_FALSE(ReportErrors(nullptr, [] { throw std::logic_error("Broken"); }));
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_EQ(answerer.texts[0], QStringLiteral("Broken."));
  EXPECT_EQ(owner, &window);
}

}  // namespace
