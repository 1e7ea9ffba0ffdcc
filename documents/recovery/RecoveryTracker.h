// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

#include "documents/recovery/RecoveryRecord.h"

class TEditControl;

// Keeps the recovery copy of one document: written a short pause after typing stops, and at
// least every few seconds while typing goes on; removed when the document is no longer
// modified (saved, or changed back) or closed without saving on purpose.
//
// The text is copied from the edit control in slices between events, so that even a document
// of many megabytes never holds up a key press (a copy overtaken by typing again and again
// waits for the next pause); the copy is written on the store's worker.
// Without an active store (TRecoveryStore::Active) nothing is written.
class TRecoveryTracker : public QObject {
  Q_OBJECT

 public:
  // Everything but the text, caret and time: the document's name, file and format now.
  using TDescribe = std::function<TRecoveryRecord()>;

  TRecoveryTracker(TEditControl &edit, TDescribe describe, QObject *parent = nullptr);
  ~TRecoveryTracker() override;

  // Quiet time after the last change before the copy is written, and the longest time a
  // change waits while typing goes on.
  static inline int PauseMs = 1500;
  static inline int LongestWaitMs = 2000;  // with the write, well within 3 s of any keystroke
  // Characters copied from the edit control in one slice.
  static inline qsizetype SliceSize = qsizetype{64} * 1024;

  // The path of this document's copy; empty before the first write.
  QString Slot() const { return slot_; }
  // True while a change waits to be written.
  bool Pending() const { return pause_.isActive() || copying_; }
  // At an exit that keeps the session: the text is written at once as a copy of the session,
  // and the document may then close without asking (false when nothing could be written).
  // KeepForSession(false) takes that back when the exit is cancelled.
  bool KeepForSession(bool keep);
  bool KeptForSession() const { return keptForSession_; }

 public Q_SLOTS:
  // The edit control's text may have changed.
  void TextChanged();
  // The edit control's modified flag changed.
  void ModifiedChanged(bool modified);
  // The document is closed without saving on purpose: its copy goes.
  void Discard();
  // A recovered copy becomes this document's copy.
  void Adopt(const QString &path);
  // Copies and writes the text now, in one go (at a clean exit that keeps the session).
  void WriteNow(bool session = false);

 private:
  void schedule();
  void startCopy();
  void copySlice();
  void write(QString text, bool session);

  TEditControl &edit_;
  TDescribe describe_;
  QTimer pause_;
  QTimer longest_;
  QString slot_;
  quint64 knownChange_ = 0;  // the edit control's change count seen last
  qint64 changedMs_ = 0;
  // The copy in progress.
  bool copying_ = false;
  QString copy_;
  quint64 copyChange_ = 0;
  int restarts_ = 0;
  bool keptForSession_ = false;
};
