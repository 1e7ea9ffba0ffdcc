// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include "CupsQueue.h"
#include "PrintFixture.h"
#include "print/setup/fmPrinterSetup.h"
#include "settings/core/RootKey.h"

namespace {

// Width and height (pt) of the first page as shown (turned by its rotation) and the paper's
// name, from pdfinfo.
struct TPdfSize {
  double width = 0, height = 0;
  QString name;
};

TPdfSize PageSizeOf(const QString &pdf) {
  const QString text = PrintFixture::PdfPageSize(pdf);  // "595.276 x 419.528 pts (A5)"
  const QStringList parts = text.split(u' ', Qt::SkipEmptyParts);
  TPdfSize size;
  if (parts.size() >= 3) {
    size.width = parts[0].toDouble();
    size.height = parts[2].toDouble();
  }
  const qsizetype open = text.indexOf(u'(');
  if (open >= 0) size.name = text.mid(open + 1).section(u')', 0, 0).section(u',', 0, 0);
  // A print queue may keep the paper upright and turn the page (landscape by rotation).
  for (const QString &line : PrintFixture::Run(QStringLiteral("pdfinfo"), {pdf}).split(u'\n'))
    if (line.startsWith(QLatin1String("Page rot:")) && line.mid(9).trimmed().toInt() % 180 == 90)
      std::swap(size.width, size.height);
  return size;
}

// Fills the Printer Setup dialog: a queue (or, with pdfFile, a PDF file) and A5 landscape with
// 10 mm margins left and right, 12 mm top and bottom; then presses OK.
void ChooseA5Landscape(TfrmPrinterSetup *dialog, const QString &queue, const QString &pdfFile) {
  auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("cbxPrinter"));
  ASSERT_TRUE(printers);
  const int entry = pdfFile.isEmpty() ? printers->findData(queue) : printers->count() - 1;
  ASSERT_GE(entry, 0) << queue.toStdString();
  printers->setCurrentIndex(entry);
  if (!pdfFile.isEmpty())
    dialog->findChild<QLineEdit *>(QStringLiteral("edtPdfFile"))->setText(pdfFile);
  dialog->findChild<QComboBox *>(QStringLiteral("cbxPaper"))->setCurrentText(QStringLiteral("A5"));
  dialog->findChild<QRadioButton *>(QStringLiteral("radLandscape"))->setChecked(true);
  for (const char *name : {"edtLeft", "edtRight"})
    dialog->findChild<QDoubleSpinBox *>(QLatin1String(name))->setValue(10);
  for (const char *name : {"edtTop", "edtBottom"})
    dialog->findChild<QDoubleSpinBox *>(QLatin1String(name))->setValue(12);
  QPushButton *ok = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
  EXPECT_EQ(ok->text(), QStringLiteral("OK"));
  ok->click();
}

const QRectF kA5LandscapeInside(10, 12, 190, 124);

QString Stored(const QString &name) {
  return TRootKey().ReadString(QString::fromLatin1(TPrinterChoice::Section), name,
                               QStringLiteral("(none)"));
}

}  // namespace

// The paper, orientation and margins chosen in Printer Setup win over the template's page, are
// what the dialog shows next time, and stay in the settings; "Template Layout" goes back.
TEST_F(PrintFixture, PrinterSetupChoosesThePageAndKeepsIt) {
  StartWith(NumberedLines(60));
  {
    TModalAnswerer cancel;
    ASSERT_TRUE(Command(QStringLiteral("btnPSetup")));
    ASSERT_EQ(cancel.titles, QStringList{QStringLiteral("Printer Setup")});
  }
  EXPECT_FALSE(Printing().Printers().HasChoice());
  const QString pdf =
      TestEnvironment::FreshDir(QStringLiteral("setup")) + QStringLiteral("/chosen.pdf");
  TModalAnswerer answerer;
  answerer.onShown = [&](QWidget *modal) {
    auto *dialog = qobject_cast<TfrmPrinterSetup *>(modal);
    ASSERT_TRUE(dialog);
    // The template's page is what is offered first.
    EXPECT_EQ(dialog->Settings().page, (TPageSetup{QStringLiteral("A4"), false, 18, 15, 18, 15}));
    if (!qEnvironmentVariableIsEmpty("VELLUMIX_SCREENSHOTS"))
      dialog->grab().save(qEnvironmentVariable("VELLUMIX_SCREENSHOTS") +
                          QStringLiteral("/printer-setup.png"));
    ChooseA5Landscape(dialog, QString(), pdf);
  };
  ASSERT_TRUE(Command(QStringLiteral("mniPrintSetup")));
  EXPECT_TRUE(Printing().Printers().HasChoice());
  ASSERT_TRUE(Command(QStringLiteral("mniFile6")));
  const TPdfSize size = PageSizeOf(pdf);
  EXPECT_EQ(size.name, QStringLiteral("A5"));
  EXPECT_NEAR(size.width, 210 / 25.4 * 72, 1);
  EXPECT_NEAR(size.height, 148 / 25.4 * 72, 1);
  const QStringList pages = PdfPages(pdf);
  ASSERT_GE(pages.size(), 2);
  EXPECT_TRUE(pages.join(QString()).contains(QLatin1String("line 60")));
  for (int p = 1; p <= int(pages.size()); ++p)
    EXPECT_EQ(InkOutside(PdfPageImage(pdf, p, 150), {210, 148}, kA5LandscapeInside), 0) << p;
  EXPECT_TRUE(main->barMain()->currentMessage().contains(pdf))
      << main->barMain()->currentMessage().toStdString();
  // Kept in the settings' print section, and read back by the next run's printing.
  EXPECT_EQ(Stored(QStringLiteral("PaperSize")), QStringLiteral("A5"));
  EXPECT_EQ(Stored(QStringLiteral("Orientation")), QStringLiteral("landscape"));
  EXPECT_EQ(Stored(QStringLiteral("MarginLeft")), QStringLiteral("10.0"));
  EXPECT_EQ(Stored(QStringLiteral("MarginBottom")), QStringLiteral("12.0"));
  TPrinterChoice next;
  next.Load();
  EXPECT_EQ(next.PageFor(TPageSetup()), (TPageSetup{QStringLiteral("A5"), true, 10, 12, 10, 12}));

  // The dialog shows the choice again; Template Layout puts the template's page back.
  answerer.onShown = [&](QWidget *modal) {
    auto *dialog = qobject_cast<TfrmPrinterSetup *>(modal);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->Settings().page, (TPageSetup{QStringLiteral("A5"), true, 10, 12, 10, 12}));
    EXPECT_EQ(dialog->Settings().pdfFile, pdf);
    dialog->findChild<QPushButton *>(QStringLiteral("btnTemplate"))->click();
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
  };
  ASSERT_TRUE(Command(QStringLiteral("mniPrintSetup")));
  ASSERT_TRUE(Command(QStringLiteral("mniFile6")));
  EXPECT_EQ(PageSizeOf(pdf).name, QStringLiteral("A4"));
  EXPECT_EQ(Stored(QStringLiteral("PaperSize")), QStringLiteral("(none)"));
}

