// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMetaEnum>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <deque>
#include <functional>

#include "DctFiles.h"
#include "ModalAnswerer.h"
#include "TestEnvironment.h"
#include "documents/core/MemoryEdit.h"
#include "documents/ui/RichEdit.h"
#include "spell/ui/AbsSpellDialog.h"
#include "spell/ui/EnterEdit.h"
#include "spell/ui/MSSpellDlg.h"
#include "spell/ui/NewListBox.h"
#include "spell/ui/SpellDlg.h"
#include "spell/ui/WordForm.h"

namespace {

template <typename T>
T *Child(QWidget *parent, const char *name) {
  T *child = parent->findChild<T *>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

// Plays the user at the spell dialog: when the check waits on the expected word, the step's
// action runs (typing, clicking). Steps run in order; what the dialog showed is recorded.
class TUserAtDialog : public QObject {
 public:
  struct TStep {
    QString word;
    std::function<void(TAbsSpellDialog *)> act;
  };

  TUserAtDialog(TSpellDlg &spell, std::deque<TStep> steps)
      : spell_(spell), steps_(std::move(steps)) {
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
    timer_.start();
  }

  QStringList shownWords;
  QStringList statusTexts;
  QStringList selections;  // the control's selected text while each word waited
  TMemoryEdit *edit = nullptr;

 private:
  void Poll() {
    TAbsSpellDialog *dialog = spell_.Dialog();
    if (!dialog || !dialog->isVisible() || !spell_.Engine().Waiting() || steps_.empty()) return;
    if (QApplication::activeModalWidget()) return;  // a message box is being answered
    // Each style shows the word its own way; the third shows it only in the replacement box.
    QString word = dialog->GetReplacement();
    if (auto *label = dialog->findChild<QLabel *>(QStringLiteral("lblNotFound")))
      word = label->text();
    if (auto *box = dialog->findChild<TEnterEdit *>(QStringLiteral("edtCurWord")))
      word = box->text();
    if (word == lastWord_ && spell_.Engine().Waiting() && acted_) return;
    shownWords << word;
    statusTexts << Child<QLabel>(dialog, "lblFound")->text();
    if (edit) selections << edit->SelText();
    const TStep step = steps_.front();
    steps_.pop_front();
    EXPECT_EQ(word, step.word);
    lastWord_ = word;
    acted_ = true;
    step.act(dialog);
  }

  TSpellDlg &spell_;
  std::deque<TStep> steps_;
  QTimer timer_;
  QString lastWord_;
  bool acted_ = false;
};

void Click(TAbsSpellDialog *dialog, const char *button) {
  QTest::mouseClick(Child<QPushButton>(dialog, button), Qt::LeftButton);
}

void TypeReplacement(TAbsSpellDialog *dialog, const QString &text) {
  auto *edit = Child<TEnterEdit>(dialog, "edtWord");
  edit->clear();
  QTest::keyClicks(edit, text);
}

class SpellDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DctFiles::Compile(dir, QStringLiteral("English.dct"),
                      {"hello", "help", "helper", "the", "cat", "sat", "world", "a"});
    spell.SetDictionaryPath(dir);
    spell.SetDictionaryName(QStringLiteral("English.dct"));
    // A path of its own: each test starts without user words.
    spell.SetUserDictionary(dir + QStringLiteral("/USER.DIC"));
  }

  QString dir = TestEnvironment::FreshDir(QStringLiteral("spellui"));
  TSpellDlg spell;
};

TEST_F(SpellDialogTest, CheckThroughTheDialog) {
  EXPECT_EQ(spell.objectName(), QStringLiteral("dlgSpell"));
  TMemoryEdit edit(QStringLiteral("Helo the\nwrld zorp cat"), QStringLiteral("\r\n"));
  TUserAtDialog user(spell,
                     {{QStringLiteral("Helo"),
                       [](TAbsSpellDialog *d) {
                         // The first suggestion is already in the box.
                         EXPECT_EQ(d->GetReplacement(), QStringLiteral("Hello"));
                         TypeReplacement(d, QStringLiteral("Hello"));
                         Click(d, "btnReplace");
                       }},
                      {QStringLiteral("wrld"), [](TAbsSpellDialog *d) { Click(d, "btnSkip"); }},
                      {QStringLiteral("zorp"), [](TAbsSpellDialog *d) { Click(d, "btnAdd"); }}});
  user.edit = &edit;
  TModalAnswerer answers({QStringLiteral("Yes"), QStringLiteral("OK")});
  EXPECT_EQ(spell.CheckEdit(edit), 1);
  EXPECT_EQ(edit.Text(), QStringLiteral("Hello the\r\nwrld zorp cat"));
  EXPECT_EQ(user.shownWords, (QStringList{"Helo", "wrld", "zorp"}));
  EXPECT_EQ(user.statusTexts.value(0), QStringLiteral("Not found:"));
  EXPECT_EQ(user.selections, (QStringList{"Helo", "wrld", "zorp"}));
  EXPECT_EQ(answers.texts,
            (QStringList{"Add \"zorp\" to dictionary?", "Spell checking complete."}));
  EXPECT_FALSE(spell.Dialog()->isVisible());
  EXPECT_TRUE(edit.Modified());
  spell.CloseDictionary();
  EXPECT_TRUE(TestEnvironment::ReadFile(dir + QStringLiteral("/USER.DIC")).contains("zorp"));
}

