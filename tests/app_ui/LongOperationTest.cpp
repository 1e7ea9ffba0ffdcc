// SPDX-License-Identifier: GPL-3.0-or-later
// Long commands on a large document through the real window and edit control: Replace All,
// case conversion and saving show their progress with Cancel; Cancel leaves text, caret, undo
// history, modified flag and file exactly as they were; a finished command is one undo step;
// closing or destroying the window meanwhile is safe; the other documents stay usable.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSemaphore>
#include <QTimer>
#include <atomic>
#include <set>

#include "AppFixture.h"
#include "documents/ui/LoadPanel.h"
#include "documents/ui/LongOperation.h"

namespace {

constexpr qsizetype kBigSize = 3 * 1000 * 1000;

// About size bytes of lines with letters to convert and words to replace all through them;
// upper: the same in capitals (the sharp s stays, as the conversion keeps a text's length).
QByteArray bigText(qsizetype size, bool upper = false) {
  const QByteArray line = upper ? ": ALPHA BETA GR\xC3\x9C\xC3\x9F"
                                  "E GAMMA\n"
                                : ": alpha Beta gr\xC3\xBC\xC3\x9F"
                                  "e gamma\n";
  QByteArray bytes;
  for (int n = 1; bytes.size() < size; ++n)
    bytes += (upper ? "LINE " : "Line ") + QByteArray::number(n) + line;
  return bytes;
}

// About size bytes of lines with every kind of line break, no-break spaces, line and paragraph
// separators and empty lines, and an empty last line.
QByteArray mixedText(qsizetype size) {
  const QByteArray lines(
      "one\r\ntwo\nthree\rfour\xC2\xA0"
      "five\xE2\x80\xA8six\xE2\x80\xA9seven\r\n\r\n\n");
  QByteArray bytes("first\r\n");
  for (int n = 1; bytes.size() < size; ++n) bytes += QByteArray::number(n) + lines;
  return bytes;
}

// The file text of a document read in slices of about chars characters.
QString slicedFileText(const TRichEdit &memo, qsizetype chars) {
  QString text;
  for (int line = 0; line < memo.document()->blockCount();)
    line = memo.AppendFileText(text, line, chars);
  return text;
}

// Runs action between the first two slices of the text the next long command reads, with
// its progress shown at once; counts the slices.
class TReadHold {
 public:
  explicit TReadHold(std::function<void()> action = {}) {
    LongOperation::ShowAfterMs = 0;
    LongOperation::ReadHook = [this, action = std::move(action)] {
      if (++slices == 1 && action) action();
    };
  }
  ~TReadHold() {
    LongOperation::ReadHook = nullptr;
    LongOperation::ShowAfterMs = 500;
  }

  int slices = 0;
};

// Lines without the word needle but for a few planted far from both ends of the text, in
// forms that each search option tells apart.
QByteArray haystack() {
  const std::pair<qsizetype, QByteArray> planted[] = {
      {1150000, "needles"}, {1400000, "NEEDLE"}, {1600000, "Needle"}, {1850000, "needles"}};
  QByteArray bytes;
  size_t next = 0;
  for (int n = 1; bytes.size() < kBigSize; ++n) {
    if (next < std::size(planted) && bytes.size() >= planted[next].first)
      bytes += "found " + planted[next++].second + " here\n";
    bytes += "Line " + QByteArray::number(n) + ": alpha beta gamma\n";
  }
  return bytes;
}

QString panelCaption(TfrmEdit *edit) {
  const auto *label = edit->pnlLoad()->findChild<QLabel *>(QStringLiteral("lblLoadFile"));
  return label ? label->text() : QString();
}

// Holds the working thread of the next long command at its given step (the first from that
// one on whose progress reached fromPerMille) until the test has acted on the main thread,
// which it does once the window shows the progress strip; then the work goes on (and sees at
// once whatever the action did, such as a Cancel).
class TOperationHold {
 public:
  TOperationHold(TfrmEdit *edit, int atStep, std::function<void()> action, int fromPerMille = 0)
      : edit_(edit), action_(std::move(action)) {
    LongOperation::ShowAfterMs = 0;
    LongOperation::StepHook = [this, atStep, fromPerMille](int perMille) {
      if (++steps_ < atStep || perMille < fromPerMille || held_) return;
      held_ = true;
      release_.tryAcquire(1, 60000);
    };
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (!held_ || acted) return;
      if (edit_ && !edit_->pnlLoad()->isVisible()) return;
      acted = true;
      timer_.stop();
      if (edit_) {
        caption = panelCaption(edit_);
        readOnlyMeanwhile = edit_->mmoMemo()->isReadOnly();
      }
      action_();
      release_.release();
    });
    timer_.start();
  }
  ~TOperationHold() {
    release_.release();
    LongOperation::StepHook = nullptr;
    LongOperation::ShowAfterMs = 500;
  }

  bool acted = false;
  QString caption;
  bool readOnlyMeanwhile = false;

 private:
  QPointer<TfrmEdit> edit_;
  std::function<void()> action_;
  std::atomic<int> steps_{0};
  std::atomic<bool> held_{false};
  QSemaphore release_;
  QTimer timer_;
};

