// SPDX-License-Identifier: GPL-3.0-or-later
// Rich text files through the real document window: a large one opens with its formatting
// while the window keeps answering.
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTimer>
#include <cstdio>

#include "AppFixture.h"

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

// The longest gap between ticks of a 10 ms timer while it runs: how long the window could
// not answer. Printed for the record, never asserted.
class TGapMeter {
 public:
  TGapMeter() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout,
                     [this] { worst_ = std::max(worst_, clock_.restart()); });
    clock_.start();
    timer_.start();
  }
  qint64 Worst() const { return std::max(worst_, clock_.elapsed()); }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 worst_ = 0;
};

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
  std::printf("[ rtf load ] 12 MB: shown after %lld ms, longest time without answer %lld ms\n",
              (long long)clock.elapsed(), (long long)gaps.Worst());
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(answerer.texts.isEmpty()) << answerer.texts.join(u'|').toStdString();
  TRichEdit *memo = edit->mmoMemo();
  EXPECT_FALSE(edit->Loading());
  EXPECT_FALSE(memo->isReadOnly());
  EXPECT_FALSE(memo->Modified());
  EXPECT_FALSE(memo->CanUndo());
  EXPECT_EQ(m.CurrentFileName(), file);
  QTextDocument *document = memo->document();
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
