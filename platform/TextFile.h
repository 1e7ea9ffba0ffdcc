#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// How a text file's bytes stand for its characters, so that a document is written back the
// way it was read: an unchanged document saves byte for byte.
enum class TTextEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Windows1252 };
enum class TLineEnd { CrLf, Lf, Cr };

struct TTextFormat {
  TTextEncoding encoding = TTextEncoding::Utf8;
  TLineEnd lineEnd = TLineEnd::Lf;

  QString LineEndText() const;
  // "UTF-8", "UTF-8 with BOM", "UTF-16 LE", "UTF-16 BE", "Windows-1252".
  QString EncodingName() const;
  bool operator==(const TTextFormat &) const = default;
};

struct TDecodedText {
  QString text;         // line breaks as '\n'
  TTextFormat format;   // encoding and first line-end style found
  bool truncated = false;  // the text was cut at the character limit
  bool binary = false;     // the bytes hold NUL characters outside UTF-16: probably not text
};

namespace TextFile {

// Decodes a file's bytes: a byte-order mark decides; else valid UTF-8 is UTF-8; else the bytes
// are Windows-1252. Line breaks (CR LF, LF, CR) become '\n'; the first style found is recorded
// (LF when there is none). The text is cut after maxChars characters.
TDecodedText Decode(QByteArrayView bytes, qsizetype maxChars);

// Encodes text whose line breaks are '\n' (a lone '\r' is taken as a break too) in the
// format. When lossless is given it is set to false if the encoding could not hold some
// character (which then became a best-fit or '?').
QByteArray Encode(QStringView text, const TTextFormat &format, bool *lossless = nullptr);

// True when every character of text can be written in the encoding.
bool CanEncode(QStringView text, TTextEncoding encoding);

}  // namespace TextFile
