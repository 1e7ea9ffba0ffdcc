// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/view/TextView.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTextFrame>
#include <climits>
#include <cmath>

#include "documents/store/TextModel.h"
#include "documents/view/ViewAccessible.h"

TTextView::TTextView(QWidget *parent) : QAbstractScrollArea(parent) {
  // Screen readers read and edit the view through TViewAccessible.
  TViewAccessible::Install();
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setAttribute(Qt::WA_InputMethodEnabled);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setBackgroundRole(QPalette::Base);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  setDocument(new TTextModel(this));
}

TTextView::~TTextView() {
  // The document may outlive the view: its layout is left, but no longer reports here.
  if (document_) disconnect(document_, nullptr, this, nullptr);
}

void TTextView::setMarker(const TViewLayout::TMarker &marker) {
  marker_ = marker;
  layout_->SetMarker(marker_);
}

void TTextView::setDocument(TTextModel *document) {
  if (!document || document == document_) return;
  const int before = document_ ? document_->characterCount() - 1 : 0;
  if (document_) disconnect(document_, nullptr, this, nullptr);
  if (layout_) {
    disconnect(layout_, nullptr, this, nullptr);
    disconnect(layout_, nullptr, viewport(), nullptr);
  }
  const bool replacing = document_ != nullptr;
  document_ = document;
  // A document shown before keeps its layout; what that laid out was for another width or font.
  layout_ = document->findChild<TViewLayout *>(QString(), Qt::FindDirectChildrenOnly);
  if (!layout_) layout_ = new TViewLayout(document);
  layout_->SetMarker(marker_);  // lays out again what was laid out for another width or font
  layout_->SetPaintDevice(viewport());
  connect(document, &TTextModel::contentsChange, this, &TTextView::documentChanged);
  connect(document, &TTextModel::contentsChanged, this, [this] {
    // After the layout took the change in: the cursor's place can be asked for again.
    if (topBlock_ >= document_->blockCount()) {
      topBlock_ = document_->blockCount() - 1;
      topRow_ = 0;
    }
    reportCursor();
    viewport()->update();
    Q_EMIT textChanged();
  });
  connect(document, &TTextModel::modificationChanged, this, &TTextView::modificationChanged);
  connect(document, &TTextModel::undoAvailable, this, &TTextView::undoAvailable);
  connect(document, &TTextModel::redoAvailable, this, &TTextView::redoAvailable);
  connect(layout_, &TViewLayout::update, viewport(), [this] { viewport()->update(); });
  connect(layout_, &TViewLayout::documentSizeChanged, this, [this] { updateScrollBars(); });
  cursor_ = TTextCursor(document);
  topBlock_ = topRow_ = 0;
  reportedPosition_ = reportedAnchor_ = 0;
  applyWidth();
  updateScrollBars();
  viewport()->update();
  if (!replacing) return;
  TViewAccessible::TextChanged(this, 0, before, document->characterCount() - 1);
  Q_EMIT textChanged();
}

void TTextView::documentChanged(int from, int removed, int added) {
  // Before the layout knows of the change: nothing here may ask where text stands.
  wantedX_ = -1;
  // Accessibility: tells a screen reader what text changed (reads only the text added).
  TViewAccessible::TextChanged(this, from, removed, added);
}

// ---- text ------------------------------------------------------------------------------

void TTextView::setPlainText(const QString &text) {
  const bool undo = document_->isUndoRedoEnabled();
  document_->setUndoRedoEnabled(false);
  document_->setPlainText(text);
  document_->setUndoRedoEnabled(undo);
  document_->setModified(false);
  cursor_ = TTextCursor(document_);
  topBlock_ = topRow_ = 0;
  horizontalScrollBar()->setValue(0);
  updateScrollBars();
  reportCursor();
  Q_EMIT cursorPositionChanged();
  viewport()->update();
}

void TTextView::insertPlainText(const QString &text) {
  if (readOnly_) return;
  cursor_.insertText(text);
  moveTo(cursor_);
}

void TTextView::undo() {
  if (readOnly_) return;
  document_->undo(&cursor_);
  moveTo(cursor_);
}

