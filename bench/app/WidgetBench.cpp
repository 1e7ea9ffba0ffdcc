// SPDX-License-Identifier: GPL-3.0-or-later
// Which widget to put behind the edit-control interface: Qt's QPlainTextEdit against
// QScintilla (Debian's libqscintilla2-qt6-dev), each given the same text, word wrap on: the
// time until shown with the caret at the end, and a key press there.
// Run: bench_widgets   (QT_QPA_PLATFORM=offscreen or under a display)

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTest>
#include <cstdio>

namespace {

void settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

QString text(qsizetype size, qsizetype lineLength) {
  QString s;
  s.reserve(size + size / 40);
  const QString word = QStringLiteral("{\"key\":\"value\",\"n\":12345},");
  qsizetype line = 0;
  while (s.size() < size) {
    s += word;
    line += word.size();
    if (lineLength > 0 && line >= lineLength) {
      s += u'\n';
      line = 0;
    }
  }
  return s;
}

template <typename Show, typename Key>
void measure(const char *name, const char *widget, QWidget &w, Show show, Key key) {
  QFont font(QStringLiteral("Liberation Mono"));
  font.setPixelSize(13);
  w.setFont(font);
  w.resize(800, 600);
  QElapsedTimer t;
  t.start();
  show();
  w.show();
  settle();
  const double shown = double(t.elapsed());
  QElapsedTimer k;
  k.start();
  key();
  settle();
  std::printf("%-22s %-16s shown %8.0f ms   key at the end %8.1f ms\n", name, widget, shown,
              double(k.nsecsElapsed()) / 1e6);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char **argv) {
  QApplication app(argc, argv);
  const struct {
    const char *name;
    qsizetype size, lineLength;
  } cases[] = {{"5 MB in one line", 5'000'000, 0}, {"15 MB of 80-char lines", 15'000'000, 80}};
  for (const auto &c : cases) {
    const QString s = text(c.size, c.lineLength);
    {
      QPlainTextEdit edit;
      measure(
          c.name, "QPlainTextEdit", edit,
          [&] {
            edit.setPlainText(s);
            edit.moveCursor(QTextCursor::End);
          },
          [&] { QTest::keyClick(&edit, Qt::Key_A); });
    }
    {
      QsciScintilla edit;
      edit.setWrapMode(QsciScintilla::WrapWord);
      measure(
          c.name, "QScintilla", edit,
          [&] {
            edit.setText(s);
            edit.SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
          },
          [&] { QTest::keyClick(edit.viewport(), Qt::Key_A); });
    }
  }
  return 0;
}
