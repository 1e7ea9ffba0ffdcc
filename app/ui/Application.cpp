#include "Application.h"

#include <exception>

#include "Fonts.h"
#include "MessageBox.h"

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Vellumix"));
  setOrganizationName(QStringLiteral("Kestrelwick"));
  setApplicationVersion(QStringLiteral("2.00.0.4"));
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
