// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/ui/RichEdit.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <functional>

#include "documents/core/UndoHistory.h"
#include "platform/core/LineEnds.h"
#include "platform/desktop/IdleNotifier.h"
#include "platform/desktop/KeyboardState.h"
#include "platform/gui/EditorFont.h"

namespace {

// Block property: the kind of line break (TextFile break kinds) in front of the block, where it
// differs from the document's own line end. Block formats are part of the undo history, so an
// undone deletion brings the breaks back as they were; a new block copies the format of the
// block it was split from, and a merged block keeps the first one's, so the break removed is
// the one the user removed.
constexpr int kBreakBefore = QTextFormat::UserProperty + 1;

// Characters from which a wrapped text is taller than any screen.
constexpr qsizetype kTallChars = 1 << 20;

const QRegularExpression &urlPattern() {
  static const QRegularExpression re(
      QStringLiteral(
          R"((?:(?:https?|ftp)://|mailto:|www\.)[^\s<>"'()\[\]{}]+[^\s<>"'()\[\]{}.,;:!?])"),
      QRegularExpression::CaseInsensitiveOption);
  return re;
}

}  // namespace

// Marks web addresses in the text: blue and underlined, like links everywhere.
class TUrlHighlighter : public QSyntaxHighlighter {
 public:
  explicit TUrlHighlighter(QTextDocument *document) : QSyntaxHighlighter(document) {}

 protected:
  void highlightBlock(const QString &text) override {
    QTextCharFormat format;
    format.setForeground(QColor(0, 0, 255));
    format.setFontUnderline(true);
    auto it = urlPattern().globalMatch(text);
    while (it.hasNext()) {
      const auto match = it.next();
      setFormat(int(match.capturedStart()), int(match.capturedLength()), format);
    }
  }
};

// The widget's own plain-text layout, counting how often it lays out a long line. A line is
// laid out when its size is asked for while it has no layout (after a change that spans
// lines, a new width or font), or at once when a change stays inside one line.
class TLineLayout : public QPlainTextDocumentLayout {
 public:
  explicit TLineLayout(QTextDocument *document)
      : QPlainTextDocumentLayout(document), knownBlocks_(document->blockCount()) {}

  int LongLayouts() const { return longLayouts_; }

  QRectF blockBoundingRect(const QTextBlock &block) const override {
    if (block.isValid() && block.layout()->lineCount() == 0 && isLong(block)) ++longLayouts_;
    return QPlainTextDocumentLayout::blockBoundingRect(block);
  }

 protected:
  void documentChanged(int from, int removed, int added) override {
    const QTextDocument *doc = document();
    const QTextBlock first = doc->findBlock(from);
    const QTextBlock last = doc->findBlock(std::max(0, from + removed + added - 1));
    if (first == last && doc->blockCount() == knownBlocks_ && first.isValid() && isLong(first))
      ++longLayouts_;
    QPlainTextDocumentLayout::documentChanged(from, removed, added);
    knownBlocks_ = doc->blockCount();
  }

 private:
  static bool isLong(const QTextBlock &block) { return block.length() >= TRichEdit::LongLineChars; }

  int knownBlocks_;
  mutable int longLayouts_ = 0;
};

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

TRichEdit::TRichEdit(QWidget *parent) : QPlainTextEdit(parent) {
  {
    // The document is laid out by the control's own layout, which counts the costly layouts.
    auto *text = new QTextDocument(this);
    lineLayout_ = new TLineLayout(text);
    text->setDocumentLayout(lineLayout_);
    setDocument(text);
    lineLayout_->setPaintDevice(viewport());
    text->setDefaultFont(font());
  }
  // The stored default face is shown in an installed monospaced one.
  EditorFont::InstallSubstitutes();
  setTabChangesFocus(false);
  setContextMenuPolicy(Qt::NoContextMenu);
  selectionBarWidget_ = new TSelectionBar(this);
  connect(document(), &QTextDocument::undoCommandAdded, this, &TRichEdit::recordUndoStep);
  connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
    if (removed || added) ++changeCount_;
  });
  // Changes made by commands, not only by the user's keys, refresh the command states.
  auto requestIdle = [] { TIdleNotifier::Instance().Request(); };
  connect(this, &QPlainTextEdit::selectionChanged, this, requestIdle);
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, requestIdle);
  connect(this, &QPlainTextEdit::modificationChanged, this, requestIdle);
  updateMargins();
  TRichEdit::SetWordWrap(true);
}

