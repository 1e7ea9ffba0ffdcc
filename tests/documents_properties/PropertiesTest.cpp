// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QTest>
#include <algorithm>

#include "TestEnvironment.h"
#include "documents/properties/FileFacts.h"
#include "documents/properties/fmProperties.h"

namespace {

QString Label(const TfrmProperties &dialog, const char *name) {
  auto *label = dialog.findChild<QLabel *>(QString::fromLatin1(name));
  return label ? label->text() : QStringLiteral("<missing>");
}

bool Checked(const TfrmProperties &dialog, const char *name) {
  return dialog.findChild<QCheckBox *>(QString::fromLatin1(name))->isChecked();
}

QStringList Attributes(const TfrmProperties &dialog) {
  QStringList on;
  for (const char *name : {"chkReadOnly", "chkHidden", "chkSystem", "chkArchive"})
    if (Checked(dialog, name)) on << QString::fromLatin1(name);
  return on;
}

const QDateTime Opened(QDate(2026, 3, 7), QTime(14, 25, 31, 600));

}  // namespace

TEST(FileFacts, TimesKeepTwoSecondResolution) {
  const QDateTime odd(QDate(2026, 1, 2), QTime(10, 0, 59, 999));
  EXPECT_EQ(FileFacts::TwoSecondResolution(odd), QDateTime(QDate(2026, 1, 2), QTime(10, 0, 58)));
  const QDateTime even(QDate(2026, 1, 2), QTime(10, 0, 0, 1));
  EXPECT_EQ(FileFacts::TwoSecondResolution(even), QDateTime(QDate(2026, 1, 2), QTime(10, 0, 0)));
  EXPECT_FALSE(FileFacts::TwoSecondResolution(QDateTime()).isValid());
}

TEST(Properties, UntitledDocumentShowsTheMomentAndNoAttributes) {
  TfrmProperties dialog({QStringLiteral("untitled.txt"), 1234567, QStringLiteral("untitled.txt")},
                        Opened, QIcon());
  dialog.show();
  const QString now = FileFacts::DateText(QDateTime(Opened.date(), QTime(14, 25, 30)));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("untitled.txt - Properties"));
  EXPECT_EQ(Label(dialog, "lblFileName"), QStringLiteral("untitled.txt"));
  EXPECT_EQ(Label(dialog, "lblType"), QStringLiteral("Text Document"));
  EXPECT_EQ(Label(dialog, "lblCreated"), now);
  EXPECT_EQ(Label(dialog, "lblModified"), now);
  EXPECT_EQ(Label(dialog, "lblAccessed"), now);
  const QString separator = QLocale().groupSeparator();
  EXPECT_EQ(Label(dialog, "lblSize"),
            u'1' + separator + QStringLiteral("234") + separator + QStringLiteral("567 bytes"));
  EXPECT_TRUE(Attributes(dialog).isEmpty());
}

TEST(Properties, UntitledLocationHasNoLeadingBlankAndEveryValueStartsInOneColumn) {
  // The status panel of an untitled document reads " <folder>untitled.txt".
  TfrmProperties dialog(
      {QStringLiteral("untitled.txt"), 5, QStringLiteral(" /home/ann/notes/untitled.txt")}, Opened,
      QIcon());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_EQ(Label(dialog, "lblLocation"), QStringLiteral("/home/ann/notes/"));
  QList<int> columns;
  for (const char *name :
       {"lblType", "lblLocation", "lblSize", "lblCreated", "lblModified", "lblAccessed"})
    columns << dialog.findChild<QLabel *>(QString::fromLatin1(name))->mapTo(&dialog, QPoint()).x();
  EXPECT_EQ(std::count(columns.begin(), columns.end(), columns.first()), columns.size())
      << QString::number(columns.first()).toStdString();
}

TEST(Properties, SavedFileShowsItsDatesFolderTypeAndTheWindowsTextLength) {
  const QString folder = TestEnvironment::FreshDir(QStringLiteral("saved"));
  const QString path = TestEnvironment::WriteFile(folder + QStringLiteral("/letter.txt"), "Dear");
  const QDateTime written = QFileInfo(path).lastModified();
  // The window's text has grown to 12 characters since the save.
  TfrmProperties dialog({QStringLiteral("letter.txt"), 12, path}, Opened, QIcon());
  dialog.show();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("letter.txt - Properties"));
  EXPECT_EQ(Label(dialog, "lblSize"), QStringLiteral("12 bytes"));
  EXPECT_EQ(Label(dialog, "lblLocation"), folder + u'/');
  EXPECT_EQ(Label(dialog, "lblModified"),
            FileFacts::DateText(FileFacts::TwoSecondResolution(written)));
  EXPECT_EQ(Label(dialog, "lblAccessed"),
            FileFacts::DateText(FileFacts::TwoSecondResolution(Opened)));
  // The desktop's own name for a plain-text file replaces the default.
  EXPECT_NE(Label(dialog, "lblType"), QStringLiteral("Text Document"));
  EXPECT_FALSE(Label(dialog, "lblType").isEmpty());
  EXPECT_TRUE(Attributes(dialog).isEmpty());
  // Where the file system keeps a creation time, it is shown; else the line stays empty.
  const QDateTime born = QFileInfo(path).birthTime();
  EXPECT_EQ(Label(dialog, "lblCreated"),
            born.isValid() ? FileFacts::DateText(FileFacts::TwoSecondResolution(born)) : QString());
}

TEST(Properties, AttributesComeFromTheFileAndClickingThemChangesNothing) {
  const QString folder = TestEnvironment::FreshDir(QStringLiteral("attributes"));
  const QString path = TestEnvironment::WriteFile(folder + QStringLiteral("/.notes"), "x");
  ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser));
  TfrmProperties dialog({QStringLiteral(".notes"), 1, path}, Opened, QIcon());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_EQ(Attributes(dialog), (QStringList{"chkReadOnly", "chkHidden"}));
  for (const char *name : {"chkReadOnly", "chkArchive"}) {
    auto *box = dialog.findChild<QCheckBox *>(QString::fromLatin1(name));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
  }
  EXPECT_EQ(Attributes(dialog), (QStringList{"chkHidden", "chkArchive"}));
  EXPECT_EQ(QFileInfo(path).permissions() & ~(QFile::ReadUser | QFile::WriteUser),
            QFile::ReadOwner);
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

TEST(Properties, DeletedFileShowsNoDatesAndNoAttributes) {
  const QString folder = TestEnvironment::FreshDir(QStringLiteral("deleted"));
  const QString path = TestEnvironment::WriteFile(folder + QStringLiteral("/.gone.txt"), "x");
  ASSERT_TRUE(QFile::remove(path));
  TfrmProperties dialog({QStringLiteral(".gone.txt"), 5, path}, Opened, QIcon());
  dialog.show();
  EXPECT_EQ(Label(dialog, "lblCreated"), QString());
  EXPECT_EQ(Label(dialog, "lblModified"), QString());
  EXPECT_EQ(Label(dialog, "lblAccessed"), QString());
  EXPECT_TRUE(Attributes(dialog).isEmpty());
  EXPECT_EQ(Label(dialog, "lblSize"), QStringLiteral("5 bytes"));
  EXPECT_FALSE(dialog.findChild<QLabel *>(QStringLiteral("imgProperties"))->pixmap().isNull());
}
