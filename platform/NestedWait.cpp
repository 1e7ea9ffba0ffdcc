// SPDX-License-Identifier: GPL-3.0-or-later
#include "NestedWait.h"

#include <QEventLoop>
#include <QObject>
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

void TNestedWait::Wake() {
  for (const TState::TLoop &entry : state_->loops) {
    *entry.woken = true;
    entry.loop->quit();
  }
}

void TNestedWait::Cancel() {
  state_->canceled = true;
  Wake();
}
