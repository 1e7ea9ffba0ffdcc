// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/SafeSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "documents/core/SafeSaveFiles.h"
#include "documents/core/SaveNames.h"
#include "platform/core/Folders.h"

using SafeSaveFiles::FolderOf;
using SafeSaveFiles::HiddenName;
using SafeSaveFiles::Native;

namespace {

QString ErrnoText(int error) {
  switch (error) {
    case ENOSPC:
      return QStringLiteral("The disk is full.");
    case EDQUOT:
      return QStringLiteral("The disk quota is used up.");
    case EROFS:
      return QStringLiteral("The file system is read-only.");
    default:
      return QString::fromLocal8Bit(std::strerror(error)) + u'.';
  }
}

void SyncFolder(const QString &folder) {
  const int fd = ::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool ReadWhole(const QString &path, QByteArray &bytes) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  bytes = file.readAll();
  return file.error() == QFileDevice::NoError;
}

timespec Now() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return now;
}
}  // namespace

qint64 TByteWriter::Write(int fd, const char *data, qint64 size) {
  return ::write(fd, data, size_t(size));
}

struct TSafeSave::TTarget {
  QString fileName;  // as the caller named it
  QString path;      // the file written (links followed)
  bool exists = false;
  struct stat st {};
  QString backupName;  // empty: no backup
  // Permissions of a file made anew (the umask still applies).
  mode_t NewMode() const { return exists ? (st.st_mode & 07777) : 0666; }
};

TSafeSave::TSafeSave(TByteWriter *writer) : writer_(writer ? writer : &plainWriter_) {}

void TSafeSave::SetMakeBackup(bool makeBackup) { makeBackup_ = makeBackup; }

bool TSafeSave::MakeBackup() const { return makeBackup_; }

QString TSafeSave::ResolveTarget(const QString &fileName) {
  QString path = QDir::cleanPath(QFileInfo(fileName).absoluteFilePath());
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(Native(path).constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    QByteArray link(4096, '\0');
    const ssize_t n = ::readlink(Native(path).constData(), link.data(), size_t(link.size()));
    if (n < 0 || n >= link.size()) return QString();
    const QString target = QFile::decodeName(link.left(n));
    path = QDir::cleanPath(target.startsWith(u'/') ? target : FolderOf(path) + u'/' + target);
  }
  return QString();
}

TSaveOutcome TSafeSave::Save(const QString &fileName, const QByteArray &bytes,
                             const std::optional<TFileStamp> &known) {
  const timespec started = Now();
  TSaveOutcome outcome;
  outcome.error = SaveNames::CannotCreateText(fileName);
  keptCopy_.clear();
  auto fail = [&outcome](const QString &detail) {
    outcome.status = TSaveStatus::Failed;
    outcome.detail = detail;
    return outcome;
  };

  TTarget target;
  target.fileName = fileName;
  target.path = ResolveTarget(fileName);
  if (target.path.isEmpty()) return fail(QStringLiteral("Its symbolic links form a loop."));
  // First, as a stopped save may have left a second name of the file among them.
  const QString folder = FolderOf(target.path);
  const bool folderWritable = ::access(Native(folder).constData(), W_OK | X_OK) == 0;
  if (folderWritable) SafeSaveFiles::RemoveStale(folder, started);
  target.exists = ::stat(Native(target.path).constData(), &target.st) == 0;
  if (target.exists && S_ISDIR(target.st.st_mode)) return fail(QStringLiteral("It is a folder."));
  if (target.exists && !S_ISREG(target.st.st_mode))
    return fail(QStringLiteral("It is not a regular file."));
  if (known && known->ChangedOnDisk(target.path)) {
    outcome.status = TSaveStatus::ChangedOnDisk;
    outcome.error.clear();
    outcome.detail = QStringLiteral("The file was changed by another program since it was read.");
    return outcome;
  }
  // A file without write permission is read-only even for a user who could override it.
  if (target.exists &&
      ((target.st.st_mode & 0222) == 0 || ::access(Native(target.path).constData(), W_OK) != 0))
    return fail(QStringLiteral("The file is read-only."));
  if (makeBackup_) target.backupName = SaveNames::BackupFileName(fileName);

  // A file with further names, or one in a folder where no new file can be made, is written in
  // place (after a verified copy); every other file is replaced in one step.
  QString detail;
  const bool saved = target.exists && (target.st.st_nlink > 1 || !folderWritable)
                         ? SaveInPlace(target, bytes, folderWritable, detail)
                         : SaveReplacing(target, bytes, *writer_, detail);
  if (!saved) return fail(detail);
  // What a save in place that was stopped kept of this file is of no use any more.
  if (folderWritable) ::unlink(Native(SafeSaveFiles::PreviousCopyName(target.path)).constData());
  outcome.status = TSaveStatus::Saved;
  outcome.error.clear();
  if (!keptCopy_.isEmpty())
    outcome.backupName = keptCopy_;
  else if (target.exists && !target.backupName.isEmpty() && QFileInfo::exists(target.backupName))
    outcome.backupName = target.backupName;
  outcome.stamp = TFileStamp::OfContent(target.path, bytes);
  return outcome;
}

