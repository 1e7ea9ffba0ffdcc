// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/store/TextStore.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <stdexcept>

// A chunk holds whole lines: its text has a '\n' between two of its lines but none after its
// last one, which is implied between two chunks. A line's start is kept as an offset into the
// chunk's text; 32 bits each keep the index at four bytes a line.
struct TTextStore::TChunk {
  QString text;
  // While set, text reads this string in place (QString::fromRawData) and owns nothing.
  std::shared_ptr<const QString> base;
  std::vector<uint32_t> starts{0};
  std::vector<uint32_t> rows;                    // empty: one row a line
  std::vector<uint16_t> tags;                    // empty: every tag 0
  std::vector<std::unique_ptr<TLineData>> data;  // empty: no line has an item
  qsizetype rowSum = 1;

  qsizetype lines() const { return qsizetype(starts.size()); }
  qsizetype lineEnd(qsizetype i) const {
    return i + 1 < lines() ? qsizetype(starts[size_t(i) + 1]) - 1 : text.size();
  }
  qsizetype lineOf(qsizetype offset) const {
    return qsizetype(std::upper_bound(starts.begin(), starts.end(), uint64_t(offset)) -
                     starts.begin()) -
           1;
  }
  // Makes text a string of its own, so that it can be changed.
  void own() {
    if (!base) return;
    text = QString(text.constData(), text.size());
    base.reset();
  }
  void materializeRows() {
    if (rows.empty()) rows.assign(starts.size(), 1);
  }
  void materializeTags() {
    if (tags.empty()) tags.assign(starts.size(), 0);
  }
  void materializeData() {
    if (data.empty()) data.resize(starts.size());
  }
};

namespace {

// Chunk offsets are 32 bits: a single line longer than that (eight gigabytes of text) is more
// than any load lets in.
void CheckChunkSize(qsizetype size) {
  if (size > qsizetype(std::numeric_limits<uint32_t>::max()))
    throw std::length_error("TTextStore: a line is too long");
}

// Removes [first, last) of a vector that is in use (not empty).
template <typename T>
void EraseRange(std::vector<T> &items, qsizetype first, qsizetype last) {
  if (items.empty() || first >= last) return;
  items.erase(items.begin() + first, items.begin() + last);
}

}  // namespace

TTextStore::TTextStore(qsizetype chunkChars)
    : chunkChars_(std::max<qsizetype>(chunkChars, 1)), chunks_(1) {}

TTextStore::~TTextStore() = default;

void TTextStore::SetText(QString text) {
  chunks_.clear();
  charsBefore_.clear();
  linesBefore_.clear();
  rowsBefore_.clear();
  dirtyFrom_ = 0;
  tagged_ = false;
  auto base = std::make_shared<const QString>(std::move(text));
  appendChunks(base, 0, base->size());
}

void TTextStore::appendChunks(const std::shared_ptr<const QString> &base, qsizetype from,
                              qsizetype to) {
  const QStringView all(*base);
  const qsizetype before = ChunkCount();
  qsizetype chunkStart = from;
  TChunk chunk;
  chunk.starts.clear();
  chunk.starts.push_back(0);
  const auto close = [&](qsizetype end) {
    CheckChunkSize(end - chunkStart);
    chunk.text = QString::fromRawData(base->constData() + chunkStart, end - chunkStart);
    chunk.base = base;
    chunk.starts.shrink_to_fit();
    chunk.rowSum = chunk.lines();
    chunks_.push_back(std::move(chunk));
    chunk = TChunk();
    chunk.starts.clear();
    chunk.starts.push_back(0);
  };
  for (qsizetype at = from; at < to;) {
    const qsizetype found = all.sliced(0, to).indexOf(u'\n', at);
    if (found < 0) break;
    at = found + 1;
    if (at - chunkStart >= chunkChars_) {
      close(found);
      chunkStart = at;
    } else {
      chunk.starts.push_back(uint32_t(at - chunkStart));
    }
  }
  close(to);
  markChanged(before - 1);
}