TRichEdit::~TRichEdit() = default;

// ---- undo kinds -------------------------------------------------------------------------

void TRichEdit::recordUndoStep() {
  if (trimmingUndo_) return;  // the steps replayed get their kinds from dropOldUndoSteps
  ++undoLevels_;
  // Twice the limit held: the oldest are dropped (once the step under way is complete), so the
  // history never holds more than that.
  if (undoLimit_ > 0 && undoLevels_ >= 2 * undoLimit_ && !trimQueued_) {
    trimQueued_ = true;
    QMetaObject::invokeMethod(this, &TRichEdit::dropOldUndoSteps, Qt::QueuedConnection);
  }
  const int steps = document()->availableUndoSteps();
  undoKinds_.resize(std::max(steps, 0));
  if (steps > 0) undoKinds_[steps - 1] = pendingKind_;
  // Only the newest UndoLimit steps may be undone (the ones beyond are dropped soon).
  undoFloor_ = std::max(undoFloor_, undoLevels_ - undoLimit_);
}

bool TRichEdit::CanUndo() const {
  return document()->isUndoAvailable() && undoLevels_ > undoFloor_;
}

void TRichEdit::ResetUndoHistory() {
  document()->clearUndoRedoStacks();
  undoKinds_.clear();
  undoFloor_ = 0;
  undoLevels_ = 0;
}

void TRichEdit::dropOldUndoSteps() {
  trimQueued_ = false;
  if (editBlockDepth_ > 0 || undoLevels_ < 2 * undoLimit_ || CanRedo()) return;
  const QTextCursor selection = textCursor();
  const int anchor = selection.anchor(), position = selection.position();
  const int scrollX = horizontalScrollBar()->value(), scrollY = verticalScrollBar()->value();
  const bool modified = Modified();
  std::vector<TUndoKind> kinds;  // of the steps kept, newest first
  size_t replayed = 0;
  HoldUpdates();
  trimmingUndo_ = true;
  const bool dropped = UndoHistory::DropOldest(
      *document(), undoLimit_, [&] { kinds.push_back(UndoKind()); },
      [&] {
        if (replayed == 0) undoKinds_.clear();
        const int steps = document()->availableUndoSteps();
        undoKinds_.resize(size_t(std::max(steps, 0)));
        if (steps > 0) undoKinds_[size_t(steps - 1)] = kinds[kinds.size() - 1 - replayed];
        ++replayed;
      });
  trimmingUndo_ = false;
  if (dropped) {
    undoFloor_ = 0;
    undoLevels_ = undoLimit_;
  }
  SetModified(modified);
  QTextCursor restored(document());
  restored.setPosition(std::min(anchor, int(PositionCount())));
  restored.setPosition(std::min(position, int(PositionCount())), QTextCursor::KeepAnchor);
  setTextCursor(restored);
  horizontalScrollBar()->setValue(scrollX);
  verticalScrollBar()->setValue(scrollY);
  ReleaseUpdates();
}

bool TRichEdit::CanRedo() const { return document()->isRedoAvailable(); }

TUndoKind TRichEdit::UndoKind() const {
  const int steps = document()->availableUndoSteps();
  return (steps > 0 && steps <= int(undoKinds_.size())) ? undoKinds_[steps - 1]
                                                        : TUndoKind::Unknown;
}

TUndoKind TRichEdit::RedoKind() const {
  const int steps = document()->availableUndoSteps();
  return (CanRedo() && steps < int(undoKinds_.size())) ? undoKinds_[steps] : TUndoKind::Unknown;
}

void TRichEdit::Undo() {
  if (loading_) return;  // a half-loaded text is not the user's to change
  if (!CanUndo()) return;
  undo();
  if (undoLevels_ > 0) --undoLevels_;
}

