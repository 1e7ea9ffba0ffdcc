// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "spell/ui/AbsSpellDialog.h"

// The second dialog style: the word in a read-only box across the top, two columns of plain
// buttons, and a Help button.
class TMSSpellDlg : public TAbsSpellDialog {
  Q_OBJECT
 public:
  explicit TMSSpellDlg(QWidget *parent = nullptr);

  void SetMisspeltWord(const QString &text) override;
  void ShowAccents(TAccentSet accents) override;
  void ApplyLanguage(int language) override;

 private:
  QLabel *lblReplace = nullptr;
  QLabel *lblSuggestions = nullptr;
  TEnterEdit *edtCurWord = nullptr;
  QPushButton *btnSkip = nullptr;
  QPushButton *btnSkipAll = nullptr;
  QPushButton *btnReplaceAll = nullptr;
  QPushButton *btnAdd = nullptr;
  QPushButton *btnSuggest = nullptr;
  QPushButton *btnClose = nullptr;
  QPushButton *btnHelp = nullptr;
  QPushButton *btnAutoCorrect = nullptr;
  QPushButton *btnOptions = nullptr;
  QPushButton *btnUndo = nullptr;
};
