// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>
#include <functional>
#include <memory>

#include "DctFiles.h"
#include "TestEnvironment.h"
#include "spell/core/Dictionary.h"
#include "spell/core/SpellErrors.h"
#include "spell/core/WordText.h"

namespace {

class DictionaryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main = DctFiles::Compile(dir, QStringLiteral("English.dct"),
                             {"hello", "john", "card", "cards", "care", "the", "lot", "a"});
    QFile::remove(UserFile());  // each test starts without the user's words
  }
  static QString UserFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/vellumix/USER.DIC");
  }
  void TearDown() override { TDictionary::SetErrorBox(nullptr); }

  QString dir = TestEnvironment::FreshDir(QStringLiteral("dictionary"));
  QString main;
};

TEST_F(DictionaryTest, OnlyOneObjectAtATime) {
  QStringList shown;
  TDictionary::SetErrorBox([&](const QString &text) { shown.append(text); });
  {
    TDictionary first;
    EXPECT_EQ(TDictionary::Instance(), &first);
    try {
      TDictionary second;
      ADD_FAILURE();
    } catch (const TEDictionaryInUse &error) {
      EXPECT_EQ(error.Message(), QStringLiteral("Multiple Dictionaries not supported."));
    }
    EXPECT_EQ(shown,
              QStringList{QStringLiteral(
                  "Programmer Error. Only one dictionary\robject can be initialized at once.")});
    EXPECT_EQ(TDictionary::Instance(), &first);
  }
  EXPECT_EQ(TDictionary::Instance(), nullptr);
  TDictionary again;  // the mark is cleared with the object
  EXPECT_EQ(TDictionary::Instance(), &again);
}

TEST_F(DictionaryTest, OpeningMainFiles) {
  TDictionary dictionary;
  EXPECT_FALSE(dictionary.OpenMainDictionary(dir + QStringLiteral("/Missing.dct")));
  EXPECT_FALSE(dictionary.Opened());
  ASSERT_TRUE(dictionary.OpenMainDictionary(main));
  EXPECT_TRUE(dictionary.Opened());

  // Another folder, other letter case, same file-name part: success, the first file stays.
  const QString other = TestEnvironment::FreshDir(QStringLiteral("other"));
  const QString second = DctFiles::Compile(other, QStringLiteral("ENGLISH.DCT"), {"zebra"});
  EXPECT_TRUE(dictionary.OpenMainDictionary(second));
  EXPECT_EQ(dictionary.MainFiles().Count(), 1);
  EXPECT_FALSE(dictionary.IsWord("zebra"));

  // A corrupt file is an error, not a missing one.
  QByteArray bytes = TestEnvironment::ReadFile(main);
  bytes[5] = 'X';
  const QString corrupt = DctFiles::Write(dir, QStringLiteral("Bad.dct"), bytes);
  EXPECT_THROW(dictionary.OpenMainDictionary(corrupt), TEDictionaryCorrupt);

  // Several main files are all consulted.
  EXPECT_TRUE(dictionary.OpenMainDictionary(
      DctFiles::Compile(other, QStringLiteral("Extra.dct"), {"zebra"})));
  EXPECT_TRUE(dictionary.IsWord("zebra"));
  dictionary.CloseAll();
  EXPECT_FALSE(dictionary.Opened());
  EXPECT_FALSE(dictionary.IsWord("hello"));
}

TEST_F(DictionaryTest, IsWordFoldsCaseStripsPossessiveAndCuts) {
  TDictionary dictionary;
  ASSERT_TRUE(dictionary.OpenMainDictionary(main));
  EXPECT_TRUE(dictionary.IsWord("hello"));
  EXPECT_TRUE(dictionary.IsWord("HELLO"));
  EXPECT_TRUE(dictionary.IsWord("Hello"));
  EXPECT_TRUE(dictionary.IsWord("John's"));
  EXPECT_FALSE(dictionary.IsWord("'s"));
  EXPECT_FALSE(dictionary.IsWord(""));
  EXPECT_FALSE(dictionary.IsWord("car"));
  // An accented capital matches its small letter too (a sentence may begin with the word).
  dictionary.AddWord("\x82t\x82");  // "été"
  EXPECT_TRUE(dictionary.IsWord("\x82T\x82"));
  EXPECT_TRUE(dictionary.IsWord("\x90t\x82"));
  EXPECT_FALSE(dictionary.IsWord("et\x82"));

  // A word longer than 50 characters is looked up by its first 50.
  const QByteArray fifty(50, 'q');
  dictionary.AddWord(fifty);
  EXPECT_TRUE(dictionary.IsWord(QByteArray(fifty + QByteArray(10, 'x'))));
  EXPECT_FALSE(dictionary.IsWord(QByteArray(49, 'q')));
}

