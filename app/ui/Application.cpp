// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/Application.h"

#include <QtGlobal>
#include <exception>

#include "VellumixVersion.h"
#include "platform/core/ProductTexts.h"
#include "platform/ui/Fonts.h"

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {
  setApplicationName(ProductTexts::Name());
  setOrganizationName(QStringLiteral("Kestrelwick"));
  setApplicationVersion(QString::fromLatin1(kVersionText));
  setDesktopFileName(QStringLiteral("vellumix"));
  Fonts::InstallSubstitutes();
}

bool TApplication::notify(QObject *receiver, QEvent *event) {
  // Commands, slots and timers report their own errors (ReportErrors); an error that still
  // arrives here is a fault of the program. It is logged, never shown: no window is opened
  // from inside an event that failed half-way.
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception &error) {
    qCritical("Uncaught error in an event handler: %s", error.what());
  } catch (...) {
    qCritical("Uncaught error of unknown type in an event handler");
  }
  return false;
}
