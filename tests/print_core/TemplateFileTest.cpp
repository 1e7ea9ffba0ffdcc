// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>

#include "TemplateText.h"
#include "TestEnvironment.h"
#include "platform/core/Folders.h"
#include "print/core/TemplateFile.h"

namespace {

using TemplateText::ErrorOf;
using TemplateText::Head;

}  // namespace

TEST(TemplateFile, ShippedTemplateHasHeaderBodyAndFooter) {
  QString error;
  const auto report =
      TemplateFile::Load(Folders::ProgramFolder() + QStringLiteral("notepad.frf"), &error);
  ASSERT_TRUE(report) << error.toStdString();
  ASSERT_EQ(report->bands.size(), 3u);
  const TReportBand *data = report->Band(TBandKind::Data);
  ASSERT_TRUE(data);
  EXPECT_EQ(std::count_if(data->objects.begin(), data->objects.end(), IsTextBodyMarker), 1);
  const QByteArray text = TemplateFile::Format(*report);
  EXPECT_TRUE(text.contains("| [Text File Name]"));
  EXPECT_TRUE(text.contains("| Page [Page Number] of [Total Pages]"));
  // The bands fill the page between the margins exactly.
  double heights = 0;
  for (const TReportBand &b : report->bands) heights += b.height;
  EXPECT_DOUBLE_EQ(heights, report->page.ContentRect().height());
}

TEST(TemplateFile, WhatIsWrittenReadsBackTheSame) {
  TReportTemplate t;
  t.page = {QStringLiteral("Letter"), true, 10, 12.5, 8, 20};
  TReportBand &header = t.EnsureBand(TBandKind::PageHeader);
  TReportObject text;
  text.rect = QRectF(1.5, 2, 100, 7.25);
  text.lines = {QStringLiteral("first | line"), QString(),
                QStringLiteral("  indented \"quoted\" \\ back"),
                QStringLiteral("| looks like a text line"), QStringLiteral("#not a comment")};
  text.font = {QStringLiteral("Odd \"Face\" \\ Name"), 11.5, true, true, QColor(0x12, 0x34, 0x56)};
  text.align = THAlign::Right;
  text.frame = true;
  text.lineWidth = 0.5;
  header.objects.push_back(text);
  TReportObject line;
  line.kind = TObjectKind::Line;
  line.rect = QRectF(0, 9, 150, 0);
  line.font.color = Qt::red;
  t.EnsureBand(TBandKind::PageFooter).objects.push_back(line);
  t.EnsureBand(TBandKind::Data).height = 100;  // added between the two

  QString error;
  const auto back = TemplateFile::Parse(TemplateFile::Format(t), &error);
  ASSERT_TRUE(back) << error.toStdString();
  EXPECT_EQ(*back, t);
  EXPECT_EQ(back->bands[1].kind, TBandKind::Data);

  // CR LF line ends and a byte-order mark read the same.
  QByteArray crlf = "\xEF\xBB\xBF" + TemplateFile::Format(t);
  crlf.replace("\n", "\r\n");
  const auto fromCrlf = TemplateFile::Parse(crlf, &error);
  ASSERT_TRUE(fromCrlf) << error.toStdString();
  EXPECT_EQ(*fromCrlf, t);
}

