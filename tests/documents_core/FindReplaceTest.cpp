// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "documents/core/FindReplace.h"
#include "documents/core/MemoryEdit.h"
#include "documents/core/SearchState.h"

namespace {
TSearchOptions Options(const QString &text, bool down = true, bool matchCase = false,
                       bool wholeWord = false) {
  TSearchOptions options;
  options.findText = text;
  options.down = down;
  options.matchCase = matchCase;
  options.wholeWord = wholeWord;
  return options;
}
QString All(const TMemoryEdit &edit) { return edit.TextRange(0, edit.PositionCount()); }
}  // namespace

TEST(FindReplace, FindNextWalksDownWithoutWrapping) {
  TMemoryEdit edit(QStringLiteral("cat cat cat"));
  TSearchState state;
  EXPECT_EQ(state.FindNext(edit), TSearchResult::NoSearch);
  EXPECT_EQ(state.Search(edit, Options(QStringLiteral("cat"))), TSearchResult::Found);
  EXPECT_EQ(edit.SelStart(), 0);
  EXPECT_EQ(state.FindNext(edit), TSearchResult::Found);
  EXPECT_EQ(edit.SelStart(), 4);
  EXPECT_EQ(state.FindNext(edit), TSearchResult::Found);
  EXPECT_EQ(edit.SelStart(), 8);
  EXPECT_EQ(state.FindNext(edit), TSearchResult::NotFound);
  EXPECT_EQ(edit.SelStart(), 8);  // the selection stays
  EXPECT_EQ(edit.SelLength(), 3);
  EXPECT_EQ(FindReplace::NotFoundText(QStringLiteral("cat")), QStringLiteral("Cannot find 'cat'."));
}

TEST(FindReplace, UpwardSearchEndsBeforeTheSelectionAndStopsAtTheStart) {
  TMemoryEdit edit(QStringLiteral("abcabcabc"));
  edit.SetSelection(9, 0);
  const auto up = Options(QStringLiteral("ABC"), false);
  ASSERT_TRUE(FindReplace::Find(edit, up));
  EXPECT_EQ(edit.SelStart(), 6);
  ASSERT_TRUE(FindReplace::Find(edit, up));
  EXPECT_EQ(edit.SelStart(), 3);
  ASSERT_TRUE(FindReplace::Find(edit, up));
  EXPECT_EQ(edit.SelStart(), 0);
  EXPECT_FALSE(FindReplace::Find(edit, up));
  // Overlapping occurrences going up: the last one that ends before the caret.
  TMemoryEdit overlap(QStringLiteral("aaaa"));
  overlap.SetSelection(3, 0);
  ASSERT_TRUE(FindReplace::Find(overlap, Options(QStringLiteral("aa"), false)));
  EXPECT_EQ(overlap.SelStart(), 1);
}

TEST(FindReplace, MatchCaseAndWholeWordOptions) {
  TMemoryEdit edit(QStringLiteral("Cat concat cat_x cat. CAT"));
  EXPECT_TRUE(FindReplace::Find(edit, Options(QStringLiteral("cat"), true, true)));
  EXPECT_EQ(edit.SelStart(), 7);  // inside concat
  edit.SetSelection(0, 0);
  const auto word = Options(QStringLiteral("cat"), true, false, true);
  ASSERT_TRUE(FindReplace::Find(edit, word));
  EXPECT_EQ(edit.SelStart(), 0);
  ASSERT_TRUE(FindReplace::Find(edit, word));
  EXPECT_EQ(edit.SelStart(), 17);  // not concat, not cat_x
  ASSERT_TRUE(FindReplace::Find(edit, word));
  EXPECT_EQ(edit.SelStart(), 22);
  EXPECT_FALSE(FindReplace::Find(edit, word));
  // Upwards the whole-word rule holds as well.
  edit.SetSelection(16, 0);
  ASSERT_TRUE(FindReplace::Find(edit, Options(QStringLiteral("cat"), false, false, true)));
  EXPECT_EQ(edit.SelStart(), 0);
  // Searching for nothing finds nothing and is not remembered.
  TSearchState state;
  EXPECT_EQ(state.Search(edit, Options(QString())), TSearchResult::NoSearch);
  EXPECT_FALSE(state.HasLastSearch());
}

