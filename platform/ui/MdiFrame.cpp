// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/MdiFrame.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <algorithm>

namespace {

QList<QMdiSubWindow *> arrangeable(QMdiArea *area) {
  QList<QMdiSubWindow *> windows;
  for (QMdiSubWindow *w : area->subWindowList(QMdiArea::CreationOrder))
    if (w->isVisible() && !w->isMinimized()) windows.append(w);
  return windows;
}

}  // namespace

namespace MdiFrame {

void Cascade(QMdiArea *area) {
  const QList<QMdiSubWindow *> windows = arrangeable(area);
  if (windows.isEmpty()) return;
  const QRect space = area->viewport()->rect();
  const int step = std::max(8, windows.first()->style()->pixelMetric(QStyle::PM_TitleBarHeight,
                                                                     nullptr, windows.first()));
  // Windows keep at least half the area; beyond that many steps the cascade starts again.
  const int maxSteps = std::max(1, std::min(space.width(), space.height()) / 2 / step);
  const int steps = std::min<int>(int(windows.size()), maxSteps + 1) - 1;
  const QSize size(space.width() - steps * step, space.height() - steps * step);
  QMdiSubWindow *active = area->activeSubWindow();
  for (qsizetype i = 0; i < windows.size(); ++i) {
    QMdiSubWindow *w = windows[i];
    if (w->isMaximized()) w->showNormal();
    const int offset = int(i % (steps + 1)) * step;
    w->setGeometry(QRect(QPoint(offset, offset), size));
    w->raise();
  }
  if (active) active->raise();
}

void TileHorizontally(QMdiArea *area) {
  const QList<QMdiSubWindow *> windows = arrangeable(area);
  if (windows.isEmpty()) return;
  const QRect space = area->viewport()->rect();
  const int strip = space.height() / int(windows.size());
  int top = 0;
  for (qsizetype i = 0; i < windows.size(); ++i) {
    QMdiSubWindow *w = windows[i];
    if (w->isMaximized()) w->showNormal();
    const int height = (i + 1 == windows.size()) ? space.height() - top : strip;
    w->setGeometry(0, top, space.width(), height);
    top += height;
  }
}

void ArrangeIcons(QMdiArea *area) {
  const QRect space = area->viewport()->rect();
  int left = 0;
  int bottom = space.bottom();
  for (QMdiSubWindow *w : area->subWindowList(QMdiArea::CreationOrder)) {
    if (!w->isMinimized()) continue;
    const QSize size = w->size();
    if (left + size.width() > space.width() && left > 0) {
      left = 0;
      bottom -= size.height();
    }
    w->move(left, bottom - size.height() + 1);
    left += size.width();
  }
}

}  // namespace MdiFrame
