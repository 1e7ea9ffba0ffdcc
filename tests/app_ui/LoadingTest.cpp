// SPDX-License-Identifier: GPL-3.0-or-later
// Large and unusual files through the real document window: loaded whole (past the old limit
// and in slices, with long lines), never marked changed by loading, saved back byte for byte;
// a load that is cancelled opens nothing; named pipes and devices are refused with a reason;
// names holding "&" show literally in the menus; the default face is monospaced.
#include <sys/stat.h>

#include <QFontInfo>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

#include "AppFixture.h"
#include "documents/core/RichTextBridge.h"
#include "documents/ui/LoadPanel.h"
#include "platform/desktop/IdleNotifier.h"
#include "platform/gui/EditorFont.h"

namespace {

QAction *SaveCommand(TfrmMain &m) { return m.Action(QStringLiteral("mniFile2")); }

// Mixed content of about size bytes: ordinary lines, a line of a megabyte and more, UTF-8
// letters, CR LF line ends; no line end at the very end.
QByteArray bigText(qsizetype size) {
  QByteArray bytes;
  QByteArray longLine(1500 * 1000, 'w');
  for (qsizetype i = 7; i < longLine.size(); i += 11) longLine[i] = ' ';
  int n = 0;
  while (bytes.size() < size) {
    if (++n % 5000 == 0) bytes += longLine + "\r\n";
    bytes += "Line " + QByteArray::number(n) +
             ": gr\xC3\xBC\xC3\x9F"
             "e \xE2\x82\xAC and more words\r\n";
  }
  bytes += "the end";
  return bytes;
}

// Rich text of about size bytes: paragraphs with bold and italic words and a code-page
// escape, in paragraphs numbered from 1; the last one is "the end".
QByteArray bigRtf(qsizetype size) {
  QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Courier New;}}\r\n";
  for (int n = 1; rtf.size() < size; ++n)
    rtf += "Line " + QByteArray::number(n) + " {\\b bold} and {\\i italic} caf\\'e9\\par\r\n";
  return rtf + "the end}";
}

// Answers the first load of the window that is opened next by clicking its Cancel button as
// soon as its progress panel shows past the given progress (of 1000).
class TLoadCanceller {
 public:
  explicit TLoadCanceller(TfrmMain &m, int pastProgress = -1) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this, &m, pastProgress] {
      for (TfrmEdit *edit : m.EditWindows()) {
        if (!edit->Loading() || !edit->pnlLoad()->isVisible() ||
            edit->pnlLoad()->Progress() <= pastProgress)
          continue;
        edit->pnlLoad()->btnCancel()->click();
        clicked = true;
        timer_.stop();
      }
    });
    timer_.start();
  }
  bool clicked = false;

 private:
  QTimer timer_;
};

// Notes, whenever the event loop runs while a window puts a plain-text file into its edit
// control, how many chunks of the text still wait and how much text the control holds, and
// tells then (when given).
class TChunkWatcher {
 public:
  explicit TChunkWatcher(TfrmMain &m, std::function<void(TfrmEdit *)> then = {}) {
    timer_.setInterval(2);
    QObject::connect(&timer_, &QTimer::timeout, [this, &m, then = std::move(then)] {
      for (TfrmEdit *edit : m.EditWindows()) {
        if (edit->ChunksToLoad() == 0) continue;
        seen.emplace_back(edit->ChunksToLoad(), edit->mmoMemo()->document()->characterCount());
        if (then) then(edit);
      }
    });
    timer_.start();
  }
  std::vector<std::pair<qsizetype, int>> seen;  // chunks waiting, characters in the control

 private:
  QTimer timer_;
};

}  // namespace

