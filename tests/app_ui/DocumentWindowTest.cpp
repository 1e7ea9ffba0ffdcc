// SPDX-License-Identifier: GPL-3.0-or-later
#include <QSignalSpy>
#include <QTemporaryDir>

#include "AppFixture.h"
#include "documents/store/TextModel.h"
#include "platform/core/TextFile.h"
#include "platform/desktop/KeyboardState.h"

namespace {

QString header() { return QStringLiteral("Vellumix\n----------------\n"); }

QByteArray utf16le(const QString &text) {
  QByteArray out("\xFF\xFE", 2);
  for (QChar c : text) out.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
  return out;
}

}  // namespace

TEST_F(AppFixture, FilesInEveryEncodingAndLineEndShowTheirCharacters) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("enc"));
  const QString expected = QStringLiteral("Grüße €\nzweite");
  const std::pair<const char *, QByteArray> files[] = {
      {"utf8.txt", QByteArray("Gr\xC3\xBC\xC3\x9F"
                              "e \xE2\x82\xAC\nzweite")},
      {"bom.txt", QByteArray("\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F"
                             "e \xE2\x82\xAC\r\nzweite")},
      {"utf16.txt", utf16le(QStringLiteral("Grüße €\rzweite"))},
      {"ansi.txt", QByteArray("Gr\xFC\xDF"
                              "e \x80\r\nzweite")},
  };
  for (const auto &[name, bytes] : files) {
    SCOPED_TRACE(name);
    TfrmEdit *edit =
        m.OpenFile(TestEnvironment::WriteFile(dir + u'/' + QLatin1String(name), bytes));
    EXPECT_EQ(edit->mmoMemo()->toPlainText(), expected);
    EXPECT_EQ(edit->Caption(), QLatin1String(name));
    // Saving the unchanged document writes the same bytes back.
    ASSERT_TRUE(m.SaveFile(edit, edit->FileName()));
    EXPECT_EQ(TestEnvironment::ReadFile(edit->FileName()), bytes);
  }
}

TEST_F(AppFixture, StatusPanelsFollowTheDocument) {
  TfrmMain &m = Start();
  QTemporaryDir shortDir(QStringLiteral("/tmp/vp-XXXXXX"));  // short enough for a 45-character name
  const QString dir = shortDir.path();
  // Panel 2 is 300 pixels up to 45 characters, then 7 per character.
  QString name45 = dir + u'/';
  name45 += QString(45 - name45.size() - 4, u'n') + QStringLiteral(".txt");
  ASSERT_EQ(name45.size(), 45);
  QString name46 = name45;
  name46.insert(name46.size() - 4, u'x');
  TfrmEdit *short45 = m.OpenFile(TestEnvironment::WriteFile(name45, ""));
  TfrmEdit *long46 = m.OpenFile(TestEnvironment::WriteFile(name46, "12345\n6789"));
  EXPECT_EQ(short45->barEdit()->Width(TfrmEdit::pnlFileName), 300);
  EXPECT_EQ(long46->barEdit()->Width(TfrmEdit::pnlFileName), 7 * 46);
  EXPECT_EQ(Panel(short45, TfrmEdit::pnlSize), QStringLiteral("0 bytes"));
  EXPECT_EQ(Panel(short45, TfrmEdit::pnlCaret), QStringLiteral("1:1"));
  EXPECT_EQ(Panel(long46, TfrmEdit::pnlSize), QStringLiteral("10 bytes"));
  EXPECT_EQ(long46->barEdit()->Width(TfrmEdit::pnlSize), 7 * 8);
  // A text grown longer widens the panel, so its size is never cut; a shorter one keeps it.
  long46->mmoMemo()->moveCursor(QTextCursor::End);
  long46->mmoMemo()->ReplaceSelection(QString(20000, u'x'));
  Settle();
  const QString grown = Panel(long46, TfrmEdit::pnlSize);
  EXPECT_TRUE(grown.endsWith(QStringLiteral(" bytes"))) << grown.toStdString();
  EXPECT_EQ(long46->barEdit()->Width(TfrmEdit::pnlSize), 7 * grown.size());
  long46->mmoMemo()->Undo();
  Settle();
  EXPECT_EQ(long46->barEdit()->Width(TfrmEdit::pnlSize), 7 * grown.size());

  // Sizes use the locale's thousands separator.
  EXPECT_EQ(TfrmEdit::SizeText(1234),
            QLocale().toString(1234).contains(u',') || QLocale().groupSeparator() == u','
                ? QStringLiteral("1,234 bytes")
                : QStringLiteral("1") + QLocale().groupSeparator() + QStringLiteral("234 bytes"));

  // Lock keys, refreshed by the once-a-second timer.
  KeyboardState::SetSource([] { return TLockStates{true, true, false}; });
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return Panel(long46, TfrmEdit::pnlCaps) == QStringLiteral("CAP"); }, 10000));
  EXPECT_EQ(Panel(long46, TfrmEdit::pnlNum), QString());
  KeyboardState::SetSource({});

  // The Insert key switches to typing over the text.
  TRichEdit *memo = long46->mmoMemo();
  memo->SetSelection(0, 0);
  QTest::keyClick(memo, Qt::Key_Insert);
  long46->tmrKeyStateTimer();
  EXPECT_EQ(Panel(long46, TfrmEdit::pnlInsert), QStringLiteral("OVR"));
  QTest::keyClicks(memo, QStringLiteral("ab"));
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("ab345\n6789"));
  QTest::keyClick(memo, Qt::Key_Insert);
  long46->tmrKeyStateTimer();
  EXPECT_EQ(Panel(long46, TfrmEdit::pnlInsert), QStringLiteral("INS"));
  Settle();
  EXPECT_EQ(Panel(long46, TfrmEdit::pnlCaret), QStringLiteral("1:3"));
  EXPECT_EQ(Panel(long46, TfrmEdit::pnlModified), QStringLiteral("Modified"));
}

