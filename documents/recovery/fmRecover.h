// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "documents/recovery/RecoveryStore.h"

class QLabel;
class QPushButton;
class QTreeWidget;

// The start-up window that offers the documents of a program that ended without closing
// them: each document's name, when it was last changed and, for a document with a file,
// whether that file changed on disk since. Recover (the default), Discard or Decide Later.
class TfrmRecover : public QDialog {
  Q_OBJECT

 public:
  enum class TChoice { Recover, Discard, Later };

  TfrmRecover(const TRecoveryClaim &claim, QWidget *parent = nullptr);

  // Shows the window modally; Discard asks once more before the text is thrown away.
  static TChoice Run(const TRecoveryClaim &claim, QWidget *parent);

  TChoice Choice() const { return choice_; }
  QTreeWidget *lstDocuments() const { return lstDocuments_; }

  // "unchanged", "changed since", "no longer there" or "never saved" for a found copy.
  static QString DiskState(const TRecoveryRecord &record);

 private:
  void choose(TChoice choice);

  QTreeWidget *lstDocuments_;
  TChoice choice_ = TChoice::Later;
};
