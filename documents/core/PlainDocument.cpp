// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/PlainDocument.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace PlainDocument {

uint8_t BreakBefore(const QTextBlock &block, uint8_t lineEnd) {
  const QVariant kind = block.blockFormat().property(kBreakBefore);
  return kind.isValid() ? uint8_t(kind.toUInt()) : lineEnd;
}

bool MayHaveOwnBreaks(const QTextDocument &document) {
  // The document's formats are few, whatever its size: each one made is kept in it.
  const QList<QTextFormat> formats = document.allFormats();
  return std::any_of(formats.begin(), formats.end(), [](const QTextFormat &format) {
    return format.isBlockFormat() && format.hasProperty(kBreakBefore);
  });
}

bool HasFormats(const QTextDocument &document) {
  const QList<QTextFormat> formats = document.allFormats();
  return std::any_of(formats.begin(), formats.end(), [](const QTextFormat &format) {
    if (format.isCharFormat()) return !format.properties().isEmpty();
    if (!format.isBlockFormat()) return false;
    QTextFormat own = format;
    own.clearProperty(kBreakBefore);
    return !own.properties().isEmpty();
  });
}

qsizetype AppendSlice(QTextDocument &document, const QString &text, qsizetype from,
                      qsizetype sliceChars) {
  from = std::clamp<qsizetype>(from, 0, text.size());
  sliceChars = std::max<qsizetype>(sliceChars, 1);
  qsizetype end = std::min(text.size(), from + sliceChars);
  if (end < text.size()) {
    const qsizetype lineEnd = text.indexOf(u'\n', end);
    if (lineEnd >= 0 && lineEnd - end < sliceChars) end = lineEnd + 1;
  }
  if (end < text.size() && text[end - 1].isHighSurrogate()) ++end;
  QTextCursor cursor(&document);
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(QStringView(text).sliced(from, end - from).toString());
  return end;
}

bool MarkBreaks(QTextDocument &document, const std::vector<uint8_t> &breaks, uint8_t lineEnd,
                const TKeepGoing &keepGoing) {
  const auto count = qint64(breaks.size());
  QTextBlock block = document.begin().next();
  for (size_t i = 0; i < breaks.size() && block.isValid(); ++i, block = block.next()) {
    if ((i & 0xFFFF) == 0 && !KeepGoing(keepGoing, qint64(i), count)) return false;
    if (breaks[i] == lineEnd) continue;
    QTextBlockFormat format = block.blockFormat();
    format.setProperty(kBreakBefore, uint(breaks[i]));
    QTextCursor(block).setBlockFormat(format);
  }
  return true;
}

TLook LookOf(const QTextDocument &document) {
  return {document.defaultFont(), document.defaultTextOption(), document.documentMargin(),
          document.isUndoRedoEnabled()};
}

std::unique_ptr<QTextDocument> Build(const TLook &look, const QString &text,
                                     const std::vector<uint8_t> &breaks, uint8_t lineEnd,
                                     const TKeepGoing &keepGoing) {
  // Slices of this many characters: each a few tens of milliseconds.
  constexpr qsizetype kSlice = 1 << 20;
  auto document = std::make_unique<QTextDocument>();
  document->setUndoRedoEnabled(false);
  document->setDefaultFont(look.font);
  document->setDefaultTextOption(look.option);
  document->setDocumentMargin(look.margin);
  // Marking the breaks takes about as long a line as putting the text in.
  const qint64 total = text.size() + qint64(breaks.size()) * 8;
  for (qsizetype from = 0; from < text.size();) {
    if (!KeepGoing(keepGoing, from, total)) return nullptr;
    from = AppendSlice(*document, text, from, kSlice);
  }
  const TKeepGoing marking = [&](qint64 done, qint64) {
    return KeepGoing(keepGoing, text.size() + done * 8, total);
  };
  if (!MarkBreaks(*document, breaks, lineEnd, marking)) return nullptr;
  document->setUndoRedoEnabled(look.undo);
  document->setModified(false);
  return document;
}

}  // namespace PlainDocument
