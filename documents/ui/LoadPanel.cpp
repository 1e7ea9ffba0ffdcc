// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/ui/LoadPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

TLoadPanel::TLoadPanel(QWidget *parent) : QFrame(parent) {
  setObjectName(QStringLiteral("pnlLoad"));
  setFrameShape(QFrame::StyledPanel);
  lblFile_ = new QLabel(this);
  lblFile_->setObjectName(QStringLiteral("lblLoadFile"));
  lblFile_->setTextFormat(Qt::PlainText);
  barProgress_ = new QProgressBar(this);
  barProgress_->setObjectName(QStringLiteral("barLoad"));
  barProgress_->setRange(0, 1000);
  btnCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  btnCancel_->setObjectName(QStringLiteral("btnCancelLoad"));
  auto *layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 3, 6, 3);
  layout->addWidget(lblFile_, 1);
  layout->addWidget(barProgress_, 1);
  layout->addWidget(btnCancel_);
  connect(btnCancel_, &QPushButton::clicked, this, &TLoadPanel::CancelClicked);
}

void TLoadPanel::Start(const QString &fileName) {
  lblFile_->setText(QStringLiteral("Opening ") + fileName);
  barProgress_->setValue(0);
}

void TLoadPanel::StartWork(const QString &caption) {
  lblFile_->setText(caption);
  barProgress_->setValue(0);
}

void TLoadPanel::SetProgress(int progress) {
  barProgress_->setValue(std::clamp(progress, 0, 1000));
}

int TLoadPanel::Progress() const { return barProgress_->value(); }
