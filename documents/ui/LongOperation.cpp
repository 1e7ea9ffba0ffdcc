// SPDX-License-Identifier: GPL-3.0-or-later
#include "LongOperation.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <thread>

#include "MessageBox.h"
#include "RichEdit.h"
#include "fmEdit.h"

namespace LongOperation {

namespace {
// How often the window looks at the work.
constexpr int kLookMs = 20;
}  // namespace

TEnd Run(TfrmEdit &window, const QString &caption,
         const std::function<void(const TKeepGoing &keepGoing)> &work) {
  struct TState {
    std::atomic<bool> cancel{false};
    std::atomic<bool> stopped{false};
    std::atomic<bool> finished{false};
    std::atomic<bool> outOfMemory{false};
    std::atomic<int> perMille{0};
  } state;  // outlives the thread: it is joined below on every path
  const QPointer<TfrmEdit> guard(&window);
  const quint64 changes = window.mmoMemo()->ChangeCount();
  window.BeginOperation(caption, [&state] { state.cancel = true; });

  const TKeepGoing keepGoing = [&state](qint64 done, qint64 total) {
    if (StepHook) StepHook();
    state.perMille = total > 0 ? int(1000 * done / total) : 0;
    if (!state.cancel) return true;
    state.stopped = true;
    return false;
  };
  std::thread worker([&] {
    try {
      work(keepGoing);
    } catch (const std::bad_alloc &) {
      state.outOfMemory = true;
      state.stopped = true;
    }
    state.finished = true;
  });

  QElapsedTimer watch;
  watch.start();
  QEventLoop loop;
  QTimer look;
  look.setInterval(kLookMs);
  QObject::connect(&look, &QTimer::timeout, &loop, [&] {
    if (state.finished || state.cancel || !guard) {
      loop.quit();
      return;
    }
    guard->ShowOperationProgress(state.perMille, watch.elapsed() >= ShowAfterMs);
  });
  look.start();
  loop.exec();
  // The loop also ends when the program quits: the work is then stopped like a Cancel.
  if (!state.finished) state.cancel = true;
  worker.join();

  if (!guard) return TEnd::WindowGone;
  guard->EndOperation();
  if (state.outOfMemory)
    MessageBox::ShowError(guard, QStringLiteral("There is not enough free memory for this "
                                                "command on a text this large.\rThe text is "
                                                "unchanged"));
  if (state.stopped || guard->mmoMemo()->ChangeCount() != changes) return TEnd::Cancelled;
  return TEnd::Done;
}

}  // namespace LongOperation
