// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <tuple>

#include "DctFiles.h"
#include "TestEnvironment.h"
#include "VellumixVersion.h"
#include "platform/core/Folders.h"
#include "tools/spellcheck/SpellTool.h"
#include "tools/spellcheck/TextWords.h"

namespace {

QStringList Words(const QString &text, bool markup = false) {
  QStringList words;
  TTextWords scanner(text, markup);
  while (scanner.Next()) words.append(scanner.Word().toString());
  return words;
}

TEST(TextWordsTest, WordRules) {
  EXPECT_EQ(Words(QStringLiteral("don't e-mail 'quoted' abc123, Été ñu")),
            (QStringList{"don't", "e", "mail", "'quoted'", "abc123", "Été", "ñu"}));
  EXPECT_EQ(Words(QStringLiteral("<b>Helo</b> &amp;"), true), (QStringList{"Helo", "amp"}));
  EXPECT_EQ(Words(QStringLiteral("<b>Helo</b>")), (QStringList{"b", "Helo", "b"}));
  EXPECT_TRUE(Words(QStringLiteral("<unclosed tag words"), true).isEmpty());

  TTextWords digits(QStringLiteral("1999 x1"), false);
  ASSERT_TRUE(digits.Next());
  EXPECT_TRUE(digits.DigitsOnly());
  ASSERT_TRUE(digits.Next());
  EXPECT_FALSE(digits.DigitsOnly());

  // 49 characters are a word; a run of 50 ends the scan as an invalid word.
  EXPECT_EQ(Words(QString(49, QLatin1Char('x'))).size(), 1);
  const QString text =
      QStringLiteral("ok ") + QString(60, QLatin1Char('y')) + QStringLiteral(" more");
  TTextWords tooLong(text, false);
  ASSERT_TRUE(tooLong.Next());
  EXPECT_FALSE(tooLong.Next());
  EXPECT_EQ(tooLong.InvalidWord().size(), 50);
}

class SpellToolTest : public ::testing::Test {
 protected:
  int Run(const QStringList &args) {
    out.clear();
    err.clear();
    QTextStream o(&out), e(&err);
    return RunSpellTool(args, o, e);
  }
  QString dir = TestEnvironment::FreshDir(QStringLiteral("tool"));
  QString dct = DctFiles::Compile(dir, QStringLiteral("d.dct"),
                                  {"the", "cat", "sat", "card", "cards", "care", "a", "lot"});
  QString out, err;
};

TEST_F(SpellToolTest, ListsUnknownWordsInOrder) {
  const QString text = TestEnvironment::WriteFile(
      dir + QStringLiteral("/t.html"), "<p class=\"x\">The cat sat on teh mat, x 1999 teh</p>\n");
  EXPECT_EQ(Run({"list", "-d", dct, "--html", text}), 0);
  EXPECT_EQ(out, QStringLiteral("on\nteh\nmat\nteh\n"));
  // Without mark-up skipping the tags are words too; the user dictionary and the exclusion
  // list take part.
  TestEnvironment::WriteFile(dir + QStringLiteral("/user.dic"), "mat\r\non\r\n");
  TestEnvironment::WriteFile(dir + QStringLiteral("/excl.txt"), "cat\r\n");
  EXPECT_EQ(Run({"list", "-d", dct, "-u", dir + "/user.dic", "-x", dir + "/excl.txt", text}), 0);
  EXPECT_EQ(out, QStringLiteral("class\ncat\nteh\nteh\n"));
}

// Input is read as the editor reads a file; a guess of Windows-1252 is said on the error
// stream, and the words come out whole.
TEST_F(SpellToolTest, ListDetectsTheInputEncoding) {
  const QString accents =
      DctFiles::Compile(dir, QStringLiteral("fr.dct"), {"café", "naïve", "straße"});
  const QString latin1 =
      TestEnvironment::WriteFile(dir + QStringLiteral("/latin1.txt"), "caf\xe9 na\xefve teh\n");
  EXPECT_EQ(Run({"list", "-d", accents, latin1}), 0);
  EXPECT_EQ(out.toStdString(), "teh\n");
  EXPECT_EQ(err.toStdString(), latin1.toStdString() + ": not UTF-8, read as Windows-1252.\n");

  const QString bom = TestEnvironment::WriteFile(dir + QStringLiteral("/bom.txt"),
                                                 "\xef\xbb\xbf"
                                                 "caf\xc3\xa9 stra\xc3\x9f"
                                                 "e zut");
  const QString utf16 = TestEnvironment::WriteFile(dir + QStringLiteral("/utf16.txt"),
                                                   QByteArray("\xff\xfez\0o\0\xef\0", 8));
  EXPECT_EQ(Run({"list", "-d", accents, bom, utf16}), 0);
  EXPECT_EQ(out.toStdString(), "zut\nzo\u00ef\n");
  EXPECT_TRUE(err.isEmpty());
}

TEST_F(SpellToolTest, SuggestCompleteAndCodes) {
  EXPECT_EQ(Run({"suggest", "-d", dct, "-n", "3", "Teh", "alot"}), 0);
  // "a" has no letters below it, so "alot" gets its split only.
  EXPECT_EQ(out, QStringLiteral("Teh: The\nalot: a lot\n"));
  EXPECT_EQ(Run({"complete", "-d", dct, "CAR"}), 0);
  EXPECT_EQ(out, QStringLiteral("CAR: CARD, CARDS, CARE\n"));
  EXPECT_EQ(Run({"phonetic", "--pad", "hello", "don't"}), 0);
  EXPECT_EQ(out, QStringLiteral("H400\nD5\\03\n"));
  EXPECT_EQ(Run({"similarity", "recieve", "receive"}), 0);
  EXPECT_EQ(out, QStringLiteral("71\n"));
}

TEST_F(SpellToolTest, HelpAndVersionGoToTheOutputAndSucceed) {
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_TRUE(out.startsWith(QStringLiteral("usage: vellumix-spell --help | --version\n")));
  EXPECT_TRUE(err.isEmpty());
  EXPECT_EQ(Run({"--version"}), 0);
  EXPECT_EQ(out, QStringLiteral("vellumix-spell ") + QString::fromLatin1(kVersionText) +
                     QStringLiteral(" for Linux\n"));
  // Without a command the usage is an error.
  EXPECT_EQ(Run({}), 2);
  EXPECT_TRUE(out.isEmpty());
  EXPECT_TRUE(err.startsWith(QStringLiteral("usage:")));
}

TEST_F(SpellToolTest, BadInputGivesTheMessageAndAFailure) {
  EXPECT_NE(Run({"list", "-d", dir + "/none.dct", dir + "/none.txt"}), 0);
  EXPECT_EQ(err, QStringLiteral("Dictionary not found : %1/none.dct\n").arg(dir));
  QByteArray corrupt = TestEnvironment::ReadFile(dct);
  corrupt[10] = '!';
  const QString bad = DctFiles::Write(dir, QStringLiteral("bad.dct"), corrupt);
  EXPECT_NE(Run({"suggest", "-d", bad, "word"}), 0);
  EXPECT_EQ(err, QStringLiteral("Dictionary Corrupt.\n%1\n").arg(bad));
  EXPECT_NE(Run({"list", "-d", dct, dir + "/none.txt"}), 0);
  EXPECT_TRUE(err.startsWith(QStringLiteral("Cannot read")));
  EXPECT_EQ(Run({"suggest", "-n", "0", "x"}), 2);
  EXPECT_EQ(Run({"frobnicate"}), 2);

  const QString list =
      TestEnvironment::WriteFile(dir + QStringLiteral("/words.txt"), "zebra\nyak\n");
  EXPECT_EQ(Run({"build", "-o", dir + "/z.dct", list}), 0);
  EXPECT_EQ(Run({"list", "-d", dir + "/z.dct", list}), 0);
  EXPECT_TRUE(out.isEmpty());
  EXPECT_NE(Run({"build", "-o", dir + "/z.dct", dir + "/none.txt"}), 0);
  EXPECT_EQ(err, QStringLiteral("Word list not found : %1/none.txt\n").arg(dir));
  EXPECT_EQ(Run({"build", "-o", dir + "/z.dct", "--case", "upper", list}), 2);
  EXPECT_EQ(err, QStringLiteral("The letter case must be lower, capitalised or any: upper\n"));
}

TEST_F(SpellToolTest, BuildFollowsTheListRules) {
  const QString list =
      TestEnvironment::WriteFile(dir + QStringLiteral("/nouns.txt"), "Haus\nUSA\nb\nund\n");
  EXPECT_EQ(
      Run({"build", "-o", dir + "/n.dct", "--case", "capitalised", "--one-letter", "a,o", list}),
      0);
  EXPECT_EQ(out.toStdString(), QStringLiteral("%1/n.dct: 4 words, 9 nodes, 2 lines dropped (1 "
                                              "for their letter case, 1 single letters)\n")
                                   .arg(dir)
                                   .toStdString());
  // "o" is no one-letter word of the default (English) rules, so "ohaus" has no split; a noun
  // keeps its capital in the suggestions.
  EXPECT_EQ(Run({"suggest", "-d", dir + "/n.dct", "ohaus", "hauss", "unt"}), 0);
  EXPECT_EQ(out.toStdString(), "ohaus: \nhauss: Haus\nunt: und\n");
}

// Runs a copy of vellumix-spell, placed at tool, with the environment the test runs in and
// VELLUMIX_DATA_DIR set to dataDir (unset when empty): the exit code and the error output.
std::pair<int, QString> RunToolAt(const QString &tool, const QStringList &args,
                                  const QString &dataDir = {}) {
  QDir().mkpath(QFileInfo(tool).path());
  if (tool != QStringLiteral(VELLUMIX_SPELL_TOOL)) {
    QFile::remove(tool);
    EXPECT_TRUE(QFile::copy(QStringLiteral(VELLUMIX_SPELL_TOOL), tool));
  }
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove(QStringLiteral("VELLUMIX_DATA_DIR"));
  if (!dataDir.isEmpty()) environment.insert(QStringLiteral("VELLUMIX_DATA_DIR"), dataDir);
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(tool, args);
  EXPECT_TRUE(process.waitForFinished(120000)) << tool.toStdString();
  return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError())};
}