void TRichEdit::Redo() {
  if (loading_) return;  // a half-loaded text is not the user's to change
  if (!CanRedo()) return;
  redo();
  ++undoLevels_;
}

// ---- text ------------------------------------------------------------------------------

template <typename BreakText>
QString TRichEdit::joinedText(BreakText breakText) const {
  QString text;
  text.reserve(document()->characterCount() + document()->blockCount() * (lineEnd_.size() - 1));
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
    if (block != document()->begin()) text.append(breakText(block));
    text.append(block.text());
  }
  return text;
}

// From the blocks themselves: the document's plain-text view would turn no-break spaces into
// blanks and line separators into line breaks.
QString TRichEdit::Text() const {
  return joinedText([this](const QTextBlock &) { return QStringView(lineEnd_); });
}

QString TRichEdit::FileText() const {
  return joinedText([this](const QTextBlock &block) {
    const QVariant kind = block.blockFormat().property(kBreakBefore);
    return kind.isValid() ? TextFile::BreakText(uint8_t(kind.toUInt())) : QStringView(lineEnd_);
  });
}

void TRichEdit::LoadText(const TDecodedText &decoded) {
  BeginLoad(decoded.format);
  for (qsizetype from = 0; from < decoded.text.size();)
    from = LoadSlice(decoded.text, from, decoded.text.size());
  EndLoad(decoded);
  while (ShowStep()) {
  }
}

void TRichEdit::BeginLoad(const TTextFormat &format) {
  if (showStep_ != TShowStep::Done) {
    // The view of the text before was never finished: finished for no text, which costs
    // nothing, so that the control is as its user left it.
    Clear();
    while (ShowStep()) {
    }
  }
  if (!loading_) {
    readOnlyBeforeLoad_ = isReadOnly();
    centerOnScrollBeforeLoad_ = centerOnScroll();
  }
  loading_ = true;
  setReadOnly(true);
  SetLineEnd(format.LineEndText());
  Clear();
  applyDocumentFont();  // free while the document is empty
  document()->setUndoRedoEnabled(false);
  // Until the text is all there, nothing of the widget asks where its lines go: the caret stays
  // at the start instead of following the text in, so its place is not looked for after each
  // slice, and the scroll bars are not measured again after each one (both lay the line they
  // look at out, again and again while a long line grows). Scrolled to center, the plain-text
  // edit measures its scroll bars by counting lines, laying out none, so a view resized while
  // the text comes in measures nothing either.
  setCenterOnScroll(true);
  QTextCursor caret = textCursor();
  caret.setKeepPositionOnInsert(true);
  setTextCursor(caret);
  lineLayout_->blockSignals(true);
}

qsizetype TRichEdit::LoadSlice(const QString &text, qsizetype from, qsizetype sliceChars) {
  from = std::clamp<qsizetype>(from, 0, text.size());
  // A text this long, wrapped, is taller than any screen: its vertical scroll bar is shown
  // before the first slice, so that the lines have the view's final width before any of them
  // is measured (a width changed later forgets every layout made).
  if (from == 0 && !tallWhileLoading_ && WordWrap() && text.size() >= kTallChars &&
      verticalScrollBarPolicy() == Qt::ScrollBarAsNeeded) {
    tallWhileLoading_ = true;
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  }
  if (from == 0 && !leadingBreak_) {
    // The anchor of the caret moves along with text inserted where it is, even where the caret
    // keeps its position: the text goes in after a line break, which EndLoad takes away again,
    // so that nothing is selected at the end (a selection to the end of the text would be
    // measured, laying out the lines down to it, when the caret is placed again).
    QTextCursor(document()).insertText(QStringLiteral("\n"));
    QTextCursor caret(document());
    caret.setKeepPositionOnInsert(true);
    setTextCursor(caret);
    leadingBreak_ = true;
  }
  qsizetype end = std::min(text.size(), from + std::max<qsizetype>(sliceChars, 1));
  // Up to a line break, unless the line is longer than a slice by far.
  if (end < text.size()) {
    const qsizetype lineEnd = text.indexOf(u'\n', end);
    if (lineEnd >= 0 && lineEnd - end < sliceChars) end = lineEnd + 1;
  }
  if (end < text.size() && text[end - 1].isHighSurrogate()) ++end;  // never half a character
  QTextCursor cursor(document());
  const QStringView slice = QStringView(text).sliced(from, end - from);
  // Each change is an edit block of its own: a cursor that moves outside one finds its place
  // in the line again, which lays a long line out.
  const auto change = [&cursor](const std::function<void()> &edit) {
    cursor.beginEditBlock();
    edit();
    cursor.endEditBlock();
  };
  change([&] { cursor.setPosition(int(PositionCount())); });
  if (slice.contains(u'\n')) {
    change([&] { cursor.insertText(slice.toString()); });
  } else {
    // Text added to one line has the widget lay that whole line out again at once, which for
    // a line of megabytes takes seconds each time. Added with a line break, which is taken
    // away again, the line is only laid out when it is shown.
    change([&] { cursor.insertText(slice.toString() + u'\n'); });
    change([&] { cursor.deletePreviousChar(); });
  }
  SetModified(false);
  return end;
}

