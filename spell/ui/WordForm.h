// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "spell/core/AbsBuffer.h"

class QLabel;
class QPushButton;

// The word-count window: the number of words and of distinct words, updated as the count
// goes. Modeless; OK or closing it hides it and so stops a running count.
class TWordForm : public QDialog, public TWordCountView {
  Q_OBJECT
 public:
  explicit TWordForm(QWidget *parent = nullptr);

  void ShowCount() override;
  bool IsShown() const override { return isVisible(); }
  void SetCounts(int words, int unique) override;
  const QObject *Lifetime() const override { return this; }

  QString WordsText() const;
  QString UniqueWordsText() const;

 private:
  QLabel *lblWords = nullptr;
  QLabel *lblUniqueWords = nullptr;
  QPushButton *btnOk = nullptr;
};