TEST_F(AppFixture, LargeFilesLoadWholeUnchangedAndSaveBackByteForByte) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("large"));
  const QByteArray bytes = bigText(24 * 1000 * 1000);
  const QString file = TestEnvironment::WriteFile(dir + QStringLiteral("/large.log"), bytes);
  TModalAnswerer answerer;
  TChunkWatcher watcher(m);
  TfrmEdit *edit = m.OpenFile(file);
  TRichEdit *memo = edit->mmoMemo();
  EXPECT_TRUE(answerer.texts.isEmpty());
  // The text went in chunk after chunk, each let go once it was in: fewer chunks waited as the
  // control filled, and none once it was all there.
  const auto &seen = watcher.seen;
  ASSERT_GE(seen.size(), 2U);
  for (size_t i = 1; i < seen.size(); ++i) {
    EXPECT_LE(seen[i].first, seen[i - 1].first);
    EXPECT_GE(seen[i].second, seen[i - 1].second);
  }
  EXPECT_LT(seen.back().first, seen.front().first);
  EXPECT_EQ(edit->ChunksToLoad(), 0);
  EXPECT_FALSE(edit->Loading());
  EXPECT_FALSE(memo->isReadOnly());
  EXPECT_FALSE(edit->pnlLoad()->isVisible());
  EXPECT_FALSE(memo->Modified());
  EXPECT_FALSE(memo->CanUndo());
  Settle();
  EXPECT_EQ(Panel(edit, TfrmEdit::pnlModified), QString());
  EXPECT_EQ(memo->FileText().toUtf8(), bytes);
  EXPECT_EQ(m.FileLists().Recent().value(0), file);

  // One character typed and undone: saved, the file is what it was.
  memo->moveCursor(QTextCursor::End);
  QTest::keyClicks(memo, QStringLiteral("x"));
  EXPECT_TRUE(memo->Modified());
  memo->Undo();
  SaveCommand(m)->trigger();
  EXPECT_FALSE(memo->Modified());
  EXPECT_EQ(TestEnvironment::ReadFile(file), bytes);

  // A character typed stays, after everything else.
  memo->moveCursor(QTextCursor::End);
  QTest::keyClicks(memo, QStringLiteral("!"));
  SaveCommand(m)->trigger();
  EXPECT_EQ(TestEnvironment::ReadFile(file), bytes + "!");
}

// The start of a large file shows while the rest goes in, read-only; meanwhile no command
// reads or changes the half-loaded text (saving it would cut the file, sending or printing it
// would pass a part for the whole), and once it is all there they come back.
TEST_F(AppFixture, ALoadingFileShowsItsStartAndItsCommandsWaitForTheWhole) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("showing"));
  const QByteArray bytes = bigText(16 * 1000 * 1000);
  const QString file = TestEnvironment::WriteFile(dir + QStringLiteral("/large.log"), bytes);
  const QStringList commands = {
      QStringLiteral("mniFile2"),  QStringLiteral("mniFile3"),     QStringLiteral("mniFile4"),
      QStringLiteral("mniFile11"), QStringLiteral("mniFile6"),     QStringLiteral("mniWordCount"),
      QStringLiteral("mniSpell"),  QStringLiteral("mniFind"),      QStringLiteral("mniReplace"),
      QStringLiteral("mniUpper"),  QStringLiteral("mniSelectAll"), QStringLiteral("puiFind")};
  int checks = 0;
  bool shown = false;
  QStringList enabledMeanwhile;
  int blocksAtFirst = 0;
  TChunkWatcher watcher(m, [&](TfrmEdit *edit) {
    TRichEdit *memo = edit->mmoMemo();
    const int blocks = memo->document()->blockCount();
    if (checks == 1 && blocks > blocksAtFirst) {
      // A place the user picked in the shown text stays while more comes in.
      ++checks;
      EXPECT_EQ(memo->SelStart(), 10);
      EXPECT_EQ(memo->SelLength(), 5);
    }
    if (checks > 0 || blocks < 100) return;
    ++checks;
    blocksAtFirst = blocks;
    // The commands follow the active window when the program is next idle.
    Q_EMIT TIdleNotifier::Instance().Idle();
    for (const QString &name : commands)
      if (m.Action(name)->isEnabled()) enabledMeanwhile << name;
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->SelStart(), 0);
    EXPECT_EQ(memo->SelLength(), 0);
    EXPECT_EQ(memo->document()->firstBlock().text(),
              QStringLiteral("Line 1: grüße € and more words"));
    // Drawn: the first lines stand in the view.
    const QImage image = memo->viewport()->grab().toImage();
    const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
    int inked = 0;
    for (int y = 0; y < std::min(image.height(), 40); ++y)
      for (int x = 0; x < std::min(image.width(), 200); ++x)
        inked += image.pixel(x, y) != background;
    shown = memo->updatesEnabled() && inked > 50;
    memo->SetSelection(10, 5);
  });
  TModalAnswerer answerer;
  TfrmEdit *edit = m.OpenFile(file);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(checks, 2);
  EXPECT_TRUE(shown);
  EXPECT_EQ(enabledMeanwhile, QStringList()) << enabledMeanwhile.join(u' ').toStdString();
  EXPECT_EQ(edit->mmoMemo()->FileText().toUtf8(), bytes);
  Q_EMIT TIdleNotifier::Instance().Idle();
  for (const QString &name : commands)
    EXPECT_TRUE(m.Action(name)->isEnabled()) << name.toStdString();
  EXPECT_TRUE(answerer.texts.isEmpty());
}