void TTextStore::Adopt(QString text) {
  TChunk &last = chunks_.back();
  if (last.lineEnd(last.lines() - 1) != qsizetype(last.starts.back())) {
    // The last line has text of its own: the two halves of the line must be one string.
    Append(text);
    return;
  }
  // The empty last line gives way to the text's first line in a chunk of the text's own; it
  // passes its tag on.
  const qsizetype line = LineCount() - 1;
  const uint16_t tag = Tag(line);
  if (last.lines() == 1) {
    chunks_.pop_back();
  } else {
    if (last.base) {
      last.text = QString::fromRawData(last.text.constData(), last.text.size() - 1);
    } else {
      last.text.chop(1);
    }
    last.starts.pop_back();
    if (!last.rows.empty()) {
      last.rowSum -= last.rows.back();
      last.rows.pop_back();
    } else {
      --last.rowSum;
    }
    if (!last.tags.empty()) last.tags.pop_back();
    if (!last.data.empty()) last.data.pop_back();
  }
  markChanged(ChunkCount() - 1);
  auto base = std::make_shared<const QString>(std::move(text));
  appendChunks(base, 0, base->size());
  if (tag != 0) SetTag(line, tag);
}

void TTextStore::markChanged(qsizetype chunk) { dirtyFrom_ = std::min(dirtyFrom_, chunk + 1); }

void TTextStore::updateTotals() const {
  const auto count = qsizetype(chunks_.size());
  if (dirtyFrom_ > count && qsizetype(charsBefore_.size()) == count + 1) return;
  charsBefore_.resize(size_t(count) + 1);
  linesBefore_.resize(size_t(count) + 1);
  rowsBefore_.resize(size_t(count) + 1);
  charsBefore_[0] = linesBefore_[0] = rowsBefore_[0] = 0;
  for (qsizetype c = std::max<qsizetype>(dirtyFrom_, 1); c <= count; ++c) {
    const TChunk &previous = chunks_[size_t(c) - 1];
    charsBefore_[size_t(c)] = charsBefore_[size_t(c) - 1] + previous.text.size() + 1;
    linesBefore_[size_t(c)] = linesBefore_[size_t(c) - 1] + previous.lines();
    rowsBefore_[size_t(c)] = rowsBefore_[size_t(c) - 1] + previous.rowSum;
  }
  dirtyFrom_ = count + 1;
}

namespace {
// The last index i of totals[0, count) with totals[i] <= value (totals[0] is 0).
qsizetype LastAtMost(const std::vector<qsizetype> &totals, qsizetype count, qsizetype value) {
  return qsizetype(std::upper_bound(totals.begin(), totals.begin() + count, value) -
                   totals.begin()) -
         1;
}
}  // namespace

qsizetype TTextStore::chunkOfPosition(qsizetype position) const {
  updateTotals();
  return LastAtMost(charsBefore_, ChunkCount(), std::clamp<qsizetype>(position, 0, Length()));
}

qsizetype TTextStore::chunkOfLine(qsizetype line) const {
  updateTotals();
  return LastAtMost(linesBefore_, ChunkCount(), std::clamp<qsizetype>(line, 0, LineCount() - 1));
}

qsizetype TTextStore::chunkOfRow(qsizetype row) const {
  updateTotals();
  return LastAtMost(rowsBefore_, ChunkCount(), std::clamp<qsizetype>(row, 0, RowCount() - 1));
}

TTextStore::TPlace TTextStore::placeOf(qsizetype line) const {
  const qsizetype c = chunkOfLine(line);
  const qsizetype clamped = std::clamp<qsizetype>(line, 0, LineCount() - 1);
  return {c, size_t(clamped - linesBefore_[size_t(c)])};
}

qsizetype TTextStore::Length() const {
  updateTotals();
  return charsBefore_.back() - 1;
}

qsizetype TTextStore::LineCount() const {
  updateTotals();
  return linesBefore_.back();
}

qsizetype TTextStore::RowCount() const {
  updateTotals();
  return rowsBefore_.back();
}

qsizetype TTextStore::LineStart(qsizetype line) const {
  const auto [c, i] = placeOf(line);
  return charsBefore_[size_t(c)] + chunks_[size_t(c)].starts[i];
}

QStringView TTextStore::Line(qsizetype line) const {
  const auto [c, i] = placeOf(line);
  const TChunk &chunk = chunks_[size_t(c)];
  const qsizetype start = chunk.starts[i];
  return QStringView(chunk.text).sliced(start, chunk.lineEnd(qsizetype(i)) - start);
}

qsizetype TTextStore::LineLength(qsizetype line) const { return Line(line).size(); }

qsizetype TTextStore::LineAt(qsizetype position) const {
  const qsizetype c = chunkOfPosition(position);
  const qsizetype offset = std::clamp<qsizetype>(position, 0, Length()) - charsBefore_[size_t(c)];
  return linesBefore_[size_t(c)] + chunks_[size_t(c)].lineOf(offset);
}

