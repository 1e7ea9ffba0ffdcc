// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QScopeGuard>

#include "AppFixture.h"
#include "platform/ui/MessageBox.h"
#include "preferences/FavoritesPage.h"
#include "settings/core/RootKey.h"
#include "settings/core/SettingsStore.h"
#include "settings/ui/FormStorage.h"

namespace {

QStringList visibleItems(TfrmMain &m, const QString &submenu) {
  QStringList items;
  for (QAction *a : m.Menu(submenu)->actions())
    if (a->isVisible()) items << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return items;
}

void openFileMenu(TfrmMain &m) { Q_EMIT m.Menu(QStringLiteral("mniFile"))->aboutToShow(); }

QStringList storedRecent() {
  TRootKey root;
  QStringList values;
  for (int n = 1; n <= 8; ++n)
    values << root.ReadString(QStringLiteral("MRUS"), QStringLiteral("mniMRU%1").arg(n),
                              QStringLiteral("<none>"));
  return values;
}

}  // namespace

TEST_F(AppFixture, RecentFilesKeepTheLastEightWithASeparatorAfterTheFourth) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("mru"));
  QStringList files;
  for (int i = 1; i <= 9; ++i)
    files << TestEnvironment::WriteFile(dir + QStringLiteral("/f%1.txt").arg(i), "x");
  for (int i = 0; i < 4; ++i) m.OpenFile(files[i]);
  openFileMenu(m);
  EXPECT_EQ(visibleItems(m, QStringLiteral("mniReopen")),
            (QStringList{files[3], files[2], files[1], files[0]}));
  m.OpenFile(files[4]);
  openFileMenu(m);
  EXPECT_EQ(visibleItems(m, QStringLiteral("mniReopen")),
            (QStringList{files[4], files[3], files[2], files[1], QStringLiteral("-"), files[0]}));
  for (int i = 5; i < 9; ++i) m.OpenFile(files[i]);
  EXPECT_EQ(m.FileLists().Recent().size(), 8);
  EXPECT_EQ(m.FileLists().Recent().first(), files[8]);
  EXPECT_FALSE(m.FileLists().Recent().contains(files[0]));  // the oldest went
  // Opening a listed file again moves it up without a second entry.
  m.OpenFile(files[3]);
  EXPECT_EQ(m.FileLists().Recent().first(), files[3]);
  EXPECT_EQ(m.FileLists().Recent().count(files[3]), 1);
  EXPECT_EQ(m.FileLists().Recent().size(), 8);
  // Hints are set as the submenu opens; a click reopens.
  Q_EMIT m.Menu(QStringLiteral("mniReopen"))->aboutToShow();
  EXPECT_EQ(m.Action(QStringLiteral("mniMRU2"))->statusTip(), QStringLiteral("Reopen ") + files[8]);
  const auto before = m.EditWindows().size();
  m.Action(QStringLiteral("mniMRU2"))->trigger();
  EXPECT_EQ(m.EditWindows().size(), before + 1);
  EXPECT_EQ(m.FileLists().Recent().first(), files[8]);
  // Hidden when the user does not want it.
  m.Holder(QStringLiteral("ShowMRU"))->SetChecked(false);
  openFileMenu(m);
  EXPECT_FALSE(m.Action(QStringLiteral("mniReopen"))->isVisible());
}

TEST_F(AppFixture, RecentFilesSurviveARestartAndMissingOnesAreDropped) {
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("restart"));
  const QString a = TestEnvironment::WriteFile(dir + QStringLiteral("/A.txt"), "a");
  const QString b = TestEnvironment::WriteFile(dir + QStringLiteral("/b.txt"), "b");
  Start();
  main->OpenFile(a);
  main->OpenFile(b);
  main.reset();  // the lists are written when the main window goes
  EXPECT_EQ(storedRecent(),
            (QStringList{b, a, QString(), QString(), QString(), QString(), QString(), QString()}));

  TfrmMain &m = Start();
  EXPECT_EQ(m.FileLists().Recent().size(), 8);  // two files and six placeholders
  const QString c = TestEnvironment::WriteFile(dir + QStringLiteral("/c.txt"), "c");
  m.OpenFile(c);
  openFileMenu(m);
  EXPECT_EQ(visibleItems(m, QStringLiteral("mniReopen")), (QStringList{c, b, a}));

  // A deleted file: warned about, dropped, and the later entries move up.
  QFile::remove(b);
  TModalAnswerer answerer({QStringLiteral("OK")});
  m.Action(QStringLiteral("mniMRU2"))->trigger();
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_EQ(answerer.titles[0], QStringLiteral("Warning"));
  EXPECT_EQ(answerer.texts[0], QStringLiteral("Vellumix\n----------------\n") + b +
                                   QStringLiteral(" no longer exists on this computer!"));
  openFileMenu(m);
  EXPECT_EQ(visibleItems(m, QStringLiteral("mniReopen")), (QStringList{c, a}));
  main.reset();
  EXPECT_EQ(storedRecent().mid(0, 3), (QStringList{c, a, QString()}));
}