// A large file named on the command line loads after the frame is shown: meanwhile the frame
// is whole, its tip of the day there.
TEST_F(AppFixture, AFileNamedOnTheCommandLineLoadsInAWholeFrame) {
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("named"));
  const QString file =
      TestEnvironment::WriteFile(dir + QStringLiteral("/large.log"), bigText(16 * 1000 * 1000));
  bool seen = false;
  QString tip;
  QTimer watch;
  watch.setInterval(2);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (!main || seen) return;
    for (TfrmEdit *edit : main->EditWindows()) {
      if (edit->ChunksToLoad() == 0) continue;
      seen = true;
      tip = main->pnlTip()->CurrentTip();
    }
  });
  watch.start();
  TfrmMain &m = Start({file});
  ASSERT_TRUE(seen);
  EXPECT_TRUE(m.pnlTip()->lstTips().contains(tip)) << tip.toStdString();
}

TEST_F(AppFixture, ALongSingleLineLoadsWithWordWrapOnAndTypingGoesOn) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("oneline"));
  QByteArray line;
  while (line.size() < 3 * 1000 * 1000) line += "{\"key\":\"value\",\"n\":[1,2,3]},";
  const QString file = TestEnvironment::WriteFile(dir + QStringLiteral("/min.json"), line);
  // Word wrap on (a test before may have stored it off).
  if (!m.IsChecked(QStringLiteral("mniWordWrap")))
    m.Action(QStringLiteral("mniWordWrap"))->trigger();
  TfrmEdit *edit = m.OpenFile(file);
  TRichEdit *memo = edit->mmoMemo();
  ASSERT_TRUE(memo->WordWrap());
  EXPECT_EQ(memo->document()->blockCount(), 1);
  EXPECT_EQ(memo->PositionCount(), line.size());
  EXPECT_FALSE(memo->Modified());
  memo->moveCursor(QTextCursor::End);
  QTest::keyClicks(memo, QStringLiteral("]"));
  Settle();
  EXPECT_EQ(Panel(edit, TfrmEdit::pnlModified), QStringLiteral("Modified"));
  SaveCommand(m)->trigger();
  EXPECT_EQ(TestEnvironment::ReadFile(file), line + "]");
}

