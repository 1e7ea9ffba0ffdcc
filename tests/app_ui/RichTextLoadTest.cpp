// SPDX-License-Identifier: GPL-3.0-or-later
// Rich text files through the real document window: a large one opens with its formatting
// while the window keeps answering; a load cancelled or closed while the text is read or
// while the document is made opens nothing; a file made by pandoc on this machine opens with
// its formatting.
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <cstdio>
#include <ctime>

#include "AppFixture.h"
#include "documents/core/RichTextBridge.h"
#include "documents/core/RtfBuilder.h"
#include "documents/core/RtfParseJob.h"
#include "documents/ui/LoadPanel.h"

namespace {

// Rich text of about size bytes in paragraphs numbered from 1, each with a bold, an italic, a
// coloured and a larger word and a code-page escape; the last paragraph is centred.
QByteArray largeRtf(qsizetype size) {
  QByteArray rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Courier New;}{\\f1 DejaVu Serif;}}"
      "{\\colortbl;\\red200\\green0\\blue0;}\r\n";
  for (int n = 1; rtf.size() < size; ++n)
    rtf += "Line " + QByteArray::number(n) +
           " {\\b bold} {\\i italic} {\\cf1 red} {\\f1\\fs32 big} caf\\'e9\\par\r\n";
  return rtf + "\\qc the end}";
}

// The main thread's processor time in milliseconds.
double ThreadMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The longest gap between ticks of a 10 ms timer while it runs: how long the window could
// not answer, on the clock and in the main thread's processor time (which other programs on
// a busy machine do not lengthen). Printed for the record, never asserted.
class TGapMeter {
 public:
  TGapMeter() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      worst_ = std::max(worst_, clock_.restart());
      const double cpu = ThreadMs();
      worstCpu_ = std::max(worstCpu_, cpu - lastCpu_);
      lastCpu_ = cpu;
    });
    clock_.start();
    lastCpu_ = ThreadMs();
    timer_.start();
  }
  qint64 Worst() const { return std::max(worst_, clock_.elapsed()); }
  double WorstCpu() const { return std::max(worstCpu_, ThreadMs() - lastCpu_); }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 worst_ = 0;
  double lastCpu_ = 0;
  double worstCpu_ = 0;
};

// Clears the loading seams whatever a test does.
struct TSeamReset {
  ~TSeamReset() {
    TRtfParseJob::Started = nullptr;
    TRtfDocumentBuilder::AfterSlice = nullptr;
  }
};

// The document window that is loading.
TfrmEdit *LoadingWindow(TfrmMain &m) {
  for (TfrmEdit *edit : m.EditWindows())
    if (edit->Loading()) return edit;
  return nullptr;
}

// How a user stops a load: the Cancel button, or closing the document window.
enum class TStop { Cancel, Close };

void Stop(TfrmMain &m, TStop how) {
  TfrmEdit *edit = LoadingWindow(m);
  ASSERT_NE(edit, nullptr);
  if (how == TStop::Cancel)
    edit->pnlLoad()->btnCancel()->click();
  else
    qobject_cast<QMdiSubWindow *>(edit->parentWidget())->close();
}

}  // namespace

