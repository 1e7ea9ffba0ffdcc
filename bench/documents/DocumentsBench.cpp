// SPDX-License-Identifier: GPL-3.0-or-later
// Times Replace All, Upper Case, saving and Find Next on a 10 MB text with 100,000
// occurrences of the find text, and the same jobs done by sed, tr, cp and grep.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include "documents/core/CaseConvert.h"
#include "documents/core/FindReplace.h"
#include "documents/core/MemoryEdit.h"
#include "documents/core/SafeSave.h"
#include "documents/core/SaveEncoding.h"

namespace {
constexpr qsizetype TextSize = 10 * 1024 * 1024;
constexpr int Occurrences = 100000;

// Lines of ordinary words with "needle" spread evenly through them.
QString MakeText() {
  static const char *const words[] = {"alpha",   "bravo", "charlie", "delta", "echo",
                                      "foxtrot", "golf",  "hotel",   "india", "juliet"};
  QString text;
  text.reserve(TextSize + 100);
  const qsizetype spacing = TextSize / Occurrences;
  int word = 0;
  int placed = 0;
  while (text.size() < TextSize) {
    const qsizetype nextNeedle = qsizetype(placed) * spacing;
    if (placed < Occurrences && text.size() >= nextNeedle) {
      text += QLatin1String("needle ");
      ++placed;
      continue;
    }
    text += QLatin1String(words[word++ % 10]);
    text += (word % 12 == 0) ? u'\n' : u' ';
  }
  return text;
}

double Seconds(const std::function<void()> &job) {
  QElapsedTimer timer;
  timer.start();
  job();
  return timer.nsecsElapsed() / 1e9;
}

double Shell(const QString &command) {
  return Seconds([&] {
    QProcess process;
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    process.waitForFinished(-1);
  });
}

void Row(const char *job, double ours, const char *tool, double theirs) {
  if (theirs > 0)
    std::printf("| %-36s | %9.1f ms | %-30s | %9.1f ms | %6.2f |\n", job, ours * 1000, tool,
                theirs * 1000, ours / theirs);
  else
    std::printf(ours < 0.001 ? "| %-36s | %9.4f ms | %-30s | %12s | %6s |\n"
                             : "| %-36s | %9.1f ms | %-30s | %12s | %6s |\n",
                job, ours * 1000, tool, "", "");
}
}  // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  QTemporaryDir temporary;
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
  const QString text = MakeText();
  const QString file = folder + QStringLiteral("/bench.txt");
  {
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly)) return 1;
    out.write(text.toUtf8());
  }
  std::printf("Text: %lld characters, %d occurrences of \"needle\"\n\n",
              static_cast<long long>(text.size()), Occurrences);
  std::printf("| %-36s | %12s | %-30s | %12s | %6s |\n", "Job", "Vellumix", "Tool", "Tool",
              "Ratio");
  std::printf("|%s|%s|%s|%s|%s|\n", "--------------------------------------", "--------------",
              "--------------------------------", "--------------", "--------");

  TMemoryEdit edit(text);
  TSearchOptions options;
  options.findText = QStringLiteral("needle");
  qsizetype replaced = 0;
  const double replaceAll = Seconds([&] {
    replaced = FindReplace::ReplaceAll(edit, options, QStringLiteral("haystack needle"));
  });
  if (replaced != Occurrences)
    std::printf("replaced %lld, expected %d\n", static_cast<long long>(replaced), Occurrences);
  Row("Replace All (100,000 occurrences)", replaceAll, "sed 's/needle/.../g' (in place)",
      Shell(QStringLiteral("cp '%1' '%1.sed' && sed -i 's/needle/haystack needle/g' '%1.sed'")
                .arg(file)) -
          Shell(QStringLiteral("cp '%1' '%1.cp'").arg(file)));

  edit.SetText(text);
  const double upper = Seconds([&] { MenuConvert(edit, int(TConvertKind::Upper)); });
  Row("Upper Case, whole text", upper, "tr a-z A-Z",
      Shell(QStringLiteral("tr a-z A-Z < '%1' > '%1.tr'").arg(file)));

  TSafeSave saver;
  saver.SetMakeBackup(true);
  const QString target = folder + QStringLiteral("/saved.txt");
  TTextFormat format;
  saver.Save(target, "first");  // so that the timed save also makes a backup
  TEncodedText encoded;
  const double encode =
      Seconds([&] { encoded = EncodeForSave(edit.TextRange(0, edit.PositionCount()), format); });
  const double write = Seconds([&] { saver.Save(target, encoded.bytes); });
  const QString copy = QStringLiteral("cp '%1' '%1.copy' && sync '%1.copy'").arg(file);
  Row("Save: encode as UTF-8", encode, "", 0);
  Row("Save: write, fsync, rename, backup", write, "cp + sync of the file", Shell(copy));
  Row("Save, whole", encode + write, "cp + sync of the file", Shell(copy));

  // Find Next for an occurrence placed at the very end: the longest search there is.
  edit.SetText(text + QStringLiteral(" needlepoint"));
  TSearchOptions last;
  last.findText = QStringLiteral("needlepoint");
  const double findEnd = Seconds([&] { FindReplace::Find(edit, last); });
  Row("Find Next, occurrence at the end", findEnd, "grep -c needlepoint",
      Shell(QStringLiteral("grep -c needlepoint '%1'").arg(file)));
  edit.SetSelection(0, 0);
  const double findNear = Seconds([&] {
                            for (int i = 0; i < 100; ++i) FindReplace::Find(edit, options);
                          }) /
                          100;
  Row("Find Next, next occurrence (mean)", findNear, "", 0);
  TSearchOptions word = options;
  word.wholeWord = true;
  word.matchCase = true;
  edit.SetSelection(0, 0);
  const double findWord = Seconds([&] {
                            for (int i = 0; i < 100; ++i) FindReplace::Find(edit, word);
                          }) /
                          100;
  Row("Find Next, whole word + case (mean)", findWord, "", 0);
  if (edit.SelText() != options.findText || edit.SelStart() < 99 * (TextSize / Occurrences))
    std::printf("Find Next did not reach the 100th occurrence\n");
  return 0;
}