void TTextView::redo() {
  if (readOnly_) return;
  document_->redo(&cursor_);
  moveTo(cursor_);
}

void TTextView::copy() {
  if (cursor_.hasSelection()) QApplication::clipboard()->setMimeData(createMimeDataFromSelection());
}

void TTextView::cut() {
  if (readOnly_ || !cursor_.hasSelection()) return;
  copy();
  if (replaceSelectionWhole({})) return;
  cursor_.removeSelectedText();
  moveTo(cursor_);
}

void TTextView::paste() {
  if (readOnly_) return;
  const QMimeData *source = QApplication::clipboard()->mimeData();
  if (!source || !canInsertFromMimeData(source)) return;
  insertFromMimeData(source);
  moveTo(cursor_);
}

void TTextView::selectAll() {
  TTextCursor all(document_);
  all.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
  cursor_ = all;
  reportCursor();
  viewport()->update();
}

void TTextView::clear() { setPlainText(QString()); }

QString TTextView::TextBetween(const TTextModel &document, int start, int end) {
  return document.textBetween(start, end);
}

QString TTextView::SelectedText(const TTextModel &document, int start, int end) {
  QString text = TextBetween(document, start, end);
  text.replace(QChar::LineSeparator, u'\n');
  return text;
}

QMimeData *TTextView::createMimeDataFromSelection() const {
  auto *data = new QMimeData;
  data->setText(SelectedText(*document_, cursor_.selectionStart(), cursor_.selectionEnd()));
  return data;
}

bool TTextView::replaceSelectionWhole(const QString &) { return false; }

bool TTextView::canInsertFromMimeData(const QMimeData *source) const {
  return source && source->hasText();
}

void TTextView::insertFromMimeData(const QMimeData *source) {
  if (!source || !source->hasText()) return;
  const QString text = source->text();
  if (!text.isEmpty()) cursor_.insertText(text);
}

// ---- settings ---------------------------------------------------------------------------

void TTextView::setReadOnly(bool readOnly) {
  if (readOnly_ == readOnly) return;
  readOnly_ = readOnly;
  setAttribute(Qt::WA_InputMethodEnabled, !readOnly);
  restartBlinking();
}

void TTextView::setLineWrapMode(LineWrapMode mode) {
  if (wrapMode_ == mode) return;
  wrapMode_ = mode;
  if (mode == WidgetWidth) horizontalScrollBar()->setValue(0);
  applyWidth();
  updateScrollBars();
  viewport()->update();
}

void TTextView::setTabStopDistance(qreal distance) {
  QTextOption option = document_->defaultTextOption();
  if (option.tabStopDistance() == distance) return;
  option.setTabStopDistance(distance);
  document_->setDefaultTextOption(option);
}

void TTextView::setCursorWidth(int width) {
  cursorWidth_ = std::max(width, 0);
  viewport()->update();
}

qreal TTextView::leftMargin() const {
  return document_->documentMargin() - horizontalScrollBar()->value();
}

void TTextView::applyWidth() {
  const qreal width = viewport()->width() - 2 * document_->documentMargin();
  layout_->SetWidth(std::max<qreal>(width, 1), wrapMode_ == WidgetWidth);
}

// ---- rows -------------------------------------------------------------------------------

TTextBlock TTextView::laidOutBlock(int position) const {
  TTextBlock block = document_->findBlock(std::clamp(position, 0, document_->characterCount() - 1));
  layout_->EnsureLaidOut(block);
  return block;
}

TTextView::TRowPlace TTextView::rowOf(int position) const {
  const TTextBlock block = laidOutBlock(position);
  return {block, layout_->RowOf(block, position - block.position())};
}

TTextView::TRowPlace TTextView::rowFrom(TRowPlace place, int count) const {
  layout_->EnsureLaidOut(place.block);
  for (; count > 0; --count) {
    if (place.row + 1 < layout_->RowCount(place.block)) {
      ++place.row;
    } else {
      const TTextBlock next = place.block.next();
      if (!next.isValid()) break;
      place = {next, 0};
      layout_->EnsureLaidOut(next);
    }
  }
  for (; count < 0; ++count) {
    if (place.row > 0) {
      --place.row;
    } else {
      const TTextBlock previous = place.block.previous();
      if (!previous.isValid()) break;
      layout_->EnsureLaidOut(previous);
      place = {previous, layout_->RowCount(previous) - 1};
    }
  }
  return place;
}

