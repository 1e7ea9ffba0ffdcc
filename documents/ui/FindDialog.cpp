// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/ui/FindDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFindDialog::TFindDialog(TMode mode, QWidget *parent) : QDialog(parent), mode_(mode) {
  setObjectName(mode == TMode::Find ? QStringLiteral("dlgFind") : QStringLiteral("dlgReplace"));
  setWindowTitle(mode == TMode::Find ? QStringLiteral("Find") : QStringLiteral("Replace"));
  setModal(false);

  edtFind_ = new QLineEdit(this);
  edtFind_->setObjectName(QStringLiteral("edtFind"));
  auto *fields = new QGridLayout;
  auto *findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
  findLabel->setBuddy(edtFind_);
  fields->addWidget(findLabel, 0, 0);
  fields->addWidget(edtFind_, 0, 1);
  if (mode == TMode::Replace) {
    edtReplace_ = new QLineEdit(this);
    edtReplace_->setObjectName(QStringLiteral("edtReplace"));
    auto *replaceLabel = new QLabel(QStringLiteral("Re&place with:"), this);
    replaceLabel->setBuddy(edtReplace_);
    fields->addWidget(replaceLabel, 1, 0);
    fields->addWidget(edtReplace_, 1, 1);
  }

  chkWholeWord_ = new QCheckBox(QStringLiteral("Match &whole word only"), this);
  chkMatchCase_ = new QCheckBox(QStringLiteral("Match &case"), this);
  auto *direction = new QGroupBox(QStringLiteral("Direction"), this);
  radUp_ = new QRadioButton(QStringLiteral("&Up"), direction);
  radDown_ = new QRadioButton(QStringLiteral("&Down"), direction);
  radDown_->setChecked(true);
  auto *dirLayout = new QHBoxLayout(direction);
  dirLayout->addWidget(radUp_);
  dirLayout->addWidget(radDown_);
  auto *options = new QHBoxLayout;
  auto *checks = new QVBoxLayout;
  checks->addWidget(chkWholeWord_);
  checks->addWidget(chkMatchCase_);
  options->addLayout(checks);
  options->addWidget(direction);

  btnFindNext_ = new QPushButton(QStringLiteral("&Find Next"), this);
  btnFindNext_->setDefault(true);
  connect(btnFindNext_, &QPushButton::clicked, this, &TFindDialog::FindNextClicked);
  auto *buttons = new QVBoxLayout;
  buttons->addWidget(btnFindNext_);
  if (mode == TMode::Replace) {
    btnReplace_ = new QPushButton(QStringLiteral("&Replace"), this);
    btnReplaceAll_ = new QPushButton(QStringLiteral("Replace &All"), this);
    connect(btnReplace_, &QPushButton::clicked, this, &TFindDialog::ReplaceClicked);
    connect(btnReplaceAll_, &QPushButton::clicked, this, &TFindDialog::ReplaceAllClicked);
    buttons->addWidget(btnReplace_);
    buttons->addWidget(btnReplaceAll_);
  }
  auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  buttons->addWidget(cancel);
  buttons->addStretch();

  auto *left = new QVBoxLayout;
  left->addLayout(fields);
  left->addLayout(options);
  left->addStretch();
  auto *layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);
  connect(edtFind_, &QLineEdit::textChanged, this, &TFindDialog::updateButtons);
  updateButtons();
}

void TFindDialog::updateButtons() {
  const bool any = !edtFind_->text().isEmpty();
  for (QPushButton *b : {btnFindNext_, btnReplace_, btnReplaceAll_})
    if (b) b->setEnabled(any);
}

TSearchOptions TFindDialog::Options() const {
  TSearchOptions options;
  options.findText = edtFind_->text();
  options.matchCase = chkMatchCase_->isChecked();
  options.wholeWord = chkWholeWord_->isChecked();
  options.down = radDown_->isChecked();
  return options;
}

QString TFindDialog::FindText() const { return edtFind_->text(); }

void TFindDialog::SetFindText(const QString &text) { edtFind_->setText(text); }

QString TFindDialog::ReplaceText() const { return edtReplace_ ? edtReplace_->text() : QString(); }
