// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include "TestEnvironment.h"
#include "settings/core/RegFile.h"
#include "settings/core/RootKey.h"
#include "settings/core/SettingsError.h"

using TestEnvironment::FreshDir;
using TestEnvironment::ReadFile;
using TestEnvironment::WriteFile;

namespace {

const QString mainForm = QStringLiteral("Main Form");

QString NewFile() {
  return FreshDir(QStringLiteral("store")) + QStringLiteral("/Kestrelwick/Vellumix.reg");
}

// The text of a value as a fresh copy of the program would read it from the file.
QString StoredText(const QString &file, const QString &section, const QString &name) {
  TSettingsStore store(file);
  TRootKey root(VellumixRootKey, store);
  return root.ReadString(section, name, QStringLiteral("<missing>"));
}

QString ErrorOf(const std::function<void()> &action) {
  try {
    action();
  } catch (const ESettingsError &error) {
    return error.Message();
  }
  return QString();
}

}  // namespace

TEST(SettingsStore, SectionOperationsFollowTheTreeLayout) {
  const QString file = NewFile();
  TSettingsStore store(file);
  {
    TRootKey root(VellumixRootKey + u'\\', store);  // the trailing backslash names the same key
    EXPECT_EQ(root.ReadString(mainForm, QStringLiteral("x"), QStringLiteral("def")),
              QStringLiteral("def"));
    EXPECT_EQ(root.ReadInteger(QStringLiteral("No Such Section"), QStringLiteral("x"), 7), 7);
    root.WriteString(mainForm, QStringLiteral("FilePath_Caption"), QStringLiteral("/home/u/"));
    root.WriteInteger(mainForm, QStringLiteral("ShowCmd"), -3);
    root.WriteString(mainForm, QStringLiteral("Bad"), QStringLiteral("12x"));
    root.WriteBool(mainForm, QStringLiteral("Visible"), true);
    root.WriteBool(mainForm, QStringLiteral("Hidden"), false);
    root.WriteString(QStringLiteral("Main Form\\TfrmMainbarMCustom"), QStringLiteral("Count"),
                     QStringLiteral("2"));
    root.WriteString(QStringLiteral("Main Form.SMTPSignature_Lines"), QStringLiteral("Item0"),
                     QStringLiteral("Hi"));
    root.WriteString(QStringLiteral("\\Software\\Other"), QStringLiteral("v"),
                     QStringLiteral("outside"));
    EXPECT_EQ(root.ReadInteger(mainForm, QStringLiteral("showcmd"), 0), -3);
    EXPECT_EQ(root.ReadInteger(mainForm, QStringLiteral("Bad"), 5), 5);
    EXPECT_EQ(root.ReadString(mainForm, QStringLiteral("Visible"), {}), QStringLiteral("1"));
    EXPECT_EQ(root.ReadString(mainForm, QStringLiteral("Hidden"), {}), QStringLiteral("0"));
    EXPECT_FALSE(QFileInfo::exists(file)) << "nothing reaches the file before the root key closes";
    root.Close();
  }
  const QByteArray text = ReadFile(file);
  EXPECT_TRUE(
      text.contains("[HKEY_CURRENT_USER\\Software\\Kestrelwick\\Vellumix\\Main "
                    "Form\\TfrmMainbarMCustom]\n\"Count\"=\"2\""));
  EXPECT_TRUE(text.contains(
      "[HKEY_CURRENT_USER\\Software\\Kestrelwick\\Vellumix\\Main Form.SMTPSignature_Lines]\n"));
  EXPECT_TRUE(text.contains("[HKEY_CURRENT_USER\\Software\\Other]\n\"v\"=\"outside\""));
  EXPECT_EQ(QFileInfo(file).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), 0);

  TSettingsStore again(file);
  TRootKey root(VellumixRootKey, again);
  EXPECT_EQ(root.SectionNames(mainForm), QStringList{QStringLiteral("TfrmMainbarMCustom")});
  EXPECT_EQ(root.ReadString(QStringLiteral("MAIN FORM"), QStringLiteral("filepath_caption"), {}),
            QStringLiteral("/home/u/"));
  root.EraseSection(mainForm);
  root.EraseSection(QStringLiteral("Never There"));
  EXPECT_FALSE(root.SectionExists(QStringLiteral("Main Form\\TfrmMainbarMCustom")));
  EXPECT_TRUE(root.SectionExists(QStringLiteral("Main Form.SMTPSignature_Lines")));
  root.Close();
  EXPECT_EQ(
      StoredText(file, QStringLiteral("Main Form\\TfrmMainbarMCustom"), QStringLiteral("Count")),
      QStringLiteral("<missing>"));
  EXPECT_EQ(
      StoredText(file, QStringLiteral("Main Form.SMTPSignature_Lines"), QStringLiteral("Item0")),
      QStringLiteral("Hi"));
}

