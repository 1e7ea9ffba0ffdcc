// SPDX-License-Identifier: GPL-3.0-or-later
// The decoding of a file's text in chunks: wherever the chunks start and end (in the middle of
// a CR LF, a UTF-8 sequence, a surrogate pair or an invalid byte), joined they are exactly the
// text, breaks, format and flags the whole decoding gives.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <initializer_list>

#include "TestEnvironment.h"
#include "platform/core/TextFile.h"

namespace {

constexpr qsizetype kNoLimit = 1 << 30;

// Decodes bytes in chunks of chunkChars and checks each chunk: never empty nor over twice
// chunkChars, each but the last ending after a line break (or full, with a line far longer than
// a chunk) and never with the first half of a surrogate pair. Joined, the chunks must give
// everything Decode gives.
void expectChunksAsWhole(const QByteArray &bytes, qsizetype chunkChars,
                         qsizetype maxChars = kNoLimit) {
  SCOPED_TRACE(testing::Message() << "chunks of " << chunkChars << ", limit " << maxChars);
  const TDecodedText whole = TextFile::Decode(bytes, maxChars);
  TDecodedChunks chunks = TextFile::DecodeChunks(bytes, maxChars, {}, chunkChars);
  ASSERT_FALSE(chunks.cancelled);
  const qsizetype most = std::max<qsizetype>(2 * chunkChars, 2);
  for (size_t i = 0; i < chunks.chunks.size(); ++i) {
    const QString &chunk = chunks.chunks[i];
    ASSERT_FALSE(chunk.isEmpty()) << i;
    ASSERT_LE(chunk.size(), most) << i;
    if (i + 1 == chunks.chunks.size()) break;
    ASSERT_FALSE(chunk.back().isHighSurrogate()) << i;
    ASSERT_TRUE(chunk.endsWith(u'\n') || chunk.size() >= most - 1) << i;
  }
  const TDecodedText joined = TextFile::JoinChunks(std::move(chunks));
  EXPECT_EQ(joined.text, whole.text);
  EXPECT_EQ(joined.breaks, whole.breaks);
  EXPECT_EQ(joined.format, whole.format);
  EXPECT_EQ(joined.truncated, whole.truncated);
  EXPECT_EQ(joined.binary, whole.binary);
  EXPECT_EQ(joined.unreadableBytes, whole.unreadableBytes);
}

void expectEveryChunkSize(const QByteArray &bytes) {
  for (const qsizetype chunkChars : {1, 2, 3, 4, 5, 6, 7, 9, 64}) {
    expectChunksAsWhole(bytes, chunkChars);
    if (testing::Test::HasFatalFailure()) return;
  }
}

QByteArray utf16(std::initializer_list<char16_t> units, bool le) {
  QByteArray out = le ? QByteArray("\xFF\xFE", 2) : QByteArray("\xFE\xFF", 2);
  for (const char16_t u : units) {
    const char lo = char(u & 0xFF), hi = char(u >> 8);
    out.append(le ? lo : hi).append(le ? hi : lo);
  }
  return out;
}

}  // namespace

