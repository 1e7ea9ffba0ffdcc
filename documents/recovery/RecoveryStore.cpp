// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/recovery/RecoveryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <map>

#include "documents/recovery/PrivateFile.h"

namespace {

// "<id>.<n>.vxr", "<id>.<n>.vxr.tmp<hex>" and "<id>.lock".
const QRegularExpression &namePattern() {
  static const QRegularExpression pattern(
      QStringLiteral("^([0-9]+-[0-9a-f]{8})(?:\\.([0-9]+)\\.vxr(\\.tmp[0-9a-f]+)?|\\.lock)$"));
  return pattern;
}

}  // namespace

QString TRecoveryStore::DefaultFolder() {
  QString state = qEnvironmentVariable("XDG_STATE_HOME");
  if (state.isEmpty() || !QDir::isAbsolutePath(state))
    state = QDir::homePath() + QStringLiteral("/.local/state");
  return state + QStringLiteral("/vellumix/recovery/");
}

TRecoveryStore::TRecoveryStore(const QString &folder) : folder_(folder) {
  if (!folder_.endsWith(u'/')) folder_ += u'/';
  worker_.setMaxThreadCount(1);  // one writer: the operations on a slot keep their order
  worker_.setExpiryTimeout(-1);
  if (!PrivateFile::MakeFolder(folder_)) {
    error_ = QStringLiteral("The folder %1 cannot be made.").arg(folder_);
    return;
  }
  lock_ = TInstanceLock::Create(folder_);
  if (!lock_) error_ = QStringLiteral("The folder %1 cannot be written.").arg(folder_);
}

TRecoveryStore::~TRecoveryStore() {
  Flush();
  if (active_ == this) active_ = nullptr;
}

QString TRecoveryStore::Error() const {
  QMutexLocker locker(&mutex_);
  return error_;
}

void TRecoveryStore::setError(const QString &error) {
  QMutexLocker locker(&mutex_);
  error_ = error;
}

QString TRecoveryStore::Id() const { return lock_ ? lock_->Id() : QString(); }

QString TRecoveryStore::NewSlot() {
  return folder_ + Id() + u'.' + QString::number(++nextSlot_) + QStringLiteral(".vxr");
}

quint64 TRecoveryStore::nextGeneration(const QString &slot) {
  QMutexLocker locker(&mutex_);
  return ++latest_[slot];
}

bool TRecoveryStore::isLatest(const QString &slot, quint64 generation) {
  QMutexLocker locker(&mutex_);
  return latest_.value(slot) == generation;
}

void TRecoveryStore::Write(const QString &slot, const TRecoveryRecord &record) {
  if (!Ready()) return;
  const quint64 generation = nextGeneration(slot);
  worker_.start([this, slot, record, generation] {
    if (!isLatest(slot, generation)) return;  // a newer copy or a removal follows
    QString error;
    if (!PrivateFile::WriteAtomically(slot, RecoveryFile::Serialize(record), &error))
      setError(QStringLiteral("The recovery copy %1 cannot be written: %2").arg(slot, error));
  });
}

void TRecoveryStore::Remove(const QString &slot) {
  if (!Ready()) return;
  nextGeneration(slot);
  worker_.start([slot] { QFile::remove(slot); });
}

void TRecoveryStore::Adopt(const QString &path, const QString &slot) {
  if (!Ready()) return;
  nextGeneration(slot);
  worker_.start([path, slot] {
    ::rename(QFile::encodeName(path).constData(), QFile::encodeName(slot).constData());
  });
}

void TRecoveryStore::Flush() { worker_.waitForDone(); }

QStringList TRecoveryStore::OwnCopies() const {
  if (!Ready()) return {};
  QStringList copies;
  for (const QString &name :
       QDir(folder_).entryList({Id() + QStringLiteral(".*.vxr")}, QDir::Files))
    copies << folder_ + name;
  return copies;
}

void TRecoveryStore::Delete(const TFoundCopy &copy) { QFile::remove(copy.path); }

TRecoveryClaim TRecoveryStore::Claim() {
  TRecoveryClaim claim;
  if (!Ready()) return claim;
  struct TOwner {
    QStringList copies, temporaries;
  };
  std::map<QString, TOwner> owners;
  const QDir dir(folder_);
  for (const QFileInfo &info :
       dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
    const QString name = info.fileName();
    if (name == QLatin1String("damaged") && info.isDir()) continue;
    const QRegularExpressionMatch match = namePattern().match(name);
    if (!match.hasMatch() || !info.isFile()) {
      claim.notes
          << QStringLiteral("%1 is not a recovery copy; it was left alone.").arg(info.filePath());
      continue;
    }
    const QString id = match.captured(1);
    if (id == Id()) continue;
    TOwner &owner = owners[id];
    if (!match.captured(3).isEmpty())
      owner.temporaries << info.filePath();
    else if (!match.captured(2).isEmpty())
      owner.copies << info.filePath();
  }
  for (auto &[id, owner] : owners) {
    std::unique_ptr<TInstanceLock> lock = TInstanceLock::TryTake(folder_, id);
    if (!lock) continue;  // that program still runs: its copies are its own
    // Half-written copies of a program that died while writing: the copy before them is whole.
    for (const QString &temporary : owner.temporaries) QFile::remove(temporary);
    for (const QString &path : owner.copies) {
      QFile file(path);
      QString error = QStringLiteral("it cannot be read");
      std::optional<TRecoveryRecord> record;
      if (file.open(QIODevice::ReadOnly)) {
        if (file.size() > RecoveryFile::MaxFileSize())
          error = QStringLiteral("it is larger than any recovery copy");
        else
          record = RecoveryFile::Parse(file.readAll(), &error);
      }
      if (record) {
        claim.copies.push_back({path, std::move(*record)});
        continue;
      }
      const QString damaged = folder_ + QStringLiteral("damaged/");
      PrivateFile::MakeFolder(damaged);
      const QString kept = damaged + QFileInfo(path).fileName();
      QFile::remove(kept);
      const bool moved = QFile::rename(path, kept);
      claim.notes << QStringLiteral("%1 was skipped: %2. %3")
                         .arg(path, error,
                              moved ? QStringLiteral("It was kept in %1.").arg(damaged)
                                    : QStringLiteral("It was left where it is."));
    }
    claim.locks_.push_back(std::move(lock));
  }
  std::sort(claim.copies.begin(), claim.copies.end(), [](const TFoundCopy &a, const TFoundCopy &b) {
    return a.record.changedMs < b.record.changedMs;
  });
  return claim;
}
