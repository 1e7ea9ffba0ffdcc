// SPDX-License-Identifier: GPL-3.0-or-later
// The spell check and the word count as the user runs them: on the document editor's edit
// control, through the spell component and its dialog, with the window on screen.
//
//   check:   a 1 MB document of known words, Faster on, until the check ends (and once with
//            Faster off, every word shown in the dialog);
//   replace: the same document with 1,000 "teh", each replaced automatically ("teh=the" in
//            the auto-correct list, as after one Replace All);
//   count:   the words of a 16 MB document, with the word-count window repainting. The longest
//            gap between two runs of a 10 ms timer shows how well the window and its OK button
//            answer during the count; a second run presses OK after 300 ms and measures how
//            long the count takes to stop.
// Side by side: hunspell -l on the 1 MB text, wc -w on the 16 MB text (skipped when missing).
//
// Run: spell_editor_bench DICTIONARY_FOLDER WORD_LIST   (QT_QPA_PLATFORM=offscreen or a display)

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "documents/ui/RichEdit.h"
#include "spell/ui/SpellDlg.h"
#include "spell/ui/WordForm.h"

namespace {

// Words of the list that the dictionary knows, plain ASCII letters only.
QList<QByteArray> KnownWords(const QString &dictionaryFolder, const QString &wordList) {
  TSpellCheck check;
  check.Options().dictionaryPath = dictionaryFolder;
  check.Options().userDictionary = QStringLiteral("/dev/null");
  QFile file(wordList);
  QList<QByteArray> known;
  if (!file.open(QIODevice::ReadOnly)) return known;
  for (const QByteArray &line : file.readAll().split('\n')) {
    if (line.size() < 2 || line.size() > 12) continue;
    if (!std::all_of(line.begin(), line.end(), [](char ch) { return ch >= 'a' && ch <= 'z'; }))
      continue;
    if (check.IsKnown(line)) known.append(line);
  }
  return known;
}

// About size bytes of known words in lines of twelve, CR LF line ends (as a document read
// from a Windows file keeps them).
QByteArray MakeText(const QList<QByteArray> &words, qsizetype size, quint32 seed) {
  QRandomGenerator random(seed);
  QByteArray text;
  text.reserve(size + 200);
  int inLine = 0;
  while (text.size() < size) {
    text += words.at(random.bounded(int(words.size())));
    text += ++inLine % 12 == 0 ? "\r\n" : " ";
  }
  return text;
}

// Puts "teh" in place of count words spread evenly over text.
QByteArray WithTypos(QByteArray text, int count) {
  const qsizetype step = text.size() / (count + 1);
  int placed = 0;
  for (qsizetype at = step; placed < count && at < text.size(); at += step) {
    const qsizetype space = text.indexOf(' ', at);
    if (space < 0) break;
    text.insert(space + 1, "teh ");
    ++placed;
  }
  return text;
}

void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

struct TEditor {
  TRichEdit edit;
  explicit TEditor(const QByteArray &text) {
    edit.SetLineEnd(QStringLiteral("\r\n"));
    edit.SetText(QString::fromLatin1(text));
    edit.resize(900, 700);
    edit.show();
    Settle();
  }
};

double CheckMs(TSpellDlg &spell, const QByteArray &text, QString *result = nullptr) {
  TEditor editor(text);
  QElapsedTimer timer;
  timer.start();
  spell.CheckEdit(editor.edit);
  const double ms = double(timer.nsecsElapsed()) / 1e6;
  if (result) *result = editor.edit.Text();
  return ms;
}

// The longest time between two timeouts of a 10 ms timer while run runs.
template <typename F>
double LongestGapMs(F run) {
  QElapsedTimer sinceLast;
  qint64 longest = 0;
  QTimer ticker;
  ticker.setInterval(10);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    longest = std::max(longest, sinceLast.nsecsElapsed());
    sinceLast.restart();
  });
  sinceLast.start();
  ticker.start();
  run();
  ticker.stop();
  return double(std::max(longest, sinceLast.nsecsElapsed())) / 1e6;
}

double ToolMs(const QString &program, const QStringList &arguments, const QString &input,
              QByteArray *output) {
  QProcess process;
  process.setStandardInputFile(input);
  QElapsedTimer timer;
  timer.start();
  process.start(program, arguments);
  if (!process.waitForStarted(5000)) return -1;
  process.waitForFinished(120000);
  const double ms = double(timer.nsecsElapsed()) / 1e6;
  if (output) *output = process.readAllStandardOutput();
  return ms;
}

}  // namespace

