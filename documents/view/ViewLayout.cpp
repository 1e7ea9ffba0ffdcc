// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/view/ViewLayout.h"

#include <QPainter>
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

struct TViewLayout::TPiece {
  int start = 0;
  int length = 0;
  std::unique_ptr<QTextLayout> layout;  // none: to be laid out
  QPointF pos;                          // where the piece stands in its block
  int firstRow = 0;
  int rows = 1;
  qreal width = 0;  // its widest row; without wrapping, its advance
  qreal height = 0;
  int end() const { return start + length; }
};

// A block's pieces, kept in the block's user data so that they go with it through the
// document's changes and are deleted with it.
struct TViewLayout::TBlockRows : TTextStore::TLineData {
  std::vector<TPiece> pieces;  // none: to be cut into pieces
  quint64 generation = 0;
  bool placed = false;  // every piece is laid out and stands where it belongs
  int rows = 1;
  qreal height = 0;
  qreal width = 0;
};

namespace {

// Where the pieces of a line start: about every PieceChars characters, just after a blank
// found in the piece's last quarter, else where no character is cut in two.
std::vector<int> pieceStarts(QStringView text) {
  constexpr qsizetype n = TViewLayout::PieceChars;
  std::vector<int> starts{0};
  qsizetype from = 0;
  while (text.size() - from > 2 * n) {
    qsizetype cut = from + n;
    qsizetype blank = cut;
    while (blank > from + n * 3 / 4 && !text[blank - 1].isSpace()) --blank;
    if (text[blank - 1].isSpace()) {
      cut = blank;
    } else {
      while (cut > from + 1 && (text[cut].isLowSurrogate() || text[cut].isMark())) --cut;
    }
    starts.push_back(int(cut));
    from = cut;
  }
  return starts;
}

}  // namespace

TViewLayout::TViewLayout(TTextModel *document)
    : QObject(document), document_(document), knownBlocks_(document->blockCount()) {
  connect(document, &TTextModel::contentsChange, this, &TViewLayout::documentChanged);
  connect(document, &TTextModel::lookChanged, this, &TViewLayout::Invalidate);
}

TViewLayout::~TViewLayout() = default;

TViewLayout::TBlockRows *TViewLayout::rowsOf(const TTextBlock &block) const {
  return block.isValid() ? dynamic_cast<TBlockRows *>(block.userData()) : nullptr;
}

void TViewLayout::SetWidth(qreal width, bool wrap) {
  if (width == width_ && wrap == wrap_) return;
  // Without wrapping, the width only places lines that are not aligned to the left.
  const bool relayout =
      wrap || wrap != wrap_ || !(document()->defaultTextOption().alignment() & Qt::AlignLeft);
  width_ = width;
  wrap_ = wrap;
  if (!relayout) return;
  ++generation_;
  widest_ = 0;
  Q_EMIT documentSizeChanged(documentSize());
  Q_EMIT update();
}

void TViewLayout::SetMarker(TMarker marker) {
  marker_ = std::move(marker);
  Invalidate();
}

void TViewLayout::Invalidate() {
  ++generation_;
  widest_ = 0;
  Q_EMIT documentSizeChanged(documentSize());
  Q_EMIT update();
}

std::vector<TViewLayout::TPiece> TViewLayout::cutIntoPieces(QStringView text, int offset) {
  const std::vector<int> starts = pieceStarts(text);
  std::vector<TPiece> pieces(starts.size());
  for (size_t i = 0; i < starts.size(); ++i) {
    pieces[i].start = offset + starts[i];
    pieces[i].length = (i + 1 < starts.size() ? starts[i + 1] : int(text.size())) - starts[i];
  }
  return pieces;
}