TEST_F(DictionaryTest, ExclusionListWinsOverEverything) {
  TDictionary dictionary;
  ASSERT_TRUE(dictionary.OpenMainDictionary(main));
  EXPECT_FALSE(dictionary.OpenExclusionList(dir + QStringLiteral("/none.txt")));
  EXPECT_FALSE(dictionary.HasExclusionList());
  // Not found as given, it is looked for beside the main file.
  TestEnvironment::WriteFile(dir + QStringLiteral("/excl.txt"), "Hello\rcards\n");
  ASSERT_TRUE(dictionary.OpenExclusionList(QStringLiteral("/nowhere/excl.txt")));
  EXPECT_FALSE(dictionary.IsWord("hello"));
  EXPECT_FALSE(dictionary.IsWord("HELLO"));
  EXPECT_FALSE(dictionary.IsWord("cards"));
  EXPECT_TRUE(dictionary.IsWord("card"));
  dictionary.AddWord("Hello");
  EXPECT_FALSE(dictionary.IsWord("hello"));
  // Excluded words are never suggested.
  EXPECT_FALSE(dictionary.Suggest(QStringLiteral("cardz"), 10).contains(QStringLiteral("cards")));
}

TEST_F(DictionaryTest, UserDictionaryLivesInTheUserDataFolder) {
  // The main file's folder is writable here (as the build tree or an administrator's is); the
  // user's words still go to the user's own folder.
  TDictionary dictionary;
  ASSERT_TRUE(dictionary.OpenMainDictionary(main));
  EXPECT_FALSE(dictionary.OpenUserDictionary(QStringLiteral("USER.DIC")));
  EXPECT_EQ(dictionary.UserDictionaryPath(),
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                QStringLiteral("/vellumix/USER.DIC"));

  EXPECT_TRUE(dictionary.AddWord("Zorp"));
  EXPECT_FALSE(dictionary.AddWord("zorp"));  // known now
  EXPECT_FALSE(dictionary.AddWord("hello"));
  EXPECT_TRUE(dictionary.AddWord("apple"));
  // A possessive keeps its ending and so stays unknown.
  EXPECT_FALSE(dictionary.AddWord("john's"));  // looked up as "john", which is known
  EXPECT_TRUE(dictionary.AddWord("mary's"));
  EXPECT_FALSE(dictionary.IsWord("mary's"));
  EXPECT_TRUE(dictionary.Modified());
  dictionary.CloseAll();  // saves
  EXPECT_FALSE(dictionary.Modified());
  EXPECT_EQ(TestEnvironment::ReadFile(dictionary.UserDictionaryPath()),
            QByteArray("apple\r\nmary's\r\nzorp\r\n"));
  EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/USER.DIC")));
  QFile::remove(dictionary.UserDictionaryPath());
}

