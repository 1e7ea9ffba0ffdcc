// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QPainter>

#include "print/core/ReportLayout.h"
#include "print/core/ReportRenderer.h"
#include "print/core/ReportVariables.h"
#include "print/core/TextMeasure.h"

namespace {

TReportObject Text(QRectF rect, QStringList lines, THAlign align = THAlign::Left) {
  TReportObject o;
  o.rect = rect;
  o.lines = std::move(lines);
  o.align = align;
  o.font.name = QStringLiteral("DejaVu Sans Mono");
  return o;
}

// A4 with 15 mm margins: header 10, data 247, footer 10 mm.
TReportTemplate Template(const QString &marker = QString::fromLatin1(TextBodyMarker)) {
  TReportTemplate t;
  t.EnsureBand(TBandKind::PageHeader).height = 10;
  t.Band(TBandKind::PageHeader)
      ->objects.push_back(Text({0, 0, 180, 6}, {QStringLiteral("[Text File Name]")}));
  t.EnsureBand(TBandKind::Data).height = 247;
  t.Band(TBandKind::Data)->objects.push_back(Text({0, 0, 180, 240}, {marker}));
  t.EnsureBand(TBandKind::PageFooter).height = 10;
  t.Band(TBandKind::PageFooter)
      ->objects.push_back(Text({0, 2, 180, 6},
                               {QStringLiteral("Page [Page Number] of [Total Pages]")},
                               THAlign::Center));
  return t;
}

TReportCallbacks Body(const QStringList &body,
                      const QString &fileName = QStringLiteral("/tmp/a.txt")) {
  return {[body](TReportObject &o) {
            if (IsTextBodyMarker(o)) o.lines = body;
          },
          [fileName](const QString &name) -> std::optional<QString> {
            if (name == QLatin1String("Text File Name")) return fileName;
            return std::nullopt;
          }};
}

// The texts of a page as drawn (its own and those of every page), top to bottom.
QStringList PageTexts(const TPreparedReport &r, size_t page) {
  std::vector<TPlacedItem> items;
  for (const auto *list : {&r.everyPage, &r.pages[page].items})
    for (const TPlacedItem &i : *list)
      if (i.kind == TPlacedItem::Text) items.push_back(i);
  std::stable_sort(items.begin(), items.end(),
                   [](auto &a, auto &b) { return a.rect.top() < b.rect.top(); });
  QStringList texts;
  for (const TPlacedItem &i : items)
    texts << ReportRenderer::PageText(i, int(page) + 1, int(r.pages.size()));
  return texts;
}

QStringList Numbered(int count) {
  QStringList lines;
  for (int i = 1; i <= count; ++i) lines << QStringLiteral("line %1").arg(i);
  return lines;
}

}  // namespace

TEST(ReportLayout, TextBodyFlowsOverPagesWithHeaderAndFooterOnEach) {
  const double lineHeight = TTextMeasure(Template().bands[1].objects[0].font).LineHeight();
  const int perPage = int(247 / lineHeight);
  const QStringList body = Numbered(perPage * 2 + 5);
  const TPreparedReport r = PrepareReport(Template(), Body(body));
  ASSERT_EQ(r.pages.size(), 3u);
  QStringList flowed;
  for (size_t p = 0; p < 3; ++p) {
    QStringList texts = PageTexts(r, p);
    EXPECT_EQ(texts.first(), QStringLiteral("/tmp/a.txt"));
    EXPECT_EQ(texts.last(), QStringLiteral("Page %1 of 3").arg(p + 1));
    flowed << texts.mid(1, texts.size() - 2);
  }
  EXPECT_EQ(flowed, body);  // every line once, in order
  // Lines stay inside the body area between header and footer.
  for (const TPreparedPage &page : r.pages)
    for (const TPlacedItem &i : page.items)
      if (i.text.startsWith(QLatin1String("line"))) {
        EXPECT_GE(i.rect.top(), 15 + 10 - 1e-9);
        EXPECT_LE(i.rect.bottom(), 297 - 15 - 10 + 1e-9);
      }
  // Laid out a page at a time, the result is the same.
  TReportLayout stepped(Template(), Body(body));
  int steps = 0;
  while (!stepped.Step(1)) ++steps;
  EXPECT_EQ(steps, 2);
  for (size_t p = 0; p < 3; ++p) EXPECT_EQ(PageTexts(stepped.Report(), p), PageTexts(r, p));
}

TEST(ReportLayout, BlankLinesKeepTheirPlaceAndLongLinesWrapInsideTheBox) {
  const QString longWord = QString(300, u'x');
  const QString words = QStringLiteral("alpha beta gamma ").repeated(20).trimmed();
  const TPreparedReport r = PrepareReport(
      Template(),
      Body({QStringLiteral("one"), QString(), QString(), QStringLiteral("four"), longWord, words}));
  ASSERT_EQ(r.pages.size(), 1u);
  std::vector<TPlacedItem> lines;
  for (const TPlacedItem &i : r.pages[0].items)
    if (i.kind == TPlacedItem::Text && !i.text.contains(u'[') &&
        i.text != QLatin1String("/tmp/a.txt"))
      lines.push_back(i);
  ASSERT_GE(lines.size(), 6u);
  const double step = lines[1].rect.top() - lines[0].rect.top();
  EXPECT_NEAR(step, 3 * (lines[1].rect.height()), 1e-9);  // "four" comes three lines below "one"
  const TTextMeasure measure(lines[0].font);
  QString joinedWord, joinedWords;
  for (size_t i = 2; i < lines.size(); ++i) {
    EXPECT_LE(measure.Width(lines[i].text), 180 + 1e-6) << lines[i].text.toStdString();
    if (lines[i].text.startsWith(u'x'))
      joinedWord += lines[i].text;
    else
      joinedWords += (joinedWords.isEmpty() ? QString() : QStringLiteral(" ")) + lines[i].text;
  }
  EXPECT_EQ(joinedWord, longWord);
  EXPECT_EQ(joinedWords, words);  // broken at blanks only
}

