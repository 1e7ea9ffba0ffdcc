// SPDX-License-Identifier: GPL-3.0-or-later
// Preparing, previewing and printing a 1 MB text with the shipped template, against enscript
// plus ps2pdf on the same text.
//   bench_print [runs] [folder with notepad.frf]
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>

#include "print/core/ReportLayout.h"
#include "print/core/TemplateFile.h"
#include "print/ui/ReportPrinter.h"
#include "print/ui/fmPreview.h"

namespace {

// About 1 MB of prose-like lines of varying length, with blank lines between paragraphs and
// now and then a line longer than the page is wide.
QStringList Text() {
  const QStringList words = {
      QStringLiteral("the"),     QStringLiteral("report"), QStringLiteral("engine"),
      QStringLiteral("lays"),    QStringLiteral("out"),    QStringLiteral("pages"),
      QStringLiteral("quickly"), QStringLiteral("and"),    QStringLiteral("keeps"),
      QStringLiteral("every"),   QStringLiteral("line"),   QStringLiteral("in"),
      QStringLiteral("order"),   QStringLiteral("while"),  QStringLiteral("printing")};
  QStringList lines;
  qsizetype size = 0;
  unsigned seed = 7;
  auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  while (size < 1'000'000) {
    QString line;
    const unsigned length = next() % 10 == 0 ? 160 : 20 + next() % 60;
    while (line.size() < qsizetype(length)) line += words[next() % words.size()] + u' ';
    lines << line.trimmed();
    if (next() % 8 == 0) lines << QString();
    size += line.size() + 1;
  }
  return lines;
}

TReportCallbacks Callbacks(const QStringList &text) {
  return {[text](TReportObject &o) {
            if (IsTextBodyMarker(o)) o.lines = text;
          },
          [](const QString &name) -> std::optional<QString> {
            if (name == QLatin1String("Text File Name"))
              return QStringLiteral("/home/user/big.txt");
            return std::nullopt;
          }};
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double RunTool(const QString &program, const QStringList &arguments) {
  QElapsedTimer clock;
  clock.start();
  QProcess p;
  p.start(program, arguments);
  p.waitForFinished(300000);
  if (p.exitCode() != 0) std::fprintf(stderr, "%s failed\n", qPrintable(program));
  return clock.elapsed() / 1000.0;
}

}  // namespace

int main(int argc, char **argv) {
  QApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
  const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(VELLUMIX_DATA);
  QString error;
  const auto report = TemplateFile::Load(folder + QStringLiteral("/notepad.frf"), &error);
  if (!report) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
  }
  const QStringList text = Text();
  QTemporaryDir dir;
  QFile plain(dir.filePath(QStringLiteral("big.txt")));
  plain.open(QIODevice::WriteOnly);
  plain.write(text.join(u'\n').toUtf8() + '\n');
  plain.close();
  std::printf("text: %lld bytes, %lld lines\n", qlonglong(plain.size()), qlonglong(text.size()));

  std::vector<double> first, all, stall, pdf, enscript;
  int pages = 0;
  for (int run = 0; run < runs; ++run) {
    // Preview: the first page shown, then every page laid out, with the longest pause of the
    // event loop meanwhile (a 5 ms timer that notes how late it comes).
    QElapsedTimer clock;
    clock.start();
    TfrmPreview preview(*report, Callbacks(text), nullptr);
    preview.show();
    QCoreApplication::processEvents();
    first.push_back(clock.elapsed() / 1000.0);
    QElapsedTimer beat;
    beat.start();
    qint64 worst = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { worst = std::max(worst, beat.restart()); });
    ticker.start(5);
    if (!QTest::qWaitFor([&] { return preview.LayoutDone(); }, 120000)) return 2;
    all.push_back(clock.elapsed() / 1000.0);
    stall.push_back(double(worst));
    pages = preview.PageCount();

    // Prepare and print to PDF without a window.
    clock.restart();
    const TPreparedReport prepared = PrepareReport(*report, Callbacks(text));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("ours.pdf")));
    ReportPrinter::TPrintJob job;
    job.lastPage = int(prepared.pages.size());
    if (!ReportPrinter::Print(prepared, printer, job, &error)) return 3;
    pdf.push_back(clock.elapsed() / 1000.0);

    const QString ps = dir.filePath(QStringLiteral("theirs.ps"));
    enscript.push_back(
        RunTool(QStringLiteral("enscript"),
                {QStringLiteral("-q"), QStringLiteral("-p"), ps, plain.fileName()}) +
        RunTool(QStringLiteral("ps2pdf"), {ps, dir.filePath(QStringLiteral("theirs.pdf"))}));
  }
  std::printf("pages: %d\n", pages);
  std::printf("preview, first page shown: %.3f s\n", Median(first));
  std::printf("preview, all pages laid out: %.3f s (longest event-loop pause %.0f ms)\n",
              Median(all), Median(stall));
  std::printf("prepare and print to PDF: %.3f s\n", Median(pdf));
  std::printf("enscript + ps2pdf: %.3f s (ratio %.2f)\n", Median(enscript),
              Median(pdf) / Median(enscript));
  return 0;
}
