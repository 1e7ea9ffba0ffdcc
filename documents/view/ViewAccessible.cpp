// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/view/ViewAccessible.h"

#include <QFontMetrics>
#include <QTextBoundaryFinder>
#include <algorithm>

#include "documents/store/TextModel.h"
#include "documents/view/TextView.h"

namespace {

// How far around a position a character, word or sentence is looked for: a word or sentence
// longer than this is read in parts of this size.
constexpr int kItemWindow = TViewLayout::PieceChars;

// The document's text between two positions, line breaks read as '\n'.
QString Slice(TTextModel *document, int start, int end) {
  if (start >= end) return {};
  QString text = TTextView::TextBetween(*document, start, end);
  // One character, as '\n' is: offsets stay as they are.
  text.replace(QChar::LineSeparator, u'\n');
  return text;
}

TViewAccessible::TListener gListener = nullptr;

bool Listening() { return gListener || QAccessible::isActive(); }

void Report(QAccessibleEvent *event) {
  if (gListener)
    gListener(event);
  else
    QAccessible::updateAccessibility(event);
}

QAccessibleInterface *Factory(const QString &, QObject *object) {
  // Asked once for each class name of the object, its own first: a class derived from the view
  // answers as the view does.
  if (object && object->isWidgetType() && object->inherits("TTextView"))
    return new TViewAccessible(static_cast<TTextView *>(object));
  return nullptr;
}

}  // namespace

TViewAccessible::TViewAccessible(TTextView *view)
    : QAccessibleWidget(view, QAccessible::EditableText) {}

void TViewAccessible::Install() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(Factory);
}

void TViewAccessible::SetListener(TListener listener) { gListener = listener; }

void TViewAccessible::TextChanged(TTextView *view, int from, int removed, int added) {
  if (!Listening() || (removed == 0 && added == 0)) return;
  TTextModel *document = view->document();
  // A new text reports one more character than the document holds, the line break that always
  // ends it.
  const int count = document->characterCount() - 1;
  from = std::clamp(from, 0, count);
  const QString inserted =
      Slice(document, from, std::min({from + added, from + ReportedChars, count}));
  // The text removed is gone; its length is what a screen reader needs.
  const QString gone(std::min(removed, ReportedChars), u' ');
  if (gone.isEmpty()) {
    QAccessibleTextInsertEvent event(view, from, inserted);
    Report(&event);
  } else if (inserted.isEmpty()) {
    QAccessibleTextRemoveEvent event(view, from, gone);
    Report(&event);
  } else {
    QAccessibleTextUpdateEvent event(view, from, gone, inserted);
    Report(&event);
  }
}

void TViewAccessible::CursorMoved(TTextView *view, bool moved, bool selectionMoved) {
  if (!Listening()) return;
  const TTextCursor cursor = view->textCursor();
  if (selectionMoved) {
    QAccessibleTextSelectionEvent event(view, cursor.selectionStart(), cursor.selectionEnd());
    event.setCursorPosition(cursor.position());
    Report(&event);
  }
  if (moved) {
    QAccessibleTextCursorEvent event(view, cursor.position());
    Report(&event);
  }
}

TTextView *TViewAccessible::view() const { return static_cast<TTextView *>(widget()); }

int TViewAccessible::clamped(int offset) const { return std::clamp(offset, 0, characterCount()); }

QAccessible::State TViewAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  const bool readOnly = view()->isReadOnly();
  state.editable = !readOnly;
  state.readOnly = readOnly;
  state.multiLine = true;
  state.selectableText = true;
  state.focusable = true;
  return state;
}

void *TViewAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface *>(this);
  if (type == QAccessible::EditableTextInterface)
    return static_cast<QAccessibleEditableTextInterface *>(this);
  return QAccessibleWidget::interface_cast(type);
}

// ---- text ------------------------------------------------------------------------------

int TViewAccessible::characterCount() const { return view()->document()->characterCount() - 1; }

