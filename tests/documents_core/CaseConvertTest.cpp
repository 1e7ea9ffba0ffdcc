// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "documents/core/CaseConvert.h"
#include "documents/core/MemoryEdit.h"

namespace {
QString All(const TMemoryEdit &edit) { return edit.TextRange(0, edit.PositionCount()); }
}  // namespace

TEST(CaseConvert, EveryLetterChangesAndTheLengthStays) {
  // A sharp s has no single upper-case letter in the simple mapping: it stays, so the text
  // keeps its length.
  EXPECT_EQ(MakeUpperCase(QStringLiteral("straße über")), QStringLiteral("STRAßE ÜBER"));
  EXPECT_EQ(MakeLowerCase(QStringLiteral("ÄRGER Über X ΣΟΦΊΑ")),
            QStringLiteral("ärger über x σοφία"));
  EXPECT_EQ(MakeToggleCase(QStringLiteral("Ελλάδα Ünd")), QStringLiteral("εΛΛΆΔΑ üND"));
  // Letters outside the basic plane (Deseret) map in pairs of UTF-16 units.
  EXPECT_EQ(MakeUpperCase(QString::fromUcs4(U"\U00010428x")), QString::fromUcs4(U"\U00010400X"));
  EXPECT_EQ(MakeCapitalized(QStringLiteral("élan")), QStringLiteral("Élan"));
  EXPECT_EQ(MakeToggleCase(QStringLiteral("Hello, World 42")), QStringLiteral("hELLO, wORLD 42"));
  EXPECT_EQ(MakeToggleCase(QString()), QString());
  EXPECT_EQ(MakeCapitalized(QStringLiteral(" word")), QStringLiteral(" word"));
  EXPECT_EQ(MakeCapitalized(QStringLiteral("word IS")), QStringLiteral("Word IS"));
  // The characters just outside the letter ranges stay.
  EXPECT_EQ(MakeToggleCase(QStringLiteral("@[`{")), QStringLiteral("@[`{"));
}

TEST(CaseConvert, TitleCaseStartsWordsAfterAnythingButLettersAndApostrophes) {
  EXPECT_EQ(MakeTitleCase(QStringLiteral("it's a DOG'S life")),
            QStringLiteral("It's A Dog's Life"));
  EXPECT_EQ(MakeTitleCase(QStringLiteral("'quoted")), QStringLiteral("'Quoted"));
  EXPECT_EQ(MakeTitleCase(QStringLiteral("3rd place")), QStringLiteral("3Rd Place"));
  EXPECT_EQ(MakeTitleCase(QStringLiteral("mary-jane")), QStringLiteral("Mary-Jane"));
  EXPECT_EQ(MakeTitleCase(QStringLiteral("caféteria")), QStringLiteral("Caféteria"));
  EXPECT_EQ(MakeTitleCase(QStringLiteral("Grüße über")), QStringLiteral("Grüße Über"));
  // A combining accent belongs to its letter; a typographic apostrophe is an apostrophe.
  EXPECT_EQ(MakeTitleCase(QStringLiteral("cafe\u0301teria o\u2019neil")),
            QStringLiteral("Cafe\u0301teria O\u2019neil"));
  EXPECT_EQ(MakeTitleCase(QStringLiteral("ΣΟΦΊΑ çà")), QStringLiteral("Σοφία Çà"));
  EXPECT_EQ(MakeTitleCase(QStringLiteral("line one\nLINE TWO")),
            QStringLiteral("Line One\nLine Two"));
  EXPECT_EQ(MakeTitleCase(QString()), QString());
}

TEST(CaseConvert, MenuConvertWorksOnTheSelectionAsOneUndoStep) {
  TMemoryEdit edit(QStringLiteral("Hello World"));
  edit.SetSelection(6, 5);
  MenuConvert(edit, int(TConvertKind::Upper));
  EXPECT_EQ(All(edit), QStringLiteral("Hello WORLD"));
  EXPECT_EQ(edit.SelStart(), 11);
  EXPECT_EQ(edit.SelLength(), 0);
  EXPECT_EQ(edit.UndoKind(), TUndoKind::Unknown);
  edit.Undo();
  EXPECT_EQ(All(edit), QStringLiteral("Hello World"));
  EXPECT_FALSE(edit.CanUndo());
}

