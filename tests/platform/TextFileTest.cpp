// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <climits>

#include "platform/core/TextFile.h"

namespace {

constexpr qsizetype kNoLimit = 1 << 30;

struct TCase {
  const char *name;
  QByteArray bytes;
  TTextEncoding encoding;
  TLineEnd lineEnd;
};

QByteArray utf16(const QString &text, bool le) {
  QByteArray out = le ? QByteArray("\xFF\xFE", 2) : QByteArray("\xFE\xFF", 2);
  for (QChar c : text) {
    const char lo = char(c.unicode() & 0xFF), hi = char(c.unicode() >> 8);
    out.append(le ? lo : hi).append(le ? hi : lo);
  }
  return out;
}

}  // namespace

TEST(TextFile, DetectsEncodingAndLineEndsAndWritesTheSameBytesBack) {
  const QString text = QStringLiteral("Grüße, café €5\nzweite Zeile\n");
  const TCase cases[] = {
      {"utf8 lf", text.toUtf8(), TTextEncoding::Utf8, TLineEnd::Lf},
      {"utf8 bom crlf",
       QByteArray("\xEF\xBB\xBF") + QString(text).replace(u'\n', QStringLiteral("\r\n")).toUtf8(),
       TTextEncoding::Utf8Bom, TLineEnd::CrLf},
      {"utf16le cr", utf16(QString(text).replace(u'\n', u'\r'), true), TTextEncoding::Utf16LE,
       TLineEnd::Cr},
      {"utf16be lf", utf16(text, false), TTextEncoding::Utf16BE, TLineEnd::Lf},
      {"1252 crlf",
       QByteArray("Gr\xFC\xDF"
                  "e, caf\xE9 \x80"
                  "5\r\nzweite Zeile\r\n"),
       TTextEncoding::Windows1252, TLineEnd::CrLf},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.name);
    const TDecodedText decoded = TextFile::Decode(c.bytes, kNoLimit);
    EXPECT_EQ(decoded.text, text);
    EXPECT_EQ(decoded.format.encoding, c.encoding);
    EXPECT_EQ(decoded.format.lineEnd, c.lineEnd);
    EXPECT_FALSE(decoded.truncated);
    EXPECT_EQ(TextFile::Encode(TextFile::JoinBreaks(decoded), decoded.format), c.bytes);
  }
}

TEST(TextFile, CutsAtAGivenLimitAndFlagsBinaryData) {
  const TDecodedText cut = TextFile::Decode("abcdef\r\ngh", 5);
  EXPECT_EQ(cut.text, QStringLiteral("abcde"));
  EXPECT_TRUE(cut.truncated);

  const QByteArray binary(
      "\x7F"
      "ELF\x02\x01\x01\x00\x00\xFF\xFE\x00",
      12);
  const TDecodedText decoded = TextFile::Decode(binary, kNoLimit);
  EXPECT_TRUE(decoded.binary);
  // Without NUL: mostly control characters is binary, a few among text is not.
  EXPECT_TRUE(TextFile::Decode("\x01\x02\x03\x04 abc", kNoLimit).binary);
  EXPECT_FALSE(TextFile::Decode("page one\fpage two\tend\x1b[0m", kNoLimit).binary);
  EXPECT_EQ(decoded.format.encoding, TTextEncoding::Windows1252);
  EXPECT_EQ(TextFile::Encode(TextFile::JoinBreaks(decoded), decoded.format), binary);
}

TEST(TextFile, ReportsCharactersTheEncodingCannotHold) {
  const TTextFormat latin{TTextEncoding::Windows1252, TLineEnd::Lf, {}};
  bool lossless = true;
  EXPECT_EQ(TextFile::Encode(QStringLiteral("ok é"), latin, &lossless), QByteArray("ok \xE9"));
  EXPECT_TRUE(lossless);
  TextFile::Encode(QStringLiteral("日本"), latin, &lossless);
  EXPECT_FALSE(lossless);
  EXPECT_FALSE(TextFile::CanEncode(QStringLiteral("ā"), TTextEncoding::Windows1252));
  EXPECT_TRUE(TextFile::CanEncode(QStringLiteral("日本"), TTextEncoding::Utf16LE));
}