TEST(SettingsStore, ValueOfAnotherTypeFailsOnlyItsOwnRead) {
  const QString file = WriteFile(NewFile(),
                                 "Windows Registry Editor Version 5.00\n\n"
                                 "[HKEY_CURRENT_USER\\Software\\Kestrelwick\\Vellumix\\Main Form]\n"
                                 "\"Flags\"=dword:00000001\n"
                                 "\"NormPos\"=\"1,2,3,4\"\n"
                                 "\"Odd\"=hex(2):41,00,00,00\n");
  TSettingsStore store(file);
  TRootKey root(VellumixRootKey, store);
  EXPECT_EQ(ErrorOf([&] { root.ReadString(mainForm, QStringLiteral("Flags"), {}); }),
            QStringLiteral("Invalid data type for 'Flags'"));
  EXPECT_EQ(ErrorOf([&] { root.ReadInteger(mainForm, QStringLiteral("flags"), 0); }),
            QStringLiteral("Invalid data type for 'flags'"));
  EXPECT_EQ(root.ReadString(mainForm, QStringLiteral("NormPos"), {}), QStringLiteral("1,2,3,4"));
  EXPECT_EQ(root.ReadString(mainForm, QStringLiteral("Odd"), {}),
            QStringLiteral("A"));  // expandable text is text
}

TEST(SettingsStore, UnchangedTreeIsNotRewrittenAndRoundTripsByteForByte) {
  const QString file = NewFile();
  {
    TSettingsStore store(file);
    TRootKey root(VellumixRootKey, store);
    root.WriteString(mainForm, QStringLiteral("a"), QStringLiteral("1"));
    root.WriteString(QStringLiteral("Edit Form"), QStringLiteral("mmoMemo_FontName"),
                     QStringLiteral("Souvenir Lt BT"));
  }
  const QByteArray before = ReadFile(file);
  const auto inode = QFileInfo(file).fileTime(QFileDevice::FileModificationTime);
  {
    TSettingsStore store(file);
    TRootKey root(VellumixRootKey, store);
    root.ReadString(mainForm, QStringLiteral("a"), {});
  }
  EXPECT_EQ(QFileInfo(file).fileTime(QFileDevice::FileModificationTime), inode);
  {
    TSettingsStore store(file);
    TRootKey root(VellumixRootKey, store);
    root.WriteString(mainForm, QStringLiteral("a"), QStringLiteral("1"));  // same text again
  }
  EXPECT_EQ(ReadFile(file), before);
}

TEST(SettingsStore, WriteEditSettingReachesTheFileAtOnce) {
  const QString file = NewFile();
  TSettingsStore store(file);
  WriteEditSetting(QStringLiteral("mmoMemo_WordWrap"), QStringLiteral("False"), store);
  EXPECT_EQ(StoredText(file, QStringLiteral("Edit Form"), QStringLiteral("mmoMemo_WordWrap")),
            QStringLiteral("False"));
  // While another handle is open the write waits for that handle's close.
  TRootKey held(VellumixRootKey, store);
  WriteEditSetting(QStringLiteral("mmoMemo_WordWrap"), QStringLiteral("True"), store);
  EXPECT_EQ(StoredText(file, QStringLiteral("Edit Form"), QStringLiteral("mmoMemo_WordWrap")),
            QStringLiteral("False"));
  held.Close();
  EXPECT_EQ(StoredText(file, QStringLiteral("Edit Form"), QStringLiteral("mmoMemo_WordWrap")),
            QStringLiteral("True"));
}