void TViewLayout::layOutPiece(const TTextBlock &block, const QString &text, TPiece &piece) {
  const TTextModel *doc = document();
  QFont font = block.charFormat().font().resolve(doc->defaultFont());
  auto layout = std::make_unique<QTextLayout>(text.mid(piece.start, piece.length), font, device_);
  QTextOption option = doc->defaultTextOption();
  const bool single = piece.length == block.length() - 1;
  if (!wrap_) {
    option.setWrapMode(QTextOption::NoWrap);
    if (!single) option.setAlignment(Qt::AlignLeft);  // pieces stand side by side
  } else if (option.wrapMode() == QTextOption::NoWrap) {
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  }
  layout->setTextOption(option);

  // The characters' own formats (rich text) and the view's marks, as far as they fall into
  // the piece.
  QList<QTextLayout::FormatRange> formats;
  auto add = [&](int start, int length, const QTextCharFormat &format) {
    const int from = std::max(start, piece.start), to = std::min(start + length, piece.end());
    if (from < to) formats.append({from - piece.start, to - from, format});
  };
  for (const QTextLayout::FormatRange &range : block.textFormats())
    add(range.start, range.length, range.format);
  if (marker_)
    for (const QTextLayout::FormatRange &range : marker_(text, piece.start, piece.end()))
      add(range.start, range.length, range.format);
  layout->setFormats(formats);
  // Glyphs are not kept: a piece shown is shaped again when drawn, which costs little for a
  // piece, while keeping them would cost tens of bytes for every character of the text.
  layout->setCacheEnabled(false);

  const qreal lineWidth = std::max<qreal>(width_, 1);
  qreal y = 0, widest = 0;
  layout->beginLayout();
  for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
    line.setLeadingIncluded(true);
    line.setLineWidth(lineWidth);
    line.setPosition(QPointF(0, y));
    y += line.height();
    widest = std::max(widest,
                      wrap_ || single ? line.naturalTextRect().right() : line.horizontalAdvance());
  }
  layout->endLayout();
  piece.rows = std::max(1, layout->lineCount());
  piece.height = y;
  piece.width = widest;
  piece.layout = std::move(layout);
  ++pieceLayouts_;
}

bool TViewLayout::EnsureLaidOut(const TTextBlock &block) {
  if (!block.isValid()) return false;
  TBlockRows *rows = rowsOf(block);
  if (!rows) {
    auto made = std::make_unique<TBlockRows>();
    rows = made.get();
    block.setUserData(std::move(made));
  }
  if (rows->generation != generation_) {
    for (TPiece &piece : rows->pieces) piece.layout.reset();
    rows->generation = generation_;
    rows->placed = false;
  }
  if (rows->placed) return false;
  const QString text = block.text();
  if (rows->pieces.empty()) rows->pieces = cutIntoPieces(text, 0);
  size_t laid = 0;
  for (TPiece &piece : rows->pieces) {
    if (piece.layout) continue;
    layOutPiece(block, text, piece);
    ++laid;
  }
  if (laid > 1 && laid == rows->pieces.size()) ++longLayouts_;

  qreal x = 0, y = 0, width = 0, height = 0;
  int row = 0;
  for (TPiece &piece : rows->pieces) {
    if (wrap_) {
      piece.pos = QPointF(0, y);
      piece.firstRow = row;
      row += piece.rows;
      y += piece.height;
      width = std::max(width, piece.width);
    } else {
      piece.pos = QPointF(x, 0);
      piece.firstRow = 0;
      x += piece.width;
      height = std::max(height, piece.height);
    }
  }
  rows->rows = wrap_ ? row : 1;
  rows->height = wrap_ ? y : height;
  rows->width = wrap_ ? width : x;
  rows->placed = true;
  if (block.lineCount() != rows->rows) block.setLineCount(rows->rows);
  widest_ = std::max(widest_, rows->width);
  return true;
}

int TViewLayout::RowCount(const TTextBlock &block) const {
  const TBlockRows *rows = rowsOf(block);
  return rows && rows->placed ? rows->rows : 1;
}

qreal TViewLayout::Height(const TTextBlock &block) const {
  const TBlockRows *rows = rowsOf(block);
  return rows && rows->placed ? rows->height : 0;
}

qreal TViewLayout::RowsWidth(const TTextBlock &block) const {
  const TBlockRows *rows = rowsOf(block);
  return rows && rows->placed ? rows->width : 0;
}

const TViewLayout::TPiece *TViewLayout::pieceAt(const TTextBlock &block, int position) const {
  const TBlockRows *rows = rowsOf(block);
  if (!rows || !rows->placed) return nullptr;
  const auto &pieces = rows->pieces;
  auto after = std::upper_bound(pieces.begin(), pieces.end(), position,
                                [](int p, const TPiece &piece) { return p < piece.start; });
  return after == pieces.begin() ? &pieces.front() : &*std::prev(after);
}

const TViewLayout::TPiece *TViewLayout::pieceOfRow(const TTextBlock &block, int row) const {
  const TBlockRows *rows = rowsOf(block);
  if (!rows || !rows->placed) return nullptr;
  const auto &pieces = rows->pieces;
  if (!wrap_) return &pieces.front();
  auto after = std::upper_bound(pieces.begin(), pieces.end(), row,
                                [](int r, const TPiece &piece) { return r < piece.firstRow; });
  return after == pieces.begin() ? &pieces.front() : &*std::prev(after);
}

namespace {

QTextLine lineAtPosition(const QTextLayout &layout, int position) {
  QTextLine line = layout.lineForTextPosition(position);
  return line.isValid() ? line : layout.lineAt(layout.lineCount() - 1);
}

}  // namespace

int TViewLayout::RowOf(const TTextBlock &block, int position) const {
  const TPiece *piece = pieceAt(block, position);
  if (!piece || !wrap_) return 0;
  return piece->firstRow + lineAtPosition(*piece->layout, position - piece->start).lineNumber();
}

