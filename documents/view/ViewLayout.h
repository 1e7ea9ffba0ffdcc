// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextLayout>
#include <functional>
#include <vector>

// Lays a document's lines out in rows for a view, in pieces. A line of more than
// 2 * PieceChars characters is laid out as pieces of about PieceChars characters, each ending
// after a blank where there is one, so that a change lays out again only the piece it falls
// in, however long the line. With wrapping a piece starts a row of its own; without, the pieces
// of a line stand side by side in one row. A line of at most 2 * PieceChars characters is one
// piece: it is laid out exactly as a text layout of the whole line would be.
//
// Geometry is given in a block's own coordinates: its first row starts at y 0, and a view
// stacks the blocks it shows. Positions are relative to the block's start. Each block keeps
// its pieces in its user data; a block is laid out when asked for (EnsureLaidOut), so that a
// view lays out what it shows and not the whole document. Until then it counts as one row.
class TViewLayout : public QAbstractTextDocumentLayout {
  Q_OBJECT

 public:
  static constexpr int PieceChars = 4096;

  explicit TViewLayout(QTextDocument *document);
  ~TViewLayout() override;

  // The width a row takes (its text wraps at it, and it aligns within it); wrap off: rows are
  // as long as their lines.
  void SetWidth(qreal width, bool wrap);
  qreal Width() const { return width_; }
  // Every block is laid out again when next asked for (a new font).
  void Invalidate();
  // Formats the view adds to a line's text on screen only (web addresses): those of the
  // stretches that overlap [from, to) of the line, in line positions. A piece asks for its own
  // stretch when it is laid out, so lines never shown are never looked at.
  using TMarker =
      std::function<QList<QTextLayout::FormatRange>(QStringView line, int from, int to)>;
  // Lays every block out again when next asked for.
  void SetMarker(TMarker marker);
  bool Wraps() const { return wrap_; }

  // Lays out what changed in the block since it was last laid out; true when something was.
  bool EnsureLaidOut(const QTextBlock &block);
  // Rows of a laid-out block (1 when not laid out), its height and width.
  int RowCount(const QTextBlock &block) const;
  qreal Height(const QTextBlock &block) const;
  qreal RowsWidth(const QTextBlock &block) const;
  // The widest row laid out so far, for a view's horizontal extent.
  qreal WidestRow() const { return widest_; }

  // Queries on a laid-out block, in its own coordinates.
  // The row a position stands in and the caret's rectangle there.
  int RowOf(const QTextBlock &block, int position) const;
  QRectF CaretRect(const QTextBlock &block, int position, int caretWidth = 1) const;
  // The rectangle of a row and the positions at its start and end (end: after its last
  // character, blanks that end the row included).
  QRectF RowRect(const QTextBlock &block, int row) const;
  int RowStart(const QTextBlock &block, int row) const;
  int RowEnd(const QTextBlock &block, int row) const;
  // The position nearest to a point.
  int PositionAt(const QTextBlock &block, QPointF point) const;
  // The position x stands at in a row (for moving up and down).
  int PositionInRow(const QTextBlock &block, int row, qreal x) const;
  // Next and previous caret stop (a character, or a word's start), within the block; the
  // block's length - 1 and 0 at its ends.
  int NextPosition(const QTextBlock &block, int position, QTextLayout::CursorMode mode) const;
  int PreviousPosition(const QTextBlock &block, int position, QTextLayout::CursorMode mode) const;

  // Draws the rows of a laid-out block that cross clip (block coordinates) at origin, with the
  // selections (block-relative ranges) and the caret at caretPosition (none: -1).
  void DrawBlock(QPainter *painter, const QTextBlock &block, QPointF origin, const QRectF &clip,
                 const QList<QTextLayout::FormatRange> &selections, int caretPosition = -1,
                 int caretWidth = 1) const;

  // How many pieces were laid out since the layout was made (tests count work with it).
  int PieceLayouts() const { return pieceLayouts_; }
  // How many lines of several pieces were laid out whole (opened, or a new font or width).
  int LongLayouts() const { return longLayouts_; }

  // QAbstractTextDocumentLayout: the blocks stacked, each laid out when asked for.
  void draw(QPainter *painter, const PaintContext &context) override;
  int hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const override;
  int pageCount() const override { return 1; }
  QSizeF documentSize() const override;
  QRectF frameBoundingRect(QTextFrame *frame) const override;
  QRectF blockBoundingRect(const QTextBlock &block) const override;

 protected:
  void documentChanged(int from, int charsRemoved, int charsAdded) override;

 private:
  struct TPiece;
  struct TBlockRows;
  static std::vector<TPiece> cutIntoPieces(QStringView text, int offset);
  TBlockRows *rowsOf(const QTextBlock &block) const;
  const TPiece *pieceAt(const QTextBlock &block, int position) const;
  const TPiece *pieceOfRow(const QTextBlock &block, int row) const;
  void layOutPiece(const QTextBlock &block, const QString &text, TPiece &piece);
  // Changes inside one block that keep its pieces: only the pieces changed are laid out again.
  bool changeInPlace(const QTextBlock &block, int from, int removed, int added);
  void forget(const QTextBlock &first, const QTextBlock &last);

  qreal width_ = 0;
  bool wrap_ = true;
  qreal widest_ = 0;
  TMarker marker_;
  quint64 generation_ = 1;  // grows when every block must be laid out again (width, font)
  int knownBlocks_ = 1;
  int pieceLayouts_ = 0;
  int longLayouts_ = 0;
};
