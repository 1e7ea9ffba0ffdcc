// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>

#include "PrintFixture.h"
#include "platform/core/Folders.h"
#include "print/setup/fmPrinterSetup.h"
#include "print/ui/fmPreview.h"

namespace {

// The numbers of the "line N" texts in order of appearance.
QList<int> LineNumbers(const QStringList &pages) {
  QList<int> numbers;
  static const QRegularExpression re(QStringLiteral("\\bline (\\d+)\\b"));
  for (const QString &page : pages)
    for (auto it = re.globalMatch(page); it.hasNext();) numbers << it.next().captured(1).toInt();
  return numbers;
}

QList<int> OneTo(int n) {
  QList<int> all;
  for (int i = 1; i <= n; ++i) all << i;
  return all;
}

}  // namespace

TEST_F(PrintFixture, PrintSendsEveryPageWithFileNameAndPageNumbers) {
  StartWith(NumberedLines(150));
  const QString pdf = PrintToPdf();
  ASSERT_TRUE(Command(QStringLiteral("mniFile6")));  // File|Print, no dialog
  ASSERT_TRUE(QFile::exists(pdf));
  EXPECT_EQ(PdfPageCount(pdf), 3);
  const QStringList pages = PdfPages(pdf);
  ASSERT_EQ(pages.size(), 3);
  EXPECT_EQ(LineNumbers(pages), OneTo(150));  // every line once, in order
  const QString name = main->CurrentFileName();
  EXPECT_EQ(name, u' ' + Folders::Home() + QStringLiteral("untitled.txt"));
  for (int p = 0; p < 3; ++p) {
    EXPECT_TRUE(pages[p].contains(name.trimmed())) << pages[p].left(300).toStdString();
    EXPECT_TRUE(pages[p].contains(QStringLiteral("Page %1 of 3").arg(p + 1)));
  }
}

TEST_F(PrintFixture, HeaderNamesTheOpenedFileAndBlankLinesAndLongLinesSurvive) {
  const QString file = TestEnvironment::WriteFile(
      TestEnvironment::FreshDir(QStringLiteral("docs")) + QStringLiteral("/Letter To Bob.txt"),
      "opening\n\n\nfourth " + QByteArray(300, 'w') + "\nlast\n");
  TfrmMain &m = Start({file});
  ASSERT_EQ(m.CurrentFileName(), file);
  const QString pdf = PrintToPdf();
  Printing().Print();
  const QStringList pages = PdfPages(pdf);
  ASSERT_EQ(pages.size(), 1);
  EXPECT_TRUE(pages[0].contains(file)) << pages[0].left(400).toStdString();
  QStringList lines = pages[0].split(u'\n');
  const qsizetype first = lines.indexOf(QRegularExpression(QStringLiteral("^\\s*opening\\s*$")));
  ASSERT_GE(first, 0) << pages[0].toStdString();
  EXPECT_TRUE(lines[first + 1].trimmed().isEmpty());
  EXPECT_TRUE(lines[first + 2].trimmed().isEmpty());
  EXPECT_TRUE(lines[first + 3].trimmed().startsWith(QLatin1String("fourth")));
  QString ws;  // the long word wraps onto further lines, nothing lost
  for (qsizetype i = first + 3; i < lines.size() && !lines[i].contains(QLatin1String("last")); ++i)
    ws += lines[i].trimmed().remove(QRegularExpression(QStringLiteral("^fourth\\s*")));
  EXPECT_EQ(ws, QString(300, u'w'));
}

TEST_F(PrintFixture, UseToPrintChoosesBetweenWorkspaceAndTemplateFont) {
  TfrmEdit *edit = StartWith(QStringLiteral("font check"));
  edit->mmoMemo()->SetEditFont(QFont(QStringLiteral("DejaVu Serif"), 12));
  THolder *printFont = main->Holder(QStringLiteral("PrintFont"));
  ASSERT_TRUE(printFont->Checked());  // the default
  QString pdf = PrintToPdf();
  Printing().Print();
  EXPECT_TRUE(PdfFonts(pdf).contains(QStringLiteral("DejaVuSerif")))
      << PdfFonts(pdf).join(u',').toStdString();
  printFont->SetChecked(false);
  pdf = PrintToPdf();
  Printing().Print();
  const QStringList fonts = PdfFonts(pdf);
  EXPECT_FALSE(fonts.contains(QStringLiteral("DejaVuSerif"))) << fonts.join(u',').toStdString();
  EXPECT_TRUE(fonts.contains(QStringLiteral("DejaVuSansMono"))) << fonts.join(u',').toStdString();
}

