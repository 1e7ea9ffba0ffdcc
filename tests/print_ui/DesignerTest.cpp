// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include "PrintFixture.h"
#include "platform/core/Folders.h"
#include "print/core/TemplateFile.h"
#include "print/ui/DesignerCanvas.h"
#include "print/ui/fmDesigner.h"

namespace {

// The header's file-name object, the first object of the first band.
const TReportObject &HeaderName(const TReportTemplate &t) {
  return t.Band(TBandKind::PageHeader)->objects[0];
}

QPoint WidgetPoint(TDesignerCanvas *canvas, QPointF sheetMm) {
  return canvas->ToWidget(sheetMm).toPoint();
}

void PressButton(QDialog *dialog, QDialogButtonBox::StandardButton which) {
  dialog->findChild<QDialogButtonBox *>()->button(which)->click();
}

}  // namespace

TEST_F(PrintFixture, DesignerMovesAndRetextsAnObjectAndTheChangePrints) {
  StartWith(QStringLiteral("body text"));
  const QString before = Printing().TemplateFileName();
  QRectF original;
  {
    TModalAnswerer answerer;
    answerer.onShown = [&](QWidget *modal) {
      auto *designer = qobject_cast<TfrmDesigner *>(modal);
      ASSERT_TRUE(designer);
      TDesignerCanvas *canvas = designer->Canvas();
      original = HeaderName(designer->Template()).rect;
      // Select it, then narrow it by 40 mm, dragging the handle at its bottom right corner.
      QRectF sheet = designer->Editor().SheetRect({TBandKind::PageHeader, 0});
      QTest::mouseClick(canvas, Qt::LeftButton, {}, WidgetPoint(canvas, sheet.center()));
      const QPoint corner = WidgetPoint(canvas, sheet.bottomRight());
      const QPoint narrower = WidgetPoint(canvas, sheet.bottomRight() - QPointF(40, 0));
      QTest::mousePress(canvas, Qt::LeftButton, {}, corner);
      QTest::mouseMove(canvas, narrower);
      QTest::mouseRelease(canvas, Qt::LeftButton, {}, narrower);
      sheet = designer->Editor().SheetRect({TBandKind::PageHeader, 0});
      EXPECT_EQ(sheet.size(), original.size() - QSizeF(40, 0));
      // Drag it 20 mm to the right and 2 mm down with the mouse.
      const QPoint from = WidgetPoint(canvas, sheet.center() - QPointF(sheet.width() / 4, 0));
      const QPoint to =
          WidgetPoint(canvas, sheet.center() - QPointF(sheet.width() / 4, 0) + QPointF(20, 2));
      QTest::mousePress(canvas, Qt::LeftButton, {}, from);
      QTest::mouseMove(canvas, (from + to) / 2);
      QTest::mouseMove(canvas, to);
      QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
      ASSERT_EQ(designer->Editor().Selection(),
                (TTemplateEditor::TSelection{TBandKind::PageHeader, 0}));
      // And one millimetre further with the keyboard.
      QTest::keyClick(canvas, Qt::Key_Right);
      // New text typed into the text box.
      auto *text = designer->findChild<QPlainTextEdit *>(QStringLiteral("edtText"));
      EXPECT_EQ(text->toPlainText(), QStringLiteral("[Text File Name]"));
      text->setFocus();
      text->selectAll();
      QTest::keyClicks(text, QStringLiteral("Printed from "));
      if (!qEnvironmentVariableIsEmpty("VELLUMIX_SCREENSHOTS"))
        designer->grab().save(qEnvironmentVariable("VELLUMIX_SCREENSHOTS") +
                              QStringLiteral("/designer.png"));
      PressButton(designer, QDialogButtonBox::Ok);
    };
    Printing().CustomizePrintOut();
    EXPECT_TRUE(answerer.titles.contains(QStringLiteral("Customize Print Out")));
  }
  const QString saved = Printing().TemplateSaveName();
  ASSERT_TRUE(QFile::exists(saved));
  QString error;
  const auto report = TemplateFile::Load(Printing().TemplateFileName(), &error);
  ASSERT_TRUE(report) << error.toStdString();
  const TReportObject &o = HeaderName(*report);
  EXPECT_EQ(o.rect.topLeft(), original.topLeft() + QPointF(21, 2));
  EXPECT_EQ(o.rect.size(), original.size() - QSizeF(40, 0));
  EXPECT_EQ(o.lines, QStringList{QStringLiteral("Printed from ")});

  // Reopened, the designer shows the change; Cancel after an edit keeps the file as it was.
  const QByteArray kept = TestEnvironment::ReadFile(saved);
  TModalAnswerer again;
  again.onShown = [&](QWidget *modal) {
    auto *designer = qobject_cast<TfrmDesigner *>(modal);
    ASSERT_TRUE(designer);
    EXPECT_EQ(HeaderName(designer->Template()).lines, QStringList{QStringLiteral("Printed from ")});
    const QRectF sheet = designer->Editor().SheetRect({TBandKind::PageHeader, 0});
    QTest::mouseClick(designer->Canvas(), Qt::LeftButton, {},
                      WidgetPoint(designer->Canvas(), sheet.center()));
    QTest::keyClick(designer->Canvas(), Qt::Key_Delete);
    EXPECT_EQ(designer->Template().Band(TBandKind::PageHeader)->objects.size(), 1u);
    PressButton(designer, QDialogButtonBox::Cancel);
  };
  Printing().CustomizePrintOut();
  EXPECT_EQ(TestEnvironment::ReadFile(saved), kept);

  const QString pdf = PrintToPdf();
  Printing().Print();
  const QStringList pages = PdfPages(pdf);
  ASSERT_EQ(pages.size(), 1);
  EXPECT_TRUE(pages[0].contains(QLatin1String("Printed from"))) << pages[0].toStdString();
  EXPECT_FALSE(pages[0].contains(main->CurrentFileName().trimmed()));
  EXPECT_TRUE(pages[0].contains(QLatin1String("body text")));
  (void)before;
}