TEST(SettingsStore, TwoCopiesMergeValueByValue) {
  const QString file = NewFile();
  {
    TSettingsStore seed(file);
    TRootKey root(VellumixRootKey, seed);
    root.WriteString(mainForm, QStringLiteral("shared"), QStringLiteral("seed"));
    root.WriteString(QStringLiteral("Old"), QStringLiteral("v"), QStringLiteral("1"));
  }
  TSettingsStore first(file), second(file);
  TRootKey a(VellumixRootKey, first);
  TRootKey b(VellumixRootKey, second);
  a.WriteString(mainForm, QStringLiteral("fromFirst"), QStringLiteral("1"));
  a.WriteString(mainForm, QStringLiteral("shared"), QStringLiteral("first"));
  b.WriteString(QStringLiteral("Edit Form"), QStringLiteral("fromSecond"), QStringLiteral("2"));
  b.WriteString(mainForm, QStringLiteral("shared"), QStringLiteral("second"));
  b.EraseSection(QStringLiteral("Old"));
  a.Close();
  b.Close();
  EXPECT_EQ(StoredText(file, mainForm, QStringLiteral("fromFirst")), QStringLiteral("1"));
  EXPECT_EQ(StoredText(file, QStringLiteral("Edit Form"), QStringLiteral("fromSecond")),
            QStringLiteral("2"));
  EXPECT_EQ(StoredText(file, mainForm, QStringLiteral("shared")),
            QStringLiteral("second"));  // last close wins
  EXPECT_EQ(StoredText(file, QStringLiteral("Old"), QStringLiteral("v")),
            QStringLiteral("<missing>"));

  // A copy with nothing pending sees the other's changes at its next open.
  TRootKey again(VellumixRootKey, first);
  EXPECT_EQ(again.ReadString(QStringLiteral("Edit Form"), QStringLiteral("fromSecond"), {}),
            QStringLiteral("2"));
}

TEST(SettingsStore, RunningProgramsMergeAndAKilledWriterLeavesAGoodFile) {
  const QString file = NewFile();
  QProcess one, two;
  one.start(QStringLiteral(SETTINGS_WRITER_PATH),
            {file, mainForm, QStringLiteral("one"), QStringLiteral("1"), QStringLiteral("20")});
  two.start(QStringLiteral(SETTINGS_WRITER_PATH),
            {file, QStringLiteral("Edit Form"), QStringLiteral("two"), QStringLiteral("2"),
             QStringLiteral("20")});
  ASSERT_TRUE(one.waitForFinished(60000));
  ASSERT_TRUE(two.waitForFinished(60000));
  EXPECT_EQ(one.exitCode(), 0) << one.readAllStandardError().toStdString();
  EXPECT_EQ(two.exitCode(), 0) << two.readAllStandardError().toStdString();
  EXPECT_EQ(StoredText(file, mainForm, QStringLiteral("one")), QStringLiteral("119"));
  EXPECT_EQ(StoredText(file, QStringLiteral("Edit Form"), QStringLiteral("two")),
            QStringLiteral("219"));

  QRandomGenerator random(TestEnvironment::Seed());
  for (int round = 0; round < 4; ++round) {
    QProcess writer;
    writer.start(
        QStringLiteral(SETTINGS_WRITER_PATH),
        {file, mainForm, QStringLiteral("busy"), QStringLiteral("x"), QStringLiteral("100000")});
    ASSERT_TRUE(writer.waitForReadyRead(60000))
        << "state " << writer.state() << " exit " << writer.exitCode() << " status "
        << writer.exitStatus() << " error " << writer.error() << " out '"
        << writer.readAllStandardOutput().toStdString() << "' err '"
        << writer.readAllStandardError().toStdString() << "'";
    QThread::msleep(random.bounded(5, 60));  // killed at a random point of its writing
    writer.kill();
    writer.waitForFinished(10000);
    QString error;
    EXPECT_TRUE(RegFile::Parse(ReadFile(file), &error)) << error.toStdString();
    EXPECT_EQ(StoredText(file, mainForm, QStringLiteral("one")), QStringLiteral("119"));
  }
}

