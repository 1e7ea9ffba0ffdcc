// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/core/SettingsStore.h"

#include <sys/stat.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

#include "settings/core/RegFile.h"
#include "settings/core/SettingsError.h"

const QString TSettingsStore::HiveName = QStringLiteral("HKEY_CURRENT_USER");

namespace {
// How long a commit waits for another copy's lock before it gives up, and the age after which
// a lock counts as left behind. A copy that died while it held the lock is seen at once; one
// killed while it was still writing the lock file leaves a file naming nobody, which only its
// age can clear, so the wait outlasts that age. A commit holds the lock for milliseconds.
constexpr int LockWaitMs = 15000;
constexpr int StaleLockMs = 8000;
}  // namespace

struct TSettingsStore::TChange {
  enum TKind { CreateKey, SetValue, DeleteValue, DeleteKey } kind;
  QStringList path;  // below the hive
  TRegValue value;   // SetValue: the value; DeleteValue: its name in value.name
};

TSettingsStore::TSettingsStore(const QString &filePath) : filePath_(filePath) {}

TSettingsStore::~TSettingsStore() = default;

QString TSettingsStore::UserFilePath() {
  QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (config.isEmpty() || !QDir::isAbsolutePath(config))
    config = QDir::homePath() + QStringLiteral("/.config");
  return config + QStringLiteral("/Kestrelwick/Vellumix.reg");
}

TSettingsStore &TSettingsStore::User() {
  static TSettingsStore store(UserFilePath());
  return store;
}

void TSettingsStore::AddHandle() {
  if (handles_ == 0 && journal_.empty() && loaded_ && StampOf() != stamp_) loaded_ = false;
  ++handles_;
  EnsureLoaded();
}

void TSettingsStore::ReleaseHandle() {
  if (handles_ > 0) --handles_;
  if (handles_ == 0) Commit();
}

QString TSettingsStore::TakeLoadReport() {
  EnsureLoaded();
  return std::exchange(report_, QString());
}

const TRegKey *TSettingsStore::Find(const QStringList &path) {
  EnsureLoaded();
  const TRegKey *hive = root_->Child(HiveName);
  return hive ? hive->Find(path) : nullptr;
}

void TSettingsStore::CheckPath(const QStringList &path) {
  if (path.size() + 1 > TRegKey::MaxDepth) throw ESettingsError::CannotCreateKey(KeyText(path));
  for (const QString &part : path)
    if (part.isEmpty() || part.size() > TRegKey::MaxKeyNameLength)
      throw ESettingsError::CannotCreateKey(KeyText(path));
}

QString TSettingsStore::KeyText(const QStringList &path) {
  return QStringLiteral("\\") + path.join(u'\\');
}

void TSettingsStore::CreateKey(const QStringList &path) {
  CheckPath(path);
  if (!Find(path)) Record({TChange::CreateKey, path, {}});
}

void TSettingsStore::SetValue(const QStringList &path, const TRegValue &value) {
  CheckPath(path);
  if (value.name.size() > TRegKey::MaxValueNameLength || value.text.size() > MaxValueTextLength ||
      value.data.size() > MaxValueTextLength)
    throw ESettingsError::CannotSetData(value.name);
  Record({TChange::SetValue, path, value});
}

void TSettingsStore::DeleteKey(const QStringList &path) {
  if (!path.isEmpty() && Find(path)) Record({TChange::DeleteKey, path, {}});
}

void TSettingsStore::DeleteValue(const QStringList &path, const QString &name) {
  const TRegKey *key = Find(path);
  if (key && key->Value(name))
    Record({TChange::DeleteValue, path, TRegValue::MakeString(name, {})});
}

void TSettingsStore::Record(TChange change) {
  EnsureLoaded();
  Apply(change, *root_);
  journal_.push_back(std::move(change));
}

void TSettingsStore::Apply(const TChange &change, TRegKey &root) {
  TRegKey &hive = root.MakeChild(HiveName);
  switch (change.kind) {
    case TChange::CreateKey:
      hive.Make(change.path);
      break;
    case TChange::SetValue:
      hive.Make(change.path).SetValue(change.value);
      break;
    case TChange::DeleteValue:
      if (TRegKey *key = hive.Find(change.path)) key->RemoveValue(change.value.name);
      break;
    case TChange::DeleteKey:
      if (TRegKey *parent = hive.Find(change.path.mid(0, change.path.size() - 1)))
        parent->RemoveChild(change.path.last());
      break;
  }
}

