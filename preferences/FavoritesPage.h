// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <functional>

class QListWidget;
class QToolBar;

// The "Favorite Files" page of the preferences: the favourite files in alphabetical order, each
// row with the file's icon, and a tool bar to add a file (at most eight) or delete the selected
// one. The dialog hands the favourite list in when it opens and takes it back on save.
class TFavoritesPage : public QWidget {
  Q_OBJECT

 public:
  // chooseFile shows the Open dialog and returns the chosen name, or an empty text.
  TFavoritesPage(std::function<QString()> chooseFile, QWidget *parent = nullptr);

  // Fills the list with the non-empty entries.
  void SetFavorites(const QStringList &favorites);
  // The entries in the list's order.
  QStringList Favorites() const;

  QListWidget *lstFavFiles() const { return lstFavFiles_; }
  QAction *btnBrowse() const { return btnBrowse_; }
  QAction *btnDelFiles() const { return btnDelFiles_; }

  // Add File (tag 1) and Delete File (tag 0).
  void UpdateFavFileButtons(int tag);

 private:
  void addEntry(const QString &path);
  void updateDeleteButton();

  std::function<QString()> chooseFile_;
  QListWidget *lstFavFiles_;
  QToolBar *barFavorite_;
  QAction *btnBrowse_;
  QAction *btnDelFiles_;
};
