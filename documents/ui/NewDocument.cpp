// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/ui/NewDocument.h"

#include <QCoreApplication>
#include <QTextDocument>
#include <QThread>
#include <algorithm>

#include "documents/ui/RichEdit.h"

TNewDocument::TNewDocument(const TRichEdit &memo)
    : possible_(memo.CanTakeDocument()),
      ownBreaks_(possible_ && memo.MayHaveOwnBreaks()),
      lineEnd_(memo.LineEndKind()),
      look_(memo.Look()) {}

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
                         const TKeepGoing &keepGoing) {
  start = std::clamp<qsizetype>(start, 0, text.size());
  end = std::clamp<qsizetype>(end, start, text.size());
  const QStringView before = QStringView(text).first(start);
  const QStringView after = QStringView(text).sliced(end);
  // Each line break keeps its kind: the piece must hold as many as the stretch it replaces.
  if (!breaks_.empty() &&
      QStringView(text).sliced(start, end - start).count(u'\n') != piece.count(u'\n'))
    return false;
  QString whole;
  whole.reserve(before.size() + piece.size() + after.size());
  whole.append(before).append(piece).append(after);
  built_ = PlainDocument::Build(look_, whole, breaks_, lineEnd_, keepGoing);
  // Made on this thread, the document goes to the window's, where it is shown.
  if (built_) built_->moveToThread(QCoreApplication::instance()->thread());
  return built_ != nullptr;
}

bool TNewDocument::Take(TRichEdit &memo, qsizetype position) {
  if (!built_) return false;
  memo.TakeDocument(std::move(built_), position);
  return true;
}