TEST_F(AppFixture, ACancelledLoadOpensNothingAndChangesNothing) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("cancel"));
  const QString file =
      TestEnvironment::WriteFile(dir + QStringLiteral("/huge.log"), bigText(120 * 1000 * 1000));
  const int windowsBefore = int(m.EditWindows().size());
  const QStringList recentBefore = m.FileLists().Recent();
  const QString currentBefore = m.CurrentFileName();
  TLoadCanceller canceller(m);
  TModalAnswerer answerer;
  QPointer<TfrmEdit> edit = m.OpenFile(file);
  EXPECT_TRUE(canceller.clicked);
  EXPECT_TRUE(QTest::qWaitFor([&] { return edit.isNull(); }, 10000));
  EXPECT_EQ(int(m.EditWindows().size()), windowsBefore);
  EXPECT_EQ(m.FileLists().Recent(), recentBefore);
  EXPECT_EQ(m.CurrentFileName(), currentBefore);
  EXPECT_TRUE(answerer.texts.isEmpty());
}

TEST_F(AppFixture, APlainTextLoadStoppedWhileItsChunksGoInOpensNothing) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("chunkstop"));
  const QString file =
      TestEnvironment::WriteFile(dir + QStringLiteral("/large.log"), bigText(16 * 1000 * 1000));
  for (const bool close : {false, true}) {
    SCOPED_TRACE(close ? "window closed" : "Cancel clicked");
    const int windowsBefore = int(m.EditWindows().size());
    const QStringList recentBefore = m.FileLists().Recent();
    const QString currentBefore = m.CurrentFileName();
    // Stopped once a chunk is in the control and others still wait.
    bool stopped = false;
    TChunkWatcher watcher(m, [&](TfrmEdit *edit) {
      if (stopped || watcher.seen.front().first == watcher.seen.back().first) return;
      stopped = true;
      if (close)
        qobject_cast<QMdiSubWindow *>(edit->parentWidget())->close();
      else
        edit->pnlLoad()->btnCancel()->click();
    });
    TModalAnswerer answerer;
    const QPointer<TfrmEdit> edit = m.OpenFile(file);
    EXPECT_TRUE(stopped);
    EXPECT_TRUE(QTest::qWaitFor([&] { return edit.isNull(); }, 10000));
    EXPECT_EQ(int(m.EditWindows().size()), windowsBefore);
    EXPECT_EQ(m.FileLists().Recent(), recentBefore);
    EXPECT_EQ(m.CurrentFileName(), currentBefore);
    EXPECT_TRUE(answerer.texts.isEmpty()) << answerer.texts.join(u'|').toStdString();
  }
}

TEST_F(AppFixture, LargeRichTextLoadsWithItsFormattingAndItsLoadCanBeCancelled) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("largertf"));
  const QString file =
      TestEnvironment::WriteFile(dir + QStringLiteral("/large.rtf"), bigRtf(6 * 1000 * 1000));
  TModalAnswerer answerer;
  TfrmEdit *edit = m.OpenFile(file);
  ASSERT_NE(edit, nullptr);
  TRichEdit *memo = edit->mmoMemo();
  EXPECT_TRUE(answerer.texts.isEmpty());
  EXPECT_FALSE(edit->Loading());
  EXPECT_FALSE(edit->pnlLoad()->isVisible());
  EXPECT_FALSE(memo->isReadOnly());
  EXPECT_FALSE(memo->Modified());
  EXPECT_FALSE(memo->CanUndo());
  EXPECT_EQ(m.CurrentFileName(), file);
  const auto converted = RichTextBridge::ToDocument(*memo->document());
  QTextDocument *document = converted.get();
  EXPECT_EQ(document->lastBlock().text(), QStringLiteral("the end"));
  const QTextBlock middle = document->findBlockByNumber(document->blockCount() / 2);
  EXPECT_EQ(middle.text(),
            QStringLiteral("Line %1 bold and italic caf\u00e9").arg(middle.blockNumber() + 1));
  QStringList bold, italic;
  for (auto it = middle.begin(); !it.atEnd(); ++it) {
    const QTextFragment fragment = it.fragment();
    if (fragment.charFormat().fontWeight() >= QFont::Bold) bold << fragment.text();
    if (fragment.charFormat().fontItalic()) italic << fragment.text();
  }
  EXPECT_EQ(bold, QStringList{QStringLiteral("bold")});
  EXPECT_EQ(italic, QStringList{QStringLiteral("italic")});

  // A larger one cancelled while its rich text is read: no window, nothing remembered.
  const QString huge =
      TestEnvironment::WriteFile(dir + QStringLiteral("/huge.rtf"), bigRtf(40 * 1000 * 1000));
  const int windowsBefore = int(m.EditWindows().size());
  const QStringList recentBefore = m.FileLists().Recent();
  TLoadCanceller canceller(m, 500);
  QPointer<TfrmEdit> cancelled = m.OpenFile(huge);
  EXPECT_TRUE(canceller.clicked);
  EXPECT_TRUE(QTest::qWaitFor([&] { return cancelled.isNull(); }, 10000));
  EXPECT_EQ(int(m.EditWindows().size()), windowsBefore);
  EXPECT_EQ(m.FileLists().Recent(), recentBefore);
  EXPECT_EQ(m.CurrentFileName(), file);
  EXPECT_TRUE(answerer.texts.isEmpty());
}