TEST(TextFile, EmptyAndMixedLineEnds) {
  const TDecodedText empty = TextFile::Decode("", kNoLimit);
  EXPECT_TRUE(empty.text.isEmpty());
  EXPECT_EQ(empty.format.encoding, TTextEncoding::Utf8);
  EXPECT_EQ(empty.format.lineEnd, TLineEnd::Lf);
  // Every break becomes one line break; the first style found is the file's, and each break
  // keeps its own kind.
  const TDecodedText mixed = TextFile::Decode("a\r\nb\nc\rd", kNoLimit);
  EXPECT_EQ(mixed.text, QStringLiteral("a\nb\nc\nd"));
  EXPECT_EQ(mixed.format.lineEnd, TLineEnd::CrLf);
  EXPECT_EQ(mixed.breaks,
            (std::vector<uint8_t>{TextFile::BreakCrLf, TextFile::BreakLf, TextFile::BreakCr}));
  EXPECT_EQ(TextFile::Encode(TextFile::JoinBreaks(mixed), mixed.format),
            QByteArray("a\r\nb\nc\rd"));
  // A uniform file needs no list of kinds.
  EXPECT_TRUE(TextFile::Decode("a\nb\n", kNoLimit).breaks.empty());
  // Cut at the limit: the kinds of the breaks that are left.
  const TDecodedText cut = TextFile::Decode("a\nb\rc\r\nd", 4);
  EXPECT_EQ(cut.text, QStringLiteral("a\nb\n"));
  EXPECT_EQ(cut.breaks, (std::vector<uint8_t>{TextFile::BreakLf, TextFile::BreakCr}));
}

TEST(TextFile, EveryByteSurvivesFilesThatNoEncodingReadsWhole) {
  struct TSample {
    const char *name;
    QByteArray bytes;
    TTextEncoding encoding;
    qsizetype unreadable;
  };
  const TSample samples[] = {
      // UTF-8 with one stray byte stays UTF-8: only that byte is unreadable, "à" (C3 A0) and
      // "Р" (D0 A0) keep their characters.
      {"stray byte", QByteArray("voil\xC3\xA0 \xD0\xA0 caf\xE9!\n"), TTextEncoding::Utf8, 1},
      // After a byte-order mark invalid bytes are kept too, not turned into U+FFFD.
      {"bom", QByteArray("\xEF\xBB\xBFok \xFF\xFE \xC3\xA9\xC3\xA9\xC3\xA9"),
       TTextEncoding::Utf8Bom, 2},
      // Truncated and overlong sequences, an encoded surrogate, beyond U+10FFFF.
      {"bad sequences",
       QByteArray("\xE2\x82 \xC0\xAF \xED\xA0\x80 \xF4\x90\x80\x80 "
                  "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82"
                  "\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC"),
       TTextEncoding::Utf8, 11},
      // Mostly single stray bytes: a Windows-1252 file, which reads every byte.
      {"1252", QByteArray("na\xEFve caf\xE9 \xC3\xA9"), TTextEncoding::Windows1252, 0},
      // UTF-16 with an unpaired surrogate and an odd last byte.
      {"utf16",
       QByteArray("\xFF\xFE"
                  "a\0\x00\xDC"
                  "b\0"
                  "c",
                  9),
       TTextEncoding::Utf16LE, 2},
  };
  for (const TSample &sample : samples) {
    SCOPED_TRACE(sample.name);
    const TDecodedText decoded = TextFile::Decode(sample.bytes, kNoLimit);
    EXPECT_EQ(decoded.format.encoding, sample.encoding);
    EXPECT_EQ(decoded.unreadableBytes, sample.unreadable);
    EXPECT_FALSE(decoded.binary);
    EXPECT_FALSE(decoded.text.contains(QChar::ReplacementCharacter));
    EXPECT_EQ(TextFile::Encode(TextFile::JoinBreaks(decoded), decoded.format), sample.bytes);
  }
  const TDecodedText stray = TextFile::Decode("voil\xC3\xA0 \xD0\xA0 caf\xE9!", kNoLimit);
  EXPECT_TRUE(stray.text.startsWith(QStringLiteral("voilà Р caf")));
  EXPECT_TRUE(TextFile::IsByteStandIn(stray.text[11]));

  // A character typed into such a document is written as UTF-8 beside the kept byte.
  EXPECT_EQ(TextFile::Encode(QString(stray.text + QStringLiteral("€")), stray.format),
            QByteArray("voil\xC3\xA0 \xD0\xA0 caf\xE9!\xE2\x82\xAC"));
}

