// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "IntegrationTools.h"
#include "TestEnvironment.h"
#include "integration/DefaultEditor.h"
#include "integration/DesktopEntry.h"
#include "integration/KeyFile.h"

namespace {

const QString kOtherLines = QStringLiteral(
    "# chosen by hand\n"
    "[Added Associations]\n"
    "text/plain=other.desktop;\n"
    "\n"
    "[Default Applications]\n"
    "text/html=browser.desktop\n"
    "text/plain=other.desktop;\n"
    "image/png = viewer.desktop\n"
    "\n"
    "[Removed Associations]\n"
    "text/x-c=other.desktop;\n");

class DefaultEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const QString config = TestEnvironment::Home() + QStringLiteral("/.config");
    const QString data = TestEnvironment::Home() + QStringLiteral("/.local/share");
    QFile::remove(config + QStringLiteral("/mimeapps.list"));
    QFile::remove(data + QStringLiteral("/vellumix/mimeapps.bak"));
    QDir(data + QStringLiteral("/applications")).removeRecursively();
    // Only the private data folder: an installed copy of the program must not answer.
    qputenv("XDG_DATA_DIRS", (TestEnvironment::Home() + QStringLiteral("/usr-share")).toUtf8());
    // A program the other desktop entry starts, so that the desktop counts it as installed.
    TestEnvironment::WriteFile(data + QStringLiteral("/applications/other.desktop"),
                               "[Desktop Entry]\nType=Application\nName=Other\nExec=/bin/cat %f\n");
    mimeapps = config + QStringLiteral("/mimeapps.list");
  }

  QString Query() {
    return RunTool(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                                QStringLiteral("text/plain")});
  }

  TDefaultEditor editor{QStringLiteral("/usr/bin/env")};
  QString mimeapps;
};

TEST_F(DefaultEditorTest,
       MakingTheProgramTheDefaultKeepsEveryOtherLineAndUndoBringsThePreviousBack) {
  TestEnvironment::WriteFile(mimeapps, kOtherLines.toUtf8());
  EXPECT_EQ(Query(), QStringLiteral("other.desktop"));
  ASSERT_FALSE(editor.IsDefault());

  ASSERT_TRUE(editor.MakeDefault()) << editor.Error().toStdString();
  EXPECT_TRUE(editor.IsDefault());
  EXPECT_EQ(Query(), DesktopEntry::ProgramId());
  QString expected = kOtherLines;
  expected.replace(
      QStringLiteral("text/html=browser.desktop\ntext/plain=other.desktop;"),
      QStringLiteral("text/html=browser.desktop\ntext/plain=vellumix.desktop;other.desktop;"));
  EXPECT_EQ(QString::fromUtf8(TestEnvironment::ReadFile(mimeapps)), expected);
  // No launcher entry was installed, so the program wrote one for itself, and it is valid.
  const QString launcher = DesktopEntry::FindInstalled(DesktopEntry::ProgramId());
  ASSERT_FALSE(launcher.isEmpty());
  EXPECT_EQ(RunTool(QStringLiteral("desktop-file-validate"), {launcher}), QString());

  ASSERT_TRUE(editor.Undo()) << editor.Error().toStdString();
  EXPECT_FALSE(editor.IsDefault());
  EXPECT_EQ(Query(), QStringLiteral("other.desktop"));
  EXPECT_EQ(QString::fromUtf8(TestEnvironment::ReadFile(mimeapps)), kOtherLines);
  EXPECT_FALSE(QFile::exists(editor.BackupPath()));
}

TEST_F(DefaultEditorTest, TheFirstReplacedDefaultIsTheOneThatComesBack) {
  TestEnvironment::WriteFile(mimeapps, "[Default Applications]\ntext/plain=other.desktop;\n");
  ASSERT_TRUE(editor.MakeDefault());
  // Changed by hand in between, then set again: the remembered default stays the first one.
  TestEnvironment::WriteFile(mimeapps, "[Default Applications]\ntext/plain=third.desktop;\n");
  EXPECT_FALSE(editor.IsDefault());
  ASSERT_TRUE(editor.MakeDefault());
  EXPECT_TRUE(editor.IsDefault());
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(editor.Defaults(), QStringList{QStringLiteral("other.desktop")});
}

TEST_F(DefaultEditorTest, WithoutAnyFileOrBackup) {
  // No mimeapps.list at all: the program becomes the default, undo leaves no entry behind.
  ASSERT_TRUE(editor.MakeDefault());
  EXPECT_EQ(Query(), DesktopEntry::ProgramId());
  ASSERT_TRUE(editor.Undo());
  TKeyFile file;
  ASSERT_TRUE(file.Load(mimeapps));
  EXPECT_FALSE(file.Has(TDefaultEditor::Group(), TDefaultEditor::MimeType()));

  // Undo without a backup takes out only the program's own name.
  TestEnvironment::WriteFile(
      mimeapps, "[Default Applications]\ntext/plain=VELLUMIX.desktop;other.desktop;\n");
  EXPECT_TRUE(editor.IsDefault()) << "letter case is ignored";
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(editor.Defaults(), QStringList{QStringLiteral("other.desktop")});
}

TEST_F(DefaultEditorTest, TheCheckFollowsAHandEditedFileAndAnUnreadableOneIsAnError) {
  TestEnvironment::WriteFile(mimeapps, "[Default Applications]\ntext/plain=vellumix.desktop\n");
  EXPECT_TRUE(editor.IsDefault());
  TestEnvironment::WriteFile(mimeapps, "[Added Associations]\ntext/plain=vellumix.desktop\n");
  EXPECT_FALSE(editor.IsDefault()) << "only the default group counts";
  TestEnvironment::WriteFile(mimeapps, QByteArray(TKeyFile::MaxSize + 1, 'x'));
  EXPECT_FALSE(editor.MakeDefault());
  EXPECT_TRUE(editor.Error().contains(mimeapps));
  EXPECT_EQ(TestEnvironment::ReadFile(mimeapps).size(), TKeyFile::MaxSize + 1)
      << "the file is left alone";
}

TEST(ExecLine, ArgumentsSurviveQuotingAndUnquoting) {
  for (const QString &path :
       {QStringLiteral("/usr/bin/vellumix"), QStringLiteral("/opt/my tools/vellumix"),
        QStringLiteral("/tmp/a\"b$c`d\\e%f/prog")}) {
    const QString exec = DesktopEntry::ExecArgument(path) + QStringLiteral(" %f");
    EXPECT_EQ(DesktopEntry::ExecArguments(exec), (QStringList{path, QStringLiteral("%f")}))
        << exec.toStdString();
  }
  EXPECT_EQ(DesktopEntry::ExecArgument(QStringLiteral("/usr/bin/vellumix")),
            QStringLiteral("/usr/bin/vellumix"));
}

}  // namespace