void TRichEdit::EndLoad(const TDecodedText &decoded) {
  loading_ = false;
  // The settings of the view before any line is laid out: the new width of a view resized
  // while too many lines were loaded to give it to them then, alignment, font.
  if (std::exchange(resizedWhileLoading_, false)) {
    QResizeEvent resized(viewport()->size(), QSize(-1, -1));
    QPlainTextEdit::resizeEvent(&resized);
  }
  applyAlignment();
  applyDocumentFont();
  // Without the line break the text followed (which lays out the first line, once).
  if (std::exchange(leadingBreak_, false)) QTextCursor(document()).deleteChar();
  if (!decoded.breaks.empty()) {
    // Marking the blocks is no step the user could undo (undo is still off).
    const auto lineEnd = uint8_t(decoded.format.lineEnd);
    QTextBlock block = document()->begin().next();
    for (size_t i = 0; i < decoded.breaks.size() && block.isValid(); ++i, block = block.next()) {
      if (decoded.breaks[i] == lineEnd) continue;
      QTextBlockFormat format = block.blockFormat();
      format.setProperty(kBreakBefore, uint(decoded.breaks[i]));
      QTextCursor(block).setBlockFormat(format);
    }
  }
  document()->setUndoRedoEnabled(undoLimit_ > 0);
  ResetUndoHistory();
  SetModified(false);
  // What the view needs laid out is laid out by ShowStep, a long line a call: at most a line
  // of a megabyte laid out (a tenth of a second) in any turn of the event loop.
  showStep_ = TShowStep::Caret;
}

bool TRichEdit::ShowStep() {
  switch (showStep_) {
    case TShowStep::Done:
      return false;
    case TShowStep::Caret: {
      // The caret at the start follows what is typed again. Placing it lays out its line, the
      // first one shown.
      QTextCursor caret = textCursor();
      caret.setKeepPositionOnInsert(false);
      setTextCursor(caret);
      showStep_ = TShowStep::Measure;
      return true;
    }
    case TShowStep::Measure:
      // The scroll bars measured once: laying out the last lines, as many as fill the view.
      lineLayout_->blockSignals(false);
      setCenterOnScroll(centerOnScrollBeforeLoad_);
      Q_EMIT lineLayout_->documentSizeChanged(lineLayout_->documentSize());
      if (std::exchange(tallWhileLoading_, false))
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
      setReadOnly(readOnlyBeforeLoad_);
      linesAhead_ = linesAhead();
      showStep_ = TShowStep::Ahead;
      break;
    case TShowStep::Ahead:
      if (!linesAhead_.empty()) {
        const QTextBlock block = document()->findBlockByNumber(linesAhead_.back());
        linesAhead_.pop_back();
        if (block.isValid()) lineLayout_->blockBoundingRect(block);
      }
      break;
  }
  if (linesAhead_.empty()) showStep_ = TShowStep::Done;
  return showStep_ != TShowStep::Done;
}