TEST_F(AppFixture, PipesDevicesAndFoldersAreRefusedWithTheirReason) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("special"));
  const QString fifo = dir + QStringLiteral("/pipe.txt");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const struct {
    QString path;
    QString reason;
  } cases[] = {
      {fifo, QStringLiteral("It is a named pipe (FIFO), not a file.")},
      {QStringLiteral("/dev/zero"), QStringLiteral("It is a character device, not a file.")},
      {dir, QStringLiteral("It is a folder.")},
      {dir + QStringLiteral("/gone.txt"), QStringLiteral("There is no such file.")},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    TModalAnswerer answerer({QStringLiteral("OK")});
    TfrmEdit *edit = m.OpenFile(c.path);
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_EQ(answerer.titles[0], QStringLiteral("Vellumix"));
    EXPECT_EQ(answerer.texts[0],
              QStringLiteral("Cannot open file ") + c.path + QStringLiteral(".\n") + c.reason);
    EXPECT_EQ(edit->Caption(), QStringLiteral("untitled.txt"));
    EXPECT_TRUE(edit->mmoMemo()->toPlainText().isEmpty());
    EXPECT_FALSE(edit->mmoMemo()->Modified());
    EXPECT_FALSE(m.FileLists().Recent().contains(c.path));
  }
}

TEST_F(AppFixture, NamesWithAmpersandsShowLiterallyInTheMenus) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("amp"));
  const QString file =
      TestEnvironment::WriteFile(dir + QStringLiteral("/Tom & Jerry&Co.txt"), "cartoon\n");
  TfrmEdit *edit = m.OpenFile(file);
  Q_EMIT m.Menu(QStringLiteral("mniFile"))->aboutToShow();
  QAction *recent = m.Action(QStringLiteral("mniMRU1"));
  EXPECT_EQ(recent->text(), QString(file).replace(u'&', QStringLiteral("&&")));
  m.FileLists().SetFavorites({file});
  Q_EMIT m.Menu(QStringLiteral("mniFile"))->aboutToShow();
  EXPECT_EQ(m.Action(QStringLiteral("mniFav01"))->text(), recent->text());
  Q_EMIT m.Menu(QStringLiteral("mniWindow"))->aboutToShow();
  QStringList windowItems;
  for (QAction *a : m.Menu(QStringLiteral("mniWindow"))->actions()) windowItems << a->text();
  EXPECT_TRUE(windowItems.contains(QStringLiteral("&2 Tom && Jerry&&Co.txt")))
      << windowItems.join(u'|').toStdString();

  // Reopening from the menu opens the file of that name.
  edit->close();
  Settle();
  const int before = int(m.EditWindows().size());
  recent->trigger();
  Settle();
  ASSERT_EQ(int(m.EditWindows().size()), before + 1);
  EXPECT_EQ(m.ActiveEdit()->FileName(), file);
  EXPECT_EQ(m.ActiveEdit()->mmoMemo()->toPlainText(), QStringLiteral("cartoon\n"));
}