QRectF TViewLayout::CaretRect(const TTextBlock &block, int position, int caretWidth) const {
  const TPiece *piece = pieceAt(block, position);
  if (!piece) return {};
  const int inPiece = position - piece->start;
  const QTextLine line = lineAtPosition(*piece->layout, inPiece);
  return {piece->pos.x() + line.cursorToX(inPiece), piece->pos.y() + line.y(), qreal(caretWidth),
          line.height()};
}

QRectF TViewLayout::RowRect(const TTextBlock &block, int row) const {
  const TPiece *piece = pieceOfRow(block, row);
  if (!piece) return {};
  const qreal width = std::max(width_, RowsWidth(block));
  if (!wrap_) return {0, 0, width, Height(block)};
  const QTextLine line =
      piece->layout->lineAt(std::clamp(row - piece->firstRow, 0, piece->rows - 1));
  return {0, piece->pos.y() + line.y(), width, line.height()};
}

int TViewLayout::RowStart(const TTextBlock &block, int row) const {
  const TPiece *piece = pieceOfRow(block, row);
  if (!piece || !wrap_) return 0;
  return piece->start +
         piece->layout->lineAt(std::clamp(row - piece->firstRow, 0, piece->rows - 1)).textStart();
}

int TViewLayout::RowEnd(const TTextBlock &block, int row) const {
  const TPiece *piece = pieceOfRow(block, row);
  if (!piece) return 0;
  const int last = block.length() - 1;
  if (!wrap_) return last;
  const QTextLine line =
      piece->layout->lineAt(std::clamp(row - piece->firstRow, 0, piece->rows - 1));
  const int end = piece->start + line.textStart() + line.textLength();
  if (end >= last) return last;
  // A wrapped row ends before the blank it broke at, else its end would be the next row's
  // start, where the caret shows on that row.
  return piece->layout->text().at(end - piece->start - 1).isSpace() ? end - 1 : end;
}

int TViewLayout::PositionInRow(const TTextBlock &block, int row, qreal x) const {
  const TPiece *piece = pieceOfRow(block, row);
  if (!piece) return 0;
  if (!wrap_) {
    const TBlockRows *rows = rowsOf(block);
    auto after = std::upper_bound(rows->pieces.begin(), rows->pieces.end(), x,
                                  [](qreal v, const TPiece &p) { return v < p.pos.x(); });
    piece = after == rows->pieces.begin() ? &rows->pieces.front() : &*std::prev(after);
  }
  const QTextLine line =
      piece->layout->lineAt(std::clamp(row - piece->firstRow, 0, piece->rows - 1));
  const qreal inPiece = x - piece->pos.x();
  int found = line.xToCursor(inPiece);
  // Where fonts change inside a character made of several (an accent after a letter, from
  // another font than the next character), the text layout can answer a place inside it:
  // the nearer of the caret stops around it is taken.
  if (!piece->layout->isValidCursorPosition(found)) {
    const int before = piece->layout->previousCursorPosition(found);
    const int after = piece->layout->nextCursorPosition(found);
    found = std::abs(line.cursorToX(after) - inPiece) < std::abs(line.cursorToX(before) - inPiece)
                ? after
                : before;
  }
  // A blank a wrapped row broke at is squeezed to nothing at its right edge: the place after
  // it is the next row's start, which is not in this row.
  return std::min(piece->start + found, RowEnd(block, row));
}

int TViewLayout::PositionAt(const TTextBlock &block, QPointF point) const {
  const TBlockRows *rows = rowsOf(block);
  if (!rows || !rows->placed) return 0;
  if (!wrap_) return PositionInRow(block, 0, point.x());
  auto after = std::upper_bound(rows->pieces.begin(), rows->pieces.end(), point.y(),
                                [](qreal y, const TPiece &p) { return y < p.pos.y(); });
  const TPiece &piece = after == rows->pieces.begin() ? rows->pieces.front() : *std::prev(after);
  int line = 0;
  while (line + 1 < piece.rows && piece.pos.y() + piece.layout->lineAt(line + 1).y() <= point.y())
    ++line;
  return PositionInRow(block, piece.firstRow + line, point.x());
}

int TViewLayout::NextPosition(const TTextBlock &block, int position,
                              QTextLayout::CursorMode mode) const {
  const TPiece *piece = pieceAt(block, position);
  if (!piece || position >= block.length() - 1) return std::min(position, block.length() - 1);
  return piece->start + piece->layout->nextCursorPosition(position - piece->start, mode);
}

