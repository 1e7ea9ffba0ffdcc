// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "DctFiles.h"
#include "TestEnvironment.h"
#include "spell/core/DCTFile.h"
#include "spell/core/SpellErrors.h"

using DctFiles::Node;
using Mode = TDCTFile::TReadMode;

namespace {

// "card" stored; "car" is only a path without the end-of-word flag.
QList<uint32_t> CardOnly() {
  return {Node('c', true, false, 2), Node('a', true, false, 3), Node('r', true, false, 4),
          Node('d', true, true, 0)};
}

class DCTFileTest : public ::testing::TestWithParam<Mode> {
 protected:
  QString dir = TestEnvironment::FreshDir(QStringLiteral("dct"));
  QString Write(const QByteArray &bytes) {
    return DctFiles::Write(dir, QStringLiteral("t.dct"), bytes);
  }
};

TEST_P(DCTFileTest, HeaderIsCheckedOnlyAtTheSignature) {
  // Byte 0 and bytes 51..82 may hold anything.
  TDCTFile any(Write(DctFiles::Bytes(CardOnly(), char(0xFF), char(0xA5))), GetParam());
  EXPECT_TRUE(any.ContainsWord("card"));
  EXPECT_EQ(any.CurrentBlock(), 0);

  // A change in any byte from 1 to 50, including the seven zero bytes, is a corrupt file.
  for (int offset : {1, 20, 43, 44, 50}) {
    QByteArray bytes = DctFiles::Bytes(CardOnly());
    bytes[offset] = char(bytes[offset] ^ 0x20);
    const QString path = Write(bytes);
    try {
      TDCTFile file(path, GetParam());
      ADD_FAILURE() << "opened with byte " << offset << " changed";
    } catch (const TEDictionaryCorrupt &error) {
      EXPECT_EQ(error.Message(), QStringLiteral("Dictionary Corrupt.\n") + path);
    }
  }
}

TEST_P(DCTFileTest, DamagedFilesAreRefusedByName) {
  const QString good = DctFiles::Compile(dir, QStringLiteral("good.dct"),
                                         {"card", "cards", "care", "the", "lot", "often"});
  const QByteArray bytes = TestEnvironment::ReadFile(good);
  {
    TDCTFile sound(good, GetParam());
    EXPECT_TRUE(sound.ContainsWord("often"));
  }
  const auto expectCorrupt = [&](const QByteArray &damaged, const char *what) {
    const QString path = Write(damaged);
    try {
      TDCTFile file(path, GetParam());
      for (const char *word : {"card", "often", "zzz"}) file.ContainsWord(word);
      ADD_FAILURE() << what << ": used";
    } catch (const TEDictionaryCorrupt &error) {
      EXPECT_EQ(error.Message(), QStringLiteral("Dictionary Corrupt.\n") + path) << what;
    }
  };
  expectCorrupt(bytes.left(TDCTFile::kHeaderSize + (bytes.size() - TDCTFile::kHeaderSize) / 2),
                "cut in half");
  expectCorrupt(bytes.left(bytes.size() - 4), "one node short");
  QByteArray noise = bytes.left(TDCTFile::kHeaderSize);
  uint32_t seed = 12345;
  while (noise.size() < bytes.size())
    noise.append(char((seed = seed * 1103515245u + 12345u) >> 16));
  expectCorrupt(noise, "random bytes after the header");
  QByteArray flipped = bytes;
  flipped[bytes.size() - 1] = char(flipped[bytes.size() - 1] ^ 0x01);  // one letter changed
  expectCorrupt(flipped, "one bit changed");
  // A file from another producer carries no seal: its links must still lie inside it.
  expectCorrupt(DctFiles::Bytes({Node('a', false, true, 0), Node('b', true, false, 9)}),
                "a link beyond the last node");
}

TEST_P(DCTFileTest, MissingAndShortFiles) {
  const QString missing = dir + QStringLiteral("/none.dct");
  try {
    TDCTFile file(missing, GetParam());
    ADD_FAILURE();
  } catch (const Spell::EFOpenError &error) {
    EXPECT_EQ(error.Message(), QStringLiteral("Dictionary not found : ") + missing);
  }
  EXPECT_THROW(TDCTFile(Write(DctFiles::Bytes({}).left(82)), GetParam()), Spell::EInOutError);

  // A header without nodes is an empty dictionary.
  TDCTFile empty(Write(DctFiles::Bytes({})), GetParam());
  EXPECT_EQ(empty.NodeCount(), 0u);
  EXPECT_FALSE(empty.ContainsWord("a"));
  EXPECT_EQ(empty.NodeAt(1), 0u);
}

TEST_P(DCTFileTest, BlocksHold128Nodes) {
  EXPECT_EQ(TDCTFile::BlockOf(1), 0);
  EXPECT_EQ(TDCTFile::SlotOf(1), 0);
  EXPECT_EQ(TDCTFile::BlockOf(128), 0);
  EXPECT_EQ(TDCTFile::SlotOf(128), 127);
  EXPECT_EQ(TDCTFile::BlockOf(129), 1);
  EXPECT_EQ(TDCTFile::SlotOf(129), 0);
  EXPECT_EQ(TDCTFile::BlockOf(256), 1);
  EXPECT_EQ(TDCTFile::SlotOf(256), 127);

  QList<uint32_t> nodes;
  for (uint32_t n = 1; n <= 300; ++n) nodes.append(n);  // each value names its own node
  TDCTFile file(Write(DctFiles::Bytes(nodes)), GetParam());
  for (uint32_t n : {1u, 128u, 129u, 256u, 257u, 300u, 2u}) {
    EXPECT_EQ(file.NodeAt(n), n);
    EXPECT_EQ(file.CurrentBlock(), TDCTFile::BlockOf(n));
  }
  // No node: 0 and past the end read as 0 and keep the block in memory.
  EXPECT_EQ(file.NodeAt(0), 0u);
  EXPECT_EQ(file.NodeAt(301), 0u);
  EXPECT_EQ(file.CurrentBlock(), 0);
}

TEST_P(DCTFileTest, WordsNeedTheirEndFlag) {
  TDCTFile file(Write(DctFiles::Bytes(CardOnly())), GetParam());
  EXPECT_TRUE(file.ContainsWord("card"));
  EXPECT_FALSE(file.ContainsWord("car"));
  EXPECT_FALSE(file.ContainsWord("cards"));
  EXPECT_FALSE(file.ContainsWord("cart"));
  EXPECT_FALSE(file.ContainsWord(""));
  EXPECT_FALSE(file.ContainsWord("d"));
  // FindSibling returns the last node of the list when the letter is absent.
  EXPECT_EQ(TDCTFile::Letter(file.FindSibling(1, 'x')), 'c');
}

TEST_P(DCTFileTest, ReadsListsAcrossOddBlockBoundariesAndAShortLastBlock) {
  // An unsorted, unshared root list of 130 nodes straddles blocks 0 and 1; "z" ends it. The
  // child of 'q' (node 2) lies in block 1, its own child back in block 0 (node 3).
  QList<uint32_t> nodes;
  nodes.append(Node('y', false, true, 0));
  nodes.append(Node('q', false, false, 131));
  nodes.append(Node('t', false, true, 0));  // also "t", a word of the root list
  for (int i = 4; i < 130; ++i) nodes.append(Node(char(0x80 + i % 32), false, false, 0));
  nodes.append(Node('z', true, true, 0));
  nodes.append(Node('u', false, false, 3));  // node 131: "qu" -> "qut"
  // "qx" ends the file, which stops two bytes into a node 133.
  nodes.append(Node('x', true, true, 0));
  TDCTFile file(Write(DctFiles::Bytes(nodes, 0, 0x7F, QByteArray("\x01\x02", 2))), GetParam());
  EXPECT_EQ(file.NodeCount(), 132u);
  EXPECT_TRUE(file.ContainsWord("z"));
  EXPECT_TRUE(file.ContainsWord("y"));
  EXPECT_TRUE(file.ContainsWord("qut"));
  EXPECT_FALSE(file.ContainsWord("qu"));
  EXPECT_TRUE(file.ContainsWord("qx"));
  EXPECT_FALSE(file.ContainsWord("qxa"));
  EXPECT_FALSE(file.ContainsWord("w"));
  EXPECT_FALSE(file.HasNode(133));
}

TEST_P(DCTFileTest, MalformedGraphsEndAtTheFile) {
  // A self-loop: lookups end, they never run on.
  QList<uint32_t> nodes{Node('a', false, true, 1), Node('b', true, false, 0)};
  TDCTFile file(Write(DctFiles::Bytes(nodes)), GetParam());
  EXPECT_TRUE(file.ContainsWord(QByteArray(50, 'a')));
  EXPECT_FALSE(file.ContainsWord("ab"));
  EXPECT_FALSE(file.ContainsWord("bx"));
  // A child pointer past the file is damage, not an empty list.
  nodes[1] = Node('b', true, false, 999);
  EXPECT_THROW(TDCTFile(Write(DctFiles::Bytes(nodes)), GetParam()), TEDictionaryCorrupt);
  // A list whose last node has no last flag ends at the end of the file.
  TDCTFile open(Write(DctFiles::Bytes({Node('a', false, false, 0), Node('b', false, true, 0)})),
                GetParam());
  EXPECT_TRUE(open.ContainsWord("b"));
  EXPECT_FALSE(open.ContainsWord("c"));
  EXPECT_EQ(TDCTFile::Letter(open.FindSibling(1, 'c')), 'b');
}

INSTANTIATE_TEST_SUITE_P(BothReadModes, DCTFileTest, ::testing::Values(Mode::Mapped, Mode::Blocks));

}  // namespace

