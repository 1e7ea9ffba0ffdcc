// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "documents/recovery/SessionList.h"
#include "settings/core/RootKey.h"

TEST(SessionList, IsOffUntilSwitchedOnAndKeepsItsDocuments) {
  TRootKey root;
  EXPECT_FALSE(SessionList::ReopenEnabled(root));
  SessionList::SetReopenEnabled(root, true);
  EXPECT_TRUE(SessionList::ReopenEnabled(root));
  EXPECT_EQ(root.ReadString(SessionList::Section, QStringLiteral("Reopen"), QString()),
            QStringLiteral("True"));

  const std::vector<TSessionDocument> three = {{QStringLiteral("/a/one.txt"), 5},
                                               {QStringLiteral("/b/two words.txt"), 0},
                                               {QStringLiteral("/c/three.txt"), 123456}};
  SessionList::Save(root, three);
  EXPECT_EQ(SessionList::Load(root), three);
  // A shorter list leaves nothing of the longer one behind.
  SessionList::Save(root, {three[1]});
  EXPECT_EQ(SessionList::Load(root), std::vector<TSessionDocument>{three[1]});
  EXPECT_FALSE(root.ValueExists(SessionList::Section, QStringLiteral("File2")));
  EXPECT_TRUE(SessionList::ReopenEnabled(root));  // the switch stays as it was
}

TEST(SessionList, DamagedValuesAreBounded) {
  TRootKey root;
  root.WriteString(SessionList::Section, QStringLiteral("Count"), QStringLiteral("99999999"));
  root.WriteString(SessionList::Section, QStringLiteral("File1"), QStringLiteral("/x.txt"));
  root.WriteString(SessionList::Section, QStringLiteral("Caret1"), QStringLiteral("-7"));
  const auto documents = SessionList::Load(root);
  ASSERT_EQ(documents.size(), 1u);  // missing entries are skipped, the count is capped
  EXPECT_EQ(documents[0].caret, 0);
  root.WriteString(SessionList::Section, QStringLiteral("Reopen"), QStringLiteral("maybe"));
  EXPECT_FALSE(SessionList::ReopenEnabled(root));
}