void TTextStore::AppendText(QString &text, qsizetype from, qsizetype to) const {
  const qsizetype length = Length();
  from = std::clamp<qsizetype>(from, 0, length);
  to = std::clamp<qsizetype>(to, from, length);
  if (from == to) return;
  text.reserve(text.size() + (to - from));
  for (qsizetype c = chunkOfPosition(from); from < to; ++c) {
    const TChunk &chunk = chunks_[size_t(c)];
    const qsizetype start = charsBefore_[size_t(c)];
    const qsizetype end = std::min(to, start + chunk.text.size());
    if (end > from) text.append(QStringView(chunk.text).sliced(from - start, end - from));
    from = end;
    // The break between this chunk and the next.
    if (from < to) {
      text.append(u'\n');
      ++from;
    }
  }
}

QString TTextStore::Text(qsizetype from, qsizetype to) const {
  QString text;
  AppendText(text, from, to);
  return text;
}

TTextStore::TChange TTextStore::Append(QStringView text) {
  const qsizetype end = Length();
  return Replace(end, end, text);
}

TTextStore::TChange TTextStore::Replace(qsizetype from, qsizetype to, QStringView text) {
  const qsizetype length = Length();
  from = std::clamp<qsizetype>(from, 0, length);
  to = std::clamp<qsizetype>(to, from, length);
  // A copy: text may be a view into this store.
  const QString added = text.toString();
  TChange change{from, to - from, added.size(), LineAt(from), LineAt(to) - LineAt(from), 0};
  change.linesAdded = added.count(u'\n');

  qsizetype c = chunkOfPosition(from);
  qsizetype last = chunkOfPosition(to);
  // Where to stands from the start of the chunk that will hold the whole range.
  qsizetype localTo = to - charsBefore_[size_t(c)];
  if (last > c) {
    localTo = chunks_[size_t(c)].text.size() + 1 + (to - charsBefore_[size_t(last)]);
    // The chunks between lie wholly in the range: their lines go, and so does their text.
    if (last > c + 1) {
      chunks_.erase(chunks_.begin() + c + 1, chunks_.begin() + last);
      markChanged(c);
      last = c + 1;
    }
    join(c, last);
  }
  updateTotals();
  TChunk &chunk = chunks_[size_t(c)];
  const qsizetype base = charsBefore_[size_t(c)];
  const qsizetype localFrom = from - base;
  CheckChunkSize(chunk.text.size() - (localTo - localFrom) + added.size());
  const qsizetype first = chunk.lineOf(localFrom);
  const qsizetype lastLine = chunk.lineOf(localTo);

  chunk.own();
  chunk.text.replace(localFrom, localTo - localFrom, added);

  // Line starts: those of the lines removed go, those of the lines added come, and those after
  // move by the change in length.
  const qsizetype delta = added.size() - (localTo - localFrom);
  std::vector<uint32_t> newStarts;
  newStarts.reserve(size_t(change.linesAdded));
  for (qsizetype at = added.indexOf(u'\n'); at >= 0; at = added.indexOf(u'\n', at + 1))
    newStarts.push_back(uint32_t(localFrom + at + 1));
  for (size_t i = size_t(lastLine) + 1; i < chunk.starts.size(); ++i)
    chunk.starts[i] = uint32_t(qsizetype(chunk.starts[i]) + delta);
  chunk.starts.erase(chunk.starts.begin() + first + 1, chunk.starts.begin() + lastLine + 1);
  chunk.starts.insert(chunk.starts.begin() + first + 1, newStarts.begin(), newStarts.end());

  const qsizetype linesAdded = change.linesAdded;
  if (chunk.rows.empty()) {
    chunk.rowSum += linesAdded - (lastLine - first);
  } else {
    chunk.rowSum -= std::accumulate(chunk.rows.begin() + first + 1,
                                    chunk.rows.begin() + lastLine + 1, qsizetype(0));
    EraseRange(chunk.rows, first + 1, lastLine + 1);
    chunk.rows.insert(chunk.rows.begin() + first + 1, size_t(linesAdded), 1);
    chunk.rowSum += linesAdded;
  }
  if (!chunk.tags.empty()) {
    const uint16_t tag = chunk.tags[size_t(first)];
    EraseRange(chunk.tags, first + 1, lastLine + 1);
    chunk.tags.insert(chunk.tags.begin() + first + 1, size_t(linesAdded), tag);
  }
  if (!chunk.data.empty()) {
    EraseRange(chunk.data, first + 1, lastLine + 1);
    std::vector<std::unique_ptr<TLineData>> none(static_cast<size_t>(linesAdded));
    chunk.data.insert(chunk.data.begin() + first + 1, std::make_move_iterator(none.begin()),
                      std::make_move_iterator(none.end()));
  }
  markChanged(c);
  rebalance(c);
  return change;
}

