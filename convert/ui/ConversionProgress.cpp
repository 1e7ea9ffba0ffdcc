// SPDX-License-Identifier: GPL-3.0-or-later
#include "convert/ui/ConversionProgress.h"

#include <QBoxLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

TConversionProgress::TConversionProgress(QWidget *window, const QString &text)
    : QFrame(window), text_(text) {
  setObjectName(QStringLiteral("pnlConversion"));
  setFrameShape(QFrame::StyledPanel);
  lblText_ = new QLabel(text, this);
  lblText_->setObjectName(QStringLiteral("lblConversion"));
  lblText_->setTextFormat(Qt::PlainText);
  lblText_->setMinimumWidth(80);
  lblText_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  barProgress_ = new QProgressBar(this);
  barProgress_->setObjectName(QStringLiteral("barConversion"));
  barProgress_->setRange(0, 0);  // a converter does not say how far it is
  barProgress_->setMaximumWidth(160);
  btnCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  btnCancel_->setObjectName(QStringLiteral("btnCancelConversion"));
  btnCancel_->setAccessibleName(QStringLiteral("Cancel the conversion"));
  connect(btnCancel_, &QPushButton::clicked, this, [this] {
    btnCancel_->setEnabled(false);
    if (OnCancel) OnCancel();
  });
  auto *row = new QHBoxLayout(this);
  row->setContentsMargins(6, 3, 6, 3);
  row->addWidget(lblText_, 1);
  row->addWidget(barProgress_);
  row->addWidget(btnCancel_);
  // Between the window's text and its status bar when the window is laid out in a column.
  if (auto *column = qobject_cast<QBoxLayout *>(window->layout()))
    column->insertWidget(qMax(0, column->count() - 1), this);
  show();
}

void TConversionProgress::SetBytes(qsizetype bytes) {
  lblText_->setText(text_ + QStringLiteral(" (%1 KB)").arg(bytes / 1024));
}

TConversionProgress *TConversionProgress::Of(QWidget *window) {
  return window ? window->findChild<TConversionProgress *>(QString(), Qt::FindDirectChildrenOnly)
                : nullptr;
}
