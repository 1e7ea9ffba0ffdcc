// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>

#include "AppFixture.h"
#include "documents/recovery/RecoveryStartUp.h"
#include "documents/recovery/RecoveryStore.h"
#include "documents/recovery/RecoveryTracker.h"
#include "documents/recovery/SessionList.h"
#include "settings/core/RootKey.h"

namespace {

TfrmEdit *windowNamed(TfrmMain &m, const QString &caption) {
  for (TfrmEdit *edit : m.EditWindows())
    if (edit->Caption() == caption && !edit->mmoMemo()->toPlainText().isEmpty()) return edit;
  return nullptr;
}

}  // namespace

TEST_F(AppFixture, ReopenLastSessionBringsBackItsFilesAndUntitledText) {
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("session"));
  const QString file =
      TestEnvironment::WriteFile(dir + QStringLiteral("/notes.txt"), "alpha\nbeta\n");
  {
    TfrmMain &m = Start();
    QAction *reopen = m.Action(QStringLiteral("mniReopenSession"));
    ASSERT_TRUE(reopen);
    EXPECT_FALSE(reopen->isChecked());  // off until the user checks it
    reopen->trigger();
    EXPECT_TRUE(reopen->isChecked());
    EXPECT_TRUE(RecoveryStartUp::ReopenSession());  // stored at once

    m.OpenFile(file)->mmoMemo()->SetSelection(3, 0);
    TfrmEdit *untitled = m.NewWorkspace();
    QTest::keyClicks(untitled->mmoMemo(), QStringLiteral("typed, never saved"));
    ASSERT_TRUE(untitled->mmoMemo()->Modified());

    TModalAnswerer answers;
    EXPECT_TRUE(m.close());  // no question for the untitled document
    EXPECT_TRUE(answers.texts.isEmpty()) << answers.texts.join(u'|').toStdString();
    main.reset();
  }
  TfrmMain &m = Start();
  EXPECT_TRUE(m.Action(QStringLiteral("mniReopenSession"))->isChecked());
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return windowNamed(m, QStringLiteral("notes.txt")) &&
               windowNamed(m, QStringLiteral("untitled.txt"));
      },
      20000));
  TfrmEdit *notes = windowNamed(m, QStringLiteral("notes.txt"));
  EXPECT_EQ(notes->FileName(), file);
  EXPECT_EQ(notes->mmoMemo()->SelStart(), 3);
  EXPECT_FALSE(notes->mmoMemo()->Modified());
  TfrmEdit *kept = windowNamed(m, QStringLiteral("untitled.txt"));
  EXPECT_EQ(kept->mmoMemo()->toPlainText(), QStringLiteral("typed, never saved"));
  EXPECT_TRUE(kept->mmoMemo()->Modified());
  EXPECT_EQ(TestEnvironment::ReadFile(file), QByteArray("alpha\nbeta\n"));
}

TEST_F(AppFixture, ACancelledExitKeepsTheTextOfAnUntitledDocumentAlreadyClosed) {
  RecoveryStartUp::SetReopenSession(true);
  {
    TRootKey root;
    SessionList::Save(root, {});  // nothing left of another test's session
    root.Close();
  }
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("cancel"));
  {
    TfrmMain &m = Start();
    Settle();
    TfrmEdit *untitled = m.EditWindows().first();
    QTest::keyClicks(untitled->mmoMemo(), QStringLiteral("first"));
    TfrmEdit *titled = m.OpenFile(TestEnvironment::WriteFile(dir + QStringLiteral("/a.txt"), "x"));
    QTest::keyClicks(titled->mmoMemo(), QStringLiteral("changed "));
    // The untitled document closes unasked, the titled one is asked and the user cancels:
    // the exit stops with the untitled document gone, its text kept.
    {
      TModalAnswerer answers({QStringLiteral("Cancel")});
      EXPECT_FALSE(m.close());
      EXPECT_EQ(answers.texts.size(), 1);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.EditWindows().size() == 1; }, 10000));
    EXPECT_FALSE(titled->Recovery()->KeptForSession());
    // Later the user leaves without saving the titled one: the closed one's text survives.
    TModalAnswerer answers({QStringLiteral("&No")});
    EXPECT_TRUE(m.close());
    main.reset();
  }
  TfrmMain &m = Start();
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return windowNamed(m, QStringLiteral("untitled.txt")); }, 20000));
  EXPECT_EQ(windowNamed(m, QStringLiteral("untitled.txt"))->mmoMemo()->toPlainText(),
            QStringLiteral("first"));
  EXPECT_EQ(TestEnvironment::ReadFile(dir + QStringLiteral("/a.txt")), QByteArray("x"));
}
