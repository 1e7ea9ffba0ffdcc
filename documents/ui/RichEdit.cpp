// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/ui/RichEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <functional>

#include "documents/core/WebAddresses.h"
#include "platform/core/LineEnds.h"
#include "platform/desktop/IdleNotifier.h"
#include "platform/desktop/KeyboardState.h"
#include "platform/gui/EditorFont.h"

namespace {

// Web addresses as the view shows them: blue and underlined, like links everywhere.
QList<QTextLayout::FormatRange> webAddressMarks(QStringView line, int from, int to) {
  QTextCharFormat format;
  format.setForeground(QColor(0, 0, 255));
  format.setFontUnderline(true);
  QList<QTextLayout::FormatRange> marks;
  for (const WebAddresses::TSpan &span : WebAddresses::Overlapping(line, from, to))
    marks.append({int(span.start), int(span.length), format});
  return marks;
}

}  // namespace

// The left margin in which a click selects a whole line.
class TSelectionBar : public QWidget {
 public:
  explicit TSelectionBar(TRichEdit *edit) : QWidget(edit), edit_(edit) {
    setCursor(Qt::PointingHandCursor);
  }

 protected:
  void paintEvent(QPaintEvent *) override {
    QPainter painter(this);
    painter.fillRect(rect(), edit_->Color());
  }
  void mousePressEvent(QMouseEvent *event) override {
    if (event->button() == Qt::LeftButton)
      edit_->selectLineAt(int(event->position().y()), event->modifiers() & Qt::ShiftModifier);
  }
  void mouseMoveEvent(QMouseEvent *event) override {
    if (event->buttons() & Qt::LeftButton) edit_->selectLineAt(int(event->position().y()), true);
  }

 private:
  TRichEdit *edit_;
};

TRichEdit::TRichEdit(QWidget *parent) : TTextView(parent) {
  document()->setDefaultFont(font());
  document()->setUndoLimit(undoLimit_);
  // The stored default face is shown in an installed monospaced one.
  EditorFont::InstallSubstitutes();
  setTabChangesFocus(false);
  setContextMenuPolicy(Qt::NoContextMenu);
  selectionBarWidget_ = new TSelectionBar(this);
  connectDocument();
  // Changes made by commands, not only by the user's keys, refresh the command states.
  auto requestIdle = [] { TIdleNotifier::Instance().Request(); };
  connect(this, &TTextView::selectionChanged, this, requestIdle);
  connect(this, &TTextView::cursorPositionChanged, this, requestIdle);
  connect(this, &TTextView::modificationChanged, this, requestIdle);
  updateMargins();
  TRichEdit::SetWordWrap(true);
}

TRichEdit::~TRichEdit() = default;

// ---- text ------------------------------------------------------------------------------

template <typename BreakText>
QString TRichEdit::joinedText(BreakText breakText) const {
  QString text;
  text.reserve(document()->characterCount() + document()->blockCount() * (lineEnd_.size() - 1));
  for (TTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
    if (block != document()->begin()) text.append(breakText(block));
    text.append(block.textView());
  }
  return text;
}

// From the blocks themselves: the document's plain-text view would turn no-break spaces into
// blanks and line separators into line breaks.
QString TRichEdit::Text() const {
  if (lineEnd_ == u"\n") return document()->toPlainText();
  return joinedText([this](const TTextBlock &) { return QStringView(lineEnd_); });
}

QStringView TRichEdit::fileBreakBefore(const TTextBlock &block) const {
  const uint8_t tag = block.tag();
  return tag != 0 ? TextFile::BreakText(uint8_t(tag - 1)) : QStringView(lineEnd_);
}

QString TRichEdit::FileText() const {
  return joinedText([this](const TTextBlock &block) { return fileBreakBefore(block); });
}

template <typename OnBreak>
int TRichEdit::appendLines(QString &text, int fromLine, qsizetype sliceChars,
                           OnBreak onBreak) const {
  const qsizetype until = text.size() + std::max<qsizetype>(sliceChars, 1);
  int line = std::max(fromLine, 0);
  for (TTextBlock block = document()->findBlockByNumber(line);
       block.isValid() && text.size() < until; block = block.next(), ++line) {
    if (line > 0) onBreak(text, block);
    text.append(block.textView());
  }
  return std::min(line, document()->blockCount());
}

int TRichEdit::AppendFileText(QString &text, int fromLine, qsizetype sliceChars) const {
  return appendLines(text, fromLine, sliceChars, [this](QString &into, const TTextBlock &block) {
    into.append(fileBreakBefore(block));
  });
}