QString TViewAccessible::text(int startOffset, int endOffset) const {
  const int start = clamped(startOffset), end = clamped(endOffset);
  return Slice(view()->document(), std::min(start, end), std::max(start, end));
}

QPair<int, int> TViewAccessible::rowAt(int offset) const {
  const TTextView::TRowPlace place = view()->rowOf(offset);
  const TViewLayout *layout = view()->viewLayout();
  const int blockStart = place.block.position();
  const int start = blockStart + layout->RowStart(place.block, place.row);
  // Up to the next row's start: the blank a row broke at belongs to it, and the last row
  // takes its line's break.
  const int end = place.row + 1 < layout->RowCount(place.block)
                      ? blockStart + layout->RowStart(place.block, place.row + 1)
                      : std::min(blockStart + place.block.length(), characterCount());
  return {start, end};
}

QPair<int, int> TViewAccessible::itemAt(int offset,
                                        QAccessible::TextBoundaryType boundaryType) const {
  const TTextBlock block = view()->document()->findBlock(offset);
  const int blockStart = block.position();
  const int inBlock = offset - blockStart;
  const int length = block.length() - 1;  // without the line break
  if (inBlock >= length) return {offset, std::min(offset + 1, characterCount())};
  const int from = std::max(0, inBlock - kItemWindow);
  const int to = std::min(length, inBlock + kItemWindow);
  const QString window = Slice(view()->document(), blockStart + from, blockStart + to);
  const QTextBoundaryFinder::BoundaryType type =
      boundaryType == QAccessible::CharBoundary   ? QTextBoundaryFinder::Grapheme
      : boundaryType == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
                                                  : QTextBoundaryFinder::Sentence;
  // An item starts and ends where an item (a word, or the blanks between words) does, not at
  // every place the text may break.
  constexpr auto edge = QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem;
  QTextBoundaryFinder finder(type, window);
  qsizetype start = inBlock - from;
  finder.setPosition(start);
  while (start > 0 && !(finder.boundaryReasons() & edge)) start = finder.toPreviousBoundary();
  finder.setPosition(start);
  qsizetype end = finder.toNextBoundary();
  while (end > 0 && end < window.size() && !(finder.boundaryReasons() & edge))
    end = finder.toNextBoundary();
  if (end < 0) end = window.size();
  return {blockStart + from + int(start), blockStart + from + int(end)};
}

QPair<int, int> TViewAccessible::rangeAt(int offset,
                                         QAccessible::TextBoundaryType boundaryType) const {
  const int count = characterCount();
  offset = offset < 0 ? count : std::min(offset, count);  // -1: the end of the text
  switch (boundaryType) {
    case QAccessible::CharBoundary:
    case QAccessible::WordBoundary:
    case QAccessible::SentenceBoundary:
      return itemAt(offset, boundaryType);
    case QAccessible::LineBoundary:
      return rowAt(offset);
    case QAccessible::ParagraphBoundary: {
      const TTextBlock block = view()->document()->findBlock(offset);
      return {block.position(), std::min(block.position() + block.length(), count)};
    }
    case QAccessible::NoBoundary:
      break;
  }
  return {0, count};
}

QString TViewAccessible::answer(QPair<int, int> range, int *startOffset, int *endOffset) const {
  *startOffset = range.first;
  *endOffset = range.second;
  return text(range.first, range.second);
}

QString TViewAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                      int *startOffset, int *endOffset) const {
  return answer(rangeAt(offset, boundaryType), startOffset, endOffset);
}

QString TViewAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                          int *startOffset, int *endOffset) const {
  const int start = rangeAt(offset, boundaryType).first;
  if (start <= 0 || boundaryType == QAccessible::NoBoundary)
    return answer({0, 0}, startOffset, endOffset);
  return answer(rangeAt(start - 1, boundaryType), startOffset, endOffset);
}