void TTextStore::join(qsizetype first, qsizetype last) {
  TChunk &into = chunks_[size_t(first)];
  for (qsizetype c = first + 1; c <= last; ++c) {
    TChunk &next = chunks_[size_t(c)];
    if (!next.rows.empty() || !into.rows.empty()) {
      into.materializeRows();
      next.materializeRows();
    }
    if (!next.tags.empty() || !into.tags.empty()) {
      into.materializeTags();
      next.materializeTags();
    }
    if (!next.data.empty() || !into.data.empty()) {
      into.materializeData();
      next.materializeData();
    }
    into.own();
    const qsizetype offset = into.text.size() + 1;
    CheckChunkSize(offset + next.text.size());
    into.text.reserve(offset + next.text.size());
    into.text.append(u'\n');
    into.text.append(next.text);
    for (const uint32_t start : next.starts) into.starts.push_back(uint32_t(start + offset));
    into.rows.insert(into.rows.end(), next.rows.begin(), next.rows.end());
    into.tags.insert(into.tags.end(), next.tags.begin(), next.tags.end());
    for (auto &item : next.data) into.data.push_back(std::move(item));
    into.rowSum += next.rowSum;
  }
  chunks_.erase(chunks_.begin() + first + 1, chunks_.begin() + last + 1);
  markChanged(first);
}

void TTextStore::rebalance(qsizetype chunk) {
  const TChunk &here = chunks_[size_t(chunk)];
  if (here.text.size() > 2 * chunkChars_ && here.lines() > 1) {
    split(chunk);
    return;
  }
  if (here.text.size() >= chunkChars_ / 4 || chunks_.size() < 2) return;
  // A small chunk joins the smaller of its neighbours.
  const bool hasPrevious = chunk > 0;
  const bool hasNext = chunk + 1 < ChunkCount();
  qsizetype first = chunk;
  if (hasPrevious && (!hasNext || chunks_[size_t(chunk) - 1].text.size() <=
                                      chunks_[size_t(chunk) + 1].text.size()))
    first = chunk - 1;
  join(first, first + 1);
  if (chunks_[size_t(first)].text.size() > 2 * chunkChars_) split(first);
}

void TTextStore::split(qsizetype index) {
  TChunk whole = std::move(chunks_[size_t(index)]);
  std::vector<TChunk> pieces;
  qsizetype line = 0;
  while (line < whole.lines()) {
    const qsizetype start = whole.starts[size_t(line)];
    qsizetype end = line + 1;
    while (end < whole.lines() && qsizetype(whole.starts[size_t(end)]) - start < chunkChars_) ++end;
    TChunk piece;
    const qsizetype textEnd = whole.lineEnd(end - 1);
    if (whole.base) {
      piece.text = QString::fromRawData(whole.text.constData() + start, textEnd - start);
      piece.base = whole.base;
    } else {
      piece.text = whole.text.sliced(start, textEnd - start);
    }
    piece.starts.assign(whole.starts.begin() + line, whole.starts.begin() + end);
    for (uint32_t &at : piece.starts) at = uint32_t(at - start);
    if (!whole.rows.empty()) {
      piece.rows.assign(whole.rows.begin() + line, whole.rows.begin() + end);
      piece.rowSum = std::accumulate(piece.rows.begin(), piece.rows.end(), qsizetype(0));
    } else {
      piece.rowSum = end - line;
    }
    if (!whole.tags.empty()) piece.tags.assign(whole.tags.begin() + line, whole.tags.begin() + end);
    if (!whole.data.empty()) {
      for (qsizetype i = line; i < end; ++i) piece.data.push_back(std::move(whole.data[size_t(i)]));
    }
    pieces.push_back(std::move(piece));
    line = end;
  }
  chunks_.erase(chunks_.begin() + index);
  chunks_.insert(chunks_.begin() + index, std::make_move_iterator(pieces.begin()),
                 std::make_move_iterator(pieces.end()));
  markChanged(index);
}

