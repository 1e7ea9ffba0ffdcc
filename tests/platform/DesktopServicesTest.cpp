// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's services where no desktop runs (the tests' offscreen platform has no X11
// display), and the replacements tests put in their place.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QWidget>

#include "platform/desktop/IdleNotifier.h"
#include "platform/desktop/KeyboardState.h"

TEST(KeyboardState, WithoutADisplayTheLockStatesReadUnknown) {
  const TLockStates states = KeyboardState::Read();
  EXPECT_FALSE(states.known);
  EXPECT_FALSE(states.capsLock);
  EXPECT_FALSE(states.numLock);
}

TEST(KeyboardState, AReplacedSourceAnswersUntilRestored) {
  KeyboardState::SetSource([] { return TLockStates{true, false, true}; });
  const TLockStates replaced = KeyboardState::Read();
  EXPECT_TRUE(replaced.known);
  EXPECT_FALSE(replaced.capsLock);
  EXPECT_TRUE(replaced.numLock);
  KeyboardState::SetSource({});
  EXPECT_FALSE(KeyboardState::Read().known) << "the desktop's source again";
}

TEST(KeyboardState, InsertToggleIsKeptByTheProgram) {
  const bool before = KeyboardState::InsertToggled();
  KeyboardState::ToggleInsert();
  EXPECT_NE(KeyboardState::InsertToggled(), before);
  KeyboardState::ToggleInsert();
  EXPECT_EQ(KeyboardState::InsertToggled(), before);
}

TEST(IdleNotifier, ABurstOfRequestsGivesOneIdle) {
  TIdleNotifier &notifier = TIdleNotifier::Instance();
  QCoreApplication::processEvents();  // whatever was pending before the test
  QSignalSpy idle(&notifier, &TIdleNotifier::Idle);
  notifier.Request();
  notifier.Request();
  notifier.Request();
  EXPECT_EQ(idle.count(), 0) << "not before the pending events are processed";
  ASSERT_TRUE(idle.wait(10000));
  QCoreApplication::processEvents();
  EXPECT_EQ(idle.count(), 1);
}

TEST(IdleNotifier, UserInputAsksForAnIdle) {
  TIdleNotifier &notifier = TIdleNotifier::Instance();
  QWidget window;
  window.show();
  QSignalSpy idle(&notifier, &TIdleNotifier::Idle);
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  idle.clear();
  QCoreApplication::processEvents();
  ASSERT_EQ(idle.count(), 0) << "nothing pending before the key";
  QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  QApplication::sendEvent(&window, &press);
  EXPECT_EQ(idle.count(), 0) << "after the key's events, not during them";
  ASSERT_TRUE(idle.wait(10000));
}