TEST_F(AppFixture, ALargeRichTextFileOpensWithItsFormattingWhileTheWindowAnswers) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("richload"));
  const QString file =
      TestEnvironment::WriteFile(dir + QStringLiteral("/large.rtf"), largeRtf(12 * 1000 * 1000));
  TModalAnswerer answerer;
  QElapsedTimer clock;
  clock.start();
  TGapMeter gaps;
  TfrmEdit *edit = m.OpenFile(file);
  std::printf(
      "[ rtf load ] 12 MB: shown after %lld ms; longest time without answer %lld ms, of it "
      "%.0f ms busy on the main thread\n",
      static_cast<long long>(clock.elapsed()), static_cast<long long>(gaps.Worst()),
      gaps.WorstCpu());
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(answerer.texts.isEmpty()) << answerer.texts.join(u'|').toStdString();
  TRichEdit *memo = edit->mmoMemo();
  EXPECT_FALSE(edit->Loading());
  EXPECT_FALSE(memo->isReadOnly());
  EXPECT_FALSE(memo->Modified());
  EXPECT_FALSE(memo->CanUndo());
  EXPECT_EQ(m.CurrentFileName(), file);
  const auto converted = RichTextBridge::ToDocument(*memo->document());
  QTextDocument *document = converted.get();
  EXPECT_EQ(document->lastBlock().text(), QStringLiteral("the end"));
  EXPECT_EQ(document->lastBlock().blockFormat().alignment(), Qt::AlignHCenter);
  const QTextBlock middle = document->findBlockByNumber(document->blockCount() / 2);
  EXPECT_EQ(middle.text(),
            QStringLiteral("Line %1 bold italic red big caf\u00e9").arg(middle.blockNumber() + 1));
  QStringList bold, italic, red, big;
  for (auto it = middle.begin(); !it.atEnd(); ++it) {
    const QTextFragment fragment = it.fragment();
    const QTextCharFormat format = fragment.charFormat();
    if (format.fontWeight() >= QFont::Bold) bold << fragment.text();
    if (format.fontItalic()) italic << fragment.text();
    if (format.foreground().color() == QColor(200, 0, 0)) red << fragment.text();
    if (format.fontPointSize() == 16.0 &&
        format.fontFamilies().toStringList() == QStringList{QStringLiteral("DejaVu Serif")})
      big << fragment.text();
  }
  EXPECT_EQ(bold, QStringList{QStringLiteral("bold")});
  EXPECT_EQ(italic, QStringList{QStringLiteral("italic")});
  EXPECT_EQ(red, QStringList{QStringLiteral("red")});
  EXPECT_EQ(big, QStringList{QStringLiteral("big")});
}

TEST_F(AppFixture, ARichTextLoadStoppedWhileReadingOrBuildingOpensNothing) {
  TfrmMain &m = Start();
  const TSeamReset reset;
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("richstop"));
  const QString opened =
      TestEnvironment::WriteFile(dir + QStringLiteral("/opened.rtf"), "{\\rtf1 kept}");
  const QPointer<TfrmEdit> kept = m.OpenFile(opened);
  ASSERT_NE(kept, nullptr);
  const QString file =
      TestEnvironment::WriteFile(dir + QStringLiteral("/large.rtf"), largeRtf(3 * 1000 * 1000));
  for (const TStop how : {TStop::Cancel, TStop::Close}) {
    for (const bool whileBuilding : {false, true}) {
      SCOPED_TRACE(int(how) * 2 + whileBuilding);
      const int windowsBefore = int(m.EditWindows().size());
      const QStringList recentBefore = m.FileLists().Recent();
      int slices = 0;
      bool stopped = false;
      // Stopped while the thread reads, or after the second slice of the document.
      TRtfParseJob::Started = [&](TRtfParseJob &) {
        if (!whileBuilding) {
          Stop(m, how);
          stopped = true;
        }
      };
      TRtfDocumentBuilder::AfterSlice = [&](int slice) {
        slices = slice;
        if (whileBuilding && slice == 2) {
          Stop(m, how);
          stopped = true;
        }
      };
      TModalAnswerer answerer;
      QPointer<TfrmEdit> edit = m.OpenFile(file);
      EXPECT_TRUE(stopped);
      EXPECT_TRUE(QTest::qWaitFor([&] { return edit.isNull(); }, 10000));
      EXPECT_EQ(slices, whileBuilding ? 2 : 0);  // nothing more was built after the stop
      EXPECT_EQ(int(m.EditWindows().size()), windowsBefore);
      EXPECT_EQ(m.FileLists().Recent(), recentBefore);
      EXPECT_EQ(m.CurrentFileName(), opened);
      EXPECT_TRUE(answerer.texts.isEmpty()) << answerer.texts.join(u'|').toStdString();
    }
  }
  // The window opened before is as it was; the file opens when nobody stops it.
  ASSERT_FALSE(kept.isNull());
  EXPECT_EQ(kept->mmoMemo()->toPlainText(), QStringLiteral("kept"));
  EXPECT_FALSE(kept->mmoMemo()->Modified());
  TRtfParseJob::Started = nullptr;
  TRtfDocumentBuilder::AfterSlice = nullptr;
  TfrmEdit *edit = m.OpenFile(file);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->mmoMemo()->document()->lastBlock().text(), QStringLiteral("the end"));
}