TEST(FindReplace, ReplaceSkipsTheOccurrenceSelectedBeforehand) {
  TMemoryEdit edit(QStringLiteral("cat cat cat"));
  edit.SetSelection(0, 3);
  EXPECT_TRUE(FindReplace::Replace(edit, Options(QStringLiteral("cat")), QStringLiteral("dog")));
  EXPECT_EQ(All(edit), QStringLiteral("cat dog cat"));
  EXPECT_EQ(edit.SelStart(), 7);
  edit.Undo();
  EXPECT_EQ(All(edit), QStringLiteral("cat cat cat"));
  edit.SetSelection(11, 0);
  EXPECT_FALSE(FindReplace::Replace(edit, Options(QStringLiteral("cat")), QStringLiteral("dog")));
}

TEST(FindReplace, ReplaceAllNeverSearchesItsOwnReplacements) {
  TMemoryEdit edit(QStringLiteral("aaa"));
  EXPECT_EQ(FindReplace::ReplaceAll(edit, Options(QStringLiteral("a")), QStringLiteral("aa")), 3);
  EXPECT_EQ(All(edit), QStringLiteral("aaaaaa"));
  EXPECT_EQ(edit.SelStart(), 6);

  TMemoryEdit up(QStringLiteral("x a b a"));
  up.SetSelection(7, 0);
  EXPECT_EQ(
      FindReplace::ReplaceAll(up, Options(QStringLiteral("a"), false), QStringLiteral("ba a")), 2);
  EXPECT_EQ(All(up), QStringLiteral("x ba a b ba a"));
  EXPECT_EQ(up.SelStart(), 6);  // behind the topmost replacement
}

TEST(FindReplace, ReplaceAllLeavesTheTextBeforeTheCaretAndIsOneUndoStep) {
  TMemoryEdit edit(QStringLiteral("one cat\ntwo cat\nthree cat"), QStringLiteral("\r\n"));
  edit.SetSelection(8, 0);
  EXPECT_EQ(FindReplace::ReplaceAll(edit, Options(QStringLiteral("CAT")), QStringLiteral("dog")),
            2);
  EXPECT_EQ(edit.Text(), QStringLiteral("one cat\r\ntwo dog\r\nthree dog"));
  EXPECT_EQ(edit.UndoKind(), TUndoKind::Unknown);
  edit.Undo();
  EXPECT_EQ(All(edit), QStringLiteral("one cat\ntwo cat\nthree cat"));
  EXPECT_FALSE(edit.CanUndo());
  // Nothing found: nothing changes.
  edit.SetSelection(0, 0);
  EXPECT_EQ(FindReplace::ReplaceAll(edit, Options(QStringLiteral("bird")), QStringLiteral("x")), 0);
  EXPECT_FALSE(edit.CanUndo());
}

TEST(FindReplace, ReplaceAllWholeWordSeesTheTextAsItBecomes) {
  // In "-a-a" the second "-a" follows a letter; once the first has become "-" it follows a
  // dash and is a whole word in the text as it then stands.
  TMemoryEdit down(QStringLiteral("-a-a!"));
  EXPECT_EQ(FindReplace::ReplaceAll(down, Options(QStringLiteral("-a"), true, false, true),
                                    QStringLiteral("-")),
            2);
  EXPECT_EQ(All(down), QStringLiteral("--!"));
  // Going up, the replacement on the right decides.
  TMemoryEdit up(QStringLiteral("a-a-"));
  up.SetSelection(4, 0);
  EXPECT_EQ(FindReplace::ReplaceAll(up, Options(QStringLiteral("a-"), false, false, true),
                                    QStringLiteral("-")),
            2);
  EXPECT_EQ(All(up), QStringLiteral("--"));
  EXPECT_EQ(up.SelStart(), 1);
  // A replacement that is a word keeps the next occurrence from being a whole word.
  TMemoryEdit blocked(QStringLiteral("a-a-"));
  blocked.SetSelection(4, 0);
  EXPECT_EQ(FindReplace::ReplaceAll(blocked, Options(QStringLiteral("a-"), false, false, true),
                                    QStringLiteral("b")),
            1);
  EXPECT_EQ(All(blocked), QStringLiteral("a-b"));
}

