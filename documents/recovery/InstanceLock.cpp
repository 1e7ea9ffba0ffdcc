// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/recovery/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

TInstanceLock::TInstanceLock(QString folder, QString id, int fd)
    : folder_(std::move(folder)), id_(std::move(id)), fd_(fd) {}

TInstanceLock::~TInstanceLock() {
  // The lock file goes when the copy leaves no recovery copies behind; unlinking while still
  // locked keeps another program from locking the file at the moment it disappears.
  const QStringList left =
      QDir(folder_).entryList({id_ + QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
  if (left.size() == 1 && left.first() == id_ + QStringLiteral(".lock"))
    ::unlink(QFile::encodeName(LockFile()).constData());
  ::close(fd_);
}

QString TInstanceLock::LockFile() const { return folder_ + id_ + QStringLiteral(".lock"); }

bool TInstanceLock::IsId(const QString &id) {
  static const QRegularExpression pattern(QStringLiteral("^[0-9]+-[0-9a-f]{8}$"));
  return pattern.match(id).hasMatch();
}

// Opens and locks path; -1 when another process holds it or the file vanished meanwhile.
int TInstanceLock::lock(const QString &path) {
  const QByteArray name = QFile::encodeName(path);
  const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  // The file may have been removed by its owner between open and lock: then this lock holds
  // a file nobody else can see, and counts for nothing.
  struct stat held, named;
  if (::fstat(fd, &held) != 0 || ::stat(name.constData(), &named) != 0 ||
      held.st_ino != named.st_ino || held.st_dev != named.st_dev) {
    ::close(fd);
    return -1;
  }
  return fd;
}

std::unique_ptr<TInstanceLock> TInstanceLock::Create(const QString &folder) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    const QString id =
        QString::number(QCoreApplication::applicationPid()) + u'-' +
        QStringLiteral("%1").arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0'));
    const QString path = folder + id + QStringLiteral(".lock");
    if (QFile::exists(path)) continue;
    const int fd = lock(path);
    if (fd >= 0) return std::unique_ptr<TInstanceLock>(new TInstanceLock(folder, id, fd));
  }
  return nullptr;
}

std::unique_ptr<TInstanceLock> TInstanceLock::TryTake(const QString &folder, const QString &id) {
  if (!IsId(id)) return nullptr;
  const int fd = lock(folder + id + QStringLiteral(".lock"));
  if (fd < 0) return nullptr;
  return std::unique_ptr<TInstanceLock>(new TInstanceLock(folder, id, fd));
}
