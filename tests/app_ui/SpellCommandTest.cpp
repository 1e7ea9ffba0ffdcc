// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "AppFixture.h"
#include "spell/ui/AbsSpellDialog.h"
#include "spell/ui/SpellDlg.h"
#include "spell/ui/WordForm.h"

namespace {

// Runs action once, as soon as the spell dialog is on screen; the check waits in its own event
// loop meanwhile, so the action must not block.
void WhenSpellDialogShows(TfrmMain &m, const std::function<void(TAbsSpellDialog *)> &action) {
  auto *poll = new QTimer(&m);
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, poll, [&m, poll, action] {
    TAbsSpellDialog *dialog = m.dlgSpell()->Dialog();
    if (!dialog || !dialog->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    // A moment later, as a user would act: the check is waiting by then.
    QTimer::singleShot(200, dialog, [dialog, action] { action(dialog); });
  });
  poll->start();
}

}  // namespace

TEST_F(AppFixture, SpellCheckFromTheEditMenuReplacesAndEndsWithItsMessage) {
  TfrmMain &m = Start();
  TRichEdit *memo = m.ActiveEdit()->mmoMemo();
  memo->SetText(QStringLiteral("the quick brwn fox"));
  memo->SetModified(false);
  Settle();
  TModalAnswerer answerer({QStringLiteral("OK")});
  QStringList unknown;  // each word the check stopped at
  QString caption;
  auto *poll = new QTimer(&m);
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, poll, [&] {
    TAbsSpellDialog *dialog = m.dlgSpell()->Dialog();
    if (!dialog || !dialog->isVisible() || memo->SelText().isEmpty()) return;
    if (!unknown.isEmpty() && unknown.last() == memo->SelText()) return;
    unknown << memo->SelText();
    caption = dialog->windowTitle();
    // Answered a moment later, as a user would: the dialog is filled in before it waits.
    const bool misspelt = memo->SelText() == QLatin1String("brwn");
    QTimer::singleShot(200, dialog, [dialog, misspelt] {
      if (misspelt) dialog->SetReplacement(QStringLiteral("brown"));
      dialog
          ->findChild<QPushButton *>(misspelt ? QStringLiteral("btnReplace")
                                              : QStringLiteral("btnSkip"))
          ->click();
    });
  });
  poll->start();
  m.Action(QStringLiteral("mniSpell"))->trigger();
  Settle();
  poll->stop();
  EXPECT_EQ(unknown, QStringList{QStringLiteral("brwn")});
  EXPECT_EQ(caption, QStringLiteral("Vellumix - "));  // no dictionary chosen yet
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("the quick brown fox"));
  EXPECT_TRUE(memo->Modified());
  ASSERT_FALSE(answerer.texts.isEmpty());
  EXPECT_TRUE(answerer.texts.last().contains(QLatin1String("Spell checking complete")));

  // Word count of the same document.
  m.Action(QStringLiteral("mniWordCount"))->trigger();
  Settle();
  TWordForm *form = m.dlgSpell()->WordForm();
  ASSERT_TRUE(form);
  auto *words = form->findChild<QLabel *>(QStringLiteral("lblWords"));
  ASSERT_TRUE(words);
  EXPECT_TRUE(words->text().contains(u'4')) << words->text().toStdString();
}

// In the program, whose Alt keys never type into a control, Alt+E of the first dialog style
// still moves to the suggestion list in German, where "&Ersetze" (Replace) has the same
// mnemonic, and Esc then ends the check.
TEST_F(AppFixture, AltEOfTheSpellDialogReachesTheSuggestionsInGerman) {
  TfrmMain &m = Start();
  TRichEdit *memo = m.ActiveEdit()->mmoMemo();
  memo->SetText(QStringLiteral("the brwn fox"));
  memo->SetModified(false);
  m.dlgSpell()->SetLabelLanguage(TSpellDlg::lgGerman);
  Settle();
  TModalAnswerer answerer;
  QWidget *focusAfterAltE = nullptr;
  QString replacementBefore, replacementAfter;
  WhenSpellDialogShows(m, [&](TAbsSpellDialog *dialog) {
    dialog->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("edtWord"));
    edit->setFocus();
    replacementBefore = edit->text();
    QTest::keyClick(edit, Qt::Key_E, Qt::AltModifier);
    focusAfterAltE = QApplication::focusWidget();
    replacementAfter = edit->text();
    QTest::keyClick(focusAfterAltE, Qt::Key_Escape);
  });
  m.Action(QStringLiteral("mniSpell"))->trigger();
  Settle();
  ASSERT_TRUE(focusAfterAltE);
  EXPECT_EQ(focusAfterAltE->objectName(), QStringLiteral("lstSuggest"));
  EXPECT_EQ(replacementAfter, replacementBefore);
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("the brwn fox"));  // nothing replaced
  EXPECT_TRUE(answerer.texts.isEmpty());  // ended by Esc: no closing message
  EXPECT_FALSE(m.dlgSpell()->Dialog()->isVisible());
}

