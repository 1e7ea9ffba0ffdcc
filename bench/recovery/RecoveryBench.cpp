// SPDX-License-Identifier: GPL-3.0-or-later
// Key-press latency in a 15 MB document with recovery copies on and off. Keys arrive in
// bursts (25 keys 40 ms apart, then a 4 s pause, which lets a copy be written), as a typist
// would give them; a key's latency is the time from when it was due until it was handled, so
// any work the event loop was busy with when the key arrived (copying the text for the
// recovery copy) counts against it.
// Run: bench_recovery [bursts]   (QT_QPA_PLATFORM=offscreen or under a display)

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>

#include "app/ui/Application.h"
#include "app/ui/fmMain.h"
#include "documents/recovery/RecoveryStore.h"
#include "documents/recovery/RecoveryTracker.h"
#include "documents/ui/RichEdit.h"
#include "documents/ui/fmEdit.h"

namespace {

struct TResult {
  std::vector<double> latencies;
  int copies = 0;
};

double percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

// Each copy's name, size and time: changes when a copy is written.
QStringList copies(const QString &folder) {
  QStringList found;
  for (const QFileInfo &info : QDir(folder).entryInfoList({QStringLiteral("*.vxr")}, QDir::Files))
    found << info.fileName() + u' ' + QString::number(info.size()) + u' ' +
                 QString::number(info.lastModified().toMSecsSinceEpoch());
  return found;
}

TResult typeInto(TRichEdit *memo, int bursts, const QString &folder) {
  TResult result;
  QElapsedTimer clock;
  clock.start();
  qint64 due = 0;
  for (int burst = 0; burst < bursts; ++burst) {
    for (int key = 0; key < 25; ++key) {
      due += 40;
      while (clock.elapsed() < due) QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
      const qint64 dueNs = due * 1000000;
      QTest::keyClick(memo, Qt::Key_A);
      result.latencies.push_back(double(clock.nsecsElapsed() - dueNs) / 1e6);
    }
    due += 4000;
    const QStringList before = copies(folder);
    while (clock.elapsed() < due) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    if (TRecoveryStore *store = TRecoveryStore::Active()) store->Flush();
    result.copies += copies(folder) != before ? 1 : 0;
  }
  return result;
}

}  // namespace

int main(int argc, char **argv) {
  QTemporaryDir state;  // the program's own recovery folder, away from the user's
  qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
  TApplication app(argc, argv);
  const int bursts = argc > 1 ? std::max(1, atoi(argv[1])) : 6;
  QTemporaryDir dir;
  const QString path = dir.path() + QStringLiteral("/big.txt");
  {
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return 1;
    const QByteArray line =
        "The quick brown fox jumps over the lazy dog, again and again, 0123456789.\n";
    while (out.size() + line.size() < 15 * 1000 * 1000) out.write(line);
  }
  const QString folder = dir.path() + QStringLiteral("/recovery/");
  for (const bool on : {false, true, false, true}) {
    TfrmMain m;
    m.show();
    if (!QTest::qWaitFor([&] { return !m.HelpFile().isEmpty(); }, 30000)) return 1;
    // The main window started the program's own store; the benchmark uses one of its own.
    TRecoveryStore store(folder);
    TRecoveryStore::SetActive(on ? &store : nullptr);
    TfrmEdit *edit = m.OpenFile(path);
    TRichEdit *memo = edit->mmoMemo();
    memo->SetSelection(memo->PositionCount() / 2, 0);
    memo->setFocus();
    const TResult r = typeInto(memo, bursts, folder);
    std::printf(
        "recovery %-3s: key latency median %.3f ms, 95th %.3f ms, 99th %.3f ms, worst %.3f ms; "
        "copies written after %d of %d bursts\n",
        on ? "on" : "off", percentile(r.latencies, 0.5), percentile(r.latencies, 0.95),
        percentile(r.latencies, 0.99), percentile(r.latencies, 1.0), r.copies, bursts);
    std::fflush(stdout);
    memo->SetModified(false);
    TRecoveryStore::SetActive(nullptr);
  }
  return 0;
}