int TRichEdit::AppendLines(QString &text, std::vector<uint8_t> *breaks, int fromLine,
                           qsizetype sliceChars) const {
  const uint8_t lineEnd = LineEndKind();
  return appendLines(text, fromLine, sliceChars, [&](QString &into, const TTextBlock &block) {
    into.append(u'\n');
    if (breaks) breaks->push_back(PlainDocument::BreakBefore(block, lineEnd));
  });
}

uint8_t TRichEdit::LineEndKind() const {
  if (lineEnd_ == u"\r\n") return TextFile::BreakCrLf;
  return lineEnd_ == u"\r" ? TextFile::BreakCr : TextFile::BreakLf;
}

void TRichEdit::LoadText(const TDecodedText &decoded) {
  BeginLoad(decoded.format);
  for (qsizetype from = 0; from < decoded.text.size();)
    from = LoadSlice(decoded.text, from, decoded.text.size());
  EndLoad(decoded);
}

void TRichEdit::BeginLoad(const TTextFormat &format) {
  if (!loading_) readOnlyBeforeLoad_ = isReadOnly();
  loading_ = true;
  setReadOnly(true);
  SetLineEnd(format.LineEndText());
  Clear();
  applyDocumentFont();  // free while the document is empty
  document()->setUndoRedoEnabled(false);
}

qsizetype TRichEdit::LoadSlice(const QString &text, qsizetype from, qsizetype sliceChars) {
  from = std::clamp<qsizetype>(from, 0, text.size());
  sliceChars = std::max<qsizetype>(sliceChars, 1);
  // Up to a line break unless the line is longer than a slice by far, never half a character.
  qsizetype end = std::min(text.size(), from + sliceChars);
  if (end < text.size()) {
    const qsizetype lineEnd = text.indexOf(u'\n', end);
    if (lineEnd >= 0 && lineEnd - end < sliceChars) end = lineEnd + 1;
  }
  if (end < text.size() && text[end - 1].isHighSurrogate()) ++end;
  LoadChunk(from == 0 && end == text.size() ? text : text.sliced(from, end - from));
  return end;
}

void TRichEdit::LoadChunk(QString chunk) {
  const bool first = document()->isEmpty();
  document()->appendLoaded(std::move(chunk));
  // The first slice went in where the caret stood and took it along: back to the start, with
  // nothing selected. The others go in after it, and leave where the user puts it meanwhile.
  if (first) setTextCursor(TTextCursor(document()));
  SetModified(false);
}

void TRichEdit::EndLoad(const TDecodedText &decoded) {
  // Marking the blocks is no step the user could undo (undo is still off).
  PlainDocument::MarkBreaks(document()->store(), decoded.breaks, uint8_t(decoded.format.lineEnd));
  document()->setUndoRedoEnabled(undoLimit_ > 0);
  ResetUndoHistory();
  loading_ = false;
  applyAlignment();
  applyDocumentFont();
  setReadOnly(readOnlyBeforeLoad_);
  viewport()->update();
  SetModified(false);
}

void TRichEdit::SetText(const QString &text) {
  setPlainText(LineEnds::ToNewlines(text));
  ResetUndoHistory();
  applyAlignment();
}

qsizetype TRichEdit::TextLength() const {
  const qsizetype breaks = document()->blockCount() - 1;
  return PositionCount() + breaks * (lineEnd_.size() - 1);
}

qsizetype TRichEdit::PositionCount() const { return document()->characterCount() - 1; }

void TRichEdit::Clear() {
  clear();
  ResetUndoHistory();
}

// ---- selection --------------------------------------------------------------------------

TTextCursor TRichEdit::cursorAt(qsizetype position) const {
  TTextCursor cursor(document());
  cursor.setPosition(int(std::clamp<qsizetype>(position, 0, PositionCount())));
  return cursor;
}

qsizetype TRichEdit::SelStart() const { return textCursor().selectionStart(); }

qsizetype TRichEdit::SelLength() const {
  const TTextCursor c = textCursor();
  return c.selectionEnd() - c.selectionStart();
}

void TRichEdit::SetSelection(qsizetype start, qsizetype length) {
  const qsizetype count = PositionCount();
  start = std::clamp<qsizetype>(start, 0, count);
  const qsizetype end = std::clamp<qsizetype>(start + std::max<qsizetype>(length, 0), 0, count);
  TTextCursor cursor(document());
  cursor.setPosition(int(start));
  cursor.setPosition(int(end), QTextCursor::KeepAnchor);
  setTextCursor(cursor);
}

QString TRichEdit::SelText() const {
  const TTextCursor cursor = textCursor();
  return TextBetween(*document(), cursor.selectionStart(), cursor.selectionEnd());
}