TEST_F(AppFixture, ClosingTheDocumentDuringASpellCheckEndsItAndStillAsksToSave) {
  TfrmMain &m = Start();
  TfrmEdit *edit = m.ActiveEdit();
  edit->mmoMemo()->SetText(QStringLiteral("a wrnog word"));
  edit->mmoMemo()->SetModified(true);  // unsaved changes before the check
  Settle();
  TModalAnswerer answerer({QStringLiteral("&No")});
  WhenSpellDialogShows(m, [&](TAbsSpellDialog *) {
    m.SubWindowOf(edit)->close();  // the close question comes while the check waits
  });
  m.Action(QStringLiteral("mniSpell"))->trigger();
  Settle();
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_EQ(answerer.texts[0],
            QStringLiteral("Vellumix\n----------------\nSave Changes to 'untitled.txt'\"?"));
  EXPECT_TRUE(m.EditWindows().isEmpty());
}

TEST_F(AppFixture, ExitDuringASpellCheckEndsItAfterTheSaveQuestion) {
  TfrmMain &m = Start();
  TfrmEdit *edit = m.ActiveEdit();
  edit->mmoMemo()->SetText(QStringLiteral("a wrnog word"));
  edit->mmoMemo()->SetModified(true);
  Settle();
  TModalAnswerer answerer({QStringLiteral("&No")});
  WhenSpellDialogShows(m, [&](TAbsSpellDialog *) { m.close(); });
  m.Action(QStringLiteral("mniSpell"))->trigger();
  Settle();
  EXPECT_EQ(answerer.texts.size(), 1);  // the save question, then no message from the check
  EXPECT_TRUE(m.EditWindows().isEmpty());
  EXPECT_FALSE(m.isVisible());
  ASSERT_TRUE(m.dlgSpell()->Dialog());
  EXPECT_FALSE(m.dlgSpell()->Dialog()->isVisible());
  EXPECT_FALSE(m.dlgSpell()->Engine().Checking());
}

// A long count, and the document window closed (by itself, or by Exit) while it runs: the
// count stops at once, its window goes, and nothing touches the closed document.
class WordCountClosing : public AppFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(WordCountClosing, EndsTheCount) {
  const bool exitProgram = GetParam();
  TfrmMain &m = Start();
  TfrmEdit *edit = m.ActiveEdit();
  constexpr int kWords = 2000000;
  edit->mmoMemo()->SetText(QStringLiteral("ab ").repeated(kWords));
  edit->mmoMemo()->SetModified(false);
  Settle();
  // Closed as soon as the count shows its first numbers, however fast the build counts.
  QTimer watch;
  watch.setInterval(0);
  QObject::connect(&watch, &QTimer::timeout, &m, [&] {
    TWordForm *running = m.dlgSpell()->WordForm();
    if (!running || !running->isVisible() || running->WordsText().toInt() <= 0) return;
    watch.stop();
    if (exitProgram)
      m.close();
    else
      m.SubWindowOf(edit)->close();
  });
  watch.start();
  m.Action(QStringLiteral("mniWordCount"))->trigger();
  watch.stop();
  Settle();
  EXPECT_TRUE(m.EditWindows().isEmpty());
  EXPECT_EQ(m.isVisible(), !exitProgram);
  TWordForm *form = m.dlgSpell()->WordForm();
  ASSERT_TRUE(form);
  EXPECT_FALSE(form->isVisible());
  EXPECT_LT(form->WordsText().toInt(), kWords);  // stopped before the end
}

INSTANTIATE_TEST_SUITE_P(DocumentOrProgram, WordCountClosing, ::testing::Values(false, true));
