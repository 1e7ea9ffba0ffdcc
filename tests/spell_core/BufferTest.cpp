// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

#include "documents/core/MemoryEdit.h"
#include "platform/core/CodePage.h"
#include "spell/core/CEBuffer.h"
#include "spell/core/PCharBuffer.h"

namespace {

// Every word of a buffer, in Unicode, with the messages it showed.
struct TScan {
  QStringList words;
  QStringList messages;
};

TScan ScanAll(TAbsBuffer &buffer) {
  TScan scan;
  buffer.SetMessageBox([&scan](const QString &text) { scan.messages << text; });
  for (QByteArray word = buffer.NextWord(); !word.isEmpty(); word = buffer.NextWord())
    scan.words << CodePage::FromOem437(word);
  return scan;
}

QStringList Words(const QString &text, bool skipMarkup = false) {
  TPCharBuffer buffer(CodePage::ToOem437(text));
  buffer.SetSkipMarkup(skipMarkup);
  return ScanAll(buffer).words;
}

TEST(BufferTest, WordCharacters) {
  EXPECT_EQ(Words(QStringLiteral("don't e-mail 'quoted'")),
            (QStringList{"don't", "e", "mail", "'quoted'"}));
  EXPECT_EQ(Words(QStringLiteral("  Élan, niño!\r\n(x)")),
            (QStringList{QStringLiteral("Élan"), QStringLiteral("niño"), "x"}));
  // Characters outside the word set of code page 437 separate words.
  EXPECT_EQ(Words(QStringLiteral("a½b ã")), (QStringList{"a", "b", "a"}));
  EXPECT_TRUE(Words(QString()).isEmpty());
  EXPECT_TRUE(Words(QStringLiteral(" .,;\t\r\n")).isEmpty());
}

// German words keep their sharp s, and the typographic apostrophes the editor gets from
// Windows-1252 texts (0x91, 0x92) work as the apostrophe does.
TEST(BufferTest, SharpSAndTypographicApostrophesBelongToWords) {
  EXPECT_EQ(Words(QStringLiteral("Straße, Fuß.")),
            (QStringList{QStringLiteral("Straße"), QStringLiteral("Fuß")}));
  EXPECT_EQ(Words(QStringLiteral("isn\u2019t \u2018quoted\u2019")),
            (QStringList{"isn't", "'quoted'"}));
  EXPECT_EQ(CodePage::AnsiToOem("isn\x92t \x91q\x92 Fu\xDF"), QByteArray("isn't 'q' Fu\xE1"));
  // Double typographic quotes are no apostrophes: they still separate words.
  EXPECT_EQ(Words(QStringLiteral("\u201Cno\u201D")), QStringList{"no"});
}

TEST(BufferTest, DigitsOnlyAndBounds) {
  TPCharBuffer buffer(QByteArray("abc123 1999"));
  EXPECT_EQ(buffer.NextWord(), QByteArray("abc123"));
  EXPECT_FALSE(buffer.DigitsOnly());
  EXPECT_EQ(buffer.WordStart(), 1);
  EXPECT_EQ(buffer.WordEnd(), 7);
  EXPECT_EQ(buffer.NextWord(), QByteArray("1999"));
  EXPECT_TRUE(buffer.DigitsOnly());
  EXPECT_EQ(buffer.WordStart(), 8);
  EXPECT_EQ(buffer.WordEnd(), 12);
  EXPECT_TRUE(buffer.NextWord().isEmpty());
}

TEST(BufferTest, MarkupSkipping) {
  EXPECT_EQ(Words(QStringLiteral("<b>Helo</b>"), true), QStringList{"Helo"});
  EXPECT_EQ(Words(QStringLiteral("<b>Helo</b>"), false), (QStringList{"b", "Helo", "b"}));
  EXPECT_EQ(Words(QStringLiteral("a &amp; b"), true), (QStringList{"a", "amp", "b"}));
  // Tags do not nest, and an unclosed tag runs to the end of the text.
  EXPECT_EQ(Words(QStringLiteral("<a <b> c>d"), true), (QStringList{"c", "d"}));
  EXPECT_EQ(Words(QStringLiteral("one <two three"), true), QStringList{"one"});
}

TEST(BufferTest, LongRunsEndTheScan) {
  const QString word49(49, u'a');
  TPCharBuffer ok(CodePage::ToOem437(QString(word49 + QStringLiteral(" next"))));
  const TScan fine = ScanAll(ok);
  EXPECT_EQ(fine.words, (QStringList{word49, "next"}));
  EXPECT_TRUE(fine.messages.isEmpty());

  const QString run50(50, u'b');
  TPCharBuffer bad(
      CodePage::ToOem437(QString(QStringLiteral("first ") + run50 + QStringLiteral(" later"))));
  const TScan aborted = ScanAll(bad);
  EXPECT_EQ(aborted.words, QStringList{"first"});
  EXPECT_EQ(aborted.messages,
            QStringList{QStringLiteral("Aborting spell check (Invalid word): \r") + run50});
  EXPECT_TRUE(bad.NextWord().isEmpty());  // stays at the end
}

TEST(BufferTest, SelectionMapsLineBreaksOnce) {
  // Two lines of CR LF before the word: text position 30 is control position 27.
  const QString line1 = QStringLiteral("first line here");  // 15 + CR LF
  const QString line2 = QStringLiteral("second one");       // 10 + CR LF
  TMemoryEdit edit(line1 + u'\n' + line2 + QStringLiteral("\nword end"), QStringLiteral("\r\n"));
  TCEBuffer buffer(edit);
  QByteArray word;
  for (int i = 0; i < 6; ++i) word = buffer.NextWord();
  ASSERT_EQ(word, QByteArray("word"));
  EXPECT_EQ(buffer.WordStart(), 30);
  EXPECT_EQ(buffer.LineBreaksPassed(), 2);
  buffer.SelectWord();
  EXPECT_EQ(edit.SelStart(), 27);
  EXPECT_EQ(edit.SelText(), QStringLiteral("word"));

  // With LF line ends positions agree directly.
  TMemoryEdit lf(QStringLiteral("ab\ncd\nword"));
  TCEBuffer lfBuffer(lf);
  for (int i = 0; i < 3; ++i) word = lfBuffer.NextWord();
  lfBuffer.SelectWord();
  EXPECT_EQ(lf.SelText(), QStringLiteral("word"));

  // A character outside the basic plane takes two positions in both.
  TMemoryEdit wide(QStringLiteral("😀 word"));
  TCEBuffer wideBuffer(wide);
  EXPECT_EQ(wideBuffer.NextWord(), QByteArray("word"));
  wideBuffer.SelectWord();
  EXPECT_EQ(wide.SelText(), QStringLiteral("word"));
}

TEST(BufferTest, ReplaceWordResumesAfterTheNewText) {
  TMemoryEdit edit(QStringLiteral("one\nteh cat"), QStringLiteral("\r\n"));
  TCEBuffer buffer(edit);
  buffer.NextWord();
  ASSERT_EQ(buffer.NextWord(), QByteArray("teh"));
  buffer.ReplaceWord(QStringLiteral("the"));
  EXPECT_EQ(edit.Text(), QStringLiteral("one\r\nthe cat"));
  EXPECT_EQ(buffer.NextWord(), QByteArray("cat"));

  // A longer and an empty replacement.
  TMemoryEdit other(QStringLiteral("a bd c"));
  TCEBuffer second(other);
  second.NextWord();
  second.NextWord();
  second.ReplaceWord(QStringLiteral("bread"));
  EXPECT_EQ(second.NextWord(), QByteArray("c"));
  EXPECT_EQ(other.Text(), QStringLiteral("a bread c"));
  TMemoryEdit gone(QStringLiteral("x yy z"));
  TCEBuffer third(gone);
  third.NextWord();
  third.NextWord();
  third.ReplaceWord(QString());
  EXPECT_EQ(gone.Text(), QStringLiteral("x  z"));
  EXPECT_EQ(third.NextWord(), QByteArray("z"));
}

// Replacements patch the buffer's copy in place; its words and the control's selections must
// stay in step with the control through lines, longer and shorter words, line breaks in a
// replacement and edits the buffer has not seen.
TEST(BufferTest, ReplacementsKeepTheCopyInStepWithTheControl) {
  TMemoryEdit edit(QStringLiteral("teh cat\nsat on teh mat\nteh end"), QStringLiteral("\r\n"));
  TCEBuffer buffer(edit);
  const auto nextSelected = [&] {
    QByteArray word = buffer.NextWord();
    buffer.SelectWord();
    EXPECT_EQ(edit.SelText(), QString::fromLatin1(word));
    return word;
  };
  ASSERT_EQ(nextSelected(), QByteArray("teh"));
  buffer.ReplaceWord(QStringLiteral("the big"));
  EXPECT_FALSE(buffer.GetModified());  // its own change is already in the copy
  EXPECT_EQ(nextSelected(), QByteArray("cat"));
  EXPECT_EQ(nextSelected(), QByteArray("sat"));
  EXPECT_EQ(nextSelected(), QByteArray("on"));
  ASSERT_EQ(nextSelected(), QByteArray("teh"));
  buffer.ReplaceWord(QStringLiteral("a\nfat"));  // a line break of its own
  EXPECT_EQ(nextSelected(), QByteArray("mat"));
  ASSERT_EQ(nextSelected(), QByteArray("teh"));
  // The user edits before the word while the dialog waits: the replacement still finds the
  // word, not the text now at its old place, and the scan goes on after it.
  edit.SetSelection(0, 0);
  edit.ReplaceSelection(QStringLiteral("X"));
  EXPECT_TRUE(buffer.GetModified());
  buffer.ReplaceWord(QStringLiteral("the"));
  EXPECT_FALSE(buffer.GetModified());
  EXPECT_EQ(edit.Text(), QStringLiteral("Xthe big cat\r\nsat on a\r\nfat mat\r\nthe end"));
  EXPECT_EQ(nextSelected(), QByteArray("end"));
  EXPECT_EQ(buffer.NextWord(), QByteArray());
}

TEST(BufferTest, AWordMovedOrRemovedByTheUserIsFoundOrLeft) {
  // Of two occurrences the one nearest the old place is taken; a part of a longer word is not.
  TMemoryEdit edit(QStringLiteral("teh one teh two"));
  TCEBuffer buffer(edit);
  buffer.NextWord();
  buffer.NextWord();
  ASSERT_EQ(buffer.NextWord(), QByteArray("teh"));  // the second one, at 9
  edit.SetSelection(4, 0);
  edit.ReplaceSelection(QStringLiteral("steh "));  // a longer word holding it, before it
  buffer.ReplaceWord(QStringLiteral("the"));
  EXPECT_EQ(edit.Text(), QStringLiteral("teh steh one the two"));
  EXPECT_EQ(buffer.NextWord(), QByteArray("two"));

  // The user deleted the word: nothing is replaced and the scan goes on where it was.
  TMemoryEdit gone(QStringLiteral("abc teh xyz"));
  TCEBuffer second(gone);
  second.NextWord();
  ASSERT_EQ(second.NextWord(), QByteArray("teh"));
  gone.SetSelection(4, 3);
  gone.ReplaceSelection(QStringLiteral("ok"));
  second.ReplaceWord(QStringLiteral("the"));
  EXPECT_EQ(gone.Text(), QStringLiteral("abc ok xyz"));
  EXPECT_EQ(second.NextWord(), QByteArray("xyz"));
}

TEST(BufferTest, ReloadAfterAnEditRereadsTheWord) {
  TMemoryEdit edit(QStringLiteral("alpha beta gamma"));
  TCEBuffer buffer(edit);
  buffer.NextWord();
  buffer.NextWord();  // beta; position after it
  edit.SetSelection(0, 0);
  edit.ReplaceSelection(QStringLiteral("new "));  // the text moves right by four
  buffer.LoadText();
  buffer.BackToWordStart();  // now inside "beta"
  EXPECT_EQ(buffer.NextWord(), QByteArray("beta"));
  buffer.SelectWord();
  EXPECT_EQ(edit.SelText(), QStringLiteral("beta"));
}

// A word-count window that records what it was shown and can be closed after some words.
class TRecordingView : public TWordCountView {
 public:
  void ShowCount() override { shown = true; }
  bool IsShown() const override { return shown; }
  void SetCounts(int words, int unique) override {
    last = {words, unique};
    if (++updates == closeAfter) shown = false;
  }
  bool shown = false;
  int updates = 0;
  int closeAfter = -1;
  std::pair<int, int> last;
};

std::pair<int, int> Count(const QString &text) {
  TMemoryEdit edit(text);
  TCEBuffer buffer(edit);
  TRecordingView view;
  return buffer.CountWords(view);
}

TEST(BufferTest, CountWords) {
  EXPECT_EQ(Count(QStringLiteral("one two one ONE")), std::make_pair(4, 2));
  EXPECT_EQ(Count(QStringLiteral("don't stop")), std::make_pair(2, 2));
  EXPECT_EQ(Count(QStringLiteral("e-mail")), std::make_pair(2, 2));
  EXPECT_EQ(Count(QStringLiteral("<b>bold</b>")), std::make_pair(3, 2));
  EXPECT_EQ(Count(QStringLiteral("2024 is 2024")), std::make_pair(3, 2));
  EXPECT_EQ(Count(QString()), std::make_pair(0, 0));

  // The view starts from 0 and shows the running numbers; closing it abandons the count.
  TMemoryEdit edit(QStringLiteral("a b c d e f"));
  TCEBuffer buffer(edit);
  buffer.SetRefreshInterval(0);  // after every word
  TRecordingView view;
  view.closeAfter = 3;  // 0, then a, then b
  EXPECT_EQ(buffer.CountWords(view), std::make_pair(0, 0));
  EXPECT_EQ(view.last, std::make_pair(2, 2));
  view.closeAfter = -1;
  EXPECT_EQ(buffer.CountWords(view), std::make_pair(6, 6));  // a new count starts from 0
  EXPECT_TRUE(view.shown);

  // By default the numbers are shown now and then, and always at the end.
  TCEBuffer unhurried(edit);
  TRecordingView quiet;
  EXPECT_EQ(unhurried.CountWords(quiet), std::make_pair(6, 6));
  EXPECT_EQ(quiet.last, std::make_pair(6, 6));
  EXPECT_LT(quiet.updates, 7);
}

// A word-count window that belongs to an object, as a real window does, and that acts through
// the event loop while the count runs, as the user or the program would.
class TWindowView : public TRecordingView {
 public:
  const QObject *Lifetime() const override { return owner.get(); }
  void SetCounts(int words, int unique) override {
    EXPECT_TRUE(owner) << "the count touched a view that is gone";
    TRecordingView::SetCounts(words, unique);
    if (updates == 2 && meanwhile) QTimer::singleShot(0, meanwhile);
  }
  std::unique_ptr<QObject> owner = std::make_unique<QObject>();
  std::function<void()> meanwhile;  // queued once the first word has been counted
};

TEST(BufferTest, ACountEndsWhenTheProgramQuitsOrItsWindowGoes) {
  TMemoryEdit edit(QStringLiteral("a b c d e f"));
  TCEBuffer buffer(edit);
  buffer.SetRefreshInterval(0);
  {
    TWindowView view;
    view.meanwhile = [] { QCoreApplication::exit(0); };
    EXPECT_EQ(buffer.CountWords(view), std::make_pair(0, 0));
    EXPECT_LE(view.updates, 3) << "ended at the latest on the pass after the quit";
    EXPECT_EQ(buffer.WordCount(), 0);
    // While the program quits, a new count ends at once.
    TWindowView again;
    EXPECT_EQ(buffer.CountWords(again), std::make_pair(0, 0));
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();  // the quitting program's own loop ends; counts run again
  }
  {
    TWindowView view;
    view.meanwhile = [&view] { view.owner.reset(); };
    EXPECT_EQ(buffer.CountWords(view), std::make_pair(0, 0));
    EXPECT_EQ(view.updates, 2);
  }
  TWindowView view;
  EXPECT_EQ(buffer.CountWords(view), std::make_pair(6, 6));
}

}  // namespace