TEST_F(PrintFixture, DesignerAddsEditsAndUndoesThroughItsControls) {
  TReportTemplate start;
  start.EnsureBand(TBandKind::Data);
  TfrmDesigner designer(start);
  designer.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&designer));
  auto action = [&](const char *name) {
    return designer.findChild<QAction *>(QLatin1String(name));
  };
  EXPECT_FALSE(action("actDelete")->isEnabled());
  EXPECT_FALSE(action("actUndo")->isEnabled());
  action("actAddText")->trigger();
  ASSERT_TRUE(designer.Editor().Selected());
  auto *variable = designer.findChild<QComboBox *>(QStringLiteral("cbxVariable"));
  const int index = variable->findData(QStringLiteral("Page Number"));
  ASSERT_GT(index, 0);
  auto *text = designer.findChild<QPlainTextEdit *>(QStringLiteral("edtText"));
  text->setFocus();
  text->selectAll();
  QTest::keyClicks(text, QStringLiteral("Page "));
  variable->setCurrentIndex(index);
  Q_EMIT variable->activated(index);
  EXPECT_EQ(designer.Editor().Selected()->lines, QStringList{QStringLiteral("Page [Page Number]")});
  auto *align = designer.findChild<QComboBox *>(QStringLiteral("cbxAlign"));
  align->setCurrentIndex(2);
  Q_EMIT align->activated(2);
  designer.findChild<QCheckBox *>(QStringLiteral("chkFrame"))->click();
  auto *width = designer.findChild<QDoubleSpinBox *>(QStringLiteral("edtW"));
  width->setValue(90);
  EXPECT_EQ(designer.Editor().Selected()->rect.width(), 90);
  EXPECT_EQ(designer.Editor().Selected()->align, THAlign::Right);
  EXPECT_TRUE(designer.Editor().Selected()->frame);
  auto *orientation = designer.findChild<QComboBox *>(QStringLiteral("cbxOrientation"));
  orientation->setCurrentIndex(1);
  Q_EMIT orientation->activated(1);
  EXPECT_TRUE(designer.Template().page.landscape);
  designer.findChild<QDoubleSpinBox *>(QStringLiteral("edtBandfooter"))->setValue(15);
  ASSERT_TRUE(designer.Template().Band(TBandKind::PageFooter));
  EXPECT_EQ(designer.Template().Band(TBandKind::PageFooter)->height, 15);
  // Undo walks back: footer, orientation, width, frame, alignment, the typing, the new object.
  for (int i = 0; i < 7 && action("actUndo")->isEnabled(); ++i) action("actUndo")->trigger();
  EXPECT_EQ(designer.Template(), start);
  EXPECT_FALSE(action("actUndo")->isEnabled());
}

TEST_F(PrintFixture, CustomisingTheUsersCopyChangesThatCopyOnly) {
  StartWith(QStringLiteral("text"));
  const QString shipped = programFolder + QStringLiteral("/notepad.frf");
  const QString own =
      TestEnvironment::WriteFile(Folders::UserDataFolder() + QStringLiteral("notepad.frf"),
                                 TestEnvironment::ReadFile(shipped));
  const QByteArray before = TestEnvironment::ReadFile(shipped);
  {
    TModalAnswerer answerer;
    answerer.onShown = [&](QWidget *modal) {
      auto *designer = qobject_cast<TfrmDesigner *>(modal);
      ASSERT_TRUE(designer);
      const QRectF sheet = designer->Editor().SheetRect({TBandKind::PageHeader, 0});
      QTest::mouseClick(designer->Canvas(), Qt::LeftButton, {},
                        WidgetPoint(designer->Canvas(), sheet.center()));
      QTest::keyClick(designer->Canvas(), Qt::Key_Delete);
      PressButton(designer, QDialogButtonBox::Ok);
    };
    Printing().CustomizePrintOut();
  }
  EXPECT_EQ(TestEnvironment::ReadFile(shipped), before);
  QString error;
  const auto changed = TemplateFile::Load(own, &error);
  ASSERT_TRUE(changed) << error.toStdString();
  EXPECT_EQ(changed->Band(TBandKind::PageHeader)->objects.size(), 1u);
  QFile::remove(own);
}