std::vector<int> TRichEdit::linesAhead() const {
  // Moving the caret far (Ctrl+End, a click on the scroll bar) has the plain-text edit
  // measure the caret's old and new places from the line at the top of the view, laying out
  // the two lines next to it, or more while they are short, before anything is shown: the
  // two long lines after the first line shown and the two before the last page, laid out
  // ahead, a line a turn, keep the first such move from laying out four at once.
  std::vector<int> numbers;
  const auto add = [&](const QTextBlock &block) {
    if (block.isValid() && block.length() >= LongLineChars && block.layout()->lineCount() == 0 &&
        std::find(numbers.begin(), numbers.end(), block.blockNumber()) == numbers.end())
      numbers.insert(numbers.begin(), block.blockNumber());  // taken from the back
  };
  const QTextBlock top = firstVisibleBlock();
  add(top.next());
  add(top.next().next());
  // The first line of the last page: from the end, as many laid out lines as fill the view.
  QTextBlock lastTop = document()->lastBlock();
  qreal height = 0;
  while (lastTop.previous().isValid() && lastTop.layout()->lineCount() > 0) {
    height += lineLayout_->blockBoundingRect(lastTop).height();
    if (height >= viewport()->height()) break;
    lastTop = lastTop.previous();
  }
  add(lastTop.previous());
  add(lastTop.previous().previous());
  return numbers;
}

void TRichEdit::SetText(const QString &text) {
  setPlainText(LineEnds::ToNewlines(text));
  undoKinds_.clear();
  undoFloor_ = 0;
  undoLevels_ = 0;
  applyAlignment();
}

qsizetype TRichEdit::TextLength() const {
  const qsizetype breaks = document()->blockCount() - 1;
  return PositionCount() + breaks * (lineEnd_.size() - 1);
}

qsizetype TRichEdit::PositionCount() const { return document()->characterCount() - 1; }

void TRichEdit::Clear() {
  clear();
  undoKinds_.clear();
  undoFloor_ = 0;
  undoLevels_ = 0;
}

// ---- selection --------------------------------------------------------------------------

QTextCursor TRichEdit::cursorAt(qsizetype position) const {
  QTextCursor cursor(document());
  cursor.setPosition(int(std::clamp<qsizetype>(position, 0, PositionCount())));
  return cursor;
}

qsizetype TRichEdit::SelStart() const { return textCursor().selectionStart(); }

qsizetype TRichEdit::SelLength() const {
  const QTextCursor c = textCursor();
  return c.selectionEnd() - c.selectionStart();
}

void TRichEdit::SetSelection(qsizetype start, qsizetype length) {
  const qsizetype count = PositionCount();
  start = std::clamp<qsizetype>(start, 0, count);
  const qsizetype end = std::clamp<qsizetype>(start + std::max<qsizetype>(length, 0), 0, count);
  QTextCursor cursor(document());
  cursor.setPosition(int(start));
  cursor.setPosition(int(end), QTextCursor::KeepAnchor);
  setTextCursor(cursor);
}

QString TRichEdit::SelText() const {
  QString text = textCursor().selectedText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  return text;
}

void TRichEdit::ReplaceSelection(const QString &text) {
  if (loading_) return;  // a half-loaded text is not the user's to change
  const QString plain = LineEnds::ToNewlines(text);
  QTextCursor cursor = textCursor();
  pendingKind_ = TUndoKind::Unknown;
  // Its own step: never merged with typing before or after it.
  cursor.beginEditBlock();
  cursor.insertText(plain);
  cursor.endEditBlock();
  setTextCursor(cursor);
}

void TRichEdit::SelectAll() { selectAll(); }

QString TRichEdit::TextRange(qsizetype start, qsizetype end) const {
  QTextCursor cursor = cursorAt(start);
  cursor.setPosition(int(std::clamp<qsizetype>(end, 0, PositionCount())), QTextCursor::KeepAnchor);
  QString text = cursor.selectedText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  return text;
}

void TRichEdit::BeginEditBlock() {
  if (editBlockDepth_++ == 0) {
    blockCursor_ = QTextCursor(document());
    pendingKind_ = TUndoKind::Unknown;
    blockCursor_.beginEditBlock();
  }
}

