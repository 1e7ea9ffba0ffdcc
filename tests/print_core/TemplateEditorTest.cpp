// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "print/core/TemplateEditor.h"

namespace {

TReportTemplate OneText() {
  TReportTemplate t;
  TReportObject o;
  o.rect = QRectF(10, 5, 40, 6);
  o.lines = {QStringLiteral("hello")};
  t.EnsureBand(TBandKind::Data).objects.push_back(o);
  return t;
}

}  // namespace

TEST(TemplateEditor, HitTestingMovingAndResizingStayInsideTheBand) {
  TTemplateEditor e(OneText());
  const QRectF band = e.BandRect(TBandKind::Data);
  EXPECT_EQ(band.topLeft(), QPointF(15, 15));
  ASSERT_EQ(e.ObjectAt({15 + 12, 15 + 7}), (TTemplateEditor::TSelection{TBandKind::Data, 0}));
  EXPECT_FALSE(e.ObjectAt({15 + 60, 15 + 7}));
  e.Select(e.ObjectAt({15 + 12, 15 + 7}));
  e.MoveBy(-50, -50);
  EXPECT_EQ(e.Selected()->rect, QRectF(0, 0, 40, 6));
  e.MoveBy(500, 3);
  EXPECT_EQ(e.Selected()->rect, QRectF(band.width() - 40, 3, 40, 6));
  e.ResizeBy(-100, -100);
  EXPECT_EQ(e.Selected()->rect.size(), QSizeF(TTemplateEditor::MinSize, TTemplateEditor::MinSize));
  e.ResizeBy(1000, 0);
  EXPECT_EQ(e.Selected()->rect.width(), band.width());
  EXPECT_EQ(e.Selected()->rect.left(), 0);
}

TEST(TemplateEditor, UndoTakesBackOneGestureOrEditAtATime) {
  const TReportTemplate start = OneText();
  TTemplateEditor e(start);
  e.Select(TTemplateEditor::TSelection{TBandKind::Data, 0});
  e.BeginGesture();
  for (int i = 0; i < 10; ++i) e.MoveBy(1, 1);  // one drag
  e.EndGesture();
  e.SetText({QStringLiteral("changed")});
  e.SetAlign(THAlign::Center);
  e.DeleteSelected();
  EXPECT_FALSE(e.Selected());
  EXPECT_TRUE(e.Modified());
  e.Undo();  // the deletion: the object is back, selected
  ASSERT_TRUE(e.Selected());
  EXPECT_EQ(e.Selected()->align, THAlign::Center);
  e.Undo();
  e.Undo();
  EXPECT_EQ(e.Selected()->lines, QStringList{QStringLiteral("hello")});
  EXPECT_EQ(e.Selected()->rect.topLeft(), QPointF(20, 15));
  e.Undo();
  EXPECT_EQ(e.Template(), start);
  EXPECT_FALSE(e.CanUndo());
  EXPECT_FALSE(e.Modified());
  // Edits that change nothing are no undo steps.
  e.SetText({QStringLiteral("hello")});
  e.MoveBy(0, 0);
  EXPECT_FALSE(e.CanUndo());
}

TEST(TemplateEditor, AddingObjectsBandsAndPageSetUp) {
  TTemplateEditor e(OneText());
  e.AddText(TBandKind::PageFooter);  // the band is added after the data band
  ASSERT_EQ(e.Template().bands.size(), 2u);
  EXPECT_EQ(e.Template().bands[1].kind, TBandKind::PageFooter);
  EXPECT_EQ(e.Selection()->band, TBandKind::PageFooter);
  e.AddLine(TBandKind::PageHeader);
  EXPECT_EQ(e.Template().bands[0].kind, TBandKind::PageHeader);
  EXPECT_EQ(e.Selected()->kind, TObjectKind::Line);
  EXPECT_EQ(e.BandRect(TBandKind::Data).top(), 15 + e.Template().bands[0].height);
  TPageSetup page = e.Template().page;
  page.landscape = true;
  e.SetPage(page);
  EXPECT_EQ(e.Template().page.PaperSize(), QSizeF(297, 210));
  page.left = 101;  // more than a template file may hold: refused
  e.SetPage(page);
  EXPECT_EQ(e.Template().page.left, 15);
  page = {QStringLiteral("A5"), false, 70, 15, 70, 15};  // leaves no room: refused
  e.SetPage(page);
  EXPECT_EQ(e.Template().page.size, QStringLiteral("A4"));
  e.SetBandHeight(TBandKind::PageFooter, 25);
  EXPECT_EQ(e.BandRect(TBandKind::PageFooter).top(), 210 - 15 - 25);
}
