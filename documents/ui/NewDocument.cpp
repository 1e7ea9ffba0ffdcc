// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/ui/NewDocument.h"

#include <QThread>
#include <algorithm>

#include "documents/ui/RichEdit.h"

TNewDocument::TNewDocument(const TRichEdit &memo)
    : possible_(memo.CanTakeDocument()),
      ownBreaks_(possible_ && memo.MayHaveOwnBreaks()),
      lineEnd_(memo.LineEndKind()) {}

TNewDocument::~TNewDocument() = default;

LongOperation::TRead TNewDocument::Read(const TRichEdit &memo, QString *into) {
  breaks_.clear();
  std::vector<uint8_t> *breaks = ownBreaks_ ? &breaks_ : nullptr;
  return {0, memo.document()->blockCount(), into,
          [breaks](const TRichEdit &edit, QString &text, qsizetype line, qsizetype sliceChars) {
            if (line == 0) text.reserve(edit.PositionCount());
            return qsizetype(edit.AppendLines(text, breaks, int(line), sliceChars));
          }};
}

bool TNewDocument::Worth(qsizetype start, qsizetype end) {
  return end - start >= LongOperation::kLongChars;
}

bool TNewDocument::Build(const QString &text, qsizetype start, qsizetype end, const QString &piece,
                         TBreaks breaks, const TKeepGoing &keepGoing) {
  start = std::clamp<qsizetype>(start, 0, text.size());
  end = std::clamp<qsizetype>(end, start, text.size());
  const QStringView before = QStringView(text).first(start);
  const QStringView stretch = QStringView(text).sliced(start, end - start);
  const QStringView after = QStringView(text).sliced(end);
  std::vector<uint8_t> kinds;
  if (!breaks_.empty()) {
    const qsizetype removed = stretch.count(u'\n'), added = piece.count(u'\n');
    if (breaks == TBreaks::InOrder) {
      if (removed != added) return false;
      kinds = breaks_;
    } else {
      // Those in front of the stretch and behind it keep their kinds.
      const qsizetype line = before.count(u'\n');
      const uint8_t typed = line > 0 ? breaks_[size_t(line - 1)] : lineEnd_;
      kinds.assign(breaks_.begin(), breaks_.begin() + line);
      kinds.insert(kinds.end(), size_t(added), typed);
      kinds.insert(kinds.end(), breaks_.begin() + line + removed, breaks_.end());
    }
  }
  QString whole;
  whole.reserve(before.size() + piece.size() + after.size());
  whole.append(before).append(piece).append(after);
  built_ = PlainDocument::Build(whole, kinds, lineEnd_, keepGoing);
  return built_ != nullptr;
}

bool TNewDocument::Take(TRichEdit &memo, qsizetype position, TUndoKind kind) {
  if (!built_) return false;
  memo.TakeDocument(std::move(built_), position, kind);
  return true;
}
