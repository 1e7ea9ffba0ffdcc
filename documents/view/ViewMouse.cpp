// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse, drag and drop and input methods of the text view.
//
// Word and line boundaries are found on a window of the line's text around the place asked
// about, never through the line's own QTextLayout: the view does not lay a whole line out
// (a line of megabytes would take seconds), and a TTextCursor move by words or rows would.
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <cstdlib>

#include "documents/view/TextView.h"

namespace {

// The X11 selection of a mouse selection: the selected text, read from the document only when
// a program asks for it (a middle-click paste), as reading megabytes takes a noticeable time
// and most selections are never pasted that way. Its cursor follows the document's changes
// meanwhile; a document gone gives nothing.
class TSelectionMime : public QMimeData {
 public:
  explicit TSelectionMime(const TTextCursor &selection) : selection_(selection) {}

  QStringList formats() const override { return {QStringLiteral("text/plain")}; }
  bool hasFormat(const QString &mimeType) const override {
    return mimeType == QLatin1String("text/plain");
  }

 protected:
  QVariant retrieveData(const QString &mimeType, QMetaType) const override {
    if (!hasFormat(mimeType) || selection_.isNull() || !selection_.document()) return {};
    return TTextView::SelectedText(*selection_.document(), selection_.selectionStart(),
                                   selection_.selectionEnd());
  }

 private:
  TTextCursor selection_;
};

// Characters read on each side of a position to find the word it stands in.
constexpr int WordWindow = 256;
// Characters of a long line an input method sees around the caret.
constexpr int InputMethodWindow = 1024;
// How often the view scrolls while the mouse selects outside it (ms).
constexpr int AutoScrollInterval = 50;
// The property a drag this view started carries on its data: a drop back into the same view
// is a move within the document, done as one undo step by the drop.
constexpr const char *DragViewProperty = "vellumixDragView";

// The text of a block between two positions relative to its start, read without copying the
// whole line.
QString blockText(TTextModel *document, const TTextBlock &block, int from, int to) {
  TTextCursor cursor(document);
  cursor.setPosition(block.position() + from);
  cursor.setPosition(block.position() + to, QTextCursor::KeepAnchor);
  return cursor.selectedText();
}

// A range of positions relative to a block's start.
struct TSpan {
  int start = 0;
  int end = 0;
};

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c.isMark() || c == u'_'; }

// A line with its line break, in document positions.
TSpan lineOf(TTextModel *document, const TTextBlock &block) {
  return {block.position(),
          std::min(block.position() + block.length(), document->characterCount() - 1)};
}

// The word (or run of blanks or punctuation) a block-relative position stands in; a position
// right after a word, as a click on the right half of its last character gives, is that word.
TSpan wordAt(TTextModel *document, const TTextBlock &block, int position) {
  const int length = block.length() - 1;
  const int from = std::max(0, position - WordWindow);
  const int to = std::min(length, position + WordWindow);
  const QString text = blockText(document, block, from, to);
  int local = position - from;
  const auto wordCharAt = [&](int i) { return i >= 0 && i < text.size() && isWordChar(text[i]); };
  if (!wordCharAt(local) && wordCharAt(local - 1)) --local;
  if (local >= text.size()) return {position, position};
  QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
  finder.setPosition(local + 1);
  qsizetype start = finder.toPreviousBoundary();
  finder.setPosition(local);
  qsizetype end = finder.toNextBoundary();
  if (start < 0) start = 0;
  if (end < 0) end = text.size();
  return {from + static_cast<int>(start), from + static_cast<int>(end)};
}

// The part of a block an input method sees: all of a short line, a window around the caret of
// a long one (its ends not splitting a surrogate pair).
TSpan inputMethodSpan(TTextModel *document, const TTextBlock &block, int caret) {
  const int length = block.length() - 1;
  if (length <= InputMethodWindow) return {0, length};
  int start = std::clamp(caret - InputMethodWindow / 2, 0, length - InputMethodWindow);
  int end = start + InputMethodWindow;
  if (start > 0 && document->characterAt(block.position() + start).isLowSurrogate()) ++start;
  if (end < length && document->characterAt(block.position() + end).isLowSurrogate()) --end;
  return {start, end};
}

