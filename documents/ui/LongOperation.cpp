// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/ui/LongOperation.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <new>
#include <thread>

#include "documents/ui/RichEdit.h"
#include "documents/ui/fmEdit.h"
#include "platform/ui/MessageBox.h"

namespace LongOperation {

namespace {
// How often the window looks at the work.
constexpr int kLookMs = 20;
// The text is read from the edit control in slices of this many characters, each taking a
// few tens of milliseconds.
constexpr qsizetype kReadSlice = 1 << 20;
// The share of the progress bar that reading the text takes, when it is read (of 1000).
constexpr int kReadShare = 400;

// Runs the event loop, calling step every intervalMs until it returns false.
void whileStepping(const std::function<bool()> &step, int intervalMs) {
  QEventLoop loop;
  QTimer timer;
  timer.setInterval(intervalMs);
  QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
    if (!step()) loop.quit();
  });
  timer.start();
  loop.exec();
}

// The text is as it was: the command stopped before changing anything.
void showOutOfMemory(TfrmEdit *window) {
  MessageBox::ShowError(window, QStringLiteral("There is not enough free memory for this command "
                                               "on a text this large.\rThe text is unchanged"));
}
}  // namespace

TEnd Run(TfrmEdit &window, const QString &caption, const TRead &read,
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

  QElapsedTimer watch;
  watch.start();
  // The text is read here, between events: the edit control belongs to this thread.
  const int workFrom = read.into ? kReadShare : 0;
  if (read.into) {
    read.into->clear();
    if (!read.slice) read.into->reserve(read.end - read.start);
    qsizetype at = read.start;
    whileStepping(
        [&] {
          // A text changed meanwhile is read no further: the work would be for nothing.
          if (state.cancel || !guard || at >= read.end ||
              guard->mmoMemo()->ChangeCount() != changes)
            return false;
          const TRichEdit &memo = *guard->mmoMemo();
          qsizetype to = std::min(read.end, at + kReadSlice);
          try {
            if (read.slice)
              to = read.slice(memo, *read.into, at, kReadSlice);
            else
              read.into->append(memo.TextRange(at, to));
          } catch (const std::bad_alloc &) {
            read.into->clear();
            state.outOfMemory = true;
            return false;
          }
          if (to <= at) return false;  // nothing more to read: the text is shorter now
          at = std::min(to, read.end);
          guard->ShowOperationProgress(
              int(kReadShare * (at - read.start) / std::max<qsizetype>(read.end - read.start, 1)),
              watch.elapsed() >= ShowAfterMs);
          if (ReadHook) ReadHook();
          return at < read.end;
        },
        0);
    if (!guard) return TEnd::WindowGone;
    if (at < read.end) {
      guard->EndOperation();
      if (state.outOfMemory) showOutOfMemory(guard);
      return TEnd::Cancelled;
    }
  }

  const TKeepGoing keepGoing = [&state, workFrom](qint64 done, qint64 total) {
    state.perMille = workFrom + (total > 0 ? int((1000 - workFrom) * done / total) : 0);
    if (StepHook) StepHook(state.perMille);
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

  whileStepping(
      [&] {
        if (state.finished || state.cancel || !guard) return false;
        guard->ShowOperationProgress(state.perMille, watch.elapsed() >= ShowAfterMs);
        return true;
      },
      kLookMs);
  // The loop also ends when the program quits: the work is then stopped like a Cancel.
  if (!state.finished) state.cancel = true;
  worker.join();

  if (!guard) return TEnd::WindowGone;
  guard->EndOperation();
  if (state.outOfMemory) showOutOfMemory(guard);
  if (state.stopped || guard->mmoMemo()->ChangeCount() != changes) return TEnd::Cancelled;
  return TEnd::Done;
}

}  // namespace LongOperation