int main(int argc, char **argv) {
  QApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s DICTIONARY_FOLDER WORD_LIST\n", argv[0]);
    return 2;
  }
  const QString dictionaryFolder = QString::fromLocal8Bit(argv[1]);
  const QList<QByteArray> words = KnownWords(dictionaryFolder, QString::fromLocal8Bit(argv[2]));
  if (words.size() < 1000) {
    std::fprintf(stderr, "too few known words in %s\n", argv[2]);
    return 1;
  }
  QTemporaryDir dir;
  const QByteArray text = MakeText(words, 1000 * 1000, 1996);
  const QByteArray typos = WithTypos(text, 1000);
  const QString autoCorrect = dir.filePath(QStringLiteral("autocorrect.txt"));
  {
    QFile out(autoCorrect);
    if (!out.open(QIODevice::WriteOnly)) return 1;
    out.write("teh=the\n");
  }

  QWidget owner;
  TSpellDlg spell(&owner);
  spell.SetDictionaryPath(dictionaryFolder);
  spell.SetUserDictionary(dir.filePath(QStringLiteral("USER.DIC")));
  spell.SetFaster(true);
  spell.SetShowCompletedDialog(false);

  std::printf("1 MB document (%lld bytes, %lld words), Faster on\n", qlonglong(text.size()),
              qlonglong(text.count(' ') + text.count('\n')));
  const double checkMs = CheckMs(spell, text);
  std::printf("  check, no unknown words:          %8.0f ms\n", checkMs);

  spell.SetFaster(false);
  const double slowMs = CheckMs(spell, text);
  std::printf("  check, Faster off (every word shown): %5.0f ms\n", slowMs);
  spell.SetFaster(true);

  spell.SetAutoCorrectList(autoCorrect);
  QString corrected;
  const double replaceMs = CheckMs(spell, typos, &corrected);
  std::printf("  check, 1,000 automatic replacements: %6.0f ms (%s)\n", replaceMs,
              corrected.contains(QRegularExpression(QStringLiteral("\\bteh\\b")))
                  ? "some left: WRONG"
                  : "all replaced");
  spell.SetAutoCorrectList(QString());

  const QString textFile = dir.filePath(QStringLiteral("1mb.txt"));
  {
    QFile out(textFile);
    if (!out.open(QIODevice::WriteOnly)) return 1;
    out.write(text);
  }
  QByteArray unknown;
  const double hunspellMs = ToolMs(
      QStringLiteral("hunspell"),
      {QStringLiteral("-d"), QStringLiteral("en_US"), QStringLiteral("-l")}, textFile, &unknown);
  if (hunspellMs >= 0)
    std::printf("  hunspell -l on the same text:     %8.0f ms (%lld words reported)\n", hunspellMs,
                qlonglong(unknown.count('\n')));

  QByteArray big;
  big.reserve(16 * 1000 * 1000 + 64);
  while (big.size() < 16 * 1000 * 1000 - text.size()) big += text;
  std::printf("16 MB document (%lld bytes)\n", qlonglong(big.size()));
  {
    TEditor editor(big);
    QElapsedTimer timer;
    timer.start();
    const qsizetype length = editor.edit.Text().size();
    std::printf("  the text with its line ends, as the count reads it: %.0f ms (%lld characters)\n",
                double(timer.nsecsElapsed()) / 1e6, qlonglong(length));
    std::pair<int, int> counts;
    const double gap = LongestGapMs([&] {
      timer.start();
      counts = spell.CountWords(editor.edit);
    });
    std::printf(
        "  word count:                       %8.0f ms (%d words, %d distinct), longest "
        "pause %.0f ms\n",
        double(timer.nsecsElapsed()) / 1e6, counts.first, counts.second, gap);

    qint64 pressedAt = 0;
    QTimer::singleShot(300, [&] {
      pressedAt = timer.nsecsElapsed();
      if (auto *ok = spell.WordForm()->findChild<QPushButton *>(QStringLiteral("btnOk")))
        ok->click();
    });
    timer.start();
    counts = spell.CountWords(editor.edit);
    std::printf("  OK pressed during the count:      %8.1f ms until it stopped (%d words)\n",
                double(timer.nsecsElapsed() - pressedAt) / 1e6, counts.first);
  }
  const QString bigFile = dir.filePath(QStringLiteral("16mb.txt"));
  {
    QFile out(bigFile);
    if (!out.open(QIODevice::WriteOnly)) return 1;
    out.write(big);
  }
  QByteArray wc;
  const double wcMs = ToolMs(QStringLiteral("wc"), {QStringLiteral("-w")}, bigFile, &wc);
  if (wcMs >= 0)
    std::printf("  wc -w on the same text:           %8.0f ms (%s words)\n", wcMs,
                wc.trimmed().constData());
  return 0;
}