// Where the mouse does not scroll the view: the viewport while selecting (the mouse scrolls
// outside it); less a row's height at each edge while a drag hovers (it cannot leave the view
// and still drop).
QRect stillArea(const QWidget *viewport, bool dragging, int margin) {
  const QRect area = viewport->rect();
  if (!dragging) return area;
  const int x = std::min(margin, area.width() / 4);
  const int y = std::min(margin, area.height() / 4);
  return area.adjusted(x, y, -x, -y);
}

}  // namespace

// ---- mouse ----

void TTextView::mousePressEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) {
    // The middle button pastes on release; others (the context menu) leave the caret alone.
    event->setAccepted(event->button() == Qt::MiddleButton);
    return;
  }
  if (!preedit_.isEmpty()) {
    // A click ends a composition: the input method commits what it has.
    QGuiApplication::inputMethod()->commit();
    preedit_.clear();
    viewport()->update();
  }
  const QPoint pos = event->position().toPoint();
  pressPos_ = pos;
  pressedInSelection_ = false;
  selectingWords_ = false;
  selectingLines_ = false;
  selecting_ = false;
  TTextCursor cursor = cursor_;

  const bool tripleClick =
      doubleClickTime_ != 0 &&
      event->timestamp() - doubleClickTime_ <
          static_cast<quint64>(QGuiApplication::styleHints()->mouseDoubleClickInterval()) &&
      (pos - doubleClickPos_).manhattanLength() < QApplication::startDragDistance();
  doubleClickTime_ = 0;
  if (tripleClick) {
    // The whole line with its line break; dragging on selects whole lines.
    const TSpan line = lineOf(document_, document_->findBlock(cursor_.position()));
    wordAnchorStart_ = line.start;
    wordAnchorEnd_ = line.end;
    cursor.setPosition(line.start);
    cursor.setPosition(line.end, QTextCursor::KeepAnchor);
    selecting_ = true;
    selectingLines_ = true;
    moveTo(cursor);
    return;
  }

  const int position = cursorForPosition(pos).position();
  if (event->modifiers() & Qt::ShiftModifier) {
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    selecting_ = true;
    moveTo(cursor);
    return;
  }
  if (cursor_.hasSelection()) {
    // On a selected character (not merely next to the selection, nor past the end of a row
    // it covers): a drag may start.
    const int start = cursor_.selectionStart();
    const int end = cursor_.selectionEnd();
    TTextCursor at(document_);
    at.setPosition(position);
    const int caretX = cursorRect(at).x();
    const bool onText = std::abs(pos.x() - caretX) <= fontMetrics().averageCharWidth();
    const bool inside = onText && ((position > start && position < end) ||
                                   (position == start && pos.x() >= caretX) ||
                                   (position == end && pos.x() < caretX));
    if (inside) {
      pressedInSelection_ = true;
      return;
    }
  }
  cursor.setPosition(position);
  selecting_ = true;
  moveTo(cursor);
}

void TTextView::mouseMoveEvent(QMouseEvent *event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  const QPoint pos = event->position().toPoint();
  if (pressedInSelection_) {
    if ((pos - pressPos_).manhattanLength() >= QApplication::startDragDistance()) {
      pressedInSelection_ = false;
      startDrag();
    }
    return;
  }
  if (!selecting_) return;
  if (viewport()->rect().contains(pos))
    scrollTimer_.stop();
  else if (!scrollTimer_.isActive())
    scrollTimer_.start(AutoScrollInterval, this);
  extendSelection(pos);
}

void TTextView::mouseReleaseEvent(QMouseEvent *event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::MiddleButton) {
    pasteSelectionAt(pos);
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  scrollTimer_.stop();
  if (pressedInSelection_) {
    // A press in the selection that did not become a drag places the caret.
    pressedInSelection_ = false;
    TTextCursor cursor = cursor_;
    cursor.setPosition(cursorForPosition(pos).position());
    moveTo(cursor);
  }
  selecting_ = false;
  copyToSelectionClipboard();
}

