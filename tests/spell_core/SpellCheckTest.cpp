// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <deque>

#include "DctFiles.h"
#include "TestEnvironment.h"
#include "documents/core/MemoryEdit.h"
#include "spell/core/Dictionary.h"
#include "spell/core/SpellCheck.h"
#include "spell/core/SpellDialogPort.h"
#include "spell/core/SpellErrors.h"

namespace {

// A dialog that answers each unknown word from a script, from a fresh event while the check
// waits (the way a user's click arrives), and records everything it was shown.
class TScriptedDialog : public TSpellDialogPort {
 public:
  struct TAnswer {
    int command;
    QString replacement;  // null: leave the box as the check filled it
  };
  std::deque<TAnswer> script;
  std::deque<bool> confirmAnswers;
  QStringList asked;     // the words shown as misspelt
  QStringList messages;  // information and error boxes
  QStringList questions;
  std::function<void()> whileWaiting;  // runs before the answer (the user acting meanwhile)
  bool shown = false;
  bool silent = false;

  void SetStatusText(const QString &text) override { status = text; }
  void SetMisspeltWord(const QString &text) override { misspelt = text; }
  void SetReplacement(const QString &text) override { replacement = text; }
  QString GetReplacement() const override { return replacement; }
  void FocusReplacement() override {
    if (Command() != cmNone) return;  // after Add: no new answer is due
    asked << misspelt;
    QTimer::singleShot(0, [this] {
      if (whileWaiting) whileWaiting();
      if (silent) return;  // the user does nothing
      if (script.empty()) {
        shown = false;  // the user closes the window
        Wake();
        return;
      }
      const TAnswer answer = script.front();
      script.pop_front();
      if (!answer.replacement.isNull()) replacement = answer.replacement;
      SetCommand(answer.command);
    });
  }
  void ClearSuggestions() override {}
  void FillSuggestions() override { ++fills; }
  bool IsShown() const override { return shown; }
  void ShowDialog() override { shown = true; }
  void ShiftFor(int) override {}
  void CloseDialog() override { shown = false; }
  void BringToFront() override {}
  void ErrorBox(const QString &text) override { messages << text; }
  void InformationBox(const QString &text) override { messages << text; }
  bool ConfirmBox(const QString &text) override {
    questions << text;
    const bool yes = confirmAnswers.empty() || confirmAnswers.front();
    if (!confirmAnswers.empty()) confirmAnswers.pop_front();
    return yes;
  }

  QString status, misspelt, replacement;
  int fills = 0;
};

const QString kClean = QStringLiteral("No errors found. Spell checking complete...");
const QString kReplaced = QStringLiteral("Spell checking complete.");

class SpellCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DctFiles::Compile(dir, QStringLiteral("English.dct"),
                      {"the", "cat", "sat", "on", "mat", "paris", "hello", "world"});
    check.Options().dictionaryPath = dir;
    check.Options().dictionaryName = QStringLiteral("English.dct");
    // A path of its own: each test starts without user words.
    check.Options().userDictionary = dir + QStringLiteral("/USER.DIC");
  }

  int Run(TMemoryEdit &edit) { return check.CheckEdit(edit, dialog); }

  QString dir = TestEnvironment::FreshDir(QStringLiteral("check"));
  TSpellCheck check;
  TScriptedDialog dialog;
};

TEST_F(SpellCheckTest, CleanTextAndSkippedWords) {
  TMemoryEdit edit(QStringLiteral("The cat sat on the mat x 1999 a"));
  edit.SetSelection(4, 3);
  EXPECT_EQ(Run(edit), TSpellCheck::crClean);
  EXPECT_TRUE(dialog.asked.isEmpty());
  EXPECT_EQ(dialog.messages, QStringList{kClean});
  EXPECT_EQ(edit.SelStart(), 4);  // the user's selection comes back
  EXPECT_EQ(edit.SelLength(), 3);
  EXPECT_FALSE(dialog.shown);

  // Skip and Skip Always give the no-replacement message too; 2nd is checked.
  TMemoryEdit other(QStringLiteral("qwerty 2nd the qwerty"));
  dialog.messages.clear();
  dialog.script = {{TSpellDialogPort::cmSkipAlways, {}}, {TSpellDialogPort::cmSkip, {}}};
  EXPECT_EQ(Run(other), TSpellCheck::crClean);
  EXPECT_EQ(dialog.asked, (QStringList{"qwerty", "2nd"}));
  EXPECT_EQ(dialog.messages, QStringList{kClean});
  // Skip Always lasts into the next check until the lists are reset.
  dialog.asked.clear();
  dialog.script = {{TSpellDialogPort::cmSkip, {}}};
  Run(other);
  EXPECT_EQ(dialog.asked, QStringList{"2nd"});
  check.ResetLists();
  dialog.asked.clear();
  dialog.script = {{TSpellDialogPort::cmSkip, {}},
                   {TSpellDialogPort::cmSkip, {}},
                   {TSpellDialogPort::cmSkip, {}}};
  Run(other);
  EXPECT_EQ(dialog.asked, (QStringList{"qwerty", "2nd", "qwerty"}));
}

