// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/core/ThreadTimer.h"

#include <QtDebug>

#include "mail/core/MailErrors.h"

namespace {
TThreadTimer::TExceptionDisplay &ExceptionDisplay() {
  static TThreadTimer::TExceptionDisplay display = [](const std::exception &error) {
    qWarning("%s", error.what());
  };
  return display;
}
}  // namespace

TThreadTimer::TThreadTimer(QObject *parent) : QObject(parent) {
  connect(&timer_, &QTimer::timeout, this, &TThreadTimer::Tick);
}

void TThreadTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  UpdateTimer();
}

void TThreadTimer::SetInterval(unsigned milliseconds) {
  interval_ = milliseconds;
  UpdateTimer();
}

void TThreadTimer::SetOnTimer(std::function<void()> handler) {
  onTimer_ = std::move(handler);
  UpdateTimer();
}

void TThreadTimer::SetExceptionDisplay(TExceptionDisplay display) {
  ExceptionDisplay() = std::move(display);
}

void TThreadTimer::UpdateTimer() {
  timer_.stop();
  if (interval_ == 0 || !enabled_ || !onTimer_) return;
  // QTimer takes a signed interval; longer ones are clamped rather than wrapped round.
  timer_.start(static_cast<int>(std::min<unsigned>(interval_, INT_MAX)));
  if (!timer_.isActive()) throw EMailError(QStringLiteral("No Timer"));
}

void TThreadTimer::Tick() {
  if (!onTimer_) return;
  // A copy: the handler may replace or clear OnTimer while it runs.
  const auto handler = onTimer_;
  try {
    handler();
  } catch (const std::exception &error) {
    ExceptionDisplay()(error);
  }
}