TEST(FindReplace, DialogMovesOutOfTheWayOfTheOccurrence) {
  const QRect screen(0, 0, 1000, 800);
  const QRect dialog(100, 300, 300, 150);
  // Not covered: stays.
  EXPECT_FALSE(FindReplace::MoveOutOfTheWay(dialog, QPoint(50, 100), QPoint(90, 100), screen));
  // Covered with room above: moves so its bottom is 20 pixels above the occurrence.
  auto above = FindReplace::MoveOutOfTheWay(dialog, QPoint(150, 400), QPoint(200, 400), screen);
  ASSERT_TRUE(above);
  EXPECT_EQ(*above, QPoint(100, 400 - 20 - 150));
  // Covered near the top: moves below.
  const QRect high(100, 0, 300, 150);
  auto below = FindReplace::MoveOutOfTheWay(high, QPoint(150, 100), QPoint(200, 100), screen);
  ASSERT_TRUE(below);
  EXPECT_EQ(*below, QPoint(100, 140));
  // No room either way: stays.
  const QRect tall(100, 0, 300, 700);
  EXPECT_FALSE(FindReplace::MoveOutOfTheWay(tall, QPoint(150, 200), QPoint(200, 200), screen));
}

TEST(FindReplace, ALongReplaceAllTellsItsProgressAndStopsWhenAsked) {
  // Occurrences all through a text of a few slices, a whole word among them at each slice's
  // edge so that a stop and a go-on must not lose track of the text before it.
  QString text;
  while (text.size() < 1000 * 1000) text += QStringLiteral("cat concat cat. ");
  TMemoryEdit edit;
  edit.SetText(text);
  edit.SetSelection(4, 0);
  TSearchOptions options;
  options.findText = QStringLiteral("cat");
  options.wholeWord = true;
  const FindReplace::TReplaceAllJob job =
      FindReplace::ReplaceAllJobFor(edit, options, QStringLiteral("dog"));

  std::vector<qint64> told;
  const auto plan = FindReplace::PlanReplaceAll(job, [&](qint64 done, qint64 total) {
    EXPECT_EQ(total, text.size());
    told.push_back(done);
    return true;
  });
  ASSERT_GE(told.size(), 3u);
  EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
  FindReplace::ApplyReplaceAll(edit, plan);
  QString expected = QStringLiteral("dog concat dog. ").repeated(text.size() / 16);
  expected.replace(0, 3, QStringLiteral("cat"));  // before the caret
  EXPECT_TRUE(edit.TextRange(0, edit.PositionCount()) == expected);
  EXPECT_EQ(plan.count, 2 * (text.size() / 16) - 1);

  // Going up as well; a stop ends the search at once.
  options.down = false;
  edit.SetText(text);
  edit.SetSelection(text.size(), 0);
  int asked = 0;
  const auto stopped = FindReplace::PlanReplaceAll(
      FindReplace::ReplaceAllJobFor(edit, options, QStringLiteral("dog")),
      [&](qint64, qint64) { return ++asked < 2; });
  EXPECT_EQ(asked, 2);
  EXPECT_LT(stopped.count, 2 * (text.size() / 16) / 2);
}