TEST_F(AppFixture, TheWindowAnswersBetweenTheSlicesOfARichTextDocument) {
  TfrmMain &m = Start();
  const TSeamReset reset;
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("richslices"));
  const QString file =
      TestEnvironment::WriteFile(dir + QStringLiteral("/large.rtf"), largeRtf(3 * 1000 * 1000));
  // An event posted after one slice has run before the next one starts.
  int slices = 0;
  int answeredBefore = 0;  // slices after which the posted event had run
  bool answered = false;
  int modified = 0;      // times the document read as modified between slices
  const QObject posted;  // ends, before what they use, the events posted after the last slice
  TRtfDocumentBuilder::AfterSlice = [&](int slice) {
    if (slice > 1 && answered) ++answeredBefore;
    slices = slice;
    answered = false;
    QTimer::singleShot(0, &posted, [&] {
      answered = true;
      // Between slices the part shown reads as the file's, not as a change.
      if (TfrmEdit *edit = LoadingWindow(m); edit && edit->mmoMemo()->Modified()) ++modified;
    });
  };
  TfrmEdit *edit = m.OpenFile(file);
  ASSERT_NE(edit, nullptr);
  EXPECT_GT(slices, 4);
  EXPECT_EQ(answeredBefore, slices - 1);
  EXPECT_EQ(modified, 0);
  EXPECT_EQ(edit->mmoMemo()->document()->lastBlock().text(), QStringLiteral("the end"));
}

TEST_F(AppFixture, ARichTextFileMadeByPandocOpensWithItsFormatting) {
  const QString pandoc = QStandardPaths::findExecutable(QStringLiteral("pandoc"));
  if (pandoc.isEmpty()) GTEST_SKIP() << "pandoc is not installed";
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("pandocrtf"));
  QByteArray markdown = "# A Title\n\n";
  for (int n = 1; n <= 3000; ++n)
    markdown += "Paragraph " + QByteArray::number(n) +
                " with **strong words**, *emphasis*, ~~struck~~ and `code` in it, "
                "caf\xC3\xA9 \xE2\x82\xAC \xCE\xA9.\n\n";
  const QString source = TestEnvironment::WriteFile(dir + QStringLiteral("/in.md"), markdown);
  const QString file = dir + QStringLiteral("/made by pandoc.rtf");
  QProcess process;
  process.start(pandoc, {QStringLiteral("-s"), QStringLiteral("-f"), QStringLiteral("markdown"),
                         QStringLiteral("-o"), file, source});
  ASSERT_TRUE(process.waitForFinished(120000));
  ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  TModalAnswerer answerer;
  TfrmEdit *edit = m.OpenFile(file);
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(answerer.texts.isEmpty()) << answerer.texts.join(u'|').toStdString();
  EXPECT_EQ(edit->FileName(), file);
  const auto converted = RichTextBridge::ToDocument(*edit->mmoMemo()->document());
  QTextDocument *document = converted.get();
  EXPECT_EQ(document->firstBlock().text(), QStringLiteral("A Title"));
  EXPECT_EQ(document->lastBlock().text(),
            QStringLiteral("Paragraph 3000 with strong words, emphasis, struck and code in it, "
                           "caf\u00e9 \u20ac \u03a9."));
  const QTextCursor found = document->find(QStringLiteral("Paragraph 1500 "));
  ASSERT_FALSE(found.isNull());
  QStringList bold, italic, struck, mono;
  for (auto it = found.block().begin(); !it.atEnd(); ++it) {
    const QTextFragment fragment = it.fragment();
    const QTextCharFormat format = fragment.charFormat();
    if (format.fontWeight() >= QFont::Bold) bold << fragment.text();
    if (format.fontItalic()) italic << fragment.text();
    if (format.fontStrikeOut()) struck << fragment.text();
    if (format.fontFamilies().toStringList().value(0) == QStringLiteral("Courier"))
      mono << fragment.text();
  }
  EXPECT_EQ(bold, QStringList{QStringLiteral("strong words")});
  EXPECT_EQ(italic, QStringList{QStringLiteral("emphasis")});
  EXPECT_EQ(struck, QStringList{QStringLiteral("struck")});
  EXPECT_EQ(mono, QStringList{QStringLiteral("code")});
  EXPECT_FALSE(edit->mmoMemo()->Modified());
}