class LongOperationTest : public AppFixture {
 protected:
  // Opens a large file in a window of its own beside the first, untitled document.
  TfrmEdit *OpenBig(TfrmMain &m, const char *name, const QByteArray &content = bigText(kBigSize)) {
    dir = TestEnvironment::FreshDir(QString::fromLatin1(name));
    bytes = content;
    file = TestEnvironment::WriteFile(dir + u'/' + QLatin1String(name) + QStringLiteral(".txt"),
                                      bytes);
    TfrmEdit *edit = m.OpenFile(file);
    EXPECT_NE(edit, nullptr);
    if (edit) {
      text = edit->mmoMemo()->FileText();
      edit->mmoMemo()->SetSelection(7, 0);
    }
    return edit;
  }

  TFindDialog *ReplaceDialog(TfrmMain &m, TfrmEdit *edit, const QString &find, const QString &by) {
    m.Action(QStringLiteral("mniReplace"))->trigger();
    TFindDialog *replace = edit->SearchDialog(TFindDialog::TMode::Replace);
    replace->SetFindText(find);
    replace->edtReplace()->setText(by);
    return replace;
  }

  // Edit|Undo or Edit|Redo once the window is idle again, and the text it leaves.
  static QString Replay(TfrmMain &m, TRichEdit *memo, const char *command) {
    Settle();
    m.Action(QString::fromLatin1(command))->trigger();
    return memo->FileText();
  }

  // The document and its file exactly as they were opened.
  static void ExpectUntouched(TfrmEdit *edit, const QString &text, const QString &file,
                              const QByteArray &bytes) {
    TRichEdit *memo = edit->mmoMemo();
    EXPECT_TRUE(memo->FileText() == text);
    EXPECT_FALSE(memo->Modified());
    EXPECT_FALSE(memo->CanUndo());
    EXPECT_EQ(memo->SelStart(), 7);
    EXPECT_EQ(memo->SelLength(), 0);
    EXPECT_FALSE(memo->isReadOnly());
    EXPECT_FALSE(edit->pnlLoad()->isVisible());
    EXPECT_FALSE(edit->Busy());
    EXPECT_TRUE(TestEnvironment::ReadFile(file) == bytes);
  }

  QString dir;
  QString file;
  QByteArray bytes;
  QString text;
};

}  // namespace

TEST_F(LongOperationTest, ReplaceAllCancelsWithoutATraceAndOtherwiseIsOneUndoStep) {
  TfrmMain &m = Start();
  TfrmEdit *other = m.ActiveEdit();
  TfrmEdit *edit = OpenBig(m, "replace");
  ASSERT_NE(edit, nullptr);
  TRichEdit *memo = edit->mmoMemo();
  TFindDialog *replace = ReplaceDialog(m, edit, QStringLiteral("alpha"), QStringLiteral("OMEGA"));
  TModalAnswerer answerer;
  {
    TOperationHold hold(edit, 3, [&] {
      // Meanwhile the other document takes typing, and this one refuses it.
      QTest::keyClicks(other->mmoMemo(), QStringLiteral("typed meanwhile"));
      QTest::keyClicks(memo, QStringLiteral("lost"));
      edit->pnlLoad()->btnCancel()->click();
    });
    replace->btnReplaceAll()->click();
    ASSERT_TRUE(hold.acted);
    EXPECT_EQ(hold.caption, QStringLiteral("Replacing..."));
    EXPECT_TRUE(hold.readOnlyMeanwhile);
  }
  EXPECT_EQ(other->mmoMemo()->toPlainText(), QStringLiteral("typed meanwhile"));
  ExpectUntouched(edit, text, file, bytes);
  EXPECT_TRUE(answerer.texts.isEmpty());

  // Run to its end: every occurrence replaced from the caret on, in one undo step.
  replace->btnReplaceAll()->click();
  QString expected = text;
  expected.replace(QStringLiteral("alpha"), QStringLiteral("OMEGA"));
  EXPECT_TRUE(memo->FileText() == expected);
  EXPECT_TRUE(memo->Modified());
  EXPECT_FALSE(memo->isReadOnly());
  EXPECT_TRUE(answerer.texts.isEmpty());
  EXPECT_TRUE(Replay(m, memo, "mniUndo") == text);
  EXPECT_FALSE(memo->CanUndo());
  EXPECT_FALSE(memo->Modified());
  EXPECT_EQ(memo->SelStart(), 7);
  // And back again, as often as asked.
  EXPECT_TRUE(Replay(m, memo, "mniRedo") == expected);
  EXPECT_TRUE(memo->Modified());
  EXPECT_TRUE(Replay(m, memo, "mniUndo") == text);
}