TEST_F(PrintFixture, EnterRectHandsOverTheWorkspaceOnlyForTheExactMarker) {
  TfrmEdit *edit =
      StartWith(QStringLiteral("one\u00a0and\ntwo"));  // a no-break space prints as one
  QFont font(QStringLiteral("A Font Family Name Longer Than Thirty-Two Letters"));
  font.setPointSizeF(13.5);
  font.setItalic(true);
  edit->mmoMemo()->SetEditFont(font);
  edit->mmoMemo()->SetFontColor(QColor(0x11, 0x22, 0x33));
  TReportObject marker;
  marker.lines = {QStringLiteral("[Text Body]"), QStringLiteral("ignored")};
  marker.font.bold = true;
  TReportObject o = marker;
  Printing().frReport1EnterRect(o);
  EXPECT_EQ(o.lines, (QStringList{QStringLiteral("one\u00a0and"), QStringLiteral("two")}));
  EXPECT_EQ(o.font.name, QStringLiteral("A Font Family Name Longer Than T"));
  EXPECT_EQ(o.font.size, 13.5);
  EXPECT_EQ(o.font.color, QColor(0x11, 0x22, 0x33));
  EXPECT_TRUE(o.font.bold);  // the style is the template's
  EXPECT_FALSE(o.font.italic);
  for (const QStringList &lines : {QStringList{QStringLiteral("[text body]")},
                                   QStringList{QStringLiteral(" [Text Body]")}, QStringList{}}) {
    TReportObject other = marker;
    other.lines = lines;
    Printing().frReport1EnterRect(other);
    EXPECT_EQ(other, (TReportObject{marker.kind, marker.rect, lines, marker.font, marker.align,
                                    marker.frame, marker.lineWidth}));
  }
  TReportObject line = marker;
  line.kind = TObjectKind::Line;
  Printing().frReport1EnterRect(line);
  EXPECT_EQ(line, (TReportObject{TObjectKind::Line, marker.rect, marker.lines, marker.font,
                                 marker.align, marker.frame, marker.lineWidth}));
  EXPECT_EQ(Printing().frReport1GetValue(QStringLiteral("Text File Name")),
            main->CurrentFileName());
  EXPECT_FALSE(Printing().frReport1GetValue(QStringLiteral("text file name")));
  // No workspace: the marker stays.
  for (TfrmEdit *e : main->EditWindows()) {
    e->mmoMemo()->SetModified(false);
    main->SubWindowOf(e)->close();
  }
  Settle();
  ASSERT_FALSE(main->ActiveEdit());
  o = marker;
  Printing().frReport1EnterRect(o);
  EXPECT_EQ(o, marker);
}

TEST_F(PrintFixture, UsersTemplateIsReadFirstAndOtherCaseMarkerPrintsAsWritten) {
  StartWith(QStringLiteral("workspace words"));
  QByteArray frf = TestEnvironment::ReadFile(programFolder + QStringLiteral("/notepad.frf"));
  frf.replace("| [Text Body]", "| [text body]");
  TestEnvironment::WriteFile(Folders::UserDataFolder() + QStringLiteral("notepad.frf"), frf);
  const QString pdf = PrintToPdf();
  Printing().Print();
  const QStringList pages = PdfPages(pdf);
  ASSERT_EQ(pages.size(), 1);
  EXPECT_TRUE(pages[0].contains(QLatin1String("[text body]")));
  EXPECT_FALSE(pages[0].contains(QLatin1String("workspace words")));
  QFile::remove(Folders::UserDataFolder() + QStringLiteral("notepad.frf"));
}

TEST_F(PrintFixture, MissingOrDamagedTemplateIsReportedAndNothingPrints) {
  StartWith(QStringLiteral("text"));
  main->Holder(QStringLiteral("PTemplate"))->SetCaption(QStringLiteral("other.frf"));
  QString pdf = PrintToPdf();
  {
    TModalAnswerer answerer({QStringLiteral("OK"), QStringLiteral("OK"), QStringLiteral("OK")});
    Printing().Print();
    Printing().PrintPreview();
    Printing().CustomizePrintOut();
    ASSERT_EQ(answerer.texts.size(), 3);
    for (const QString &text : answerer.texts)
      EXPECT_EQ(text, QStringLiteral("Cannot open file ") + programFolder +
                          QStringLiteral("/other.frf."));
  }
  EXPECT_FALSE(QFile::exists(pdf));
  TestEnvironment::WriteFile(programFolder + QStringLiteral("/other.frf"), "VellumixReport 9\n");
  TModalAnswerer answerer({QStringLiteral("OK")});
  Printing().Print();
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_TRUE(
      answerer.texts[0].contains(QLatin1String("is not a valid print template: version \"9\"")));
  EXPECT_EQ(answerer.titles[0], main->ApplicationTitle());
  EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(PrintFixture, WithNoPrinterTheUserMaySaveAPdfInstead) {
  StartWith(NumberedLines(3));
  ASSERT_TRUE(QPrinterInfo::availablePrinterNames().isEmpty())
      << "the test's print server has no queues";
  const QString pdf =
      TestEnvironment::FreshDir(QStringLiteral("nopr")) + QStringLiteral("/saved.pdf");
  {
    TModalAnswerer answerer({QStringLiteral("No")});
    Printing().Print();
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts[0].endsWith(
        QLatin1String("No printer is set up on this system.\nDo you want to save the print-out as "
                      "a PDF file instead?")))
        << answerer.titles[0].toStdString() << ": " << answerer.texts[0].toStdString();
  }
  TModalAnswerer answerer({QStringLiteral("Yes"), QStringLiteral("file:") + pdf});
  Printing().Print();
  ASSERT_EQ(answerer.titles.size(), 2);
  EXPECT_EQ(LineNumbers(PdfPages(pdf)), OneTo(3));
}