TEST(TemplateFile, DamagedTemplatesAreRefusedWithTheLineAndReason) {
  const struct {
    QByteArray bytes;
    const char *reason;
  } cases[] = {
      {"", "empty"},
      {"Report 1\n", "does not start with"},
      {"VellumixReport 2\npage size=A4\n", "version \"2\""},
      {"VellumixReport\npage size=A4\n", "version \"\""},
      {"VellumixReport 1\n", "no page statement"},
      {Head() + "page size=A4\n", "line 3: a second page"},
      {Head() + "picture x=1\n", "line 3: unknown statement"},
      {Head() + "| text\n", "outside a text object"},
      {Head() + "text x=0 y=0 w=1 h=1\n", "an object outside a band"},
      {Head() + "band kind=body height=10\n", "unknown band kind"},
      {Head() + "band kind=footer height=10\nband kind=header height=10\n", "order"},
      {Head() + "band kind=data height=10\nband kind=data height=10\n", "a second data band"},
      {Head() + "band kind=data height=ten\n", "height=ten is not a number"},
      {Head() + "band kind=data height=nan\n", "not a number"},
      {Head() + "band kind=data height=inf\n", "not a number"},
      {Head() + "band kind=data height=-1\n", "not a number from 0"},
      {Head() + "band kind=data height=1e9\n", "not a number from 0"},
      {Head() + "band kind=data height=1 height=2\n", "given twice"},
      {Head() + "band kind=data heigth=1\n", "unknown field \"heigth\""},
      {Head() + "band kind=data height\n", "expected key=value"},
      {Head() + "band kind=data\ntext font=\"Sans\n", "unterminated"},
      {Head() + "band kind=data\ntext size=0\n", "size=0"},
      {Head() + "band kind=data\ntext font=\"\"\n", "font name"},
      {Head() + "band kind=data\ntext color=red\n", "colour"},
      {Head() + "band kind=data\ntext bold=yes\n", "0 or 1"},
      {Head() + "band kind=data\ntext align=justify\n", "alignment"},
      {Head() + "band kind=data\ntext\n|no blank\n", "must start with \"| \""},
      {"VellumixReport 1\npage size=B5\n", "paper size"},
      {"VellumixReport 1\npage size=A4 orientation=sideways\n", "orientation"},
      {"VellumixReport 1\npage size=A5 left=70 right=70\n", "no room"},
      {Head() + QByteArray("band kind=data\0", 15), "binary"},
      {QByteArray(TemplateFile::MaxFileSize + 1, '#'), "too large"},
  };
  for (const auto &c : cases) {
    const QString error = ErrorOf(c.bytes);
    EXPECT_TRUE(error.contains(QLatin1String(c.reason)))
        << c.bytes.left(80).constData() << " -> " << error.toStdString();
  }
  // Counts are bounded.
  QByteArray many = Head() + "band kind=data\n";
  for (int i = 0; i <= TemplateFile::MaxObjectsPerBand; ++i) many += "line x=0\n";
  EXPECT_TRUE(ErrorOf(many).contains(QLatin1String("too many objects")));
  QByteArray lines = Head() + "band kind=data\ntext\n";
  for (int i = 0; i <= TemplateFile::MaxLinesPerObject; ++i) lines += "| x\n";
  EXPECT_TRUE(ErrorOf(lines).contains(QLatin1String("too many text lines")));
}

TEST(TemplateFile, LoadAndSaveReportFileErrors) {
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("templates"));
  QString error;
  EXPECT_FALSE(TemplateFile::Load(dir + QStringLiteral("/missing.frf"), &error));
  EXPECT_EQ(error, QStringLiteral("Cannot open file ") + dir + QStringLiteral("/missing.frf"));
  const QString bad =
      TestEnvironment::WriteFile(dir + QStringLiteral("/bad.frf"), "VellumixReport 1\nbogus\n");
  EXPECT_FALSE(TemplateFile::Load(bad, &error));
  EXPECT_EQ(
      error,
      bad + QStringLiteral(" is not a valid print template: line 2: unknown statement \"bogus\""));

  // A save that cannot be made leaves the old file as it was.
  TReportTemplate t;
  const QString good = dir + QStringLiteral("/good.frf");
  ASSERT_TRUE(TemplateFile::Save(good, t, &error)) << error.toStdString();
  EXPECT_EQ(TestEnvironment::ReadFile(good), TemplateFile::Format(t));
  EXPECT_FALSE(TemplateFile::Save(dir + QStringLiteral("/no/such/folder/x.frf"), t, &error));
  EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot create file"))) << error.toStdString();
}