// The message of a run whose default dictionary is missing names the file it looked for.
QString Missing(const QString &folder) {
  return QStringLiteral("Dictionary not found : ") + folder + QStringLiteral("English.dct\n");
}

TEST_F(SpellToolTest, TheToolFindsTheProgramFolderAsTheProgramDoes) {
  // In the same process both ask the one function.
  const QString data = TestEnvironment::FreshDir(QStringLiteral("data"));
  const QByteArray kept = qgetenv("VELLUMIX_DATA_DIR");
  qputenv("VELLUMIX_DATA_DIR", data.toUtf8());
  EXPECT_EQ(Folders::ProgramFolder(), data + u'/');
  EXPECT_EQ(Run({"suggest", "word"}), 1);
  EXPECT_EQ(err, QStringLiteral("Dictionary not found : %1/English.dct\n").arg(data));
  qputenv("VELLUMIX_DATA_DIR", kept);

  // Installed: <prefix>/bin/vellumix-spell takes <prefix>/share/vellumix/, and the dictionary
  // found there is the one it checks with.
  const QString prefix = TestEnvironment::FreshDir(QStringLiteral("prefix"));
  const QString tool = prefix + QStringLiteral("/bin/vellumix-spell");
  const QString shared = prefix + QStringLiteral("/share/vellumix/");
  QDir().mkpath(shared);
  auto [code, message] = RunToolAt(tool, {"suggest", "word"});
  EXPECT_EQ(code, 1);
  EXPECT_TRUE(message.startsWith(Missing(shared))) << message.toStdString();
  ASSERT_TRUE(QFile::copy(dct, shared + QStringLiteral("English.dct")));
  const QString text = TestEnvironment::WriteFile(dir + QStringLiteral("/t.txt"), "the cat zat\n");
  QProcess list;
  list.setProcessEnvironment([] {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("VELLUMIX_DATA_DIR"));
    return environment;
  }());
  list.start(tool, {"list", text});
  ASSERT_TRUE(list.waitForFinished(120000));
  EXPECT_EQ(list.exitCode(), 0);
  EXPECT_EQ(list.readAllStandardOutput(), QByteArray("zat\n"));

  // VELLUMIX_DATA_DIR comes first, wherever the tool is.
  std::tie(code, message) = RunToolAt(tool, {"suggest", "word"}, data);
  EXPECT_TRUE(message.startsWith(Missing(data + u'/'))) << message.toStdString();

  // Without a data folder beside it, the program and the tool look in their own folder.
  const QString lonely = TestEnvironment::FreshDir(QStringLiteral("lonely"));
  std::tie(code, message) =
      RunToolAt(lonely + QStringLiteral("/bin/vellumix-spell"), {"suggest", "word"});
  EXPECT_TRUE(message.startsWith(Missing(lonely + QStringLiteral("/bin/"))))
      << message.toStdString();

  // The build tree has the installed layout: the tool sits beside the program, and finds the
  // build's data folder.
  EXPECT_EQ(QFileInfo(QStringLiteral(VELLUMIX_SPELL_TOOL)).absolutePath(),
            QFileInfo(QStringLiteral(VELLUMIX_PROGRAM)).absolutePath());
  const QString built = QDir(QStringLiteral(VELLUMIX_BUILD_DATA_DIR)).absolutePath() + u'/';
  std::tie(code, message) = RunToolAt(QStringLiteral(VELLUMIX_SPELL_TOOL), {"list", text});
  if (QFileInfo::exists(built + QStringLiteral("English.dct")))
    EXPECT_EQ(code, 0) << message.toStdString();
  else
    EXPECT_TRUE(message.startsWith(Missing(built))) << message.toStdString();
}

}  // namespace