TEST_F(DictionaryTest, UserDictionaryKeepsItsEncodingAndIsWrittenOnlyWhenChanged) {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                         QStringLiteral("/vellumix");
  const QString user = folder + QStringLiteral("/USER.DIC");
  // Written by a Linux editor: UTF-8, LF line ends.
  TestEnvironment::WriteFile(user, "na\xc3\xafve\nzo\xc3\xab\n");
  {
    TDictionary dictionary;
    ASSERT_TRUE(dictionary.OpenMainDictionary(main));
    ASSERT_TRUE(dictionary.OpenUserDictionary(QStringLiteral("USER.DIC")));
    EXPECT_TRUE(dictionary.IsWord("na\x8bve"));  // code page 437 "naïve"
    EXPECT_TRUE(dictionary.IsWord("Zo\x89"));
    dictionary.SaveUserDictionary();  // nothing added: the file stays as the user wrote it
    EXPECT_EQ(TestEnvironment::ReadFile(user), QByteArray("na\xc3\xafve\nzo\xc3\xab\n"));
    dictionary.AddWord("caf\x82");
  }
  EXPECT_EQ(TestEnvironment::ReadFile(user),
            QByteArray("caf\xc3\xa9\r\nna\xc3\xafve\r\nzo\xc3\xab\r\n"));

  // A code page 437 file is written back in code page 437.
  TestEnvironment::WriteFile(user, "na\x8bve\r\n");
  {
    TDictionary dictionary;
    ASSERT_TRUE(dictionary.OpenMainDictionary(main));
    ASSERT_TRUE(dictionary.OpenUserDictionary(QStringLiteral("USER.DIC")));
    EXPECT_TRUE(dictionary.IsWord("na\x8bve"));
    dictionary.AddWord("caf\x82");
  }
  EXPECT_EQ(TestEnvironment::ReadFile(user), QByteArray("caf\x82\r\nna\x8bve\r\n"));
  QFile::remove(user);

  // A symbolic link in its place is not followed: its target is neither read nor written.
  const QString elsewhere = TestEnvironment::WriteFile(
      TestEnvironment::FreshDir(QStringLiteral("other-user")) + QStringLiteral("/USER.DIC"),
      "theirs\r\n");
  ASSERT_TRUE(QFile::link(elsewhere, user));
  {
    TDictionary dictionary;
    ASSERT_TRUE(dictionary.OpenMainDictionary(main));
    EXPECT_FALSE(dictionary.OpenUserDictionary(QStringLiteral("USER.DIC")));
    EXPECT_FALSE(dictionary.IsWord("theirs"));
    dictionary.AddWord("mine");
  }
  EXPECT_FALSE(QFileInfo(user).isSymLink());
  EXPECT_EQ(TestEnvironment::ReadFile(user), QByteArray("mine\r\n"));
  EXPECT_EQ(TestEnvironment::ReadFile(elsewhere), QByteArray("theirs\r\n"));
  QFile::remove(user);
}

// Words of real text: names keep their capitals, elisions, plural possessives, compounds.
TEST_F(DictionaryTest, RealTextInEachLanguage) {
  {
    const QString english = DctFiles::Compile(TestEnvironment::FreshDir(QStringLiteral("en")),
                                              QStringLiteral("English.dct"),
                                              {"June", "NASA", "users", "user", "hand", "book"});
    TDictionary dictionary;
    ASSERT_TRUE(dictionary.OpenMainDictionary(english));
    EXPECT_TRUE(dictionary.IsWord("June"));
    EXPECT_TRUE(dictionary.IsWord("JUNE"));
    EXPECT_FALSE(dictionary.IsWord("june"));  // a name stays a name
    EXPECT_TRUE(dictionary.IsWord("NASA"));
    EXPECT_FALSE(dictionary.IsWord("Nasa"));
    EXPECT_TRUE(dictionary.IsWord("users'"));
    EXPECT_TRUE(dictionary.IsWord("Users'"));
    EXPECT_FALSE(dictionary.IsWord("user'"));
    EXPECT_FALSE(dictionary.IsWord("handbook"));  // English makes no compounds here
    EXPECT_FALSE(dictionary.IsWord("l'user"));
  }
  {
    // Code page 437: "été" "être" "une" "est" "option" "aujourd'hui".
    const QString french = DctFiles::Compile(
        TestEnvironment::FreshDir(QStringLiteral("fr")), QStringLiteral("French.dct"),
        {QStringLiteral("été"), QStringLiteral("être"), QStringLiteral("une"),
         QStringLiteral("est"), QStringLiteral("option"), QStringLiteral("aujourd'hui")});
    TDictionary dictionary;
    ASSERT_TRUE(dictionary.OpenMainDictionary(french));
    for (const char *word : {"l'\x82t\x82", "L'\x90t\x82", "d'une", "n'est", "qu'une", "l'option",
                             "L'OPTION", "aujourd'hui", "Etre", "\x88tre", "ETRE", "\x90T\x90"})
      EXPECT_TRUE(dictionary.IsWord(word)) << word;
    for (const char *word : {"x'une", "l'", "l'optoin", "etre", "usersl'", "une'"})
      EXPECT_FALSE(dictionary.IsWord(word)) << word;
  }
  {
    const QString italian =
        DctFiles::Compile(TestEnvironment::FreshDir(QStringLiteral("it")),
                          QStringLiteral("Italian.dct"), {"amica", "arte", "aperto", "anno"});
    TDictionary dictionary;
    ASSERT_TRUE(dictionary.OpenMainDictionary(italian));
    for (const char *word : {"un'amica", "dell'arte", "all'aperto", "L'anno", "Dell'Arte"})
      EXPECT_TRUE(dictionary.IsWord(word)) << word;
    EXPECT_FALSE(dictionary.IsWord("qu'anno"));  // a French elision, not an Italian one
  }
  {
    // Dutch: "'s" is a word of its own; compounds too ("vakantiehuis").
    const QString dutch =
        DctFiles::Compile(TestEnvironment::FreshDir(QStringLiteral("nl")),
                          QStringLiteral("Dutch.dct"), {"'s", "middags", "vakantie", "huis"});
    TDictionary dictionary;
    ASSERT_TRUE(dictionary.OpenMainDictionary(dutch));
    for (const char *word : {"'s", "middags", "vakantiehuis", "Vakantiehuis"})
      EXPECT_TRUE(dictionary.IsWord(word)) << word;
    EXPECT_FALSE(dictionary.IsWord("vakantiehius"));
  }
  {
    const QString german = DctFiles::Compile(
        TestEnvironment::FreshDir(QStringLiteral("de")), QStringLiteral("German.dct"),
        {QStringLiteral("Hand"), QStringLiteral("Buch"), QStringLiteral("Seiten"),
         QStringLiteral("Arbeit"), QStringLiteral("Platz"), QStringLiteral("über"),
         QStringLiteral("klein")});
    TDictionary dictionary;
    ASSERT_TRUE(dictionary.OpenMainDictionary(german));
    for (const char *word : {"Handbuch", "Handbuchseiten", "Arbeitsplatz", "\232ber", "Kleinbuch"})
      EXPECT_TRUE(dictionary.IsWord(word)) << word;
    // Four parts, a part of two letters, a misspelt part, a small noun alone.
    for (const char *word : {"Handbuchseitenhand", "Handbu", "Handbcuh", "buch", "Hanbduch"})
      EXPECT_FALSE(dictionary.IsWord(word)) << word;
  }
}

