// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/core/Folders.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString withSlash(QString path) {
  if (!path.endsWith(u'/')) path += u'/';
  return path;
}

QString xdgFolder(const char *variable, const QString &fallbackUnderHome) {
  const QString value = qEnvironmentVariable(variable);
  if (!value.isEmpty() && QDir::isAbsolutePath(value)) return withSlash(value);
  return withSlash(Folders::Home() + fallbackUnderHome);
}

}  // namespace

namespace Folders {

QString ProgramFolder() {
  const QString fromEnv = qEnvironmentVariable("VELLUMIX_DATA_DIR");
  if (!fromEnv.isEmpty()) return withSlash(QDir(fromEnv).absolutePath());
  // <prefix>/bin/vellumix -> <prefix>/share/vellumix; a build tree has the same layout.
  const QString appDir = QCoreApplication::applicationDirPath();
  const QString installed = QDir(appDir + QStringLiteral("/../share/vellumix")).absolutePath();
  if (QFileInfo(installed).isDir()) return withSlash(installed);
  return withSlash(appDir);
}

QString UserDataFolder() {
  return xdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share")) + QStringLiteral("vellumix/");
}

QString UserConfigFolder() {
  return xdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config")) + QStringLiteral("Kestrelwick/");
}

QString Home() { return withSlash(QDir::homePath()); }

QString WritableFolderFor(const QString &name) {
  QString program = ProgramFolder();
  const QString inProgram = program + name;
  const bool writable = QFileInfo::exists(inProgram)
                            ? ::access(QFile::encodeName(inProgram).constData(), W_OK) == 0
                            : ::access(QFile::encodeName(program).constData(), W_OK) == 0;
  if (writable) return program;
  QString user = UserDataFolder();
  QDir().mkpath(user);
  return user;
}

QString ReadablePathOf(const QString &name) {
  QString user = UserDataFolder() + name;
  if (QFileInfo::exists(user)) return user;
  return ProgramFolder() + name;
}

QString FolderOf(const QString &path) {
  const qsizetype slash = path.lastIndexOf(u'/');
  return slash < 0 ? QString() : path.left(slash + 1);
}

QString FileNameOf(const QString &path) { return path.mid(path.lastIndexOf(u'/') + 1); }

}  // namespace Folders
