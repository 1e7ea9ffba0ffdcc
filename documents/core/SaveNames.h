// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Names and texts of saving that do not touch the disk.
namespace SaveNames {

// The name of a never-saved document's file part.
inline constexpr char UntitledName[] = "untitled.txt";

// The file name a document window's status panel shows, as a save uses it: the blank in front
// of an untitled document's name removed. Blanks at the end belong to the name.
QString FromPanelText(const QString &panelText);

// The file-name part of a path (after the last '/').
QString FileNamePart(const QString &fileName);

// True when the file-name part of fileName is exactly "untitled.txt": such a document is
// always saved through Save As.
bool IsUntitled(const QString &fileName);

// The backup name: the extension (from the last dot of the file-name part on) replaced by
// ".bak", or ".bak" appended when the file-name part has no dot. Empty when the file-name
// part begins with a dot (such names are left alone: no backup is made, since the backup
// name would be a hidden file of another meaning such as ".bak"), or when the name is its
// own backup name.
QString BackupFileName(const QString &fileName);

// fileName with "." + extension appended when its file-name part has no extension (the save
// dialog's default extension).
QString WithDefaultExtension(const QString &fileName, const QString &extension);

// "Cannot create file " + fileName + ".": the message of a save that failed.
QString CannotCreateText(const QString &fileName);

// True when the file is read and written as rich text (extension rtf in any case).
bool IsRichTextName(const QString &fileName);

}  // namespace SaveNames
