// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QUrl>

#include "TestEnvironment.h"
#include "app/core/CommandLine.h"
#include "platform/core/Folders.h"

using CommandLine::TAction;

namespace {

// Makes a folder current for one test and goes back to the previous one afterwards.
class CommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = QDir::currentPath();
    dir_ = TestEnvironment::FreshDir(
        QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    QDir::setCurrent(dir_);
  }
  void TearDown() override { QDir::setCurrent(previous_); }

  QString File(const QString &name) {
    return TestEnvironment::WriteFile(dir_ + u'/' + name, "text");
  }

  QString dir_;
  QString previous_;
};

}  // namespace

TEST_F(CommandLineTest, HelpAndVersionAreOptionsOnlyBeforeTheEndMark) {
  EXPECT_EQ(CommandLine::Action({}), TAction::Run);
  EXPECT_EQ(CommandLine::Action({QStringLiteral("--help")}), TAction::Help);
  EXPECT_EQ(CommandLine::Action({QStringLiteral("-h")}), TAction::Help);
  EXPECT_EQ(CommandLine::Action({QStringLiteral("a.txt"), QStringLiteral("--version")}),
            TAction::Version);
  EXPECT_EQ(CommandLine::Action({QStringLiteral("--"), QStringLiteral("--help")}), TAction::Run);
  // After the end mark such a name is a file like any other.
  EXPECT_EQ(CommandLine::FileNames({QStringLiteral("--"), QStringLiteral("--help")}),
            QStringList{dir_ + QStringLiteral("/--help")});
  EXPECT_EQ(CommandLine::FileNames({QStringLiteral("--"), QStringLiteral("--")}),
            QStringList{dir_ + QStringLiteral("/--")});
}

TEST_F(CommandLineTest, TheTextsNameTheProgramAndItsVersion) {
  EXPECT_TRUE(CommandLine::HelpText().startsWith(QLatin1String("Usage: vellumix [FILE...]\n")));
  EXPECT_TRUE(CommandLine::HelpText().endsWith(u'\n'));
  const QString version = CommandLine::VersionText(QStringLiteral("vellumix-spell"));
  EXPECT_TRUE(version.startsWith(QLatin1String("vellumix-spell ")));
  EXPECT_TRUE(version.endsWith(QLatin1String(" for Linux\n")));
  EXPECT_EQ(version.count(u'\n'), 1);
}

TEST_F(CommandLineTest, EachParameterIsAFileOfItsOwn) {
  const QString a = File(QStringLiteral("a.txt"));
  EXPECT_TRUE(CommandLine::FileNames({}).isEmpty());
  // Names that do not exist are still handed on: opening them reports the failure.
  EXPECT_EQ(CommandLine::FileNames({QStringLiteral("a.txt"), QStringLiteral("b.txt")}),
            (QStringList{a, dir_ + QStringLiteral("/b.txt")}));
  // An empty parameter names nothing.
  EXPECT_EQ(CommandLine::FileNames({QString(), QStringLiteral("a.txt"), QString()}),
            QStringList{a});
  EXPECT_TRUE(CommandLine::FileNames({QString()}).isEmpty());
  // The same file twice opens twice, as opening it twice by hand does.
  EXPECT_EQ(CommandLine::FileNames({a, QStringLiteral("./a.txt")}), (QStringList{a, a}));
}

TEST_F(CommandLineTest, ParametersJoinedIntoAnExistingNameAreThatOneFile) {
  const QString notes = File(QStringLiteral("My Documents/notes and plans.txt"));
  File(QStringLiteral("My"));  // a file that the first parameter alone names
  EXPECT_EQ(CommandLine::FileNames({QStringLiteral("My"), QStringLiteral("Documents/notes"),
                                    QStringLiteral("and"), QStringLiteral("plans.txt")}),
            QStringList{notes});
  EXPECT_EQ(CommandLine::FileNames({QStringLiteral("My Documents/notes and plans.txt")}),
            QStringList{notes});
  // A single parameter is one name even when it does not exist.
  EXPECT_EQ(CommandLine::FileNames({QStringLiteral("no such file.txt")}),
            QStringList{dir_ + QStringLiteral("/no such file.txt")});
  // A folder is no file: the parameters stay separate names.
  QDir(dir_).mkpath(QStringLiteral("x y"));
  EXPECT_EQ(CommandLine::FileNames({QStringLiteral("x"), QStringLiteral("y")}),
            (QStringList{dir_ + QStringLiteral("/x"), dir_ + QStringLiteral("/y")}));
}

TEST_F(CommandLineTest, FileUrlsNameTheirLocalFiles) {
  const QString spaced = File(QStringLiteral("with blank #1.txt"));
  const QString plain = File(QStringLiteral("plain.txt"));
  EXPECT_EQ(CommandLine::FileNames({QUrl::fromLocalFile(spaced).toString(QUrl::FullyEncoded),
                                    QUrl::fromLocalFile(plain).toString()}),
            (QStringList{spaced, plain}));
  // Another scheme is no local file: it stays a name, which then cannot be read.
  EXPECT_EQ(CommandLine::FileNames({QStringLiteral("sftp://host/a.txt")}),
            QStringList{dir_ + QStringLiteral("/sftp:/host/a.txt")});
}

TEST(VersionTextTest, TheReadmeHeadingIsTheVersionTextTheProgramPrints) {
  QFile readme(Folders::ProgramFolder() + QStringLiteral("readme.txt"));
  ASSERT_TRUE(readme.open(QIODevice::ReadOnly)) << readme.fileName().toStdString();
  const QString heading = QString::fromUtf8(readme.readLine());
  EXPECT_EQ(heading, CommandLine::VersionText(QStringLiteral("Vellumix")));
  // The underline is as long as the heading.
  EXPECT_EQ(QString::fromUtf8(readme.readLine()).trimmed(),
            QString(heading.trimmed().size(), u'='));
}
