// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QPainter>

#include "TemplateText.h"
#include "platform/core/Folders.h"
#include "print/core/ReportLayout.h"
#include "print/core/ReportRenderer.h"
#include "print/core/TemplateEditor.h"
#include "print/core/TemplateFile.h"
#include "print/core/TextMeasure.h"

namespace {

using TemplateText::ErrorOf;
using TemplateText::Head;

TReportTemplate Shipped() {
  QString error;
  const auto report =
      TemplateFile::Load(Folders::ProgramFolder() + QStringLiteral("notepad.frf"), &error);
  EXPECT_TRUE(report) << error.toStdString();
  return report.value_or(TReportTemplate());
}

TReportFont Mono() {
  TReportFont font;
  font.name = QStringLiteral("DejaVu Sans Mono");
  return font;
}

}  // namespace

// A band or object that sticks out of the page is refused when the file is read, naming the
// line; what fits exactly is accepted.
TEST(PageFit, TemplatesThatDoNotFitThePageAreRefused) {
  const struct {
    QByteArray bytes;
    const char *reason;
  } cases[] = {
      {Head() + "band kind=header height=2000\ntext x=0 y=0 w=100 h=1900 frame=1\n",
       "line 3: the bands are 2000.0 mm tall, the page has room for 267.0 mm"},
      {Head() + "band kind=header height=100\nband kind=data height=100\nband kind=footer "
                "height=68\n",
       "line 5: the bands are 268.0 mm tall"},
      {Head() + "band kind=data height=20\ntext x=100 y=0 w=81 h=5\n",
       "line 4: the object does not fit inside its band"},
      {Head() + "band kind=data height=20\n\ntext x=0 y=16 w=10 h=5\n| x\n",
       "line 5: the object does not fit"},
      {Head() + "band kind=footer height=10\nline x=0 y=11 w=10 h=0\n", "line 4: the object"},
  };
  for (const auto &c : cases) {
    const QString error = ErrorOf(c.bytes);
    EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << error.toStdString();
  }
  QString error;
  const auto exact =
      TemplateFile::Parse(Head() +
                              "band kind=header height=20\nline x=0 y=20 w=180 h=0\nband kind=data "
                              "height=247\ntext x=170 y=0 w=10 h=247\n",
                          &error);
  ASSERT_TRUE(exact) << error.toStdString();
  EXPECT_TRUE(FitProblem(*exact).isEmpty());
}

// The shipped template fitted to any page the user may choose still fits it; the header and
// footer keep their height while there is room, and a right-aligned box keeps to the right edge.
TEST(PageFit, TemplateFollowsAnyChosenPage) {
  const TReportTemplate shipped = Shipped();
  ASSERT_TRUE(FitProblem(shipped).isEmpty());
  for (const QString &size : TPageSetup::SizeNames())
    for (bool landscape : {false, true})
      for (double margin : {0.0, 10.0, 40.0}) {
        const TPageSetup page{size, landscape, margin, margin, margin, margin};
        const TReportTemplate fitted = FitToPage(shipped, page);
        EXPECT_EQ(fitted.page, page);
        EXPECT_EQ(FitProblem(fitted), QString())
            << size.toStdString() << (landscape ? " landscape " : " portrait ") << margin;
        const QRectF inside = page.ContentRect();
        const TReportBand *footer = fitted.Band(TBandKind::PageFooter);
        EXPECT_NEAR(footer->objects.back().rect.right(), inside.width(), 1e-6);
        if (inside.height() > 100) {
          EXPECT_EQ(fitted.Band(TBandKind::PageHeader)->height, 12);
          EXPECT_EQ(footer->height, 12);
        }
      }
}

TEST(PageFit, DesignerKeepsBandsAndObjectsOnThePage) {
  TTemplateEditor e(Shipped());  // the bands fill the page
  EXPECT_NEAR(e.FreeHeight(), 0, 1e-9);
  e.SetBandHeight(TBandKind::PageHeader, 2000);  // refused: no room
  EXPECT_EQ(e.Template().Band(TBandKind::PageHeader)->height, 12);
  EXPECT_FALSE(e.CanUndo());
  // A smaller data band takes its text body along; the freed room may be given to the header.
  e.SetBandHeight(TBandKind::Data, 100);
  const TReportObject &body = e.Template().Band(TBandKind::Data)->objects[0];
  EXPECT_LE(body.rect.bottom(), 100 + 1e-9);
  e.SetBandHeight(TBandKind::PageHeader, 155);
  EXPECT_EQ(e.Template().Band(TBandKind::PageHeader)->height, 155);
  e.SetBandHeight(TBandKind::PageHeader, 156);
  EXPECT_EQ(e.Template().Band(TBandKind::PageHeader)->height, 155);
  // Objects cannot be moved or stretched out of their band.
  e.Select(TTemplateEditor::TSelection{TBandKind::PageFooter, 0});
  e.MoveBy(0, 500);
  e.ResizeBy(0, 500);
  EXPECT_LE(e.Selected()->rect.bottom(), 12 + 1e-9);
  // A smaller page fits everything onto it.
  e.SetPage({QStringLiteral("A5"), true, 10, 10, 10, 10});
  EXPECT_EQ(FitProblem(e.Template()), QString());
  // And what the designer writes reads back.
  QString error;
  EXPECT_TRUE(TemplateFile::Parse(TemplateFile::Format(e.Template()), &error))
      << error.toStdString();
}

