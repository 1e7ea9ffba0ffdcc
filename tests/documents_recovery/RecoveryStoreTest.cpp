// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTest>

#include "TestEnvironment.h"
#include "documents/recovery/RecoveryStore.h"

namespace {

TRecoveryRecord record(const QString &text) {
  TRecoveryRecord r;
  r.name = QStringLiteral(" /tmp/untitled.txt");
  r.text = text;
  return r;
}

QStringList files(const QString &dir) { return QDir(dir).entryList(QDir::Files, QDir::Name); }

}  // namespace

TEST(RecoveryStore, RunningProgramsNeverTakeEachOthersCopies) {
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("two")) + u'/';
  auto first = std::make_unique<TRecoveryStore>(dir);
  TRecoveryStore second(dir);
  ASSERT_TRUE(first->Ready());
  ASSERT_TRUE(second.Ready());
  EXPECT_NE(first->Id(), second.Id());
  const QString slot = first->NewSlot();
  first->Write(slot, record(QStringLiteral("first's text")));
  first->Flush();
  ASSERT_TRUE(QFile::exists(slot));

  // While the first runs, the second sees nothing to recover and leaves the copy alone.
  TRecoveryClaim none = second.Claim();
  EXPECT_TRUE(none.copies.empty());
  EXPECT_TRUE(none.notes.isEmpty());
  EXPECT_TRUE(QFile::exists(slot));
  EXPECT_EQ(second.OwnCopies(), QStringList());

  // The first ends without removing its copy (as a crash would leave it): now it is found.
  first.reset();
  ASSERT_TRUE(QFile::exists(slot));
  {
    TRecoveryClaim claim = second.Claim();
    ASSERT_EQ(claim.copies.size(), 1u);
    EXPECT_EQ(claim.copies[0].record.text, QStringLiteral("first's text"));
    // A third program starting meanwhile does not get the claimed copy.
    TRecoveryStore third(dir);
    EXPECT_TRUE(third.Claim().copies.empty());
  }
  // Decided later: the claim ends, the copy stays for the next start.
  TRecoveryStore fourth(dir);
  TRecoveryClaim again = fourth.Claim();
  ASSERT_EQ(again.copies.size(), 1u);
  TRecoveryStore::Delete(again.copies[0]);
  EXPECT_FALSE(QFile::exists(slot));
}

TEST(RecoveryStore, LatestWriteWinsAndRemovalFollowsQueuedWrites) {
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("order")) + u'/';
  TRecoveryStore store(dir);
  const QString slot = store.NewSlot();
  for (int i = 0; i < 50; ++i) store.Write(slot, record(QString::number(i)));
  store.Flush();
  const auto read = RecoveryFile::Parse(TestEnvironment::ReadFile(slot));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->text, QStringLiteral("49"));
  store.Write(slot, record(QStringLiteral("late")));
  store.Remove(slot);
  store.Flush();
  EXPECT_FALSE(QFile::exists(slot));
  EXPECT_EQ(files(dir), QStringList{store.Id() + QStringLiteral(".lock")});
}

TEST(RecoveryStore, DamagedAndForeignFilesAreSkippedWithANote) {
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("damaged")) + u'/';
  QString deadId;
  {
    TRecoveryStore dead(dir);
    deadId = dead.Id();
    const QString good = dead.NewSlot();
    dead.Write(good, record(QStringLiteral("whole")));
    dead.Flush();
    QByteArray bytes = TestEnvironment::ReadFile(good);
    bytes.chop(2);
    TestEnvironment::WriteFile(dead.NewSlot(), bytes);                    // cut short
    TestEnvironment::WriteFile(dead.NewSlot(), QByteArray(100, '\xff'));  // garbage
    TestEnvironment::WriteFile(dead.NewSlot() + QStringLiteral(".tmp1a2b"),
                               "half");  // died writing
  }
  TestEnvironment::WriteFile(dir + QStringLiteral("notes.txt"), "someone else's file");
  TestEnvironment::WriteFile(dir + QStringLiteral("123-0000000g.1.vxr"), "not our id form");

  TRecoveryStore store(dir);
  TRecoveryClaim claim = store.Claim();
  ASSERT_EQ(claim.copies.size(), 1u);
  EXPECT_EQ(claim.copies[0].record.text, QStringLiteral("whole"));
  EXPECT_EQ(claim.notes.size(), 4);
  EXPECT_TRUE(claim.notes.join(u'\n').contains(QStringLiteral("notes.txt is not a recovery copy")));
  // Damaged copies are kept aside for the user, foreign files are not touched, the half
  // written temporary is gone.
  EXPECT_EQ(files(dir + QStringLiteral("damaged")).size(), 2);
  EXPECT_TRUE(QFile::exists(dir + QStringLiteral("notes.txt")));
  EXPECT_TRUE(QDir(dir).entryList({QStringLiteral("*.tmp*")}, QDir::Files).isEmpty());
  // The next start is not told about the damaged copies again.
  TRecoveryStore::Delete(claim.copies[0]);
  claim = TRecoveryClaim();
  TRecoveryStore next(dir);
  TRecoveryClaim later = next.Claim();
  EXPECT_TRUE(later.copies.empty());
  EXPECT_EQ(later.notes.size(), 2);  // only the two foreign files
}

TEST(RecoveryStore, AFolderThatCannotBeMadeTurnsRecoveryOff) {
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("blocked"));
  TestEnvironment::WriteFile(dir + QStringLiteral("/file"), "x");
  TRecoveryStore store(dir + QStringLiteral("/file/recovery/"));
  EXPECT_FALSE(store.Ready());
  EXPECT_FALSE(store.Error().isEmpty());
  store.Write(store.NewSlot(), record(QStringLiteral("x")));  // does nothing, never crashes
  EXPECT_TRUE(store.Claim().copies.empty());
}