TEST_F(SpellDialogTest, EndingsAndClose) {
  // A clean text: the no-error message, result 0, the dialog shown and put away again.
  TMemoryEdit clean(QStringLiteral("the cat sat"));
  TModalAnswerer answers({QStringLiteral("OK")});
  EXPECT_EQ(spell.CheckEdit(clean), 0);
  EXPECT_EQ(answers.texts, QStringList{"No errors found. Spell checking complete..."});
  EXPECT_FALSE(spell.Dialog()->isVisible());

  // Close on a word: result 2, no message, text unchanged.
  TMemoryEdit text(QStringLiteral("wrld the"));
  TUserAtDialog user(spell,
                     {{QStringLiteral("wrld"), [](TAbsSpellDialog *d) { Click(d, "btnClose"); }}});
  EXPECT_EQ(spell.CheckEdit(text), 2);
  EXPECT_EQ(answers.texts.size(), 1);
  EXPECT_EQ(text.Text(), QStringLiteral("wrld the"));

  // Closing the window itself counts as Close.
  TUserAtDialog closer(spell, {{QStringLiteral("wrld"), [](TAbsSpellDialog *d) { d->close(); }}});
  EXPECT_EQ(spell.CheckEdit(text), 2);

  // A missing dictionary: the error names the file; result 2.
  spell.CloseDictionary();
  spell.SetDictionaryName(QStringLiteral("Nothing.dct"));
  answers.Add(QStringLiteral("OK"));
  EXPECT_EQ(spell.CheckEdit(text), 2);
  EXPECT_EQ(answers.texts.size(), 2);
  EXPECT_EQ(answers.texts.value(1),
            QStringLiteral("Error opening dictionary ") + dir + QStringLiteral("/Nothing.dct"));
  EXPECT_EQ(answers.titles.value(1), QStringLiteral("Error"));
}

// Replacement choices through the real dialog: a change of letter case alone, the word left
// as it is, an empty replacement, Skip Always until the lists are reset, and an edit made
// while the dialog waits.
TEST_F(SpellDialogTest, ReplacementChoicesAndAnEditWhileWaiting) {
  spell.SetAutoSuggest(false);
  TMemoryEdit edit(QStringLiteral("paris wrld zorp qux zorp cat"));
  TUserAtDialog user(
      spell, {{QStringLiteral("paris"),
               [](TAbsSpellDialog *d) {
                 TypeReplacement(d, QStringLiteral("Paris"));  // letter case only: no change
                 Click(d, "btnReplace");
               }},
              {QStringLiteral("wrld"), [](TAbsSpellDialog *d) { Click(d, "btnReplace"); }},
              {QStringLiteral("zorp"), [](TAbsSpellDialog *d) { Click(d, "btnSkipAll"); }},
              {QStringLiteral("qux"), [&edit](TAbsSpellDialog *d) {
                 // The user types at the start of the document, then deletes the word.
                 edit.SetSelection(0, 0);
                 edit.ReplaceSelection(QStringLiteral("In "));
                 TypeReplacement(d, QString());
                 Click(d, "btnReplace");
               }}});
  TModalAnswerer answers({QStringLiteral("OK")});
  EXPECT_EQ(spell.CheckEdit(edit), 1);  // replacements were chosen, even if none changed text
  EXPECT_EQ(edit.Text(), QStringLiteral("In paris wrld zorp  zorp cat"));
  EXPECT_EQ(user.shownWords, (QStringList{"paris", "wrld", "zorp", "qux"}));  // zorp once
  EXPECT_EQ(answers.texts, QStringList{"Spell checking complete."});

  // Skip Always lasts for later checks until the lists are reset (a new dictionary).
  TMemoryEdit again(QStringLiteral("zorp"));
  answers.Add(QStringLiteral("OK"));
  EXPECT_EQ(spell.CheckEdit(again), 0);
  spell.ResetLists();
  TUserAtDialog later(spell,
                      {{QStringLiteral("zorp"), [](TAbsSpellDialog *d) { Click(d, "btnSkip"); }}});
  answers.Add(QStringLiteral("OK"));
  EXPECT_EQ(spell.CheckEdit(again), 0);
  EXPECT_EQ(later.shownWords, QStringList{"zorp"});
}

