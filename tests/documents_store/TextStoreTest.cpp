// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QStringList>

#include "documents/store/TextStore.h"

namespace {

// An item that tells the test which line it was given to, and counts the items alive.
int itemsAlive = 0;
struct TItem : TTextStore::TLineData {
  explicit TItem(int id) : id(id) { ++itemsAlive; }
  ~TItem() override { --itemsAlive; }
  int id;
};
int ItemId(const TTextStore &store, qsizetype line) {
  const auto *item = static_cast<const TItem *>(store.Data(line));
  return item ? item->id : -1;
}

// The store against the same text and lines kept the simple way: one string a line, with the
// rows, tags and items a line should carry.
struct TModelLine {
  QString text;
  qsizetype rows = 1;
  uint8_t tag = 0;
  int item = -1;
};

std::vector<TModelLine> ModelOf(const QString &text) {
  std::vector<TModelLine> lines;
  for (const QString &line : text.split(u'\n')) lines.push_back({line});
  return lines;
}

// Replaces [from, to) of the model's text as the store promises to: the first line touched
// keeps what it carries, lines removed lose it, lines added get nothing but the first's tag.
void ModelReplace(std::vector<TModelLine> &lines, qsizetype from, qsizetype to,
                  const QString &text) {
  qsizetype first = 0;
  qsizetype start = 0;
  while (from > start + lines[size_t(first)].text.size()) {
    start += lines[size_t(first)].text.size() + 1;
    ++first;
  }
  qsizetype last = first;
  qsizetype lastStart = start;
  while (to > lastStart + lines[size_t(last)].text.size()) {
    lastStart += lines[size_t(last)].text.size() + 1;
    ++last;
  }
  const QString joined = lines[size_t(first)].text.left(from - start) + text +
                         lines[size_t(last)].text.mid(to - lastStart);
  const QStringList parts = joined.split(u'\n');
  TModelLine head = lines[size_t(first)];
  lines.erase(lines.begin() + first, lines.begin() + last + 1);
  std::vector<TModelLine> added;
  for (qsizetype i = 0; i < parts.size(); ++i) {
    TModelLine line = i == 0 ? head : TModelLine{QString(), 1, head.tag, -1};
    line.text = parts[i];
    added.push_back(line);
  }
  lines.insert(lines.begin() + first, added.begin(), added.end());
}

void ExpectSame(const TTextStore &store, const std::vector<TModelLine> &lines) {
  QStringList texts;
  qsizetype rows = 0;
  for (const TModelLine &line : lines) texts.append(line.text);
  const QString text = texts.join(u'\n');
  ASSERT_EQ(store.Text(), text);
  ASSERT_EQ(store.Length(), text.size());
  ASSERT_EQ(store.LineCount(), qsizetype(lines.size()));
  qsizetype start = 0;
  for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
    const TModelLine &line = lines[size_t(i)];
    ASSERT_EQ(store.LineStart(i), start) << "line " << i;
    ASSERT_EQ(store.Line(i).toString(), line.text) << "line " << i;
    ASSERT_EQ(store.LineAt(start), i);
    ASSERT_EQ(store.LineAt(start + line.text.size()), i);
    ASSERT_EQ(store.Rows(i), line.rows);
    ASSERT_EQ(store.FirstRow(i), rows);
    ASSERT_EQ(store.LineAtRow(rows + line.rows - 1), i);
    ASSERT_EQ(store.Tag(i), line.tag);
    ASSERT_EQ(ItemId(store, i), line.item);
    start += line.text.size() + 1;
    rows += line.rows;
  }
  ASSERT_EQ(store.RowCount(), rows);
}

QString RandomText(QRandomGenerator &random, int maxLength) {
  static const QString letters = QStringLiteral("ab \n\nä€\r");
  QString text;
  const int length = random.bounded(maxLength + 1);
  for (int i = 0; i < length; ++i) text.append(letters[random.bounded(letters.size())]);
  return text;
}

}  // namespace

TEST(TextStore, AnEmptyStoreHasOneEmptyLine) {
  TTextStore store;
  EXPECT_EQ(store.Length(), 0);
  EXPECT_EQ(store.LineCount(), 1);
  EXPECT_EQ(store.Line(0), QString());
  EXPECT_EQ(store.LineAt(5), 0);
  EXPECT_EQ(store.RowCount(), 1);
  store.SetText(QString());
  EXPECT_EQ(store.LineCount(), 1);
  EXPECT_EQ(store.Text(), QString());
}

TEST(TextStore, BreaksAtTheEndsAndRunsOfBreaksMakeEmptyLines) {
  for (const qsizetype chunkChars : {1, 3, 1 << 16}) {
    TTextStore store(chunkChars);
    const QString text = QStringLiteral("\none\n\n\ntwo\r\n\n");
    store.SetText(text);
    ExpectSame(store, ModelOf(text));
    EXPECT_EQ(store.Text(2, 9), QStringLiteral("ne\n\n\ntw")) << chunkChars;
    EXPECT_EQ(store.Text(9, 100), QStringLiteral("o\r\n\n"));
  }
}

