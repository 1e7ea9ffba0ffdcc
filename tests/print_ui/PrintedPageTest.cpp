// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFontInfo>
#include <QLabel>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSpinBox>

#include "PrintFixture.h"
#include "documents/ui/RichEdit.h"
#include "platform/core/Folders.h"
#include "print/core/TextMeasure.h"
#include "print/ui/DesignerCanvas.h"
#include "print/ui/fmDesigner.h"
#include "print/ui/fmPreview.h"

namespace {

// The shipped template's A4 sheet and the area inside its margins (mm).
const QSizeF kPaper(210, 297);
const QRectF kPrintable(18, 15, 174, 267);

// Lines that reach the right edge of the text body: unbroken words longer than a line,
// lines of ordinary words as wide as a line, tab-separated columns, CJK and accented text.
QString EdgeText() {
  QStringList lines;
  lines << QString(400, u'm') << QStringLiteral("abcd").repeated(120)
        << QStringLiteral("wordwrap ").repeated(40) << QStringLiteral("Wide WWW ").repeated(30)
        << QStringLiteral("iiii lll ").repeated(60)
        << QStringLiteral("col1\tcolumn two\tthree\tfour\tfive\tsix\tseven\teight\tnine\tten")
        << QStringLiteral("\t\t\t\t\t\t\t\t\t\t\t\tdeep tab")
        << QStringLiteral("漢字とかなカナ한국어").repeated(20)
        << QStringLiteral("ÀÉÎÕÜçñßøåæœ ŁĳŒ ").repeated(20)
        << QStringLiteral("ÀÉÎÕÜçñßøåæœŁĳŒ").repeated(20);
  return lines.join(u'\n');
}

// A file whose full path is longer than 100 characters.
QString LongPathFile(const QString &content) {
  QString folder = TestEnvironment::FreshDir(QStringLiteral("long"));
  while (folder.size() < 100) folder += QStringLiteral("/a-rather-long-folder-name");
  QDir().mkpath(folder);
  return TestEnvironment::WriteFile(folder + QStringLiteral("/the-file-name.txt"),
                                    content.toUtf8());
}

// The picture shrunk to a common size, smoothly, for comparing pictures of two resolutions.
QImage Small(const QImage &image) {
  return image.convertToFormat(QImage::Format_Grayscale8)
      .scaled(210, 297, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

// Every glyph stays inside the printable area, on paper and in the preview at every zoom, and
// the preview shows the page the PDF has.
TEST_F(PrintFixture, NoInkOutsideThePrintableAreaOnPaperOrInThePreview) {
  const QString file = LongPathFile(EdgeText());
  ASSERT_GT(file.size(), 100);
  Start({file});
  const QString pdf = PrintToPdf();
  Printing().Print();
  const int pages = PdfPageCount(pdf);
  ASSERT_GE(pages, 1);
  const QStringList texts = PdfPages(pdf);
  for (int p = 1; p <= pages; ++p) {
    EXPECT_EQ(InkOutside(PdfPageImage(pdf, p, 150), kPaper, kPrintable), 0) << "page " << p;
    // The header is shortened in the middle: the file name shows in full on every page.
    EXPECT_TRUE(texts[p - 1].contains(QLatin1String("/the-file-name.txt"))) << p;
    EXPECT_TRUE(texts[p - 1].contains(QChar(0x2026))) << p;
  }
  EXPECT_TRUE(texts[0].contains(QStringLiteral("漢字とかなカナ")));
  EXPECT_TRUE(texts.join(QString()).contains(QStringLiteral("ÀÉÎÕÜçñßøåæœ")));

  TModalAnswerer answerer;
  answerer.onShown = [&](QWidget *modal) {
    auto *preview = qobject_cast<TfrmPreview *>(modal);
    ASSERT_TRUE(preview);
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview->LayoutDone(); }, 20000));
    ASSERT_EQ(preview->PageCount(), pages);
    for (const QString &zoom :
         {QStringLiteral("Whole Page"), QStringLiteral("50%"), QStringLiteral("75%"),
          QStringLiteral("100%"), QStringLiteral("150%"), QStringLiteral("200%"),
          QStringLiteral("Page Width")})
      for (int p = 1; p <= pages; ++p) {
        preview->SetZoom(zoom);
        preview->ShowPage(p);
        const QImage image = preview->PageImage();
        EXPECT_EQ(InkOutside(image, kPaper, kPrintable), 0)
            << zoom.toStdString() << ", page " << p << ", " << image.width() << " px wide";
      }
    // At the page's width, page 1 of the preview is page 1 of the PDF.
    preview->ShowPage(1);
    const QImage shown = preview->PageImage();
    const QImage printed = PdfPageImage(pdf, 1, 100);
    QImage blank(Small(printed).size(), QImage::Format_Grayscale8);
    blank.fill(Qt::white);
    const double ink = Difference(Small(printed), blank);
    const double apart = Difference(Small(shown), Small(printed));
    EXPECT_GT(ink, 0.01);
    EXPECT_LT(apart, ink / 4) << apart << " against ink " << ink;
    preview->accept();
  };
  Printing().PrintPreview();
  EXPECT_EQ(answerer.titles, QStringList{QStringLiteral("Print Preview")});
}

