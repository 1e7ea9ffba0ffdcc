// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The program's command line: the two informational options and the files to open.
namespace CommandLine {

enum class TAction { Run, Help, Version };

// What the parameters (without the program name) ask for: --help (or -h) and --version
// print a text and end the program; anything else runs it. Options count only before a
// "--", after which every parameter is a file name.
TAction Action(const QStringList &parameters);

// The text --help prints and the one --version prints, each ending in a line break.
QString HelpText();
QString VersionText(const QString &program);

// The files the parameters name, as absolute paths (a relative name means the current
// folder), each to be opened in a workspace of its own; empty without parameters. A
// parameter that is a file: URL (as desktop launchers hand them over) names its local file;
// a first "--" and empty parameters are dropped. Several parameters whose names joined with
// single blanks name an existing file are that one file, so a name with blanks may be given
// without quotes; otherwise each parameter is a file of its own.
QStringList FileNames(const QStringList &parameters);

}  // namespace CommandLine