int TTextView::rowsPerPage() const {
  const qreal line = QFontMetricsF(document_->defaultFont(), viewport()).lineSpacing();
  return std::max(1, int(viewport()->height() / std::max<qreal>(line, 1)));
}

qreal TTextView::xOf(int position) const {
  const TTextBlock block = laidOutBlock(position);
  return layout_->CaretRect(block, position - block.position()).x();
}

int TTextView::positionInRow(const TRowPlace &place, qreal x) const {
  layout_->EnsureLaidOut(place.block);
  return place.block.position() + layout_->PositionInRow(place.block, place.row, x);
}

int TTextView::nextStop(int position, QTextLayout::CursorMode mode) const {
  const TTextBlock block = laidOutBlock(position);
  const int inBlock = position - block.position();
  if (inBlock >= block.length() - 1)
    return block.next().isValid() ? block.next().position() : position;
  return block.position() + layout_->NextPosition(block, inBlock, mode);
}

int TTextView::previousStop(int position, QTextLayout::CursorMode mode) const {
  const TTextBlock block = laidOutBlock(position);
  const int inBlock = position - block.position();
  if (inBlock <= 0) return block.previous().isValid() ? position - 1 : position;
  return block.position() + layout_->PreviousPosition(block, inBlock, mode);
}

TTextBlock TTextView::firstVisibleBlock() const { return document_->findBlockByNumber(topBlock_); }

// ---- cursor -----------------------------------------------------------------------------

void TTextView::setTextCursor(const TTextCursor &cursor) {
  if (cursor.document() != document_) return;
  wantedX_ = -1;
  cursor_ = cursor;
  restartBlinking();
  ensureCursorVisible();
  viewport()->update();
  reportCursor();
}

void TTextView::moveTo(const TTextCursor &cursor, bool keepX) {
  if (!keepX)
    wantedX_ = -1;
  else if (wantedX_ < 0)
    wantedX_ = xOf(cursor_.position());
  cursor_ = cursor;
  restartBlinking();
  ensureCursorVisible();
  viewport()->update();
  reportCursor();
}

void TTextView::moveCursor(QTextCursor::MoveOperation operation, QTextCursor::MoveMode mode) {
  TTextCursor cursor = cursor_;
  const int position = cursor.position();
  bool keepX = false;
  switch (operation) {
    case QTextCursor::NextCharacter:
    case QTextCursor::Right:
      cursor.setPosition(nextStop(position, QTextLayout::SkipCharacters), mode);
      break;
    case QTextCursor::PreviousCharacter:
    case QTextCursor::Left:
      cursor.setPosition(previousStop(position, QTextLayout::SkipCharacters), mode);
      break;
    case QTextCursor::NextWord:
    case QTextCursor::WordRight:
      cursor.setPosition(nextStop(position, QTextLayout::SkipWords), mode);
      break;
    case QTextCursor::PreviousWord:
    case QTextCursor::WordLeft:
      cursor.setPosition(previousStop(position, QTextLayout::SkipWords), mode);
      break;
    case QTextCursor::StartOfLine:
    case QTextCursor::EndOfLine: {
      const TRowPlace row = rowOf(position);
      const int at = operation == QTextCursor::StartOfLine ? layout_->RowStart(row.block, row.row)
                                                           : layout_->RowEnd(row.block, row.row);
      cursor.setPosition(row.block.position() + at, mode);
      break;
    }
    case QTextCursor::Up:
    case QTextCursor::Down: {
      const qreal x = wantedX_ >= 0 ? wantedX_ : xOf(position);
      const TRowPlace row = rowFrom(rowOf(position), operation == QTextCursor::Up ? -1 : 1);
      cursor.setPosition(positionInRow(row, x), mode);
      keepX = true;
      break;
    }
    default:
      // Start and end of the text, of a line, next and previous line: no layout needed.
      cursor.movePosition(operation, mode);
      break;
  }
  moveTo(cursor, keepX);
}