TEST_F(PrintFixture, PreviewOpensAtPageWidthAndHomeEndGoToFirstAndLastPage) {
  TfrmEdit *edit = StartWith(QString());
  for (const int lines : {1, 150}) {
    edit->mmoMemo()->setPlainText(NumberedLines(lines));
    bool checked = false;
    TModalAnswerer answerer;
    answerer.onShown = [&](QWidget *modal) {
      auto *preview = qobject_cast<TfrmPreview *>(modal);
      ASSERT_TRUE(preview);
      ASSERT_TRUE(QTest::qWaitFor([&] { return preview->LayoutDone(); }, 20000));
      EXPECT_EQ(preview->findChild<QComboBox *>(QStringLiteral("cbxZoom"))->currentText(),
                QStringLiteral("Page Width"));
      // The page fills the view's width, not a thumbnail of it.
      const int room = preview->findChild<QScrollArea *>()->viewport()->width();
      EXPECT_TRUE(QTest::qWaitFor([&] { return preview->PageImage().width() >= room - 40; }, 5000))
          << lines << " lines: page " << preview->PageImage().width() << " px in " << room;
      auto *number = preview->findChild<QSpinBox *>(QStringLiteral("edtPage"));
      number->setFocus();
      QTest::keyClick(number, Qt::Key_End);
      EXPECT_EQ(preview->CurrentPage(), preview->PageCount());
      QTest::keyClick(number, Qt::Key_Home);
      EXPECT_EQ(preview->CurrentPage(), 1);
      checked = true;
      preview->accept();
    };
    Printing().PrintPreview();
    EXPECT_TRUE(checked);
  }
}

// Tabs print at the stops the workspace shows them at, in the editor's monospaced face.
TEST_F(PrintFixture, TextBodyTakesTheWorkspacesTabStopsAndMonospacedFace) {
  TfrmEdit *edit = StartWith(QStringLiteral("a\tb"));
  TRichEdit *memo = edit->mmoMemo();
  ASSERT_EQ(memo->font().family(), QStringLiteral("Souvenir Lt BT"));  // the stored default
  const auto marker = [] {
    TReportObject o;
    o.lines = {QStringLiteral("[Text Body]")};
    return o;
  };
  TReportObject body = marker();
  Printing().frReport1EnterRect(body);
  EXPECT_TRUE(QFontInfo(TTextMeasure::ToQFont(body.font)).fixedPitch())
      << body.font.name.toStdString();
  // The stops are as many font sizes apart as on the screen.
  const QFontMetricsF screen(memo->font());
  const QFont font = memo->font();
  const double screenEm =
      font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * memo->logicalDpiY() / 72;
  const double paperEm = body.font.size * 25.4 / 72;  // mm
  EXPECT_NEAR(body.tabStop / paperEm, memo->tabStopDistance() / screenEm, 1e-6);
  memo->setTabStopDistance(4 * screen.horizontalAdvance(u' '));
  Printing().frReport1EnterRect(body = marker());
  EXPECT_NEAR(body.tabStop / paperEm, memo->tabStopDistance() / screenEm, 1e-6);
  // On paper the column after a tab starts at the stop: one stop in, and at the next stop
  // after a text longer than one stop.
  memo->setPlainText(QStringLiteral("a\tFIRSTCOL\n%1\tSECONDCOL").arg(QString(12, u'x')));
  Printing().frReport1EnterRect(body = marker());
  const QString pdf = PrintToPdf();
  Printing().Print();
  const QString boxes =
      Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
  const auto left = [&boxes](const QString &word) {
    const QRegularExpression re(
        QStringLiteral("<word xMin=\"([0-9.]+)\"[^>]*>%1</word>").arg(word));
    const QRegularExpressionMatch m = re.match(boxes);
    return m.hasMatch() ? m.captured(1).toDouble() * 25.4 / 72 : -1.0;  // mm
  };
  EXPECT_NEAR(left(QStringLiteral("FIRSTCOL")), 18 + body.tabStop, 0.3) << boxes.toStdString();
  const double xs = TTextMeasure(body.font).Width(QString(12, u'x'));
  EXPECT_NEAR(left(QStringLiteral("SECONDCOL")),
              18 + (std::floor(xs / body.tabStop) + 1) * body.tabStop, 0.3);
  // A face the user chose is kept.
  memo->SetEditFont(QFont(QStringLiteral("DejaVu Serif"), 11));
  Printing().frReport1EnterRect(body = marker());
  EXPECT_EQ(body.font.name, QStringLiteral("DejaVu Serif"));
}

TEST_F(PrintFixture, DesignerWarnsWhenAFontIsTooBigForItsBox) {
  StartWith(QStringLiteral("text"));
  bool checked = false;
  TModalAnswerer answerer;
  answerer.onShown = [&](QWidget *modal) {
    auto *designer = qobject_cast<TfrmDesigner *>(modal);
    ASSERT_TRUE(designer);
    TDesignerCanvas *canvas = designer->Canvas();
    const QRectF sheet = designer->Editor().SheetRect({TBandKind::PageHeader, 0});
    QTest::mouseClick(canvas, Qt::LeftButton, {}, canvas->ToWidget(sheet.center()).toPoint());
    auto *warning = designer->findChild<QLabel *>(QStringLiteral("lblFontWarning"));
    ASSERT_TRUE(warning);
    EXPECT_TRUE(warning->isHidden());  // the shipped header fits
    designer->findChild<QDoubleSpinBox *>(QStringLiteral("edtH"))->setValue(2);
    EXPECT_FALSE(warning->isHidden());
    EXPECT_TRUE(warning->text().startsWith(QLatin1String("The font is too big for this box")))
        << warning->text().toStdString();
    designer->findChild<QDoubleSpinBox *>(QStringLiteral("edtH"))->setValue(6);
    EXPECT_TRUE(warning->isHidden());
    checked = true;
    designer->reject();
  };
  Printing().CustomizePrintOut();
  EXPECT_TRUE(checked);
}
