// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "preferences/PreferencesContext.h"

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QStatusBar;
class QTabWidget;
class QToolBar;
class TBarStyleMenu;
class TDatePage;
class TDisplayPage;
class TFavoritesPage;
class TFiltersPage;
class TFormStorage;
class TMailFields;
class TSpellPage;

// The preferences dialog: six pages of options selected by tab or by its menu, a tool bar
// to save or cancel, and a status line for the long hints. Its own control states live in
// the settings section "Preferences", restored at every opening and saved at every closing.
// Options act at three moments: at once (date and time, display, spelling), on Save
// (filters, favourites, mail), or, for the dialog's own states, at closing.
class TfrmTools : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmTools(const TPreferencesContext &context, QWidget *parent = nullptr);
  ~TfrmTools() override;

  // Shows the dialog modally over parent, with stay-on-top paused meanwhile.
  static void Run(const TPreferencesContext &context, QWidget *parent);

  // Page tags: 0 filters, 1 date and time, 2 favourites, 3 network, 4 spelling, 5 display.
  void UpdateOptionsMenu(int tag);
  // Save (1) or Cancel (0), then close.
  void UpdateFileMenu(int tag);
  // "IExplorer Style" (0) or "Standard Style" (1) for the dialog's tool bars.
  void UpdateMenus(int tag);

  // The dialog is active: the restore at opening is over.
  bool Active() const { return active_; }

  QTabWidget *pagPrefer = nullptr;
  QToolBar *barTools = nullptr;
  QStatusBar *barStatus = nullptr;
  QMenuBar *mnuMain = nullptr;
  TBarStyleMenu *pumToolBar = nullptr;
  TDatePage *date = nullptr;
  TDisplayPage *display = nullptr;
  TFavoritesPage *favorites = nullptr;
  TMailFields *network = nullptr;
  TFiltersPage *filters = nullptr;
  TSpellPage *spell = nullptr;

  QAction *Item(const QString &name) const;

 protected:
  bool event(QEvent *event) override;
  void showEvent(QShowEvent *event) override;
  void hideEvent(QHideEvent *event) override;

 private:
  void createMenus();
  void createToolBar();
  void createPages();
  void FormShow();
  void pagPreferChange();
  void TextExit();
  QWidget *pageOfTag(int tag) const;
  QString openFilter() const;

  TPreferencesContext context_;
  TFormStorage *strPreferences = nullptr;
  QActionGroup *pages_ = nullptr;
  bool active_ = false;
};