// An edit control that is a window, as a document's editor is.
class TWindowEdit : public QWidget, public TMemoryEdit {
 public:
  explicit TWindowEdit(const QString &text) : TMemoryEdit(text) {}
};

TEST_F(SpellDialogTest, DocumentClosedDuringTheCheck) {
  auto *edit = new TWindowEdit(QStringLiteral("zorp wrld"));
  spell.SetConfirmAdd(false);
  TUserAtDialog user(spell,
                     {{QStringLiteral("zorp"), [](TAbsSpellDialog *d) { Click(d, "btnAdd"); }},
                      {QStringLiteral("wrld"), [&edit](TAbsSpellDialog *) {
                         delete edit;  // the document window closes
                         edit = nullptr;
                       }}});
  TModalAnswerer answers;
  EXPECT_EQ(spell.CheckEdit(*edit), 2);
  EXPECT_EQ(edit, nullptr);
  EXPECT_TRUE(answers.texts.isEmpty());
  EXPECT_FALSE(spell.Dialog()->isVisible());
  EXPECT_FALSE(spell.Engine().Checking());
  // The word added before the window closed is saved.
  EXPECT_TRUE(TestEnvironment::ReadFile(dir + QStringLiteral("/USER.DIC")).contains("zorp"));
}

TEST_F(SpellDialogTest, ChangingTheStyleDuringTheCheckEndsItAsClosed) {
  // The preferences choose another dialog style while a word waits: the dialog on screen is
  // replaced, and the check that waited on it ends instead of waiting on for good.
  TRichEdit edit;
  edit.SetText(QStringLiteral("the wrld sat"));
  TModalAnswerer answers;
  bool stuck = false;
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [&] {
    stuck = true;
    spell.Engine().Abandon(false);
  });
  TUserAtDialog user(spell, {{QStringLiteral("wrld"), [&](TAbsSpellDialog *) {
                                spell.SetDialogStyle(TSpellDlg::dtMSWord);
                                watchdog.start(60000);
                              }}});
  EXPECT_EQ(spell.CheckEdit(edit), 2);
  EXPECT_FALSE(stuck);
  EXPECT_FALSE(spell.Engine().Checking());
  EXPECT_TRUE(answers.texts.isEmpty());
  EXPECT_EQ(edit.Text(), QStringLiteral("the wrld sat"));
  // The next check runs in the new style.
  TUserAtDialog next(spell, {{QStringLiteral("wrld"), [](TAbsSpellDialog *d) {
                                EXPECT_TRUE(qobject_cast<TMSSpellDlg *>(d));
                                Click(d, "btnClose");
                              }}});
  EXPECT_EQ(spell.CheckEdit(edit), 2);
}