void TTextView::mouseDoubleClickEvent(QMouseEvent *event) {
  if (event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mouseDoubleClickEvent(event);
    return;
  }
  const QPoint pos = event->position().toPoint();
  pressedInSelection_ = false;
  const int position = cursorForPosition(pos).position();
  const TTextBlock block = document_->findBlock(position);
  const TSpan word = wordAt(document_, block, position - block.position());
  wordAnchorStart_ = block.position() + word.start;
  wordAnchorEnd_ = block.position() + word.end;
  TTextCursor cursor = cursor_;
  cursor.setPosition(wordAnchorStart_);
  cursor.setPosition(wordAnchorEnd_, QTextCursor::KeepAnchor);
  selecting_ = true;
  selectingWords_ = true;
  selectingLines_ = false;
  doubleClickTime_ = std::max<quint64>(1, event->timestamp());
  doubleClickPos_ = pos;
  moveTo(cursor);
  copyToSelectionClipboard();
}

// The selection follows the mouse: by characters, or after a double- or triple-click by whole
// words or lines, the clicked one always kept.
void TTextView::extendSelection(QPoint pos) {
  const int position = cursorForPosition(pos).position();
  TTextCursor cursor = cursor_;
  if (!selectingWords_ && !selectingLines_) {
    cursor.setPosition(position, QTextCursor::KeepAnchor);
  } else {
    // The word or line the mouse is in, and where the selection reaches in it leftwards and
    // rightwards: all of it, but no word the mouse is only at the edge of.
    const TTextBlock block = document_->findBlock(position);
    TSpan unit = lineOf(document_, block);
    int left = unit.start;
    int right = unit.end;
    bool before = block.position() < wordAnchorStart_;
    bool after = block.position() >= wordAnchorEnd_;
    if (!selectingLines_) {
      const TSpan word = wordAt(document_, block, position - block.position());
      unit = {block.position() + word.start, block.position() + word.end};
      left = position == unit.end ? position : unit.start;
      right = position == unit.start ? position : unit.end;
      before = position < wordAnchorStart_;
      after = position > wordAnchorEnd_;
    }
    if (before) {
      cursor.setPosition(wordAnchorEnd_);
      cursor.setPosition(left, QTextCursor::KeepAnchor);
    } else if (after) {
      cursor.setPosition(wordAnchorStart_);
      cursor.setPosition(right, QTextCursor::KeepAnchor);
    } else {
      cursor.setPosition(wordAnchorStart_);
      cursor.setPosition(wordAnchorEnd_, QTextCursor::KeepAnchor);
    }
  }
  if (cursor.position() != cursor_.position() || cursor.anchor() != cursor_.anchor())
    moveTo(cursor);
}

// Scrolls a step towards the mouse while it selects outside the viewport, or while a drag
// hovers near its edge.
void TTextView::autoScroll() {
  const bool dragging = !selecting_ && dropPosition_ >= 0;
  if (!selecting_ && !dragging) {
    scrollTimer_.stop();
    return;
  }
  const QPoint pos = viewport()->mapFromGlobal(QCursor::pos());
  const QRect area = stillArea(viewport(), dragging, fontMetrics().height());
  if (area.contains(pos)) {
    scrollTimer_.stop();
    return;
  }
  if (pos.y() < area.top())
    verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  else if (pos.y() > area.bottom())
    verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  if (pos.x() < area.left())
    horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  else if (pos.x() > area.right())
    horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  if (!dragging) {
    extendSelection(pos);
    return;
  }
  const int position = cursorForPosition(pos).position();
  if (position != dropPosition_) {
    dropPosition_ = position;
    viewport()->update();
  }
}

// A selection made with the mouse becomes the X11 selection, which a middle-click pastes.
void TTextView::copyToSelectionClipboard() {
  QClipboard *clipboard = QGuiApplication::clipboard();
  if (!cursor_.hasSelection() || !clipboard->supportsSelection()) return;
  clipboard->setMimeData(new TSelectionMime(cursor_), QClipboard::Selection);
}

