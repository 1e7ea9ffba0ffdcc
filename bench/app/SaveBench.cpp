// SPDX-License-Identifier: GPL-3.0-or-later
// Saving a large changed plain-text document through the document window: how long the save
// takes and the longest time the window did not answer meanwhile (the longest gap between
// ticks of a 10 ms timer), beside the time reading the whole file text at once takes.
// Run: bench_save [megabytes]   (QT_QPA_PLATFORM=offscreen or under a display; default 100)

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "app/ui/Application.h"
#include "app/ui/fmMain.h"
#include "documents/ui/RichEdit.h"
#include "documents/ui/fmEdit.h"

int main(int argc, char **argv) {
  TApplication app(argc, argv);
  const qint64 size = (argc > 1 ? std::max(1, atoi(argv[1])) : 100) * qint64(1'000'000);
  QTemporaryDir dir;
  const QString path = dir.path() + QStringLiteral("/save.txt");
  {
    // Lines of about 80 characters, every third one ending in CR LF.
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return 1;
    QByteArray block;
    for (int n = 0; block.size() < 4'000'000; ++n)
      block += "The quick brown fox jumps over the lazy dog; {\"key\": [1, 2, 3]} 0123456" +
               QByteArray(n % 3 ? "\n" : "\r\n");
    for (qint64 written = 0; written < size; written += block.size()) out.write(block);
  }

  TfrmMain frame;
  frame.resize(800, 600);
  frame.show();
  TfrmEdit *edit = frame.OpenFile(path);
  if (!edit) return 1;
  if (!QTest::qWaitFor([&] { return !edit->Busy(); }, 600'000)) return 1;
  QTest::keyClicks(edit->mmoMemo(), QStringLiteral("x"));

  QElapsedTimer read;
  read.start();
  const qsizetype chars = edit->mmoMemo()->FileText().size();
  const qint64 readMs = read.elapsed();

  QTest::qWait(500);  // the paint and layout after the key press are done before the save

  QElapsedTimer clock;
  QElapsedTimer save;
  qint64 worst = 0;
  qint64 worstEnd = 0;  // when the longest gap ended, from the start of the save
  const auto tick = [&] {
    const qint64 gap = clock.restart();
    if (gap > worst) worstEnd = save.elapsed();
    worst = std::max(worst, gap);
  };
  QTimer ticks;
  ticks.setInterval(10);
  QObject::connect(&ticks, &QTimer::timeout, tick);
  clock.start();
  ticks.start();
  save.start();
  const bool saved = frame.SaveFile(edit, edit->FileName());
  tick();
  const qint64 saveMs = save.elapsed();
  std::printf(
      "%lld MB, %lld characters: file text at once %lld ms; save %s in %lld ms, "
      "window did not answer for at most %lld ms (until %lld ms)\n",
      static_cast<long long>(size / 1'000'000), static_cast<long long>(chars),
      static_cast<long long>(readMs), saved ? "done" : "FAILED", static_cast<long long>(saveMs),
      static_cast<long long>(worst), static_cast<long long>(worstEnd));
  return saved ? 0 : 1;
}