TEST_F(LongOperationTest, ALongStretchReplacedKeepsEveryLineBreakThroughUndoRedoAndSave) {
  TfrmMain &m = Start();
  TfrmEdit *edit = OpenBig(m, "mixed", mixedText(kBigSize));
  ASSERT_NE(edit, nullptr);
  TRichEdit *memo = edit->mmoMemo();
  const int blocks = memo->document()->blockCount();
  TFindDialog *replace = ReplaceDialog(m, edit, QStringLiteral("e"), QStringLiteral("EE"));
  TModalAnswerer answerer;
  replace->btnReplaceAll()->click();
  // No e before the caret: every one is replaced, and no line break changes its kind.
  QString expected = text;
  expected.replace(u'e', QStringLiteral("EE"));
  EXPECT_TRUE(memo->FileText() == expected);
  EXPECT_EQ(memo->document()->blockCount(), blocks);
  EXPECT_EQ(memo->UndoKind(), TUndoKind::Unknown);
  EXPECT_FALSE(memo->isReadOnly());
  // Typing goes on in the new text; undone step by step, the file's text comes back.
  memo->moveCursor(QTextCursor::End);
  QTest::keyClicks(memo, QStringLiteral("z"));
  EXPECT_TRUE(memo->FileText() == expected + u'z');
  memo->Undo();
  EXPECT_TRUE(memo->FileText() == expected);
  memo->Undo();
  EXPECT_TRUE(memo->FileText() == text);
  EXPECT_FALSE(memo->Modified());
  memo->Redo();
  memo->Redo();
  EXPECT_TRUE(memo->FileText() == expected + u'z');

  // Saved, the file holds the new text byte for byte; the text before it is a change again.
  ASSERT_TRUE(m.SaveFile(edit, edit->FileName()));
  QByteArray saved = bytes;
  saved.replace('e', "EE");
  EXPECT_TRUE(TestEnvironment::ReadFile(file) == saved + 'z');
  EXPECT_FALSE(memo->Modified());
  memo->Undo();
  memo->Undo();
  EXPECT_TRUE(memo->FileText() == text);
  EXPECT_TRUE(memo->Modified());
  // A new change there leaves nothing to redo.
  QTest::keyClicks(memo, QStringLiteral("y"));
  EXPECT_FALSE(memo->CanRedo());
  EXPECT_TRUE(answerer.texts.isEmpty());
}

TEST_F(LongOperationTest, CaseConversionCancelsWithoutATraceAndOtherwiseKeepsTheCaret) {
  TfrmMain &m = Start();
  TfrmEdit *edit = OpenBig(m, "upper");
  ASSERT_NE(edit, nullptr);
  TRichEdit *memo = edit->mmoMemo();
  {
    TOperationHold hold(edit, 4, [&] {
      // A second command on the busy document waits its turn: it does nothing.
      m.Action(QStringLiteral("mniLower"))->trigger();
      edit->pnlLoad()->btnCancel()->click();
    });
    m.Action(QStringLiteral("mniUpper"))->trigger();
    ASSERT_TRUE(hold.acted);
    EXPECT_EQ(hold.caption, QStringLiteral("Converting case..."));
  }
  ExpectUntouched(edit, text, file, bytes);

  m.Action(QStringLiteral("mniUpper"))->trigger();
  EXPECT_TRUE(memo->FileText() == QString::fromUtf8(bigText(kBigSize, true)));
  EXPECT_EQ(memo->SelStart(), 7);
  EXPECT_TRUE(memo->Modified());
  EXPECT_TRUE(Replay(m, memo, "mniUndo") == text);
}

