// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFileInfo>

#include "AppFixture.h"

// A save that was stopped while it wrote a file in place (a file with a second name) leaves
// the copy of the previous text beside it; opening the file offers that copy.
TEST_F(AppFixture, OpeningAFileWhoseSaveWasStoppedOffersTheKeptVersion) {
  TfrmMain &m = Start();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("stopped"));
  const QString name = TestEnvironment::WriteFile(dir + QStringLiteral("/doc.txt"), "the new te");
  const QString kept = TestEnvironment::WriteFile(dir + QStringLiteral("/.doc.txt.previous"),
                                                  "the whole previous text");

  // No: the file as it is; the copy stays and is offered again.
  {
    TModalAnswerer answerer({QStringLiteral("&No")});
    TfrmEdit *edit = m.OpenFile(name);
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_EQ(answerer.titles[0], QStringLiteral("Warning"));
    EXPECT_TRUE(answerer.texts[0].contains(QLatin1String("may be incomplete")))
        << answerer.texts[0].toStdString();
    EXPECT_TRUE(answerer.texts[0].contains(kept));
    EXPECT_EQ(edit->mmoMemo()->toPlainText(), QStringLiteral("the new te"));
    EXPECT_FALSE(edit->mmoMemo()->Modified());
    edit->close();
    Settle();
  }
  EXPECT_TRUE(QFileInfo::exists(kept));

  // Yes: the kept version, to be saved under the file's own name.
  TModalAnswerer answerer({QStringLiteral("&Yes")});
  TfrmEdit *edit = m.OpenFile(name);
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_EQ(edit->mmoMemo()->toPlainText(), QStringLiteral("the whole previous text"));
  EXPECT_TRUE(edit->mmoMemo()->Modified());
  EXPECT_EQ(edit->FileName(), name);
  ASSERT_TRUE(m.SaveFile(edit, edit->FileName()));
  EXPECT_EQ(TestEnvironment::ReadFile(name), QByteArray("the whole previous text"));
  EXPECT_FALSE(QFileInfo::exists(kept));
}
