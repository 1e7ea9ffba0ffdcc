// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/core/MachineHive.h"

#include <QDir>
#include <QFile>

#include "platform/core/Folders.h"
#include "settings/core/RegFile.h"

namespace {

const QString kHive = QStringLiteral("HKEY_LOCAL_MACHINE");

void mergeKey(const TRegKey &from, TRegKey &into) {
  for (const TRegValue &value : from.Values()) into.SetValue(value);
  for (const auto &child : from.Children()) mergeKey(*child, into.MakeChild(child->Name()));
}

}  // namespace

QStringList TMachineHive::Files() {
  QStringList files{Folders::ProgramFolder() + QStringLiteral("machine.reg")};
  QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
  if (dirs.isEmpty()) dirs = QStringLiteral("/etc/xdg");
  for (const QString &dir : dirs.split(u':', Qt::SkipEmptyParts))
    if (QDir::isAbsolutePath(dir))
      files << QDir::cleanPath(dir) + QStringLiteral("/vellumix/machine.reg");
  return files;
}

TMachineHive TMachineHive::Load() {
  TMachineHive hive;
  for (const QString &name : Files()) {
    QFile file(name);
    if (!file.exists()) continue;
    if (file.size() > RegFile::MaxFileSize || !file.open(QIODevice::ReadOnly)) {
      hive.errors_ << QStringLiteral("%1: cannot be read").arg(name);
      continue;
    }
    hive.Merge(file.read(RegFile::MaxFileSize), name);
  }
  return hive;
}

void TMachineHive::Merge(QByteArrayView bytes, const QString &fileName) {
  QString error;
  const std::unique_ptr<TRegKey> tree = RegFile::Parse(bytes, &error);
  if (!tree) {
    errors_ << QStringLiteral("%1: %2").arg(fileName, error);
    return;
  }
  // Only the machine-wide hive counts; keys of other hives in such a file are ignored.
  if (const TRegKey *machine = tree->Child(kHive)) mergeKey(*machine, *root_);
}

const TRegKey *TMachineHive::Key(const QString &path) const {
  return root_->Find(TRegKey::SplitPath(path));
}
