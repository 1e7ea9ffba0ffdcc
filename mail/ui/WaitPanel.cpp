// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/ui/WaitPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

TWaitPanel::TWaitPanel(QWidget *parent)
    : QFrame(parent),
      lblText_(new QLabel(this)),
      prgSend_(new QProgressBar(this)),
      btnCancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
  setFrameShape(QFrame::StyledPanel);
  setFrameShadow(QFrame::Sunken);
  lblText_->setObjectName(QStringLiteral("lblWait"));
  lblText_->setTextFormat(Qt::PlainText);
  lblText_->setMinimumWidth(40);
  lblText_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  prgSend_->setObjectName(QStringLiteral("prgSend"));
  prgSend_->setRange(0, 1000);
  prgSend_->setMaximumWidth(110);
  prgSend_->setMaximumHeight(lblText_->sizeHint().height());
  prgSend_->hide();
  btnCancel_->setObjectName(QStringLiteral("btnCancelSend"));
  btnCancel_->setAutoDefault(false);
  btnCancel_->setToolTip(QStringLiteral("Stop sending this email"));
  btnCancel_->hide();
  connect(btnCancel_, &QPushButton::clicked, this, [this] {
    if (onCancel_) onCancel_();
  });
  auto *layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 1, 2, 1);
  layout->addWidget(lblText_, 1);
  layout->addWidget(prgSend_);
  layout->addWidget(btnCancel_);
  // The panel keeps its height whether the button is shown or not.
  setMinimumHeight(btnCancel_->sizeHint().height() + 4);
}

void TWaitPanel::SetText(const QString &text) { lblText_->setText(text); }

QString TWaitPanel::Text() const { return lblText_->text(); }

void TWaitPanel::SetProgress(qint64 sent, qint64 total) {
  if (total <= 0) {
    prgSend_->hide();
    return;
  }
  prgSend_->setValue(int(std::min<qint64>(1000, sent * 1000 / total)));
  prgSend_->setToolTip(QStringLiteral("%1 of %2 bytes sent").arg(sent).arg(total));
  prgSend_->show();
}

void TWaitPanel::SetCancel(bool shown, std::function<void()> onCancel) {
  onCancel_ = std::move(onCancel);
  btnCancel_->setVisible(shown);
}

void TWaitPanel::Clear() {
  lblText_->clear();
  prgSend_->hide();
  prgSend_->setValue(0);
}
