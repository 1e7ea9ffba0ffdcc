// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class QEventLoop;
class QObject;

// Waits in a nested event loop, keeping the program responsive, until a condition holds.
// The wait also ends, without a busy spin, when
//  - it is cancelled (Cancel, or the cancelled() test given to Until holds),
//  - the object it waits on is destroyed meanwhile (the caller then must not touch it), or
//  - the application quits: a quit ends every running event loop and makes new ones return
//    at once, so a loop that ends without having been woken counts as the quit.
// Code that changes what the condition looks at calls Wake, so the condition is tested again.
class TNestedWait {
 public:
  enum class TEnd { Done, Canceled, ObjectGone, Quit };

  // guard: the object waited on; nothing to guard when null.
  explicit TNestedWait(const QObject *guard = nullptr);
  ~TNestedWait();
  TNestedWait(const TNestedWait &) = delete;
  TNestedWait &operator=(const TNestedWait &) = delete;

  // Runs until done() holds or the wait ends otherwise; done is never called once the
  // guarded object is gone.
  TEnd Until(const std::function<bool()> &done, const std::function<bool()> &canceled = {});
  // Lets the events pending now through once (the way a long piece of work keeps the program
  // answering between its steps) and ends as Until does: Done once they have gone through. A
  // quit that comes in the same round as the pass's own end is seen by the next pass or wait.
  TEnd Pass(const std::function<bool()> &canceled = {});
  // Lets a running Until test its conditions again. Safe to call when nothing waits.
  void Wake();
  // Ends a running Until (and every later one on this object) with Canceled.
  void Cancel();
  bool Running() const { return !state_->loops.empty(); }

 private:
  // Shared with every running Until, so that a wait can tell that this object (often a
  // member of the guarded object) is gone without touching it.
  struct TState {
    bool guarded = false;
    QPointer<const QObject> guard;
    struct TLoop {
      QEventLoop *loop;
      bool *woken;
    };
    std::vector<TLoop> loops;  // the running waits, innermost last
    bool canceled = false;
    bool gone = false;
  };
  static void WakeAll(const TState &state);

  std::shared_ptr<TState> state_;
};
