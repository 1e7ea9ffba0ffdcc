// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The folders the program works with. Every folder returned ends with '/'.
namespace Folders {

// The folder of shipped, read-only data: $VELLUMIX_DATA_DIR when set, else
// <prefix>/share/vellumix beside the installed program, else the build tree's data folder.
QString ProgramFolder();

// Where the program writes files that belong beside its own (user dictionary, customised
// templates) when the program's folder is not writable: $XDG_DATA_HOME/vellumix/.
QString UserDataFolder();

// $XDG_CONFIG_HOME/Kestrelwick/: the folder of the settings file.
QString UserConfigFolder();

// The user's home folder.
QString Home();

// The folder a writable file named name belongs in: the program's folder when it is writable,
// else the user's data folder (created when missing).
QString WritableFolderFor(const QString &name);

// The file named name as the program reads it: from the user's data folder when it is there,
// else from the program's folder.
QString ReadablePathOf(const QString &name);

// Folder part of a path up to and including its last '/'; empty when there is none.
QString FolderOf(const QString &path);
// The part of a path after its last '/'.
QString FileNameOf(const QString &path);

}  // namespace Folders
