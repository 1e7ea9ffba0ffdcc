#include "Application.h"

#include <exception>

#include "Fonts.h"
#include "MessageBox.h"
#include "VellumixVersion.h"

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Vellumix"));
  setOrganizationName(QStringLiteral("Kestrelwick"));
  setApplicationVersion(QString::fromLatin1(kVersionText));
  setDesktopFileName(QStringLiteral("vellumix"));
  Fonts::InstallSubstitutes();
}

bool TApplication::notify(QObject *receiver, QEvent *event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception &error) {
    QString text = QString::fromUtf8(error.what());
    while (text.endsWith(u'.')) text.chop(1);
    MessageBox::ShowError(activeWindow(), text);
  }
  return false;
}
