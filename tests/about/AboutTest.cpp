// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QLocale>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "about/SysInfoComp.h"
#include "about/fmAbout.h"

namespace {

QString Text(const QWidget &window, const char *name) {
  auto *label = window.findChild<QLabel *>(QString::fromLatin1(name));
  return label ? label->text() : QStringLiteral("<missing>");
}

const TfrmAbout::TProduct Product{QStringLiteral("Vellumix"), QStringLiteral("2.0.0.4"),
                                  QStringLiteral("https://vellumix.example.org/"), QIcon()};

}  // namespace

TEST(About, ShowsTheProgramAndTheMachineSummary) {
  const TSysInfoComp info;
  TfrmAbout about(Product, info, {}, QIcon());
  about.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
  EXPECT_EQ(about.size(), QSize(299, 440));
  EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(&about)->text(QAccessible::Name),
            QStringLiteral("About Vellumix"));
  EXPECT_EQ(Text(about, "lblName"), QStringLiteral("Vellumix"));
  EXPECT_EQ(Text(about, "lblVersion"), QStringLiteral("v2.0.0.4 for Linux"));
  EXPECT_EQ(Text(about, "lblGDI"), QStringLiteral("Processor Level:"));
  EXPECT_EQ(Text(about, "lblFreeGDI"),
            TSysInfoComp::ArchitectureText(info.siProcessorArchitecture()));
  EXPECT_EQ(Text(about, "lblSystem"), QStringLiteral("Processor Type:"));
  EXPECT_EQ(Text(about, "lblFreeUser"), QString::number(info.siProcessorType()));
  EXPECT_EQ(Text(about, "lblUser"), QStringLiteral("Physical Memory:"));
  // This machine has more than a thousand bytes: the separator is there.
  EXPECT_TRUE(Text(about, "lblFreeSystem").contains(QLocale().groupSeparator()));
  EXPECT_TRUE(Text(about, "lblFreeSystem").endsWith(QStringLiteral(" bytes")));
  EXPECT_EQ(Text(about, "lblBuild"), QStringLiteral("Platform:"));
  EXPECT_EQ(Text(about, "lblDisBuild"), QStringLiteral("Linux"));
  EXPECT_EQ(Text(about, "lblVer"), QStringLiteral("Version:"));
  EXPECT_EQ(Text(about, "lblOSVersion"), info.VersionText());
  EXPECT_EQ(Text(about, "lblVerBuild"), QStringLiteral("Build:"));
  EXPECT_EQ(Text(about, "lblURL"), QStringLiteral("https://vellumix.example.org/"));
  // Every label fits the box's width.
  for (QLabel *label : about.findChildren<QLabel *>())
    EXPECT_LE(label->mapTo(&about, QPoint(label->width(), 0)).x(), 299)
        << label->objectName().toStdString();
}

TEST(About, LinkRunsDownloadAndExitCloses) {
  const TSysInfoComp info;
  int downloads = 0;
  TfrmAbout about(
      Product, info, [&] { ++downloads; }, QIcon());
  about.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
  QTest::mouseClick(about.findChild<QLabel *>(QStringLiteral("lblURL")), Qt::LeftButton);
  EXPECT_EQ(downloads, 1);
  EXPECT_TRUE(about.isVisible());
  auto *bar = about.findChild<QToolBar *>(QStringLiteral("barAbout"));
  QAction *exit = about.findChild<QAction *>(QStringLiteral("btnOK"));
  auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(exit));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->text(), QStringLiteral("Exit"));
  EXPECT_EQ(exit->toolTip(), QStringLiteral("Close About Vellumix"));
  EXPECT_TRUE(button->autoRaise());
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_FALSE(about.isVisible());
  EXPECT_EQ(about.result(), QDialog::Accepted);
}