bool TSafeSave::WriteAll(int fd, const QByteArray &bytes, TByteWriter &writer, QString &detail) {
  const char *data = bytes.constData();
  qint64 left = bytes.size();
  while (left > 0) {
    const qint64 n = writer.Write(fd, data, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      detail = ErrnoText(n == 0 ? ENOSPC : errno);
      return false;
    }
    data += n;
    left -= n;
  }
  if (::fsync(fd) != 0) {
    detail = ErrnoText(errno);
    return false;
  }
  return true;
}

bool TSafeSave::SaveReplacing(const TTarget &target, const QByteArray &bytes, TByteWriter &writer,
                              QString &detail) {
  QString tempName;
  // Made with the file's own permissions from the start, so that its content is never open
  // to more users than the file's.
  const int fd = SafeSaveFiles::CreateTemporary(target.path, target.NewMode(), tempName);
  if (fd < 0) {
    const int error = errno;
    if (error == EACCES || error == EPERM)
      detail = QLatin1String("The folder ") + FolderOf(target.path) +
               QLatin1String(" cannot be written to.");
    else if (error == ENOENT)
      detail =
          QLatin1String("The folder ") + FolderOf(target.path) + QLatin1String(" does not exist.");
    else
      detail = ErrnoText(error);
    return false;
  }
  bool ok = WriteAll(fd, bytes, writer, detail);
  if (ok && target.exists) {
    // Keep owner and group where allowed (only a privileged process may give a file away;
    // a member of the group may still keep the group), then the permissions, which a
    // change of owner could otherwise clear, and which the umask may have narrowed.
    if (::fchown(fd, target.st.st_uid, target.st.st_gid) != 0)
      (void)!::fchown(fd, uid_t(-1), target.st.st_gid);
    ::fchmod(fd, target.st.st_mode & 07777);
  }
  const QString backupLink = ok && target.exists ? MakeBackupOf(target) : QString();
  if (ok && ::rename(Native(tempName).constData(), Native(target.path).constData()) != 0) {
    detail = ErrnoText(errno);
    ok = false;
  }
  if (!ok) ::unlink(Native(tempName).constData());
  if (!backupLink.isEmpty() &&
      (!ok || ::rename(Native(backupLink).constData(),
                       Native(QDir::cleanPath(QFileInfo(target.backupName).absoluteFilePath()))
                           .constData()) != 0))
    ::unlink(Native(backupLink).constData());
  // Closed only now, so that the lock on the temporary file lasts until it has its final name;
  // its data was flushed to disk before.
  ::close(fd);
  if (!ok) return false;
  SyncFolder(FolderOf(target.path));
  return true;
}

QString TSafeSave::MakeBackupOf(const TTarget &target) {
  if (target.backupName.isEmpty()) return QString();
  const QString backupPath = QDir::cleanPath(QFileInfo(target.backupName).absoluteFilePath());
  if (backupPath == target.path) return QString();
  // A second name for the previous file's content: the backup shares the previous file's
  // content and attributes without copying them. It gets the backup's name only once the new
  // file has the file's name, so that a save stopped in between never leaves the file and its
  // backup as two names of one file (each later save would then write both in place).
  if (target.st.st_nlink == 1) {
    QString linkName = SafeSaveFiles::TemporaryLink(target.path, backupPath);
    if (!linkName.isEmpty()) return linkName;
  }
  // Another file system, or the file has further links: copy the content instead.
  QByteArray previous;
  QString ignored;
  if (ReadWhole(target.path, previous)) {
    TTarget copy;
    copy.path = backupPath;
    copy.exists = true;
    copy.st.st_mode = target.st.st_mode;
    copy.st.st_uid = target.st.st_uid;
    copy.st.st_gid = target.st.st_gid;
    SaveReplacing(copy, previous, plainWriter_, ignored);
  }
  return QString();
}