TEST_F(SpellCheckTest, ReplaceCases) {
  TMemoryEdit edit(QStringLiteral("teh cat\nsat on teh mat"), QStringLiteral("\r\n"));
  dialog.script = {{TSpellDialogPort::cmReplace, QStringLiteral("the")},
                   {TSpellDialogPort::cmReplace, QStringLiteral("teh")}};  // unchanged
  EXPECT_EQ(Run(edit), TSpellCheck::crReplaced);
  EXPECT_EQ(edit.Text(), QStringLiteral("the cat\r\nsat on teh mat"));
  EXPECT_EQ(dialog.messages, QStringList{kReplaced});
  EXPECT_TRUE(edit.Modified());

  // A change of letter case alone is not made; an empty replacement deletes the word.
  TMemoryEdit cased(QStringLiteral("Paris hellp worlx"));
  check.Options().dictionaryName = QStringLiteral("English.dct");
  DctFiles::Compile(dir, QStringLiteral("Cased.dct"), {"hello"});
  check.CloseDictionary();
  check.Options().dictionaryName = QStringLiteral("Cased.dct");
  dialog.script = {{TSpellDialogPort::cmReplace, QStringLiteral("PARIS")},
                   {TSpellDialogPort::cmReplace, QStringLiteral("hello")},
                   {TSpellDialogPort::cmReplace, QStringLiteral("")}};
  EXPECT_EQ(Run(cased), TSpellCheck::crReplaced);
  EXPECT_EQ(cased.Text(), QStringLiteral("Paris hello "));
}

TEST_F(SpellCheckTest, ReplaceAllLastsOneCheck) {
  TMemoryEdit edit(QStringLiteral("teh cat, Teh mat, TEH end"));
  dialog.script = {{TSpellDialogPort::cmReplaceAll, QStringLiteral("the")},
                   {TSpellDialogPort::cmSkip, {}}};  // "end"
  EXPECT_EQ(Run(edit), TSpellCheck::crReplaced);
  EXPECT_EQ(edit.Text(), QStringLiteral("the cat, the mat, the end"));
  EXPECT_EQ(dialog.asked, (QStringList{"teh", "end"}));

  // The pair is gone in the next check.
  TMemoryEdit again(QStringLiteral("teh"));
  dialog.asked.clear();
  dialog.script = {{TSpellDialogPort::cmSkip, {}}};
  EXPECT_EQ(Run(again), TSpellCheck::crClean);
  EXPECT_EQ(dialog.asked, QStringList{"teh"});
  EXPECT_EQ(again.Text(), QStringLiteral("teh"));
}

TEST_F(SpellCheckTest, AddWords) {
  TMemoryEdit edit(QStringLiteral("zorp blix zorp blix"));
  dialog.confirmAnswers = {false, true};
  dialog.script = {
      {TSpellDialogPort::cmAdd, {}}, {TSpellDialogPort::cmAdd, {}}, {TSpellDialogPort::cmSkip, {}}};
  EXPECT_EQ(Run(edit), TSpellCheck::crClean);
  EXPECT_EQ(dialog.questions,
            (QStringList{"Add \"zorp\" to dictionary?", "Add \"blix\" to dictionary?"}));
  // "zorp" (answered No) is asked again; "blix" (Yes) is known from then on.
  EXPECT_EQ(dialog.asked, (QStringList{"zorp", "blix", "zorp"}));
  // The added word reached the user dictionary file.
  check.CloseDictionary();
  EXPECT_TRUE(TestEnvironment::ReadFile(dir + QStringLiteral("/USER.DIC")).contains("blix"));

  // Add on a word that became known while the dialog waited says so and adds nothing;
  // without ConfirmAdd a word is added at once.
  TMemoryEdit known(QStringLiteral("qq zz zz"));
  check.Options().confirmAdd = false;
  dialog.messages.clear();
  dialog.questions.clear();
  dialog.asked.clear();
  dialog.whileWaiting = [&] {
    dialog.whileWaiting = nullptr;
    check.Dictionary()->AddWord("qq");
  };
  dialog.script = {{TSpellDialogPort::cmAdd, {}}, {TSpellDialogPort::cmAdd, {}}};
  EXPECT_EQ(Run(known), TSpellCheck::crClean);
  EXPECT_EQ(dialog.asked, (QStringList{"qq", "zz"}));
  EXPECT_TRUE(dialog.questions.isEmpty());
  EXPECT_EQ(dialog.messages, (QStringList{"\"qq\" already in dictionary.", kClean}));
}