TEST(ReportLayout, MarkerInOtherLetterCaseIsPlainText) {
  const TPreparedReport r =
      PrepareReport(Template(QStringLiteral("[text body]")), Body(Numbered(500)));
  ASSERT_EQ(r.pages.size(), 1u);
  EXPECT_TRUE(PageTexts(r, 0).contains(QStringLiteral("[text body]")));
  // No body given (no workspace): the marker flows as its own text.
  const TPreparedReport none = PrepareReport(Template(), {});
  ASSERT_EQ(none.pages.size(), 1u);
  EXPECT_TRUE(PageTexts(none, 0).contains(QStringLiteral("[Text Body]")));
}

TEST(ReportLayout, VariablesInTheBodyAreTheUsersTextAndUnknownOnesStay) {
  TReportTemplate t = Template();
  t.Band(TBandKind::PageHeader)->objects[0].lines = {
      QStringLiteral("[Text File Name] [Nope] [Date] [[Page Number]")};
  const QDateTime when(QDate(2026, 3, 4), QTime(5, 6));
  const TPreparedReport r =
      PrepareReport(t, Body({QStringLiteral("[Page Number] [Text File Name]")}), when);
  const QStringList texts = PageTexts(r, 0);
  EXPECT_EQ(texts[0], QStringLiteral("/tmp/a.txt [Nope] ") +
                          QLocale().toString(when.date(), QLocale::ShortFormat) +
                          QStringLiteral(" [1"));
  EXPECT_EQ(texts[1], QStringLiteral("[Page Number] [Text File Name]"));
  EXPECT_EQ(ReportVariables::Expand(QStringLiteral("[open ] [x"),
                                    [](const QString &) { return QStringLiteral("v"); }),
            QStringLiteral("v [x"));
}

TEST(ReportLayout, ObjectsBelowTheBodyFollowItsEnd) {
  TReportTemplate t = Template();
  TReportBand &data = *t.Band(TBandKind::Data);
  data.objects[0].rect = QRectF(0, 10, 180, 20);
  data.objects.push_back(Text({0, 0, 180, 6}, {QStringLiteral("above")}));
  data.objects.push_back(Text({0, 35, 180, 6}, {QStringLiteral("after")}));
  const double lineHeight = TTextMeasure(data.objects[0].font).LineHeight();
  const TPreparedReport shortBody = PrepareReport(t, Body({QStringLiteral("only")}));
  ASSERT_EQ(shortBody.pages.size(), 1u);
  for (const TPlacedItem &i : shortBody.pages[0].items) {
    if (i.text == QLatin1String("after")) {
      EXPECT_NEAR(i.rect.top(), 15 + 10 + 10 + lineHeight + 5, 1e-6);
    }
  }
  // A body that fills its pages pushes what follows onto a page of its own.
  const int firstPage = int((247 - 10) / lineHeight), nextPages = int(247 / lineHeight);
  const TPreparedReport full = PrepareReport(t, Body(Numbered(firstPage + nextPages)));
  ASSERT_EQ(full.pages.size(), 3u);
  EXPECT_EQ(PageTexts(full, 2).mid(1, 1), QStringList{QStringLiteral("after")});
  EXPECT_TRUE(PageTexts(full, 0).contains(QStringLiteral("above")));
  EXPECT_FALSE(PageTexts(full, 1).contains(QStringLiteral("above")));
}

TEST(ReportLayout, BandsWithNoRoomForTheBodyStillEnd) {
  TReportTemplate t = Template();
  t.Band(TBandKind::PageHeader)->height = 200;
  t.Band(TBandKind::PageFooter)->height = 100;  // more than the page holds
  const TPreparedReport r = PrepareReport(t, Body(Numbered(20)));
  EXPECT_EQ(r.pages.size(), 20u);  // one line a page, never none
}

TEST(ReportLayout, RendererDrawsOnAnyResolution) {
  const TPreparedReport r = PrepareReport(Template(), Body({QStringLiteral("drawn")}));
  for (int dpi : {72, 300}) {
    QImage image(qRound(210 / 25.4 * dpi), qRound(297 / 25.4 * dpi), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    ReportRenderer::PaintReportPage(painter, r, 0, 1);
    painter.end();
    // Ink inside the body area near the top left, where "drawn" is, and nowhere past the footer.
    auto inked = [&](QRectF mm) {
      for (int y = int(mm.top() / 25.4 * dpi); y < int(mm.bottom() / 25.4 * dpi); ++y)
        for (int x = int(mm.left() / 25.4 * dpi); x < int(mm.right() / 25.4 * dpi); ++x)
          if (image.pixel(x, y) != qRgb(255, 255, 255)) return true;
      return false;
    };
    EXPECT_TRUE(inked({15, 25, 20, 6})) << dpi;
    EXPECT_FALSE(inked({15, 283, 180, 13})) << dpi;
  }
}
