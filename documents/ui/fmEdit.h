// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <optional>

#include "documents/core/FileStamp.h"
#include "documents/core/SearchState.h"
#include "documents/edit/EditControl.h"
#include "documents/ui/FindDialog.h"
#include "platform/core/TextFile.h"

class TEditHost;
class TFormStorage;
class TLoadPanel;
class TPanelStatusBar;
class TRichEdit;
class TRecoveryTracker;

// A document window ("workspace"): one text file in an edit control above an eight-panel
// status bar. It loads its file, keeps its status bar current, and asks before a changed
// document is closed.
class TfrmEdit : public QWidget {
  Q_OBJECT

 public:
  // Status bar panels.
  enum {
    pnlCaret = 0,
    pnlModified = 1,
    pnlFileName = 2,
    pnlSize = 3,
    pnlInsert = 4,
    pnlNum = 5,
    pnlCaps = 6,
    pnlSpare = 7
  };

  explicit TfrmEdit(TEditHost &host, QWidget *parent = nullptr);
  ~TfrmEdit() override;

  // Loads the named file; false (after reporting the error) when it cannot be read or the user
  // chose not to open a file that does not look like text. The window is then an empty
  // untitled document. A file that takes long is read on another thread and shown in
  // slices, the window answering meanwhile with its progress and a Cancel button; a
  // cancelled load (Cancel, or closing the window) opens nothing and closes the window.
  bool Open(const QString &fileName);
  // Whether a load runs; Cancel stops it.
  bool Loading() const { return loading_; }
  void CancelLoad() { loadCancelled_ = true; }
  TLoadPanel *pnlLoad() const { return pnlLoad_; }
  // While a plain-text file goes into the edit control: the chunks of its text not yet in it
  // (each is let go once it is in). 0 at any other time.
  qsizetype ChunksToLoad() const { return chunksToLoad_ ? qsizetype(chunksToLoad_->size()) : 0; }

  // A long command on the text (see LongOperation) runs between these calls: the edit control
  // is read-only, the progress panel says what runs once mayShow is given, and its Cancel
  // button, like closing the window, calls cancel. A window closed meanwhile closes once the
  // command is over, asking about changes as always.
  void BeginOperation(const QString &caption, std::function<void()> cancel);
  void ShowOperationProgress(int perMille, bool mayShow);
  void EndOperation();
  // Whether a load or a long command runs: other commands on the text wait for it.
  bool Busy() const { return loading_ || operationCancel_ != nullptr; }

  // Sets the caption and panel 2 of a new, untitled document.
  void SetUntitled(const QString &displayName);

  TRichEdit *mmoMemo() const { return mmoMemo_; }
  TPanelStatusBar *barEdit() const { return barEdit_; }

  // The document's full file name: the text of panel 2.
  QString FileName() const;
  void SetFileName(const QString &name);
  // The file name a save writes to: panel 2 without an untitled document's leading blank
  // (blanks at the end belong to the name).
  QString SaveName() const;

  // The encoding and line ends the file was read with, written back on save.
  const TTextFormat &Format() const { return format_; }
  void SetFormat(const TTextFormat &format);

  QString Caption() const { return windowTitle(); }

  // The editor font and colour of the document window shown most recently, which the
  // special-characters window shows its grid in.
  static inline QFont ShownFont;
  static inline QColor ShownColor;

  // The panel width for a file name: 300 pixels up to 45 characters, else 7 per character.
  static int FileNamePanelWidth(const QString &name);
  // Width of the size panel for its text.
  static int SizePanelWidth(const QString &text);
  // "#,###,##0 bytes" with the locale's thousands separator.
  static QString SizeText(qsizetype size);
  // Panel 3: the bytes the text takes in its file's encoding ("#,###,##0 bytes"); for a large
  // UTF-8 document, whose bytes would take long to count, its characters ("... characters").
  QString SizePanelText();

  // ---- find and replace -------------------------------------------------------------------
  // Set by the Find Next command so that the F3 key-up that follows does not search twice.
  static inline bool FindNextPending = false;
  // The window's find or replace dialog, created on first use; a new one takes over the find
  // text of the other.
  TFindDialog *SearchDialog(TFindDialog::TMode mode);
  // Shows a search dialog with the word at the caret as its find text (when there is one).
  void ShowSearchDialog(TFindDialog::TMode mode);
  // Key-up handling: F3 with FindNextPending repeats the last search.
  void FormKeyUp(int key);
  const TSearchState &SearchState() const { return searchState_; }
  // "Cannot find '<text>'." in an information box.
  void mmoMemoTextNotFound(const QString &findText);

