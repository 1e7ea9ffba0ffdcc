// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "settings/core/PropertyText.h"

namespace WindowPlacement {

namespace {

constexpr int ShowNormal = 1, ShowMinimized = 2, ShowMaximized = 3;
// Placement flag: the window keeps its minimized position.
constexpr int SetMinPosition = 1;

QScreen *ScreenOf(const QWidget *window) {
  QScreen *screen = window->screen();
  return screen ? screen : QGuiApplication::primaryScreen();
}

QString Suffixed(const QString &name, const QWidget *window) {
  const QSize size = ScreenOf(window) ? ScreenOf(window)->geometry().size() : QSize();
  return QStringLiteral("%1(%2x%3)").arg(name).arg(size.width()).arg(size.height());
}

int Dpi(const QWidget *window) {
  QScreen *screen = ScreenOf(window);
  return screen ? qRound(screen->logicalDotsPerInch()) : 96;
}

QRect NormalRect(const QWidget *window) {
  if (window->isWindow() && window->normalGeometry().isValid()) return window->normalGeometry();
  return window->geometry();
}

// The stored text under the screen-size name, else under the plain name.
QString ReadPlace(TRootKey &root, const QString &section, const QString &name,
                  const QWidget *window) {
  QString text = root.ReadString(section, Suffixed(name, window), QString());
  if (text.isEmpty()) text = root.ReadString(section, name, QString());
  return text;
}

bool Resizable(const QWidget *window) {
  return window->minimumSize() != window->maximumSize() &&
         !window->windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint);
}

qint64 Area(const QRect &rect) { return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height(); }

// The available area (without panels) of the screen that shows the most of rect; empty when no
// screen shows any of it.
QRect ScreenAreaFor(const QRect &rect) {
  QRect best;
  qint64 shown = 0;
  for (const QScreen *screen : QGuiApplication::screens()) {
    const QRect area = screen->availableGeometry();
    if (const qint64 part = Area(area.intersected(rect)); part > shown) {
      shown = part;
      best = area;
    }
  }
  return best;
}

// The largest size any screen offers a window.
QSize LargestScreenSize() {
  QSize size;
  for (const QScreen *screen : QGuiApplication::screens())
    size = size.expandedTo(screen->availableGeometry().size());
  return size;
}

// rect shrunk to fit area and moved as little as needed to lie inside it.
QRect Within(QRect rect, const QRect &area) {
  rect.setSize(rect.size().boundedTo(area.size()));
  rect.moveLeft(std::clamp(rect.left(), area.left(), area.left() + area.width() - rect.width()));
  rect.moveTop(std::clamp(rect.top(), area.top(), area.top() + area.height() - rect.height()));
  return rect;
}

}  // namespace

QWidget *Target(QWidget *form) {
  if (!form) return nullptr;
  if (auto *sub = qobject_cast<QMdiSubWindow *>(form->parentWidget())) return sub;
  return form->isWindow() ? form : nullptr;
}

bool IsMainFrame(const QWidget *form) {
  const auto *main = qobject_cast<const QMainWindow *>(form);
  return main && qobject_cast<QMdiArea *>(main->centralWidget());
}

void Save(TRootKey &root, const QString &section, QWidget *form, bool destroying,
          bool activeControl) {
  QWidget *window = Target(form);
  if (window) {
    const bool minimized = window->windowState().testFlag(Qt::WindowMinimized);
    const bool child = !window->isWindow();
    const int showCmd = minimized                                             ? ShowMinimized
                        : window->windowState().testFlag(Qt::WindowMaximized) ? ShowMaximized
                                                                              : ShowNormal;
    root.WriteInteger(section, QStringLiteral("Flags"), child && minimized ? SetMinPosition : 0);
    root.WriteInteger(section, QStringLiteral("ShowCmd"), showCmd);
    root.WriteInteger(section, QStringLiteral("PixelsPerInch"), Dpi(window));
    const QString minMax = QStringLiteral("-1,-1,-1,-1");
    const QRect rect = NormalRect(window);
    const QString normal = QStringLiteral("%1,%2,%3,%4")
                               .arg(rect.left())
                               .arg(rect.top())
                               .arg(rect.left() + rect.width())
                               .arg(rect.top() + rect.height());
    root.WriteString(section, QStringLiteral("MinMaxPos"), minMax);
    root.WriteString(section, Suffixed(QStringLiteral("MinMaxPos"), window), minMax);
    root.WriteString(section, QStringLiteral("NormPos"), normal);
    root.WriteString(section, Suffixed(QStringLiteral("NormPos"), window), normal);
  }
  root.WriteString(section, QStringLiteral("Visible"),
                   destroying ? QStringLiteral("1") : QStringLiteral("0"));
  if (activeControl) {
    QWidget *focused = form->focusWidget();
    root.WriteString(section, QStringLiteral("ActiveControl"),
                     focused ? focused->objectName() : QString());
  }
}

