// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "documents/core/PlainDocument.h"
#include "documents/edit/EditControl.h"
#include "documents/view/TextView.h"
#include "platform/core/TextFile.h"

class TSelectionBar;

// The document's edit control: a plain-text editing widget behind the engines' edit-control
// interface. It tells the kinds of its undo steps, shows a selection bar, detects web
// addresses and reports clicks on them, aligns all lines, and types over its text while the
// Insert key is toggled on.
class TRichEdit : public TTextView, public TEditControl {
  Q_OBJECT
  Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
  Q_PROPERTY(bool AutoURLDetect READ AutoURLDetect WRITE SetAutoURLDetect)
  Q_PROPERTY(bool SelectionBar READ SelectionBar WRITE SetSelectionBar)
  Q_PROPERTY(int UndoLimit READ UndoLimit WRITE SetUndoLimit)
  Q_PROPERTY(TScrollStyle ScrollBars READ ScrollBars WRITE SetScrollBars)
  Q_PROPERTY(QColor Color READ Color WRITE SetColor)
  Q_PROPERTY(QFont Font READ font WRITE SetEditFont)
  Q_PROPERTY(QColor FontColor READ FontColor WRITE SetFontColor)

 public:
  enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
  Q_ENUM(TScrollStyle)

  explicit TRichEdit(QWidget *parent = nullptr);
  ~TRichEdit() override;

  // TEditControl
  QString Text() const override;
  void SetText(const QString &text) override;
  QString LineEnd() const override { return lineEnd_; }
  qsizetype TextLength() const override;
  void Clear() override;
  qsizetype SelStart() const override;
  qsizetype SelLength() const override;
  void SetSelection(qsizetype start, qsizetype length) override;
  QString SelText() const override;
  void ReplaceSelection(const QString &text) override;
  void SelectAll() override;
  QString TextRange(qsizetype start, qsizetype end) const override;
  qsizetype PositionCount() const override;
  void BeginEditBlock() override;
  void EndEditBlock() override;
  void Cut() override;
  void Copy() override;
  void Paste() override;
  void DeleteSelection() override;
  void Undo() override;
  void Redo() override;
  bool CanUndo() const override;
  bool CanRedo() const override;
  TUndoKind UndoKind() const override;
  TUndoKind RedoKind() const override;
  bool Modified() const override;
  quint64 ChangeCount() const override { return changeCount_; }
  void SetModified(bool modified) override;
  bool HideSelection() const override { return hideSelection_; }
  void SetHideSelection(bool hide) override;
  void SetFocus() override;
  void Repaint() override;
  QPoint ClientOrigin() const override;
  QPoint PositionToScreen(qsizetype position) const override;
  int CaretLine() const override;
  int CaretColumn() const override;
  QString CaretWord() const override;
  TTextAlignment Alignment() const override { return alignment_; }
  void SetAlignment(TTextAlignment alignment) override;
  bool WordWrap() const override;
  void SetWordWrap(bool wrap) override;
  void HoldUpdates() override;
  void ReleaseUpdates() override;

  void SetLineEnd(const QString &lineEnd) { lineEnd_ = lineEnd; }
  // Replaces the whole text by a decoded file's text, each line keeping its own line break;
  // lines added later get the break of the line they were started in.
  void LoadText(const TDecodedText &decoded);
  // The same in slices, so that the window can answer between them: BeginLoad empties the
  // control and makes it read-only, LoadSlice appends text from position from on (about
  // sliceChars characters, up to a line break) and returns where the next slice starts, and
  // EndLoad gives each line its own break and the control back to the user. No step of it
  // can be undone, and the text is not counted as modified by it.
  void BeginLoad(const TTextFormat &format);
  qsizetype LoadSlice(const QString &text, qsizetype from, qsizetype sliceChars);
  // A chunk of a decoded file appended whole; the text holds it in place, without a copy.
  void LoadChunk(QString chunk);
  void EndLoad(const TDecodedText &decoded);
  bool Loading() const { return loading_; }
  // The whole text as the document's file holds it: each line with its own line break, every
  // character as it is (no-break spaces, line and paragraph separators).
  QString FileText() const;
  // The same in slices: appends to text the lines from line number fromLine on, each but the
  // document's first with its own line break in front, whole lines until at least sliceChars
  // characters are added, and returns the number of the line to go on with (the document's
  // block count when all are read). Read from line 0 to the end, the slices make FileText().
  int AppendFileText(QString &text, int fromLine, qsizetype sliceChars) const;
  // The lines from line number fromLine on appended to text, '\n' in front of each but the
  // document's first, whole lines until at least sliceChars characters are added; with breaks,
  // the kind of each line break appended is appended to it. Returns the number of the line to
  // go on with (the document's block count when all are read). Read from line 0 to the end,
  // the slices make TextRange(0, PositionCount()) and the break kinds of a load.
  int AppendLines(QString &text, std::vector<uint8_t> *breaks, int fromLine,
                  qsizetype sliceChars) const;
  // The kind of the document's own line end (TextFile break kinds).
  uint8_t LineEndKind() const;
  // Forgets every undo and redo step (after a load).
  void ResetUndoHistory();

