// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/SafeSaveFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>

#include "platform/core/Folders.h"

namespace {

const QLatin1String TemporaryMark(".vellumix-");
constexpr int RandomLength = 6;
// Tries before giving up on finding a free temporary name.
constexpr int MaxAttempts = 100;

bool IsRandomCharacter(QChar c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

QString RandomPart() {
  static const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  QString part;
  for (int i = 0; i < RandomLength; ++i)
    part += QLatin1Char(alphabet[QRandomGenerator::global()->bounded(int(sizeof alphabet - 1))]);
  return part;
}

// A fresh temporary name beside path; the random part is filled in by the caller's tries.
QString TemporaryName(const QString &path) {
  static const QByteArray suffix = QByteArray(TemporaryMark.data()) + QByteArray(RandomLength, 'X');
  QString name = SafeSaveFiles::HiddenName(SafeSaveFiles::FolderOf(path), Folders::FileNameOf(path),
                                           QLatin1String(suffix));
  name.replace(name.size() - RandomLength, RandomLength, RandomPart());
  return name;
}

bool Older(const struct stat &st, const timespec &before) {
  return st.st_mtim.tv_sec < before.tv_sec ||
         (st.st_mtim.tv_sec == before.tv_sec && st.st_mtim.tv_nsec < before.tv_nsec);
}

}  // namespace

namespace SafeSaveFiles {

QByteArray Native(const QString &path) { return QFile::encodeName(path); }

QString FolderOf(const QString &path) {
  const QString folder = Folders::FolderOf(path);  // with its closing '/'
  return folder.size() > 1 ? folder.chopped(1) : QStringLiteral("/");
}

QString HiddenName(const QString &folder, QString name, QLatin1String suffix) {
  long limit = ::pathconf(Native(folder).constData(), _PC_NAME_MAX);
  if (limit <= 0) limit = NAME_MAX;
  while (!name.isEmpty() && Native(name).size() + 1 + suffix.size() > limit) name.chop(1);
  if (!name.isEmpty() && name.back().isHighSurrogate()) name.chop(1);  // never half a character
  return (folder == u'/' ? QString() : folder) + QLatin1String("/.") + name + suffix;
}

int CreateTemporary(const QString &path, mode_t mode, QString &tempName) {
  for (int attempt = 0; attempt < MaxAttempts; ++attempt) {
    const QString name = TemporaryName(path);
    const int fd =
        ::open(Native(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode & 07777);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return -1;
    }
    // Held until the file is closed (or the process ends, however it ends). A clean-up that
    // took the file between its creation and this lock has removed it: take another name.
    struct stat st {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &st) == 0 && st.st_nlink > 0) {
      tempName = name;
      return fd;
    }
    ::close(fd);
  }
  errno = EEXIST;
  return -1;
}

QString TemporaryLink(const QString &existing, const QString &nearPath) {
  for (int attempt = 0; attempt < MaxAttempts; ++attempt) {
    QString name = TemporaryName(nearPath);
    if (::link(Native(existing).constData(), Native(name).constData()) == 0) return name;
    if (errno != EEXIST) return QString();
  }
  return QString();
}

bool IsTemporaryName(const QString &name) {
  if (!name.startsWith(u'.') || name.size() < 1 + TemporaryMark.size() + RandomLength) return false;
  const qsizetype mark = name.size() - RandomLength - TemporaryMark.size();
  if (QStringView(name).sliced(mark, TemporaryMark.size()) != TemporaryMark) return false;
  for (qsizetype i = name.size() - RandomLength; i < name.size(); ++i)
    if (!IsRandomCharacter(name[i])) return false;
  return true;
}

void RemoveStale(const QString &folder, const timespec &before) {
  DIR *dir = ::opendir(Native(folder).constData());
  if (!dir) return;
  const int dirFd = ::dirfd(dir);
  while (const dirent *entry = ::readdir(dir)) {
    if (entry->d_name[0] != '.' || !IsTemporaryName(QFile::decodeName(entry->d_name))) continue;
    const int fd = ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat held {};
    struct stat named {};
    // Only when no save holds it, and the name still names the file that was checked.
    if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && held.st_uid == ::geteuid() &&
        Older(held, before) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::fstatat(dirFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        named.st_dev == held.st_dev && named.st_ino == held.st_ino)
      ::unlinkat(dirFd, entry->d_name, 0);
    ::close(fd);
  }
  ::closedir(dir);
}

QString PreviousCopyName(const QString &path) {
  return HiddenName(FolderOf(path), Folders::FileNameOf(path), QLatin1String(".previous"));
}

}  // namespace SafeSaveFiles