TEST_F(AppFixture, CloseQuestionSavesOnYesAndKeepsTheWindowWhenSavingFails) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("close"));
  const QString file = TestEnvironment::WriteFile(dir + QStringLiteral("/letter.txt"), "Dear\r\n");
  TfrmEdit *edit = m.OpenFile(file);
  edit->mmoMemo()->moveCursor(QTextCursor::End);
  QTest::keyClicks(edit->mmoMemo(), QStringLiteral("Sir"));

  TModalAnswerer answerer({QStringLiteral("&Yes")});
  m.Action(QStringLiteral("mniFile1"))->trigger();
  Settle();
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_EQ(answerer.texts[0], header() + QStringLiteral("Save Changes to 'letter.txt'\"?"));
  EXPECT_EQ(TestEnvironment::ReadFile(file), QByteArray("Dear\r\nSir"));
  EXPECT_EQ(m.EditWindows().size(), 1);  // only the untitled one is left

  // Yes on an untitled document whose Save As is cancelled keeps the text.
  TfrmEdit *untitled = m.EditWindows().first();
  QTest::keyClicks(untitled->mmoMemo(), QStringLiteral("keep me"));
  answerer.Add(QStringLiteral("&Yes"));
  answerer.Add(QString());  // cancel the Save As dialog
  m.Action(QStringLiteral("mniFile1"))->trigger();
  Settle();
  EXPECT_EQ(answerer.texts.size(), 3);
  EXPECT_EQ(answerer.titles[2], QStringLiteral("Save As"));
  ASSERT_EQ(m.EditWindows().size(), 1);
  EXPECT_EQ(m.EditWindows().first()->mmoMemo()->toPlainText(), QStringLiteral("keep me"));
}

TEST_F(AppFixture, BinaryAndOversizedFilesOpenWithoutHarm) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("big"));
  QByteArray binary;
  for (int i = 0; i < 4096; ++i) binary.append(char(i * 7));
  TModalAnswerer binaryAnswer({QStringLiteral("&Yes")});  // open it although it is no text
  TfrmEdit *bin = m.OpenFile(TestEnvironment::WriteFile(dir + QStringLiteral("/data.bin"), binary));
  EXPECT_EQ(binaryAnswer.texts.size(), 1);
  EXPECT_EQ(bin->Caption(), QStringLiteral("data.bin"));
  EXPECT_GT(bin->mmoMemo()->PositionCount(), 0);

  // Past the old limit of 16,777,215 characters: all of it, without a word, unchanged.
  QByteArray huge(16777215 + 1000, 'x');
  for (qsizetype i = 99; i < huge.size(); i += 100) huge[i] = '\n';
  TModalAnswerer answerer;
  TfrmEdit *big = m.OpenFile(TestEnvironment::WriteFile(dir + QStringLiteral("/huge.txt"), huge));
  EXPECT_TRUE(answerer.texts.isEmpty());
  EXPECT_EQ(big->mmoMemo()->PositionCount(), huge.size());
  EXPECT_FALSE(big->mmoMemo()->Modified());
  EXPECT_EQ(big->mmoMemo()->FileText().toLatin1(), huge);
}

