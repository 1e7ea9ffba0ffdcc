#include "SafeSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <climits>
#include <cstring>

#include "Folders.h"
#include "SaveNames.h"

namespace {
QByteArray Native(const QString &path) { return QFile::encodeName(path); }

QString FolderOf(const QString &path) {
  return path.left(std::max<qsizetype>(path.lastIndexOf(u'/'), 1));
}

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

mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
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

// A hidden name of the program's own in folder: "." + name + suffix, the name shortened (by
// whole characters) so that the whole fits the file system's limit on a name's length.
QString HiddenName(const QString &folder, QString name, QLatin1String suffix) {
  long limit = ::pathconf(Native(folder).constData(), _PC_NAME_MAX);
  if (limit <= 0) limit = NAME_MAX;
  while (!name.isEmpty() && Native(name).size() + 1 + suffix.size() > limit) name.chop(1);
  if (!name.isEmpty() && name.back().isHighSurrogate()) name.chop(1);  // never half a character
  return folder + QLatin1String("/.") + name + suffix;
}

// A temporary file next to path, opened for writing; -1 with errno set on failure.
int CreateTemporary(const QString &path, QString &tempName) {
  QByteArray pattern =
      Native(HiddenName(FolderOf(path), SaveNames::FileNamePart(path), QLatin1String(".XXXXXX")));
  const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd >= 0) tempName = QFile::decodeName(pattern);
  return fd;
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
  const bool folderWritable = ::access(Native(FolderOf(target.path)).constData(), W_OK | X_OK) == 0;
  QString detail;
  const bool saved = target.exists && (target.st.st_nlink > 1 || !folderWritable)
                         ? SaveInPlace(target, bytes, folderWritable, detail)
                         : SaveReplacing(target, bytes, *writer_, detail);
  if (!saved) return fail(detail);
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
  const int fd = CreateTemporary(target.path, tempName);
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
  if (ok) {
    if (target.exists) {
      // Keep owner and group where allowed (only a privileged process may give a file away;
      // a member of the group may still keep the group), then the permissions, which a
      // change of owner could otherwise clear.
      if (::fchown(fd, target.st.st_uid, target.st.st_gid) != 0)
        (void)!::fchown(fd, uid_t(-1), target.st.st_gid);
      ::fchmod(fd, target.st.st_mode & 07777);
    } else {
      ::fchmod(fd, NewFileMode());
    }
  }
  if (::close(fd) != 0 && ok) {
    detail = ErrnoText(errno);
    ok = false;
  }
  if (ok && target.exists) MakeBackupOf(target);
  if (ok && ::rename(Native(tempName).constData(), Native(target.path).constData()) != 0) {
    detail = ErrnoText(errno);
    ok = false;
  }
  if (!ok) {
    ::unlink(Native(tempName).constData());
    return false;
  }
  SyncFolder(FolderOf(target.path));
  return true;
}

void TSafeSave::MakeBackupOf(const TTarget &target) {
  if (target.backupName.isEmpty()) return;
  const QString backupPath = QDir::cleanPath(QFileInfo(target.backupName).absoluteFilePath());
  if (backupPath == target.path) return;
  // A second name for the previous file's content, put in place in one step: the backup
  // shares the previous file's content and attributes without copying them.
  const QString linkName =
      HiddenName(FolderOf(backupPath), SaveNames::FileNamePart(backupPath), QLatin1String(".link"));
  ::unlink(Native(linkName).constData());
  if (target.st.st_nlink == 1 &&
      ::link(Native(target.path).constData(), Native(linkName).constData()) == 0) {
    if (::rename(Native(linkName).constData(), Native(backupPath).constData()) != 0)
      ::unlink(Native(linkName).constData());
    return;
  }
  // Another file system, or the file has further links: copy the content instead.
  QByteArray previous;
  QString ignored;
  if (ReadWhole(target.path, previous)) {
    TTarget copy;
    copy.path = backupPath;
    SaveReplacing(copy, previous, plainWriter_, ignored);
    ::chmod(Native(backupPath).constData(), target.st.st_mode & 07777);
  }
}

bool TSafeSave::WriteVerifiedCopy(const QString &path, const QByteArray &bytes, QString &detail) {
  TTarget copy;
  copy.path = path;
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
  // overwritten in place; first its previous content is copied (to the backup, to a hidden
  // copy beside it, or to the user's own folder when the file's folder cannot be written) and
  // checked.
  QByteArray previous;
  if (!ReadWhole(target.path, previous)) {
    detail = QStringLiteral("The previous version could not be read.");
    return false;
  }
  QString copyPath;
  bool toBackup = !target.backupName.isEmpty();
  if (!folderWritable) {
    // The only backup there can be: it is kept when backups are on.
    QDir().mkpath(CopyFolder());
    copyPath =
        QFileInfo(CopyFolder() + u'/' + SaveNames::FileNamePart(target.path)).absoluteFilePath();
  } else if (toBackup) {
    copyPath = QDir::cleanPath(QFileInfo(target.backupName).absoluteFilePath());
  } else {
    copyPath = HiddenName(FolderOf(target.path), SaveNames::FileNamePart(target.path),
                          QLatin1String(".previous"));
  }
  QString copyDetail;
  if (!WriteVerifiedCopy(copyPath, previous, copyDetail)) {
    detail = QLatin1String("No safe copy of the previous version could be made: ") + copyDetail;
    return false;
  }
  ::chmod(Native(copyPath).constData(), target.st.st_mode & 07777);

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
  if (overwrite(bytes, *writer_, detail)) {
    if (toBackup && !folderWritable) keptCopy_ = copyPath;
    if (!toBackup) ::unlink(Native(copyPath).constData());
    return true;
  }
  QString restoreDetail;
  if (overwrite(previous, plainWriter_, restoreDetail)) {
    if (!toBackup) ::unlink(Native(copyPath).constData());
    return false;
  }
  detail += QLatin1String(" The previous version is kept in ") + copyPath + u'.';
  return false;
}
