// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "TestEnvironment.h"
#include "TestForm.h"

using TestEnvironment::FreshDir;
using TestEnvironment::WriteFile;

namespace {

const QString barSection = QStringLiteral("Test Form\\TfrmTestbarMCustom");

QStringList BarButtons(QToolBar *bar) {
  QStringList names;
  for (QAction *action : bar->actions())
    names.append(action->isSeparator() ? QStringLiteral("|") : action->objectName());
  return names;
}

QString LayoutFile(const QByteArray &values) {
  return WriteFile(
      FreshDir(QStringLiteral("bar")) + QStringLiteral("/Vellumix.reg"),
      "Windows Registry Editor Version 5.00\n\n"
      "[HKEY_CURRENT_USER\\Software\\Kestrelwick\\Vellumix\\Test Form\\TfrmTestbarMCustom]\n" +
          values);
}

QByteArray DpiLine() {
  return "\"PixelsPerInch\"=\"" +
         QByteArray::number(qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch())) +
         "\"\n";
}

}  // namespace

TEST(ToolBarLayout, SavedLayoutListsTheVisibleButtonsInOrder) {
  const QString file = FreshDir(QStringLiteral("bar")) + QStringLiteral("/Vellumix.reg");
  TSettingsStore store(file);
  TfrmTest form(store);
  form.storage->LinkToolBar(form.barMCustom);
  form.show();
  form.close();
  TRootKey root(VellumixRootKey, store);
  EXPECT_EQ(root.ReadInteger(barSection, QStringLiteral("Count"), -1), 3);
  EXPECT_EQ(root.ReadInteger(barSection, QStringLiteral("Position"), -1), 1);
  EXPECT_EQ(root.ReadInteger(barSection, QStringLiteral("Version"), -1), 0);
  EXPECT_TRUE(root.ValueExists(barSection, QStringLiteral("Width")));
  EXPECT_TRUE(root.ValueExists(barSection, QStringLiteral("BtnWidth")));
  const QStringList first = root.ReadString(barSection, QStringLiteral("Button1"), {}).split(u',');
  ASSERT_EQ(first.size(), 3);
  EXPECT_EQ(first[0], QStringLiteral("btnOpen"));
  const QWidget *open = form.barMCustom->widgetForAction(form.barMCustom->actions()[0]);
  EXPECT_EQ(first[1].toInt(), open->pos().x());
  EXPECT_EQ(first[2].toInt(), open->pos().y());
  EXPECT_TRUE(root.ReadString(barSection, QStringLiteral("Button3"), {})
                  .startsWith(QStringLiteral("btnPrint,")));
}

TEST(ToolBarLayout, RestorePlacesListedButtonsAndDropsTheRest) {
  TSettingsStore store(
      LayoutFile(DpiLine() + "\"Count\"=\"4\"\n"
                             "\"Button1\"=\"btnPrint,60,3\"\n"
                             "\"Button2\"=\"btnGone,30,3\"\n"    // no such button: skipped
                             "\"Button3\"=\"BTNEXTRA,90,3\"\n"   // a window action put on the bar
                             "\"Button4\"=\"btnOpen,x,3\"\n"));  // a bad left keeps its place
  TfrmTest form(store);
  form.storage->LinkToolBar(form.barMCustom);
  form.show();
  EXPECT_EQ(BarButtons(form.barMCustom),
            (QStringList{QStringLiteral("btnOpen"), QStringLiteral("btnPrint"), QStringLiteral("|"),
                         QStringLiteral("btnExtra")}));
}

TEST(ToolBarLayout, NewerVersionOrOtherResolutionRestoresNothing) {
  const QStringList designed = {QStringLiteral("btnOpen"), QStringLiteral("btnSave"),
                                QStringLiteral("|"), QStringLiteral("btnPrint")};
  for (const QByteArray &values : QList<QByteArray>{
           QByteArray("\"PixelsPerInch\"=\"1\"\n\"Count\"=\"1\"\n\"Button1\"=\"btnPrint,3,3\"\n"),
           DpiLine() + "\"Version\"=\"-1\"\n\"Count\"=\"1\"\n\"Button1\"=\"btnPrint,3,3\"\n"}) {
    TSettingsStore store(LayoutFile(values));
    TfrmTest form(store);
    form.storage->LinkToolBar(form.barMCustom);
    form.show();
    EXPECT_EQ(BarButtons(form.barMCustom), designed) << values.toStdString();
  }
}