TEST_F(LongOperationTest, ACancelledSaveLeavesTheFileAndTheDocumentChanged) {
  TfrmMain &m = Start();
  TfrmEdit *edit = OpenBig(m, "save");
  ASSERT_NE(edit, nullptr);
  TRichEdit *memo = edit->mmoMemo();
  memo->SetSelection(0, 0);
  QTest::keyClicks(memo, QStringLiteral("New "));
  ASSERT_TRUE(memo->Modified());
  TModalAnswerer answerer;
  {
    TOperationHold hold(edit, 2, [&] { edit->pnlLoad()->btnCancel()->click(); });
    EXPECT_FALSE(m.SaveFile(edit, edit->FileName()));
    ASSERT_TRUE(hold.acted);
    EXPECT_EQ(hold.caption, QStringLiteral("Saving ") + file + QStringLiteral("..."));
  }
  EXPECT_TRUE(answerer.texts.isEmpty());
  EXPECT_TRUE(TestEnvironment::ReadFile(file) == bytes);
  // The temporary file the save wrote is gone.
  EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("save.txt")});
  EXPECT_TRUE(memo->Modified());
  EXPECT_FALSE(memo->isReadOnly());

  EXPECT_TRUE(m.SaveFile(edit, edit->FileName()));
  EXPECT_TRUE(TestEnvironment::ReadFile(file) == "New " + bytes);
  EXPECT_FALSE(memo->Modified());
  EXPECT_TRUE(answerer.texts.isEmpty());
}

TEST_F(LongOperationTest, ClosingTheWindowStopsTheCommandAndDestroyingItIsSafe) {
  TfrmMain &m = Start();
  TModalAnswerer answerer;
  // Closed: the command stops, the window closes afterwards; its file is untouched.
  QPointer<TfrmEdit> edit = OpenBig(m, "close");
  ASSERT_TRUE(edit);
  TFindDialog *replace = ReplaceDialog(m, edit, QStringLiteral("alpha"), QStringLiteral("OMEGA"));
  {
    TOperationHold hold(edit, 3, [&] { edit->parentWidget()->close(); });
    replace->btnReplaceAll()->click();
    ASSERT_TRUE(hold.acted);
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return edit.isNull(); }, 10000));
  EXPECT_TRUE(TestEnvironment::ReadFile(file) == bytes);
  EXPECT_TRUE(answerer.texts.isEmpty());

  // The same while the new text is put together (the work's second half): closed, and
  // destroyed outright.
  for (const bool destroy : {false, true}) {
    edit = OpenBig(m, destroy ? "destroybuild" : "closebuild");
    ASSERT_TRUE(edit);
    replace = ReplaceDialog(m, edit, QStringLiteral("alpha"), QStringLiteral("OMEGA"));
    {
      TOperationHold hold(
          edit, 1,
          [&] {
            if (destroy)
              delete edit->parentWidget();
            else
              edit->parentWidget()->close();
          },
          600);
      replace->btnReplaceAll()->click();
      ASSERT_TRUE(hold.acted);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return edit.isNull(); }, 10000));
    EXPECT_TRUE(TestEnvironment::ReadFile(file) == bytes);
  }
  EXPECT_TRUE(answerer.texts.isEmpty());

  // A changed document closed while it is saved: the save stops and the usual question
  // comes; No closes it and the file keeps its bytes.
  edit = OpenBig(m, "closesave");
  ASSERT_TRUE(edit);
  QTest::keyClicks(edit->mmoMemo(), QStringLiteral("x"));
  answerer.Add(QStringLiteral("&No"));
  {
    TOperationHold hold(edit, 2, [&] { edit->parentWidget()->close(); });
    EXPECT_FALSE(m.SaveFile(edit, edit->FileName()));
    ASSERT_TRUE(hold.acted);
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return edit.isNull(); }, 10000));
  EXPECT_EQ(answerer.texts.size(), 1);
  EXPECT_TRUE(TestEnvironment::ReadFile(file) == bytes);
  EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("closesave.txt")});

  // Destroyed outright in the middle of a conversion: nothing of it is touched afterwards.
  edit = OpenBig(m, "destroy");
  ASSERT_TRUE(edit);
  m.Activate(edit);
  {
    TOperationHold hold(edit, 3, [&] { delete edit->parentWidget(); });
    m.Action(QStringLiteral("mniUpper"))->trigger();
    ASSERT_TRUE(hold.acted);
  }
  EXPECT_TRUE(edit.isNull());
  EXPECT_TRUE(TestEnvironment::ReadFile(file) == bytes);
  // The program goes on: the remaining document takes commands.
  ASSERT_NE(m.ActiveEdit(), nullptr);
  QTest::keyClicks(m.ActiveEdit()->mmoMemo(), QStringLiteral("still here"));
  m.Action(QStringLiteral("mniUpper"))->trigger();
  EXPECT_EQ(m.ActiveEdit()->mmoMemo()->toPlainText(), QStringLiteral("STILL HERE"));
}

