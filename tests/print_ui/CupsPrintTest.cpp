// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QImage>
#include <QPrinterInfo>

#include "CupsQueue.h"
#include "PrintFixture.h"

// End to end: File|Print with no dialog sends the workspace to the system's default queue, a
// real cups-pdf printer, and the PDF that arrives holds the text.
TEST_F(PrintFixture, PrintGoesThroughTheDefaultCupsQueue) {
  TCupsQueue cups;
  QString reason;
  if (!cups.Start(&reason))
    GTEST_SKIP() << "No print server on this machine: " << reason.toStdString();
  ASSERT_EQ(QPrinterInfo::defaultPrinterName(), QString::fromLatin1(TCupsQueue::QueueName));
  const QString marker = QStringLiteral("cups-marker-%1").arg(QDateTime::currentMSecsSinceEpoch());
  StartWith(NumberedLines(80, marker + QStringLiteral(" row")));
  // The same print-out straight to a PDF file, to compare with what the queue delivers.
  const QString direct = PrintToPdf(QStringLiteral("direct.pdf"));
  Printing().Print();
  ASSERT_EQ(PdfPageCount(direct), 2);
  ASSERT_TRUE(PdfPages(direct)[1].contains(marker + QStringLiteral(" row 80")));

  Printing().Printers().Choose(QString());           // no choice: the default queue
  ASSERT_TRUE(Command(QStringLiteral("mniFile6")));  // File|Print
  const QString arrived = cups.WaitForPdf(TestEnvironment::FreshDir(QStringLiteral("arrived")));
  ASSERT_FALSE(arrived.isEmpty()) << "No PDF arrived from the queue. Server log:\n"
                                  << cups.ErrorLog().toStdString();
  EXPECT_EQ(PdfPageCount(arrived), 2);
  // The queue's PostScript step leaves fonts whose text cannot be extracted, so the pages are
  // compared as pictures: they must match the direct print-out, and differ from a blank page.
  for (int page = 1; page <= 2; ++page) {
    const QImage got = PdfPageImage(arrived, page, 20), want = PdfPageImage(direct, page, 20);
    ASSERT_FALSE(got.isNull());
    ASSERT_EQ(got.size(), want.size());
    QImage blank(want.size(), QImage::Format_Grayscale8);
    blank.fill(Qt::white);
    const double ink = Difference(want, blank), apart = Difference(got, want);
    EXPECT_GT(ink, 0.005) << page;
    EXPECT_LT(apart, ink / 4) << "page " << page << ": " << apart << " against ink " << ink;
  }
}