TEST(TextChunks, LineBreaksPairsAndInvalidBytesSurviveEveryChunkBoundary) {
  // CR LF split at every position, blank lines, a CR at the very end.
  const QByteArray breaks("a\r\nb\r\n\r\nc\rd\n\re\r", 15);
  expectEveryChunkSize(breaks);
  const TDecodedText read = TextFile::JoinChunks(TextFile::DecodeChunks(breaks, kNoLimit, {}, 1));
  EXPECT_EQ(read.text, QStringLiteral("a\nb\n\nc\nd\n\ne\n"));
  EXPECT_EQ(read.format.lineEnd, TLineEnd::CrLf);
  EXPECT_EQ(read.breaks.size(), 7U);

  // Four-byte UTF-8 characters (surrogate pairs in the text) at every position.
  const QByteArray pairs = QStringLiteral("x😀y😀😀\n😀\r\n😀z😀").toUtf8();
  expectEveryChunkSize(pairs);
  EXPECT_EQ(TextFile::JoinChunks(TextFile::DecodeChunks(pairs, kNoLimit, {}, 1)).text,
            QStringLiteral("x😀y😀😀\n😀\n😀z😀"));

  // Truncated sequences and stray bytes among enough valid ones to stay UTF-8.
  const QByteArray invalid(
      "\xC3\xA9\xE2\x82 \xC3\xA9\xF0\x9F\x98\xC3\xA9\xC3\r\n\xC3\xA9\xFF"
      "\xC3\xA9\xE2\x82\xAC\xE2\x82\xAC\xC3\xA9\xC3\xA9\xE2");
  expectEveryChunkSize(invalid);
  const TDecodedText utf8 = TextFile::Decode(invalid, kNoLimit);
  EXPECT_EQ(utf8.format.encoding, TTextEncoding::Utf8);
  EXPECT_EQ(utf8.unreadableBytes, 8);

  // Byte-order marks, and files that are nothing else.
  for (const QByteArray &bytes : {QByteArray("\xEF\xBB\xBF"
                                             "caf\xC3\xA9\r\nbad \xFF\r\n"),
                                  QByteArray("\xEF\xBB\xBF"), QByteArray("\xFF\xFE"),
                                  QByteArray("\xFE\xFF"), QByteArray("\xFF\xFE\x41"), QByteArray()})
    expectEveryChunkSize(bytes);

  // UTF-16 both ways: a pair, a CR LF, a lone high and a lone low surrogate, a high surrogate
  // before a line break, a pair at the end, and an odd last byte.
  for (const bool le : {true, false}) {
    const QByteArray bytes = utf16({u'a', 0xD83D, 0xDE00, u'\r', u'\n', 0xD800, u'b', 0xDC01, u'c',
                                    0xD83D, u'\n', 0x2029, u'd', 0xD83D, 0xDE00},
                                   le) +
                             "!";
    expectEveryChunkSize(bytes);
    const TDecodedText decoded = TextFile::Decode(bytes, kNoLimit);
    EXPECT_EQ(decoded.format.encoding, le ? TTextEncoding::Utf16LE : TTextEncoding::Utf16BE);
    EXPECT_EQ(decoded.unreadableBytes, 4);  // three lone surrogates and the odd byte
    EXPECT_EQ(decoded.format.trailer, QByteArray("!"));
  }

  // Windows-1252 (the UTF-8 reading is dropped), binary data, breaks of their own.
  expectEveryChunkSize(QByteArray("na\xEFve\r\ncaf\xE9\r\n\x80 \xC3\xA9\r"));
  expectEveryChunkSize(QByteArray("\x01\x02\x03\x04 abc\r\n\x05", 11));
  expectEveryChunkSize(QByteArray("ELF\0\0\x01\r\n", 8));
  expectEveryChunkSize(QStringLiteral("a\u2029b\uFDD0c\uFDD1\r\nd\u2028e").toUtf8());
}

TEST(TextChunks, ALimitCutsTheChunksWhereItCutsTheWholeText) {
  const QByteArray bytes = QStringLiteral("ab\r\ncd😀\ne\rf\r\n\r\ng😀").toUtf8();
  for (qsizetype limit = 0; limit <= 16; ++limit) {
    expectChunksAsWhole(bytes, 1, limit);
    expectChunksAsWhole(bytes, 3, limit);
  }
  const TDecodedText cut = TextFile::JoinChunks(TextFile::DecodeChunks(bytes, 5, {}, 2));
  EXPECT_TRUE(cut.truncated);
  EXPECT_EQ(cut.text, QStringLiteral("ab\ncd"));
}

