// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QTest>
#include <QTimer>

#include "TestEnvironment.h"
#include "documents/core/MemoryEdit.h"
#include "documents/recovery/RecoveryStore.h"
#include "documents/recovery/RecoveryTracker.h"

namespace {

class RecoveryTrackerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store = std::make_unique<TRecoveryStore>(TestEnvironment::FreshDir(QStringLiteral("tracker")) +
                                             u'/');
    TRecoveryStore::SetActive(store.get());
    TRecoveryTracker::PauseMs = 20;
    TRecoveryTracker::LongestWaitMs = 200;
  }
  void TearDown() override {
    TRecoveryStore::SetActive(nullptr);
    TRecoveryTracker::PauseMs = 1500;
    TRecoveryTracker::LongestWaitMs = 2000;
    TRecoveryTracker::SliceSize = 64 * 1024;
  }

  void type(TMemoryEdit &edit, TRecoveryTracker &tracker, const QString &text) {
    edit.TypeText(text);
    tracker.TextChanged();
  }

  // The copy's text once it shows want.
  bool waitForCopy(const TRecoveryTracker &tracker, const QString &want) {
    return QTest::qWaitFor(
        [&] {
          store->Flush();
          if (tracker.Slot().isEmpty()) return false;
          const auto r = RecoveryFile::Parse(TestEnvironment::ReadFile(tracker.Slot()));
          return r && r->text == want;
        },
        10000);
  }

  std::unique_ptr<TRecoveryStore> store;
};

}  // namespace

TEST_F(RecoveryTrackerTest, WritesAfterAPauseAndRemovesWhenSaved) {
  TMemoryEdit edit;
  TRecoveryTracker tracker(edit, [] {
    TRecoveryRecord r;
    r.name = QStringLiteral("/docs/letter.txt");
    r.format.lineEnd = TLineEnd::CrLf;
    return r;
  });
  type(edit, tracker, QStringLiteral("Dear Ann,\nthanks"));
  EXPECT_TRUE(tracker.Pending());
  ASSERT_TRUE(waitForCopy(tracker, QStringLiteral("Dear Ann,\nthanks")));
  const auto r = RecoveryFile::Parse(TestEnvironment::ReadFile(tracker.Slot()));
  EXPECT_EQ(r->name, QStringLiteral("/docs/letter.txt"));
  EXPECT_EQ(r->format.lineEnd, TLineEnd::CrLf);
  EXPECT_EQ(r->caret, 16);
  EXPECT_GT(r->changedMs, 0);

  const QString slot = tracker.Slot();
  edit.SetModified(false);  // saved
  tracker.ModifiedChanged(false);
  store->Flush();
  EXPECT_FALSE(QFile::exists(slot));
  // Typing again starts a new copy.
  type(edit, tracker, QStringLiteral("!"));
  edit.SetModified(true);
  ASSERT_TRUE(waitForCopy(tracker, QStringLiteral("Dear Ann,\nthanks!")));
  const QString second = tracker.Slot();
  tracker.Discard();  // closed without saving on purpose
  store->Flush();
  EXPECT_FALSE(QFile::exists(second));
  EXPECT_TRUE(store->OwnCopies().isEmpty());
}

TEST_F(RecoveryTrackerTest, ContinuousTypingIsStillWrittenWithinTheLongestWait) {
  TRecoveryTracker::PauseMs = 60000;
  TMemoryEdit edit;
  TRecoveryTracker tracker(edit, [] { return TRecoveryRecord(); });
  // The pause never ends while keys keep coming: only the longest wait lets a copy through.
  QTimer typist;  // a key every few milliseconds
  typist.setInterval(5);
  QObject::connect(&typist, &QTimer::timeout, [&] { type(edit, tracker, QStringLiteral("x")); });
  typist.start();
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        store->Flush();
        return !store->OwnCopies().isEmpty();
      },
      60000));
}

TEST_F(RecoveryTrackerTest, ASliceCopyOvertakenByTypingEndsWithTheWholeText) {
  TRecoveryTracker::SliceSize = 7;
  TMemoryEdit edit;
  TRecoveryTracker tracker(edit, [] { return TRecoveryRecord(); });
  QString all;
  for (int i = 0; i < 30; ++i) all += QStringLiteral("line %1\n").arg(i);
  type(edit, tracker, all);
  // Type while the copy is under way, between its slices.
  for (int i = 0; i < 20; ++i) {
    TestEnvironment::Settle(1);
    edit.SetSelection(0, 0);
    type(edit, tracker, QStringLiteral("#"));
  }
  ASSERT_TRUE(waitForCopy(tracker, edit.TextRange(0, edit.PositionCount())));
}

TEST_F(RecoveryTrackerTest, AFirstChangeToldBeforeTheModifiedFlagIsStillWritten) {
  TMemoryEdit edit;
  TRecoveryTracker tracker(edit, [] { return TRecoveryRecord(); });
  edit.TypeText(QStringLiteral("k"));
  edit.SetModified(false);  // the change arrives while the flag still reads clear
  tracker.TextChanged();
  EXPECT_FALSE(tracker.Pending());
  edit.SetModified(true);
  tracker.ModifiedChanged(true);
  ASSERT_TRUE(waitForCopy(tracker, QStringLiteral("k")));
}

TEST_F(RecoveryTrackerTest, NothingIsWrittenWithoutAStoreOrForAnUnmodifiedText) {
  TRecoveryStore::SetActive(nullptr);
  TMemoryEdit edit;
  TRecoveryTracker tracker(edit, [] { return TRecoveryRecord(); });
  type(edit, tracker, QStringLiteral("x"));
  EXPECT_FALSE(tracker.Pending());
  TRecoveryStore::SetActive(store.get());
  edit.SetText(QStringLiteral("loaded"));  // a load: not modified
  tracker.TextChanged();
  EXPECT_FALSE(tracker.Pending());  // no copy waits to be written
  store->Flush();
  EXPECT_TRUE(store->OwnCopies().isEmpty());
}