TEST(CaseConvert, MenuConvertWithoutSelectionConvertsTheWholeTextAndKeepsTheCaret) {
  TMemoryEdit edit(QStringLiteral("one\ntwo THREE"), QStringLiteral("\r\n"));
  edit.SetSelection(5, 0);
  MenuConvert(edit, int(TConvertKind::Lower));
  EXPECT_EQ(edit.Text(), QStringLiteral("one\r\ntwo three"));
  EXPECT_EQ(edit.SelStart(), 5);
  MenuConvert(edit, int(TConvertKind::Title));
  EXPECT_EQ(All(edit), QStringLiteral("One\nTwo Three"));
  MenuConvert(edit, int(TConvertKind::Toggle));
  EXPECT_EQ(All(edit), QStringLiteral("oNE\ntWO tHREE"));
  // Each conversion is one step: three undos give the original back.
  edit.Undo();
  edit.Undo();
  edit.Undo();
  EXPECT_EQ(All(edit), QStringLiteral("one\ntwo THREE"));
  EXPECT_FALSE(edit.CanUndo());
  EXPECT_FALSE(edit.Modified());
}

TEST(CaseConvert, MenuConvertLeavesTextAloneWhenThereIsNothingToDo) {
  TMemoryEdit edit(QStringLiteral("already lower"));
  MenuConvert(edit, int(TConvertKind::Lower));
  MenuConvert(edit, int(TConvertKind::Capitalize));  // needs a selection
  MenuConvert(edit, 7);                              // no such command
  EXPECT_FALSE(edit.CanUndo());
  EXPECT_FALSE(edit.Modified());
  TMemoryEdit empty;
  MenuConvert(empty, int(TConvertKind::Title));
  EXPECT_EQ(empty.Text(), QString());
}

TEST(CaseConvert, ALongTextIsConvertedInSlicesThatKeepWordsAndPairsWhole) {
  // A word across the edge of the first slice (a quarter of a million characters), and a
  // letter of two UTF-16 units right on the edge of the second.
  constexpr qsizetype kSlice = 1 << 18;
  QString text(3 * kSlice, u'a');
  for (qsizetype i = 0; i < text.size(); i += 100) text[i] = u' ';
  text.replace(kSlice - 2, 4, QStringLiteral("wxyz"));
  const QString deseret = QString::fromUcs4(U"\U00010400");
  text.replace(2 * kSlice - 1, 2, deseret);
  std::vector<qint64> told;
  const QString title = MakeTitleCase(text, [&](qint64 done, qint64 total) {
    EXPECT_EQ(total, text.size());
    told.push_back(done);
    return true;
  });
  EXPECT_EQ(told, (std::vector<qint64>{0, kSlice, 2 * kSlice + 1}));
  EXPECT_EQ(title.size(), text.size());
  EXPECT_EQ(title.mid(kSlice - 2, 4), QStringLiteral("wxyz"));  // inside a word
  EXPECT_EQ(title.mid(2 * kSlice - 1, 2), QString::fromUcs4(U"\U00010428"));
  EXPECT_EQ(title[1], u'A');
  EXPECT_EQ(MakeUpperCase(text).mid(2 * kSlice - 1, 2), deseret);

  // Stopped after the first slice: asked once more, then nothing more is done.
  int asked = 0;
  MakeLowerCase(text, [&](qint64, qint64) { return ++asked < 2; });
  EXPECT_EQ(asked, 2);
}

TEST(CaseConvert, AConversionInStepsPutsItsResultWhereTheSelectionWas) {
  TMemoryEdit edit;
  edit.SetText(QStringLiteral("one two three"));
  edit.SetSelection(4, 3);
  const auto job = CaseJobFor(edit, 1);
  ASSERT_TRUE(job);
  // The caret moved while the text was converted elsewhere.
  edit.SetSelection(0, 0);
  ApplyCaseJob(edit, *job, ConvertText(job->kind, job->text));
  EXPECT_EQ(All(edit), QStringLiteral("one TWO three"));
  EXPECT_FALSE(CaseJobFor(edit, 2));  // Capitalize needs a selection
  EXPECT_FALSE(CaseJobFor(edit, 5));
}
