// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <memory>
#include <vector>

#include "documents/recovery/InstanceLock.h"
#include "documents/recovery/RecoveryRecord.h"

// A recovery copy found at start-up that no running program owns.
struct TFoundCopy {
  QString path;
  TRecoveryRecord record;
};

// The copies left by programs that ended without closing their documents, taken over by this
// program for as long as the claim lives: no other copy of the program sees them meanwhile.
// Copies not recovered or discarded stay for the next start.
class TRecoveryClaim {
 public:
  std::vector<TFoundCopy> copies;  // oldest change first
  QStringList notes;               // files skipped, and why

 private:
  friend class TRecoveryStore;
  std::vector<std::unique_ptr<TInstanceLock>> locks_;
};

// The recovery folder of this program: its own copies, written on a worker thread so that
// typing never waits for the disk, and the copies of programs that ended unexpectedly.
//
// Files: "<id>.lock" (held while the program with that id runs), "<id>.<n>.vxr" (one copy per
// document), "damaged/" (copies that could not be read, kept for the user).
class TRecoveryStore {
 public:
  // $XDG_STATE_HOME/vellumix/recovery/ (default ~/.local/state/vellumix/recovery/).
  static QString DefaultFolder();

  // Takes this program's lock in folder (created with mode 0700 when missing).
  explicit TRecoveryStore(const QString &folder = DefaultFolder());
  ~TRecoveryStore();
  TRecoveryStore(const TRecoveryStore &) = delete;
  TRecoveryStore &operator=(const TRecoveryStore &) = delete;

  // False when the folder cannot be used; Error() says why.
  bool Ready() const { return lock_ != nullptr; }
  QString Error() const;
  QString Folder() const { return folder_; }
  QString Id() const;

  // The path of a new copy of this program.
  QString NewSlot();
  // Writes the copy at slot in the background; a newer write of the same slot makes an older
  // one that has not started yet unnecessary.
  void Write(const QString &slot, const TRecoveryRecord &record);
  // Removes the copy at slot, after any write of it queued before.
  void Remove(const QString &slot);
  // Makes the found copy at path this program's copy at slot (renamed, never copied).
  void Adopt(const QString &path, const QString &slot);
  // Waits until every queued write and removal is done.
  void Flush();
  // Every copy of this program, and whether each was kept for the next session.
  QStringList OwnCopies() const;

  // Takes the copies of every program that is no longer running. Damaged or foreign files are
  // left out with a note (damaged copies are moved to "damaged/").
  TRecoveryClaim Claim();
  // Removes a found copy (Discard).
  static void Delete(const TFoundCopy &copy);

  // The store the document windows write to; null while recovery copies are off.
  static TRecoveryStore *Active() { return active_; }
  static void SetActive(TRecoveryStore *store) { active_ = store; }

 private:
  quint64 nextGeneration(const QString &slot);
  bool isLatest(const QString &slot, quint64 generation);
  void setError(const QString &error);

  static inline TRecoveryStore *active_ = nullptr;
  QString folder_;
  std::unique_ptr<TInstanceLock> lock_;
  QThreadPool worker_;
  mutable QMutex mutex_;
  QHash<QString, quint64> latest_;  // slot -> generation of the newest queued operation
  QString error_;
  int nextSlot_ = 0;
};