TEST_F(LongOperationTest, ALongSaveReadsTheTextInSlicesAndWritesEveryLineAsItWas) {
  TfrmMain &m = Start();
  // Slices of any size make the file text, of the empty document too.
  EXPECT_TRUE(slicedFileText(*m.ActiveEdit()->mmoMemo(), 3).isEmpty());
  TfrmEdit *edit = OpenBig(m, "mixed", mixedText(kBigSize));
  ASSERT_NE(edit, nullptr);
  TRichEdit *memo = edit->mmoMemo();
  ASSERT_FALSE(memo->Modified());
  const QString fileText = memo->FileText();
  // Slices of one line each, of lines longer than a slice, of many lines.
  for (const qsizetype chars : {qsizetype(1), qsizetype(7), LongOperation::kLongChars})
    EXPECT_TRUE(slicedFileText(*memo, chars) == fileText) << chars;

  // Saved unchanged: the very same bytes, the text read in slices with the progress shown and
  // the document read-only meanwhile.
  TModalAnswerer answerer;
  QString caption;
  bool readOnly = false;
  {
    TReadHold hold([&] {
      caption = edit->pnlLoad()->isVisible() ? panelCaption(edit) : QString();
      readOnly = memo->isReadOnly();
    });
    ASSERT_TRUE(m.SaveFile(edit, edit->FileName()));
    EXPECT_GE(hold.slices, 2);
  }
  EXPECT_EQ(caption, QStringLiteral("Saving ") + file + QStringLiteral("..."));
  EXPECT_TRUE(readOnly);
  EXPECT_TRUE(TestEnvironment::ReadFile(file) == bytes);

  // Changed at its start and at its end: only those change in the file.
  memo->SetSelection(0, 0);
  QTest::keyClicks(memo, QStringLiteral("New "));
  memo->SetSelection(memo->PositionCount(), 0);
  QTest::keyClicks(memo, QStringLiteral("end"));
  ASSERT_TRUE(m.SaveFile(edit, edit->FileName()));
  EXPECT_TRUE(TestEnvironment::ReadFile(file) == "New " + bytes + "end");
  EXPECT_FALSE(memo->Modified());
  EXPECT_FALSE(memo->isReadOnly());
  EXPECT_TRUE(answerer.texts.isEmpty());
}

TEST_F(LongOperationTest, CancelClosingOrDestroyingWhileASaveReadsTheTextLeavesTheFile) {
  TfrmMain &m = Start();
  TModalAnswerer answerer;
  // Cancel: the file as it was, the document still changed and the user's again.
  QPointer<TfrmEdit> edit = OpenBig(m, "readcancel");
  ASSERT_TRUE(edit);
  TRichEdit *memo = edit->mmoMemo();
  QTest::keyClicks(memo, QStringLiteral("x"));
  {
    TReadHold hold([&] { edit->pnlLoad()->btnCancel()->click(); });
    EXPECT_FALSE(m.SaveFile(edit, edit->FileName()));
    EXPECT_EQ(hold.slices, 1);
  }
  EXPECT_TRUE(TestEnvironment::ReadFile(file) == bytes);
  EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("readcancel.txt")});
  EXPECT_TRUE(memo->Modified());
  EXPECT_FALSE(memo->isReadOnly());
  EXPECT_FALSE(edit->Busy());
  EXPECT_FALSE(edit->pnlLoad()->isVisible());
  EXPECT_TRUE(answerer.texts.isEmpty());

  // Closed: the read stops, the usual question comes, No closes it; the file keeps its bytes.
  answerer.Add(QStringLiteral("&No"));
  {
    TReadHold hold([&] { edit->parentWidget()->close(); });
    EXPECT_FALSE(m.SaveFile(edit, edit->FileName()));
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return edit.isNull(); }, 10000));
  EXPECT_EQ(answerer.texts.size(), 1);
  EXPECT_TRUE(TestEnvironment::ReadFile(file) == bytes);

  // Destroyed outright: nothing of it is touched afterwards.
  edit = OpenBig(m, "readdestroy");
  ASSERT_TRUE(edit);
  QTest::keyClicks(edit->mmoMemo(), QStringLiteral("x"));
  {
    TReadHold hold([&] { delete edit->parentWidget(); });
    EXPECT_FALSE(m.SaveFile(edit, edit->FileName()));
  }
  EXPECT_TRUE(edit.isNull());
  EXPECT_TRUE(TestEnvironment::ReadFile(file) == bytes);
  EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("readdestroy.txt")});
}

