// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <span>

#include "app/core/FileLists.h"
#include "app/ui/Commands.h"
#include "app/ui/MainSettings.h"
#include "app/ui/TipPanel.h"
#include "documents/edit/EditControl.h"
#include "documents/ui/DocumentSaver.h"
#include "documents/ui/EditHost.h"
#include "documents/ui/FileDialogs.h"

class QActionGroup;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QSystemTrayIcon;
class QToolBar;
class TBarStyleMenu;
class THelpCommands;
class THolder;
class TSystemIntegration;
class TSpellDlg;
class TFormStorage;

// The main window: a multiple-document frame holding the document windows ("workspaces"),
// the menus, the two tool bars, the tips panel, the status bar, the tray icon and the named
// setting holders other windows read and write.
class TfrmMain : public QMainWindow, public TEditHost {
  Q_OBJECT

 public:
  // commandLine: the program's parameters, naming the files to open (CommandLine::FileNames).
  explicit TfrmMain(const QStringList &commandLine = {}, QWidget *parent = nullptr);
  ~TfrmMain() override;

  // ---- lookup -----------------------------------------------------------------------------
  // A command's menu item (for Reopen, Favorite Files and Convert: its submenu's item), a
  // pop-up item, a tool button, a menu, a setting holder.
  QAction *Item(TCommand command) const { return items_[std::size_t(command)]; }
  QAction *PopupItem(TPopupItem item) const { return popupItems_[std::size_t(item)]; }
  QAction *Button(TButton button) const { return buttons_[std::size_t(button)]; }
  QMenu *Menu(TMenu menu) const { return menus_[std::size_t(menu)]; }
  THolder *Holder(TMainHolder holder) const { return holders_[std::size_t(holder)]; }
  bool IsChecked(TCommand command) const;
  // The same by object name, as stored tool-bar layouts and the tests name them; nullptr
  // for a name the window does not have.
  QAction *Action(const QString &name) const;
  QMenu *Menu(const QString &name) const;
  THolder *Holder(const QString &name) const;
  bool IsChecked(const QString &itemName) const;
  // Default Windows Notepad and Start With Windows (Autostart1).
  TSystemIntegration *Integration() const { return integration_; }
  QToolBar *barMCustom() const { return barMCustom_; }
  QToolBar *barECustom() const { return barECustom_; }
  TTipPanel *pnlTip() const { return pnlTip_; }
  // The Help menu, About, Properties... and Special Characters....
  THelpCommands *Help() const { return help_; }
  QStatusBar *barMain() const;
  QMdiArea *Area() const { return area_; }
  QSystemTrayIcon *TrayIcon() const { return traIcon_; }

  // The active document window; nullptr when there is none.
  TfrmEdit *ActiveEdit() const;
  QList<TfrmEdit *> EditWindows() const;
  QMdiSubWindow *SubWindowOf(TfrmEdit *window) const;

  QString CurrentFileName() const { return currentFileName_; }
  QString FilePath() const;
  // The filter list of the Open and Save As dialogs ("Name|*.a;*.b|...").
  QString OpenFilter() const;
  QString ApplicationTitle() const { return applicationTitle_; }
  QString HelpFile() const { return helpFile_; }
  bool IsTopMost() const;

  // ---- commands ---------------------------------------------------------------------------
  TfrmEdit *NewWorkspace();
  // Opens a named file in a new document window; the window stays (empty) when loading fails.
  TfrmEdit *OpenFile(const QString &fileName);
  void OpenTextFile();
  // File|Close on the active document window.
  void CloseActive();
  void CustomizeToolBar(QToolBar *bar, std::span<const TButtonDef> buttons);
  void proMenuWindows(int tag);
  // Character menu: alignment (tags 0 to 2) with its check marks, word wrap from its check
  // mark, the date and time in the holders' formats.
  void Align(int tag);
  void ApplyWordWrap();
  void InsertDateTime();
  // Edit|Spell Check and Edit|Word Count on the active document.
  void SpellCheck();
  void WordCount();
  TSpellDlg *dlgSpell() const { return dlgSpell_; }
  // Saving: false when nothing was saved (failure reported, or cancelled).
  bool SaveFile(TfrmEdit *window, const QString &fileName);
  bool SaveFileAs(TfrmEdit *window);
  // Applies all options after an option item has flipped its check mark.
  void OptionsMenu();
  // Enables a command only when it has a handler (see Commands.h).
  static void EnableCommand(QAction *action, bool on);
  void SetProductTexts();
  // Tool-bar button style from IExplorer Style (flat) or Standard Style (raised), for both bars.
  void UpdateMainMenus();
  // Opens the first file of a drop.
  void OpenDroppedFiles(const QList<QUrl> &urls);
  // Restores the program from the tray.
  void RestoreFromTray();
  // File|Exit and the tray's Exit: closes the window (asking about changed documents) and,
  // when it closed, ends the program, also when the window is hidden in the tray.
  void Exit();