void TRichEdit::EndEditBlock() {
  if (editBlockDepth_ > 0 && --editBlockDepth_ == 0) blockCursor_.endEditBlock();
}

// ---- clipboard --------------------------------------------------------------------------

void TRichEdit::Cut() {
  if (loading_) return;  // a half-loaded text is not the user's to change
  pendingKind_ = TUndoKind::Cut;
  cut();
  pendingKind_ = TUndoKind::Unknown;
}

void TRichEdit::Copy() { copy(); }

void TRichEdit::Paste() {
  if (loading_) return;  // a half-loaded text is not the user's to change
  pendingKind_ = TUndoKind::Paste;
  paste();
  pendingKind_ = TUndoKind::Unknown;
}

void TRichEdit::DeleteSelection() {
  if (loading_) return;  // a half-loaded text is not the user's to change
  QTextCursor cursor = textCursor();
  if (!cursor.hasSelection()) return;
  pendingKind_ = TUndoKind::Delete;
  cursor.removeSelectedText();
  pendingKind_ = TUndoKind::Unknown;
  setTextCursor(cursor);
}

void TRichEdit::insertFromMimeData(const QMimeData *source) {
  // Only plain text enters a plain-text document, whatever else the clipboard offers.
  if (!source || !source->hasText()) return;
  const QString text = LineEnds::ToNewlines(source->text());
  QTextCursor cursor = textCursor();
  if (!text.isEmpty()) cursor.insertText(text);
}

void TRichEdit::dropEvent(QDropEvent *event) {
  pendingKind_ = TUndoKind::DragDrop;
  QPlainTextEdit::dropEvent(event);
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
  const QTextCursor cursor = textCursor();
  const QTextBlock block = cursor.block();
  int line = block.firstLineNumber();
  if (const QTextLayout *layout = block.layout(); layout && layout->lineCount() > 0) {
    const int inBlock = cursor.position() - block.position();
    const QTextLine textLine = layout->lineForTextPosition(inBlock);
    if (textLine.isValid()) line += textLine.lineNumber();
  }
  return line;
}

int TRichEdit::CaretColumn() const {
  const QTextCursor cursor = textCursor();
  const QTextBlock block = cursor.block();
  const int inBlock = cursor.position() - block.position();
  if (const QTextLayout *layout = block.layout(); layout && layout->lineCount() > 0) {
    const QTextLine textLine = layout->lineForTextPosition(inBlock);
    if (textLine.isValid()) return inBlock - textLine.textStart();
  }
  return inBlock;
}

