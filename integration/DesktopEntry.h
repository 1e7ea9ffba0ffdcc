// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Desktop entries of the program: its own launcher entry and its autostart entries.
namespace DesktopEntry {

// The id under which the desktop knows the program ("vellumix.desktop").
QString ProgramId();

// One argument of an Exec line, quoted as the desktop entry format asks when it holds
// anything but plain characters (and '%' doubled), then escaped for a key file's string.
QString ExecArgument(const QString &argument);
// The arguments of an Exec line, unquoted again (field codes such as %f are kept as they are).
QStringList ExecArguments(const QString &exec);

// The folders desktop entries are searched in: $XDG_DATA_HOME/applications, then those of
// $XDG_DATA_DIRS (by default /usr/local/share and /usr/share).
QStringList ApplicationFolders();
// The path of the installed entry with this id, or empty when none is installed.
QString FindInstalled(const QString &id);

// Makes sure a launcher entry for the program exists: when none is installed, one is written
// into the user's applications folder, starting the running program. False (with the reason)
// when it could not be written.
bool EnsureProgramEntry(const QString &programPath, QString *error);

// The text of the program's launcher entry.
QString LauncherText(const QString &programPath);

}  // namespace DesktopEntry