TEST_F(SpellDialogTest, ControlsOfTheDialog) {
  TAbsSpellDialog *dialog = spell.Dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Spell Checker"));
  EXPECT_EQ(dialog->size(), QSize(412, 224));
  EXPECT_EQ(Child<QPushButton>(dialog, "btnSkipAll")->text(), QStringLiteral("Skip A&lways"));
  for (const char *button :
       {"btnReplace", "btnAdd", "btnSkip", "btnSkipAll", "btnSuggest", "btnClose"})
    EXPECT_FALSE(Child<QPushButton>(dialog, button)->icon().isNull()) << button;

  // Accent panel: the list is 161 high without it, 138 with it, however often toggled.
  auto *list = Child<TNewListBox>(dialog, "lstSuggest");
  auto *label = Child<QLabel>(dialog, "lblSuggestions");
  for (int round = 0; round < 2; ++round) {
    spell.SetAccentIcons(acSpanish);
    EXPECT_EQ(list->height(), 138);
    EXPECT_EQ(label->y(), 95);
    spell.SetAccentIcons(0);
    EXPECT_EQ(list->height(), 161);
    EXPECT_EQ(label->y(), 72);
  }
  spell.SetAccentIcons(acSpanish);
  dialog->show();
  auto *edit = Child<TEnterEdit>(dialog, "edtWord");
  edit->setText(QStringLiteral("ma"));
  edit->setCursorPosition(2);
  QTest::mouseClick(Child<QToolButton>(dialog, "btnN"), Qt::LeftButton);
  EXPECT_EQ(edit->text(), QStringLiteral("mañ"));

  // Ctrl+Down and Ctrl+Up on the replacement.
  edit->setText(QStringLiteral("hELLO"));
  QTest::keyClick(edit, Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(edit->text(), QStringLiteral("Hello"));
  QTest::keyClick(edit, Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(edit->text(), QStringLiteral("HELLO"));

  // Completions while typing; Backspace leaves the list as it was.
  spell.Engine().OpenDictionary(nullptr);
  edit->clear();
  QTest::keyClicks(edit, QStringLiteral("hel"));
  EXPECT_EQ(list->count(), 3);  // hello, help, helper
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_TRUE(edit->text().isEmpty());
  EXPECT_EQ(list->count(), 3);

  // Labels in another language, and English from the table (no colon).
  spell.SetLabelLanguage(TSpellDlg::lgGerman);
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Rechtschreibprüfung"));
  EXPECT_EQ(Child<QPushButton>(dialog, "btnClose")->text(), QStringLiteral("Schließen"));
  spell.SetLabelLanguage(TSpellDlg::lgEnglish);
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Rechtschreibprüfung"));  // kept for English
  EXPECT_EQ(Child<QLabel>(dialog, "lblReplace")->text(), QStringLiteral("Replace &With"));
  spell.SetDialogCaption(QStringLiteral("Vellumix - English"));
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Vellumix - English"));

  // Without glyphs the buttons lose their pictures, also in a new dialog.
  spell.SetShowGlyphs(false);
  spell.SetDialogStyle(TSpellDlg::dtWordPerfect);
  EXPECT_TRUE(Child<QPushButton>(spell.Dialog(), "btnReplace")->icon().isNull());
  EXPECT_EQ(spell.property("DialogStyle").toInt(), int(TSpellDlg::dtWordPerfect));
  // A suggestion count below one is refused with a message and becomes one.
  TModalAnswerer answers({QStringLiteral("OK")});
  spell.SetSuggestions(0);
  EXPECT_EQ(answers.texts, QStringList{QStringLiteral("Invalid number of suggestions.")});
  EXPECT_EQ(spell.Suggestions(), 1);
  spell.SetSuggestions(1000);
  EXPECT_EQ(spell.Suggestions(), 255);
  EXPECT_TRUE(spell.setProperty("LabelLanguage", int(TSpellDlg::lgDutch)));
  EXPECT_EQ(spell.LabelLanguage(), TSpellDlg::lgDutch);
}

// The keys and the mouse on the first style, as the user meets them in each label language.
TEST_F(SpellDialogTest, KeysAndDoubleClicksOfTheFirstStyle) {
  TAbsSpellDialog *dialog = spell.Dialog();
  spell.Engine().OpenDictionary(nullptr);
  dialog->show();
  dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
  auto *edit = Child<TEnterEdit>(dialog, "edtWord");
  auto *list = Child<TNewListBox>(dialog, "lstSuggest");
  QSignalSpy commands(dialog, &TAbsSpellDialog::CommandChosen);

  // Alt+E goes to the suggestions and Alt+W back to the replacement, whatever the captions'
  // mnemonics (German's "&Ersetze" is not pressed); Alt with another letter types nothing.
  const QMetaEnum languages = QMetaEnum::fromType<TSpellDlg::TLanguages>();
  for (int language = 0; language < languages.keyCount(); ++language) {
    spell.SetLabelLanguage(TSpellDlg::TLanguages(languages.value(language)));
    const char *name = languages.key(language);
    edit->setFocus();
    edit->setText(QStringLiteral("word"));
    QTest::keyClick(edit, Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), list) << name;
    QTest::keyClick(list, Qt::Key_W, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), edit) << name;
    QTest::keyClick(edit, Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(edit->text(), QStringLiteral("word")) << name;
  }
  EXPECT_TRUE(commands.isEmpty());

  // Quick suggestions follow typed letters and digits only while no Shift, Alt or Ctrl is held.
  edit->clear();
  QTest::keyClicks(edit, QStringLiteral("hel"));
  EXPECT_EQ(list->count(), 3);  // hello, help, helper
  QTest::keyClick(edit, Qt::Key_P, Qt::ShiftModifier);
  EXPECT_EQ(list->count(), 3);
  QTest::keyClick(edit, Qt::Key_E);
  EXPECT_EQ(list->count(), 1);  // helpe: helper
  edit->setText(QStringLiteral("hel"));
  QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(list->count(), 1);

  // A double-click on the empty list, or below the items, replaces with the box's text; one on
  // an item takes the item first.
  const auto doubleClick = [list](QPoint at) {
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
  };
  list->clear();
  edit->setText(QStringLiteral("typed"));
  doubleClick({10, 10});
  list->addItems({QStringLiteral("first"), QStringLiteral("second")});
  doubleClick({10, list->viewport()->height() - 4});
  EXPECT_EQ(edit->text(), QStringLiteral("typed"));
  doubleClick(list->visualItemRect(list->item(1)).center());
  EXPECT_EQ(edit->text(), QStringLiteral("second"));
  ASSERT_EQ(commands.size(), 3);
  for (const QList<QVariant> &command : commands)
    EXPECT_EQ(command.at(0).toInt(), int(TAbsSpellDialog::cmReplace));

  // Esc is the Close button: the check, not the dialog, decides what follows.
  commands.clear();
  QTest::keyClick(edit, Qt::Key_Escape);
  ASSERT_EQ(commands.size(), 1);
  EXPECT_EQ(commands.at(0).at(0).toInt(), int(TAbsSpellDialog::cmClose));
  EXPECT_TRUE(dialog->isVisible());
}

// German words with a sharp s and words with a typographic apostrophe are checked whole in
// the document's editor, and a replacement takes the place of the whole word.
TEST_F(SpellDialogTest, SharpSAndTypographicApostrophesInTheEditor) {
  DctFiles::Compile(dir, QStringLiteral("German.dct"), {"straße", "isn't", "fuß"});
  spell.SetDictionaryName(QStringLiteral("German.dct"));
  spell.SetAutoSuggest(false);
  TRichEdit edit;
  edit.SetText(QStringLiteral("Straße isn\u2019t Strase Fuß"));
  TUserAtDialog user(spell, {{QStringLiteral("Strase"), [](TAbsSpellDialog *d) {
                                TypeReplacement(d, QStringLiteral("Straße"));
                                Click(d, "btnReplace");
                              }}});
  TModalAnswerer answers({QStringLiteral("OK")});
  EXPECT_EQ(spell.CheckEdit(edit), 1);
  EXPECT_EQ(user.shownWords, QStringList{"Strase"});
  EXPECT_EQ(edit.Text(), QStringLiteral("Straße isn\u2019t Straße Fuß"));
}

// Esc on a word in question ends the check in every style, without a message, the document's
// text as it was.
TEST_F(SpellDialogTest, EscClosesTheCheckInEveryStyle) {
  spell.SetAutoSuggest(false);  // the third style shows the word in the replacement box only
  for (TSpellDlg::TDialogTypes style :
       {TSpellDlg::dtWordPerfect, TSpellDlg::dtMSWord, TSpellDlg::dtWordPro96}) {
    spell.SetDialogStyle(style);
    TRichEdit edit;
    edit.SetText(QStringLiteral("the wrld zorp"));
    TUserAtDialog user(spell, {{QStringLiteral("wrld"), [](TAbsSpellDialog *d) {
                                  QTest::keyClick(Child<TEnterEdit>(d, "edtWord"), Qt::Key_Escape);
                                }}});
    TModalAnswerer answers;
    EXPECT_EQ(spell.CheckEdit(edit), TSpellCheck::crClosed) << style;
    EXPECT_EQ(user.shownWords, QStringList{"wrld"}) << style;
    EXPECT_TRUE(answers.texts.isEmpty()) << style;
    EXPECT_EQ(edit.Text(), QStringLiteral("the wrld zorp")) << style;
    EXPECT_FALSE(spell.Dialog()->isVisible()) << style;
  }
}

TEST_F(SpellDialogTest, SecondStyle) {
  spell.SetDialogStyle(TSpellDlg::dtMSWord);
  TAbsSpellDialog *dialog = spell.Dialog();
  EXPECT_EQ(dialog->objectName(), QStringLiteral("MSSpellDlg"));
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Spelling"));
  EXPECT_EQ(dialog->size(), QSize(512, 242));
  EXPECT_FALSE(Child<QPushButton>(dialog, "btnUndo")->isEnabled());
  auto *list = Child<TNewListBox>(dialog, "lstSuggest");
  spell.SetAccentIcons(acSpanish);
  EXPECT_EQ(list->height(), 114);
  spell.SetAccentIcons(0);
  EXPECT_EQ(list->height(), 137);
  spell.SetLabelLanguage(TSpellDlg::lgFrench);
  EXPECT_EQ(Child<QPushButton>(dialog, "btnClose")->text(), QStringLiteral("Annnuler"));
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Vérification de l'orthographe"));

  // Replace All: later occurrences in any letter case change without the dialog.
  TMemoryEdit edit(QStringLiteral("teh cat Teh TEH"));
  TUserAtDialog user(spell, {{QStringLiteral("teh"), [](TAbsSpellDialog *d) {
                                TypeReplacement(d, QStringLiteral("the"));
                                Click(d, "btnReplaceAll");
                              }}});
  TModalAnswerer answers({QStringLiteral("OK")});
  EXPECT_EQ(spell.CheckEdit(edit), 1);
  EXPECT_EQ(edit.Text(), QStringLiteral("the cat the the"));
  EXPECT_EQ(user.shownWords, QStringList{"teh"});
  EXPECT_EQ(answers.texts, QStringList{QStringLiteral("Vérification de l'orthographe terminée.")});
}

TEST_F(SpellDialogTest, ThirdStyle) {
  spell.SetDialogStyle(TSpellDlg::dtWordPro96);
  spell.SetLabelLanguage(TSpellDlg::lgEnglish);
  TAbsSpellDialog *dialog = spell.Dialog();
  EXPECT_EQ(dialog->objectName(), QStringLiteral("W96SpellDlg"));
  EXPECT_TRUE(dialog->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(dialog->size(), QSize(627, 89));
  auto *list = Child<TNewListBox>(dialog, "lstSuggest");
  spell.SetAccentIcons(acSpanish);
  EXPECT_EQ(list->height(), 48);
  spell.SetAccentIcons(0);
  EXPECT_EQ(list->height(), 71);
  EXPECT_EQ(Child<QPushButton>(dialog, "btnClose")->text(), QStringLiteral("&Done"));

  // Leaving the word box for the list after typing a known word says so and moves to Replace.
  spell.Engine().OpenDictionary(nullptr);
  dialog->show();
  dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
  auto *edit = Child<TEnterEdit>(dialog, "edtWord");
  edit->setFocus();
  edit->setText(QStringLiteral("hello"));
  list->setFocus();
  EXPECT_EQ(Child<QLabel>(dialog, "lblFound")->text(), QStringLiteral("Word Found:"));
  EXPECT_EQ(QApplication::focusWidget(), Child<QPushButton>(dialog, "btnReplace"));
  edit->setFocus();
  edit->setText(QStringLiteral("hellq"));
  list->setFocus();
  EXPECT_EQ(Child<QLabel>(dialog, "lblFound")->text(), QStringLiteral("Word in Question:"));
  dialog->hide();

  // A check through this style (no suggestions, so the box shows the word).
  spell.SetAutoSuggest(false);
  TMemoryEdit text(QStringLiteral("wrld cat"));
  TUserAtDialog user(spell, {{QStringLiteral("wrld"), [](TAbsSpellDialog *d) {
                                TypeReplacement(d, QStringLiteral("world"));
                                Click(d, "btnReplace");
                              }}});
  TModalAnswerer answers({QStringLiteral("OK")});
  EXPECT_EQ(spell.CheckEdit(text), 1);
  EXPECT_EQ(text.Text(), QStringLiteral("world cat"));
}

// The width a control needs to show its text whole, or 0 when it shows no text.
int NeededWidth(const QWidget *widget) {
  const QFontMetrics metrics(widget->font());
  const auto textWidth = [&](QString text) { return metrics.horizontalAdvance(text.remove(u'&')); };
  if (const auto *label = qobject_cast<const QLabel *>(widget)) {
    if (label->text().isEmpty() || label->wordWrap() || !label->pixmap().isNull()) return 0;
    return textWidth(label->text()) + 2 * label->margin();
  }
  const auto *button = qobject_cast<const QAbstractButton *>(widget);
  if (!button || button->text().isEmpty()) return 0;
  const int icon =
      button->icon().isNull() || button->iconSize().isEmpty() ? 0 : button->iconSize().width() + 4;
  if (qobject_cast<const QPushButton *>(button)) return textWidth(button->text()) + icon + 8;
  if (qobject_cast<const QToolButton *>(button)) return textWidth(button->text()) + icon + 2;
  return button->sizeHint().width();  // check boxes and radio buttons
}

// Every label and button of every style shows its whole text in every label language. With
// VELLUMIX_SCREENSHOTS set to a folder, each dialog is saved there as a picture to look at.
TEST_F(SpellDialogTest, EveryTextFitsInEveryStyleAndLanguage) {
  const QString shots = qEnvironmentVariable("VELLUMIX_SCREENSHOTS");
  const QMetaEnum styles = QMetaEnum::fromType<TSpellDlg::TDialogTypes>();
  const QMetaEnum languages = QMetaEnum::fromType<TSpellDlg::TLanguages>();
  for (int style = 0; style < styles.keyCount(); ++style) {
    for (int language = 0; language < languages.keyCount(); ++language) {
      spell.SetDialogStyle(TSpellDlg::TDialogTypes(styles.value(style)));
      spell.SetLabelLanguage(TSpellDlg::TLanguages(languages.value(language)));
      spell.SetAccentIcons(language == TSpellDlg::lgSpanish ? acSpanish : 0);
      TAbsSpellDialog *dialog = spell.Dialog();
      dialog->show();
      ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
      const QString name = QString::fromLatin1(styles.key(style)) + u'-' +
                           QString::fromLatin1(languages.key(language));
      for (QWidget *widget : dialog->findChildren<QWidget *>()) {
        if (!widget->isVisible()) continue;
        const int needed = NeededWidth(widget);
        EXPECT_LE(needed, widget->contentsRect().width())
            << name.toStdString() << ": " << widget->objectName().toStdString() << " \""
            << widget->property("text").toString().toStdString() << "\"";
      }
      // The pictures stay with Show Icons on, and no caption covers one.
      for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
        if (button->icon().isNull()) continue;
        EXPECT_GE(button->iconSize().width(), 12)
            << name.toStdString() << ": " << button->objectName().toStdString();
      }
      if (auto *suggest = dialog->findChild<QToolButton *>(QStringLiteral("SpeedButton1"))) {
        EXPECT_EQ(suggest->geometry(), QRect(5, 8, 25, 25)) << name.toStdString();
        EXPECT_GE(Child<QLabel>(dialog, "lblSpellChk")->x(), 28) << name.toStdString();
      }
      if (!shots.isEmpty()) dialog->grab().save(shots + u'/' + name + QStringLiteral(".png"));
      dialog->hide();
    }
  }
}

// Presses OK in the word-count window as soon as the window shows, from the first event the
// count lets through: a user who dismisses the window at once, however fast the count runs.
class TOkWhenShown : public QObject {
 public:
  explicit TOkWhenShown(TWordForm *form) : form_(form) { form->installEventFilter(this); }

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (watched == form_ && event->type() == QEvent::Show) {
      form_->removeEventFilter(this);
      QTimer::singleShot(0, form_, [form = form_] {
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("btnOk")), Qt::LeftButton);
      });
    }
    return false;
  }

 private:
  TWordForm *form_;
};