template <typename T>
T TTextStore::fieldOf(std::vector<T> TChunk::*field, qsizetype line, T none) const {
  const auto [c, i] = placeOf(line);
  const std::vector<T> &values = chunks_[size_t(c)].*field;
  return values.empty() ? none : values[i];
}

qsizetype TTextStore::Rows(qsizetype line) const {
  return fieldOf<uint32_t>(&TChunk::rows, line, 1);
}

void TTextStore::SetRows(qsizetype line, qsizetype rows) {
  if (line < 0 || line >= LineCount()) return;
  rows = std::clamp<qsizetype>(rows, 1, std::numeric_limits<uint32_t>::max());
  const qsizetype c = chunkOfLine(line);
  TChunk &chunk = chunks_[size_t(c)];
  const auto i = size_t(line - linesBefore_[size_t(c)]);
  if (chunk.rows.empty() && rows == 1) return;
  chunk.materializeRows();
  chunk.rowSum += rows - qsizetype(chunk.rows[i]);
  chunk.rows[i] = uint32_t(rows);
  markChanged(c);
}

qsizetype TTextStore::FirstRow(qsizetype line) const {
  const auto [c, i] = placeOf(line);
  const TChunk &chunk = chunks_[size_t(c)];
  const qsizetype before =
      chunk.rows.empty() ? qsizetype(i)
                         : std::accumulate(chunk.rows.begin(),
                                           chunk.rows.begin() + std::ptrdiff_t(i), qsizetype(0));
  return rowsBefore_[size_t(c)] + before;
}

qsizetype TTextStore::LineAtRow(qsizetype row) const {
  const qsizetype c = chunkOfRow(row);
  const TChunk &chunk = chunks_[size_t(c)];
  qsizetype left = std::clamp<qsizetype>(row, 0, RowCount() - 1) - rowsBefore_[size_t(c)];
  if (chunk.rows.empty()) return linesBefore_[size_t(c)] + left;
  qsizetype i = 0;
  while (i + 1 < chunk.lines() && left >= qsizetype(chunk.rows[size_t(i)])) {
    left -= chunk.rows[size_t(i)];
    ++i;
  }
  return linesBefore_[size_t(c)] + i;
}

TTextStore::TLineData *TTextStore::Data(qsizetype line) const {
  const auto [c, i] = placeOf(line);
  const TChunk &chunk = chunks_[size_t(c)];
  return chunk.data.empty() ? nullptr : chunk.data[i].get();
}

void TTextStore::SetData(qsizetype line, std::unique_ptr<TLineData> data) {
  if (line < 0 || line >= LineCount()) return;
  const qsizetype c = chunkOfLine(line);
  TChunk &chunk = chunks_[size_t(c)];
  if (chunk.data.empty() && !data) return;
  chunk.materializeData();
  chunk.data[size_t(line - linesBefore_[size_t(c)])] = std::move(data);
}

void TTextStore::ClearData(qsizetype first, qsizetype last) {
  first = std::max<qsizetype>(first, 0);
  last = std::min(last, LineCount() - 1);
  if (first > last) return;
  for (qsizetype c = chunkOfLine(first); c < ChunkCount() && linesBefore_[size_t(c)] <= last; ++c) {
    TChunk &chunk = chunks_[size_t(c)];
    if (chunk.data.empty()) continue;
    const qsizetype from = std::max<qsizetype>(first - linesBefore_[size_t(c)], 0);
    const qsizetype to = std::min(last - linesBefore_[size_t(c)] + 1, chunk.lines());
    for (qsizetype i = from; i < to; ++i) chunk.data[size_t(i)].reset();
  }
}

uint16_t TTextStore::Tag(qsizetype line) const { return fieldOf<uint16_t>(&TChunk::tags, line, 0); }

void TTextStore::SetTag(qsizetype line, uint16_t tag) {
  if (line < 0 || line >= LineCount()) return;
  const qsizetype c = chunkOfLine(line);
  TChunk &chunk = chunks_[size_t(c)];
  if (chunk.tags.empty() && tag == 0) return;
  chunk.materializeTags();
  chunk.tags[size_t(line - linesBefore_[size_t(c)])] = tag;
  if (tag != 0) tagged_ = true;
}

qsizetype TTextStore::ChunkCount() const { return qsizetype(chunks_.size()); }

qsizetype TTextStore::OwnChars() const {
  qsizetype chars = 0;
  for (const TChunk &chunk : chunks_)
    if (!chunk.base) chars += chunk.text.size();
  return chars;
}
