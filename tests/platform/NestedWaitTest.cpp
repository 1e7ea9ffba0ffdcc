// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QTimer>

#include "platform/core/NestedWait.h"

namespace {

// After a test made the application quit, lets the event loops run again for the next test.
void RecoverFromQuit() {
  QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
}

TEST(NestedWait, APassLetsThePendingEventsThroughAndEndsLikeAWait) {
  {
    // What was queued before the pass has run when it ends; the pass does not wait for more.
    TNestedWait wait;
    int ran = 0;
    QTimer::singleShot(0, [&ran] { ++ran; });
    QMetaObject::invokeMethod(
        qApp, [&ran] { ++ran; }, Qt::QueuedConnection);
    EXPECT_EQ(wait.Pass(), TNestedWait::TEnd::Done);
    EXPECT_EQ(ran, 2);
    EXPECT_EQ(wait.Pass(), TNestedWait::TEnd::Done);
    EXPECT_FALSE(wait.Running());
  }
  {
    // A pending event that cancels (a window closed by the user) ends the pass as cancelled.
    TNestedWait wait;
    bool closed = false;
    QTimer::singleShot(0, [&closed] { closed = true; });
    EXPECT_EQ(wait.Pass([&closed] { return closed; }), TNestedWait::TEnd::Canceled);
  }
  {
    // The guarded object destroyed by a pending event: the pass ends without touching it.
    auto *guard = new QObject;
    TNestedWait wait(guard);
    QTimer::singleShot(0, guard, [guard] { delete guard; });
    EXPECT_EQ(wait.Pass([] { return false; }), TNestedWait::TEnd::ObjectGone);
  }
  {
    // A wait that dies during its own pass (held by the object that goes away).
    auto *owner = new QObject;
    auto *wait = new TNestedWait(owner);
    QTimer::singleShot(0, owner, [owner, wait] {
      delete wait;
      delete owner;
    });
    EXPECT_EQ(wait->Pass(), TNestedWait::TEnd::ObjectGone);
  }
  {
    // The program quitting during a pass: that pass may still see its own end first, but
    // the next one ends with the quit, and so does every later one, at once.
    TNestedWait wait;
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    wait.Pass();
    EXPECT_EQ(wait.Pass(), TNestedWait::TEnd::Quit);
    EXPECT_EQ(wait.Pass(), TNestedWait::TEnd::Quit);
    EXPECT_EQ(wait.Until([] { return false; }), TNestedWait::TEnd::Quit);
    RecoverFromQuit();
    EXPECT_EQ(wait.Pass(), TNestedWait::TEnd::Done);
  }
}

}  // namespace
