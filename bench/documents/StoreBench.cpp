// SPDX-License-Identifier: GPL-3.0-or-later
// Loads a 200 MB log of 80-character lines into the text store (read, decode in chunks, chunks
// handed over) and times what a view and the editing do with it: line and position lookups,
// keys typed in the middle, the whole text read out (a save), everything deleted. For the
// same text in the document the window kept before (Qt's QTextDocument, one block a line) it
// times putting the text in and the memory it holds; `wc -l` reading the file is the floor.
//
//   store_bench [size in MB, default 200]
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "documents/core/RichTextBridge.h"
#include "documents/store/TextStore.h"
#include "platform/core/SystemMemory.h"
#include "platform/core/TextFile.h"

namespace {

long RssKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return 0;
}

double Ms(const std::function<void()> &job) {
  QElapsedTimer timer;
  timer.start();
  job();
  return double(timer.nsecsElapsed()) / 1e6;
}

// Log lines of 80 characters (79 and the break), their words varied by a counter.
bool WriteLog(const QString &path, qint64 size) {
  QFile out(path);
  if (!out.open(QIODevice::WriteOnly)) return false;
  QByteArray block;
  qint64 written = 0;
  for (qint64 n = 0; written < size; ++n) {
    QByteArray line = "2026-12-10 08:" + QByteArray::number(10 + n % 50) + ":" +
                      QByteArray::number(10 + n % 47) + " host service[" +
                      QByteArray::number(1000 + n % 9000) + "]: request " + QByteArray::number(n) +
                      " done in " + QByteArray::number(n % 997) + " ms";
    line = line.leftJustified(79, '.', true) + '\n';
    block += line;
    if (block.size() >= (1 << 22)) {
      const qint64 take = std::min<qint64>(block.size(), size - written);
      out.write(block.constData(), take);
      written += take;
      block.clear();
    }
  }
  return true;
}

void Row(const char *job, double ms, const char *note = "") {
  std::printf("| %-44s | %10.1f ms | %s\n", job, ms, note);
}

}  // namespace

int main(int argc, char **argv) {
  QGuiApplication app(argc, argv);
  const qint64 megabytes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("log.txt"));
  if (!WriteLog(path, megabytes * 1000 * 1000)) return 1;
  std::printf("%lld MB log of 80-character lines\n\n", static_cast<long long>(megabytes));

  const double wc = Ms([&] {
    QProcess process;
    process.start(QStringLiteral("wc"), {QStringLiteral("-l"), path});
    process.waitForFinished(-1);
  });
  Row("wc -l (reads the file, counts lines)", wc);

  SystemMemory::GiveBackFreed();
  const long before = RssKiB();
  TTextStore store;
  TFileBytes file;
  TDecodedChunks decoded;
  const double read = Ms([&] { file = TextFile::ReadRegularFile(path, qint64(1) << 40); });
  const double decode = Ms([&] {
    decoded = TextFile::DecodeChunks(file.bytes, qsizetype(1) << 40);
    file.bytes = QByteArray();
  });
  const double hand = Ms([&] {
    store.SetText(QString());
    while (!decoded.chunks.empty()) {
      store.Adopt(std::move(decoded.chunks.front()));
      decoded.chunks.pop_front();
    }
    store.LineCount();
  });
  SystemMemory::GiveBackFreed();
  const double storeMiB = double(RssKiB() - before) / 1024;
  Row("read", read);
  Row("decode", decode);
  Row("into the store (lines indexed)", hand);
  Row("load, whole", read + decode + hand);
  std::printf("| %-44s | %10.0f MiB | %.2f times the file; %lld lines in %lld chunks\n",
              "memory held", storeMiB, storeMiB * 1024 * 1024 / double(megabytes * 1000000),
              static_cast<long long>(store.LineCount()),
              static_cast<long long>(store.ChunkCount()));

  QRandomGenerator random(7);
  const qsizetype lines = store.LineCount();
  const double lookups = Ms([&] {
    qsizetype sum = 0;
    for (int i = 0; i < 100000; ++i) {
      const qsizetype line = random.bounded(int(lines));
      sum += store.LineAt(store.LineStart(line) + 3) + store.Line(line).size();
    }
    if (sum == 42) std::puts("");
  });
  Row("100,000 line and position lookups", lookups);
  const qsizetype middle = store.LineStart(lines / 2) + 10;
  std::vector<double> keys;
  for (int i = 0; i < 200; ++i) {
    keys.push_back(Ms([&] {
      store.Replace(middle + i, middle + i,
                    i % 40 == 39 ? QStringLiteral("\n") : QStringLiteral("k"));
      store.LineAt(middle + i);
    }));
  }
  std::sort(keys.begin(), keys.end());
  Row("a key typed in the middle (median)", keys[keys.size() / 2]);
  Row("a key typed in the middle (slowest)", keys.back());
  QString all;
  Row("the whole text read out (a save)", Ms([&] { all = store.Text(); }));
  all = QString();
  Row("a row count set for each of 1,000 lines", Ms([&] {
        for (qsizetype line = 0; line < 1000; ++line) store.SetRows(lines / 3 + line, 2);
        store.RowCount();
      }));
  Row("everything deleted", Ms([&] { store.Replace(0, store.Length(), QString()); }));

  // The document the window kept before the text store, for comparison: Qt's text document,
  // filled a megabyte at a time as the window did, without a layout of Qt's.
  if (qEnvironmentVariableIsSet("BENCH_NO_QTEXT")) return 0;
  SystemMemory::GiveBackFreed();
  const long textBefore = RssKiB();
  file = TextFile::ReadRegularFile(path, qint64(1) << 40);
  TDecodedText text = TextFile::JoinChunks(TextFile::DecodeChunks(file.bytes, qsizetype(1) << 40));
  file.bytes = QByteArray();
  QTextDocument document;
  RichTextBridge::LeaveUnlaid(document);
  document.setUndoRedoEnabled(false);
  const double build = Ms([&] {
    QTextCursor cursor(&document);
    for (qsizetype from = 0; from < text.text.size(); from += qsizetype(1) << 20)
      cursor.insertText(
          text.text.sliced(from, std::min(text.text.size() - from, qsizetype(1) << 20)));
  });
  text.text = QString();
  SystemMemory::GiveBackFreed();
  const double documentMiB = double(RssKiB() - textBefore) / 1024;
  std::printf("\n");
  Row("into a QTextDocument", build);
  std::printf("| %-44s | %10.0f MiB | %.2f times the file\n", "memory held by the QTextDocument",
              documentMiB, documentMiB * 1024 * 1024 / double(megabytes * 1000000));
  return 0;
}