TEST(TextStore, ATextSetWholeIsReadInPlaceUntilAChunkOfItChanges) {
  QString text;
  for (int i = 0; i < 2000; ++i) text += QStringLiteral("line %1 of the #\n").arg(i);
  TTextStore store(1000);
  store.SetText(text);
  EXPECT_EQ(store.OwnChars(), 0);
  EXPECT_GT(store.ChunkCount(), 30);
  const qsizetype middle = store.LineStart(1000);
  store.Replace(middle, middle, QStringLiteral("x"));
  // Only the chunk changed holds characters of its own (it may have joined a neighbour).
  EXPECT_GT(store.OwnChars(), 0);
  EXPECT_LT(store.OwnChars(), 2 * 2 * 1000);
  EXPECT_EQ(store.Line(1000), QStringLiteral("xline 1000 of the #"));
  // The text given is not touched by changes.
  EXPECT_TRUE(text.startsWith(QStringLiteral("line 0 of the #\nline 1 ")));
  EXPECT_FALSE(text.contains(u'x'));
}

TEST(TextStore, ChunksStayNearTheirSizeThroughGrowthAndShrinking) {
  TTextStore store(64);
  for (int i = 0; i < 500; ++i) store.Append(QStringLiteral("0123456789\n"));
  EXPECT_EQ(store.LineCount(), 501);
  // About 5,500 characters in chunks of 64 to 128.
  EXPECT_GE(store.ChunkCount(), 5500 / 129);
  EXPECT_LE(store.ChunkCount(), 5500 / 16);
  // Deleting most lines one by one joins the small chunks that are left.
  for (int i = 0; i < 490; ++i) store.Replace(0, 11, QString());
  EXPECT_EQ(store.LineCount(), 11);
  EXPECT_LE(store.ChunkCount(), 3);
  // One line longer than a chunk is a chunk of its own, however long.
  store.Replace(5, 5, QString(1000, u'L'));
  EXPECT_EQ(store.LineLength(0), 1010);
  EXPECT_EQ(store.Text(0, 12), QStringLiteral("01234LLLLLLL"));
}

TEST(TextStore, AChangeReportsWhatItDidInPositionsAndLines) {
  TTextStore store(4);
  store.SetText(QStringLiteral("alpha\nbeta\ngamma\ndelta"));
  // "ta\ngam" (positions 8 to 14) becomes "T\nA\nM".
  const TTextStore::TChange change = store.Replace(8, 14, QStringLiteral("T\nA\nM"));
  EXPECT_EQ(change.position, 8);
  EXPECT_EQ(change.removed, 6);
  EXPECT_EQ(change.added, 5);
  EXPECT_EQ(change.firstLine, 1);
  EXPECT_EQ(change.linesRemoved, 1);
  EXPECT_EQ(change.linesAdded, 2);
  EXPECT_EQ(store.Text(), QStringLiteral("alpha\nbeT\nA\nMma\ndelta"));
  // Out-of-range positions are clamped; a range turned round is empty.
  const TTextStore::TChange tail = store.Replace(100, 3, QStringLiteral("!"));
  EXPECT_EQ(tail.position, store.Length() - 1);
  EXPECT_EQ(tail.removed, 0);
  EXPECT_EQ(store.Text(), QStringLiteral("alpha\nbeT\nA\nMma\ndelta!"));
}

TEST(TextStore, ATextReplacedByAViewOfItselfComesOutRight) {
  TTextStore store(8);
  store.SetText(QStringLiteral("one two\nthree four\nfive"));
  store.Replace(store.LineStart(2), store.Length(), store.Line(1));
  EXPECT_EQ(store.Text(), QStringLiteral("one two\nthree four\nthree four"));
  store.Replace(0, 3, store.Line(2));
  EXPECT_EQ(store.Line(0), QStringLiteral("three four two"));
}

TEST(TextStore, RowsCountAsTheViewSetsThem) {
  TTextStore store(16);
  QString text;
  for (int i = 0; i < 100; ++i) text += QStringLiteral("line\n");
  store.SetText(text);
  store.SetRows(10, 5);
  store.SetRows(50, 3);
  store.SetRows(99, 0);  // a line has a row at least
  EXPECT_EQ(store.Rows(99), 1);
  EXPECT_EQ(store.RowCount(), 101 + 4 + 2);
  EXPECT_EQ(store.FirstRow(11), 11 + 4);
  EXPECT_EQ(store.LineAtRow(10), 10);
  EXPECT_EQ(store.LineAtRow(14), 10);
  EXPECT_EQ(store.LineAtRow(15), 11);
  EXPECT_EQ(store.LineAtRow(-3), 0);
  EXPECT_EQ(store.LineAtRow(1000), 100);
  // Deleting the break after line 10 keeps line 10's rows and drops line 11's.
  store.SetRows(11, 2);
  store.Replace(store.LineStart(11) - 1, store.LineStart(11), QString());
  EXPECT_EQ(store.Rows(10), 5);
  EXPECT_EQ(store.RowCount(), 100 + 4 + 2);
}

