// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <atomic>
#include <functional>
#include <thread>

#include "documents/core/RtfContent.h"

// Reads rich text into plain data (see RtfParser) on a thread of its own, so that the window
// waiting for it keeps answering and can stop it. The thread holds its own reference to the
// bytes and touches nothing but this object, which stops and joins it when destroyed. The
// result belongs to the caller once Finished() is true.
class TRtfParseJob {
 public:
  TRtfParseJob(QByteArray rtf, const TRtfLimits &limits);
  // Stops the work and waits for the thread.
  ~TRtfParseJob();
  TRtfParseJob(const TRtfParseJob &) = delete;
  TRtfParseJob &operator=(const TRtfParseJob &) = delete;

  // Asks the thread to stop; Finished() follows soon after, with the result cancelled.
  void Cancel() { cancel_ = true; }
  bool Finished() const { return finished_; }
  // How much is read, from 0 to 1000.
  int Progress() const { return progress_; }
  // Once Finished().
  TRtfParsed &Result() { return parsed_; }

  // Told on the starting thread once a job's thread runs (tests use it to act while a job
  // is under way).
  static inline std::function<void(TRtfParseJob &job)> Started;

 private:
  void run(const TRtfLimits &limits);

  QByteArray rtf_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> finished_{false};
  std::atomic<int> progress_{0};
  TRtfParsed parsed_;
  std::thread thread_;
};