QString TViewAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                         int *startOffset, int *endOffset) const {
  const int count = characterCount();
  const int end = rangeAt(offset, boundaryType).second;
  if (end >= count || boundaryType == QAccessible::NoBoundary)
    return answer({count, count}, startOffset, endOffset);
  return answer(rangeAt(end, boundaryType), startOffset, endOffset);
}

QString TViewAccessible::attributes(int, int *startOffset, int *endOffset) const {
  // Plain text: one face and colour throughout.
  *startOffset = 0;
  *endOffset = characterCount();
  return {};
}

// ---- caret, selection and geometry --------------------------------------------------------

int TViewAccessible::cursorPosition() const { return view()->textCursor().position(); }

void TViewAccessible::setCursorPosition(int position) {
  TTextCursor cursor = view()->textCursor();
  cursor.setPosition(clamped(position));
  view()->setTextCursor(cursor);
}

int TViewAccessible::selectionCount() const { return view()->textCursor().hasSelection() ? 1 : 0; }

void TViewAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const {
  const TTextCursor cursor = view()->textCursor();
  const bool has = selectionIndex == 0 && cursor.hasSelection();
  *startOffset = has ? cursor.selectionStart() : 0;
  *endOffset = has ? cursor.selectionEnd() : 0;
}

void TViewAccessible::addSelection(int startOffset, int endOffset) {
  // The view has one selection: a new one takes its place.
  setSelection(0, startOffset, endOffset);
}

void TViewAccessible::removeSelection(int selectionIndex) {
  if (selectionIndex != 0) return;
  TTextCursor cursor = view()->textCursor();
  cursor.clearSelection();
  view()->setTextCursor(cursor);
}

void TViewAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
  if (selectionIndex != 0) return;
  TTextCursor cursor = view()->textCursor();
  cursor.setPosition(clamped(startOffset));
  cursor.setPosition(clamped(endOffset), QTextCursor::KeepAnchor);
  view()->setTextCursor(cursor);
}

QRect TViewAccessible::characterRect(int offset) const {
  offset = clamped(offset);
  TTextCursor cursor(view()->document());
  cursor.setPosition(offset);
  QRect rect = view()->cursorRect(cursor);
  // As wide as the step to the next caret place when that is on the same row.
  int width = 0;
  if (offset < characterCount()) {
    cursor.setPosition(offset + 1);
    const QRect next = view()->cursorRect(cursor);
    if (next.top() == rect.top() && next.left() > rect.left()) width = next.left() - rect.left();
    if (width == 0)
      width = QFontMetrics(view()->document()->defaultFont())
                  .horizontalAdvance(view()->document()->characterAt(offset));
  }
  rect.setWidth(std::max(width, 1));
  return {view()->viewport()->mapToGlobal(rect.topLeft()), rect.size()};
}

int TViewAccessible::offsetAtPoint(const QPoint &point) const {
  const QPoint inViewport = view()->viewport()->mapFromGlobal(point);
  if (!view()->viewport()->rect().contains(inViewport)) return -1;
  return view()->cursorForPosition(inViewport).position();
}

void TViewAccessible::scrollToSubstring(int startIndex, int) {
  // The caret goes to the start, and the view scrolls it into view.
  setCursorPosition(startIndex);
}

// ---- editing -----------------------------------------------------------------------------

void TViewAccessible::deleteText(int startOffset, int endOffset) {
  replaceText(startOffset, endOffset, QString());
}

void TViewAccessible::insertText(int offset, const QString &text) {
  replaceText(offset, offset, text);
}

void TViewAccessible::replaceText(int startOffset, int endOffset, const QString &text) {
  const int start = clamped(startOffset), end = clamped(endOffset);
  if (view()->isReadOnly() || (start == end && text.isEmpty())) return;
  TTextCursor cursor(view()->document());
  cursor.setPosition(std::min(start, end));
  cursor.setPosition(std::max(start, end), QTextCursor::KeepAnchor);
  cursor.beginEditBlock();  // one undo step
  cursor.removeSelectedText();
  cursor.insertText(text);
  cursor.endEditBlock();
}
