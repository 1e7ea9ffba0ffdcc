// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTextLayout>
#include <functional>
#include <vector>

#include "documents/store/TextModel.h"

class QPaintDevice;

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
// The layout is a child of its document and hears of its changes before any view does.
class TViewLayout : public QObject {
  Q_OBJECT

 public:
  static constexpr int PieceChars = 4096;

  explicit TViewLayout(TTextModel *document);
  ~TViewLayout() override;

  TTextModel *document() const { return document_; }
  // What the text is laid out for (the view's viewport: its fonts' resolution).
  void SetPaintDevice(QPaintDevice *device) { device_ = device; }

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
  bool EnsureLaidOut(const TTextBlock &block);
  // Rows of a laid-out block (1 when not laid out), its height and width.
  int RowCount(const TTextBlock &block) const;
  qreal Height(const TTextBlock &block) const;
  qreal RowsWidth(const TTextBlock &block) const;
  // The widest row laid out so far, for a view's horizontal extent.
  qreal WidestRow() const { return widest_; }

  // Queries on a laid-out block, in its own coordinates.
  // The row a position stands in and the caret's rectangle there.
  int RowOf(const TTextBlock &block, int position) const;
  QRectF CaretRect(const TTextBlock &block, int position, int caretWidth = 1) const;
  // The rectangle of a row and the positions at its start and end (end: after its last
  // character, blanks that end the row included).
  QRectF RowRect(const TTextBlock &block, int row) const;
  int RowStart(const TTextBlock &block, int row) const;
  int RowEnd(const TTextBlock &block, int row) const;
  // The position nearest to a point.
  int PositionAt(const TTextBlock &block, QPointF point) const;
  // The position x stands at in a row (for moving up and down).
  int PositionInRow(const TTextBlock &block, int row, qreal x) const;
  // Next and previous caret stop (a character, or a word's start), within the block; the
  // block's length - 1 and 0 at its ends.
  int NextPosition(const TTextBlock &block, int position, QTextLayout::CursorMode mode) const;
  int PreviousPosition(const TTextBlock &block, int position, QTextLayout::CursorMode mode) const;

  // Draws the rows of a laid-out block that cross clip (block coordinates) at origin, with the
  // selections (block-relative ranges) and the caret at caretPosition (none: -1).
  void DrawBlock(QPainter *painter, const TTextBlock &block, QPointF origin, const QRectF &clip,
                 const QList<QTextLayout::FormatRange> &selections, int caretPosition = -1,
                 int caretWidth = 1) const;

  // How many pieces were laid out since the layout was made (tests count work with it).
  int PieceLayouts() const { return pieceLayouts_; }
  // How many lines of several pieces were laid out whole (opened, or a new font or width).
  int LongLayouts() const { return longLayouts_; }

  // Width of the widest row laid out (or the row width) and height in rows, as a view scrolls
  // by rows; blocks not laid out count one each.
  QSizeF documentSize() const;

 Q_SIGNALS:
  void documentSizeChanged(const QSizeF &size);
  // What was laid out changed: a view shows it again.
  void update();

 private:
  void documentChanged(int from, int charsRemoved, int charsAdded);
  struct TPiece;
  struct TBlockRows;
  static std::vector<TPiece> cutIntoPieces(QStringView text, int offset);
  TBlockRows *rowsOf(const TTextBlock &block) const;
  const TPiece *pieceAt(const TTextBlock &block, int position) const;
  const TPiece *pieceOfRow(const TTextBlock &block, int row) const;
  void layOutPiece(const TTextBlock &block, const QString &text, TPiece &piece);
  // Changes inside one block that keep its pieces: only the pieces changed are laid out again.
  bool changeInPlace(const TTextBlock &block, int from, int removed, int added);
  void forget(const TTextBlock &first, const TTextBlock &last);

  TTextModel *document_;
  QPaintDevice *device_ = nullptr;
  qreal width_ = 0;
  bool wrap_ = true;
  qreal widest_ = 0;
  TMarker marker_;
  quint64 generation_ = 1;  // grows when every block must be laid out again (width, font)
  int knownBlocks_ = 1;
  int pieceLayouts_ = 0;
  int longLayouts_ = 0;
};
