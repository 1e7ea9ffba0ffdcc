// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

// The engine reads files by name, so each input is written to one file in the temporary
// folder that is reused for the whole run.
inline QString WriteFuzzFile(const char *name, const QByteArray &bytes) {
  QString path = QDir::temp().filePath(QStringLiteral("vellumix-fuzz-%1-%2")
                                           .arg(QCoreApplication::applicationPid())
                                           .arg(QLatin1String(name)));
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
  return path;
}
