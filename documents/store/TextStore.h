// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <vector>

// The text of a plain document as lines, built to hold files of hundreds of megabytes in little
// more than the two bytes a character of their text takes, and to answer a view's questions
// (which line holds a position, where a line starts, which line stands at a row) without
// walking the text.
//
// Positions: each line break counts one position, so that the store's positions are those of
// its text with '\n' for each break ('\r' is an ordinary character here). There is always at
// least one line; a text that ends in a break has an empty last line.
//
// Lines stand in chunks of about ChunkChars characters, each a run of whole lines (a line
// longer than that is a chunk of its own). A text given whole (SetText) is not copied: the
// chunks read it in place until one of them is changed, which then copies its own lines only.
// A change copies and moves the characters of the chunks it touches, and the running totals of
// the chunks behind it are brought up to date when next asked for.
//
// For a view, each line has
//   - a row count (1 until set): RowCount, FirstRow and LineAtRow count rows as the view wraps;
//   - an item of the view's own (its laid-out rows), owned by the store;
//   - a tag of 16 bits (0 until set) that the owner gives a meaning (the kind of the break in
//     front of the line, the line's paragraph format).
// A change keeps the first line it touches with all three (its text changed, so a view lays it
// out again); lines it removes lose theirs, and the lines it adds start with no rows laid out,
// no item and the first line's tag (a break typed is of the kind of the line it was typed in).
class TTextStore {
 public:
  // What a view keeps with a line.
  class TLineData {
   public:
    TLineData() = default;
    TLineData(const TLineData &) = delete;
    TLineData &operator=(const TLineData &) = delete;
    virtual ~TLineData() = default;
  };

  // What a change did: positions [position, position + removed) became
  // [position, position + added), and the lines after firstLine up to
  // firstLine + linesRemoved became those up to firstLine + linesAdded.
  struct TChange {
    qsizetype position = 0;
    qsizetype removed = 0;
    qsizetype added = 0;
    qsizetype firstLine = 0;
    qsizetype linesRemoved = 0;
    qsizetype linesAdded = 0;
  };

  static constexpr qsizetype DefaultChunkChars = qsizetype(1) << 16;

  // chunkChars: the size chunks are cut to (tests pass small sizes to meet chunk edges often).
  explicit TTextStore(qsizetype chunkChars = DefaultChunkChars);
  ~TTextStore();
  TTextStore(const TTextStore &) = delete;
  TTextStore &operator=(const TTextStore &) = delete;

  // Replaces everything by text, whose line breaks are '\n', without copying it.
  void SetText(QString text);
  // Adds text to the end (loading in slices).
  TChange Append(QStringView text);
  // The same for a text handed over: read in place, not copied, when the store ends in a line
  // break (or is empty), as a file decoded in chunks that end in breaks does.
  void Adopt(QString text);
  // Replaces positions [from, to) by text ('\n' breaks); from and to are clamped.
  TChange Replace(qsizetype from, qsizetype to, QStringView text);

  // Positions, line breaks included.
  qsizetype Length() const;
  qsizetype LineCount() const;
  // The first position of a line, and its length without its break.
  qsizetype LineStart(qsizetype line) const;
  qsizetype LineLength(qsizetype line) const;
  // The line that holds a position (clamped to the text).
  qsizetype LineAt(qsizetype position) const;
  // A line's characters without its break, valid until the next change.
  QStringView Line(qsizetype line) const;
  // Positions [from, to) as text ('\n' for each break), clamped.
  QString Text(qsizetype from, qsizetype to) const;
  QString Text() const { return Text(0, Length()); }
  // Appends [from, to) to text, without a copy of its own first.
  void AppendText(QString &text, qsizetype from, qsizetype to) const;

  // Rows as a view shows them.
  qsizetype Rows(qsizetype line) const;
  void SetRows(qsizetype line, qsizetype rows);
  qsizetype RowCount() const;
  qsizetype FirstRow(qsizetype line) const;
  // The line whose rows hold row (clamped to the rows there are).
  qsizetype LineAtRow(qsizetype row) const;

  TLineData *Data(qsizetype line) const;
  void SetData(qsizetype line, std::unique_ptr<TLineData> data);
  // Drops the items of lines [first, last]; chunks whose lines have none are passed over.
  void ClearData(qsizetype first, qsizetype last);

  uint16_t Tag(qsizetype line) const;
  void SetTag(qsizetype line, uint16_t tag);
  // False when no line was ever given a tag other than 0 since the text was set.
  bool HasTags() const { return tagged_; }

  // How many chunks hold the text (tests check that chunks stay near their size).
  qsizetype ChunkCount() const;
  // Characters the store holds in memory of its own, its text read in place not counted.
  qsizetype OwnChars() const;

 private:
  struct TChunk;
  // The chunk of a position or a line and its running totals.
  qsizetype chunkOfPosition(qsizetype position) const;
  qsizetype chunkOfLine(qsizetype line) const;
  qsizetype chunkOfRow(qsizetype row) const;
  // The chunk of a line (clamped to the lines there are) and the line's index in it.
  struct TPlace {
    qsizetype chunk;
    size_t index;
  };
  TPlace placeOf(qsizetype line) const;
  // A line's value of a field chunks keep a value a line in, or none where the chunk has none.
  template <typename T>
  T fieldOf(std::vector<T> TChunk::*field, qsizetype line, T none) const;
  void updateTotals() const;
  void markChanged(qsizetype chunk);
  // Joins chunks [first, last] into first.
  void join(qsizetype first, qsizetype last);
  // Cuts a chunk of more than twice the chunk size into chunks of about the chunk size, and
  // joins a small one to a neighbour; returns the number of the chunk that now holds the
  // chunk's first line.
  void rebalance(qsizetype chunk);
  void split(qsizetype chunk);
  // Cuts text, starting at a line of its own, into chunks that read it in place.
  void appendChunks(const std::shared_ptr<const QString> &base, qsizetype from, qsizetype to);

  qsizetype chunkChars_;
  std::vector<TChunk> chunks_;
  // Running totals before each chunk (characters, lines, rows), valid up to dirtyFrom_.
  mutable std::vector<qsizetype> charsBefore_;
  mutable std::vector<qsizetype> linesBefore_;
  mutable std::vector<qsizetype> rowsBefore_;
  mutable qsizetype dirtyFrom_ = 0;
  bool tagged_ = false;
};
