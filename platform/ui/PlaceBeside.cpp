// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/PlaceBeside.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

void PlaceBeside(QWidget *window, const QWidget *anchor) {
  if (!window || !anchor || anchor == window) return;
  QScreen *screen = anchor->screen();
  if (!screen) return;
  const QRect room = screen->availableGeometry();
  const QRect owner = anchor->frameGeometry();
  QRect frame(QPoint(), window->frameGeometry().size().expandedTo(window->sizeHint()));
  if (owner.right() + frame.width() < room.right())
    frame.moveTopLeft({owner.right() + 1, owner.top()});
  else if (owner.left() - frame.width() > room.left())
    frame.moveTopLeft({owner.left() - frame.width(), owner.top()});
  else
    frame.moveTopLeft({owner.right() - frame.width() - 16, owner.top() + 64});
  frame.moveLeft(
      std::clamp(frame.left(), room.left(), std::max(room.left(), room.right() - frame.width())));
  frame.moveTop(
      std::clamp(frame.top(), room.top(), std::max(room.top(), room.bottom() - frame.height())));
  window->move(frame.topLeft());
}
