// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "spell/ui/AbsSpellDialog.h"

// The third dialog style: a frameless strip with the word box, a short suggestion list and
// two blocks of buttons. Leaving the word box checks the typed word.
class TW96SpellDlg : public TAbsSpellDialog {
  Q_OBJECT
 public:
  explicit TW96SpellDlg(QWidget *parent = nullptr);
  ~TW96SpellDlg() override;

  void SetMisspeltWord(const QString &text) override;
  void ShowAccents(TAccentSet accents) override;
  void ApplyLanguage(int language) override;

 private:
  // The focus left the word box for now: a known word says so and moves on to Replace.
  void WordExit(QWidget *now);

  QLabel *lblSpellChk = nullptr;
  QPushButton *btnReplaceAll = nullptr;
  QPushButton *btnSkipAll = nullptr;
  QPushButton *btnSkip = nullptr;
  QPushButton *btnAdd = nullptr;
  QPushButton *btnClose = nullptr;
};
