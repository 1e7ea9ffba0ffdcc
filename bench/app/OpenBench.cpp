// SPDX-License-Identifier: GPL-3.0-or-later
// Opening large and unusual text files until they are shown, through the document window,
// against a bare plain-text widget that reads, decodes and shows the same file, side by side in
// one run. For each file: the time until the text is shown with the caret at its end, the
// longest time the window did not answer during the load, the memory the open document takes,
// the peak resident set of the process during the load, and the time one key press takes at
// the end of the text.
// Run: bench_open [runs] [files...]   (QT_QPA_PLATFORM=offscreen or under a display)
// Files: log200 (200 MB of 80-character lines), line5 (5 MB in one line), text15 (15 MB),
// lines1m (100 MB of 1 MB lines); without names all four.

#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>

#include "app/ui/Application.h"
#include "app/ui/fmMain.h"
#include "documents/ui/RichEdit.h"
#include "documents/ui/fmEdit.h"
#include "platform/core/SystemMemory.h"
#include "settings/core/RootKey.h"
#include "settings/core/SettingsStore.h"

namespace {

// A figure of /proc/self/status in KiB: "VmRSS:" the resident set, "VmHWM:" its peak.
long statusKiB(const char *field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const size_t length = std::strlen(field);
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(length));
  return 0;
}

long rssKiB() { return statusKiB("VmRSS:"); }

// Gives the heap's free pages back and starts the peak resident set again from what is
// resident now, so that the next load's peak is its own, not the run's before it.
void resetPeak() {
  SystemMemory::GiveBackFreed();
  std::ofstream("/proc/self/clear_refs") << "5";
}

void settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Writes lines of lineLength characters (the last one a line break) until size bytes.
bool writeFile(const QString &path, qint64 size, qint64 lineLength) {
  QFile out(path);
  if (!out.open(QIODevice::WriteOnly)) return false;
  const QByteArray pattern =
      "The quick brown fox jumps over the lazy dog; {\"key\": [1, 2, 3]} 0123456789 ";
  QByteArray line;
  while (line.size() < lineLength - 1) line += pattern;
  line.truncate(lineLength - 1);
  if (lineLength < size) line += '\n';
  QByteArray block;
  while (block.size() < qsizetype{4} * 1024 * 1024) block += line;
  qint64 written = 0;
  while (written < size) {
    const qint64 n = std::min<qint64>(block.size(), size - written);
    out.write(block.constData(), n);
    written += n;
  }
  return true;
}

// The longest gap between ticks of a 10 ms timer while it runs: how long the window could
// not answer.
class TGapMeter {
 public:
  TGapMeter() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const qint64 gap = clock_.restart();
      worst_ = std::max(worst_, gap);
      if (trace_ && gap >= 50)
        std::fprintf(stderr, "gap %lld ms ending at %lld ms\n", static_cast<long long>(gap),
                     static_cast<long long>(since_.elapsed()));
    });
  }
  void Start() {
    worst_ = 0;
    clock_.start();
    since_.start();
    timer_.start();
  }
  qint64 Stop() {
    timer_.stop();
    return std::max(worst_, clock_.elapsed());
  }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  QElapsedTimer since_;
  qint64 worst_ = 0;
  // BENCH_GAPS=1 prints each gap of 50 ms or more, to find where the window stops answering.
  bool trace_ = qEnvironmentVariableIntValue("BENCH_GAPS") != 0;
};

struct TFigures {
  int layouts = -1;  // layouts of long lines while it opened (the document window's count)
  double openMs = 0;
  double textMs = 0;  // until the first text stood in the window
  qint64 gapMs = 0;
  long memKiB = 0;
  long peakKiB = 0;  // VmHWM at the end of the load
  double keyMs = 0;
};

// Either widget: the bare plain-text edit or the document's edit control.
template <typename TEdit>
double keyAtEnd(TEdit *edit) {
  edit->moveCursor(QTextCursor::End);
  settle();
  std::vector<double> keys;
  for (int i = 0; i < 5; ++i) {
    QElapsedTimer k;
    k.start();
    QTest::keyClick(edit, Qt::Key_A);
    settle();
    keys.push_back(double(k.nsecsElapsed()) / 1e6);
  }
  return median(keys);
}

TFigures bare(const QString &path, bool wrap) {
  TFigures f;
  resetPeak();
  const long before = rssKiB();
  TGapMeter gaps;
  gaps.Start();
  QElapsedTimer t;
  t.start();
  QPlainTextEdit edit;
  edit.resize(800, 600);
  edit.setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return f;
  edit.setPlainText(QString::fromUtf8(file.readAll()));
  edit.show();
  edit.moveCursor(QTextCursor::End);
  settle();
  f.openMs = f.textMs = double(t.elapsed());
  f.gapMs = gaps.Stop();
  f.memKiB = rssKiB() - before;
  f.peakKiB = statusKiB("VmHWM:");
  f.keyMs = keyAtEnd(&edit);
  return f;
}

