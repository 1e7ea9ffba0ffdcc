#include "PanelStatusBar.h"

#include <QHBoxLayout>

TPanelStatusBar::TPanelStatusBar(const std::vector<TPanel> &panels, QWidget *parent)
    : QWidget(parent) {
  setFixedHeight(22);
  auto *layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 2, 0, 0);
  layout->setSpacing(2);
  for (std::size_t i = 0; i < panels.size(); ++i) {
    auto *label = new QLabel(this);
    label->setObjectName(QStringLiteral("panel%1").arg(i));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAlignment(panels[i].alignment | Qt::AlignVCenter);
    label->setTextFormat(Qt::PlainText);
    label->setFixedWidth(panels[i].width);
    layout->addWidget(label, i + 1 == panels.size() ? 1 : 0);
    labels_.push_back(label);
  }
  if (!labels_.empty()) {
    labels_.back()->setMinimumWidth(panels.back().width);
    labels_.back()->setMaximumWidth(QWIDGETSIZE_MAX);
  }
}

void TPanelStatusBar::SetText(int panel, const QString &text) {
  QLabel *label = labels_.at(panel);
  if (label->text() != text) label->setText(text);
}

void TPanelStatusBar::SetWidth(int panel, int width) { labels_.at(panel)->setFixedWidth(width); }