  // ---- case conversion --------------------------------------------------------------------
  // The Character menu's conversion of the given tag (see MenuConvert) on the selection or the
  // whole text; a long one runs with its progress and can be cancelled.
  void ConvertCase(int tag);

  // ---- saving -----------------------------------------------------------------------------
  // The file as it was loaded or last saved, to notice changes made by other programs.
  const std::optional<TFileStamp> &DiskStamp() const { return diskStamp_; }
  void SetDiskStamp(const std::optional<TFileStamp> &stamp) { diskStamp_ = stamp; }
  // Keeps the recovery copy of the text while it is modified.
  TRecoveryTracker *Recovery() const { return recovery_; }

 public Q_SLOTS:
  // Idle refresh of panels 0, 1 and 3.
  void appEventsIdle();
  // Once a second: panels 4, 5 and 6.
  void tmrKeyStateTimer();

 protected:
  void showEvent(QShowEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;
  void closeEvent(QCloseEvent *event) override;

 private:
  void FormShow();
  bool FormCloseQuery();
  void mmoMemoURLClick(const QString &address);
  void pnlLoadCancelClicked();
  // Open's steps: the text of a file into the edit control; false when it was not loaded
  // (reported, or cancelled).
  bool loadPlainText(const QString &fileName, TDecodedChunks &decoded);
  bool loadRichText(const QString &fileName, const QByteArray &bytes);
  bool openFailed(const QString &fileName);
  QString sizeOfText() const;
  // Runs the event loop until step returns false or the load is cancelled; false when it was
  // cancelled. The progress panel shows once the load has lasted half a second.
  bool whileLoading(const std::function<bool()> &step, int intervalMs);
  // Shows the progress panel once the load has lasted half a second.
  void showLoadPanel();
  // A cancelled load: nothing of the file stays, and the window goes.
  bool abandonLoad();
  // The content of the copy an interrupted save kept of the file, when the user chooses it;
  // a null array otherwise.
  QByteArray keptVersion(const QString &fileName);
  // One search from a dialog's button: reports when nothing is found and moves the dialog.
  // With replaceText (the Replace button), the occurrence found is replaced by it.
  void dialogFindNext(TFindDialog *dialog,
                      const std::optional<QString> &replaceText = std::nullopt);
  void dialogReplace(TFindDialog *dialog);
  void dialogReplaceAll(TFindDialog *dialog);
  // An edit of the user's that changes millions of characters, made as a long command: the
  // text with [start, end) replaced by text goes in as a new document built on a thread.
  bool replaceLong(qsizetype start, qsizetype end, const QString &text, TUndoKind kind);
  void moveOutOfTheWay(TFindDialog *dialog);

  TEditHost &host_;
  TRichEdit *mmoMemo_;
  TPanelStatusBar *barEdit_;
  QTimer tmrKeyState_;
  TTextFormat format_;
  const std::deque<QString> *chunksToLoad_ = nullptr;  // see ChunksToLoad
  TFormStorage *strEdit_ = nullptr;
  QPointer<TFindDialog> findDialog_;
  QPointer<TFindDialog> replaceDialog_;
  QPointer<TFindDialog> lastSearchDialog_;  // whose search ran last: F3 repeats it as it is now
  TSearchState searchState_;
  std::optional<TFileStamp> diskStamp_;
  TRecoveryTracker *recovery_ = nullptr;
  bool shown_ = false;
  std::function<void()> operationCancel_;  // set while a long command runs
  bool operationReadOnly_ = false;         // the control's read-only state before it
  bool closeAfterOperation_ = false;
  bool loading_ = false;
  bool loadCancelled_ = false;
  TLoadPanel *pnlLoad_ = nullptr;
  QElapsedTimer loadWatch_;  // since the current load started
  QString sizeText_;         // panel 3 as of sizeTextChanges_ and sizeTextFormat_
  quint64 sizeTextChanges_ = 0;
  TTextFormat sizeTextFormat_;
  QString openNotice_;  // how a file was read, told once it is open
};