TEST_F(SpellDialogTest, WordCount) {
  TRichEdit edit;
  edit.SetText(QStringLiteral("one two one ONE"));
  EXPECT_EQ(spell.CountWords(edit), std::make_pair(4, 2));
  TWordForm *form = spell.WordForm();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Word Count"));
  EXPECT_EQ(form->WordsText(), QStringLiteral("4"));
  EXPECT_EQ(form->UniqueWordsText(), QStringLiteral("2"));
  // Bold captions, regular numbers.
  EXPECT_TRUE(form->findChild<QLabel *>(QStringLiteral("Label1"))->font().bold());
  EXPECT_FALSE(form->findChild<QLabel *>(QStringLiteral("lblWords"))->font().bold());

  // The same window is reused and starts again from 0; OK pressed while the count runs stops
  // it there.
  QString longText;
  for (int i = 0; i < 20000; ++i) longText += QStringLiteral("word%1 ").arg(i % 500);
  TRichEdit big;
  big.SetText(longText);
  QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("btnOk")), Qt::LeftButton);
  ASSERT_FALSE(form->isVisible());
  TOkWhenShown user(form);
  EXPECT_EQ(spell.CountWords(big), std::make_pair(0, 0));
  EXPECT_EQ(spell.WordForm(), form);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(form->WordsText(), QStringLiteral("0"));

  // Word Count again while a count runs does nothing: the running count ends with its own
  // numbers in the window.
  TRichEdit other;
  other.SetText(QStringLiteral("just three words"));
  std::pair<int, int> second{-1, -1};
  QTimer::singleShot(0, [&] { second = spell.CountWords(other); });
  EXPECT_EQ(spell.CountWords(big), std::make_pair(20000, 500));
  EXPECT_EQ(second, std::make_pair(0, 0));
  EXPECT_EQ(form->WordsText(), QStringLiteral("20000"));

  // Mark-up is counted as words.
  TRichEdit markup;
  markup.SetText(QStringLiteral("<b>bold</b>"));
  EXPECT_EQ(spell.CountWords(markup), std::make_pair(3, 2));

  // A 50-character run stops the count with the message, which shows over the numbers
  // reached so far; the window keeps them.
  TRichEdit runaway;
  runaway.SetText(QStringLiteral("one two three two ") + QString(50, u'x') + QStringLiteral(" c"));
  TModalAnswerer answers({QStringLiteral("OK")});
  QStringList numbersUnderTheMessage;
  answers.onAsked = [&](const TMsgAsked &) {
    numbersUnderTheMessage << form->WordsText() << form->UniqueWordsText();
  };
  EXPECT_EQ(spell.CountWords(runaway), std::make_pair(4, 3));
  EXPECT_EQ(answers.texts, QStringList{QStringLiteral("Aborting spell check (Invalid word): \n") +
                                       QString(50, u'x')});
  EXPECT_EQ(numbersUnderTheMessage, (QStringList{"4", "3"}));
  EXPECT_EQ(form->WordsText(), QStringLiteral("4"));
  EXPECT_TRUE(form->isVisible());
}

