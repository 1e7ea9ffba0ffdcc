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
    EXPECT_EQ(TextFile::Encode(decoded.text, decoded.format), c.bytes);
  }
}

TEST(TextFile, CutsAtTheLimitAndFlagsBinaryData) {
  const TDecodedText cut = TextFile::Decode("abcdef\r\ngh", 5);
  EXPECT_EQ(cut.text, QStringLiteral("abcde"));
  EXPECT_TRUE(cut.truncated);

  const QByteArray binary("\x7F" "ELF\x02\x01\x01\x00\x00\xFF\xFE\x00", 12);
  const TDecodedText decoded = TextFile::Decode(binary, kNoLimit);
  EXPECT_TRUE(decoded.binary);
  EXPECT_EQ(decoded.format.encoding, TTextEncoding::Windows1252);
  EXPECT_EQ(TextFile::Encode(decoded.text, decoded.format), binary);
}

TEST(TextFile, ReportsCharactersTheEncodingCannotHold) {
  const TTextFormat latin{TTextEncoding::Windows1252, TLineEnd::Lf};
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
  // Every break becomes one line break; the first style found is the file's.
  const TDecodedText mixed = TextFile::Decode("a\r\nb\nc\rd", kNoLimit);
  EXPECT_EQ(mixed.text, QStringLiteral("a\nb\nc\nd"));
  EXPECT_EQ(mixed.format.lineEnd, TLineEnd::CrLf);
}