TEST_F(SpellCheckTest, ClosingEndsWithoutMessage) {
  TMemoryEdit edit(QStringLiteral("teh cat zorp"));
  dialog.script = {{TSpellDialogPort::cmReplace, QStringLiteral("the")},
                   {TSpellDialogPort::cmClose, {}}};
  EXPECT_EQ(Run(edit), TSpellCheck::crClosed);
  EXPECT_TRUE(dialog.messages.isEmpty());
  EXPECT_EQ(edit.Text(), QStringLiteral("the cat zorp"));

  // Hiding the window while a word waits counts as Close.
  dialog.script.clear();
  EXPECT_EQ(Run(edit), TSpellCheck::crClosed);
  EXPECT_TRUE(dialog.messages.isEmpty());
}

TEST_F(SpellCheckTest, EditsWhileWaitingAreFollowed) {
  TMemoryEdit edit(QStringLiteral("zorp cat blix"));
  // While "zorp" waits, the user types a line in front of it.
  dialog.whileWaiting = [&] {
    dialog.whileWaiting = nullptr;
    edit.SetSelection(0, 0);
    edit.TypeText(QStringLiteral("new\n"));
  };
  // The scan position lay after "zorp": the check reloads and reads that word again, then
  // selects "blix" where it now stands.
  dialog.script = {{TSpellDialogPort::cmSkip, {}},
                   {TSpellDialogPort::cmSkip, {}},
                   {TSpellDialogPort::cmReplace, QStringLiteral("blue")}};
  Run(edit);
  EXPECT_EQ(dialog.asked, (QStringList{"zorp", "zorp", "blix"}));
  EXPECT_EQ(edit.Text(), QStringLiteral("new\nzorp cat blue"));
  EXPECT_TRUE(edit.Modified());
}

TEST_F(SpellCheckTest, ControlGoingAwayEndsTheCheck) {
  // The document window closes while a word waits: the check ends at once, never touching
  // the freed control (the sanitizer would see it), and keeps the user's added words.
  auto edit = std::make_unique<TMemoryEdit>(QStringLiteral("zorp blix"));
  edit->SetModified(true);
  check.Options().confirmAdd = false;
  dialog.script = {{TSpellDialogPort::cmAdd, {}}};
  dialog.whileWaiting = [&] {
    dialog.whileWaiting = [&] {
      check.Abandon(true);
      edit.reset();
    };
  };
  EXPECT_EQ(Run(*edit), TSpellCheck::crClosed);
  EXPECT_EQ(edit, nullptr);
  EXPECT_FALSE(check.Checking());
  EXPECT_FALSE(dialog.shown);
  EXPECT_TRUE(dialog.messages.isEmpty());
  EXPECT_EQ(dialog.asked, (QStringList{"zorp", "blix"}));
  EXPECT_TRUE(TestEnvironment::ReadFile(dir + QStringLiteral("/USER.DIC")).contains("zorp"));

  // The program quitting during a wait: the control keeps its selection and modified flag.
  TMemoryEdit kept(QStringLiteral("qwer tyui"));
  kept.SetModified(true);
  kept.SetSelection(2, 1);
  dialog.whileWaiting = [&] { check.Abandon(false); };
  dialog.script = {{TSpellDialogPort::cmSkip, {}}};
  EXPECT_EQ(Run(kept), TSpellCheck::crClosed);
  EXPECT_TRUE(kept.Modified());
  EXPECT_EQ(kept.SelStart(), 2);
  EXPECT_EQ(kept.SelLength(), 1);
  EXPECT_TRUE(dialog.messages.isEmpty());

  // The program's event loop told to exit while a word waits ends the check the same way.
  dialog.whileWaiting = [] { QCoreApplication::exit(0); };
  dialog.silent = true;
  EXPECT_EQ(Run(kept), TSpellCheck::crClosed);
  EXPECT_TRUE(kept.Modified());
  EXPECT_TRUE(dialog.messages.isEmpty());
  // (Let the application's loop run once, as the quitting program would, to clear the exit.)
  QTimer::singleShot(0, qApp, &QCoreApplication::quit);
  QCoreApplication::exec();

  // A later check runs normally again.
  dialog.whileWaiting = nullptr;
  dialog.silent = false;
  dialog.script = {{TSpellDialogPort::cmSkip, {}}, {TSpellDialogPort::cmSkip, {}}};
  EXPECT_EQ(Run(kept), TSpellCheck::crClean);
}

