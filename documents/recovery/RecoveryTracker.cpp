// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/recovery/RecoveryTracker.h"

#include <QDateTime>
#include <QFile>

#include "documents/edit/EditControl.h"
#include "documents/recovery/RecoveryStore.h"

TRecoveryTracker::TRecoveryTracker(TEditControl &edit, TDescribe describe, QObject *parent)
    : QObject(parent),
      edit_(edit),
      describe_(std::move(describe)),
      knownChange_(edit.ChangeCount()) {
  pause_.setSingleShot(true);
  longest_.setSingleShot(true);
  connect(&pause_, &QTimer::timeout, this, &TRecoveryTracker::startCopy);
  connect(&longest_, &QTimer::timeout, this, &TRecoveryTracker::startCopy);
}

// A document window that goes away without being closed (the program ends) keeps its copy.
TRecoveryTracker::~TRecoveryTracker() = default;

void TRecoveryTracker::TextChanged() {
  const quint64 change = edit_.ChangeCount();
  if (change == knownChange_) return;  // formatting only
  knownChange_ = change;
  changedMs_ = QDateTime::currentMSecsSinceEpoch();
  schedule();
}

void TRecoveryTracker::ModifiedChanged(bool modified) {
  // The first change of a text may be told before the flag is set: it is written from here.
  if (modified)
    schedule();
  else
    Discard();
}

void TRecoveryTracker::schedule() {
  if (!TRecoveryStore::Active() || !edit_.Modified()) return;
  pause_.start(PauseMs);
  if (!longest_.isActive()) longest_.start(LongestWaitMs);
}

void TRecoveryTracker::Discard() {
  pause_.stop();
  longest_.stop();
  copying_ = false;
  copy_.clear();
  if (TRecoveryStore *store = TRecoveryStore::Active(); store && !slot_.isEmpty())
    store->Remove(slot_);
  slot_.clear();
}

void TRecoveryTracker::Adopt(const QString &path) {
  TRecoveryStore *store = TRecoveryStore::Active();
  if (!store) return;
  if (slot_.isEmpty()) slot_ = store->NewSlot();
  store->Adopt(path, slot_);
  knownChange_ = edit_.ChangeCount();
}

void TRecoveryTracker::startCopy() {
  pause_.stop();
  longest_.stop();
  if (!TRecoveryStore::Active() || !edit_.Modified()) return;
  if (copying_) return;  // the copy under way restarts by itself when the text changed
  copying_ = true;
  restarts_ = 0;
  copy_.clear();
  copyChange_ = edit_.ChangeCount();
  copySlice();
}

void TRecoveryTracker::copySlice() {
  if (!copying_) return;
  if (edit_.ChangeCount() != copyChange_) {
    // Typed into while being copied: start again. When typing keeps overtaking the copy, the
    // copy waits for the next pause in typing rather than ever holding up a key.
    copy_.clear();
    if (++restarts_ > 3) {
      copying_ = false;
      pause_.start(PauseMs);
      return;
    }
    copyChange_ = edit_.ChangeCount();
  }
  const qsizetype total = edit_.PositionCount();
  if (copy_.capacity() < total) copy_.reserve(total);
  const qsizetype from = copy_.size();
  copy_ += edit_.TextRange(from, std::min(total, from + SliceSize));
  if (copy_.size() < total && copy_.size() > from) {
    QTimer::singleShot(0, this, &TRecoveryTracker::copySlice);
    return;
  }
  copying_ = false;
  write(std::exchange(copy_, QString()), false);
}

void TRecoveryTracker::WriteNow(bool session) {
  pause_.stop();
  longest_.stop();
  copying_ = false;
  copy_.clear();
  if (!TRecoveryStore::Active() || !edit_.Modified()) return;
  write(edit_.TextRange(0, edit_.PositionCount()), session);
}

void TRecoveryTracker::write(QString text, bool session) {
  TRecoveryStore *store = TRecoveryStore::Active();
  if (!store || !edit_.Modified()) return;
  TRecoveryRecord record = describe_();
  record.text = std::move(text);
  record.caret = edit_.SelStart() + edit_.SelLength();
  record.changedMs = changedMs_ ? changedMs_ : QDateTime::currentMSecsSinceEpoch();
  record.session = session;
  if (slot_.isEmpty()) slot_ = store->NewSlot();
  store->Write(slot_, record);
}

bool TRecoveryTracker::KeepForSession(bool keep) {
  keptForSession_ = false;
  if (!keep) return false;
  TRecoveryStore *store = TRecoveryStore::Active();
  if (!store || !edit_.Modified()) return false;
  WriteNow(true);
  store->Flush();
  // Only a copy that is on disk lets the document close without its question.
  keptForSession_ =
      !slot_.isEmpty() && RecoveryFile::Parse([this] {
                            QFile file(slot_);
                            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
                          }())
                              .has_value();
  return keptForSession_;
}
