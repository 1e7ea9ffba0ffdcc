// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "spell/ui/AbsSpellDialog.h"

// The first dialog style: word and replacement on the left, a column of command buttons with
// pictures on the right.
class TWPSpellDlg : public TAbsSpellDialog {
  Q_OBJECT
 public:
  explicit TWPSpellDlg(QWidget *parent = nullptr);

  void SetMisspeltWord(const QString &text) override;
  void ShowAccents(TAccentSet accents) override;
  void ApplyLanguage(int language) override;

 private:
  QLabel *lblNotFound = nullptr;
  QLabel *lblReplace = nullptr;
  QLabel *lblSuggestions = nullptr;
  QPushButton *btnAdd = nullptr;
  QPushButton *btnSkip = nullptr;
  QPushButton *btnSkipAll = nullptr;
  QPushButton *btnSuggest = nullptr;
  QPushButton *btnClose = nullptr;
};
