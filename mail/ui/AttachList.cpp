// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/ui/AttachList.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QPainter>

// The small icon the desktop shows for the file's type.
QIcon TAttachDelegate::FileIcon(const QString &path) {
  static const QMimeDatabase mimes;
  const QMimeType type = mimes.mimeTypeForFile(path);
  QIcon icon = QIcon::fromTheme(type.iconName());
  if (icon.isNull()) icon = QIcon::fromTheme(type.genericIconName());
  // Without an icon theme the style's own file picture stands in.
  if (icon.isNull()) icon = QFileIconProvider().icon(QFileInfo(path));
  return icon;
}

void TAttachDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                            const QModelIndex &index) const {
  const bool highlighted = option.state & QStyle::State_Selected;
  const QPalette &palette = option.palette;
  painter->save();
  painter->fillRect(option.rect, highlighted ? palette.color(QPalette::Active, QPalette::Highlight)
                                             : palette.color(QPalette::Base));
  const QString path = index.data(Qt::DisplayRole).toString();
  const QIcon icon = FileIcon(path);
  if (!icon.isNull())
    icon.paint(painter, QRect(option.rect.topLeft() + QPoint(1, 1), QSize(16, 16)));
  painter->setPen(highlighted ? palette.color(QPalette::Active, QPalette::HighlightedText)
                              : palette.color(QPalette::Text));
  const QRect textRect = option.rect.adjusted(20, 0, 0, 0);
  painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                    option.fontMetrics.elidedText(path, Qt::ElideMiddle, textRect.width()));
  if (option.state & QStyle::State_HasFocus) {
    QPen pen(palette.color(highlighted ? QPalette::HighlightedText : QPalette::Text));
    pen.setStyle(Qt::DotLine);
    painter->setPen(pen);
    painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
  }
  painter->restore();
}

QSize TAttachDelegate::sizeHint(const QStyleOptionViewItem &option,
                                const QModelIndex &index) const {
  return {QStyledItemDelegate::sizeHint(option, index).width() + 20, ItemHeight};
}

TAttachList::TAttachList(QWidget *parent) : QListWidget(parent) {
  setItemDelegate(new TAttachDelegate(this));
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setUniformItemSizes(true);
}

QStringList TAttachList::Paths() const {
  QStringList paths;
  for (int i = 0; i < count(); ++i) paths << item(i)->text();
  return paths;
}

void TAttachList::RemoveSelected() {
  for (int i = count() - 1; i >= 0; --i)
    if (item(i)->isSelected()) delete takeItem(i);
}
