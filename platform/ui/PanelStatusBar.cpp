// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/PanelStatusBar.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kSpacing = 2;
constexpr int kTop = 2;
constexpr int kHeight = 22;

}  // namespace

TPanelStatusBar::TPanelStatusBar(const std::vector<TPanel> &panels, QWidget *parent)
    : QWidget(parent) {
  setFixedHeight(kHeight);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  for (std::size_t i = 0; i < panels.size(); ++i) {
    auto *label = new QLabel(this);
    label->setObjectName(QStringLiteral("panel%1").arg(i));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setAlignment(panels[i].alignment | Qt::AlignVCenter);
    label->setTextFormat(Qt::PlainText);
    panels_.push_back({label, panels[i].width, QString()});
  }
}

void TPanelStatusBar::SetText(int panel, const QString &text) {
  TCell &cell = panels_.at(panel);
  if (cell.text == text) return;
  const bool grows = wanted({cell.label, cell.width, text}) != wanted(cell);
  cell.text = text;
  if (grows)
    layoutPanels();
  else
    showText(cell);
}

void TPanelStatusBar::SetWidth(int panel, int width) {
  if (panels_.at(panel).width == width) return;
  panels_.at(panel).width = width;
  layoutPanels();
}

int TPanelStatusBar::wanted(const TCell &cell) const {
  const int frame = cell.label->frameWidth() * 2 + cell.label->margin() * 2 + 4;
  // Whole pixels up from the text's exact width: a width rounded down to the pixel shortens the
  // text with an ellipsis.
  const int text = int(std::ceil(QFontMetricsF(cell.label->font()).horizontalAdvance(cell.text)));
  return std::max(cell.width, text + frame);
}

QSize TPanelStatusBar::sizeHint() const {
  int width = 0;
  for (const TCell &cell : panels_) width += wanted(cell) + kSpacing;
  return {width, kHeight};
}

QSize TPanelStatusBar::minimumSizeHint() const { return {0, kHeight}; }

void TPanelStatusBar::resizeEvent(QResizeEvent *event) {
  QWidget::resizeEvent(event);
  layoutPanels();
}

void TPanelStatusBar::layoutPanels() {
  if (panels_.empty()) return;
  const int room = std::max(0, width() - kSpacing * int(panels_.size() - 1));
  std::vector<int> widths;
  int total = 0;
  for (const TCell &cell : panels_) {
    widths.push_back(wanted(cell));
    total += widths.back();
  }
  if (total > room) {
    // Not enough room: the widest panels give way first, down to a common width at which
    // all of them fit (the small panels keep theirs as long as they can).
    int low = 0, high = *std::max_element(widths.begin(), widths.end());
    auto sumAt = [&widths](int cap) {
      int sum = 0;
      for (int w : widths) sum += std::min(w, cap);
      return sum;
    };
    while (low < high) {
      const int cap = (low + high + 1) / 2;
      if (sumAt(cap) <= room)
        low = cap;
      else
        high = cap - 1;
    }
    for (int &w : widths) w = std::min(w, low);
  } else {
    widths.back() += room - total;  // the last panel takes what is left
  }
  int left = 0;
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    panels_[i].label->setGeometry(left, kTop, widths[i], height() - kTop);
    left += widths[i] + kSpacing;
    showText(panels_[i]);
  }
}

void TPanelStatusBar::showText(TCell &cell) {
  QLabel *label = cell.label;
  const int room = label->contentsRect().width() - 4;
  const QString shown =
      label->fontMetrics().elidedText(cell.text, Qt::ElideMiddle, std::max(0, room));
  if (label->text() != shown) label->setText(shown);
  const QString tip = shown == cell.text ? QString() : cell.text;
  if (label->toolTip() != tip) label->setToolTip(tip);
}
