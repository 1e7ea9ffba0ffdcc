// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Runs one of the desktop's own tools and gives its standard output, trimmed; "exit N: ..."
// with its error output when it fails.
inline QString RunTool(const QString &program, const QStringList &args) {
  QProcess process;
  process.start(program, args);
  if (!process.waitForFinished(60000)) return QStringLiteral("did not finish");
  const QString out = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
    return QStringLiteral("exit %1: %2 %3")
        .arg(process.exitCode())
        .arg(out, QString::fromUtf8(process.readAllStandardError()));
  return out;
}
