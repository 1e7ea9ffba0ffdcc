// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QPointer>

#include "documents/store/TextModel.h"
#include "documents/view/ViewLayout.h"

class QMimeData;

// A plain-text editing view over a TTextModel, laid out by TViewLayout: only the lines in
// view are laid out, and a change in a line of megabytes lays out only the piece of it the
// change falls in. Its programming interface follows QPlainTextEdit's where it has the same
// job (cursor, document, wrap, read-only, clipboard, signals), so that code written for one
// works with the other.
//
// Rows: the view scrolls by rows (a wrapped line has several). The vertical scroll bar's value
// is the document's row number of the top row (TTextBlock::firstLineNumber() counts rows; a
// line not yet laid out counts one). The horizontal one scrolls pixels.
//
// The work is split over three files: TextView.cpp (document, layout, painting, scrolling,
// caret, geometry, signals), ViewKeys.cpp (keys and shortcuts) and ViewMouse.cpp (mouse,
// drag and drop, input methods).
class TTextView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  enum LineWrapMode { NoWrap, WidgetWidth };
  Q_ENUM(LineWrapMode)

  explicit TTextView(QWidget *parent = nullptr);
  ~TTextView() override;

  // The document shown; the view lays it out with its own TViewLayout. A document set here
  // is not owned by the view (unless it is the view's child).
  TTextModel *document() const { return document_; }
  void setDocument(TTextModel *document);
  TViewLayout *viewLayout() const { return layout_; }
  // Formats shown on the text but not part of it (see TViewLayout::SetMarker); they go with
  // the view to every document it shows.
  void setMarker(const TViewLayout::TMarker &marker);

  TTextCursor textCursor() const { return cursor_; }
  // Makes cursor the view's cursor (its selection shown), and scrolls it into view.
  void setTextCursor(const TTextCursor &cursor);
  void moveCursor(QTextCursor::MoveOperation operation,
                  QTextCursor::MoveMode mode = QTextCursor::MoveAnchor);

  QString toPlainText() const { return document_->toPlainText(); }
  // Replaces the text; the undo history is cleared and the caret goes to the start.
  void setPlainText(const QString &text);
  void insertPlainText(const QString &text);

  bool isReadOnly() const { return readOnly_; }
  void setReadOnly(bool readOnly);
  bool overwriteMode() const { return overwrite_; }
  void setOverwriteMode(bool overwrite) { overwrite_ = overwrite; }
  LineWrapMode lineWrapMode() const { return wrapMode_; }
  void setLineWrapMode(LineWrapMode mode);
  bool tabChangesFocus() const { return tabChangesFocus_; }
  void setTabChangesFocus(bool on) { tabChangesFocus_ = on; }
  qreal tabStopDistance() const { return document_->defaultTextOption().tabStopDistance(); }
  void setTabStopDistance(qreal distance);
  int cursorWidth() const { return cursorWidth_; }
  void setCursorWidth(int width);

  // The characters of a document from start to end, each line break as '\n' (line separators
  // stay as they are).
  static QString TextBetween(const TTextModel &document, int start, int end);
  // The same as the clipboard carries it: line separators as line breaks too.
  static QString SelectedText(const TTextModel &document, int start, int end);

  // Viewport coordinates. The caret's rectangle (a caret far out of view: an estimate of where
  // it would be), and the cursor at a point of the viewport.
  QRect cursorRect(const TTextCursor &cursor) const;
  QRect cursorRect() const { return cursorRect(cursor_); }
  TTextCursor cursorForPosition(const QPoint &pos) const;
  // Scrolls the least that shows the caret; centerCursor puts its row in the middle.
  void ensureCursorVisible();
  void centerCursor();
  // The first line (block) shown at the top and the first of its rows shown.
  TTextBlock firstVisibleBlock() const;
  int firstVisibleRow() const { return topRow_; }

  // ---- for the key and mouse handling (ViewKeys.cpp, ViewMouse.cpp) ----
  // The block of a position, laid out (its rows known).
  TTextBlock laidOutBlock(int position) const;
  // The row a position stands in: its block, and its row within the block.
  struct TRowPlace {
    TTextBlock block;
    int row = 0;
  };
  TRowPlace rowOf(int position) const;
  // The row count rows after (negative: before) a row, or the first/last row of the document
  // when there are fewer; laid out on the way.
  TRowPlace rowFrom(TRowPlace place, int count) const;
  // Rows that fit into the viewport (at least 1).
  int rowsPerPage() const;
  // The x of a position in its row (content coordinates: not scrolled) and the position at x
  // in a row (for moving up and down: the caret keeps its x).
  qreal xOf(int position) const;
  int positionInRow(const TRowPlace &place, qreal x) const;
  // The caret stop after and before a position (a character, or a word's start) as the view
  // lays its line out; from a line's end on to the next line's start and back.
  int nextStop(int position, QTextLayout::CursorMode mode) const;
  int previousStop(int position, QTextLayout::CursorMode mode) const;
  // Sets the view's cursor after a key or a mouse action: shows its selection, restarts the
  // caret's blinking, scrolls it into view, and reports the changes (cursorPositionChanged,
  // selectionChanged, copyAvailable). keepX: an up or down move keeps the x it started from.
  void moveTo(const TTextCursor &cursor, bool keepX = false);
  // The x an up or down move keeps (-1: the caret's own).
  qreal wantedX() const { return wantedX_; }

 public:
  // ViewMouse.cpp
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

  // Replaces the selection by text in some cheaper way than changing the document in place,
  // as one undo step, with the caret after text; false when it does not (the default), and
  // the edit is made in place. Keys and Cut ask it before they change a selection.
  virtual bool replaceSelectionWhole(const QString &text);

 public Q_SLOTS:
  void undo();
  void redo();
  void cut();
  void copy();
  void paste();
  void selectAll();
  void clear();

 Q_SIGNALS:
  void textChanged();
  void cursorPositionChanged();
  void selectionChanged();
  void modificationChanged(bool changed);
  void copyAvailable(bool yes);
  void undoAvailable(bool available);
  void redoAvailable(bool available);

 protected:
  // What the clipboard and drag and drop carry: by default plain text.
  virtual QMimeData *createMimeDataFromSelection() const;
  virtual bool canInsertFromMimeData(const QMimeData *source) const;
  virtual void insertFromMimeData(const QMimeData *source);

  bool event(QEvent *event) override;
  void paintEvent(QPaintEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void changeEvent(QEvent *event) override;
  void scrollContentsBy(int dx, int dy) override;
  void timerEvent(QTimerEvent *event) override;
  void focusInEvent(QFocusEvent *event) override;
  void focusOutEvent(QFocusEvent *event) override;
  void showEvent(QShowEvent *event) override;
  // ViewKeys.cpp
  void keyPressEvent(QKeyEvent *event) override;
  // Tab types a tab into an editable view (unless tabChangesFocus): focus stays.
  bool focusNextPrevChild(bool next) override;
  // ViewMouse.cpp
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;
  void dragEnterEvent(QDragEnterEvent *event) override;
  void dragMoveEvent(QDragMoveEvent *event) override;
  void dragLeaveEvent(QDragLeaveEvent *event) override;
  void dropEvent(QDropEvent *event) override;
  void inputMethodEvent(QInputMethodEvent *event) override;

 private:
  // TextView.cpp
  void documentChanged(int from, int removed, int added);
  void reportCursor();
  void updateScrollBars();
  void applyWidth();
  void scrollToRow(const TRowPlace &place);
  qreal leftMargin() const;
  // The top of a block relative to the top of the viewport, when it is within reach of the
  // view (laid out on the way); otherwise an estimate from row numbers.
  qreal blockTop(const TTextBlock &block) const;
  void restartBlinking();
  // ViewKeys.cpp: whether a ShortcutOverride event's key is one the view handles itself.
  bool handlesShortcut(QKeyEvent *event) const;
  // ViewMouse.cpp
  void startDrag();
  void autoScroll();
  void extendSelection(QPoint pos);
  void copyToSelectionClipboard();
  void pasteSelectionAt(QPoint pos);
  bool isOwnDrag(const QDropEvent *event) const;

  QPointer<TTextModel> document_;
  TViewLayout *layout_ = nullptr;
  TViewLayout::TMarker marker_;
  TTextCursor cursor_;
  int topBlock_ = 0;  // number of the block at the top and its first row shown
  int topRow_ = 0;
  bool readOnly_ = false;
  bool overwrite_ = false;
  bool tabChangesFocus_ = false;
  LineWrapMode wrapMode_ = WidgetWidth;
  int cursorWidth_ = 1;
  bool caretShown_ = false;
  bool caretInView_ = false;  // the caret stood in the viewport when it was last painted
  QBasicTimer blinkTimer_;
  qreal wantedX_ = -1;
  int reportedPosition_ = 0;
  int reportedAnchor_ = 0;
  bool settingScrollBars_ = false;

  // Mouse, drag and drop, input methods (ViewMouse.cpp).
  QPoint pressPos_;
  bool pressedInSelection_ = false;
  bool selecting_ = false;
  bool selectingWords_ = false;
  int wordAnchorStart_ = 0;
  int wordAnchorEnd_ = 0;
  QBasicTimer scrollTimer_;
  int dropPosition_ = -1;
  QString preedit_;
  // A press soon after a double-click, near it, is a triple-click: it selects the line.
  quint64 doubleClickTime_ = 0;  // the double-click's event time (ms); 0: none
  QPoint doubleClickPos_;
  bool selectingLines_ = false;  // after a triple-click: the mouse selects whole lines
};