void TRichEdit::ReplaceSelection(const QString &text) {
  if (loading_) return;  // a half-loaded text is not the user's to change
  const QString plain = LineEnds::ToNewlines(text);
  TTextCursor cursor = textCursor();
  pendingKind_ = TUndoKind::Unknown;
  if (cursor.hasSelection() && replaceWhole(plain, false)) return;
  // Its own step: never merged with typing before or after it.
  cursor.beginEditBlock();
  cursor.insertText(plain);
  cursor.endEditBlock();
  setTextCursor(cursor);
}

void TRichEdit::SelectAll() { selectAll(); }

QString TRichEdit::TextRange(qsizetype start, qsizetype end) const {
  const qsizetype count = PositionCount();
  start = std::clamp<qsizetype>(start, 0, count);
  end = std::clamp<qsizetype>(end, 0, count);
  // A range the wrong way round reads as the same range.
  return TextBetween(*document(), int(std::min(start, end)), int(std::max(start, end)));
}

void TRichEdit::BeginEditBlock() {
  if (editBlockDepth_++ == 0) {
    pendingKind_ = TUndoKind::Unknown;
    document()->beginEditBlock();
  }
}

void TRichEdit::EndEditBlock() {
  if (editBlockDepth_ > 0 && --editBlockDepth_ == 0) document()->endEditBlock();
}

// ---- clipboard --------------------------------------------------------------------------

void TRichEdit::Cut() {
  if (loading_) return;  // a half-loaded text is not the user's to change
  pendingKind_ = TUndoKind::Cut;
  if (isLongEdit({})) {
    copy();
    if (runLongEdit({})) return;
  }
  cut();
  pendingKind_ = TUndoKind::Unknown;
}

void TRichEdit::Copy() { copy(); }

void TRichEdit::Paste() {
  if (loading_) return;  // a half-loaded text is not the user's to change
  pendingKind_ = TUndoKind::Paste;
  const QMimeData *source = QApplication::clipboard()->mimeData();
  if (source && source->hasText()) {
    const QString text = LineEnds::ToNewlines(source->text());
    if (isLongEdit(text) && runLongEdit(text)) return;
  }
  paste();
  pendingKind_ = TUndoKind::Unknown;
}

void TRichEdit::DeleteSelection() {
  if (loading_) return;  // a half-loaded text is not the user's to change
  TTextCursor cursor = textCursor();
  if (!cursor.hasSelection()) return;
  pendingKind_ = TUndoKind::Delete;
  const QPointer<TRichEdit> self(this);
  if (!replaceWhole({}, true)) {
    cursor.removeSelectedText();
    setTextCursor(cursor);
  }
  if (self) pendingKind_ = TUndoKind::Unknown;  // a long edit may have ended with the window
}

void TRichEdit::insertFromMimeData(const QMimeData *source) {
  // Only plain text enters a plain-text document, whatever else the clipboard offers.
  if (!source || !source->hasText()) return;
  const QString text = LineEnds::ToNewlines(source->text());
  TTextCursor cursor = textCursor();
  if (text.isEmpty() || replaceWhole(text, false)) return;
  cursor.insertText(text);
}

void TRichEdit::dropEvent(QDropEvent *event) {
  pendingKind_ = TUndoKind::DragDrop;
  TTextView::dropEvent(event);
  pendingKind_ = TUndoKind::Unknown;
}

// ---- flags ------------------------------------------------------------------------------

bool TRichEdit::Modified() const { return document()->isModified(); }

void TRichEdit::SetModified(bool modified) { document()->setModified(modified); }

void TRichEdit::SetHideSelection(bool hide) {
  hideSelection_ = hide;
  QPalette p = palette();
  const QColor highlight = QApplication::palette().color(QPalette::Active, QPalette::Highlight);
  const QColor highlighted =
      QApplication::palette().color(QPalette::Active, QPalette::HighlightedText);
  if (hide) {
    p.setColor(QPalette::Inactive, QPalette::Highlight,
               p.color(QPalette::Inactive, QPalette::Base));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Inactive, QPalette::Text));
  } else {
    p.setColor(QPalette::Inactive, QPalette::Highlight, highlight);
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, highlighted);
  }
  setPalette(p);
}

void TRichEdit::SetFocus() { setFocus(Qt::OtherFocusReason); }

void TRichEdit::Repaint() { viewport()->repaint(); }

QPoint TRichEdit::ClientOrigin() const { return viewport()->mapToGlobal(QPoint(0, 0)); }

