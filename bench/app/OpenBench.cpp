// Opening a 16 MB text file until its text is shown: the document window against a bare
// plain-text widget that reads, decodes and shows the same file, side by side in one run.
// Also the memory the open document takes and the time one key press takes in it with word
// wrap on. Run: bench_open [runs]   (QT_QPA_PLATFORM=offscreen or under a display)

#include "Application.h"
#include "RichEdit.h"
#include "fmEdit.h"
#include "fmMain.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

long rssKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return 0;
}

void settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char **argv) {
  TApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
  QTemporaryDir dir;
  const QString path = dir.path() + QStringLiteral("/big.txt");
  {
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return 1;
    const QByteArray line = "The quick brown fox jumps over the lazy dog, again and again, 0123456789.\n";
    // 16 MB, just inside what a workspace holds (16,777,215 characters).
    while (out.size() + line.size() < 16 * 1000 * 1000) out.write(line);
  }

  std::vector<double> bare, ours;
  long bareMem = 0, ourMem = 0;
  for (int run = 0; run < runs; ++run) {
    {
      const long before = rssKiB();
      QElapsedTimer t;
      t.start();
      QPlainTextEdit edit;
      edit.resize(800, 600);
      QFile file(path);
      if (!file.open(QIODevice::ReadOnly)) return 1;
      edit.setPlainText(QString::fromUtf8(file.readAll()));
      edit.show();
      settle();
      bare.push_back(t.elapsed());
      bareMem = std::max(bareMem, rssKiB() - before);
    }
    settle();
    {
      TfrmMain frame;
      frame.resize(800, 600);
      frame.show();
      settle();
      const long before = rssKiB();
      QElapsedTimer t;
      t.start();
      TfrmEdit *edit = frame.OpenFile(path);
      settle();
      ours.push_back(t.elapsed());
      ourMem = std::max(ourMem, rssKiB() - before);
      if (run == runs - 1) {
        // One key press in the middle of the document, word wrap on.
        TRichEdit *memo = edit->mmoMemo();
        memo->SetWordWrap(true);
        memo->SetSelection(memo->PositionCount() / 2, 0);
        settle();
        std::vector<double> keys;
        for (int i = 0; i < 20; ++i) {
          QElapsedTimer k;
          k.start();
          QTest::keyClick(memo, Qt::Key_A);
          settle();
          keys.push_back(double(k.nsecsElapsed()) / 1e6);
        }
        std::printf("key press with word wrap: median %.2f ms, worst %.2f ms\n", median(keys),
                    *std::max_element(keys.begin(), keys.end()));
        // The idle refresh of command states and status panels on the large document.
        memo->SetSelection(memo->PositionCount() / 2, 1000);
        std::vector<double> idles;
        for (int i = 0; i < 50; ++i) {
          QElapsedTimer k;
          k.start();
          frame.proAppIdle();
          idles.push_back(double(k.nsecsElapsed()) / 1e6);
        }
        std::printf("idle refresh on 16 MB: median %.3f ms, worst %.3f ms\n", median(idles),
                    *std::max_element(idles.begin(), idles.end()));
        memo->SetModified(false);
      }
    }
    settle();
  }
  std::printf("open 16 MB: bare widget median %.0f ms, document window median %.0f ms, ratio %.2f\n",
              median(bare), median(ours), median(ours) / median(bare));
  std::printf("memory: bare widget +%ld MiB, document window +%ld MiB\n", bareMem / 1024, ourMem / 1024);
  return 0;
}
