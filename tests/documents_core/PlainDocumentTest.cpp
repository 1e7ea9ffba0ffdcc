// SPDX-License-Identifier: GPL-3.0-or-later
// A plain text built into a document of its own keeps each line and its break's kind, and
// tells what kind of text a document holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "documents/core/PlainDocument.h"
#include "platform/core/TextFile.h"

namespace {

// The text of a document as its file holds it: each line break of its own kind.
QString fileText(const TTextModel &document, uint8_t lineEnd) {
  QString text;
  for (TTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (block != document.begin())
      text += TextFile::BreakText(PlainDocument::BreakBefore(block, lineEnd));
    text += block.text();
  }
  return text;
}

// The same of a text ('\n' for each break) with the kinds of its breaks (none: lineEnd).
QString fileText(QStringView text, const std::vector<uint8_t> &breaks, uint8_t lineEnd) {
  QString file;
  size_t next = 0;
  for (const QChar ch : text) {
    if (ch != u'\n') {
      file += ch;
      continue;
    }
    file += TextFile::BreakText(next < breaks.size() ? breaks[next] : lineEnd);
    ++next;
  }
  return file;
}

}  // namespace

TEST(PlainDocumentTest, ABuiltDocumentKeepsEveryLineAndTheKindOfEachBreak) {
  std::mt19937 random(23);
  const auto below = [&random](int n) { return int(random() % unsigned(n)); };
  // Letters, a no-break space and a line separator (which end no block).
  const QString letters = QStringLiteral("ab \x00e9\x00a0\x2028");
  for (int round = 0; round < 200; ++round) {
    const auto lineEnd = uint8_t(below(3));
    const bool uniform = round % 4 == 0;
    QString text;
    std::vector<uint8_t> breaks;
    const int lines = 1 + below(8);
    for (int line = 0; line < lines; ++line) {
      if (line > 0) {
        text += u'\n';
        breaks.push_back(uniform ? lineEnd : uint8_t(below(TextFile::BreakKinds)));
      }
      for (int n = below(6); n > 0; --n) text += letters[below(int(letters.size()))];
    }
    if (uniform) breaks.clear();
    auto built = PlainDocument::Build(text, breaks, lineEnd);
    ASSERT_TRUE(built);
    TTextModel model;
    model.replaceStore(std::move(built));
    EXPECT_EQ(fileText(model, lineEnd), fileText(text, breaks, lineEnd)) << round;
    EXPECT_EQ(model.blockCount(), lines);
    EXPECT_EQ(PlainDocument::MayHaveOwnBreaks(model),
              std::any_of(breaks.begin(), breaks.end(), [&](uint8_t b) { return b != lineEnd; }));
  }
}

TEST(PlainDocumentTest, ABuildStopsWhenToldAndTellsWhatKindOfTextADocumentHolds) {
  QString text;
  for (int n = 0; n < 300000; ++n) text += QStringLiteral("line %1\n").arg(n);
  int asked = 0;
  const auto stopped =
      PlainDocument::Build(text, std::vector<uint8_t>(300000, TextFile::BreakCr), TextFile::BreakLf,
                           [&asked](qint64, qint64) { return ++asked < 2; });
  EXPECT_EQ(stopped, nullptr);
  EXPECT_EQ(asked, 2);

  // One line with a break of its own: plain, but with breaks to keep.
  TTextModel mixed;
  mixed.replaceStore(PlainDocument::Build(
      QStringLiteral("a\nb\nc"), {TextFile::BreakLf, TextFile::BreakCrLf}, TextFile::BreakLf));
  EXPECT_TRUE(PlainDocument::MayHaveOwnBreaks(mixed));
  EXPECT_FALSE(PlainDocument::HasFormats(mixed));
  TTextModel plain;
  plain.replaceStore(PlainDocument::Build(QStringLiteral("a\nb"), {}, TextFile::BreakLf));
  EXPECT_FALSE(PlainDocument::MayHaveOwnBreaks(plain));
  EXPECT_FALSE(PlainDocument::HasFormats(plain));
  // Bold text is rich.
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  TTextCursor(&plain).insertText(QStringLiteral("x"), bold);
  EXPECT_TRUE(PlainDocument::HasFormats(plain));
  // So is a text with a paragraph format of its own (centred), though its characters are plain.
  TTextModel centred;
  centred.setPlainText(QStringLiteral("title\nbody"));
  QTextBlockFormat centre;
  centre.setAlignment(Qt::AlignHCenter);
  centred.findBlockByNumber(0).setParagraph(centred.paragraphNumber(centre));
  EXPECT_TRUE(PlainDocument::HasFormats(centred));
  EXPECT_EQ(centred.findBlockByNumber(0).blockFormat().alignment(), Qt::AlignHCenter);
}