QPoint TRichEdit::PositionToScreen(qsizetype position) const {
  const QRect r = cursorRect(cursorAt(position));
  return viewport()->mapToGlobal(r.topLeft());
}

// ---- caret ------------------------------------------------------------------------------

int TRichEdit::CaretLine() const {
  const TRowPlace caret = rowOf(textCursor().position());
  return caret.block.firstLineNumber() + caret.row;
}

int TRichEdit::CaretColumn() const {
  const int position = textCursor().position();
  const TRowPlace caret = rowOf(position);
  return position - caret.block.position() - viewLayout()->RowStart(caret.block, caret.row);
}

QString TRichEdit::CaretWord() const {
  const TTextCursor cursor = textCursor();
  const qsizetype caret = cursor.position();
  if (caret == 0) return {};
  const QStringView line = cursor.block().textView();
  qsizetype at = caret - cursor.block().position();
  // The word at the caret, or the one just before it.
  qsizetype end = at;
  while (end < line.size() && !line[end].isSpace()) ++end;
  qsizetype start = at;
  while (start > 0 && !line[start - 1].isSpace()) --start;
  if (start == end) {  // caret after blanks: take the word before them
    end = start;
    while (end > 0 && line[end - 1].isSpace()) --end;
    start = end;
    while (start > 0 && !line[start - 1].isSpace()) --start;
  }
  return line.mid(start, end - start).trimmed().toString();
}

// ---- display ----------------------------------------------------------------------------

void TRichEdit::applyAlignment() {
  QTextOption option = document()->defaultTextOption();
  switch (alignment_) {
    case TTextAlignment::Left:
      option.setAlignment(Qt::AlignLeft);
      break;
    case TTextAlignment::Right:
      option.setAlignment(Qt::AlignRight);
      break;
    case TTextAlignment::Center:
      option.setAlignment(Qt::AlignHCenter);
      break;
  }
  // A new option lays every line out again at once, seconds for a line of megabytes: only
  // when something changed.
  if (option.alignment() != document()->defaultTextOption().alignment())
    document()->setDefaultTextOption(option);
}

void TRichEdit::SetAlignment(TTextAlignment alignment) {
  alignment_ = alignment;
  applyAlignment();
  viewport()->update();
}

bool TRichEdit::WordWrap() const { return lineWrapMode() != NoWrap; }

void TRichEdit::SetWordWrap(bool wrap) {
  const QTextOption::WrapMode mode =
      wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap;
  if (lineWrapMode() == (wrap ? WidgetWidth : NoWrap) &&
      document()->defaultTextOption().wrapMode() == mode)
    return;  // unchanged: no layout again
  setLineWrapMode(wrap ? WidgetWidth : NoWrap);
  QTextOption option = document()->defaultTextOption();
  option.setWrapMode(mode);
  document()->setDefaultTextOption(option);
}

void TRichEdit::HoldUpdates() {
  if (holdCount_++ == 0) setUpdatesEnabled(false);
}

void TRichEdit::ReleaseUpdates() {
  if (holdCount_ > 0 && --holdCount_ == 0) {
    setUpdatesEnabled(true);
    viewport()->update();
  }
}

void TRichEdit::SetAutoURLDetect(bool on) {
  if (on == autoUrlDetect_) return;
  autoUrlDetect_ = on;
  setMarker(on ? TViewLayout::TMarker(webAddressMarks) : TViewLayout::TMarker());
  viewport()->setMouseTracking(on);
}

void TRichEdit::SetSelectionBar(bool on) {
  selectionBar_ = on;
  updateMargins();
}

int TRichEdit::SelectionBarWidth() const { return selectionBar_ ? 8 : 0; }

void TRichEdit::updateMargins() {
  setViewportMargins(SelectionBarWidth(), 0, 0, 0);
  selectionBarWidget_->setVisible(selectionBar_);
  const QRect cr = contentsRect();
  selectionBarWidget_->setGeometry(cr.left(), cr.top(), SelectionBarWidth(), cr.height());
}

void TRichEdit::resizeEvent(QResizeEvent *event) {
  TTextView::resizeEvent(event);
  updateMargins();
}