TEST(SettingsStore, DamagedFileIsKeptAsideReportedOnceAndDefaultsApply) {
  const QString file = NewFile();
  const QByteArray damaged =
      "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software]\n\"a\"=dword:zz\n";
  WriteFile(file, damaged);
  TSettingsStore store(file);
  {
    TRootKey root(VellumixRootKey, store);
    EXPECT_EQ(root.ReadString(mainForm, QStringLiteral("a"), QStringLiteral("default")),
              QStringLiteral("default"));
    const QString report = store.TakeLoadReport();
    EXPECT_TRUE(report.contains(file)) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("line 4"))) << report.toStdString();
    EXPECT_TRUE(store.TakeLoadReport().isEmpty());
    root.WriteString(mainForm, QStringLiteral("a"), QStringLiteral("new"));
  }
  const QStringList aside =
      QDir(QFileInfo(file).absolutePath()).entryList({QStringLiteral("Vellumix.reg.damaged-*")});
  ASSERT_EQ(aside.size(), 1);
  EXPECT_EQ(ReadFile(QFileInfo(file).absolutePath() + u'/' + aside[0]), damaged);
  EXPECT_EQ(StoredText(file, mainForm, QStringLiteral("a")), QStringLiteral("new"));
}

TEST(SettingsStore, FailedWriteKeepsTheOldFileAndTheChangesForTheNextClose) {
  const QString file = NewFile();
  TSettingsStore store(file);
  {
    TRootKey root(VellumixRootKey, store);
    root.WriteString(mainForm, QStringLiteral("a"), QStringLiteral("old"));
  }
  // A folder where the file's temporary copy would go cannot take the new file.
  const QString blocker = QFileInfo(file).absolutePath();
  QFile::rename(blocker, blocker + QStringLiteral(".moved"));
  WriteFile(blocker, "not a folder");
  TRootKey root(VellumixRootKey, store);
  root.WriteString(mainForm, QStringLiteral("a"), QStringLiteral("new"));
  const QString error = ErrorOf([&] { root.Close(); });
  EXPECT_TRUE(error.startsWith(QStringLiteral("Failed to set data for '%1'").arg(file)))
      << error.toStdString();
  // The message box that shows it ends the sentence, with one full stop.
  EXPECT_EQ(error.section(u'\r', 1), QStringLiteral("Cannot create the folder"));
  EXPECT_TRUE(store.HasPendingChanges());

  QFile::remove(blocker);
  QFile::rename(blocker + QStringLiteral(".moved"), blocker);
  EXPECT_EQ(StoredText(file, mainForm, QStringLiteral("a")), QStringLiteral("old"));
  TRootKey retry(VellumixRootKey, store);
  retry.Close();
  EXPECT_EQ(StoredText(file, mainForm, QStringLiteral("a")), QStringLiteral("new"));
}

TEST(SettingsStore, WritesBeyondTheBoundsAreRefusedByName) {
  TSettingsStore store(NewFile());
  TRootKey root(VellumixRootKey, store);
  EXPECT_EQ(ErrorOf([&] {
              root.WriteString(mainForm, QStringLiteral("Big"),
                               QString(TSettingsStore::MaxValueTextLength + 1, u'x'));
            }),
            QStringLiteral("Failed to set data for 'Big'"));
  const QString deep = QStringLiteral("K\\").repeated(TRegKey::MaxDepth);
  EXPECT_TRUE(ErrorOf([&] {
                root.WriteString(deep, QStringLiteral("v"), {});
              }).startsWith(QStringLiteral("Failed to create key \\Software")));
  EXPECT_FALSE(root.SectionExists(QStringLiteral("K")));
}

TEST(SettingsStore, ReplacingTheFileKeepsItsLinkAndPermissions) {
  const QString dir = FreshDir(QStringLiteral("linked"));
  const QString target = WriteFile(dir + QStringLiteral("/dotfiles/Vellumix.reg"), "REGEDIT4\n");
  QFile::setPermissions(target,
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
  const QString link = dir + QStringLiteral("/Vellumix.reg");
  ASSERT_TRUE(QFile::link(target, link));
  TSettingsStore store(link);
  {
    TRootKey root(VellumixRootKey, store);
    root.WriteString(mainForm, QStringLiteral("a"), QStringLiteral("1"));
  }
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_TRUE(ReadFile(target).contains("\"a\"=\"1\""));
  const QFileDevice::Permissions modeBits =
      QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
      QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
      QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
  EXPECT_EQ(QFileInfo(target).permissions() & modeBits,
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
}
