#include "MdiFrame.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace MdiFrame {

void TileHorizontally(QMdiArea *area) {
  QList<QMdiSubWindow *> windows;
  for (QMdiSubWindow *w : area->subWindowList(QMdiArea::CreationOrder))
    if (w->isVisible() && !w->isMinimized()) windows.append(w);
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
