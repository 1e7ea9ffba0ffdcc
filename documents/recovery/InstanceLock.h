// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>

// The lock a running copy of the program holds on its own recovery copies: a lock file
// "<id>.lock" in the recovery folder, locked for as long as the copy runs. The system drops
// the lock when the process ends in any way (a crash, kill -9), so a copy whose lock can be
// taken belongs to no running program.
class TInstanceLock {
 public:
  ~TInstanceLock();
  TInstanceLock(const TInstanceLock &) = delete;
  TInstanceLock &operator=(const TInstanceLock &) = delete;

  // A new id, locked: the running program's own lock. Null when the folder cannot be written.
  static std::unique_ptr<TInstanceLock> Create(const QString &folder);
  // Takes the lock of the copy with this id when no running program holds it; null otherwise.
  static std::unique_ptr<TInstanceLock> TryTake(const QString &folder, const QString &id);

  QString Id() const { return id_; }
  QString LockFile() const;
  // True when id looks like one that Create makes (recovery files start with it).
  static bool IsId(const QString &id);

 private:
  TInstanceLock(QString folder, QString id, int fd);
  static int lock(const QString &path);

  QString folder_;
  QString id_;
  int fd_ = -1;
};