void TTextView::reportCursor() {
  const int position = cursor_.position(), anchor = cursor_.anchor();
  const bool hadSelection = reportedAnchor_ != reportedPosition_;
  const bool moved = position != reportedPosition_;
  const bool selectionMoved =
      anchor != reportedAnchor_ || (moved && (hadSelection || cursor_.hasSelection()));
  reportedPosition_ = position;
  reportedAnchor_ = anchor;
  if (selectionMoved) {
    Q_EMIT selectionChanged();
    if (hadSelection != cursor_.hasSelection()) Q_EMIT copyAvailable(cursor_.hasSelection());
  }
  if (moved) Q_EMIT cursorPositionChanged();
  // Accessibility: tells a screen reader where the caret and the selection went.
  TViewAccessible::CursorMoved(this, moved, selectionMoved);
}

void TTextView::restartBlinking() {
  const bool show = hasFocus() && !readOnly_;
  caretShown_ = show;
  const int flash = QApplication::cursorFlashTime();
  if (show && flash >= 2)
    blinkTimer_.start(flash / 2, this);
  else
    blinkTimer_.stop();
  viewport()->update();
}

void TTextView::timerEvent(QTimerEvent *event) {
  if (event->timerId() == blinkTimer_.timerId()) {
    caretShown_ = !caretShown_;
    viewport()->update(cursorRect().adjusted(-2, 0, 2, 0));
  } else if (event->timerId() == scrollTimer_.timerId()) {
    autoScroll();
  } else {
    QAbstractScrollArea::timerEvent(event);
  }
}

void TTextView::focusInEvent(QFocusEvent *event) {
  QAbstractScrollArea::focusInEvent(event);
  restartBlinking();
}

void TTextView::focusOutEvent(QFocusEvent *event) {
  QAbstractScrollArea::focusOutEvent(event);
  restartBlinking();
}

// ---- geometry ---------------------------------------------------------------------------

qreal TTextView::blockTop(const TTextBlock &block) const {
  TTextBlock top = firstVisibleBlock();
  layout_->EnsureLaidOut(top);
  const qreal margin = topBlock_ == 0 && topRow_ == 0 ? document_->documentMargin() : 0;
  qreal y = margin - layout_->RowRect(top, topRow_).top();
  // Further than this from the view, a block's place is estimated from the rows between.
  const qreal reach = 3.0 * viewport()->height() + 100;
  const auto estimate = [&] {
    const qreal line = QFontMetricsF(document_->defaultFont(), viewport()).lineSpacing();
    return (block.firstLineNumber() - top.firstLineNumber() - topRow_) * line;
  };
  if (block.blockNumber() >= topBlock_) {
    for (TTextBlock b = top; b.isValid() && b != block; b = b.next()) {
      if (y > reach) return estimate();
      layout_->EnsureLaidOut(b);
      y += layout_->Height(b);
    }
    return y;
  }
  for (TTextBlock b = top.previous(); b.isValid(); b = b.previous()) {
    layout_->EnsureLaidOut(b);
    y -= layout_->Height(b);
    if (b == block) return y;
    if (y < -reach) return estimate();
  }
  return y;
}

QRect TTextView::cursorRect(const TTextCursor &cursor) const {
  if (cursor.isNull() || cursor.document() != document_) return {};
  const TTextBlock block = laidOutBlock(cursor.position());
  const QRectF caret =
      layout_->CaretRect(block, cursor.position() - block.position(), std::max(cursorWidth_, 1));
  return caret.translated(leftMargin(), blockTop(block)).toAlignedRect();
}

TTextCursor TTextView::cursorForPosition(const QPoint &pos) const {
  TTextBlock block = firstVisibleBlock();
  layout_->EnsureLaidOut(block);
  const qreal margin = topBlock_ == 0 && topRow_ == 0 ? document_->documentMargin() : 0;
  qreal y = margin - layout_->RowRect(block, topRow_).top();
  while (true) {
    layout_->EnsureLaidOut(block);
    const qreal height = layout_->Height(block);
    if (pos.y() < y + height || !block.next().isValid()) break;
    y += height;
    block = block.next();
  }
  TTextCursor cursor(document_);
  cursor.setPosition(block.position() +
                     layout_->PositionAt(block, QPointF(pos.x() - leftMargin(), pos.y() - y)));
  return cursor;
}

