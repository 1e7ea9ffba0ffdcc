// SPDX-License-Identifier: GPL-3.0-or-later
#include "preferences/FavoritesPage.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QListWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "platform/ui/Glyphs.h"
#include "platform/ui/MessageBox.h"

TFavoritesPage::TFavoritesPage(std::function<QString()> chooseFile, QWidget *parent)
    : QWidget(parent), chooseFile_(std::move(chooseFile)) {
  setObjectName(QStringLiteral("tabFavorite"));
  lstFavFiles_ = new QListWidget(this);
  lstFavFiles_->setObjectName(QStringLiteral("lstFavFiles"));
  lstFavFiles_->setAccessibleName(QStringLiteral("Favorite files"));
  lstFavFiles_->setSortingEnabled(true);
  lstFavFiles_->setIconSize(QSize(16, 16));
  lstFavFiles_->setUniformItemSizes(true);
  lstFavFiles_->setStyleSheet(QStringLiteral("QListWidget::item { height: 20px; }"));

  barFavorite_ = new QToolBar(this);
  barFavorite_->setObjectName(QStringLiteral("barFavorite"));
  barFavorite_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  barFavorite_->setStatusTip(QStringLiteral("Right-click for tool bar options"));
  const TGlyphList &glyphs = TGlyphList::Shared();
  btnBrowse_ = barFavorite_->addAction(glyphs.Icon(gAdd), QStringLiteral("Add File"));
  btnBrowse_->setObjectName(QStringLiteral("btnBrowse"));
  btnBrowse_->setToolTip(QStringLiteral("Add a new favorite file..."));
  btnBrowse_->setStatusTip(btnBrowse_->toolTip());
  btnDelFiles_ = barFavorite_->addAction(glyphs.Icon(gRemove), QStringLiteral("Delete File"));
  btnDelFiles_->setObjectName(QStringLiteral("btnDelFiles"));
  btnDelFiles_->setToolTip(QStringLiteral("Delete highlighted favorite file"));
  btnDelFiles_->setStatusTip(btnDelFiles_->toolTip());
  btnDelFiles_->setEnabled(false);
  connect(btnBrowse_, &QAction::triggered, this, [this] { UpdateFavFileButtons(1); });
  connect(btnDelFiles_, &QAction::triggered, this, [this] { UpdateFavFileButtons(0); });
  connect(lstFavFiles_, &QListWidget::itemSelectionChanged, this,
          &TFavoritesPage::updateDeleteButton);

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(barFavorite_);
  layout->addWidget(lstFavFiles_, 1);
}

namespace {

// Sorted alphabetically: letter case decides only between names that differ in nothing else.
class TFavoriteItem : public QListWidgetItem {
 public:
  using QListWidgetItem::QListWidgetItem;
  bool operator<(const QListWidgetItem &other) const override {
    const int order = text().compare(other.text(), Qt::CaseInsensitive);
    return order != 0 ? order < 0 : text() < other.text();
  }
};

}  // namespace

void TFavoritesPage::addEntry(const QString &path) {
  auto *item = new TFavoriteItem(path);
  // The file's own icon where the desktop has one.
  static QFileIconProvider icons;
  const QFileInfo info(path);
  if (info.exists()) item->setIcon(icons.icon(info));
  lstFavFiles_->addItem(item);
}

void TFavoritesPage::SetFavorites(const QStringList &favorites) {
  lstFavFiles_->clear();
  for (const QString &f : favorites)
    if (!f.isEmpty()) addEntry(f);
  updateDeleteButton();
}

QStringList TFavoritesPage::Favorites() const {
  QStringList list;
  for (int i = 0; i < lstFavFiles_->count(); ++i) list << lstFavFiles_->item(i)->text();
  return list;
}

void TFavoritesPage::UpdateFavFileButtons(int tag) {
  if (tag == 1) {
    const QString chosen = chooseFile_ ? chooseFile_().trimmed() : QString();
    if (!chosen.isEmpty()) {
      if (lstFavFiles_->count() <= 7) {
        addEntry(chosen);  // paths keep their case here
      } else {
        MessageBox::Show(
            this,
            MessageBox::MsgHeader() +
                QStringLiteral("You are only allowed to enter 8 favorite files!\r"
                               "Please delete one or more to add to your favorite files."),
            TMsgKind::Information, TMsgButtons::Yes);
      }
    }
  } else if (QListWidgetItem *item = lstFavFiles_->currentItem(); item && item->isSelected()) {
    if (MessageBox::Show(this,
                         MessageBox::MsgHeader() +
                             QStringLiteral("Are you sure you wish to delete ") + item->text() +
                             QStringLiteral(" from your favorite files list?"),
                         TMsgKind::Information, TMsgButtons::YesNo) == TMsgResult::Yes)
      delete item;
  }
  lstFavFiles_->clearSelection();
  lstFavFiles_->setCurrentItem(nullptr);
  updateDeleteButton();
}

void TFavoritesPage::updateDeleteButton() {
  btnDelFiles_->setEnabled(!lstFavFiles_->selectedItems().isEmpty());
}