TEST_F(DictionaryTest, UserDictionaryReadingAndMerging) {
  const QString user = UserFile();
  TestEnvironment::WriteFile(user, "zeta\r\nAlpha\nalpha\rbeta\r\n\r\n");
  TDictionary dictionary;
  ASSERT_TRUE(dictionary.OpenMainDictionary(main));
  ASSERT_TRUE(dictionary.OpenUserDictionary(QStringLiteral("USER.DIC")));
  EXPECT_EQ(dictionary.UserWords().Words(), (QList<QByteArray>{"Alpha", "beta", "zeta"}));
  EXPECT_TRUE(dictionary.IsWord("ALPHA"));

  // Another writer adds words after the load; saving keeps them.
  dictionary.AddWord("gamma");
  TestEnvironment::WriteFile(user, "zeta\r\nAlpha\r\nbeta\r\ndelta\r\nEpsilon\r\n");
  dictionary.SaveUserDictionary();
  EXPECT_EQ(TestEnvironment::ReadFile(user),
            QByteArray("Alpha\r\nbeta\r\ndelta\r\nEpsilon\r\ngamma\r\nzeta\r\n"));
  EXPECT_TRUE(dictionary.IsWord("delta"));

  // Opening again replaces the list with the file.
  TestEnvironment::WriteFile(user, "only\n");
  ASSERT_TRUE(dictionary.OpenUserDictionary(user));
  EXPECT_EQ(dictionary.UserWords().Words(), QList<QByteArray>{"only"});
  // A missing file keeps the list and the path, and the first save creates the file.
  const QString fresh = dir + QStringLiteral("/sub/NEW.DIC");
  EXPECT_FALSE(dictionary.OpenUserDictionary(fresh));
  EXPECT_EQ(dictionary.UserWords().Count(), 1);
  dictionary.SaveUserDictionary();
  EXPECT_EQ(TestEnvironment::ReadFile(fresh), QByteArray("only\r\n"));
}