void TTextView::scrollToRow(const TRowPlace &place) {
  topBlock_ = place.block.blockNumber();
  topRow_ = place.row;
  updateScrollBars();
  viewport()->update();
}

void TTextView::ensureCursorVisible() {
  if (!document_) return;
  const TRowPlace caret = rowOf(cursor_.position());
  const TTextBlock top = firstVisibleBlock();
  const bool above =
      caret.block.blockNumber() < topBlock_ || (caret.block == top && caret.row < topRow_);
  if (above) {
    scrollToRow(caret);
  } else {
    const QRectF row = layout_->RowRect(caret.block, caret.row);
    const qreal bottom = blockTop(caret.block) + row.bottom();
    if (bottom > viewport()->height()) {
      // The caret's row becomes the last one shown.
      TRowPlace place = caret;
      qreal used = row.height();
      while (true) {
        const TRowPlace up = rowFrom(place, -1);
        if (up.block == place.block && up.row == place.row) break;
        const qreal height = layout_->RowRect(up.block, up.row).height();
        if (used + height > viewport()->height()) break;
        used += height;
        place = up;
      }
      scrollToRow(place);
    }
  }
  if (wrapMode_ == NoWrap) {
    const int x = int(xOf(cursor_.position()) + document_->documentMargin());
    QScrollBar *bar = horizontalScrollBar();
    const int width = viewport()->width();
    if (x < bar->value())
      bar->setValue(std::max(0, x - width / 4));
    else if (x + cursorWidth_ > bar->value() + width)
      bar->setValue(x - width + width / 4);
  }
}

void TTextView::centerCursor() {
  const TRowPlace caret = rowOf(cursor_.position());
  scrollToRow(rowFrom(caret, -rowsPerPage() / 2));
}

// ---- scrolling --------------------------------------------------------------------------

void TTextView::updateScrollBars() {
  if (!document_) return;
  settingScrollBars_ = true;
  const int page = rowsPerPage();
  QScrollBar *vertical = verticalScrollBar();
  // Lines not laid out yet count one row each; a long wrapped line counts the rows its
  // characters fill at least, so that a scroll bar it needs shows before it is laid out (its
  // coming would narrow the view and have the line laid out again).
  int rows = document_->lineCount();
  if (wrapMode_ == WidgetWidth) {
    const qreal perRow =
        std::max<qreal>(1, (viewport()->width() - 2 * document_->documentMargin()) /
                               std::max(1, fontMetrics().averageCharWidth()));
    rows = std::max(rows, int(std::min<qreal>(INT_MAX, document_->characterCount() / perRow)));
  }
  vertical->setRange(0, std::max(0, rows - page));
  vertical->setPageStep(page);
  vertical->setSingleStep(1);
  vertical->setValue(firstVisibleBlock().firstLineNumber() + topRow_);
  QScrollBar *horizontal = horizontalScrollBar();
  const int width = viewport()->width();
  const int content = wrapMode_ == WidgetWidth
                          ? 0
                          : int(std::ceil(layout_->WidestRow() + 2 * document_->documentMargin()));
  horizontal->setRange(0, std::max(0, content - width));
  horizontal->setPageStep(width);
  horizontal->setSingleStep(std::max(1, fontMetrics().averageCharWidth() * 2));
  settingScrollBars_ = false;
}

void TTextView::scrollContentsBy(int dx, int dy) {
  if (settingScrollBars_) return;
  if (dy != 0) {
    const int line = verticalScrollBar()->value();
    const TTextBlock block = document_->findBlockByLineNumber(line);
    if (block.isValid()) {
      topBlock_ = block.blockNumber();
      topRow_ = std::max(0, line - block.firstLineNumber());
    }
  }
  (void)dx;
  viewport()->update();
}

