// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

// How a text file's bytes stand for its characters, so that a document is written back the
// way it was read: an unchanged document saves byte for byte.
enum class TTextEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Windows1252 };
// The file's own line-end style: new line breaks get it.
enum class TLineEnd : uint8_t { CrLf, Lf, Cr };

struct TTextFormat {
  TTextEncoding encoding = TTextEncoding::Utf8;
  TLineEnd lineEnd = TLineEnd::Lf;
  // A UTF-16 file of odd length: its last byte, written back after the text.
  QByteArray trailer;

  QString LineEndText() const;
  // "UTF-8", "UTF-8 with BOM", "UTF-16 LE", "UTF-16 BE", "Windows-1252".
  QString EncodingName() const;
  bool operator==(const TTextFormat &) const = default;
};

struct TDecodedText {
  QString text;  // every line break as '\n'
  // The kind of each line break of text, in order (see TextFile::BreakText); empty when every
  // break is the format's line end.
  std::vector<uint8_t> breaks;
  TTextFormat format;      // encoding and first line-end style found
  bool truncated = false;  // the text was cut at the character limit
  // NUL characters, or more than a tenth control characters: probably not text.
  bool binary = false;
  // Bytes the encoding cannot read. Each is kept in the text as a stand-in character
  // (TextFile::IsByteStandIn) and written back as the same byte.
  qsizetype unreadableBytes = 0;
};

// A decoded file's text in chunks that can be let go one after another, so that whoever moves
// the text into a document never holds it twice. Joined, the chunks are Decode's text.
struct TDecodedChunks {
  std::deque<QString> chunks;
  // Everything else Decode gives: the kinds of the line breaks, the format and the flags. Its
  // text stays empty.
  TDecodedText info;
  bool cancelled = false;  // the progress callback asked to stop; nothing is kept
  // The number of characters in all chunks.
  qsizetype Size() const;
};

// A whole file read into memory, or why it was not.
struct TFileBytes {
  QByteArray bytes;
  // Why the file could not be read, in plain words ("there is no such file", "it is a
  // folder", ...); empty when it was read.
  QString error;
  bool cancelled = false;  // the progress callback asked to stop
  bool Ok() const { return error.isEmpty() && !cancelled; }
};

namespace TextFile {

// Kinds of line break. The first three equal the TLineEnd values. The others are characters
// that an edit control takes as the end of a line, so they are kept as breaks of their own.
inline constexpr uint8_t BreakCrLf = 0, BreakLf = 1, BreakCr = 2, BreakParagraph = 3,
                         BreakFrameStart = 4, BreakFrameEnd = 5, BreakKinds = 6;
// The characters of a break kind: "\r\n", "\n", "\r", U+2029, U+FDD0, U+FDD1.
QStringView BreakText(uint8_t kind);

// Decodes a file's bytes so that every byte survives. A byte-order mark decides the
// encoding; else UTF-8 when at least as many of its multi-byte sequences are valid as bytes
// are not; else Windows-1252 (which reads every byte). Bytes invalid in the chosen encoding
// become stand-in characters (unreadableBytes counts them). Each line break (CR LF, LF, CR
// and the characters of BreakText) becomes '\n' with its kind kept in breaks; the first of
// CR LF, LF and CR found is the format's line end (LF when there is none). The text is cut
// after maxChars characters.
TDecodedText Decode(QByteArrayView bytes, qsizetype maxChars);

// Characters in a chunk of DecodeChunks.
inline constexpr qsizetype ChunkChars = qsizetype{1} << 20;

// Decode's reading in chunks of about chunkChars characters, each ending after a line break
// unless a line is much longer than a chunk (then a chunk holds at most twice chunkChars), and
// never between the two halves of a surrogate pair. progress is told (bytes decoded, bytes)
// now and then and returns false to stop (then nothing is kept and cancelled is set).
TDecodedChunks DecodeChunks(QByteArrayView bytes, qsizetype maxChars,
                            const std::function<bool(qint64, qint64)> &progress = {},
                            qsizetype chunkChars = ChunkChars);

// The chunks joined into one text, each chunk let go as soon as it is copied.
TDecodedText JoinChunks(TDecodedChunks chunks);

// The text of a decoded file with each line break as it was in the file.
QString JoinBreaks(const TDecodedText &decoded);

// Encodes text exactly as it stands: its line breaks are written as they are. Stand-in
// characters become their bytes again. When lossless is given it is set to false if the
// encoding could not hold some character (which then became a best-fit or '?').
QByteArray Encode(QStringView text, const TTextFormat &format, bool *lossless = nullptr);

// The number of bytes Encode gives for text in the encoding, without its byte-order mark.
qsizetype EncodedSize(QStringView text, TTextEncoding encoding);

// True when every character of text can be written in the encoding.
bool CanEncode(QStringView text, TTextEncoding encoding);

// The stand-in character of an unreadable byte (0x80..0xFF), and back.
inline QChar ByteStandIn(uint8_t byte) { return QChar(char16_t(0xDC00 + byte)); }
inline bool IsByteStandIn(QChar ch) { return ch.unicode() >= 0xDC80 && ch.unicode() <= 0xDCFF; }

// The largest file a document is read from: what the memory the system has free can hold
// with the document's own copies of the text (about eight bytes a byte), and never more than
// a document can count.
qint64 ReadLimit();

// Reads a regular file whole. Named pipes, sockets, devices and folders are refused without
// opening them for long (nothing blocks), and so is a file over maxBytes. progress is told
// (bytes read, file size) after every slice and returns false to stop.
TFileBytes ReadRegularFile(const QString &path, qint64 maxBytes,
                           const std::function<bool(qint64, qint64)> &progress = {});

// What kind of thing a file system entry of this mode is, for messages: "a folder", "a named
// pipe (FIFO)", "a socket", "a character device", "a block device"; empty for a regular file.
QString KindOfEntry(unsigned mode);

}  // namespace TextFile