TEST_F(LongOperationTest, AFarOccurrenceIsFoundAsANearOneWouldBe) {
  TfrmMain &m = Start();
  TfrmEdit *edit = OpenBig(m, "find", haystack());
  ASSERT_NE(edit, nullptr);
  TRichEdit *memo = edit->mmoMemo();
  const QString all = memo->TextRange(0, memo->PositionCount());
  m.Action(QStringLiteral("mniFind"))->trigger();
  TFindDialog *find = edit->SearchDialog(TFindDialog::TMode::Find);
  find->SetFindText(QStringLiteral("Needle"));
  TModalAnswerer answerer;
  std::atomic<int> steps{0};
  LongOperation::StepHook = [&steps](int) { ++steps; };
  std::set<qsizetype> found;
  int searches = 0;
  for (const bool down : {true, false}) {
    for (const bool matchCase : {false, true}) {
      for (const bool wholeWord : {false, true}) {
        (down ? find->radDown() : find->radUp())->setChecked(true);
        find->chkMatchCase()->setChecked(matchCase);
        find->chkWholeWord()->setChecked(wholeWord);
        const qsizetype caret = down ? 7 : all.size();
        memo->SetSelection(caret, 0);
        // What a search of the whole text at once finds: beyond what is searched at once.
        const TTextFinder finder(find->Options());
        const qsizetype expected =
            down ? finder.FindForward(all, caret, all.size()) : finder.FindBackward(all, 0, caret);
        ASSERT_GE(expected, 0);
        ASSERT_GT(std::abs(expected - caret), LongOperation::kLongChars);
        steps = 0;
        // The dialog's button, or F3, which repeats the dialog's search as it is now.
        if (++searches % 2 == 1)
          find->btnFindNext()->click();
        else
          m.Action(QStringLiteral("mniFindNext"))->trigger();
        EXPECT_GT(steps, 0);
        EXPECT_EQ(memo->SelStart(), expected) << down << matchCase << wholeWord;
        EXPECT_EQ(memo->SelLength(), 6);
        found.insert(memo->SelStart());
      }
    }
  }
  EXPECT_EQ(found.size(), 4U);  // each planted form found by some combination of options
  EXPECT_TRUE(answerer.texts.isEmpty());
  EXPECT_TRUE(memo->TextRange(0, memo->PositionCount()) == all);

  // Replace: the far occurrence found is replaced.
  TFindDialog *replace = ReplaceDialog(m, edit, QStringLiteral("needles"), QStringLiteral("pins"));
  replace->chkMatchCase()->setChecked(true);
  memo->SetSelection(7, 0);
  steps = 0;
  replace->btnReplace()->click();
  EXPECT_GT(steps, 0);
  QString expected = all;
  expected.replace(all.indexOf(QStringLiteral("needles")), 7, QStringLiteral("pins"));
  EXPECT_TRUE(memo->TextRange(0, memo->PositionCount()) == expected);
  EXPECT_TRUE(answerer.texts.isEmpty());
  LongOperation::StepHook = nullptr;
}

TEST_F(LongOperationTest, ALongSearchShowsItsProgressAndCancelOrClosingLeavesTheSelection) {
  TfrmMain &m = Start();
  QPointer<TfrmEdit> edit = OpenBig(m, "notfound", haystack());
  ASSERT_TRUE(edit);
  m.Action(QStringLiteral("mniFind"))->trigger();
  TFindDialog *find = edit->SearchDialog(TFindDialog::TMode::Find);
  find->SetFindText(QStringLiteral("Needles"));
  find->chkMatchCase()->setChecked(true);
  {
    // Nothing found: the message as for a short search, the selection stays.
    TModalAnswerer answerer({QStringLiteral("OK")});
    TOperationHold hold(edit, 2, [] {});
    find->btnFindNext()->click();
    ASSERT_TRUE(hold.acted);
    EXPECT_EQ(hold.caption, QStringLiteral("Searching..."));
    EXPECT_TRUE(hold.readOnlyMeanwhile);
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts[0].endsWith(QStringLiteral("Cannot find 'Needles'.")));
    ExpectUntouched(edit, text, file, bytes);
  }
  TModalAnswerer answerer;
  {
    // Cancelled: no message, nothing changed. Searches asked for meanwhile are refused, and
    // the commands that read or change the text are held back until it ends.
    const QStringList held = {QStringLiteral("mniFindNext"), QStringLiteral("mniFile2"),
                              QStringLiteral("mniWordCount"), QStringLiteral("mniUpper")};
    QStringList enabledMeanwhile;
    TOperationHold hold(edit, 2, [&] {
      for (const QString &name : held)
        if (m.Action(name)->isEnabled()) enabledMeanwhile << name;
      find->btnFindNext()->click();
      m.Action(QStringLiteral("mniFindNext"))->trigger();
      edit->pnlLoad()->btnCancel()->click();
    });
    m.Action(QStringLiteral("mniFindNext"))->trigger();
    ASSERT_TRUE(hold.acted);
    EXPECT_EQ(enabledMeanwhile, QStringList());
    for (const QString &name : held) EXPECT_TRUE(m.Action(name)->isEnabled()) << name.toStdString();
  }
  ExpectUntouched(edit, text, file, bytes);
  // The dialog closed meanwhile: the occurrence found is still selected.
  find->SetFindText(QStringLiteral("Needle"));
  {
    TOperationHold hold(edit, 2, [&] { find->close(); });
    find->btnFindNext()->click();
    ASSERT_TRUE(hold.acted);
  }
  EXPECT_EQ(edit->mmoMemo()->SelStart(), text.indexOf(QStringLiteral("Needle")));
  EXPECT_EQ(edit->mmoMemo()->SelLength(), 6);
  edit->mmoMemo()->SetSelection(7, 0);
  find->SetFindText(QStringLiteral("Needles"));
  // The window closed meanwhile: it closes once the search has stopped.
  {
    TOperationHold hold(edit, 2, [&] { edit->parentWidget()->close(); });
    find->btnFindNext()->click();
    ASSERT_TRUE(hold.acted);
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return edit.isNull(); }, 10000));
  // Destroyed outright: nothing of it is touched afterwards.
  edit = OpenBig(m, "destroyfind", haystack());
  ASSERT_TRUE(edit);
  m.Activate(edit);
  find = edit->SearchDialog(TFindDialog::TMode::Find);
  // A first search from the dialog, which Find Next then repeats as the dialog is now.
  find->SetFindText(QStringLiteral("alpha"));
  find->btnFindNext()->click();
  find->SetFindText(QStringLiteral("Needles"));
  find->chkMatchCase()->setChecked(true);
  {
    TOperationHold hold(edit, 2, [&] { delete edit->parentWidget(); });
    m.Action(QStringLiteral("mniFindNext"))->trigger();
    ASSERT_TRUE(hold.acted);
  }
  EXPECT_TRUE(edit.isNull());
  EXPECT_TRUE(answerer.texts.isEmpty());
}