void TTextView::pasteSelectionAt(QPoint pos) {
  QClipboard *clipboard = QGuiApplication::clipboard();
  if (isReadOnly() || !clipboard->supportsSelection()) return;
  const QMimeData *data = clipboard->mimeData(QClipboard::Selection);
  if (!data || !canInsertFromMimeData(data)) return;
  TTextCursor cursor = cursor_;
  cursor.setPosition(cursorForPosition(pos).position());
  moveTo(cursor);
  insertFromMimeData(data);
  moveTo(cursor_);
}

// ---- drag and drop ----

void TTextView::startDrag() {
  QMimeData *data = createMimeDataFromSelection();
  if (!data) return;
  data->setProperty(DragViewProperty, QVariant::fromValue(static_cast<QObject *>(this)));
  auto *drag = new QDrag(this);
  drag->setMimeData(data);
  // The dragged text: its ends follow the edits made while the drag runs.
  const TTextCursor dragged = cursor_;
  const Qt::DropActions actions = isReadOnly() ? Qt::CopyAction : (Qt::CopyAction | Qt::MoveAction);
  const QPointer<TTextView> alive(this);
  const Qt::DropAction action = drag->exec(actions, Qt::MoveAction);
  if (!alive) return;  // the view was closed while the drag ran
  // A move into another place removes the text here; a move within this view was done whole by
  // the drop.
  if (action == Qt::MoveAction && !isReadOnly() && drag->target() != viewport() &&
      drag->target() != this && dragged.hasSelection()) {
    TTextCursor cursor = dragged;
    cursor.removeSelectedText();
    moveTo(cursor);
  }
}

bool TTextView::isOwnDrag(const QDropEvent *event) const {
  return event->source() == this ||
         event->mimeData()->property(DragViewProperty).value<QObject *>() == this;
}

void TTextView::dragEnterEvent(QDragEnterEvent *event) { dragMoveEvent(event); }

void TTextView::dragMoveEvent(QDragMoveEvent *event) {
  if (isReadOnly() || !canInsertFromMimeData(event->mimeData())) {
    event->ignore();
    scrollTimer_.stop();
    if (dropPosition_ >= 0) {
      dropPosition_ = -1;
      viewport()->update();
    }
    return;
  }
  const QPoint pos = event->position().toPoint();
  const int position = cursorForPosition(pos).position();
  if (position != dropPosition_) {
    dropPosition_ = position;
    viewport()->update();
  }
  if (stillArea(viewport(), true, fontMetrics().height()).contains(pos))
    scrollTimer_.stop();
  else if (!scrollTimer_.isActive())
    scrollTimer_.start(AutoScrollInterval, this);
  event->acceptProposedAction();
}

void TTextView::dragLeaveEvent(QDragLeaveEvent *event) {
  scrollTimer_.stop();
  dropPosition_ = -1;
  viewport()->update();
  event->accept();
}

void TTextView::dropEvent(QDropEvent *event) {
  scrollTimer_.stop();
  dropPosition_ = -1;
  viewport()->update();
  const QMimeData *data = event->mimeData();
  if (isReadOnly() || !canInsertFromMimeData(data)) {
    event->ignore();
    return;
  }
  const int position = cursorForPosition(event->position().toPoint()).position();
  const bool own = isOwnDrag(event);
  if (own && cursor_.hasSelection() && position >= cursor_.selectionStart() &&
      position <= cursor_.selectionEnd()) {
    // Dropped onto itself: nothing moves.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    return;
  }
  // The drop place follows the removal of the moved text before it.
  TTextCursor insertion(document_);
  insertion.setPosition(position);
  insertion.beginEditBlock();
  if (own && event->dropAction() == Qt::MoveAction) cursor_.removeSelectedText();
  const int start = insertion.position();
  cursor_ = insertion;
  insertFromMimeData(data);
  insertion.endEditBlock();
  TTextCursor dropped = cursor_;
  const int end = dropped.position();
  dropped.setPosition(start);
  dropped.setPosition(end, QTextCursor::KeepAnchor);
  moveTo(dropped);
  event->acceptProposedAction();
}

