// SPDX-License-Identifier: GPL-3.0-or-later
// The long commands on a large changed plain-text document through the document window
// (save, Replace All, Upper Case of all, their undo and redo, deleting all by a key, cutting
// and pasting half the text), then settings and moves that reach every line (word wrap, font,
// alignment, web addresses, to the end and back): how long each takes and the longest time
// the window did not answer meanwhile (the longest gap between ticks of a 10 ms timer),
// beside the time reading the whole file text at once takes.
// Run: bench_save [megabytes]   (QT_QPA_PLATFORM=offscreen or under a display; default 100)

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "app/ui/Application.h"
#include "app/ui/fmMain.h"
#include "documents/ui/FindDialog.h"
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
  TRichEdit *memo = edit->mmoMemo();
  QTest::keyClicks(memo, QStringLiteral("x"));
  QElapsedTimer read;
  read.start();
  const qsizetype chars = memo->FileText().size();
  const qint64 readMs = read.elapsed();
  QTest::qWait(500);  // the paint and layout after the key press are done before the save
  std::printf("%lld MB, %lld characters: file text at once %lld ms\n",
              static_cast<long long>(size / 1'000'000), static_cast<long long>(chars),
              static_cast<long long>(readMs));

  // Each command through the window, timed with the longest gap between ticks of a 10 ms
  // timer: the longest time the window did not answer.
  bool allDone = true;
  const auto measure = [&](const char *name, const std::function<bool()> &command) {
    QElapsedTimer clock;
    QElapsedTimer total;
    qint64 worst = 0;
    qint64 worstEnd = 0;  // when the longest gap ended, from the command's start
    const auto tick = [&] {
      const qint64 gap = clock.restart();
      if (gap > worst) worstEnd = total.elapsed();
      worst = std::max(worst, gap);
    };
    QTimer ticks;
    ticks.setInterval(10);
    QObject::connect(&ticks, &QTimer::timeout, tick);
    clock.start();
    ticks.start();
    total.start();
    const bool done = command() && QTest::qWaitFor([&] { return !edit->Busy(); }, 600'000);
    QTest::qWait(100);  // the paint after it
    tick();
    allDone = allDone && done;
    std::printf(
        "%-12s %s in %6lld ms, window did not answer for at most %5lld ms (until %lld ms)\n", name,
        done ? "done" : "FAILED", static_cast<long long>(total.elapsed()),
        static_cast<long long>(worst), static_cast<long long>(worstEnd));
    std::fflush(stdout);
  };
  measure("save", [&] { return frame.SaveFile(edit, edit->FileName()); });
  measure("replace all", [&] {
    edit->ShowSearchDialog(TFindDialog::TMode::Replace);
    auto *dialog = edit->findChild<TFindDialog *>(QStringLiteral("dlgReplace"));
    if (!dialog) dialog = frame.findChild<TFindDialog *>(QStringLiteral("dlgReplace"));
    if (!dialog) return false;
    dialog->edtFind()->setText(QStringLiteral("fox"));
    dialog->edtReplace()->setText(QStringLiteral("cat"));
    dialog->btnReplaceAll()->click();
    dialog->close();
    return true;
  });
  measure("undo", [&] {
    memo->Undo();
    return true;
  });
  measure("upper case", [&] {
    memo->SelectAll();
    edit->ConvertCase(1);
    return true;
  });
  measure("undo", [&] {
    memo->Undo();
    return true;
  });
  measure("redo", [&] {
    memo->Redo();
    return true;
  });
  measure("undo", [&] {
    memo->Undo();
    return true;
  });
  measure("select all", [&] {
    memo->SelectAll();
    return true;
  });
  measure("copy all", [&] {
    memo->Copy();
    return true;
  });
  // Edits of the user's own on most of the text: all deleted by a key, and pasted back.
  measure("delete all", [&] {
    memo->SelectAll();
    QTest::keyClick(memo, Qt::Key_Delete);
    return true;
  });
  measure("undo", [&] {
    memo->Undo();
    return true;
  });
  measure("cut half", [&] {
    memo->SetSelection(memo->PositionCount() / 2, memo->PositionCount());
    memo->Cut();
    return true;
  });
  measure("paste", [&] {
    memo->Paste();
    return true;
  });
  // Settings and moves that reach every line of the document.
  measure("wrap off", [&] {
    memo->SetWordWrap(false);
    return true;
  });
  measure("wrap on", [&] {
    memo->SetWordWrap(true);
    return true;
  });
  measure("font", [&] {
    QFont font = memo->font();
    font.setPixelSize(font.pixelSize() > 0 ? font.pixelSize() + 2 : 16);
    memo->SetEditFont(font);
    return true;
  });
  measure("centred", [&] {
    memo->SetAlignment(TTextAlignment::Center);
    return true;
  });
  measure("addresses on", [&] {
    memo->SetAutoURLDetect(true);
    return true;
  });
  measure("ctrl+end", [&] {
    QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
    return true;
  });
  measure("ctrl+home", [&] {
    QTest::keyClick(memo, Qt::Key_Home, Qt::ControlModifier);
    return true;
  });
  measure("page down", [&] {
    QTest::keyClick(memo, Qt::Key_PageDown);
    return true;
  });
  memo->SetModified(false);
  return allDone ? 0 : 1;
}
