// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>

// Emits Idle() once the application has processed the events of a burst of activity: user
// input, window changes, or an explicit Request(). Windows refresh their command states and
// status bars on it instead of after every single change.
class TIdleNotifier : public QObject {
  Q_OBJECT

 public:
  static TIdleNotifier &Instance();

  // Asks for an Idle() after the events now pending.
  void Request();

 Q_SIGNALS:
  void Idle();

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  TIdleNotifier();
  QTimer timer_;
};
