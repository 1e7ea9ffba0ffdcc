// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "IntegrationTools.h"
#include "TestEnvironment.h"
#include "integration/Autostart.h"
#include "integration/DesktopEntry.h"
#include "integration/KeyFile.h"

namespace {

using TList = TAutostart::TList;

class AutostartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TAutostart::ResetFirstWrite();
    userFolder = TestEnvironment::Home() + QStringLiteral("/.config/autostart/");
    systemBase = TestEnvironment::FreshDir(QStringLiteral("etc-xdg"));
    QDir(userFolder).removeRecursively();
    qputenv("XDG_CONFIG_DIRS", systemBase.toUtf8());
    // A program that leaves a mark when an entry starts it, in a folder with a blank.
    const QString bin = TestEnvironment::FreshDir(QStringLiteral("my bin"));
    program = bin + QStringLiteral("/start me");
    marker = bin + QStringLiteral("/started");
    TestEnvironment::WriteFile(program, ("#!/bin/sh\ntouch '" + marker + "'\n").toUtf8());
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
  }

  // The machine-wide folder cannot be made, whoever runs the test (root included).
  static void NoMachineWideFolder() { qputenv("XDG_CONFIG_DIRS", "/proc/no-such-folder"); }

  QString userFolder;
  QString systemBase;
  QString program;
  QString marker;
};

TEST_F(AutostartTest,
       TheMainWindowsEntryGoesToTheUsersFolderWithoutMachineWideAccessAndStartsTheProgram) {
  NoMachineWideFolder();
  TAutostart component(QStringLiteral("Vellumix#Autostart"), program);
  TAutostart::LoadMainWindowValues(component);
  EXPECT_FALSE(component.Global());
  EXPECT_FALSE(component.autostart());
  EXPECT_TRUE(QDir(userFolder).entryList(QDir::Files).isEmpty()) << "loading writes nothing";

  component.SetAutostart(true);  // Start With Windows checked
  EXPECT_TRUE(component.autostart());
  const QString entry = userFolder + QStringLiteral("Ambrel-4-Autostart.desktop");
  ASSERT_TRUE(QFile::exists(entry));
  EXPECT_EQ(RunTool(QStringLiteral("desktop-file-validate"), {entry}), QString());
  TKeyFile file;
  ASSERT_TRUE(file.Load(entry));
  EXPECT_EQ(file.Value(QStringLiteral("Desktop Entry"), QStringLiteral("X-Vellumix-Entry")),
            QStringLiteral("Ambrel 4#Autostart"));
  // What the desktop runs at logon starts the program.
  const QStringList exec = DesktopEntry::ExecArguments(
      file.Value(QStringLiteral("Desktop Entry"), QStringLiteral("Exec")));
  ASSERT_EQ(exec, QStringList{program});
  RunTool(exec.first(), {});
  EXPECT_TRUE(QFile::exists(marker));

  component.SetAutostart(false);
  EXPECT_FALSE(QFile::exists(entry));
}

TEST_F(AutostartTest,
       StartingWritesNothingIntoTheMachineWideFolderAndAFolderBelowAFileIsNotWritable) {
  // The program loads these values at every start; the machine-wide folder (here a writable
  // private one) must stay as it was: no autostart folder made, no probe file left or made.
  TAutostart component(QStringLiteral("Vellumix#Autostart"), program);
  TAutostart::LoadMainWindowValues(component);
  EXPECT_TRUE(component.Global()) << "a folder that could be made counts as writable";
  EXPECT_FALSE(QFileInfo::exists(systemBase + QStringLiteral("/autostart")));
  EXPECT_TRUE(
      QDir(systemBase).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());

  // A machine-wide "folder" that is a file can never hold entries.
  const QString file = systemBase + QStringLiteral("/plain-file");
  TestEnvironment::WriteFile(file, "x");
  qputenv("XDG_CONFIG_DIRS", file.toUtf8());
  component.SetGlobal(true);
  EXPECT_FALSE(component.Global());
}

TEST_F(AutostartTest, TheFirstWriteKeepsAnExistingEntryAndARemovedEntryComesBackOnTheNextWrite) {
  NoMachineWideFolder();
  {
    TAutostart earlier(QStringLiteral("Ambrel 4#Autostart"), program);
    earlier.SetAutostart(true);  // first write of that run: nothing there, nothing written
    EXPECT_FALSE(earlier.autostart());
    earlier.SetAutostart(true);
    EXPECT_TRUE(earlier.autostart());
  }
  TAutostart::ResetFirstWrite();  // the next start of the program
  TAutostart component(QStringLiteral("Vellumix#Autostart"), program);
  TAutostart::LoadMainWindowValues(component);
  EXPECT_TRUE(component.autostart()) << "the design value false does not delete the entry";
  const QString entry = component.EntryPath(TList::Run, false);
  EXPECT_TRUE(QFile::exists(entry));

  QFile::remove(entry);  // removed by another tool
  EXPECT_TRUE(component.autostart()) << "the mark stays until an option is clicked";
  component.SetAutostart(true);
  EXPECT_TRUE(QFile::exists(entry));
}

TEST_F(AutostartTest, MachineWideWhenWritableAndEntriesFollowRenamesAndMoves) {
  TAutostart component(QStringLiteral("Old Name"), program);
  component.SetAutostart(false);  // uses up the first write
  component.SetAutostart(true);
  component.SetStartNextLogon(true);
  EXPECT_TRUE(QFile::exists(userFolder + QStringLiteral("Old-Name.desktop")));
  EXPECT_TRUE(QFile::exists(userFolder + QStringLiteral("Old-Name-once.desktop")));

  component.SetAppName(QStringLiteral("OLD NAME"));  // same name in other letter case: nothing
  EXPECT_TRUE(QFile::exists(userFolder + QStringLiteral("Old-Name.desktop")));
  component.SetAppName(QStringLiteral("New/Name"));
  EXPECT_FALSE(QFile::exists(userFolder + QStringLiteral("Old-Name.desktop")));
  EXPECT_TRUE(QFile::exists(userFolder + QStringLiteral("New-Name.desktop")));
  EXPECT_TRUE(QFile::exists(userFolder + QStringLiteral("New-Name-once.desktop")));
  EXPECT_TRUE(component.autostart());
  EXPECT_TRUE(component.StartNextLogon());

  component.SetGlobal(true);  // the private machine-wide folder is writable
  EXPECT_TRUE(component.Global());
  const QString system = systemBase + QStringLiteral("/autostart/");
  EXPECT_TRUE(QFile::exists(system + QStringLiteral("New-Name.desktop")));
  EXPECT_TRUE(QFile::exists(system + QStringLiteral("New-Name-once.desktop")));
  EXPECT_FALSE(QFile::exists(userFolder + QStringLiteral("New-Name.desktop")));
  EXPECT_EQ(
      QDir(system).entryList(QDir::Files | QDir::Hidden),
      (QStringList{QStringLiteral("New-Name-once.desktop"), QStringLiteral("New-Name.desktop")}))
      << "the write test leaves nothing behind";

  // The next start takes the run-once entry away (the loading order sets it to false).
  component.SetStartNextLogon(false);
  EXPECT_FALSE(QFile::exists(system + QStringLiteral("New-Name-once.desktop")));
  EXPECT_TRUE(QFile::exists(system + QStringLiteral("New-Name.desktop")));
}

}  // namespace
