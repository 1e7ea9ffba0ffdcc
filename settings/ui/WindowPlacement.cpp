#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTimer>

#include "PropertyText.h"

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

bool OnSomeScreen(const QRect &rect) {
  for (const QScreen *screen : QGuiApplication::screens())
    if (screen->availableVirtualGeometry().intersects(rect)) return true;
  return QGuiApplication::screens().isEmpty();
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
  int edges[4];
  const QStringList words = PropertyText::Words(normal);
  for (int i = 0; i < 4; ++i)
    edges[i] = i < words.size() ? PropertyText::ToIntegerOrNothing(words[i]).value_or(defaults[i])
                                : defaults[i];
  QRect rect(QPoint(edges[0], edges[1]), QSize(edges[2] - edges[0], edges[3] - edges[1]));
  if (!Resizable(window)) rect.setSize(current.size());
  if (edges[0] >= edges[2] || rect.height() <= 0) return;
  // A place that no screen shows any more (a screen was removed) would lose the window.
  if (window->isWindow() && !OnSomeScreen(rect)) return;
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
