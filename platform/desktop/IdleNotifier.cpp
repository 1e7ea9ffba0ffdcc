// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/IdleNotifier.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>

TIdleNotifier &TIdleNotifier::Instance() {
  static TIdleNotifier *instance = new TIdleNotifier;  // lives as long as the application
  return *instance;
}

TIdleNotifier::TIdleNotifier() {
  timer_.setSingleShot(true);
  timer_.setInterval(0);
  connect(&timer_, &QTimer::timeout, this, &TIdleNotifier::Idle);
  QCoreApplication::instance()->installEventFilter(this);
  if (auto *gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
    connect(gui->clipboard(), &QClipboard::dataChanged, this, &TIdleNotifier::Request);
}

void TIdleNotifier::Request() {
  if (!timer_.isActive()) timer_.start();
}

bool TIdleNotifier::eventFilter(QObject *watched, QEvent *event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::FocusIn:
    case QEvent::WindowActivate:
    case QEvent::WindowStateChange:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Close:
    case QEvent::Drop:
    case QEvent::Shortcut:
    case QEvent::ApplicationStateChange:
      Request();
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}