TEST_F(PrintFixture, PreviewShowsPagesAndPrintsFromItWithStayOnTopPaused) {
  StartWith(NumberedLines(150));
  main->Action(QStringLiteral("mniStayOnTop"))->setChecked(true);
  main->TopMostOn();
  ASSERT_TRUE(main->IsTopMost());
  const QString pdf = PrintToPdf();
  bool checked = false;
  TModalAnswerer answerer;
  answerer.onShown = [&](QWidget *modal) {
    auto *preview = qobject_cast<TfrmPreview *>(modal);
    ASSERT_TRUE(preview) << modal->metaObject()->className() << " "
                         << modal->windowTitle().toStdString();
    EXPECT_FALSE(main->IsTopMost());
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview->LayoutDone(); }, 20000));
    EXPECT_EQ(preview->PageCount(), 3);
    EXPECT_EQ(preview->findChild<QLabel *>(QStringLiteral("lblPages"))->text(),
              QStringLiteral("of 3"));
    QTest::keyClick(preview, Qt::Key_PageDown);
    EXPECT_EQ(preview->CurrentPage(), 2);
    preview->SetZoom(QStringLiteral("Whole Page"));
    const QImage page = preview->PageImage();
    EXPECT_FALSE(page.isNull());
    if (!qEnvironmentVariableIsEmpty("VELLUMIX_SCREENSHOTS"))
      preview->grab().save(qEnvironmentVariable("VELLUMIX_SCREENSHOTS") +
                           QStringLiteral("/preview.png"));
    // Print from the preview: the print dialog asks for pages 2 to 3.
    TModalAnswerer printDialog;
    printDialog.onShown = [](QWidget *shown) {
      auto *dialog = qobject_cast<QPrintDialog *>(shown);
      ASSERT_TRUE(dialog);
      dialog->printer()->setPrintRange(QPrinter::PageRange);
      dialog->printer()->setFromTo(2, 3);
      dialog->done(QDialog::Accepted);
    };
    preview->findChild<QToolButton *>(QStringLiteral("btnPrint"))->click();
    checked = true;
    preview->accept();
  };
  Printing().PrintPreview();
  EXPECT_TRUE(checked);
  EXPECT_TRUE(main->IsTopMost());
  const QStringList pages = PdfPages(pdf);
  ASSERT_EQ(pages.size(), 2);  // pages 2 and 3 as asked in the print dialog
  EXPECT_TRUE(pages[0].contains(QLatin1String("Page 2 of 3")));
  EXPECT_TRUE(pages[1].contains(QLatin1String("Page 3 of 3")));
  EXPECT_EQ(LineNumbers(pages).last(), 150);
  EXPECT_GT(LineNumbers(pages).first(), 40);  // the first page was left out
}

TEST_F(PrintFixture, PrinterSetupChoiceIsWhatLaterPrintsUse) {
  StartWith(NumberedLines(5));
  const QString pdf =
      TestEnvironment::FreshDir(QStringLiteral("setup")) + QStringLiteral("/chosen.pdf");
  // Cancel keeps things as they were: no printer at all.
  {
    TModalAnswerer cancel;
    ASSERT_TRUE(Command(QStringLiteral("btnPSetup")));
    ASSERT_EQ(cancel.titles, QStringList{QStringLiteral("Printer Setup")});
  }
  EXPECT_FALSE(Printing().Printers().HasChoice());
  // The user picks printing to a PDF file in the dialog.
  TModalAnswerer answerer;
  answerer.onShown = [&](QWidget *modal) {
    auto *dialog = qobject_cast<TfrmPrinterSetup *>(modal);
    ASSERT_TRUE(dialog);
    auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("cbxPrinter"));
    ASSERT_TRUE(printers);
    const int pdfEntry = printers->findText(QStringLiteral("PDF file"));
    ASSERT_GE(pdfEntry, 0);
    printers->setCurrentIndex(pdfEntry);
    dialog->findChild<QLineEdit *>(QStringLiteral("edtPdfFile"))->setText(pdf);
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
  };
  ASSERT_TRUE(Command(QStringLiteral("mniPrintSetup")));
  EXPECT_TRUE(Printing().Printers().HasChoice());
  ASSERT_TRUE(Command(QStringLiteral("mniFile6")));
  EXPECT_EQ(LineNumbers(PdfPages(pdf)), OneTo(5));
}