TEST_F(SpellCheckTest, OpeningTheDictionary) {
  // The derived name for a language, found whatever the file's letter case.
  check.Options().dictionaryName.clear();
  check.Options().dictionaryType = SpellLanguages::lgGerman;
  DctFiles::Compile(dir, QStringLiteral("German.dct"), {"hallo"});
  EXPECT_TRUE(check.OpenDictionary(&dialog));
  EXPECT_EQ(check.Options().dictionaryName, QStringLiteral("GERMAN.DCT"));
  EXPECT_EQ(check.Options().dictionaryPath, dir + u'/');
  EXPECT_TRUE(check.IsKnown("hallo"));

  // The program's folder by keyword.
  check.CloseDictionary();
  check.Options().dictionaryPath = QStringLiteral("ApplicationPath");
  const QByteArray programFolder = qgetenv("VELLUMIX_DATA_DIR");
  qputenv("VELLUMIX_DATA_DIR", dir.toUtf8());
  EXPECT_TRUE(check.OpenDictionary(nullptr));
  EXPECT_EQ(check.Options().dictionaryPath, dir + u'/');
  qputenv("VELLUMIX_DATA_DIR", programFolder);  // later tests read the shipped files

  // A missing file: the error names it, the check ends with 2.
  check.CloseDictionary();
  check.Options().dictionaryName = QStringLiteral("Missing.dct");
  TMemoryEdit edit(QStringLiteral("zorp"));
  edit.SetModified(true);
  EXPECT_EQ(Run(edit), TSpellCheck::crClosed);
  EXPECT_TRUE(edit.Modified());  // the document still needs saving
  EXPECT_EQ(dialog.messages, QStringList{QStringLiteral("Error opening dictionary ") + dir +
                                         QStringLiteral("/Missing.dct")});
  EXPECT_EQ(check.Dictionary(), nullptr);
}

TEST_F(SpellCheckTest, DamagedDictionaryLeavesTheDocumentAsItWas) {
  TestEnvironment::WriteFile(dir + QStringLiteral("/Broken.dct"), QByteArray(200, 'x'));
  check.Options().dictionaryName = QStringLiteral("Broken.dct");
  TMemoryEdit edit(QStringLiteral("zorp"));
  edit.SetModified(true);
  edit.SetSelection(1, 2);
  EXPECT_THROW(Run(edit), TEDictionaryCorrupt);
  EXPECT_TRUE(edit.Modified());
  EXPECT_EQ(edit.SelStart(), 1);
  EXPECT_EQ(edit.SelLength(), 2);
  EXPECT_FALSE(check.Checking());
  EXPECT_EQ(check.Dictionary(), nullptr);
  EXPECT_FALSE(dialog.shown);

  // A dictionary cut in half keeps a sound header: it is refused all the same, by name, and
  // the check never reports a clean text it could not look up.
  const QByteArray whole = TestEnvironment::ReadFile(dir + QStringLiteral("/English.dct"));
  const QString cut = TestEnvironment::WriteFile(dir + QStringLiteral("/Cut.dct"),
                                                 whole.left(whole.size() / 2 + 1));
  check.Options().dictionaryName = QStringLiteral("Cut.dct");
  TMemoryEdit text(QStringLiteral("the cat sat"));
  try {
    Run(text);
    ADD_FAILURE() << "a cut dictionary was used";
  } catch (const TEDictionaryCorrupt &error) {
    EXPECT_EQ(error.Message(), QStringLiteral("Dictionary Corrupt.\n") + cut);
  }
  EXPECT_FALSE(dialog.messages.contains(kClean));
}

TEST_F(SpellCheckTest, AutoCorrectList) {
  TestEnvironment::WriteFile(dir + QStringLiteral("/auto.txt"),
                             "teh=the\r\n=bad\nbad=\nno pair\nWROGN=wrong=ly\n");
  check.Options().autoCorrectList = QStringLiteral("auto.txt");  // found in the dictionary folder
  TMemoryEdit edit(QStringLiteral("teh wrogn cat"));
  EXPECT_EQ(Run(edit), TSpellCheck::crClean);  // pairs replace without a dialog
  EXPECT_EQ(edit.Text(), QStringLiteral("the wrong=ly cat"));
  EXPECT_TRUE(dialog.asked.isEmpty());

  check.Options().autoCorrectList = QStringLiteral("none.txt");
  dialog.messages.clear();
  Run(edit);
  EXPECT_EQ(dialog.messages.first(), QStringLiteral("none.txt file not found."));
}

}  // namespace