int TViewLayout::PreviousPosition(const TTextBlock &block, int position,
                                  QTextLayout::CursorMode mode) const {
  if (position <= 0) return 0;
  // The piece the character before the position is in.
  const TPiece *piece = pieceAt(block, position - 1);
  if (!piece) return position - 1;
  return piece->start + piece->layout->previousCursorPosition(position - piece->start, mode);
}

void TViewLayout::DrawBlock(QPainter *painter, const TTextBlock &block, QPointF origin,
                            const QRectF &clip, const QList<QTextLayout::FormatRange> &selections,
                            int caretPosition, int caretWidth) const {
  const TBlockRows *rows = rowsOf(block);
  if (!rows || !rows->placed) return;
  const TPiece *caretPiece = caretPosition >= 0 ? pieceAt(block, caretPosition) : nullptr;
  for (const TPiece &piece : rows->pieces) {
    const QRectF area(piece.pos,
                      QSizeF(wrap_ ? std::max(width_, piece.width) : piece.width, piece.height));
    if (!area.intersects(clip)) continue;
    QList<QTextLayout::FormatRange> inPiece;
    for (const QTextLayout::FormatRange &range : selections) {
      const int from = std::max(range.start, piece.start);
      const int to = std::min(range.start + range.length, piece.end());
      if (from < to) inPiece.append({from - piece.start, to - from, range.format});
    }
    piece.layout->draw(painter, origin + piece.pos, inPiece, clip.translated(origin));
    if (&piece == caretPiece)
      piece.layout->drawCursor(painter, origin + piece.pos, caretPosition - piece.start,
                               caretWidth);
  }
}

bool TViewLayout::changeInPlace(const TTextBlock &block, int from, int removed, int added) {
  TBlockRows *rows = rowsOf(block);
  if (!rows || rows->pieces.empty()) return false;
  auto &pieces = rows->pieces;
  // A change that does not add up with the pieces (a document telling that all of it changed
  // form) is laid out anew.
  if (from < 0 || from + removed > pieces.back().end() ||
      pieces.back().end() - removed + added != block.length() - 1)
    return false;
  auto pieceIndex = [&](int position) {
    auto after = std::upper_bound(pieces.begin(), pieces.end(), position,
                                  [](int p, const TPiece &piece) { return p < piece.start; });
    return size_t(std::max<std::ptrdiff_t>(0, std::prev(after) - pieces.begin()));
  };
  const size_t first = pieceIndex(from);
  size_t last = removed > 0 ? pieceIndex(from + removed - 1) : first;
  // A piece whose last characters went ends elsewhere than after a blank now: it goes on
  // into the next piece, so that no word is cut by a row's end.
  if (removed > 0 && from + removed == pieces[last].end() && last + 1 < pieces.size()) ++last;
  TPiece &changed = pieces[first];
  changed.length = pieces[last].end() - changed.start - removed + added;
  changed.layout.reset();
  pieces.erase(pieces.begin() + std::ptrdiff_t(first) + 1,
               pieces.begin() + std::ptrdiff_t(last) + 1);
  for (size_t i = first + 1; i < pieces.size(); ++i) pieces[i].start += added - removed;
  if (changed.length == 0 && pieces.size() > 1) {
    pieces.erase(pieces.begin() + std::ptrdiff_t(first));
  } else if (changed.length > 2 * PieceChars) {
    const QString text = block.text();
    std::vector<TPiece> cut =
        cutIntoPieces(QStringView(text).mid(changed.start, changed.length), changed.start);
    pieces.erase(pieces.begin() + std::ptrdiff_t(first));
    pieces.insert(pieces.begin() + std::ptrdiff_t(first), std::make_move_iterator(cut.begin()),
                  std::make_move_iterator(cut.end()));
  }
  rows->placed = false;
  return true;
}

void TViewLayout::forget(const TTextBlock &first, const TTextBlock &last) {
  document_->store().ClearData(first.blockNumber(), last.blockNumber());
}

void TViewLayout::documentChanged(int from, int charsRemoved, int charsAdded) {
  const TTextModel *doc = document();
  TTextBlock first = doc->findBlock(from);
  TTextBlock last = doc->findBlock(from + std::max(charsAdded - 1, 0));
  if (!first.isValid()) first = doc->lastBlock();
  if (!last.isValid()) last = doc->lastBlock();
  const bool sameBlocks = doc->blockCount() == knownBlocks_;
  knownBlocks_ = doc->blockCount();
  if (!(sameBlocks && first == last &&
        changeInPlace(first, from - first.position(), charsRemoved, charsAdded)))
    forget(first, last);
  Q_EMIT documentSizeChanged(documentSize());
  Q_EMIT update();
}

QSizeF TViewLayout::documentSize() const {
  // Height in rows, as a view scrolls by rows; blocks not laid out count one each.
  return {std::max(widest_, width_), qreal(document()->lineCount())};
}
