// SPDX-License-Identifier: GPL-3.0-or-later
#include "integration/DefaultEditor.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "integration/DesktopEntry.h"
#include "integration/KeyFile.h"
#include "platform/core/Folders.h"

namespace {

QString configHome() {
  const QString value = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (QDir::isAbsolutePath(value)) return QDir::cleanPath(value) + u'/';
  return Folders::Home() + QStringLiteral(".config/");
}

}  // namespace

TDefaultEditor::TDefaultEditor(QString programPath, QString desktopId)
    : programPath_(std::move(programPath)),
      id_(desktopId.isEmpty() ? DesktopEntry::ProgramId() : std::move(desktopId)) {}

QString TDefaultEditor::MimeAppsPath() const {
  return configHome() + QStringLiteral("mimeapps.list");
}

QString TDefaultEditor::BackupPath() const {
  return Folders::UserDataFolder() + QStringLiteral("mimeapps.bak");
}

QStringList TDefaultEditor::Defaults() const {
  TKeyFile file;
  if (!file.Load(MimeAppsPath())) return {};
  return file.Value(Group(), MimeType()).split(u';', Qt::SkipEmptyParts);
}

bool TDefaultEditor::IsDefault() const {
  const QStringList ids = Defaults();
  return !ids.isEmpty() && ids.first().trimmed().compare(id_, Qt::CaseInsensitive) == 0;
}

bool TDefaultEditor::MakeDefault() {
  error_.clear();
  TKeyFile file;
  if (!file.Load(MimeAppsPath())) {
    error_ = file.Error();
    return false;
  }
  // The launcher entry must exist, or the desktop passes over the default it names.
  if (!DesktopEntry::EnsureProgramEntry(programPath_, &error_)) return false;
  const QString previous = file.Value(Group(), MimeType());
  if (!QFile::exists(BackupPath())) {
    QDir().mkpath(Folders::UserDataFolder());
    QSaveFile backup(BackupPath());
    if (!backup.open(QIODevice::WriteOnly) || backup.write(previous.toUtf8() + '\n') < 0 ||
        !backup.commit()) {
      error_ = QStringLiteral("%1: %2").arg(BackupPath(), backup.errorString());
      return false;
    }
  }
  // This program first; the others named before stay behind it as fall-backs.
  QStringList ids{id_};
  for (const QString &id : previous.split(u';', Qt::SkipEmptyParts))
    if (id.trimmed().compare(id_, Qt::CaseInsensitive) != 0) ids << id.trimmed();
  file.SetValue(Group(), MimeType(), ids.join(u';') + u';');
  if (file.Save(MimeAppsPath())) return true;
  error_ = file.Error();
  return false;
}

bool TDefaultEditor::Undo() {
  error_.clear();
  TKeyFile file;
  if (!file.Load(MimeAppsPath())) {
    error_ = file.Error();
    return false;
  }
  QFile backup(BackupPath());
  if (backup.open(QIODevice::ReadOnly)) {
    const QString previous = QString::fromUtf8(backup.readLine(TKeyFile::MaxSize)).trimmed();
    backup.close();
    if (previous.isEmpty())
      file.Remove(Group(), MimeType());
    else
      file.SetValue(Group(), MimeType(), previous);
  } else {
    QStringList ids;
    for (const QString &id : file.Value(Group(), MimeType()).split(u';', Qt::SkipEmptyParts))
      if (id.trimmed().compare(id_, Qt::CaseInsensitive) != 0) ids << id.trimmed();
    if (ids.isEmpty())
      file.Remove(Group(), MimeType());
    else
      file.SetValue(Group(), MimeType(), ids.join(u';') + u';');
  }
  if (!file.Save(MimeAppsPath())) {
    error_ = file.Error();
    return false;
  }
  QFile::remove(BackupPath());
  return true;
}
