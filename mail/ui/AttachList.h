// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>
#include <QStyledItemDelegate>

// Draws an attachment entry: the list's colour, or the active caption's colour when
// highlighted; the file's small icon 1 pixel from the top-left corner; the path 20 pixels from
// the left edge; a focus rectangle on the focused entry.
class TAttachDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter *painter, const QStyleOptionViewItem &option,
             const QModelIndex &index) const override;
  QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

  // The small icon the desktop shows for the file: its type's icon, else the style's file icon.
  static QIcon FileIcon(const QString &path);

  static constexpr int ItemHeight = 18;
};

// The list of files to attach (full paths), drawn by TAttachDelegate.
class TAttachList : public QListWidget {
  Q_OBJECT

 public:
  explicit TAttachList(QWidget *parent = nullptr);

  QStringList Paths() const;
  // Removes every highlighted entry, from the last to the first.
  void RemoveSelected();
};
