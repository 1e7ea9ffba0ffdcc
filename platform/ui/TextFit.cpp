// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/TextFit.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <algorithm>

namespace {

constexpr int kGap = 4;              // kept free between a grown label and its neighbour
constexpr qreal kSmallestPoint = 6;  // a face is not made smaller than this
constexpr int kSmallestIcon = 12;    // nor a button's picture

// Where a widget was first met: its horizontal extent and its own face, if it had one.
constexpr char kDesignLeft[] = "_textFitLeft";
constexpr char kDesignWidth[] = "_textFitWidth";
constexpr char kDesignFont[] = "_textFitFont";
constexpr char kDesignIconSize[] = "_textFitIconSize";

QString Shown(QString text) {
  // A single '&' marks the mnemonic and is not drawn; "&&" draws one.
  text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  text.remove(u'&');
  text.replace(u'\x01', u'&');
  return text;
}

bool Fits(const QWidget *widget, const QFont &font) {
  return TextFit::NeededWidth(widget, font) <= widget->contentsRect().width();
}

void BackToDesign(QWidget *widget) {
  const QVariant left = widget->property(kDesignLeft);
  if (!left.isValid()) {
    widget->setProperty(kDesignLeft, widget->x());
    widget->setProperty(kDesignWidth, widget->width());
    if (widget->testAttribute(Qt::WA_SetFont)) widget->setProperty(kDesignFont, widget->font());
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
      widget->setProperty(kDesignIconSize, button->iconSize());
    return;
  }
  if (auto *button = qobject_cast<QAbstractButton *>(widget))
    button->setIconSize(widget->property(kDesignIconSize).toSize());
  const QRect design(left.toInt(), widget->y(), widget->property(kDesignWidth).toInt(),
                     widget->height());
  if (widget->geometry() != design) widget->setGeometry(design);
  // Faces are put back only when changed: setting one, even the same, makes the widget and
  // its parent lay out again, and this runs for every word a check shows.
  const QVariant font = widget->property(kDesignFont);
  if (font.isValid()) {
    if (widget->font() != font.value<QFont>()) widget->setFont(font.value<QFont>());
  } else if (widget->testAttribute(Qt::WA_SetFont)) {
    widget->setFont(QFont());  // the parent's face again
  }
}

// The small siblings a label is drawn on (a coloured shape): they widen with it.
QList<QWidget *> Backdrops(const QLabel *label) {
  QList<QWidget *> backdrops;
  QWidget *parent = label->parentWidget();
  if (!parent) return backdrops;
  for (QWidget *sibling : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
    if (sibling != label && !sibling->isHidden() && !sibling->isWindow() &&
        !qobject_cast<QAbstractButton *>(sibling) && sibling->width() < parent->width() / 2 &&
        sibling->geometry().intersects(label->geometry()))
      backdrops << sibling;
  return backdrops;
}

// Widens label into the free room beside it: rightwards, or leftwards when it is
// right-aligned, up to the nearest sibling in its row or the parent's edge.
void Grow(QLabel *label) {
  QWidget *parent = label->parentWidget();
  if (!parent) return;
  const QRect place = label->geometry();
  const bool toLeft = label->alignment() & Qt::AlignRight;
  int limit = toLeft ? kGap : parent->width() - kGap;
  for (QWidget *sibling : parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
    if (sibling == label || sibling->isHidden() || sibling->isWindow()) continue;
    if (sibling->geometry().intersects(place)) continue;  // under the label
    const QRect other = sibling->geometry();
    if (other.bottom() < place.top() || other.top() > place.bottom()) continue;  // other row
    if (toLeft && other.right() < place.left()) limit = std::max(limit, other.right() + 1 + kGap);
    if (!toLeft && other.left() > place.right()) limit = std::min(limit, other.left() - kGap);
  }
  const int extra = TextFit::NeededWidth(label, label->font()) - label->contentsRect().width();
  const int grown =
      toLeft ? std::min(extra, place.left() - limit) : std::min(extra, limit - (place.right() + 1));
  if (grown <= 0) return;
  for (QWidget *widget : QList<QWidget *>{label} + Backdrops(label)) {
    const QRect old = widget->geometry();
    widget->setGeometry(toLeft ? old.x() - grown : old.x(), old.y(), old.width() + grown,
                        old.height());
  }
}

void SmallerPicture(QAbstractButton *button) {
  if (button->icon().isNull()) return;
  QSize size = button->iconSize();
  while (!Fits(button, button->font()) && size.width() - 2 >= kSmallestIcon) {
    size -= QSize(2, 2);
    button->setIconSize(size);
  }
}

void Shrink(QWidget *widget) {
  QFont font = widget->font();
  const bool inPoints = font.pointSizeF() > 0;
  while (!Fits(widget, font)) {
    if (inPoints) {
      if (font.pointSizeF() - 0.5 < kSmallestPoint) break;
      font.setPointSizeF(font.pointSizeF() - 0.5);
    } else {
      if (font.pixelSize() - 1 < kSmallestPoint * 4 / 3) break;
      font.setPixelSize(font.pixelSize() - 1);
    }
  }
  if (font != widget->font()) widget->setFont(font);
}

}  // namespace

namespace TextFit {

int NeededWidth(const QWidget *widget, const QFont &font) {
  const QFontMetrics metrics(font);
  if (const auto *label = qobject_cast<const QLabel *>(widget)) {
    if (label->text().isEmpty() || label->wordWrap() || !label->pixmap().isNull()) return 0;
    const QString text = label->buddy() ? Shown(label->text()) : label->text();
    return metrics.horizontalAdvance(text) + 2 * label->margin() + 1;
  }
  const auto *button = qobject_cast<const QAbstractButton *>(widget);
  if (!button || button->text().isEmpty()) return 0;
  const int icon =
      button->icon().isNull() || button->iconSize().isEmpty() ? 0 : button->iconSize().width() + 4;
  // The frame and the padding the styles draw round a button's caption.
  const int padding = qobject_cast<const QPushButton *>(button) ? 8 : 4;
  return metrics.horizontalAdvance(Shown(button->text())) + icon + padding;
}

void FitText(QWidget *widget) {
  auto *label = qobject_cast<QLabel *>(widget);
  if (!label && !qobject_cast<QAbstractButton *>(widget)) return;
  if (NeededWidth(widget, widget->font()) == 0) return;
  BackToDesign(widget);
  if (label)
    for (QWidget *backdrop : Backdrops(label)) BackToDesign(backdrop);
  if (Fits(widget, widget->font())) return;
  if (label) Grow(label);
  // A button keeps its picture (the user chose to see them): when its caption does not fit
  // beside it, the picture gets smaller first, then the face.
  if (auto *button = qobject_cast<QAbstractButton *>(widget)) SmallerPicture(button);
  Shrink(widget);
}

void FitTexts(QWidget *window) {
  for (QWidget *widget : window->findChildren<QWidget *>()) FitText(widget);
}

}  // namespace TextFit