  // ---- recent and favourite files ---------------------------------------------------------
  TFileLists &FileLists() { return fileLists_; }
  void LoadFileLists();
  void SaveFileLists();
  void UpdateMRU(const QString &path);
  void ShowRecentMenu();
  void ShowFavoriteMenu();
  // Opens a recent file; position (0-based) is dropped from the list when the file is gone.
  void RunMRU(const QString &path, int position = -1);
  void RunFav(const QString &path, int position);

  // ---- seams filled by later parts of the program ---------------------------------------
  // Shown modally at the first start when set.
  std::function<void()> SetupWizard;

  // ---- TEditHost --------------------------------------------------------------------------
  QString EditDisplay() const override;
  void SetFilePath(const QString &folder) override;
  void SetCurrentFileName(const QString &name) override { currentFileName_ = name; }
  void TopMostOff() override;
  void TopMostOn() override;
  void UpdateTitles() override;
  void UpdateCommands() override { proAppIdle(); }
  QMenu *PopupMenu() const override;
  void OpenWebLink(const QString &question, const QString &address) override;
  bool SaveFromClose(TfrmEdit *window) override;
  void Activate(TfrmEdit *window) override;

 public Q_SLOTS:
  // The idle refresh of command states.
  void proAppIdle();
  // The active-form change: document-only menus and bars, option hints.
  void proAppAFormChange();

 protected:
  void showEvent(QShowEvent *event) override;
  void closeEvent(QCloseEvent *event) override;
  void changeEvent(QEvent *event) override;
  bool event(QEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;
  void dragEnterEvent(QDragEnterEvent *event) override;
  void dropEvent(QDropEvent *event) override;

 private:
  void FormCreate();
  void FormShow();
  void FormDestroy();
  void createHolders();
  void createActions();
  void createMenus();
  void createToolBars();
  void createStyleMenu();
  void createTipPanel();
  void createTray();
  void createFileListItems();
  // The items of the recent or the favourite files submenu, made once and shown as needed.
  struct TFileListItems {
    TFileListItems(TCommand submenu, TMainHolder shown) : submenu(submenu), shown(shown) {}
    TCommand submenu;
    TMainHolder shown;  // the holder that says whether the submenu shows at all
    QList<QAction *> items;
    QAction *divider = nullptr;  // between the fourth and the fifth item
  };
  void fillFileListItems(TFileListItems &list, const QString &prefix, const QString &divider);
  void showFileListMenu(const QStringList &entries, const TFileListItems &list);
  // Keeps an action reachable by its object name.
  void keepByName(QAction *action);
  bool reportMissing(const QString &path);
  void connectCommands();
  TfrmEdit *createEditWindow();
  void applyTopMost(bool on);
  TSaveSettings SaveSettings();
  void rebuildWindowList();
  // The frame's own caption for the active document window; kept over the one the
  // multiple-document area sets for a maximised window.
  QString titleFor() const;
  // Drops of files onto a document window open them instead of typing their address.
  bool dropOnDocument(QObject *watched, QEvent *event);
  void setHint(QAction *action, const QString &hint);
  // Ticks the alignment's menu item and tool button.
  void showAlignment(TTextAlignment alignment);

  QMdiArea *area_ = nullptr;
  QToolBar *barMCustom_ = nullptr;
  QToolBar *barECustom_ = nullptr;
  TTipPanel *pnlTip_ = nullptr;
  THelpCommands *help_ = nullptr;
  QSystemTrayIcon *traIcon_ = nullptr;
  TBarStyleMenu *pumToolBar_ = nullptr;
  QAction *documentDivider_ = nullptr;  // the File menu's separator shown with a document
  std::array<QAction *, std::size_t(TCommand::Count)> items_{};
  std::array<QAction *, std::size_t(TPopupItem::Count)> popupItems_{};
  std::array<QAction *, std::size_t(TButton::Count)> buttons_{};
  std::array<QMenu *, std::size_t(TMenu::Count)> menus_{};
  std::array<THolder *, std::size_t(TMainHolder::Count)> holders_{};
  QHash<QString, QAction *> actionsByName_;
  QHash<QString, QMenu *> menusByName_;
  TFileListItems recentItems_{TCommand::Reopen, TMainHolder::ShowMRU};
  TFileListItems favoriteItems_{TCommand::FavFiles, TMainHolder::ShowFavFiles};
  TFileLists fileLists_;
  TFormStorage *strMain_ = nullptr;
  TDocumentSaver saver_;
  TFileDialogSettings *dlgOpen_ = nullptr;
  TSpellDlg *dlgSpell_ = nullptr;
  QList<QAction *> windowListActions_;
  QStringList commandFiles_;  // the files named on the command line, as absolute paths
  QString currentFileName_;
  QString applicationTitle_;
  QString helpFile_;
  TSystemIntegration *integration_ = nullptr;
  bool shown_ = false;
  bool topMost_ = false;
  bool buttonHints_ = true;
};
