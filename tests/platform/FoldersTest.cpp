// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPalette>

#include "TestEnvironment.h"
#include "platform/core/Folders.h"
#include "platform/gui/WinColor.h"
#include "platform/ui/MessageBox.h"

TEST(Folders, UserFoldersFollowTheEnvironmentAndPathsSplitAtTheLastSlash) {
  EXPECT_EQ(Folders::Home(), TestEnvironment::Home() + u'/');
  EXPECT_EQ(Folders::UserConfigFolder(),
            TestEnvironment::Home() + QStringLiteral("/.config/Kestrelwick/"));
  EXPECT_EQ(Folders::UserDataFolder(),
            TestEnvironment::Home() + QStringLiteral("/.local/share/vellumix/"));
  EXPECT_EQ(Folders::FolderOf(QStringLiteral("/a/B c/d.TXT")), QStringLiteral("/a/B c/"));
  EXPECT_EQ(Folders::FileNameOf(QStringLiteral("/a/B c/d.TXT")), QStringLiteral("d.TXT"));
  EXPECT_EQ(Folders::FolderOf(QStringLiteral("plain")), QString());
}

TEST(Folders, WritableFilesGoToTheUserFolderWhenTheProgramFolderIsReadOnly) {
  const QString program = TestEnvironment::FreshDir(QStringLiteral("program"));
  qputenv("VELLUMIX_DATA_DIR", program.toUtf8());
  EXPECT_EQ(Folders::ProgramFolder(), program + u'/');
  TestEnvironment::WriteFile(program + QStringLiteral("/USER.DIC"), "word\r\n");
  EXPECT_EQ(Folders::WritableFolderFor(QStringLiteral("USER.DIC")), program + u'/');
  // A program folder nobody may write to (here: one that cannot be created).
  qputenv("VELLUMIX_DATA_DIR", "/proc/vellumix-none");
  EXPECT_EQ(Folders::WritableFolderFor(QStringLiteral("USER.DIC")), Folders::UserDataFolder());
  EXPECT_TRUE(QDir(Folders::UserDataFolder()).exists());
  qputenv("VELLUMIX_DATA_DIR", program.toUtf8());
  // Reading prefers the user's copy once there is one.
  EXPECT_EQ(Folders::ReadablePathOf(QStringLiteral("USER.DIC")),
            program + QStringLiteral("/USER.DIC"));
  TestEnvironment::WriteFile(Folders::UserDataFolder() + QStringLiteral("USER.DIC"), "mine\n");
  EXPECT_EQ(Folders::ReadablePathOf(QStringLiteral("USER.DIC")),
            Folders::UserDataFolder() + QStringLiteral("USER.DIC"));
  qunsetenv("VELLUMIX_DATA_DIR");
}

TEST(WinColor, StoredColourValuesConvertBothWays) {
  EXPECT_EQ(WinColor::ToQColor(WinColor::clBlue), QColor(0, 0, 255));
  EXPECT_EQ(WinColor::ToQColor(12632256), QColor(192, 192, 192));
  EXPECT_EQ(WinColor::FromQColor(QColor(1, 2, 3)), 0x030201);
  EXPECT_TRUE(WinColor::IsSystemColor(-2147483643));
  EXPECT_EQ(WinColor::ToQColor(-2147483643), QGuiApplication::palette().color(QPalette::Base));
}

TEST(MessageBox, HeaderAndTitles) {
  EXPECT_EQ(MessageBox::MsgHeader(), QStringLiteral("Vellumix\r----------------\r"));
  EXPECT_EQ(MessageBox::Title(TMsgKind::Warning), QStringLiteral("Warning"));
  EXPECT_EQ(MessageBox::Title(TMsgKind::Error), QStringLiteral("Error"));
  EXPECT_EQ(MessageBox::Title(TMsgKind::Information), QStringLiteral("Information"));
  EXPECT_EQ(MessageBox::Title(TMsgKind::Confirmation), QStringLiteral("Confirm"));
}