TEST_F(DictionaryTest, FailedSaveKeepsTheWordsAndSaysSo) {
  QStringList shown;
  TDictionary::SetErrorBox([&](const QString &text) { shown.append(text); });
  // The user dictionary's path is a folder, so it cannot be written.
  const QString blocked = TestEnvironment::FreshDir(QStringLiteral("blocked"));
  {
    TDictionary dictionary;
    ASSERT_TRUE(dictionary.OpenMainDictionary(main));
    dictionary.OpenUserDictionary(blocked);
    dictionary.AddWord("zorp");
    EXPECT_THROW(dictionary.SaveUserDictionary(), Spell::EFCreateError);
    EXPECT_TRUE(dictionary.Modified());
    EXPECT_TRUE(dictionary.IsWord("zorp"));
  }
  ASSERT_EQ(shown.size(), 1);  // the destructor's save failed too, and said so
  EXPECT_TRUE(shown[0].startsWith(QStringLiteral("Cannot create file")));
}

// Runs body as a user to whom permissions apply. The administrator (CI runs as root) ignores
// them, so body runs there in a child process that has given up that right; the child's
// failures fail the test.
void WithPermissionsApplying(const std::function<void()> &body) {
  if (geteuid() != 0) {
    body();
    return;
  }
  std::fflush(nullptr);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[2] = {};
    if (syscall(SYS_capget, &header, caps) != 0) _exit(3);
    // Both sets: access(), which Qt asks, looks at the permitted one for the administrator.
    const unsigned dac = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
    caps[0].effective &= ~dac;
    caps[0].permitted &= ~dac;
    if (syscall(SYS_capset, &header, caps) != 0) _exit(3);
    body();
    std::fflush(nullptr);
    _exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the check without the administrator's rights failed";
}

TEST_F(DictionaryTest, ReadOnlyProgramFolderUsesTheUserDataFolder) {
  const QString shipped = TestEnvironment::FreshDir(QStringLiteral("shipped"));
  const QString dct = DctFiles::Compile(shipped, QStringLiteral("English.dct"), {"hello"});
  TestEnvironment::WriteFile(shipped + QStringLiteral("/USER.DIC"), "shipword\r\n");
  QFile::setPermissions(shipped, QFile::ReadOwner | QFile::ExeOwner);
  WithPermissionsApplying([&] {
    ASSERT_FALSE(QFileInfo(shipped).isWritable());
    TDictionary dictionary;
    ASSERT_TRUE(dictionary.OpenMainDictionary(dct));
    EXPECT_TRUE(dictionary.OpenUserDictionary(QStringLiteral("USER.DIC")));
    EXPECT_TRUE(dictionary.IsWord("shipword"));
    const QString expected = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                             QStringLiteral("/vellumix/USER.DIC");
    EXPECT_EQ(dictionary.UserDictionaryPath(), expected);
    dictionary.AddWord("mine");
    dictionary.SaveUserDictionary();
    EXPECT_EQ(TestEnvironment::ReadFile(expected), QByteArray("mine\r\nshipword\r\n"));
  });
  QFile::setPermissions(shipped, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace

namespace {

TEST(WordFileTest, ReadsInPiecesUpToTheLimit) {
  QByteArray source(200000, 'x');
  QBuffer buffer(&source);
  buffer.open(QIODevice::ReadOnly);
  QByteArray bytes;
  EXPECT_TRUE(WordFile::ReadAtMost(buffer, 200000, bytes));
  EXPECT_EQ(bytes, source);
  buffer.seek(0);
  EXPECT_FALSE(WordFile::ReadAtMost(buffer, 199999, bytes));
  EXPECT_EQ(WordFile::SplitLines("a\r\n\r\nb\rc\n\nd"), (QList<QByteArray>{"a", "b", "c", "d"}));
}

}  // namespace

// Every accented capital of code page 437 that has a small letter becomes it; every other byte
// (plain capitals, small letters, capitals without a small form) stays.
TEST(WordText, FoldAccentsLowersExactlyTheAccentedCapitals) {
  const QByteArray capitals("\x80\x8E\x8F\x90\x92\x99\x9A\xA5");
  EXPECT_EQ(WordText::FoldAccents(capitals), QByteArray("\x87\x84\x86\x82\x91\x94\x81\xA4"));
  QByteArray others;
  for (int byte = 1; byte < 256; ++byte)
    if (!capitals.contains(char(byte))) others += char(byte);
  EXPECT_EQ(WordText::FoldAccents(others), others);
  EXPECT_EQ(WordText::FoldAccents("CAF\x90s"), QByteArray("CAF\x82s"));
}