TEST_F(AppFixture, WebAddressClicksAskBeforeOpening) {
  TfrmMain &m = Start();
  TRichEdit *memo = m.ActiveEdit()->mmoMemo();
  memo->SetAutoURLDetect(true);
  memo->SetText(QStringLiteral("see https://example.org/page for more"));
  EXPECT_EQ(memo->UrlAt(8), QStringLiteral("https://example.org/page"));
  EXPECT_EQ(memo->UrlAt(2), QString());
  TModalAnswerer answerer({QStringLiteral("&No")});
  QSignalSpy clicks(memo, &TRichEdit::URLClick);
  const QPoint at = memo->cursorRect(TTextCursor(memo->document()->findBlockByNumber(0))).center() +
                    QPoint(memo->fontMetrics().horizontalAdvance(QStringLiteral("see http")), 0);
  QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, at);
  Settle();
  ASSERT_EQ(clicks.size(), 1);
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_EQ(answerer.titles[0], QStringLiteral("Information"));  // a notice, not a confirmation
  EXPECT_EQ(answerer.texts[0],
            header() + QStringLiteral("Choosing Yes will start your web-browser and connect you to "
                                      "'https://example.org/page'.\n\nDo you wish to continue?"));
}

TEST_F(AppFixture, WebAddressesAreMarkedOnScreenOnly) {
  TfrmMain &m = Start();
  TRichEdit *memo = m.ActiveEdit()->mmoMemo();
  QStringList lines;
  for (int i = 0; i < 20000; ++i)
    lines << QStringLiteral("line %1 see https://example.org/%1 here").arg(i);
  memo->SetText(lines.join(u'\n'));
  memo->SetModified(false);
  Settle();
  const auto bluePixels = [memo] {
    const QImage image = memo->viewport()->grab().toImage();
    int blue = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        blue += c.blue() > 160 && c.red() < 90 && c.green() < 90;
      }
    return blue;
  };
  EXPECT_EQ(bluePixels(), 0);

  // Turning detection on or off marks what is shown; the document itself is not touched
  // (no change reported, no format given to its lines, not modified).
  QSignalSpy changes(memo->document(), &TTextModel::contentsChange);
  memo->SetAutoURLDetect(true);
  Settle();
  EXPECT_GT(bluePixels(), 50);
  EXPECT_EQ(changes.size(), 0);
  EXPECT_FALSE(memo->Modified());
  EXPECT_FALSE(memo->document()->isUndoAvailable());
  EXPECT_EQ(memo->UrlAt(memo->document()->findBlockByNumber(19999).position() + 15),
            QStringLiteral("https://example.org/19999"));
  // An address typed is marked as it is typed; the line's end moved on from it is not.
  memo->SetText(QStringLiteral("plain"));
  Settle();
  EXPECT_EQ(bluePixels(), 0);
  memo->moveCursor(QTextCursor::End);
  QTest::keyClicks(memo, QStringLiteral(" www.example.org."));
  Settle();
  EXPECT_GT(bluePixels(), 20);
  EXPECT_EQ(memo->UrlAt(10), QStringLiteral("www.example.org"));
  EXPECT_EQ(memo->UrlAt(21), QString());
  // In a line of megabytes the address under the mouse is found, and nothing of the next line.
  const QString words = QStringLiteral("word ").repeated(200'000);
  memo->SetText(words + QStringLiteral("mailto:a@example.org ") + words +
                QStringLiteral("\nwww.b.example"));
  EXPECT_EQ(memo->UrlAt(words.size() + 3), QStringLiteral("mailto:a@example.org"));
  EXPECT_EQ(memo->UrlAt(words.size() - 1), QString());
  EXPECT_EQ(memo->UrlAt(memo->PositionCount() - 2), QStringLiteral("www.b.example"));
  EXPECT_EQ(memo->UrlAt(memo->PositionCount() - 14), QString());  // the first line's end
  changes.clear();
  memo->SetAutoURLDetect(false);
  Settle();
  EXPECT_EQ(bluePixels(), 0);
  EXPECT_EQ(changes.size(), 0);
  memo->SetModified(false);
}

TEST_F(AppFixture, AlignmentMovesEveryLineButLeavesTheTextAlone) {
  TfrmMain &m = Start();
  TRichEdit *memo = m.ActiveEdit()->mmoMemo();
  memo->SetText(QStringLiteral("short\nline two"));
  Settle();
  auto firstCharX = [&] {
    return memo->cursorRect(TTextCursor(memo->document()->findBlockByNumber(1))).left();
  };
  const int left = firstCharX();
  memo->SetAlignment(TTextAlignment::Right);
  Settle();
  const int right = firstCharX();
  EXPECT_GT(right, memo->viewport()->width() / 2);
  memo->SetAlignment(TTextAlignment::Center);
  Settle();
  EXPECT_GT(firstCharX(), left);
  EXPECT_LT(firstCharX(), right);
  EXPECT_EQ(memo->Text(), QStringLiteral("short\nline two"));
}
