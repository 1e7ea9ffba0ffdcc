// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "documents/core/TextFinder.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The modeless find dialog of a document window, or its replace dialog: find text, replace
// text (replace dialog only), whole word only, match case, direction up or down, and the
// buttons Find Next, Replace, Replace All (replace dialog only) and Cancel. The window wires
// the buttons to its searches.
class TFindDialog : public QDialog {
  Q_OBJECT

 public:
  enum class TMode { Find, Replace };

  TFindDialog(TMode mode, QWidget *parent);

  TMode Mode() const { return mode_; }
  TSearchOptions Options() const;
  QString FindText() const;
  void SetFindText(const QString &text);
  QString ReplaceText() const;

  QLineEdit *edtFind() const { return edtFind_; }
  QLineEdit *edtReplace() const { return edtReplace_; }
  QCheckBox *chkWholeWord() const { return chkWholeWord_; }
  QCheckBox *chkMatchCase() const { return chkMatchCase_; }
  QRadioButton *radUp() const { return radUp_; }
  QRadioButton *radDown() const { return radDown_; }
  QPushButton *btnFindNext() const { return btnFindNext_; }
  QPushButton *btnReplace() const { return btnReplace_; }
  QPushButton *btnReplaceAll() const { return btnReplaceAll_; }

 Q_SIGNALS:
  void FindNextClicked();
  void ReplaceClicked();
  void ReplaceAllClicked();

 private:
  void updateButtons();

  TMode mode_;
  QLineEdit *edtFind_;
  QLineEdit *edtReplace_ = nullptr;
  QCheckBox *chkWholeWord_;
  QCheckBox *chkMatchCase_;
  QRadioButton *radUp_;
  QRadioButton *radDown_;
  QPushButton *btnFindNext_;
  QPushButton *btnReplace_ = nullptr;
  QPushButton *btnReplaceAll_ = nullptr;
};
