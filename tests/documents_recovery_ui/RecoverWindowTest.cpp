// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "ModalAnswerer.h"
#include "TestEditHost.h"
#include "TestEnvironment.h"
#include "documents/recovery/RecoveryStartUp.h"
#include "documents/recovery/RecoveryTracker.h"
#include "documents/recovery/fmRecover.h"
#include "documents/ui/RichEdit.h"
#include "documents/ui/fmEdit.h"
#include "platform/ui/PanelStatusBar.h"

namespace {

class RecoverWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = TestEnvironment::FreshDir(QStringLiteral("recover")) + u'/';
    store = std::make_unique<TRecoveryStore>(dir + QStringLiteral("recovery/"));
    TRecoveryStore::SetActive(store.get());
    // A program that wrote two copies and ended without closing its documents.
    file = TestEnvironment::WriteFile(dir + QStringLiteral("letter.txt"), "on disk\r\n");
    TRecoveryStore dead(dir + QStringLiteral("recovery/"));
    TRecoveryRecord untitled;
    untitled.name = u' ' + dir + QStringLiteral("untitled.txt");
    untitled.text = QStringLiteral("shopping\nmilk");
    untitled.caret = 4;
    untitled.changedMs = 1'765'000'000'000;
    dead.Write(dead.NewSlot(), untitled);
    TRecoveryRecord titled;
    titled.name = file;
    titled.diskKnown = true;
    titled.diskSize = 9;
    titled.diskModifiedNs = 1;  // the file was written since
    titled.format = {TTextEncoding::Utf8, TLineEnd::CrLf, {}};
    titled.text = QStringLiteral("changed\non disk\n");
    titled.caret = 7;
    titled.changedMs = 1'765'000'100'000;
    dead.Write(dead.NewSlot(), titled);
    dead.Flush();
  }
  void TearDown() override { TRecoveryStore::SetActive(nullptr); }

  QString dir, file;
  std::unique_ptr<TRecoveryStore> store;
  TTestEditHost host;
};

}  // namespace

TEST_F(RecoverWindowTest, ListsEachDocumentWithItsFileOnDisk) {
  TestEnvironment::WriteFile(dir + QStringLiteral("recovery/stray.txt"), "x");
  const TRecoveryClaim claim = store->Claim();
  ASSERT_EQ(claim.copies.size(), 2u);
  TfrmRecover window(claim);
  window.show();
  QTreeWidget *list = window.lstDocuments();
  ASSERT_EQ(list->topLevelItemCount(), 2);
  EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("untitled.txt"));
  EXPECT_EQ(list->topLevelItem(0)->text(2), QStringLiteral("never saved"));
  EXPECT_EQ(list->topLevelItem(1)->text(0), file);
  EXPECT_EQ(list->topLevelItem(1)->text(2), QStringLiteral("changed since"));
  EXPECT_FALSE(list->topLevelItem(1)->text(1).isEmpty());
  EXPECT_TRUE(window.findChild<QPushButton *>(QStringLiteral("btnRecover"))->isDefault());
  auto *notes = window.findChild<QLabel *>(QStringLiteral("lblNotes"));
  ASSERT_TRUE(notes);
  EXPECT_TRUE(notes->text().contains(QStringLiteral("stray.txt")));
  if (qEnvironmentVariableIsSet("VELLUMIX_SHOT"))
    window.grab().save(qEnvironmentVariable("VELLUMIX_SHOT"));

  TRecoveryRecord moved = claim.copies[1].record;
  QFile::remove(file);
  EXPECT_EQ(TfrmRecover::DiskState(moved), QStringLiteral("no longer there"));
}

TEST_F(RecoverWindowTest, RecoverGivesTheDocumentsBackModifiedAndAdoptsTheirCopies) {
  const TRecoveryClaim claim = store->Claim();
  ASSERT_EQ(claim.copies.size(), 2u);
  std::vector<std::unique_ptr<TfrmEdit>> windows;
  for (const TFoundCopy &copy : claim.copies) {
    windows.push_back(std::make_unique<TfrmEdit>(host));
    windows.back()->show();
    RecoveryStartUp::Restore(*windows.back(), copy);
  }
  store->Flush();
  TfrmEdit &untitled = *windows[0];
  EXPECT_EQ(untitled.Caption(), QStringLiteral("untitled.txt"));
  EXPECT_EQ(untitled.FileName(), u' ' + dir + QStringLiteral("untitled.txt"));
  EXPECT_EQ(untitled.mmoMemo()->TextRange(0, 100), QStringLiteral("shopping\nmilk"));
  EXPECT_EQ(untitled.mmoMemo()->SelStart(), 4);
  EXPECT_TRUE(untitled.mmoMemo()->Modified());
  TfrmEdit &titled = *windows[1];
  EXPECT_EQ(titled.Caption(), QStringLiteral("letter.txt"));
  EXPECT_EQ(titled.FileName(), file);
  EXPECT_EQ(titled.mmoMemo()->LineEnd(), QStringLiteral("\r\n"));
  EXPECT_TRUE(titled.mmoMemo()->Modified());
  ASSERT_TRUE(titled.DiskStamp());
  EXPECT_TRUE(titled.DiskStamp()->ChangedOnDisk(file));  // a save asks before replacing it
  EXPECT_EQ(TestEnvironment::ReadFile(file), QByteArray("on disk\r\n"));
  // The found copies are now this program's: renamed, never lost in between.
  for (const TFoundCopy &copy : claim.copies) EXPECT_FALSE(QFile::exists(copy.path));
  EXPECT_EQ(store->OwnCopies().size(), 2);
  EXPECT_TRUE(QFile::exists(titled.Recovery()->Slot()));
  // Closing without saving on purpose removes the copy.
  titled.mmoMemo()->SetModified(false);
  store->Flush();
  EXPECT_EQ(store->OwnCopies().size(), 1);
}

TEST_F(RecoverWindowTest, DiscardAsksFirstAndLaterKeepsEverything) {
  {
    const TRecoveryClaim claim = store->Claim();
    TfrmRecover window(claim);
    TModalAnswerer answers({QStringLiteral("&No")});
    window.show();
    window.findChild<QPushButton *>(QStringLiteral("btnDiscard"))->click();
    EXPECT_EQ(answers.texts.size(), 1);
    EXPECT_TRUE(window.isVisible());  // not discarded: the window is still there
    window.findChild<QPushButton *>(QStringLiteral("btnLater"))->click();
    EXPECT_EQ(window.Choice(), TfrmRecover::TChoice::Later);
  }
  // Later: the next start finds them again.
  TRecoveryStore next(dir + QStringLiteral("recovery/"));
  const TRecoveryClaim again = next.Claim();
  ASSERT_EQ(again.copies.size(), 2u);
  TfrmRecover window(again);
  TModalAnswerer answers({QStringLiteral("&Yes")});
  window.show();
  window.findChild<QPushButton *>(QStringLiteral("btnDiscard"))->click();
  EXPECT_EQ(window.Choice(), TfrmRecover::TChoice::Discard);
}