bool TSafeSave::WriteVerifiedCopy(const QString &path, const TTarget &of, const QByteArray &bytes,
                                  QString &detail) {
  TTarget copy;
  copy.path = path;
  copy.exists = true;  // takes the permissions and owner of the file it copies
  copy.st = of.st;
  QByteArray check;
  if (!SaveReplacing(copy, bytes, plainWriter_, detail)) return false;
  if (!ReadWhole(path, check) || check != bytes) {
    detail = QStringLiteral("The copy of the previous version could not be verified.");
    return false;
  }
  return true;
}

void TSafeSave::SetCopyFolder(const QString &folder) { copyFolder_ = folder; }

QString TSafeSave::CopyFolder() const {
  return copyFolder_.isEmpty() ? Folders::UserDataFolder() + QLatin1String("previous")
                               : copyFolder_;
}

bool TSafeSave::SaveInPlace(const TTarget &target, const QByteArray &bytes, bool folderWritable,
                            QString &detail) {
  // The file's other names must keep seeing it (or its folder takes no new file), so it is
  // overwritten in place. First its previous content is copied and checked: beside it under
  // the hidden name of a previous copy (which the next open of the file finds, should this
  // save be stopped half-way), or in the user's own folder when the file's folder cannot be
  // written. Once the file holds the new content, the copy becomes the backup or goes.
  QByteArray previous;
  if (!ReadWhole(target.path, previous)) {
    detail = QStringLiteral("The previous version could not be read.");
    return false;
  }
  const bool toBackup = !target.backupName.isEmpty();
  QString copyPath;
  if (folderWritable) {
    copyPath = SafeSaveFiles::PreviousCopyName(target.path);
  } else {
    // The only backup there can be: it is kept when backups are on.
    QDir().mkpath(CopyFolder());
    copyPath =
        QFileInfo(CopyFolder() + u'/' + SaveNames::FileNamePart(target.path)).absoluteFilePath();
  }
  QString copyDetail;
  if (!WriteVerifiedCopy(copyPath, target, previous, copyDetail)) {
    detail = QLatin1String("No safe copy of the previous version could be made: ") + copyDetail;
    return false;
  }

  auto overwrite = [&target](const QByteArray &content, TByteWriter &writer, QString &why) {
    const int fd = ::open(Native(target.path).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
      why = ErrnoText(errno);
      return false;
    }
    bool ok = WriteAll(fd, content, writer, why);
    if (::close(fd) != 0 && ok) {
      why = ErrnoText(errno);
      ok = false;
    }
    return ok;
  };
  auto dropCopy = [&] {
    ::unlink(Native(copyPath).constData());
    if (folderWritable) SyncFolder(FolderOf(target.path));
  };
  if (overwrite(bytes, *writer_, detail)) {
    if (!toBackup) {
      dropCopy();
    } else if (!folderWritable) {
      keptCopy_ = copyPath;
    } else {
      const QString backupPath = QDir::cleanPath(QFileInfo(target.backupName).absoluteFilePath());
      if (::rename(Native(copyPath).constData(), Native(backupPath).constData()) == 0)
        SyncFolder(FolderOf(target.path));
      else
        dropCopy();
    }
    return true;
  }
  QString restoreDetail;
  if (overwrite(previous, plainWriter_, restoreDetail)) {
    dropCopy();
    return false;
  }
  detail += QLatin1String(" The previous version is kept in ") + copyPath + u'.';
  return false;
}

QString TSafeSave::InterruptedCopyOf(const QString &fileName) {
  const QString path = ResolveTarget(fileName);
  if (path.isEmpty()) return QString();
  QString copyPath = SafeSaveFiles::PreviousCopyName(path);
  if (!QFileInfo::exists(copyPath)) return QString();
  QByteArray kept;
  QByteArray current;
  if (!ReadWhole(copyPath, kept)) return QString();
  // Stopped before it changed the file: the copy holds nothing the file does not.
  if (ReadWhole(path, current) && current == kept) {
    ::unlink(Native(copyPath).constData());
    return QString();
  }
  return copyPath;
}