// Through real CUPS queues: Ctrl+P goes to the default queue and says so in the status bar;
// with queues but no default one the user is asked, and may pick a printer and a page instead.
TEST_F(PrintFixture, QueuesWithoutADefaultAreOfferedNotRefused) {
  const QString first = QStringLiteral("VellumixOne"), second = QStringLiteral("VellumixTwo");
  // Each job's PDF is moved into a folder of its own (two servers number their jobs alike).
  int jobs = 0;
  const auto arrivals = [&jobs] {
    return TestEnvironment::FreshDir(QStringLiteral("arrived%1").arg(++jobs));
  };
  StartWith(NumberedLines(3, QStringLiteral("queued")));
  {
    TCupsQueue cups;
    QString reason;
    if (!cups.Start(&reason, {first, second}, second))
      GTEST_SKIP() << "No print server on this machine: " << reason.toStdString();
    ASSERT_EQ(QPrinterInfo::defaultPrinterName(), second);
    QAction *print = main->Action(QStringLiteral("mniFile6"));
    ASSERT_EQ(print->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    ASSERT_TRUE(Command(QStringLiteral("mniFile6")));
    EXPECT_FALSE(cups.WaitForPdf(arrivals()).isEmpty()) << cups.ErrorLog().toStdString();
    EXPECT_EQ(main->barMain()->currentMessage().trimmed(),
              QStringLiteral("Printed 1 page on ") + second);
  }
  TCupsQueue cups;
  QString reason;
  ASSERT_TRUE(cups.Start(&reason, {first, second}, QString())) << reason.toStdString();
  ASSERT_EQ(QPrinterInfo::availablePrinterNames().size(), 2);
  ASSERT_TRUE(QPrinterInfo::defaultPrinterName().isEmpty());
  const QString offered = QPrinterInfo::availablePrinterNames().first();
  {
    TModalAnswerer yes({QStringLiteral("Yes")});
    Printing().Print();
    ASSERT_EQ(yes.texts.size(), 1);
    EXPECT_TRUE(yes.texts[0].contains(QStringLiteral("No printer is set as the default")))
        << yes.texts[0].toStdString();
    EXPECT_TRUE(yes.texts[0].contains(u'"' + offered + u'"')) << yes.texts[0].toStdString();
    EXPECT_FALSE(cups.WaitForPdf(arrivals()).isEmpty()) << cups.ErrorLog().toStdString();
    EXPECT_EQ(main->barMain()->currentMessage().trimmed(),
              QStringLiteral("Printed 1 page on ") + offered);
  }
  // No: the printer choice, where the other queue and A5 landscape are chosen.
  const QString other = offered == first ? second : first;
  TModalAnswerer no({QStringLiteral("No")});
  no.onShown = [&](QWidget *modal) {
    if (auto *dialog = qobject_cast<TfrmPrinterSetup *>(modal))
      ChooseA5Landscape(dialog, other, QString());
  };
  Printing().Print();
  ASSERT_EQ(no.titles.size(), 2);
  EXPECT_EQ(no.titles[1], QStringLiteral("Printer Setup"));
  const QString arrived = cups.WaitForPdf(arrivals());
  ASSERT_FALSE(arrived.isEmpty()) << cups.ErrorLog().toStdString();
  EXPECT_EQ(main->barMain()->currentMessage().trimmed(),
            QStringLiteral("Printed 1 page on ") + other);
  const TPdfSize size = PageSizeOf(arrived);
  EXPECT_NEAR(size.width, 210 / 25.4 * 72, 2) << PdfPageSize(arrived).toStdString();
  EXPECT_NEAR(size.height, 148 / 25.4 * 72, 2) << PdfPageSize(arrived).toStdString();
  EXPECT_EQ(Stored(QStringLiteral("PrinterName")), other);
}