// ---- input methods ----

void TTextView::inputMethodEvent(QInputMethodEvent *event) {
  if (isReadOnly()) {
    event->ignore();
    return;
  }
  const bool commits = !event->commitString().isEmpty() || event->replacementLength() > 0;
  const bool selects =
      std::any_of(event->attributes().cbegin(), event->attributes().cend(),
                  [](const auto &a) { return a.type == QInputMethodEvent::Selection; });
  if (commits || selects) {
    TTextCursor cursor = cursor_;
    cursor.beginEditBlock();
    if (commits) {
      if (cursor.hasSelection()) cursor.removeSelectedText();
      // The replaced range is given relative to the caret; an input method's numbers are
      // limited to the document.
      const int last = document_->characterCount() - 1;
      const qint64 from = std::clamp<qint64>(
          static_cast<qint64>(cursor.position()) + event->replacementStart(), 0, last);
      const qint64 to = std::clamp<qint64>(from + event->replacementLength(), from, last);
      cursor.setPosition(static_cast<int>(from));
      cursor.setPosition(static_cast<int>(to), QTextCursor::KeepAnchor);
      cursor.insertText(event->commitString());
    }
    cursor.endEditBlock();
    // A selection asked for is given relative to the text the input method was shown.
    for (const QInputMethodEvent::Attribute &a : event->attributes()) {
      if (a.type != QInputMethodEvent::Selection) continue;
      const TTextBlock block = document_->findBlock(cursor.position());
      const TSpan span = inputMethodSpan(document_, block, cursor.position() - block.position());
      const int first = block.position() + span.start;
      const int last = block.position() + span.end;
      cursor.setPosition(std::clamp(first + a.start, first, last));
      cursor.setPosition(std::clamp(first + a.start + a.length, first, last),
                         QTextCursor::KeepAnchor);
    }
    moveTo(cursor);
  }
  if (preedit_ != event->preeditString()) {
    preedit_ = event->preeditString();
    viewport()->update();
  }
  event->accept();
}

QVariant TTextView::inputMethodQuery(Qt::InputMethodQuery query) const {
  switch (query) {
    case Qt::ImEnabled:
      return !isReadOnly();
    case Qt::ImCursorRectangle:
      return QRectF(cursorRect().translated(viewport()->pos()));
    case Qt::ImFont:
      return font();
    case Qt::ImHints:
      return static_cast<int>(inputMethodHints());
    case Qt::ImMaximumTextLength:
      return {};  // no limit
    case Qt::ImAbsolutePosition:
      return cursor_.position();
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition:
    case Qt::ImSurroundingText:
    case Qt::ImCurrentSelection:
    case Qt::ImTextBeforeCursor:
    case Qt::ImTextAfterCursor:
      break;
    default:
      return QAbstractScrollArea::inputMethodQuery(query);
  }
  // The text around the caret, a window of a long line; positions relative to its start.
  const TTextBlock block = document_->findBlock(cursor_.position());
  const int caret = cursor_.position() - block.position();
  const TSpan span = inputMethodSpan(document_, block, caret);
  const int first = block.position() + span.start;
  const int last = block.position() + span.end;
  const auto relative = [&](int position) { return std::clamp(position, first, last) - first; };
  switch (query) {
    case Qt::ImCursorPosition:
      return relative(cursor_.position());
    case Qt::ImAnchorPosition:
      return relative(cursor_.anchor());
    case Qt::ImSurroundingText:
      return blockText(document_, block, span.start, span.end);
    case Qt::ImTextBeforeCursor:
      return blockText(document_, block, span.start, caret);
    case Qt::ImTextAfterCursor:
      return blockText(document_, block, caret, span.end);
    default: {  // the selection, as far as it lies in the window
      const int from = std::clamp(cursor_.selectionStart(), first, last);
      const int to = std::clamp(cursor_.selectionEnd(), first, last);
      return blockText(document_, block, from - block.position(), to - block.position());
    }
  }
}
