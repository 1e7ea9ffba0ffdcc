// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DocumentSaver.h"
#include "EditHost.h"
#include "FileDialogs.h"
#include "FileLists.h"
#include "TipPanel.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <span>

struct TButtonDef;

class QActionGroup;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QSystemTrayIcon;
class QToolBar;
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
  QAction *Action(const QString &name) const;
  QMenu *Menu(const QString &name) const;
  THolder *Holder(const QString &name) const;
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
  bool IsChecked(const QString &itemName) const;

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
  // Tool-bar button style from mniExplore (flat) or mniStandard (raised), for both bars.
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
  void createTipPanel();
  void createTray();
  void createFileListItems();
  void showFileListMenu(const QStringList &list, const QString &itemPrefix, const QString &divider,
                        const QString &submenu, const QString &showHolder);
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

  QMdiArea *area_ = nullptr;
  QToolBar *barMCustom_ = nullptr;
  QToolBar *barECustom_ = nullptr;
  TTipPanel *pnlTip_ = nullptr;
  THelpCommands *help_ = nullptr;
  QSystemTrayIcon *traIcon_ = nullptr;
  QHash<QString, QAction *> actions_;
  QHash<QString, QMenu *> menus_;
  QHash<QString, THolder *> holders_;
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
