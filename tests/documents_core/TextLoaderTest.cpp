// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTest>

#include "TestEnvironment.h"
#include "documents/core/TextLoader.h"

namespace {

// Waits for the loader with a generous bound, so that a loader that never ends fails the test.
bool finishes(const TTextLoader &loader) {
  return QTest::qWaitFor([&] { return loader.Finished(); }, 60000);
}

}  // namespace

TEST(TextLoader, ReadsAndDecodesOnItsOwnThreadOrAtOnce) {
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("loader"));
  QByteArray bytes;
  while (bytes.size() < 6 * 1024 * 1024)
    bytes +=
        "Gr\xC3\xBC\xC3\x9F"
        "e, line\r\n";
  const QString path = TestEnvironment::WriteFile(dir + QStringLiteral("/big.txt"), bytes);
  for (const bool threaded : {true, false}) {
    SCOPED_TRACE(threaded);
    TTextLoader loader(path, 1 << 30, true, threaded);
    ASSERT_TRUE(finishes(loader));
    EXPECT_FALSE(loader.Cancelled());
    EXPECT_TRUE(loader.Error().isEmpty());
    EXPECT_EQ(loader.Progress(), 1000);
    // In chunks of about a megabyte, each ending after a line.
    const std::deque<QString> &chunks = loader.Decoded().chunks;
    EXPECT_GE(chunks.size(), 5U);
    for (const QString &chunk : chunks) {
      EXPECT_LE(chunk.size(), 2 * TextFile::ChunkChars);
      EXPECT_TRUE(&chunk == &chunks.back() || chunk.endsWith(u'\n'));
    }
    const TDecodedText decoded = TextFile::JoinChunks(std::move(loader.Decoded()));
    EXPECT_EQ(decoded.format.encoding, TTextEncoding::Utf8);
    EXPECT_EQ(decoded.format.lineEnd, TLineEnd::CrLf);
    EXPECT_EQ(TextFile::Encode(TextFile::JoinBreaks(decoded), decoded.format), bytes);
    EXPECT_EQ(loader.Stamp().size, bytes.size());
    EXPECT_EQ(loader.Stamp().hash, TFileStamp::Hash(bytes));
  }
  // Rich text: the bytes only.
  TTextLoader rich(path, 1 << 30, false);
  ASSERT_TRUE(finishes(rich));
  EXPECT_EQ(rich.Bytes(), bytes);
  EXPECT_TRUE(rich.Decoded().chunks.empty());
}

TEST(TextLoader, CancelAndRefusalsEndTheThreadWithNothingKept) {
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("loader-stop"));
  const QString path = TestEnvironment::WriteFile(dir + QStringLiteral("/big.txt"),
                                                  QByteArray(64 * 1024 * 1024, 'x'));
  TTextLoader loader(path, 1 << 30, true);
  loader.Cancel();
  ASSERT_TRUE(finishes(loader));
  EXPECT_TRUE(loader.Cancelled());
  EXPECT_TRUE(loader.Error().isEmpty());
  EXPECT_TRUE(loader.Bytes().isEmpty());
  EXPECT_TRUE(loader.Decoded().chunks.empty());

  const QString fifo = dir + QStringLiteral("/pipe");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  TTextLoader pipe(fifo, 1 << 30, true);
  ASSERT_TRUE(finishes(pipe));
  EXPECT_EQ(pipe.Error(), QStringLiteral("It is a named pipe (FIFO), not a file"));

  // A file larger than the limit is refused with its size, not cut.
  TTextLoader large(path, 1024, true);
  ASSERT_TRUE(finishes(large));
  EXPECT_TRUE(large.Error().startsWith(QStringLiteral("It is too large: ")));
  EXPECT_TRUE(large.Decoded().chunks.empty());
}