TEST_P(DCTFileTest, AFileCutOrOverwrittenWhileOpenNeverCrashesALookup) {
  // Enough words for many blocks, so that lookups need blocks not yet in memory.
  QStringList words;
  for (int i = 0; i < 600; ++i) words << QStringLiteral("w%1ord").arg(i * 7919 % 100000);
  const QString path = DctFiles::Compile(dir, QStringLiteral("big.dct"), words);
  TDCTFile file(path, GetParam());
  ASSERT_GT(file.NodeCount(), uint32_t(4 * TDCTFile::kNodesPerBlock));
  ASSERT_TRUE(file.ContainsWord(words.first().toLatin1()));

  // Another program cuts the file down to its header and a few nodes, in place.
  QFile cut(path);
  ASSERT_TRUE(cut.resize(TDCTFile::kHeaderSize + 40));
  int answered = 0, refused = 0;
  for (const QString &word : words) {
    try {
      if (file.ContainsWord(word.toLatin1())) ++answered;
    } catch (const Spell::EInOutError &error) {
      EXPECT_TRUE(error.Message().startsWith(QStringLiteral("Cannot read dictionary")));
      ++refused;
    }
  }
  if (GetParam() == Mode::Mapped) {
    // The copy taken at opening answers as before.
    EXPECT_EQ(answered, words.size());
  } else {
    // A block read that comes up short is an input/output error, never stale bytes.
    EXPECT_GT(refused, 0);
  }

  // Overwritten in place with other bytes of the same size: lookups stay within the file.
  QFile over(path);
  ASSERT_TRUE(over.open(QIODevice::WriteOnly));
  over.write(QByteArray(TDCTFile::kHeaderSize + 4 * qsizetype(file.NodeCount()), char(0xFF)));
  over.close();
  for (const QString &word : words) {
    try {
      file.ContainsWord(word.toLatin1());
    } catch (const Spell::EInOutError &) {
    } catch (const TEDictionaryCorrupt &) {  // block by block, the damage shows as it is read
    }
  }
}
