#include "TextFile.h"

#include <gtest/gtest.h>

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
      {"utf8 bom crlf", QByteArray("\xEF\xBB\xBF") + QString(text).replace(u'\n', QStringLiteral("\r\n")).toUtf8(),
       TTextEncoding::Utf8Bom, TLineEnd::CrLf},
      {"utf16le cr", utf16(QString(text).replace(u'\n', u'\r'), true), TTextEncoding::Utf16LE, TLineEnd::Cr},
      {"utf16be lf", utf16(text, false), TTextEncoding::Utf16BE, TLineEnd::Lf},
      {"1252 crlf", QByteArray("Gr\xFC\xDF" "e, caf\xE9 \x80" "5\r\nzweite Zeile\r\n"), TTextEncoding::Windows1252,
       TLineEnd::CrLf},
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

TEST(TextFile, CutsAtTheLimitAndFlagsBinaryData) {
  const TDecodedText cut = TextFile::Decode("abcdef\r\ngh", 5);
  EXPECT_EQ(cut.text, QStringLiteral("abcde"));
  EXPECT_TRUE(cut.truncated);

  const QByteArray binary("\x7F" "ELF\x02\x01\x01\x00\x00\xFF\xFE\x00", 12);
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
  EXPECT_EQ(mixed.breaks, (std::vector<uint8_t>{TextFile::BreakCrLf, TextFile::BreakLf, TextFile::BreakCr}));
  EXPECT_EQ(TextFile::Encode(TextFile::JoinBreaks(mixed), mixed.format), QByteArray("a\r\nb\nc\rd"));
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
      {"bom", QByteArray("\xEF\xBB\xBFok \xFF\xFE \xC3\xA9\xC3\xA9\xC3\xA9"), TTextEncoding::Utf8Bom, 2},
      // Truncated and overlong sequences, an encoded surrogate, beyond U+10FFFF.
      {"bad sequences", QByteArray("\xE2\x82 \xC0\xAF \xED\xA0\x80 \xF4\x90\x80\x80 \xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC"),
       TTextEncoding::Utf8, 11},
      // Mostly single stray bytes: a Windows-1252 file, which reads every byte.
      {"1252", QByteArray("na\xEFve caf\xE9 \xC3\xA9"), TTextEncoding::Windows1252, 0},
      // UTF-16 with an unpaired surrogate and an odd last byte.
      {"utf16", QByteArray("\xFF\xFE" "a\0\x00\xDC" "b\0" "c", 9), TTextEncoding::Utf16LE, 2},
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
  EXPECT_EQ(decoded.breaks, (std::vector<uint8_t>{TextFile::BreakParagraph, TextFile::BreakFrameStart,
                                                  TextFile::BreakFrameEnd}));
  EXPECT_EQ(TextFile::JoinBreaks(decoded), text);
}