// A header with hundreds of framed boxes is kept once, not once per page.
TEST(PageFit, PreparedPagesHoldOnlyTheirOwnText) {
  TReportTemplate t = Shipped();
  TReportBand &header = *t.Band(TBandKind::PageHeader);
  for (int i = 0; i < 400; ++i) {
    TReportObject box;
    box.rect = QRectF(i % 170, 0, 4, 4);
    box.lines = {QStringLiteral("x")};
    box.frame = true;
    header.objects.push_back(box);
  }
  ASSERT_TRUE(FitProblem(t).isEmpty());
  QStringList body;
  for (int i = 0; i < 5000; ++i) body << QStringLiteral("line %1").arg(i);
  const TPreparedReport r = PrepareReport(t, {[&body](TReportObject &o) {
                                                if (IsTextBodyMarker(o)) o.lines = body;
                                              },
                                              {}});
  EXPECT_GT(r.pages.size(), 50u);
  EXPECT_EQ(r.everyPage.size(), 2u * 400 + 5);  // boxes and frames, the shipped five
  size_t items = 0;
  for (const TPreparedPage &page : r.pages) items += page.items.size();
  EXPECT_EQ(items, 5000u);
}

// Broken lines are never wider than their box, whatever the script; nothing is lost but the
// blanks at a break.
TEST(TextMeasure, BrokenLinesFitTheirWidth) {
  const TTextMeasure measure(Mono());
  const QStringList texts = {
      QString(300, u'm'),
      QStringLiteral("abcd").repeated(90),
      QStringLiteral("wordwrap ").repeated(30),
      QStringLiteral("漢字とかなカナ한국어").repeated(15),
      QStringLiteral("ÀÉÎÕÜçñßøåæœŁĳŒ ").repeated(12),
      QStringLiteral("a\tbb\tccc\tdddd\t").repeated(12),
      QStringLiteral("x\U0001F600y").repeated(40),
  };
  // From a little wider than the widest character (a CJK one) to a page's width.
  for (double width : {4.0, 17.5, 50.0, 174.0})
    for (const QString &text : texts) {
      const QStringList pieces = measure.Wrap(text, width);
      QString joined;
      for (const QString &piece : pieces) {
        EXPECT_LE(measure.Width(piece), width) << width << ": " << piece.toStdString();
        joined += piece;
      }
      QString expected = text;
      if (joined.size() != expected.size()) {  // the blanks and tabs at the breaks went
        for (QString *t : {&expected, &joined}) t->remove(u' ').remove(u'\t');
      }
      EXPECT_EQ(joined, expected) << width;
    }
}

TEST(TextMeasure, TabsStopAtTheirStopsAndLongPathsKeepTheFileName) {
  const TTextMeasure standard(Mono());
  const double blank = standard.Width(QStringLiteral(" "));
  EXPECT_NEAR(standard.TabStop(), 8 * blank, 1e-6);
  const TTextMeasure wide(Mono(), 30);
  EXPECT_NEAR(wide.Width(QStringLiteral("a\tb")), 30 + blank, 0.01);
  EXPECT_NEAR(wide.Width(QStringLiteral("abc\t\tb")), 60 + blank, 0.01);
  const QString path = QStringLiteral("/home/someone/") +
                       QStringLiteral("a-long-folder/").repeated(8) + QStringLiteral("letter.txt");
  const QString shown = standard.Elide(path, 60);
  EXPECT_LE(standard.Width(shown), 60);
  EXPECT_TRUE(shown.startsWith(QLatin1String("/home/"))) << shown.toStdString();
  EXPECT_TRUE(shown.endsWith(QStringLiteral("\u2026/letter.txt"))) << shown.toStdString();
  EXPECT_EQ(standard.Elide(QStringLiteral("short.txt"), 60), QStringLiteral("short.txt"));
}

// A line measured to fill its box stays inside it at any resolution it is drawn at.
TEST(TextMeasure, FullLinesStayInsideTheirBoxAtEveryResolution) {
  const TTextMeasure measure(Mono());
  const QRectF box(5, 2, 60, measure.LineHeight());
  const QString full = measure.Wrap(QStringLiteral("abcd").repeated(40), box.width()).first();
  TPlacedItem item;
  item.rect = box;
  item.text = full;
  item.font = Mono();
  item.pageVariables = false;
  for (double dpi : {37.0, 50.0, 72.0, 96.0, 133.0, 150.0, 300.0, 600.0}) {
    const double perMm = dpi / 25.4;
    QImage image(qCeil(80 * perMm), qCeil(10 * perMm), QImage::Format_Grayscale8);
    image.setDotsPerMeterX(qRound(perMm * 1000));
    image.setDotsPerMeterY(qRound(perMm * 1000));
    image.fill(Qt::white);
    QPainter painter(&image);
    ReportRenderer::PaintItems(painter, {item}, 1, 1);
    painter.end();
    int inkRight = -1;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (qGray(image.pixel(x, y)) < 200) inkRight = std::max(inkRight, x);
    EXPECT_GT(inkRight, (box.right() - 4) * perMm) << dpi;  // it does reach the edge
    EXPECT_LE(inkRight, box.right() * perMm + 1) << dpi;
  }
}
