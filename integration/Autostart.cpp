// SPDX-License-Identifier: GPL-3.0-or-later
#include "integration/Autostart.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "integration/DesktopEntry.h"
#include "integration/KeyFile.h"
#include "platform/core/Folders.h"

namespace {

bool firstWrite = true;

const QString kGroup = QStringLiteral("Desktop Entry");

QString withAutostart(const QString &base) {
  return QDir::cleanPath(base) + QStringLiteral("/autostart/");
}

}  // namespace

TAutostart::TAutostart(const QString &appName, QString programPath)
    : appName_(appName.isEmpty()
                   ? QCoreApplication::applicationName() + QStringLiteral("#Autostart")
                   : appName),
      programPath_(programPath.isEmpty() ? QCoreApplication::applicationFilePath()
                                         : std::move(programPath)) {}

void TAutostart::LoadMainWindowValues(TAutostart &component) {
  component.SetAppName(QStringLiteral("Ambrel 4#Autostart"));
  component.SetAutostart(false);
  component.SetStartNextLogon(false);
  component.SetGlobal(true);
}

void TAutostart::ResetFirstWrite() { firstWrite = true; }

QString TAutostart::UserFolder() {
  const QString value = qEnvironmentVariable("XDG_CONFIG_HOME");
  return withAutostart(QDir::isAbsolutePath(value) ? value
                                                   : Folders::Home() + QStringLiteral(".config"));
}

QString TAutostart::SystemFolder() {
  for (const QString &dir : qEnvironmentVariable("XDG_CONFIG_DIRS").split(u':', Qt::SkipEmptyParts))
    if (QDir::isAbsolutePath(dir)) return withAutostart(dir);
  return withAutostart(QStringLiteral("/etc/xdg"));
}

QString TAutostart::SafeFileName(const QString &appName) {
  QString name;
  for (const QChar c : appName)
    name += (c.isLetterOrNumber() && c.unicode() < 128) || c == u'_' || c == u'.' || c == u'-'
                ? c
                : QChar(u'-');
  return name;
}

QString TAutostart::EntryPath(TList list, bool machineWide) const {
  const QString folder = machineWide ? SystemFolder() : UserFolder();
  return folder + SafeFileName(appName_) +
         (list == TList::RunOnce ? QStringLiteral("-once") : QString()) +
         QStringLiteral(".desktop");
}

bool TAutostart::EntryExists(TList list, bool machineWide) const {
  if (appName_.isEmpty()) return false;
  TKeyFile entry;
  if (!QFile::exists(EntryPath(list, machineWide)) || !entry.Load(EntryPath(list, machineWide)))
    return false;
  return !entry.Value(kGroup, QStringLiteral("Exec")).isEmpty();
}

bool TAutostart::WriteEntry(TList list, bool machineWide, bool enable) {
  if (firstWrite) {
    enable = EntryExists(TList::Run, global_);
    firstWrite = false;
  }
  return putEntry(list, machineWide, enable);
}

bool TAutostart::putEntry(TList list, bool machineWide, bool enable) {
  if (appName_.isEmpty()) return false;
  const QString path = EntryPath(list, machineWide);
  if (!enable) {
    QFile::remove(path);
    return false;
  }
  TKeyFile entry;
  entry.Parse(QStringLiteral("[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Vellumix\n"
                             "Comment=Start Vellumix when you log in\n"
                             "Icon=vellumix\n"
                             "Terminal=false\n")
                  .toUtf8());
  entry.SetValue(kGroup, QStringLiteral("Exec"), DesktopEntry::ExecArgument(programPath_));
  entry.SetValue(kGroup, QStringLiteral("X-Vellumix-Entry"), appName_);
  return entry.Save(path);
}

void TAutostart::SetAutostart(bool value) { autostart_ = WriteEntry(TList::Run, global_, value); }

void TAutostart::SetStartNextLogon(bool value) {
  startNextLogon_ = WriteEntry(TList::RunOnce, global_, value);
}

bool TAutostart::machineWideWritable() const {
  // Asked without writing anything: the autostart folder, or when it is not there yet the
  // configuration folder it would be made in, must be a folder this user may add files to.
  const QString folder = QDir::cleanPath(SystemFolder());
  const QFileInfo info(QFileInfo::exists(folder) ? folder : QFileInfo(folder).path());
  return info.isDir() && ::access(QFile::encodeName(info.filePath()).constData(), W_OK | X_OK) == 0;
}

void TAutostart::SetGlobal(bool value) {
  if (value && !machineWideWritable()) value = false;
  if (value != global_) {
    for (const TList list : {TList::Run, TList::RunOnce}) {
      if (EntryExists(list, global_)) {
        WriteEntry(list, value, true);
        WriteEntry(list, global_, false);
      }
    }
  }
  global_ = value;
}

void TAutostart::SetAppName(const QString &name) {
  if (name.compare(appName_, Qt::CaseInsensitive) == 0) return;
  struct TFound {
    TList list;
    bool machineWide;
  };
  QList<TFound> found;
  for (const bool machineWide : {false, true})
    for (const TList list : {TList::Run, TList::RunOnce})
      if (EntryExists(list, machineWide)) found.append({list, machineWide});
  for (const TFound &f : found) QFile::remove(EntryPath(f.list, f.machineWide));
  appName_ = name;
  for (const TFound &f : found) putEntry(f.list, f.machineWide, true);
  autostart_ = EntryExists(TList::Run, global_);
  startNextLogon_ = EntryExists(TList::RunOnce, global_);
}
