// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/core/CommandLine.h"

#include <QFileInfo>
#include <QUrl>

#include "VellumixVersion.h"

namespace CommandLine {

namespace {

const QString kEndOfOptions = QStringLiteral("--");

// A file: URL becomes its local path; every other parameter is a name as it stands.
QString LocalName(const QString &parameter) {
  if (!parameter.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) return parameter;
  const QUrl url(parameter);
  return url.isLocalFile() ? url.toLocalFile() : parameter;
}

}  // namespace

TAction Action(const QStringList &parameters) {
  for (const QString &parameter : parameters) {
    if (parameter == kEndOfOptions) break;
    if (parameter == QLatin1String("--help") || parameter == QLatin1String("-h"))
      return TAction::Help;
    if (parameter == QLatin1String("--version")) return TAction::Version;
  }
  return TAction::Run;
}

QString HelpText() {
  return QStringLiteral(
      "Usage: vellumix [FILE...]\n"
      "A multi-document plain-text editor: each FILE opens in a workspace of its own; without\n"
      "one an untitled workspace is opened. A name with blanks may be given without quotes:\n"
      "when the parameters joined with single blanks name an existing file, that one file is\n"
      "opened.\n"
      "\n"
      "  -h, --help     print this help and exit\n"
      "      --version  print the version and exit\n"
      "      --         every parameter after this one is a file name\n");
}

QString VersionText(const QString &program) {
  return program + u' ' + QString::fromLatin1(kVersionText) + QStringLiteral(" for Linux\n");
}

QStringList FileNames(const QStringList &parameters) {
  QStringList names;
  bool optionsEnded = false;
  for (const QString &parameter : parameters) {
    if (parameter == kEndOfOptions && !optionsEnded) {
      optionsEnded = true;
      continue;
    }
    if (!parameter.isEmpty()) names << LocalName(parameter);
  }
  if (names.isEmpty()) return {};
  const QString joined = names.join(u' ');
  if (names.size() == 1 || QFileInfo(joined).isFile())
    return {QFileInfo(joined).absoluteFilePath()};
  QStringList files;
  for (const QString &name : names) files << QFileInfo(name).absoluteFilePath();
  return files;
}

}  // namespace CommandLine