void TRichEdit::selectLineAt(int y, bool extend) {
  // The row shown at y, with what ends it (a line break, or the blank a wrapped row broke at).
  const TRowPlace row = rowOf(cursorForPosition(QPoint(0, y)).position());
  const int start = row.block.position() + viewLayout()->RowStart(row.block, row.row);
  const int next = row.row + 1 < viewLayout()->RowCount(row.block)
                       ? row.block.position() + viewLayout()->RowStart(row.block, row.row + 1)
                       : row.block.position() + row.block.length();
  TTextCursor lineStart(document());
  lineStart.setPosition(start);
  TTextCursor lineEnd(document());
  lineEnd.setPosition(std::min(next, int(PositionCount())));
  TTextCursor cursor = textCursor();
  if (extend && cursor.hasSelection()) {
    const int anchor = cursor.anchor();
    cursor.setPosition(anchor);
    cursor.setPosition(lineEnd.position() > anchor ? lineEnd.position() : lineStart.position(),
                       QTextCursor::KeepAnchor);
  } else {
    cursor.setPosition(lineStart.position());
    cursor.setPosition(lineEnd.position(), QTextCursor::KeepAnchor);
  }
  setTextCursor(cursor);
  setFocus(Qt::MouseFocusReason);
}

void TRichEdit::SetScrollBars(TScrollStyle style) {
  scrollBars_ = style;
  const bool horizontal = style == TScrollStyle::ssBoth || style == TScrollStyle::ssHorizontal;
  const bool vertical = style == TScrollStyle::ssBoth || style == TScrollStyle::ssVertical;
  setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

QColor TRichEdit::Color() const { return palette().color(QPalette::Base); }

void TRichEdit::SetColor(const QColor &color) {
  QPalette p = palette();
  p.setColor(QPalette::Base, color);
  setPalette(p);
  selectionBarWidget_->update();
}

QColor TRichEdit::FontColor() const { return palette().color(QPalette::Text); }

void TRichEdit::SetFontColor(const QColor &color) {
  QPalette p = palette();
  p.setColor(QPalette::Text, color);
  setPalette(p);
}

void TRichEdit::SetEditFont(const QFont &font) { setFont(font); }

void TRichEdit::applyDocumentFont() {
  if (document()->defaultFont() != font()) document()->setDefaultFont(font());
}

QString TRichEdit::UrlAt(qsizetype position) const {
  const TTextCursor at = cursorAt(position);
  const TTextBlock block = at.block();
  position = at.position();
  // Only the stretch of the line a search from position can reach is read: the mouse asks
  // this on every move, and a line may hold megabytes.
  const qsizetype first = std::max<qsizetype>(block.position(), position - WebAddresses::Reach);
  const qsizetype last =
      std::min<qsizetype>(block.position() + block.length() - 1, position + WebAddresses::Reach);
  const QString stretch = TextBetween(*document(), int(first), int(last));
  return WebAddresses::At(stretch, position - first).toString();
}

// ---- input ------------------------------------------------------------------------------

void TRichEdit::keyPressEvent(QKeyEvent *event) {
  if (event->matches(QKeySequence::Undo)) {
    Undo();
    return;
  }
  if (event->matches(QKeySequence::Redo) ||
      (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier)) {
    Redo();
    return;
  }
  if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
    KeyboardState::ToggleInsert();
    return;
  }
  if (event->matches(QKeySequence::Cut)) return Cut();
  if (event->matches(QKeySequence::Paste)) return Paste();
  const int key = event->key();
  if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
    pendingKind_ = TUndoKind::Delete;
  } else if (!event->text().isEmpty() && !(event->modifiers() & Qt::ControlModifier)) {
    pendingKind_ = TUndoKind::Typing;
  }
  setOverwriteMode(KeyboardState::InsertToggled());
  const QPointer<TRichEdit> self(this);
  TTextView::keyPressEvent(event);
  if (self) pendingKind_ = TUndoKind::Unknown;  // a long edit may have ended with the window
}

void TRichEdit::mousePressEvent(QMouseEvent *event) {
  pressedUrl_.clear();
  if (autoUrlDetect_ && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton))
    pressedUrl_ = UrlAt(cursorForPosition(event->position().toPoint()).position());
  TTextView::mousePressEvent(event);
}

void TRichEdit::mouseReleaseEvent(QMouseEvent *event) {
  TTextView::mouseReleaseEvent(event);
  if (pressedUrl_.isEmpty()) return;
  const QString released = UrlAt(cursorForPosition(event->position().toPoint()).position());
  const QString pressed = std::exchange(pressedUrl_, QString());
  if (released == pressed) Q_EMIT URLClick(pressed);
}

void TRichEdit::mouseMoveEvent(QMouseEvent *event) {
  TTextView::mouseMoveEvent(event);
  if (autoUrlDetect_) {
    const bool overUrl =
        !UrlAt(cursorForPosition(event->position().toPoint()).position()).isEmpty();
    viewport()->setCursor(overUrl ? Qt::PointingHandCursor : Qt::IBeamCursor);
  }
}
