// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/core/CodePage.h"

TEST(CodePage, TablesRoundTripEveryByte) {
  for (int b = 0; b < 256; ++b) {
    const QByteArray one(1, char(b));
    EXPECT_EQ(CodePage::ToWindows1252(CodePage::FromWindows1252(one)), one) << b;
    EXPECT_EQ(CodePage::ToOem437(CodePage::FromOem437(one)), one) << b;
  }
}

TEST(CodePage, ConvertsBetweenCodePagesWithBestFit) {
  // é is 0xE9 in 1252 and 0x82 in 437; ß is 0xDF and 0xE1; € has no place in 437.
  EXPECT_EQ(CodePage::AnsiToOem("caf\xE9 \xDF"), QByteArray("caf\x82 \xE1"));
  EXPECT_EQ(CodePage::OemToAnsi("caf\x82 \xE1"), QByteArray("caf\xE9 \xDF"));
  bool lossless = true;
  // Ã is missing in 437: its base letter stands in. € has no base letter: '?'.
  EXPECT_EQ(CodePage::ToOem437(QStringLiteral("Ã€"), &lossless), QByteArray("A?"));
  EXPECT_FALSE(lossless);
  EXPECT_EQ(CodePage::ToWindows1252(QStringLiteral("😀"), &lossless), QByteArray("?"));
  EXPECT_FALSE(lossless);
}
