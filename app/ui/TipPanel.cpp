// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/TipPanel.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QRandomGenerator>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/ui/Fonts.h"

namespace {

// The shipped list is a few kilobytes; a bound keeps a damaged file from being read whole.
constexpr qint64 MaxTipsFile = qint64{256} * 1024;

}  // namespace

TTipPanel::TTipPanel(const QString &tipsFile, QWidget *parent)
    : QFrame(parent), lstTips_(ReadTips(tipsFile)) {
  setObjectName(QStringLiteral("pnlTip"));
  setFixedHeight(65);
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Sunken);
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
  colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
  setPalette(colours);

  auto *layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 2, 4, 2);
  auto *imgTips = new QLabel(this);
  imgTips->setObjectName(QStringLiteral("imgTips"));
  imgTips->setFixedSize(32, 32);
  imgTips->setPixmap(QIcon::fromTheme(QStringLiteral("dialog-information"),
                                      style()->standardIcon(QStyle::SP_MessageBoxInformation))
                         .pixmap(32, 32));
  auto *lblTipTitle = new QLabel(QStringLiteral("Tip of the Day"), this);
  lblTipTitle->setObjectName(QStringLiteral("lblTipTitle"));
  lblTipTitle->setFont(Fonts::Face(QStringLiteral("Arial"), 13, true));
  lblTipTitle->setAlignment(Qt::AlignCenter);
  lblTipTitle->setWordWrap(true);
  lblTipTitle->setFixedWidth(70);
  lblTips_ = new QLabel(this);
  lblTips_->setObjectName(QStringLiteral("lblTips"));
  lblTips_->setFont(Fonts::Face(QStringLiteral("Arial"), 11));
  lblTips_->setWordWrap(true);
  lblTips_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

  auto *buttons = new QVBoxLayout;
  buttons->setSpacing(0);
  auto button = [this, buttons](const char *name, const QString &caption) {
    auto *tool = new QToolButton(this);
    tool->setObjectName(QString::fromLatin1(name));
    tool->setText(caption);
    tool->setAutoRaise(true);
    tool->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(tool, &QToolButton::clicked, this, &TTipPanel::proChangeTips);
    buttons->addWidget(tool);
  };
  button("btnPrevTip", QStringLiteral("<< Previous"));
  button("btnNextTip", QStringLiteral("Next >>"));

  layout->addWidget(imgTips);
  layout->addWidget(lblTipTitle);
  layout->addSpacing(8);
  layout->addWidget(lblTips_, 1);
  layout->addLayout(buttons);
}

QStringList TTipPanel::ReadTips(const QString &tipsFile) {
  QFile file(tipsFile);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QStringList tips;
  for (const QString &line : QString::fromUtf8(file.read(MaxTipsFile)).split(u'\n')) {
    const QString tip = line.trimmed();
    if (!tip.isEmpty()) tips << tip;
  }
  return tips;
}

QString TTipPanel::CurrentTip() const { return lblTips_->text(); }

void TTipPanel::proChangeTips() {
  if (lstTips_.isEmpty()) return;
  const auto index = QRandomGenerator::global()->bounded(qsizetype(lstTips_.size()));
  lblTips_->setText(lstTips_.at(index));
  lblTips_->repaint();
}
