// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "documents/core/FileStamp.h"

// Writes bytes to an open file descriptor; the seam through which tests inject write
// failures (a full disk, a process killed half-way).
class TByteWriter {
 public:
  virtual ~TByteWriter() = default;
  // Writes up to size bytes; returns the number written or -1 with errno set.
  virtual qint64 Write(int fd, const char *data, qint64 size);
};

enum class TSaveStatus {
  Saved,
  ChangedOnDisk,  // the file changed since it was read; nothing was written
  Failed,         // nothing was lost; error and detail say why
};

struct TSaveOutcome {
  TSaveStatus status = TSaveStatus::Failed;
  QString error;       // "Cannot create file <name>." when the save failed
  QString detail;      // the reason, for a second line of the message
  QString backupName;  // the backup made, empty when none
  TFileStamp stamp;    // the file as saved, for the next check for changes

  bool Saved() const { return status == TSaveStatus::Saved; }
};

// Saves a file without ever leaving it half-written:
// - the bytes go to a temporary file in the same folder, are flushed to disk, and the
//   temporary file is renamed over the file; permissions are kept, and the owner and group
//   where the process may set them;
// - a symbolic link is followed and its target is saved, so the link stays a link;
// - a file with several hard links, or a writable file in a folder where no new file can be
//   made, is written in place after a copy of its previous content has been written and
//   verified (beside it, or in CopyFolder when its folder cannot be written); a failure puts
//   the previous content back, and a save stopped half-way (the process killed) leaves the
//   copy beside the file for InterruptedCopyOf to find;
// - hidden temporary files that stopped saves left in the folder are removed (only those of
//   the program's own naming that no running save holds, see SafeSaveFiles);
// - new files get the usual permissions (0666 less the umask), without changing the umask;
// - temporary names fit the file system's limit on the length of a name;
// - with backups on, the previous file becomes the backup (its name from
//   SaveNames::BackupFileName); failures around the backup do not stop the save;
// - a read-only file, or a new file in a folder that cannot be written, is refused with a
//   clear text.
class TSafeSave {
 public:
  // writer is used for the document's bytes; null means plain writes.
  explicit TSafeSave(TByteWriter *writer = nullptr);

  void SetMakeBackup(bool makeBackup);
  bool MakeBackup() const;

  // Saves bytes as fileName. When known is given and the file changed on disk since that
  // stamp was taken, nothing is written and the status is ChangedOnDisk (ask the user, then
  // save again without known).
  TSaveOutcome Save(const QString &fileName, const QByteArray &bytes,
                    const std::optional<TFileStamp> &known = std::nullopt);

  // The file a save of fileName writes: symbolic links followed (also a link whose target
  // does not exist yet). Empty when the links loop.
  static QString ResolveTarget(const QString &fileName);

  // Where copies of previous versions go when a file's own folder cannot be written (empty:
  // "previous" in the user's data folder). With backups on, the copy stays there as the backup.
  void SetCopyFolder(const QString &folder);
  QString CopyFolder() const;

  // The copy of fileName's previous content that a save in place left beside it when it was
  // stopped half-way, so that the file may hold only part of the new text: its name, for
  // offering it to the user; it stays until the next save of the file. Empty when there is
  // none, or when the copy holds just what the file holds (it is then removed).
  static QString InterruptedCopyOf(const QString &fileName);

 private:
  struct TTarget;
  static bool WriteAll(int fd, const QByteArray &bytes, TByteWriter &writer, QString &detail);
  bool SaveReplacing(const TTarget &target, const QByteArray &bytes, TByteWriter &writer,
                     QString &detail);
  bool SaveInPlace(const TTarget &target, const QByteArray &bytes, bool folderWritable,
                   QString &detail);
  bool WriteVerifiedCopy(const QString &path, const TTarget &of, const QByteArray &bytes,
                         QString &detail);
  // Makes the backup of the previous file, or returns a temporary second name of it that the
  // caller renames to the backup's name once the new file is in place.
  QString MakeBackupOf(const TTarget &target);

  TByteWriter plainWriter_;
  TByteWriter *writer_;
  bool makeBackup_ = false;
  QString copyFolder_;
  QString keptCopy_;  // the previous version kept outside its folder by the last save
};