TEST_F(AppFixture, TheDefaultFaceIsShownMonospacedAndStoredAsChosen) {
  TfrmMain &m = Start();
  TRichEdit *memo = m.ActiveEdit()->mmoMemo();
  EXPECT_EQ(memo->font().family(), QStringLiteral("Souvenir Lt BT"));
  const QFontInfo shown(memo->font());
  EXPECT_TRUE(shown.fixedPitch()) << shown.family().toStdString();
  EXPECT_EQ(shown.family(), EditorFont::MonospacedFamily());
  EXPECT_TRUE(EditorFont::ShownFont(memo->font()).family() == EditorFont::MonospacedFamily());
}

TEST_F(AppFixture, TheSizePanelCountsTheBytesOfTheFileAsItWouldBeSaved) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("size"));
  const QByteArray files[] = {
      QByteArray("Gr\xC3\xBC\xC3\x9F"
                 "e \xE2\x82\xAC \xF0\x9F\x98\x80\r\nzwei\r\n"),  // UTF-8
      QByteArray("\xEF\xBB\xBF"
                 "caf\xC3\xA9\n"),  // with BOM
      QByteArray("Gr\xFC\xDF"
                 "e\r\n\x80 5\r\n"),  // Windows-1252
      QByteArray("\xFF\xFE"
                 "a\0b\0\n\0",
                 8),  // UTF-16 LE
  };
  int n = 0;
  for (const QByteArray &bytes : files) {
    SCOPED_TRACE(n);
    TfrmEdit *edit =
        m.OpenFile(TestEnvironment::WriteFile(dir + QStringLiteral("/f%1.txt").arg(n++), bytes));
    Settle();
    EXPECT_EQ(Panel(edit, TfrmEdit::pnlSize), TfrmEdit::SizeText(bytes.size()));
    // One more letter that takes two bytes in UTF-8 and one in Windows-1252.
    edit->mmoMemo()->moveCursor(QTextCursor::End);
    edit->mmoMemo()->ReplaceSelection(QStringLiteral("ü"));
    ASSERT_TRUE(m.SaveFile(edit, edit->FileName()));
    Settle();
    EXPECT_EQ(Panel(edit, TfrmEdit::pnlSize),
              TfrmEdit::SizeText(TestEnvironment::ReadFile(edit->FileName()).size()));
  }
  // A large UTF-8 document says what it counts instead.
  QByteArray large;
  while (large.size() < 3 * 1000 * 1000) large += "\xC3\xBC-line\n";
  TfrmEdit *edit =
      m.OpenFile(TestEnvironment::WriteFile(dir + QStringLiteral("/large.txt"), large));
  Settle();
  EXPECT_TRUE(Panel(edit, TfrmEdit::pnlSize).endsWith(QStringLiteral(" characters")));
}