TSettingsStore::TFileStamp TSettingsStore::StampOf() const {
  TFileStamp stamp;
  struct stat info {};
  if (::stat(QFile::encodeName(filePath_).constData(), &info) != 0) return stamp;
  stamp.exists = true;
  stamp.device = quint64(info.st_dev);
  stamp.inode = quint64(info.st_ino);
  stamp.size = qint64(info.st_size);
  stamp.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return stamp;
}

std::unique_ptr<TRegKey> TSettingsStore::ReadFile(QString &reason, TFileStamp &stamp) const {
  stamp = StampOf();
  if (!stamp.exists) return std::make_unique<TRegKey>();
  QFile file(filePath_);
  if (!file.open(QIODevice::ReadOnly)) {
    reason = file.errorString();
    return nullptr;
  }
  const QByteArray bytes = file.read(RegFile::MaxFileSize + 1);
  if (file.error() != QFileDevice::NoError) {
    reason = file.errorString();
    return nullptr;
  }
  return RegFile::Parse(bytes, &reason);
}

bool TSettingsStore::SetAside(const QString &reason) {
  const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
  QString aside = filePath_ + QStringLiteral(".damaged-") + stamp;
  for (int n = 2; QFileInfo::exists(aside); ++n)
    aside = filePath_ + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
  const bool moved = QFile::rename(filePath_, aside);
  if (moved) {
    report_ = QStringLiteral(
                  "The settings file %1 could not be read (%2).\rIt was kept as %3; "
                  "the default settings apply.")
                  .arg(filePath_, reason, aside);
  } else {
    report_ = QStringLiteral(
                  "The settings file %1 could not be read (%2).\rThe default settings "
                  "apply, and changed settings are not saved over it.")
                  .arg(filePath_, reason);
  }
  return moved;
}

void TSettingsStore::EnsureLoaded() {
  if (!loaded_) Load();
}

void TSettingsStore::Load() {
  loaded_ = true;
  readOnly_ = false;
  QString reason;
  root_ = ReadFile(reason, stamp_);
  if (!root_) {
    readOnly_ = !SetAside(reason);
    root_ = std::make_unique<TRegKey>();
    stamp_ = StampOf();
  }
}

void TSettingsStore::Commit() {
  if (journal_.empty()) return;
  // The reason is a sentence without its full stop, which the message box showing it adds.
  auto failure = [this](const QString &reason) {
    return ESettingsError(ESettingsError::CannotSetData(filePath_).Message() + u'\r' + reason);
  };
  if (readOnly_) throw failure(QStringLiteral("The file could not be read, so it is not replaced"));
  const QFileInfo info(filePath_);
  if (!QDir().mkpath(info.absolutePath()))
    throw failure(QStringLiteral("Cannot create the folder"));

  QLockFile lock(filePath_ + QStringLiteral(".lock"));
  lock.setStaleLockTime(StaleLockMs);
  if (!lock.tryLock(LockWaitMs))
    throw failure(QStringLiteral("Another copy of the program keeps the file locked"));

  // Apply this copy's changes to what is in the file now.
  QString reason;
  TFileStamp diskStamp;
  std::unique_ptr<TRegKey> merged = ReadFile(reason, diskStamp);
  if (!merged) {
    // Damaged since it was loaded: keep it aside and write this copy's whole tree.
    SetAside(reason);
    merged = root_->Clone();
  } else {
    for (const TChange &change : journal_) Apply(change, *merged);
  }
  const QByteArray bytes = RegFile::Serialize(*merged);
  if (bytes.size() > RegFile::MaxFileSize)
    throw failure(QStringLiteral("The settings grew too large"));

  const bool existed = diskStamp.exists;
  QSaveFile file(filePath_);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
    throw failure(file.errorString());
  if (!existed) QFile::setPermissions(filePath_, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

  root_ = std::move(merged);
  journal_.clear();
  stamp_ = StampOf();
}
