// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/ReportErrors.h"

#include <QApplication>

#include "platform/ui/MessageBox.h"

void ReportError(QWidget *parent, const std::exception &error) {
  QString text = QString::fromUtf8(error.what());
  while (text.endsWith(u'.')) text.chop(1);
  MessageBox::ShowError(parent ? parent : QApplication::activeWindow(), text);
}
