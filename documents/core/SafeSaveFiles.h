// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QString>
#include <ctime>

// The hidden files a save makes beside the file it writes, and their clean-up.
//
// Temporary files are named "." + file name + ".vellumix-" + six random letters or digits
// (shortened to fit the file system's limit on a name), so that no user file is taken for one.
// A save holds an exclusive lock (flock) on its temporary file while it writes it, so a
// temporary file nobody holds was left by a save that was stopped; the next save into the
// folder removes it.
//
// The copy of a file's previous content that a save in place writes first is
// "." + file name + ".previous"; it exists only while such a save runs, or after one was
// stopped half-way.
namespace SafeSaveFiles {

QByteArray Native(const QString &path);
// The folder part of path (up to the last '/', "/" for a file in the root).
QString FolderOf(const QString &path);

// "." + name + suffix in folder, name shortened (by whole characters) so that the whole fits
// the file system's limit on a name's length.
QString HiddenName(const QString &folder, QString name, QLatin1String suffix);

// Creates a new temporary file beside path with the permissions mode (less the process's
// umask, applied by the system), opened for writing and locked. -1 with errno set on failure.
int CreateTemporary(const QString &path, mode_t mode, QString &tempName);

// Gives the file existing a temporary second name beside nearPath (a hard link); empty with
// errno set when that fails.
QString TemporaryLink(const QString &existing, const QString &nearPath);

// True when a file name part is one of the temporary names above.
bool IsTemporaryName(const QString &name);

// Removes the temporary files in folder that saves left behind: names of the form above,
// regular files of this user, last changed before `before`, and not locked by a save that
// still runs. Anything else in the folder is left alone.
void RemoveStale(const QString &folder, const timespec &before);

// The name of the copy a save in place keeps of path's previous content.
QString PreviousCopyName(const QString &path);

}  // namespace SafeSaveFiles