TEST(TextChunks, ALongLineIsCutIntoChunksWithoutHalvingACharacter) {
  // Three megabytes on one line, a four-byte character where a full chunk ends.
  QByteArray line(2 * TextFile::ChunkChars - 1, 'a');
  line += QStringLiteral("😀").toUtf8();
  while (line.size() < 3 * 1000 * 1000) line += "{\"key\":\"value\"},";
  TDecodedChunks chunks = TextFile::DecodeChunks(line, kNoLimit);
  ASSERT_EQ(chunks.chunks.size(), 2U);
  EXPECT_EQ(chunks.chunks.front().size(), 2 * TextFile::ChunkChars - 1);
  EXPECT_TRUE(chunks.chunks.back().front().isHighSurrogate());
  expectChunksAsWhole(line, TextFile::ChunkChars);
  expectChunksAsWhole(line, 1000);
  EXPECT_EQ(TextFile::JoinChunks(std::move(chunks)).text, QString::fromUtf8(line));
}

TEST(TextChunks, FilesOfThisMachineDecodeTheSameInChunks) {
  int files = 0;
  for (const QString &folder :
       {QStringLiteral("/usr/share/common-licenses"), QStringLiteral("/etc"),
        QStringLiteral("/usr/share/X11/locale/en_US.UTF-8"),
        QStringLiteral("/usr/share/i18n/locales")}) {
    QDirIterator it(folder, QDir::Files | QDir::Readable);
    int fromFolder = 0;
    while (it.hasNext() && fromFolder < 25) {
      const QFileInfo info(it.next());
      if (!info.isFile() || info.size() > 4 * 1024 * 1024) continue;
      QFile file(info.filePath());
      if (!file.open(QIODevice::ReadOnly)) continue;
      const QByteArray bytes = file.readAll();
      SCOPED_TRACE(info.filePath().toStdString());
      for (const qsizetype chunkChars : {7, 4096}) expectChunksAsWhole(bytes, chunkChars);
      ++fromFolder;
      ++files;
    }
  }
  EXPECT_GT(files, 20);
}

TEST(TextChunks, RandomMixturesDecodeTheSameInChunks) {
  // Pieces that matter to a decoder, in random order, after each kind of byte-order mark.
  const QByteArray pieces[] = {"a",        "\r",           "\n",
                               "\r\n",     "\xC3\xA9",     "\xF0\x9F\x98\x80",
                               "\xE2\x82", "\xFF",         QByteArray(1, '\0'),
                               "\x01",     "\xE2\x80\xA9", " "};
  const QByteArray starts[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
  const QByteArray choices = TestEnvironment::RandomBytes(40 * 200);
  for (int round = 0; round < 40; ++round) {
    QByteArray bytes = starts[round % 4];
    for (int i = 0; i < 200; ++i)
      bytes += pieces[static_cast<unsigned char>(choices[round * 200 + i]) % std::size(pieces)];
    SCOPED_TRACE(round);
    for (const qsizetype chunkChars : {1, 2, 5, 13}) expectChunksAsWhole(bytes, chunkChars);
  }
}

TEST(TextChunks, ProgressIsToldAndCanStop) {
  const QByteArray bytes = QByteArray("line\r\n").repeated(100 * 1000);
  qint64 last = 0;
  int calls = 0;
  const TDecodedChunks read =
      TextFile::DecodeChunks(bytes, kNoLimit, [&](qint64 done, qint64 size) {
        EXPECT_EQ(size, bytes.size());
        EXPECT_GE(done, last);
        last = done;
        ++calls;
        return true;
      });
  EXPECT_FALSE(read.cancelled);
  EXPECT_GT(calls, 1);
  EXPECT_EQ(last, bytes.size());

  const TDecodedChunks stopped =
      TextFile::DecodeChunks(bytes, kNoLimit, [](qint64, qint64) { return false; });
  EXPECT_TRUE(stopped.cancelled);
  EXPECT_TRUE(stopped.chunks.empty());
  EXPECT_EQ(stopped.Size(), 0);
}
