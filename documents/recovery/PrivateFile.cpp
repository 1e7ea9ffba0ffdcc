// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/recovery/PrivateFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>

namespace {

QString reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

bool syncFolder(const QByteArray &folder) {
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

}  // namespace

bool PrivateFile::WriteAtomically(const QString &path, const QByteArray &bytes, QString *error) {
  const QByteArray target = QFile::encodeName(path);
  const qsizetype slash = target.lastIndexOf('/');
  const QByteArray folder =
      slash < 0 ? QByteArray(".") : target.left(std::max<qsizetype>(slash, 1));
  int fd = -1;
  QByteArray temporary;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    temporary = target + ".tmp" + QByteArray::number(QRandomGenerator::global()->generate(), 16);
    fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    if (error) *error = reason(errno);
    return false;
  }
  auto failed = [&](int code) {
    ::close(fd);
    ::unlink(temporary.constData());
    if (error) *error = reason(code);
    return false;
  };
  const char *data = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, data, size_t(std::min<qsizetype>(left, 1 << 20)));
    if (written < 0) {
      if (errno == EINTR) continue;
      return failed(errno);
    }
    data += written;
    left -= written;
  }
  // A umask cannot widen 0600, but a file system that ignored the mode is corrected here.
  if (::fchmod(fd, 0600) != 0 || ::fsync(fd) != 0) return failed(errno);
  if (::close(fd) != 0) {
    const int code = errno;
    ::unlink(temporary.constData());
    if (error) *error = reason(code);
    return false;
  }
  if (::rename(temporary.constData(), target.constData()) != 0) {
    const int code = errno;
    ::unlink(temporary.constData());
    if (error) *error = reason(code);
    return false;
  }
  syncFolder(folder);  // the rename itself reaches the disk
  return true;
}

bool PrivateFile::MakeFolder(const QString &path) {
  if (!QDir().mkpath(path)) return false;
  return ::chmod(QFile::encodeName(path).constData(), 0700) == 0;
}