TEST(FindReplace, SearchingALargeTextPieceByPieceFindsWhatASearchOfTheWholeTextFinds) {
  // Occurrences, whole words and parts of words, around the edges of the pieces a search
  // reads (64K, then 128K, 256K... characters from the caret).
  QString text(600 * 1000, u'.');
  const std::vector<qsizetype> at = {3,      65530,  65534,  65537,  65536 + 200,   196600,
                                     196605, 196610, 458700, 458747, 600 * 1000 - 3};
  for (const qsizetype p : at) text.replace(p, 3, QStringLiteral("dog"));
  text.replace(65540, 1, u'x');                     // "dogx": no whole word
  text.replace(299999, 4, QStringLiteral("adog"));  // neither
  // Carets whose first piece ends inside an occurrence (down), or begins right at "adog" (up).
  const qsizetype straddling = 196600 - 65535;
  const qsizetype atAdog = 300000 + 65540;
  TMemoryEdit edit;
  edit.SetText(text);
  for (const bool wholeWord : {false, true}) {
    for (const bool down : {true, false}) {
      TSearchOptions options;
      options.findText = QStringLiteral("DOG");
      options.wholeWord = wholeWord;
      options.down = down;
      const TTextFinder finder(options);
      for (const qsizetype caret : {qsizetype(0), qsizetype(5), qsizetype(65531), qsizetype(131000),
                                    qsizetype(400000), straddling, atAdog, text.size()}) {
        edit.SetSelection(caret, 0);
        const qsizetype expected = down ? finder.FindForward(text, caret, text.size())
                                        : finder.FindBackward(text, 0, caret);
        const bool found = FindReplace::Find(edit, options);
        EXPECT_EQ(found, expected >= 0) << caret << " " << wholeWord << " " << down;
        EXPECT_EQ(edit.SelStart(), found ? expected : caret) << caret << " " << wholeWord;
        // In two steps, the second on a copy of the rest of the text: the same occurrence.
        edit.SetSelection(caret, 0);
        for (const qsizetype nearChars : {qsizetype(0), qsizetype(70000), qsizetype(300000)}) {
          const auto start = FindReplace::FindNear(edit, options, nearChars);
          qsizetype twoSteps = start.found;
          if (start.rest) {
            FindReplace::TFindJob job = *start.rest;
            job.text = edit.TextRange(job.start, job.end);
            twoSteps = FindReplace::FindRest(job);
          }
          EXPECT_EQ(twoSteps, expected) << caret << " " << wholeWord << " " << nearChars;
        }
      }
    }
  }
}

TEST(FindReplace, AFewOccurrencesInALargeTextAreReplacedOneByOneInOneUndoStep) {
  QString text(500 * 1000, u'-');
  for (const qsizetype p : {10, 250000, 499990}) text.replace(p, 3, QStringLiteral("cat"));
  for (const bool down : {true, false}) {
    TMemoryEdit edit;
    edit.SetText(text);
    edit.SetSelection(down ? 5 : text.size(), 0);
    TSearchOptions options;
    options.findText = QStringLiteral("cat");
    options.down = down;
    const auto plan = FindReplace::PlanReplaceAll(
        FindReplace::ReplaceAllJobFor(edit, options, QStringLiteral("mouse")));
    EXPECT_EQ(plan.starts, (std::vector<qsizetype>{10, 250000, 499990}));
    FindReplace::ApplyReplaceAll(edit, plan);
    QString expected = text;
    expected.replace(QStringLiteral("cat"), QStringLiteral("mouse"));
    EXPECT_TRUE(edit.TextRange(0, edit.PositionCount()) == expected);
    EXPECT_EQ(edit.SelStart(), down ? 499990 + 4 + 5 : 10 + 5);
    edit.Undo();
    EXPECT_TRUE(edit.TextRange(0, edit.PositionCount()) == text);
    EXPECT_FALSE(edit.CanUndo());
  }
}

TEST(FindReplace, TheRestOfALongSearchTellsItsProgressAndStopsWhenAsked) {
  QString text(3 * 1000 * 1000, u'.');
  text.replace(text.size() - 10, 3, QStringLiteral("owl"));
  TMemoryEdit edit;
  edit.SetText(text);
  TSearchOptions options;
  options.findText = QStringLiteral("owl");
  const auto start = FindReplace::FindNear(edit, options, 1000);
  ASSERT_EQ(start.found, -1);
  ASSERT_TRUE(start.rest.has_value());
  FindReplace::TFindJob job = *start.rest;
  EXPECT_EQ(job.end, text.size());
  job.text = edit.TextRange(job.start, job.end);
  std::vector<qint64> done;
  EXPECT_EQ(FindReplace::FindRest(job,
                                  [&](qint64 now, qint64 total) {
                                    EXPECT_EQ(total, text.size() - job.at);
                                    done.push_back(now);
                                    return true;
                                  }),
            text.size() - 10);
  EXPECT_GT(done.size(), 2U);
  EXPECT_TRUE(std::is_sorted(done.begin(), done.end()));
  // Stopped: nothing found, whatever the rest holds.
  int asked = 0;
  EXPECT_EQ(FindReplace::FindRest(job, [&](qint64, qint64) { return ++asked < 2; }), -1);
  EXPECT_EQ(asked, 2);
}