void TTextView::resizeEvent(QResizeEvent *event) {
  // A caret in view stays in view when its line wraps anew (also when a scroll bar comes or
  // goes because of the text that was just put in).
  const bool caretShown = caretInView_;
  QAbstractScrollArea::resizeEvent(event);
  applyWidth();
  updateScrollBars();
  if (caretShown) ensureCursorVisible();
}

void TTextView::showEvent(QShowEvent *event) {
  QAbstractScrollArea::showEvent(event);
  applyWidth();
  updateScrollBars();
}

void TTextView::changeEvent(QEvent *event) {
  QAbstractScrollArea::changeEvent(event);
  switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::ApplicationFontChange:
      document_->setDefaultFont(font());
      layout_->Invalidate();
      updateScrollBars();
      break;
    case QEvent::PaletteChange:
    case QEvent::ActivationChange:
      viewport()->update();
      break;
    default:
      break;
  }
}

bool TTextView::event(QEvent *event) {
  if (event->type() == QEvent::ShortcutOverride) {
    auto *key = static_cast<QKeyEvent *>(event);
    if (handlesShortcut(key)) {
      key->accept();
      return true;
    }
  }
  return QAbstractScrollArea::event(event);
}

// ---- painting ---------------------------------------------------------------------------

void TTextView::paintEvent(QPaintEvent *event) {
  QPainter painter(viewport());
  const QRectF exposed = event->rect();
  painter.fillRect(exposed, palette().brush(QPalette::Base));
  painter.setPen(palette().color(QPalette::Text));

  const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
  QTextCharFormat selected;
  selected.setBackground(palette().brush(group, QPalette::Highlight));
  selected.setForeground(palette().brush(group, QPalette::HighlightedText));
  const int selectionStart = cursor_.selectionStart(), selectionEnd = cursor_.selectionEnd();
  const int rowsBefore = document_->lineCount();
  const qreal widestBefore = layout_->WidestRow();

  TTextBlock block = firstVisibleBlock();
  layout_->EnsureLaidOut(block);
  topRow_ = std::min(topRow_, layout_->RowCount(block) - 1);
  if (exposed.contains(QRectF(viewport()->rect()))) caretInView_ = false;
  const qreal margin = topBlock_ == 0 && topRow_ == 0 ? document_->documentMargin() : 0;
  qreal y = margin - layout_->RowRect(block, topRow_).top();
  const qreal x = leftMargin();
  for (; block.isValid() && y <= exposed.bottom(); block = block.next()) {
    layout_->EnsureLaidOut(block);
    const qreal height = layout_->Height(block);
    if (y + height >= exposed.top()) {
      const int start = block.position(), end = start + block.length();
      QList<QTextLayout::FormatRange> selections;
      if (selectionStart < end && selectionEnd > start) {
        const int from = std::max(selectionStart, start) - start;
        selections.append({from, std::min(selectionEnd, end) - start - from, selected});
      }
      int caret = -1;
      if (cursor_.position() >= start && cursor_.position() < end) {
        const QRectF at = layout_->CaretRect(block, cursor_.position() - start).translated(x, y);
        caretInView_ = QRectF(viewport()->rect()).intersects(at);
        if (caretShown_) caret = cursor_.position() - start;
      }
      if (dropPosition_ >= start && dropPosition_ < end) caret = dropPosition_ - start;
      layout_->DrawBlock(&painter, block, QPointF(x, y), exposed.translated(-x, -y), selections,
                         caret, std::max(cursorWidth_, 1));
    }
    y += height;
  }
  // Text an input method is composing, at the caret until it is committed.
  if (!preedit_.isEmpty()) {
    const QRect at = cursorRect();
    QFont font = document_->defaultFont();
    font.setUnderline(true);
    painter.setFont(font);
    const QRect area(at.topLeft(),
                     QSize(QFontMetrics(font).horizontalAdvance(preedit_) + 2, at.height()));
    painter.fillRect(area, palette().brush(QPalette::Base));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, preedit_);
  }
  // Lines laid out for this paint have their true number of rows and width now.
  if (document_->lineCount() != rowsBefore || layout_->WidestRow() != widestBefore)
    QMetaObject::invokeMethod(
        this, [this] { updateScrollBars(); }, Qt::QueuedConnection);
}