void RestorePosition(TRootKey &root, const QString &section, QWidget *form) {
  QWidget *window = Target(form);
  if (!window) return;
  root.ReadInteger(section, QStringLiteral("Flags"), 0);  // no meaning here beyond its type
  const QString minMax = ReadPlace(root, section, QStringLiteral("MinMaxPos"), window);
  const QString normal = ReadPlace(root, section, QStringLiteral("NormPos"), window);
  if (root.ReadInteger(section, QStringLiteral("PixelsPerInch"), Dpi(window)) != Dpi(window))
    return;
  if (minMax.isEmpty() && normal.isEmpty()) return;

  const QRect current = NormalRect(window);
  const int defaults[4] = {current.left(), current.top(), current.left() + current.width(),
                           current.top() + current.height()};
  // Far beyond any screen, and small enough that no sum of two overflows.
  constexpr int farthest = 1 << 24;
  int edges[4];
  const QStringList words = PropertyText::Words(normal);
  for (int i = 0; i < 4; ++i)
    edges[i] = std::clamp(i < words.size()
                              ? PropertyText::ToIntegerOrNothing(words[i]).value_or(defaults[i])
                              : defaults[i],
                          -farthest, farthest);
  if (edges[0] >= edges[2] || edges[1] >= edges[3]) return;
  QRect rect(QPoint(edges[0], edges[1]), QSize(edges[2] - edges[0], edges[3] - edges[1]));
  if (!Resizable(window)) rect.setSize(current.size());
  // Kept to what a screen can show, so that a damaged value never makes a window larger than
  // the screens, nor puts its frame and menu out of reach.
  if (window->isWindow()) {
    // A place that no screen shows any more (a screen was removed) would lose the window.
    const QRect area = ScreenAreaFor(rect);
    if (area.isEmpty()) {
      if (!QGuiApplication::screens().isEmpty()) return;
    } else {
      // The frame the desktop puts around the window must fit as well (known once the window
      // has been on the screen).
      const QRect frame = window->frameGeometry();
      const QRect inner = window->geometry();
      const QMargins margins(inner.left() - frame.left(), inner.top() - frame.top(),
                             frame.right() - inner.right(), frame.bottom() - inner.bottom());
      rect = Within(rect, area.marginsRemoved(margins));
    }
  } else if (const QSize largest = LargestScreenSize(); !largest.isEmpty()) {
    // A window inside the frame: on the frame's plane, from its top left corner.
    rect = Within(rect, QRect(QPoint(0, 0), largest));
  }
  window->setGeometry(rect);
}

void RestoreState(TRootKey &root, const QString &section, QWidget *form) {
  QWidget *window = Target(form);
  if (!window) return;
  const bool main = IsMainFrame(form);
  Qt::WindowState state = main ? Qt::WindowMaximized : Qt::WindowNoState;
  switch (root.ReadInteger(section, QStringLiteral("ShowCmd"), 0)) {
    case 1:
    case 5:
    case 9:
      state = Qt::WindowNoState;
      break;
    case 2:
    case 6:
    case 7:
      state = Qt::WindowMinimized;
      break;
    case 3:
      state = Qt::WindowMaximized;
      break;
    default:
      break;
  }
  const Qt::WindowStates others =
      window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
  if (state == Qt::WindowMinimized && main) {
    // The frame comes up normal and the whole program is minimized right after it shows.
    window->setWindowState(others);
    QTimer::singleShot(0, window, [window] { window->showMinimized(); });
    return;
  }
  window->setWindowState(others | state);
}

}  // namespace WindowPlacement