QString TRichEdit::CaretWord() const {
  const QTextCursor cursor = textCursor();
  const qsizetype caret = cursor.position();
  if (caret == 0) return {};
  const QString line = cursor.block().text();
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
  return line.mid(start, end - start).trimmed();
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
  if (on) {
    urlHighlighter_ = new TUrlHighlighter(document());
  } else {
    delete urlHighlighter_;
    urlHighlighter_ = nullptr;
  }
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

void TRichEdit::paintEvent(QPaintEvent *event) {
  if (!loading_ && showStep_ != TShowStep::Caret && showStep_ != TShowStep::Measure) {
    QPlainTextEdit::paintEvent(event);
    return;
  }
  // A part of the text is not shown: drawing it would lay out a growing line again and again.
  // Nor is the whole text until the scroll bars are measured: drawn before, it would be drawn
  // twice (a long line takes a tenth of a second and more to draw).
  QPainter painter(viewport());
  painter.fillRect(event->rect(), Color());
}

void TRichEdit::resizeEvent(QResizeEvent *event) {
  if (loading_) {
    // The lines get the new width now while there are none (the scroll bars are measured
    // without laying out any, see BeginLoad), else once the text is all there: the plain-text
    // edit's own handler, which would measure a growing line again and again, is passed over
    // on purpose.
    if (document()->isEmpty()) {
      QPlainTextEdit::resizeEvent(event);
      forgetWidestLine();
    } else {
      QAbstractScrollArea::resizeEvent(event);  // NOLINT(bugprone-parent-virtual-call)
      resizedWhileLoading_ = true;
    }
  } else {
    QPlainTextEdit::resizeEvent(event);
  }
  updateMargins();
}

void TRichEdit::forgetWidestLine() {
  // The plain-text layout takes a new width for the width of its widest line, and remembers
  // that line by number; the load moves the number along to one of the last lines. Laid out
  // narrower, that line would have every line of the text looked at (and given a layout) to
  // find the widest again: seconds for millions of lines. Emptied, the layout forgets it.
  QTextCursor cursor(document());
  cursor.insertText(QStringLiteral("\n"));
  cursor.deletePreviousChar();
  SetModified(false);
}

void TRichEdit::selectLineAt(int y, bool extend) {
  const QTextCursor hit = cursorForPosition(QPoint(0, y));
  QTextCursor cursor = textCursor();
  QTextCursor lineStart = hit;
  lineStart.movePosition(QTextCursor::StartOfLine);
  QTextCursor lineEnd = hit;
  lineEnd.movePosition(QTextCursor::EndOfLine);
  if (!lineEnd.atEnd()) lineEnd.movePosition(QTextCursor::NextCharacter);
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

void TRichEdit::SetUndoLimit(int limit) {
  undoLimit_ = std::max(limit, 0);
  document()->setUndoRedoEnabled(undoLimit_ > 0);
  if (undoLimit_ == 0) undoLevels_ = 0;
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

void TRichEdit::changeEvent(QEvent *event) {
  const bool fontChange =
      event->type() == QEvent::FontChange || event->type() == QEvent::ApplicationFontChange;
  // A new font lays every line out again at once. The settings write a font in parts, one
  // change each: a long text gets the font they end with, once, when the events of the moment
  // are done (and a text being loaded when it is all there).
  if (!fontChange || (!loading_ && PositionCount() < LongLineChars)) {
    QPlainTextEdit::changeEvent(event);
    return;
  }
  // The plain-text edit's own handler would lay every line out for the font now: passed over
  // on purpose, the font reaches the document below.
  QAbstractScrollArea::changeEvent(event);  // NOLINT(bugprone-parent-virtual-call)
  if (loading_ || std::exchange(fontQueued_, true)) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        fontQueued_ = false;
        if (!loading_) applyDocumentFont();
      },
      Qt::QueuedConnection);
}

void TRichEdit::applyDocumentFont() {
  if (document()->defaultFont() != font()) document()->setDefaultFont(font());
}

int TRichEdit::LongLineLayouts() const { return lineLayout_->LongLayouts(); }

QString TRichEdit::UrlAt(qsizetype position) const {
  const QTextBlock block = cursorAt(position).block();
  const qsizetype inBlock = position - block.position();
  auto it = urlPattern().globalMatch(block.text());
  while (it.hasNext()) {
    const auto match = it.next();
    if (inBlock >= match.capturedStart() && inBlock < match.capturedEnd()) return match.captured();
  }
  return {};
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
  QPlainTextEdit::keyPressEvent(event);
  pendingKind_ = TUndoKind::Unknown;
}

void TRichEdit::mousePressEvent(QMouseEvent *event) {
  pressedUrl_.clear();
  if (autoUrlDetect_ && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton))
    pressedUrl_ = UrlAt(cursorForPosition(event->position().toPoint()).position());
  QPlainTextEdit::mousePressEvent(event);
}

void TRichEdit::mouseReleaseEvent(QMouseEvent *event) {
  QPlainTextEdit::mouseReleaseEvent(event);
  if (pressedUrl_.isEmpty()) return;
  const QString released = UrlAt(cursorForPosition(event->position().toPoint()).position());
  const QString pressed = std::exchange(pressedUrl_, QString());
  if (released == pressed) Q_EMIT URLClick(pressed);
}

void TRichEdit::mouseMoveEvent(QMouseEvent *event) {
  QPlainTextEdit::mouseMoveEvent(event);
  if (autoUrlDetect_) {
    const bool overUrl =
        !UrlAt(cursorForPosition(event->position().toPoint()).position()).isEmpty();
    viewport()->setCursor(overUrl ? Qt::PointingHandCursor : Qt::IBeamCursor);
  }
}