// The widget lays a line out whole, about a second for 5 MB: opening a long line, in slices
// with the window answering between them, and the settings writing the font after the window
// is made must not lay it out again and again.
TEST_F(AppFixture, ALongSingleLineIsLaidOutAtMostTwiceWhileItOpens) {
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("layouts"));
  QByteArray line;
  while (line.size() < 3 * 1000 * 1000) line += "{\"key\":\"value\",\"n\":[1,2,3]},";
  const QString file = TestEnvironment::WriteFile(dir + QStringLiteral("/min.json"), line);

  // Opened by a running program (word wrap on, the default).
  TfrmMain &m = Start();
  if (!m.IsChecked(QStringLiteral("mniWordWrap")))
    m.Action(QStringLiteral("mniWordWrap"))->trigger();
  TfrmEdit *edit = m.OpenFile(file);
  TRichEdit *memo = edit->mmoMemo();
  Settle();
  ASSERT_EQ(memo->PositionCount(), line.size());
  EXPECT_EQ(memo->SelStart(), 0);
  EXPECT_FALSE(memo->Modified());
  EXPECT_GE(memo->LongLineLayouts(), 1);  // it is shown
  EXPECT_LE(memo->LongLineLayouts(), 2);

  // A font written in parts, as the settings do, lays the line out once.
  const int before = memo->LongLineLayouts();
  QFont font = memo->font();
  font.setPixelSize(15);
  memo->SetEditFont(font);
  font.setFamily(QStringLiteral("DejaVu Sans"));
  memo->SetEditFont(font);
  font.setPointSize(11);
  memo->SetEditFont(font);
  font.setBold(true);
  memo->SetEditFont(font);
  EXPECT_EQ(memo->font(), font);
  Settle();
  memo->repaint();
  EXPECT_EQ(memo->document()->defaultFont(), font);
  EXPECT_LE(memo->LongLineLayouts() - before, 1);
  main.reset();

  // Named on the command line: the window and its settings are made around the load.
  TfrmMain &started = Start({file});
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        TfrmEdit *opened = started.ActiveEdit();
        return opened && !opened->Loading() && opened->mmoMemo()->PositionCount() == line.size();
      },
      60000));
  Settle();
  EXPECT_LE(started.ActiveEdit()->mmoMemo()->LongLineLayouts(), 2);
}

// Lines of 100,000 characters, word wrap on: opening lays out only the lines the view needs,
// each once, and moving through the text lays out the lines that come into view, never one
// again (each is a pause of a tenth of a second per megabyte). The text arrives whole,
// unchanged, with nothing selected.
TEST_F(AppFixture, LongLinesAreLaidOutOnlyNearTheViewAndOnceEach) {
  QByteArray line;
  while (line.size() < 100 * 1000) line += "lorem ipsum dolor sit amet, ";
  line.truncate(100 * 1000);
  QByteArray text;
  for (int i = 0; i < 40; ++i) text += line + '\n';
  const QString file = TestEnvironment::WriteFile(
      TestEnvironment::FreshDir(QStringLiteral("longlines")) + QStringLiteral("/lines.txt"), text);

  TfrmMain &m = Start();
  if (!m.IsChecked(QStringLiteral("mniWordWrap")))
    m.Action(QStringLiteral("mniWordWrap"))->trigger();
  TfrmEdit *edit = m.OpenFile(file);
  ASSERT_NE(edit, nullptr);
  TRichEdit *memo = edit->mmoMemo();
  Settle();
  EXPECT_EQ(memo->FileText().toUtf8(), text);
  EXPECT_FALSE(memo->Modified());
  EXPECT_FALSE(memo->CanUndo());
  EXPECT_EQ(memo->SelStart(), 0);
  EXPECT_EQ(memo->SelLength(), 0);
  const int opened = memo->LongLineLayouts();
  EXPECT_GE(opened, 1);  // the first line is shown
  EXPECT_LE(opened, 4);  // of forty

  memo->moveCursor(QTextCursor::End);
  Settle();
  memo->repaint();
  EXPECT_EQ(memo->SelStart(), memo->PositionCount());
  const int atEnd = memo->LongLineLayouts();
  EXPECT_LE(atEnd - opened, 2);  // the last page
  // Back and forth: every line shown was laid out already.
  memo->moveCursor(QTextCursor::Start);
  Settle();
  memo->repaint();
  memo->moveCursor(QTextCursor::End);
  Settle();
  memo->repaint();
  EXPECT_EQ(memo->LongLineLayouts(), atEnd);
}