TEST(TextFile, CharactersThatEndLinesInAnEditorAreKeptAsTheirOwnBreaks) {
  const QString text = QStringLiteral("a\u00A0b\u2028c\u2029d\uFDD0e\uFDD1f");
  const TDecodedText decoded = TextFile::Decode(text.toUtf8(), kNoLimit);
  EXPECT_EQ(decoded.text, QStringLiteral("a\u00A0b\u2028c\nd\ne\nf"));
  EXPECT_EQ(decoded.breaks,
            (std::vector<uint8_t>{TextFile::BreakParagraph, TextFile::BreakFrameStart,
                                  TextFile::BreakFrameEnd}));
  EXPECT_EQ(TextFile::JoinBreaks(decoded), text);
}

namespace {

QString tempDir() {
  QString dir = QDir::tempPath() + QStringLiteral("/vellumix-textfile-%1").arg(::getpid());
  QDir().mkpath(dir);
  return dir;
}

}  // namespace

TEST(TextFile, ReadsOnlyRegularFilesAndSaysWhyNot) {
  const QString dir = tempDir();
  const QString file = dir + QStringLiteral("/plain.txt");
  {
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(QByteArray(9 * 1024 * 1024 + 7, 'a'));  // more than one slice
  }
  qint64 lastDone = 0, lastSize = 0;
  const TFileBytes read = TextFile::ReadRegularFile(file, 1 << 30, [&](qint64 done, qint64 size) {
    EXPECT_GT(done, lastDone);
    lastDone = done;
    lastSize = size;
    return true;
  });
  EXPECT_TRUE(read.Ok());
  EXPECT_EQ(read.bytes.size(), 9 * 1024 * 1024 + 7);
  EXPECT_EQ(lastDone, lastSize);

  // Stopped by the caller: nothing kept, no error.
  const TFileBytes stopped =
      TextFile::ReadRegularFile(file, 1 << 30, [](qint64, qint64) { return false; });
  EXPECT_TRUE(stopped.cancelled);
  EXPECT_TRUE(stopped.error.isEmpty());
  EXPECT_TRUE(stopped.bytes.isEmpty());

  // Over the limit: refused before anything is read.
  const TFileBytes large = TextFile::ReadRegularFile(file, 1000);
  EXPECT_TRUE(large.error.startsWith(QStringLiteral("It is too large: ")))
      << large.error.toStdString();
  EXPECT_TRUE(large.bytes.isEmpty());

  EXPECT_EQ(TextFile::ReadRegularFile(dir + QStringLiteral("/missing.txt"), 1000).error,
            QStringLiteral("There is no such file"));
  EXPECT_EQ(TextFile::ReadRegularFile(dir, 1000).error, QStringLiteral("It is a folder"));
  EXPECT_EQ(TextFile::ReadRegularFile(file + QStringLiteral("/below"), 1000).error,
            QStringLiteral("A part of its path is not a folder"));

  // A named pipe without a writer would block a reader for good; it is refused at once.
  const QString fifo = dir + QStringLiteral("/pipe");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  EXPECT_EQ(TextFile::ReadRegularFile(fifo, 1000).error,
            QStringLiteral("It is a named pipe (FIFO), not a file"));
  // Endless devices never reach the memory.
  EXPECT_EQ(TextFile::ReadRegularFile(QStringLiteral("/dev/zero"), 1 << 30).error,
            QStringLiteral("It is a character device, not a file"));

  if (::geteuid() != 0) {  // the superuser reads every file
    QFile::setPermissions(file, QFileDevice::WriteOwner);
    EXPECT_EQ(TextFile::ReadRegularFile(file, 1 << 30).error,
              QStringLiteral("Permission to read it is denied"));
  }
  QDir(dir).removeRecursively();
}

TEST(TextFile, TheReadLimitFollowsFreeMemoryWithinWhatADocumentCounts) {
  const qint64 limit = TextFile::ReadLimit();
  EXPECT_GT(limit, 16 * 1024 * 1024);  // every machine that runs the tests holds that much
  EXPECT_LT(limit, qint64(INT_MAX));
}