namespace {

// Where position (a line break counted once) stands in the document's file text.
qsizetype fileOffset(const TRichEdit &memo, const QString &fileText, qsizetype position) {
  const QString plain = memo.TextRange(0, position);
  qsizetype offset = 0;
  for (const QChar ch : plain) {
    if (ch == u'\n' && fileText[offset] == u'\r' && fileText[offset + 1] == u'\n') ++offset;
    ++offset;
  }
  return offset;
}

}  // namespace

TEST_F(LongOperationTest, ALargeSelectionReplacedByAKeyGoesAtOnceAndUndoesExactly) {
  TfrmMain &m = Start();
  TfrmEdit *edit = OpenBig(m, "selection", mixedText(kBigSize));
  ASSERT_NE(edit, nullptr);
  TRichEdit *memo = edit->mmoMemo();
  const qsizetype count = memo->PositionCount();

  // From inside the third line to near the end, deleted by a key: what stays keeps every
  // line break as it was.
  const qsizetype start = memo->document()->findBlockByNumber(2).position() + 2;
  const qsizetype end = count - 5000;
  const QString expected =
      text.first(fileOffset(*memo, text, start)) + text.sliced(fileOffset(*memo, text, end));
  memo->SetSelection(start, end - start);
  QTest::keyClick(memo, Qt::Key_Delete);
  // The text that was is kept whole for Undo, not changed in place.
  EXPECT_EQ(memo->document()->heldStores(), 1);
  EXPECT_TRUE(memo->FileText() == expected);
  EXPECT_EQ(memo->SelStart(), start);
  EXPECT_EQ(memo->SelLength(), 0);
  EXPECT_EQ(memo->UndoKind(), TUndoKind::Delete);
  EXPECT_TRUE(memo->Modified());
  // Typing goes on; each step undoes and redoes exactly.
  QTest::keyClicks(memo, QStringLiteral("ab"));
  memo->Undo();
  EXPECT_TRUE(memo->FileText() == expected);
  memo->Undo();
  EXPECT_TRUE(memo->FileText() == text);
  EXPECT_EQ(memo->SelStart(), start);
  EXPECT_EQ(memo->SelLength(), end - start);
  EXPECT_FALSE(memo->Modified());
  EXPECT_EQ(memo->RedoKind(), TUndoKind::Delete);
  memo->Redo();
  EXPECT_TRUE(memo->FileText() == expected);
  memo->Undo();

  // All of it replaced by a typed line break, and cut: the break is the file's own kind.
  memo->SelectAll();
  QTest::keyClick(memo, Qt::Key_Return);
  EXPECT_EQ(memo->FileText(), QStringLiteral("\r\n"));
  EXPECT_EQ(memo->UndoKind(), TUndoKind::Typing);
  memo->Undo();
  EXPECT_TRUE(memo->FileText() == text);
  memo->SelectAll();
  memo->Cut();
  EXPECT_EQ(memo->PositionCount(), 0);
  EXPECT_EQ(memo->UndoKind(), TUndoKind::Cut);
  EXPECT_EQ(QApplication::clipboard()->text().size(), count);
  memo->Undo();
  EXPECT_TRUE(memo->FileText() == text);

  // Saved after such a delete, the file holds what stays, byte for byte.
  memo->SetSelection(start, end - start);
  QTest::keyClick(memo, Qt::Key_Backspace);
  ASSERT_TRUE(m.SaveFile(edit, edit->FileName()));
  EXPECT_TRUE(TestEnvironment::ReadFile(file) == expected.toUtf8());
}

