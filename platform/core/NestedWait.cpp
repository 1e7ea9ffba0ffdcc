// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/core/NestedWait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <algorithm>

TNestedWait::TNestedWait(const QObject *guard) : state_(std::make_shared<TState>()) {
  state_->guarded = guard != nullptr;
  state_->guard = guard;
}

TNestedWait::~TNestedWait() {
  state_->gone = true;
  Wake();
}

TNestedWait::TEnd TNestedWait::Until(const std::function<bool()> &done,
                                     const std::function<bool()> &canceled) {
  // Only this copy is used below: the wait object itself may die during exec.
  const std::shared_ptr<TState> state = state_;
  auto gone = [&state] { return state->gone || (state->guarded && !state->guard); };
  QEventLoop loop;
  bool woken = false;
  // The guarded object's destruction wakes the loop; the connection dies with the loop.
  if (state->guarded && state->guard)
    QObject::connect(state->guard.data(), &QObject::destroyed, &loop, [&woken, &loop] {
      woken = true;
      loop.quit();
    });
  state->loops.push_back({&loop, &woken});
  TEnd end = TEnd::Done;
  for (;;) {
    if (gone()) {
      end = TEnd::ObjectGone;
      break;
    }
    if (state->canceled || (canceled && canceled())) {
      end = TEnd::Canceled;
      break;
    }
    if (done()) break;
    woken = false;
    loop.exec();
    if (!woken && !gone()) {
      end = TEnd::Quit;
      break;
    }
  }
  std::erase_if(state->loops, [&loop](const TState::TLoop &entry) { return entry.loop == &loop; });
  return end;
}

TNestedWait::TEnd TNestedWait::Pass(const std::function<bool()> &canceled) {
  // Without an application object (a command-line tool, a fuzz target) no events wait to be
  // handled: the pass is over at once.
  if (!QCoreApplication::instance()) {
    if (state_->gone || (state_->guarded && !state_->guard)) return TEnd::ObjectGone;
    return state_->canceled || (canceled && canceled()) ? TEnd::Canceled : TEnd::Done;
  }
  bool passed = false;
  // A zero timer fires once the loop has handled what was pending before it. It holds the
  // shared state, not this object, which may be gone by then.
  QTimer tick;
  tick.setSingleShot(true);
  QObject::connect(&tick, &QTimer::timeout, [&passed, state = state_] {
    passed = true;
    WakeAll(*state);
  });
  tick.start(0);
  return Until([&passed] { return passed; }, canceled);
}

void TNestedWait::Wake() { WakeAll(*state_); }

void TNestedWait::WakeAll(const TState &state) {
  for (const TState::TLoop &entry : state.loops) {
    *entry.woken = true;
    entry.loop->quit();
  }
}

void TNestedWait::Cancel() {
  state_->canceled = true;
  Wake();
}