  // A whole new text can replace the text as one undo step by a store built apart from the
  // control (PlainDocument::Build, on any thread): taking it in and undoing it cost no more than
  // swapping two stores, whatever the text's size. Only for plain text, and not while a file
  // loads. MayHaveOwnBreaks: the line breaks have to be read and passed on.
  bool CanTakeDocument() const;
  bool MayHaveOwnBreaks() const { return PlainDocument::MayHaveOwnBreaks(*document()); }
  // Shows store in place of the text, with the caret at position, as an undo step of the kind
  // given; Undo shows the text as it was again, Redo the new one.
  void TakeDocument(std::unique_ptr<TTextStore> store, qsizetype position,
                    TUndoKind kind = TUndoKind::Unknown);

  // An edit that changes millions of characters goes in as a new store: changing the text in
  // place, and undoing that, would take a while. When at most a million characters stay,
  // the control builds the document at once; else an edit of the user's (keys, Cut, Paste,
  // Delete) of many millions asks the long edit given here (the window's) to build it as a
  // long command: it replaces [start, end) by text as an undo step of kind, and returns false
  // when it does not (the edit is then made in place). The control may be gone when it
  // returns.
  using TLongEdit =
      std::function<bool(qsizetype start, qsizetype end, const QString &text, TUndoKind kind)>;
  // Characters changed from which an edit is a long one: made in place, it would freeze the
  // window (about a tenth of a second a million characters), and so would its undo. Tests set
  // less.
  static inline qsizetype LongEditChars = 8 << 20;
  void SetLongEdit(TLongEdit longEdit) { longEdit_ = std::move(longEdit); }
  bool replaceSelectionWhole(const QString &text) override;

  bool AutoURLDetect() const { return autoUrlDetect_; }
  void SetAutoURLDetect(bool on);
  bool SelectionBar() const { return selectionBar_; }
  void SetSelectionBar(bool on);
  int UndoLimit() const { return undoLimit_; }
  void SetUndoLimit(int limit);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle style);
  QColor Color() const;
  void SetColor(const QColor &color);
  QColor FontColor() const;
  void SetFontColor(const QColor &color);
  void SetEditFont(const QFont &font);

  // How often a line of several pieces was laid out whole since the control was made (when it
  // is first shown, and for a new font or width): loading and settings keep it low.
  int LongLineLayouts() const { return viewLayout()->LongLayouts(); }

  // The web address at a position of the text, or an empty text.
  QString UrlAt(qsizetype position) const;

  // Width of the selection bar in pixels.
  int SelectionBarWidth() const;

 Q_SIGNALS:
  // A left or right click was pressed and released on the same detected web address.
  void URLClick(const QString &address);

 protected:
  void keyPressEvent(QKeyEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void dropEvent(QDropEvent *event) override;
  void insertFromMimeData(const QMimeData *source) override;

 private:
  friend class TSelectionBar;
  void connectDocument();
  // Whether replacing the selection by added is a long edit, and making it one: true when it
  // was taken (or the control went meanwhile).
  bool isLongEdit(const QString &added) const;
  bool runLongEdit(const QString &added);
  // Replaces the selection by text as a new document when that is worth it (mayRunLong: as a
  // long edit too); false when the edit is to be made in place.
  bool replaceWhole(const QString &text, bool mayRunLong);
  void applyAlignment();
  // Gives the document the control's font.
  void applyDocumentFont();
  void updateMargins();
  void selectLineAt(int y, bool extend);
  TTextCursor cursorAt(qsizetype position) const;
  // The whole text with each line break written by breakText(kind of the break).
  template <typename BreakText>
  QString joinedText(BreakText breakText) const;
  // The line break in front of a block as the file holds it.
  QStringView fileBreakBefore(const TTextBlock &block) const;
  // Appends whole lines from fromLine on until sliceChars characters are added, each but the
  // document's first after what onBreak(text, block) appends; returns the next line.
  template <typename OnBreak>
  int appendLines(QString &text, int fromLine, qsizetype sliceChars, OnBreak onBreak) const;

  QString lineEnd_ = QStringLiteral("\n");
  // The kind a new undo step gets (kept with the step by the document).
  TUndoKind pendingKind_ = TUndoKind::Unknown;
  quint64 changeCount_ = 0;
  bool hideSelection_ = false;
  bool autoUrlDetect_ = false;
  bool selectionBar_ = true;
  int undoLimit_ = 100;
  TScrollStyle scrollBars_ = TScrollStyle::ssBoth;
  TTextAlignment alignment_ = TTextAlignment::Left;
  int holdCount_ = 0;
  bool loading_ = false;
  bool readOnlyBeforeLoad_ = false;
  int editBlockDepth_ = 0;
  QString pressedUrl_;
  TLongEdit longEdit_;
  TSelectionBar *selectionBarWidget_ = nullptr;
};