TEST_F(AppFixture, FavouriteFilesOpenWithoutTouchingTheRecentList) {
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("fav"));
  const QString a = TestEnvironment::WriteFile(dir + QStringLiteral("/a.txt"), "a");
  const QString gone = dir + QStringLiteral("/gone.txt");
  TfrmMain &m = Start();
  m.FileLists().SetFavorites({a, gone, a});
  openFileMenu(m);
  EXPECT_EQ(visibleItems(m, QStringLiteral("mniFavFiles")), (QStringList{a, gone, a}));
  const QStringList recentBefore = m.FileLists().Recent();
  m.Action(QStringLiteral("mniFav01"))->trigger();
  EXPECT_EQ(m.ActiveEdit()->Caption(), QStringLiteral("a.txt"));
  EXPECT_EQ(m.FileLists().Recent(), recentBefore);
  TModalAnswerer answerer({QStringLiteral("OK")});
  m.Action(QStringLiteral("mniFav02"))->trigger();
  ASSERT_EQ(answerer.texts.size(), 1);
  openFileMenu(m);
  EXPECT_EQ(visibleItems(m, QStringLiteral("mniFavFiles")), (QStringList{a, a}));
  main.reset();
  TRootKey root;
  EXPECT_EQ(root.ReadString(QStringLiteral("Favorites"), QStringLiteral("mniFav02"), QString()), a);
  EXPECT_EQ(root.ReadString(QStringLiteral("Favorites"), QStringLiteral("mniFav08"),
                            QStringLiteral("<none>")),
            QString());
}

TEST_F(AppFixture, FavouritesPageSortsAddsAtMostEightAndAsksBeforeDeleting) {
  QStringList toChoose = {QStringLiteral("  /work/B.txt "), QStringLiteral("/work/a.txt")};
  TFavoritesPage page([&] { return toChoose.isEmpty() ? QString() : toChoose.takeFirst(); });
  page.SetFavorites({QString(), QString()});
  EXPECT_EQ(page.lstFavFiles()->count(), 0);
  EXPECT_FALSE(page.btnDelFiles()->isEnabled());
  page.btnBrowse()->trigger();
  page.btnBrowse()->trigger();
  // Sorted alphabetically whatever the letter case, and trimmed.
  EXPECT_EQ(page.Favorites(),
            (QStringList{QStringLiteral("/work/a.txt"), QStringLiteral("/work/B.txt")}));

  for (int i = 0; i < 6; ++i)
    toChoose << QStringLiteral("/x/same.txt");  // the same name twice is allowed
  for (int i = 0; i < 6; ++i) page.btnBrowse()->trigger();
  EXPECT_EQ(page.lstFavFiles()->count(), 8);
  toChoose << QStringLiteral("/x/ninth.txt");
  TModalAnswerer answerer({QStringLiteral("&Yes")});
  page.btnBrowse()->trigger();
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_EQ(
      answerer.texts[0],
      QStringLiteral("Vellumix\n----------------\nYou are only allowed to enter 8 favorite files!\n"
                     "Please delete one or more to add to your favorite files."));
  EXPECT_EQ(page.lstFavFiles()->count(), 8);

  page.lstFavFiles()->setCurrentRow(0);
  EXPECT_TRUE(page.btnDelFiles()->isEnabled());
  answerer.Add(QStringLiteral("&Yes"));
  page.btnDelFiles()->trigger();
  ASSERT_EQ(answerer.texts.size(), 2);
  EXPECT_EQ(
      answerer.texts[1],
      QStringLiteral("Vellumix\n----------------\nAre you sure you wish to delete /work/a.txt from "
                     "your favorite files list?"));
  EXPECT_EQ(page.lstFavFiles()->count(), 7);
  EXPECT_FALSE(page.btnDelFiles()->isEnabled());
}

// When the settings cannot be written (here a file stands where their folder belongs), the
// file lists stored on the way out fail: the user is told why in the error box, and the
// window still goes.
TEST_F(AppFixture, FileListsThatCannotBeStoredAreReportedInTheErrorBox) {
  const QString folder = QFileInfo(TSettingsStore::UserFilePath()).absolutePath();
  const QString keep = folder + QStringLiteral(".keep");
  QDir().rename(folder, keep);
  TestEnvironment::WriteFile(folder, "not a folder");
  // The settings' own reports of each failed write are counted, not shown, so that the box
  // looked for here is the only one.
  QStringList settingsReports;
  const TFormStorage::TErrorReporter reporter = TFormStorage::ErrorReporter();
  TFormStorage::SetErrorReporter([&](const QString &text) { settingsReports << text; });
  const auto restore = qScopeGuard([&] {
    TFormStorage::SetErrorReporter(reporter);
    QFile::remove(folder);
    QDir().rename(keep, folder);
  });
  TModalAnswerer answerer;
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("mru-unwritable"));
  m.OpenFile(TestEnvironment::WriteFile(dir + QStringLiteral("/a.txt"), "x"));
  const QString title = m.ApplicationTitle();
  for (TfrmEdit *edit : m.EditWindows()) edit->mmoMemo()->SetModified(false);
  answerer.texts.clear();  // reading the lists at the start may have failed the same way
  answerer.titles.clear();
  main.reset();
  ASSERT_EQ(answerer.texts.size(), 1) << answerer.texts.join(u'|').toStdString();
  EXPECT_EQ(answerer.texts[0], QStringLiteral("Failed to set data for '") +
                                   TSettingsStore::UserFilePath() +
                                   QStringLiteral("'\nCannot create the folder."));
  EXPECT_EQ(answerer.titles[0], title);
  EXPECT_FALSE(settingsReports.isEmpty());
}