// After a test made the application quit, lets the event loops run again for the next test.
void RecoverFromQuit() {
  QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
}

TEST_F(SpellDialogTest, QuittingTheProgramEndsACheckAndACountAndEveryLaterWait) {
  TRichEdit edit;
  edit.SetText(QStringLiteral("the wrld sat"));
  edit.SetModified(true);
  TModalAnswerer answers;
  {
    TUserAtDialog user(
        spell, {{QStringLiteral("wrld"), [](TAbsSpellDialog *) { QCoreApplication::exit(0); }}});
    EXPECT_EQ(spell.CheckEdit(edit), 2);
  }
  EXPECT_FALSE(spell.Engine().Checking());
  EXPECT_FALSE(spell.Dialog()->isVisible());
  EXPECT_TRUE(answers.texts.isEmpty()) << "no closing message";
  EXPECT_TRUE(edit.Modified());
  EXPECT_EQ(edit.Text(), QStringLiteral("the wrld sat"));
  // While the program quits, a count that starts ends at once, without its numbers.
  EXPECT_EQ(spell.CountWords(edit), std::make_pair(0, 0));
  RecoverFromQuit();

  // The program told to quit while the check goes through a long text without unknown words:
  // the check ends there, without its closing message.
  TRichEdit clean;
  clean.SetText(QStringLiteral("the cat sat ").repeated(200000));
  QTimer quitWhenChecking;
  quitWhenChecking.setInterval(0);
  QObject::connect(&quitWhenChecking, &QTimer::timeout, &clean, [&] {
    if (!spell.Engine().Checking() || !spell.Dialog()->isVisible()) return;
    quitWhenChecking.stop();
    QCoreApplication::exit(0);
  });
  quitWhenChecking.start();
  EXPECT_EQ(spell.CheckEdit(clean), 2);
  EXPECT_FALSE(quitWhenChecking.isActive());
  EXPECT_FALSE(spell.Dialog()->isVisible());
  EXPECT_FALSE(clean.Modified());
  RecoverFromQuit();

  // A long count, the program told to quit once the count has shown its first numbers.
  TRichEdit big;
  big.SetText(QStringLiteral("ab ").repeated(1000000));
  EXPECT_EQ(spell.CountWords(edit), std::make_pair(3, 3));
  TWordForm *form = spell.WordForm();
  QTimer watch;
  watch.setInterval(0);
  QObject::connect(&watch, &QTimer::timeout, form, [&] {
    if (form->WordsText().toInt() <= 0) return;
    watch.stop();
    QCoreApplication::exit(0);
  });
  watch.start();
  EXPECT_EQ(spell.CountWords(big), std::make_pair(0, 0));
  EXPECT_FALSE(watch.isActive()) << "ended by the quit, not by its end";
  EXPECT_LT(form->WordsText().toInt(), 1000000);
  RecoverFromQuit();
  EXPECT_EQ(spell.CountWords(edit), std::make_pair(3, 3));
  EXPECT_TRUE(answers.texts.isEmpty());
}

}  // namespace
