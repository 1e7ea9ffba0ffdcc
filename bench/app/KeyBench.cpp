// SPDX-License-Identifier: GPL-3.0-or-later
// Where the time of a key press at the end of a very long line goes: the document's edit
// widget and a bare QPlainTextEdit each hold one line of the given length, the caret at its
// end; one key is typed (the change and the widget's layout of the line) and the viewport is
// then painted (the caret's place in the line found again). Each part is timed; under
// valgrind --tool=callgrind --instr-atstart=no only the key press and the paint are counted.
// Run: bench_keypress [characters=5000000] [wrap=1] [widget=both|bare|edit]
//      (QT_QPA_PLATFORM=offscreen or under a display)

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "documents/ui/RichEdit.h"

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#endif

namespace {

QString longLine(qsizetype size) {
  const QString word = QStringLiteral("{\"key\":\"value\",\"n\":12345},");
  QString s;
  s.reserve(size + word.size());
  while (s.size() < size) s += word;
  return s;
}

// Either widget: the bare plain-text edit or the document's edit control.
template <typename TEdit>
void measure(const char *name, TEdit &edit, const QString &text, bool wrap) {
  QFont font(QStringLiteral("Liberation Mono"));
  font.setPixelSize(13);
  edit.setFont(font);
  edit.setLineWrapMode(wrap ? TEdit::WidgetWidth : TEdit::NoWrap);
  edit.resize(800, 600);
  edit.setPlainText(text);
  edit.moveCursor(QTextCursor::End);
  edit.show();
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  edit.viewport()->repaint();

  QElapsedTimer t;
  t.start();
  CALLGRIND_START_INSTRUMENTATION;
  QTest::keyClick(&edit, Qt::Key_A);
  const qint64 key = t.nsecsElapsed();
  edit.viewport()->repaint();
  CALLGRIND_STOP_INSTRUMENTATION;
  const qint64 total = t.nsecsElapsed();
  std::printf(
      "%-16s %9lld characters, wrap %-3s  key (change + layout) %8.1f ms   paint %8.1f ms\n", name,
      static_cast<long long>(text.size()), wrap ? "on" : "off", double(key) / 1e6,
      double(total - key) / 1e6);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char **argv) {
  QApplication app(argc, argv);
  const qsizetype size = argc > 1 ? std::atoll(argv[1]) : 5'000'000;
  const bool wrap = argc > 2 ? std::atoi(argv[2]) != 0 : true;
  const char *widget = argc > 3 ? argv[3] : "both";
  const QString text = longLine(size);
  if (std::strcmp(widget, "edit") != 0) {
    QPlainTextEdit bare;
    measure("QPlainTextEdit", bare, text, wrap);
  }
  if (std::strcmp(widget, "bare") != 0) {
    TRichEdit edit;
    edit.SetWordWrap(wrap);
    measure("document's edit", edit, text, wrap);
  }
  return 0;
}