TFigures ours(const QString &path, bool wrap) {
  TFigures f;
  // BENCH_URLS=1: web addresses detected in the document windows (a stored setting).
  if (qEnvironmentVariableIsSet("BENCH_URLS"))
    WriteEditSetting(QStringLiteral("mmoMemo_AutoURLDetect"), QStringLiteral("True"),
                     TSettingsStore::User());
  TfrmMain frame;
  frame.resize(800, 600);
  frame.show();
  settle();
  if (TfrmEdit *first = frame.ActiveEdit()) first->mmoMemo()->SetWordWrap(wrap);
  resetPeak();
  const long before = rssKiB();
  TGapMeter gaps;
  gaps.Start();
  QElapsedTimer t;
  t.start();
  // The window shows a large file's start while the rest goes in.
  QTimer firstText;
  firstText.setInterval(5);
  QObject::connect(&firstText, &QTimer::timeout, [&] {
    for (TfrmEdit *e : frame.EditWindows())
      if (f.textMs == 0 && e->Loading() && e->mmoMemo()->document()->characterCount() > 1)
        f.textMs = double(t.elapsed());
  });
  firstText.start();
  TfrmEdit *edit = frame.OpenFile(path);
  firstText.stop();
  edit->mmoMemo()->SetWordWrap(wrap);
  edit->mmoMemo()->moveCursor(QTextCursor::End);
  settle();
  f.openMs = double(t.elapsed());
  if (f.textMs == 0) f.textMs = f.openMs;
  f.gapMs = gaps.Stop();
  f.memKiB = rssKiB() - before;
  f.peakKiB = statusKiB("VmHWM:");
  f.layouts = edit->mmoMemo()->LongLineLayouts();
  f.keyMs = keyAtEnd(edit->mmoMemo());
  edit->mmoMemo()->SetModified(false);
  return f;
}

struct TCase {
  const char *name;
  qint64 size;
  qint64 lineLength;
  bool wrap;
};

}  // namespace

int main(int argc, char **argv) {
  TApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 1;
  const std::vector<TCase> all = {{"log200", 200'000'000, 80, true},
                                  {"line5", 5'000'000, 5'000'000, true},
                                  {"text15", 15'000'000, 72, true},
                                  {"lines1m", 100'000'000, 1'000'000, true}};
  std::vector<TCase> cases;
  for (int i = 2; i < argc; ++i)
    for (const TCase &c : all)
      if (std::string(argv[i]) == c.name) cases.push_back(c);
  if (cases.empty()) cases = all;

  QTemporaryDir dir;
  std::printf("%-8s %-16s %10s %10s %10s %10s %10s %10s %8s\n", "file", "widget", "text ms",
              "shown ms", "no answer", "memory MiB", "peak MiB", "key ms", "layouts");
  for (const TCase &c : cases) {
    const QString path = dir.path() + u'/' + QString::fromLatin1(c.name) + QStringLiteral(".txt");
    if (!writeFile(path, c.size, c.lineLength)) return 1;
    std::vector<TFigures> b, o;
    for (int run = 0; run < runs; ++run) {
      if (!qEnvironmentVariableIsSet("BENCH_NO_BARE")) b.push_back(bare(path, c.wrap));
      settle();
      o.push_back(ours(path, c.wrap));
      settle();
    }
    const auto print = [&](const char *widget, const std::vector<TFigures> &v) {
      std::vector<double> text, open, key;
      qint64 gap = 0;
      long mem = 0, peak = 0;
      int layouts = -1;
      for (const TFigures &f : v) {
        layouts = std::max(layouts, f.layouts);
        text.push_back(f.textMs);
        open.push_back(f.openMs);
        key.push_back(f.keyMs);
        gap = std::max(gap, f.gapMs);
        mem = std::max(mem, f.memKiB);
        peak = std::max(peak, f.peakKiB);
      }
      const std::string counted = layouts < 0 ? std::string("-") : std::to_string(layouts);
      std::printf("%-8s %-16s %10.0f %10.0f %10lld %10ld %10ld %10.1f %8s\n", c.name, widget,
                  median(text), median(open), static_cast<long long>(gap), mem / 1024, peak / 1024,
                  median(key), counted.c_str());
    };
    if (!b.empty()) print("QPlainTextEdit", b);
    print("document window", o);
    std::fflush(stdout);
    QFile::remove(path);
  }
  return 0;
}
