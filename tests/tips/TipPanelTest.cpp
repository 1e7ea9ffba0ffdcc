// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLabel>
#include <QSet>
#include <QTest>
#include <QToolButton>

#include "TestEnvironment.h"
#include "app/ui/TipPanel.h"
#include "platform/core/Folders.h"

namespace {

QString TipsFile() { return Folders::ProgramFolder() + QStringLiteral("tips.txt"); }

}  // namespace

TEST(TipPanel, ShipsFiftyFourTipsEachNamingWhereToFindIt) {
  QWidget frame;
  TTipPanel panel(TipsFile(), &frame);
  const QStringList &tips = panel.lstTips();
  ASSERT_EQ(tips.size(), 56);
  EXPECT_EQ(QSet<QString>(tips.begin(), tips.end()).size(), 56);  // no tip twice
  // A tip longer than a line, shipped as it is written here.
  const char *const kCursorTip =
      "The edit status bar show the position of the cursor in the lower left corner. 8:34 "
      "means that your cursor is 8 rows from the top and 34 characters over from the left.";
  for (const char *given :
       {"Vellumix supports large (greater than 32k) text files.",
        "Automatic backups can be enabled or disabled with Options|Automatic Backups.",
        "The status bar shows the status of the Insert, Caps Lock and Num Lock keys.", kCursorTip,
        "Button Hints can be turned on or off with Options|Button Hints."})
    EXPECT_TRUE(tips.contains(QString::fromLatin1(given))) << given;
  int withMenuPath = 0;
  for (const QString &tip : tips) withMenuPath += tip.contains(u'|');
  EXPECT_GE(withMenuPath, 45);
}

TEST(TipPanel, BothButtonsDrawTipsUntilEveryTipHasComeUp) {
  QWidget frame;
  auto *panel = new TTipPanel(TipsFile(), &frame);
  frame.resize(800, 65);
  frame.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
  auto *next = panel->findChild<QToolButton *>(QStringLiteral("btnNextTip"));
  auto *previous = panel->findChild<QToolButton *>(QStringLiteral("btnPrevTip"));
  ASSERT_TRUE(next && previous);
  EXPECT_EQ(next->text(), QStringLiteral("Next >>"));
  EXPECT_EQ(previous->text(), QStringLiteral("<< Previous"));
  EXPECT_EQ(panel->findChild<QLabel *>(QStringLiteral("lblTipTitle"))->text(),
            QStringLiteral("Tip of the Day"));
  EXPECT_EQ(panel->height(), 65);

  QSet<QString> seen;
  // Far more clicks than tips: the chance of missing one is below 1e-30.
  for (int click = 0; click < 6000 && seen.size() < 56; ++click) {
    QTest::mouseClick(click % 2 ? previous : next, Qt::LeftButton);
    seen.insert(panel->CurrentTip());
  }
  EXPECT_EQ(seen.size(), 56);
  EXPECT_TRUE(panel->lstTips().contains(panel->CurrentTip()));
}

TEST(TipPanel, MissingTipsFileLeavesTheTipBlank) {
  QWidget frame;
  TTipPanel panel(TestEnvironment::Home() + QStringLiteral("/no-tips.txt"), &frame);
  panel.proChangeTips();
  EXPECT_TRUE(panel.lstTips().isEmpty());
  EXPECT_TRUE(panel.CurrentTip().isEmpty());
}