TEST_F(LongOperationTest, EditsOfMillionsRunAsLongCommandsThatCancelWithoutATrace) {
  TfrmMain &m = Start();
  TfrmEdit *edit = OpenBig(m, "cutpaste", mixedText(kBigSize));
  ASSERT_NE(edit, nullptr);
  TRichEdit *memo = edit->mmoMemo();
  const qsizetype defaultChars = TRichEdit::LongEditChars;
  TRichEdit::LongEditChars = 1 << 20;
  TModalAnswerer answerer;

  // A million and a fifth characters cut from the middle, more staying.
  const qsizetype start = memo->document()->findBlockByNumber(1000).position() + 1;
  const qsizetype end = start + 1'200'000;
  ASSERT_GT(memo->PositionCount() - (end - start), 1 << 20);
  const QString plain = memo->TextRange(0, memo->PositionCount());
  // The clipboard takes a line separator as a line break.
  const QString cut = memo->TextRange(start, end).replace(QChar(0x2028), u'\n');
  const QString expected =
      text.first(fileOffset(*memo, text, start)) + text.sliced(fileOffset(*memo, text, end));
  memo->SetSelection(start, end - start);
  Settle();
  {
    TOperationHold hold(edit, 1, [] {});
    m.Action(QStringLiteral("mniCut"))->trigger();
    ASSERT_TRUE(hold.acted);
    EXPECT_EQ(hold.caption, QStringLiteral("Changing text..."));
    EXPECT_TRUE(hold.readOnlyMeanwhile);
  }
  EXPECT_TRUE(memo->FileText() == expected);
  EXPECT_TRUE(QApplication::clipboard()->text() == cut);
  EXPECT_EQ(memo->UndoKind(), TUndoKind::Cut);
  EXPECT_EQ(memo->SelStart(), start);
  EXPECT_FALSE(memo->isReadOnly());

  // Pasted back at the same place: the file's text again, line breaks and all. Cancelled
  // first, nothing changes.
  {
    TOperationHold hold(edit, 1, [&] { edit->pnlLoad()->btnCancel()->click(); });
    memo->Paste();
    ASSERT_TRUE(hold.acted);
  }
  EXPECT_TRUE(memo->FileText() == expected);
  EXPECT_EQ(memo->UndoKind(), TUndoKind::Cut);
  memo->Paste();
  EXPECT_EQ(memo->UndoKind(), TUndoKind::Paste);
  EXPECT_EQ(memo->SelStart(), end);
  const QString pasted = memo->FileText();
  EXPECT_TRUE(memo->TextRange(0, memo->PositionCount()) ==
              plain.first(start) + cut + plain.sliced(end));
  memo->Undo();
  EXPECT_TRUE(memo->FileText() == expected);
  memo->Undo();
  EXPECT_TRUE(memo->FileText() == text);
  EXPECT_FALSE(memo->Modified());
  memo->Redo();
  memo->Redo();
  EXPECT_TRUE(memo->FileText() == pasted);

  // The same stretch deleted by a key.
  memo->Undo();
  memo->Undo();
  memo->SetSelection(start, end - start);
  {
    TOperationHold hold(edit, 1, [] {});
    QTest::keyClick(memo, Qt::Key_Delete);
    EXPECT_EQ(hold.caption, QStringLiteral("Changing text..."));
  }
  EXPECT_TRUE(memo->FileText() == expected);
  EXPECT_EQ(memo->UndoKind(), TUndoKind::Delete);
  memo->Undo();
  EXPECT_TRUE(memo->FileText() == text);
  EXPECT_TRUE(answerer.texts.isEmpty());

  // Closed while a paste runs: the window goes, the file stays.
  QPointer<TfrmEdit> gone = edit;
  {
    TOperationHold hold(edit, 1, [&] { edit->parentWidget()->close(); });
    memo->Paste();
    ASSERT_TRUE(hold.acted);
  }
  answerer.Add(QStringLiteral("&No"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return gone.isNull(); }, 10000));
  EXPECT_TRUE(TestEnvironment::ReadFile(file) == bytes);
  TRichEdit::LongEditChars = defaultChars;
}
