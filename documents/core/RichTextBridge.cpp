// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/RichTextBridge.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

class TUnlaidLayout : public QAbstractTextDocumentLayout {
 public:
  explicit TUnlaidLayout(QTextDocument *document) : QAbstractTextDocumentLayout(document) {}
  void draw(QPainter *, const PaintContext &) override {}
  int hitTest(const QPointF &, Qt::HitTestAccuracy) const override { return -1; }
  int pageCount() const override { return 1; }
  QSizeF documentSize() const override { return {}; }
  QRectF frameBoundingRect(QTextFrame *) const override { return {}; }
  QRectF blockBoundingRect(const QTextBlock &) const override { return {}; }

 protected:
  void documentChanged(int, int, int) override {}
};

}  // namespace

namespace RichTextBridge {

void LeaveUnlaid(QTextDocument &document) {
  document.setDocumentLayout(new TUnlaidLayout(&document));
}

void Insert(TTextCursor &cursor, const QTextDocument &source) {
  TTextModel *model = cursor.document();
  if (!model) return;
  QString text;
  std::vector<TTextModel::TRun> runs;
  const auto add = [&](const QString &piece, const QTextCharFormat &format) {
    if (piece.isEmpty()) return;
    const int number = model->formatNumber(format);
    if (runs.empty() || runs.back().format != number) runs.push_back({int(text.size()), number});
    text += piece;
  };
  std::vector<int> paragraphs;
  for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
    if (block != source.begin()) add(QStringLiteral("\n"), block.charFormat());
    for (auto it = block.begin(); !it.atEnd(); ++it)
      add(it.fragment().text(), it.fragment().charFormat());
    paragraphs.push_back(model->paragraphNumber(block.blockFormat()));
  }
  if (runs.empty() || runs.front().start != 0) runs.insert(runs.begin(), {0, 0});
  const int from = cursor.selectionStart();
  const bool atLineStart = model->findBlock(from).position() == from;
  model->replaceFormatted(from, cursor.selectionEnd(), text, runs);
  // The lines take their paragraphs' formats; text put into a line keeps the line's own.
  const TTextBlock first = model->findBlock(from);
  for (size_t i = atLineStart ? 0 : 1; i < paragraphs.size(); ++i)
    model->findBlockByNumber(first.blockNumber() + int(i)).setParagraph(paragraphs[i]);
  cursor.setPosition(from + int(text.size()));
}

std::unique_ptr<QTextDocument> ToDocument(const TTextModel &model) {
  auto document = std::make_unique<QTextDocument>();
  LeaveUnlaid(*document);
  document->setDefaultFont(model.defaultFont());
  QTextCursor cursor(document.get());
  const QList<QTextCharFormat> &formats = model.formats();
  for (TTextBlock block = model.begin(); block.isValid(); block = block.next()) {
    const int start = block.position();
    const int end = start + block.length() - 1;
    if (block != model.begin())
      cursor.insertBlock(block.blockFormat(), block.charFormat());
    else
      cursor.setBlockFormat(block.blockFormat());
    const auto runs = model.runsOf(start, end);
    for (size_t i = 0; i < runs.size(); ++i) {
      const int from = start + runs[i].start;
      const int to = i + 1 < runs.size() ? start + runs[i + 1].start : end;
      if (to > from) cursor.insertText(model.textBetween(from, to), formats[runs[i].format]);
    }
  }
  return document;
}

}  // namespace RichTextBridge
