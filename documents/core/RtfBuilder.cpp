// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/RtfBuilder.h"

#include <QColor>
#include <QFont>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <limits>

namespace {
QTextCharFormat MakeFormat(const TRtfCharFormat &rtf) {
  QTextCharFormat format;
  format.setFontWeight(rtf.bold ? QFont::Bold : QFont::Normal);
  format.setFontItalic(rtf.italic);
  format.setFontUnderline(rtf.underline);
  format.setFontStrikeOut(rtf.strike);
  if (!rtf.family.isEmpty()) format.setFontFamilies({rtf.family});
  if (rtf.halfPoints > 0) format.setFontPointSize(rtf.halfPoints / 2.0);
  if (rtf.hasColor) format.setForeground(QColor(QRgb(0xFF000000u | rtf.rgb)));
  return format;
}
}  // namespace

TRtfDocumentBuilder::TRtfDocumentBuilder(const TRtfContent &content, QTextDocument &document)
    : content_(content), document_(document), undo_(document.isUndoRedoEnabled()) {
  // Nothing to undo in a document just read: without an undo history the document keeps no
  // second copy of each insertion.
  document_.setUndoRedoEnabled(false);
  formats_.reserve(content_.formats.size());
  for (const TRtfCharFormat &format : content_.formats) formats_.push_back(MakeFormat(format));
}

TRtfDocumentBuilder::~TRtfDocumentBuilder() { document_.setUndoRedoEnabled(undo_); }

const QTextCharFormat &TRtfDocumentBuilder::charFormat(int index) const {
  static const QTextCharFormat none;
  return index >= 0 && size_t(index) < formats_.size() ? formats_[size_t(index)] : none;
}

int TRtfDocumentBuilder::Progress() const {
  const qsizetype total = content_.text.size() + qsizetype(content_.paragraphs.size());
  if (total == 0 || Done()) return 1000;
  return int((pos_ + qsizetype(paragraph_)) * 1000 / total);
}

bool TRtfDocumentBuilder::Step(qsizetype work) {
  if (Done()) return false;
  QTextCursor cursor(&document_);
  cursor.movePosition(QTextCursor::End);
  // One change of the document per slice, which its layout hears of once.
  cursor.beginEditBlock();
  if (breakAfter_) {
    cursor.deletePreviousChar();
    breakAfter_ = false;
  }
  const QString &text = content_.text;
  qsizetype done = 0;
  while (!Done() && done < work) {
    const TRtfContent::TParagraph &paragraph = content_.paragraphs[paragraph_];
    if (!paragraphStarted_) {
      QTextBlockFormat block;
      if (paragraph.alignment) block.setAlignment(paragraph.alignment);
      if (paragraph_ == 0)
        cursor.setBlockFormat(block);
      else
        cursor.insertBlock(block, charFormat(paragraph.charFormat));
      paragraphStarted_ = true;
      done += kRunWork;
    }
    while (pos_ < paragraph.end && done < work) {
      while (content_.runs[run_].end <= pos_) ++run_;
      const qsizetype runEnd = std::min(content_.runs[run_].end, paragraph.end);
      qsizetype end = std::min(runEnd, pos_ + std::max<qsizetype>(work - done, 1));
      if (end < runEnd && text[end - 1].isHighSurrogate()) ++end;  // never half a character
      cursor.insertText(QStringView(text).sliced(pos_, end - pos_).toString(),
                        charFormat(content_.runs[run_].format));
      done += end - pos_ + kRunWork;
      pos_ = end;
    }
    if (pos_ >= paragraph.end) {
      ++paragraph_;
      paragraphStarted_ = false;
    }
  }
  if (!Done() && paragraphStarted_) {
    // Text added later to a block the layout has seen would have it laid out again whole.
    cursor.insertBlock();
    breakAfter_ = true;
  }
  cursor.endEditBlock();
  ++slices_;
  if (AfterSlice) AfterSlice(slices_);
  return !Done();
}

void TRtfDocumentBuilder::Finish() {
  while (Step(std::numeric_limits<qsizetype>::max() / 2)) {
  }
}
