// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>
#include <exception>
#include <functional>

// A periodic timer whose ticks arrive on the thread that owns it. Changing Enabled, Interval
// or OnTimer stops the timer and starts it again when Interval is not 0, Enabled is true
// and OnTimer is set. An exception thrown by OnTimer goes to the exception display and
// does not stop the timer.
class TThreadTimer : public QObject {
  Q_OBJECT

 public:
  using TExceptionDisplay = std::function<void(const std::exception &)>;

  explicit TThreadTimer(QObject *parent = nullptr);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned milliseconds);
  const std::function<void()> &OnTimer() const { return onTimer_; }
  void SetOnTimer(std::function<void()> handler);

  bool IsRunning() const { return timer_.isActive(); }

  // Where exceptions escaping a tick handler are shown; the application installs its own
  // display, the default writes a warning.
  static void SetExceptionDisplay(TExceptionDisplay display);

 private:
  void UpdateTimer();
  void Tick();

  QTimer timer_;
  bool enabled_ = true;
  unsigned interval_ = 1000;
  std::function<void()> onTimer_;
};