TEST(TextStore, ItemsAreKeptWithTheirLinesAndFreedWithThem) {
  itemsAlive = 0;
  {
    TTextStore store(8);
    store.SetText(QStringLiteral("a\nb\nc\nd\ne\nf"));
    for (int line = 0; line < 6; ++line) store.SetData(line, std::make_unique<TItem>(line));
    EXPECT_EQ(itemsAlive, 6);
    // A line inserted in front moves the items down with their lines.
    store.Replace(0, 0, QStringLiteral("new\n"));
    EXPECT_EQ(ItemId(store, 0), 0);  // the line typed in keeps its item
    EXPECT_EQ(ItemId(store, 1), -1);
    EXPECT_EQ(ItemId(store, 2), 1);
    // Removing "b" to "d" frees the items of the lines removed.
    store.Replace(store.LineStart(2), store.LineStart(4) + 1, QString());
    EXPECT_EQ(itemsAlive, 4);
    store.ClearData(0, store.LineCount() - 1);
    EXPECT_EQ(itemsAlive, 0);
    store.SetData(0, std::make_unique<TItem>(7));
  }
  EXPECT_EQ(itemsAlive, 0);
}

TEST(TextStore, TagsGoToLinesTypedAndAreRemovedWithTheirBreaks) {
  TTextStore store(4);
  store.SetText(QStringLiteral("one\ntwo\nthree"));
  EXPECT_FALSE(store.HasTags());
  store.SetTag(1, 2);
  EXPECT_TRUE(store.HasTags());
  // A break typed in line 1 gets line 1's tag.
  store.Replace(5, 5, QStringLiteral("\n"));
  EXPECT_EQ(store.Text(), QStringLiteral("one\nt\nwo\nthree"));
  EXPECT_EQ(store.Tag(2), 2);
  // Joining lines 0 and 1 removes line 1's break: line 0's tag is the one left.
  store.Replace(3, 4, QString());
  EXPECT_EQ(store.Tag(0), 0);
  EXPECT_EQ(store.Tag(1), 2);
  EXPECT_EQ(store.Tag(2), 0);
}

// Random changes of every size, in chunks small enough that most changes cross chunk edges,
// each checked against the model.
TEST(TextStore, RandomChangesKeepTextLinesRowsTagsAndItems) {
  for (const quint32 seed : {1u, 2u, 3u, 4u}) {
    SCOPED_TRACE(seed);
    QRandomGenerator random(seed);
    itemsAlive = 0;
    TTextStore store(8);
    QString start = RandomText(random, 60);
    store.SetText(start);
    std::vector<TModelLine> model = ModelOf(start);
    int nextItem = 0;
    for (int step = 0; step < 400; ++step) {
      const qsizetype length = store.Length();
      switch (random.bounded(6)) {
        case 0: {  // rows
          const qsizetype line = random.bounded(int(model.size()));
          const qsizetype rows = 1 + random.bounded(4);
          store.SetRows(line, rows);
          model[size_t(line)].rows = rows;
          break;
        }
        case 1: {  // tags and items
          const qsizetype line = random.bounded(int(model.size()));
          store.SetTag(line, uint8_t(random.bounded(3)));
          model[size_t(line)].tag = store.Tag(line);
          store.SetData(line, std::make_unique<TItem>(nextItem));
          model[size_t(line)].item = nextItem++;
          break;
        }
        default: {
          const qsizetype from = random.bounded(int(length) + 1);
          const qsizetype to =
              from + random.bounded(int(length - from) + 1) / (1 + random.bounded(4));
          const QString text = RandomText(random, step % 50 == 0 ? 200 : 12);
          store.Replace(from, to, text);
          ModelReplace(model, from, to, text);
        }
      }
      ASSERT_NO_FATAL_FAILURE(ExpectSame(store, model)) << "step " << step;
    }
    int items = 0;
    for (const TModelLine &line : model) items += line.item >= 0;
    EXPECT_EQ(itemsAlive, items);
  }
}

TEST(TextStore, ChunksHandedOverAreReadInPlaceWhereTheyStartALine) {
  TTextStore store(16);
  store.Adopt(QStringLiteral("first line\nsecond line\n"));
  store.SetTag(2, 1);
  store.Adopt(QStringLiteral("third line\nfourth"));
  EXPECT_EQ(store.OwnChars(), 0);
  EXPECT_EQ(store.Tag(2), 1);  // the empty last line passed its tag on to the line it became
  // A chunk that goes on with an unfinished line is copied.
  store.Adopt(QStringLiteral(" line\nfifth\n"));
  store.Adopt(QString());
  EXPECT_GT(store.OwnChars(), 0);
  ExpectSame(store, [&] {
    auto model =
        ModelOf(QStringLiteral("first line\nsecond line\nthird line\nfourth line\nfifth\n"));
    model[2].tag = 1;
    return model;
  }());
}
