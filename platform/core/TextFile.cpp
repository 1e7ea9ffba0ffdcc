// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/core/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QLocale>
#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <optional>

#include "platform/core/CodePage.h"
#include "platform/core/SystemMemory.h"

namespace {

bool startsWith(QByteArrayView bytes, std::initializer_list<unsigned char> prefix) {
  if (bytes.size() < qsizetype(prefix.size())) return false;
  qsizetype i = 0;
  for (unsigned char b : prefix)
    if (static_cast<unsigned char>(bytes[i++]) != b) return false;
  return true;
}

// Length of the valid UTF-8 sequence starting at bytes[i] (0 when none), and its character.
int sequenceAt(QByteArrayView bytes, qsizetype i, char32_t &code) {
  const auto at = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
  const unsigned char lead = at(i);
  int length;
  char32_t min;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, min = 0x80, code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, min = 0x800, code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, min = 0x10000, code = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > bytes.size()) return 0;
  for (int k = 1; k < length; ++k) {
    const unsigned char next = at(i + k);
    if ((next & 0xC0) != 0x80) return 0;
    code = code << 6 | (next & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

// Gathers decoded characters into chunks the way Decode describes its text: each line break
// becomes '\n' with its kind recorded, the first CR LF, LF or CR found is the line end, the
// signs of binary data are counted over the whole text, and characters past maxChars are
// dropped. The characters come in pieces; a CR LF may be split between two of them.
class TChunkWriter {
 public:
  // maxText: at most this many characters can come (it only sizes the chunks).
  TChunkWriter(TDecodedChunks &out, qsizetype maxChars, qsizetype chunkChars, qsizetype maxText)
      : out_(out),
        maxChars_(maxChars),
        chunkChars_(std::max<qsizetype>(chunkChars, 1)),
        maxText_(std::min(maxText, maxChars)) {}

  // Characters as the file holds them, line breaks and all.
  void Append(QStringView piece) {
    const QChar *next = piece.data();
    const QChar *const end = next + piece.size();
    while (next != end) {
      // Runs of characters that need no look of their own (most of a text) are copied whole.
      if (!pendingCr_) {
        const QChar *run = next;
        while (run != end && isPlain(run->unicode())) ++run;
        if (run != next) {
          putRun(next, run - next);
          next = run;
          continue;
        }
      }
      appendOne(*next++);
    }
    rawSize_ += piece.size();
  }

  void Finish() {
    if (pendingCr_) putBreak(TextFile::BreakCr);
    pendingCr_ = false;
    closeChunk();
    TDecodedText &info = out_.info;
    // NUL characters, or more than a tenth control characters. (Unreadable bytes do not
    // count: a text with a few of them is still a text.)
    info.binary = nul_ || (odd_ > 0 && odd_ * 10 > rawSize_);
    info.format.lineEnd = first_.value_or(TLineEnd::Lf);
    info.truncated = truncated_;
    const auto lineEnd = uint8_t(info.format.lineEnd);
    if (std::all_of(info.breaks.begin(), info.breaks.end(),
                    [lineEnd](uint8_t k) { return k == lineEnd; }))
      info.breaks = {};
  }

 private:
  // Neither a control character nor one that breaks a line.
  static bool isPlain(char16_t c) {
    return c >= 0x20 && c != 0x7F && c != 0x2029 && c != 0xFDD0 && c != 0xFDD1;
  }

  void appendOne(QChar ch) {
    const char16_t c = ch.unicode();
    if (c < 0x20 || c == 0x7F) noteControl(c);
    if (pendingCr_) {
      pendingCr_ = false;
      if (c == u'\n') {
        putBreak(TextFile::BreakCrLf);
        return;
      }
      putBreak(TextFile::BreakCr);
    }
    switch (c) {
      case u'\r':
        pendingCr_ = true;
        break;
      case u'\n':
        putBreak(TextFile::BreakLf);
        break;
      case 0x2029:
        putBreak(TextFile::BreakParagraph);
        break;
      case 0xFDD0:
        putBreak(TextFile::BreakFrameStart);
        break;
      case 0xFDD1:
        putBreak(TextFile::BreakFrameEnd);
        break;
      default:
        put(ch);
    }
  }

  void noteControl(char16_t c) {
    if (c == 0) nul_ = true;
    if (c != u'\t' && c != u'\n' && c != u'\r' && c != u'\f' && c != u'\v' && c != 0x1B) ++odd_;
  }

  void putBreak(uint8_t kind) {
    if (!first_ && kind <= TextFile::BreakCr) first_ = TLineEnd(kind);
    if (kept_ >= maxChars_) {
      truncated_ = true;
      return;
    }
    out_.info.breaks.push_back(kind);
    put(QChar(u'\n'));
    if (next_ - chunk_.constData() >= chunkChars_) closeChunk();
  }

  void put(QChar ch) {
    if (kept_ >= maxChars_) {
      truncated_ = true;
      return;
    }
    if (next_ == end_) startChunk();
    *next_++ = ch;
    ++kept_;
  }

  // Puts count characters starting at from, as put() would one by one: cut at the limit,
  // a new chunk begun whenever one is full.
  void putRun(const QChar *from, qsizetype count) {
    if (count > maxChars_ - kept_) {
      truncated_ = true;
      count = std::max<qsizetype>(maxChars_ - kept_, 0);
    }
    while (count > 0) {
      if (next_ == end_) startChunk();
      const qsizetype taken = std::min<qsizetype>(count, end_ - next_);
      next_ = std::copy_n(from, taken, next_);
      from += taken;
      kept_ += taken;
      count -= taken;
    }
  }

  // A new chunk, once the one being filled is full: a line far longer than a chunk goes on in
  // the next one, but a high surrogate at the end moves along with it to stay with its pair.
  void startChunk() {
    const bool carry =
        next_ != nullptr && next_ - chunk_.constData() > 1 && next_[-1].isHighSurrogate();
    const QChar carried = carry ? *--next_ : QChar();
    closeChunk();
    // No more than the characters still to come need (the carried one counted among kept_),
    // and room for a pair at least.
    const qsizetype room =
        std::max<qsizetype>(std::min(2 * chunkChars_, maxText_ - kept_ + (carry ? 1 : 0)), 2);
    chunk_ = QString(room, Qt::Uninitialized);
    next_ = chunk_.data();
    end_ = next_ + room;
    if (carry) *next_++ = carried;
  }

  void closeChunk() {
    if (next_ != nullptr && next_ != chunk_.constData()) {
      chunk_.truncate(next_ - chunk_.constData());
      chunk_.squeeze();
      out_.chunks.push_back(std::move(chunk_));
    }
    chunk_ = QString();
    next_ = end_ = nullptr;
  }

  TDecodedChunks &out_;
  const qsizetype maxChars_, chunkChars_, maxText_;
  QString chunk_;  // the chunk being filled, next_ to end_ still free
  QChar *next_ = nullptr, *end_ = nullptr;
  qsizetype kept_ = 0;     // characters given to chunks
  qsizetype rawSize_ = 0;  // characters before line breaks became one
  qsizetype odd_ = 0;      // control characters that are not usual in text
  bool nul_ = false, pendingCr_ = false, truncated_ = false;
  std::optional<TLineEnd> first_;
};

// Reads bytes in slices of this many, so that the characters of one stay in the cache on
// their way into the chunks.
constexpr qsizetype kDecodeSlice = qsizetype{64} * 1024;

// Told the bytes decoded after each slice; false stops.
using TDecodeProgress = std::function<bool(qsizetype)>;

struct TUtf8Counts {
  qsizetype invalid = 0;    // bytes outside any valid sequence
  qsizetype multiByte = 0;  // valid sequences of two to four bytes
};

// Whether any of the eight bytes at p is outside ASCII.
bool hasHighBit(const char *p) {
  quint64 word;
  std::memcpy(&word, p, sizeof word);
  return (word & 0x8080808080808080ULL) != 0;
}

// UTF-8 where it is valid; every other byte becomes its stand-in character.
bool readUtf8(QByteArrayView bytes, qsizetype slice, TChunkWriter &writer, TUtf8Counts &counts,
              const TDecodeProgress &progress) {
  // A slice's last sequence may reach three bytes past it, and four bytes give two characters.
  QString piece(std::min(slice, bytes.size()) + 4, Qt::Uninitialized);
  for (qsizetype i = 0; i < bytes.size();) {
    const qsizetype stop = std::min(bytes.size(), i + slice);
    QChar *const start = piece.data();
    QChar *out = start;
    while (i < stop) {
      // Eight bytes at a time while they are all ASCII, as most of a text is.
      while (stop - i >= 8 && !hasHighBit(bytes.data() + i)) {
        for (int k = 0; k < 8; ++k)
          out[k] = QChar(char16_t(static_cast<unsigned char>(bytes[i + k])));
        out += 8;
        i += 8;
      }
      if (i == stop) break;
      const auto byte = static_cast<unsigned char>(bytes[i]);
      if (byte < 0x80) {
        *out++ = QChar(byte);
        ++i;
        continue;
      }
      char32_t code = 0;
      const int length = sequenceAt(bytes, i, code);
      if (length == 0) {
        *out++ = TextFile::ByteStandIn(byte);
        ++counts.invalid;
        ++i;
        continue;
      }
      if (code >= 0x10000) {
        *out++ = QChar(QChar::highSurrogate(code));
        *out++ = QChar(QChar::lowSurrogate(code));
      } else {
        *out++ = QChar(char16_t(code));
      }
      ++counts.multiByte;
      i += length;
    }
    writer.Append(QStringView(start, out));
    if (!progress(i)) return false;
  }
  return true;
}

// UTF-16 code units as they stand, unpaired surrogates included (they are written back the
// same way, and each counts as unreadable).
bool readUtf16(QByteArrayView bytes, bool littleEndian, qsizetype slice, TChunkWriter &writer,
               qsizetype &unreadable, const TDecodeProgress &progress) {
  const qsizetype units = bytes.size() / 2;
  QString piece(std::min(slice, units), Qt::Uninitialized);
  bool pendingHigh = false;
  for (qsizetype u = 0; u < units;) {
    const qsizetype stop = std::min(units, u + slice);
    QChar *const start = piece.data();
    QChar *out = start;
    for (; u < stop; ++u) {
      const auto a = static_cast<unsigned char>(bytes[2 * u]),
                 b = static_cast<unsigned char>(bytes[2 * u + 1]);
      const QChar ch(char16_t(littleEndian ? (b << 8 | a) : (a << 8 | b)));
      *out++ = ch;
      if (pendingHigh) {
        pendingHigh = false;
        if (ch.isLowSurrogate()) continue;
        ++unreadable;
      }
      if (ch.isHighSurrogate())
        pendingHigh = true;
      else if (ch.isLowSurrogate())
        ++unreadable;
    }
    writer.Append(QStringView(start, out));
    if (!progress(2 * u)) return false;
  }
  if (pendingHigh) ++unreadable;
  return true;
}

// Windows-1252 reads every byte.
bool readWindows1252(QByteArrayView bytes, qsizetype slice, TChunkWriter &writer,
                     const TDecodeProgress &progress) {
  QString piece(std::min(slice, bytes.size()), Qt::Uninitialized);
  for (qsizetype i = 0; i < bytes.size();) {
    const qsizetype stop = std::min(bytes.size(), i + slice);
    QChar *const start = piece.data();
    QChar *out = start;
    for (; i < stop; ++i)
      *out++ = QChar(CodePage::Windows1252ToUnicode(static_cast<unsigned char>(bytes[i])));
    writer.Append(QStringView(start, out));
    if (!progress(i)) return false;
  }
  return true;
}

// Runs one reading into fresh chunks of result; false when it was stopped.
template <typename Read>
bool readInto(TDecodedChunks &result, qsizetype maxChars, qsizetype chunkChars, qsizetype maxText,
              const Read &read) {
  TChunkWriter writer(result, maxChars, chunkChars, maxText);
  if (!read(writer)) return false;
  writer.Finish();
  return true;
}

void appendUtf8(QByteArray &out, char32_t code) {
  if (code < 0x80) {
    out.append(char(code));
  } else if (code < 0x800) {
    out.append(char(0xC0 | code >> 6)).append(char(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.append(char(0xE0 | code >> 12))
        .append(char(0x80 | (code >> 6 & 0x3F)))
        .append(char(0x80 | (code & 0x3F)));
  } else {
    out.append(char(0xF0 | code >> 18))
        .append(char(0x80 | (code >> 12 & 0x3F)))
        .append(char(0x80 | (code >> 6 & 0x3F)))
        .append(char(0x80 | (code & 0x3F)));
  }
}

// UTF-8, stand-ins back to their bytes; a surrogate that is neither paired nor a stand-in
// cannot be written and becomes U+FFFD.
QByteArray toUtf8(QStringView text, bool *lossless) {
  QByteArray out;
  out.reserve(text.size() + text.size() / 8);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar ch = text[i];
    if (ch.unicode() < 0x80) {
      out.append(char(ch.unicode()));
    } else if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      appendUtf8(out, QChar::surrogateToUcs4(ch, text[i + 1]));
      ++i;
    } else if (TextFile::IsByteStandIn(ch)) {
      out.append(char(ch.unicode() & 0xFF));
    } else if (ch.isSurrogate()) {
      appendUtf8(out, 0xFFFD);
      if (lossless) *lossless = false;
    } else {
      appendUtf8(out, ch.unicode());
    }
  }
  return out;
}

QByteArray toUtf16(QStringView text, bool littleEndian) {
  QByteArray out(2 * text.size(), Qt::Uninitialized);
  char *p = out.data();
  for (QChar ch : text) {
    const char lo = char(ch.unicode() & 0xFF), hi = char(ch.unicode() >> 8);
    *p++ = littleEndian ? lo : hi;
    *p++ = littleEndian ? hi : lo;
  }
  return out;
}

// Windows-1252, stand-ins back to their bytes.
QByteArray toWindows1252(QStringView text, bool *lossless) {
  QByteArray out;
  out.reserve(text.size());
  qsizetype from = 0;
  for (qsizetype i = 0; i <= text.size(); ++i) {
    if (i < text.size() && !TextFile::IsByteStandIn(text[i])) continue;
    bool exact = true;
    out.append(CodePage::ToWindows1252(text.sliced(from, i - from), &exact));
    if (lossless && !exact) *lossless = false;
    if (i < text.size()) out.append(char(text[i].unicode() & 0xFF));
    from = i + 1;
  }
  return out;
}

}  // namespace

QString TTextFormat::LineEndText() const {
  return TextFile::BreakText(uint8_t(lineEnd)).toString();
}

QString TTextFormat::EncodingName() const {
  switch (encoding) {
    case TTextEncoding::Utf8Bom:
      return QStringLiteral("UTF-8 with BOM");
    case TTextEncoding::Utf16LE:
      return QStringLiteral("UTF-16 LE");
    case TTextEncoding::Utf16BE:
      return QStringLiteral("UTF-16 BE");
    case TTextEncoding::Windows1252:
      return QStringLiteral("Windows-1252");
    case TTextEncoding::Utf8:
      break;
  }
  return QStringLiteral("UTF-8");
}

qsizetype TDecodedChunks::Size() const {
  qsizetype size = 0;
  for (const QString &chunk : chunks) size += chunk.size();
  return size;
}

namespace TextFile {

QStringView BreakText(uint8_t kind) {
  static const std::array<QString, BreakKinds> texts = {
      QStringLiteral("\r\n"), QStringLiteral("\n"),   QStringLiteral("\r"),
      QString(QChar(0x2029)), QString(QChar(0xFDD0)), QString(QChar(0xFDD1))};
  return texts[kind < BreakKinds ? kind : BreakLf];
}

TDecodedText Decode(QByteArrayView bytes, qsizetype maxChars) {
  return JoinChunks(DecodeChunks(bytes, maxChars));
}

TDecodedChunks DecodeChunks(QByteArrayView bytes, qsizetype maxChars,
                            const std::function<bool(qint64, qint64)> &progress,
                            qsizetype chunkChars) {
  const qsizetype slice = std::clamp<qsizetype>(chunkChars, 1, kDecodeSlice);
  // Told the bytes decoded after the first skipped ones.
  const auto goingOn = [&](qsizetype skipped) -> TDecodeProgress {
    return [&progress, &bytes, skipped](qsizetype done) {
      return !progress || progress(skipped + done, bytes.size());
    };
  };
  TDecodedChunks result;
  bool read;
  if (startsWith(bytes, {0xEF, 0xBB, 0xBF})) {
    const QByteArrayView body = bytes.sliced(3);
    TUtf8Counts counts;
    read = readInto(result, maxChars, chunkChars, body.size(), [&](TChunkWriter &writer) {
      return readUtf8(body, slice, writer, counts, goingOn(3));
    });
    result.info.format.encoding = TTextEncoding::Utf8Bom;
    result.info.unreadableBytes = counts.invalid;
  } else if (startsWith(bytes, {0xFF, 0xFE}) || startsWith(bytes, {0xFE, 0xFF})) {
    const bool le = static_cast<unsigned char>(bytes[0]) == 0xFF;
    const QByteArrayView body = bytes.sliced(2);
    qsizetype unreadable = 0;
    read = readInto(result, maxChars, chunkChars, body.size() / 2, [&](TChunkWriter &writer) {
      return readUtf16(body, le, slice, writer, unreadable, goingOn(2));
    });
    result.info.format.encoding = le ? TTextEncoding::Utf16LE : TTextEncoding::Utf16BE;
    // An odd last byte is no character: it is written back after the text.
    if (body.size() % 2) {
      result.info.format.trailer = body.last(1).toByteArray();
      ++unreadable;
    }
    result.info.unreadableBytes = unreadable;
  } else {
    // Read as UTF-8 first: whether it is UTF-8 is known only once every byte is seen, and it
    // mostly is.
    TUtf8Counts counts;
    read = readInto(result, maxChars, chunkChars, bytes.size(), [&](TChunkWriter &writer) {
      return readUtf8(bytes, slice, writer, counts, goingOn(0));
    });
    result.info.unreadableBytes = counts.invalid;
    if (read && counts.invalid > counts.multiByte) {
      result = TDecodedChunks{};
      result.info.format.encoding = TTextEncoding::Windows1252;
      // Done again, once more from the start: only a stop is heard.
      read = readInto(result, maxChars, chunkChars, bytes.size(), [&](TChunkWriter &writer) {
        return readWindows1252(bytes, slice, writer, [&](qsizetype) {
          return !progress || progress(bytes.size(), bytes.size());
        });
      });
    }
  }
  if (!read) {
    result = TDecodedChunks{};
    result.cancelled = true;
  }
  return result;
}

TDecodedText JoinChunks(TDecodedChunks chunks) {
  TDecodedText result = std::move(chunks.info);
  if (chunks.chunks.size() == 1) {
    result.text = std::move(chunks.chunks.front());
    return result;
  }
  result.text.reserve(chunks.Size());
  for (; !chunks.chunks.empty(); chunks.chunks.pop_front())
    result.text.append(chunks.chunks.front());
  return result;
}

QString JoinBreaks(const TDecodedText &decoded) {
  QString out;
  out.reserve(decoded.text.size() + decoded.text.size() / 32);
  const QStringView lineEnd = BreakText(uint8_t(decoded.format.lineEnd));
  size_t index = 0;
  qsizetype from = 0;
  for (qsizetype i = decoded.text.indexOf(u'\n'); i >= 0; i = decoded.text.indexOf(u'\n', from)) {
    out.append(QStringView(decoded.text).sliced(from, i - from));
    out.append(index < decoded.breaks.size() ? BreakText(decoded.breaks[index]) : lineEnd);
    ++index;
    from = i + 1;
  }
  out.append(QStringView(decoded.text).sliced(from));
  return out;
}

QByteArray Encode(QStringView text, const TTextFormat &format, bool *lossless) {
  if (lossless) *lossless = true;
  switch (format.encoding) {
    case TTextEncoding::Windows1252:
      return toWindows1252(text, lossless);
    case TTextEncoding::Utf16LE:
      return QByteArray("\xFF\xFE", 2) + toUtf16(text, true) + format.trailer;
    case TTextEncoding::Utf16BE:
      return QByteArray("\xFE\xFF", 2) + toUtf16(text, false) + format.trailer;
    case TTextEncoding::Utf8Bom:
      return QByteArray("\xEF\xBB\xBF", 3) + toUtf8(text, lossless);
    case TTextEncoding::Utf8:
      break;
  }
  return toUtf8(text, lossless);
}

qsizetype EncodedSize(QStringView text, TTextEncoding encoding) {
  switch (encoding) {
    case TTextEncoding::Windows1252:
      return text.size();
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE:
      return 2 * text.size();
    case TTextEncoding::Utf8:
    case TTextEncoding::Utf8Bom:
      break;
  }
  qsizetype bytes = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar ch = text[i];
    const char16_t c = ch.unicode();
    if (c < 0x80 || IsByteStandIn(ch)) {
      bytes += 1;
    } else if (c < 0x800) {
      bytes += 2;
    } else if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      bytes += 4;
      ++i;
    } else {
      bytes += 3;  // a lone surrogate is written as U+FFFD
    }
  }
  return bytes;
}

bool CanEncode(QStringView text, TTextEncoding encoding) {
  return encoding != TTextEncoding::Windows1252 || CodePage::FitsWindows1252(text);
}

QString KindOfEntry(unsigned mode) {
  switch (mode & S_IFMT) {
    case S_IFREG:
      return {};
    case S_IFDIR:
      return QStringLiteral("a folder");
    case S_IFIFO:
      return QStringLiteral("a named pipe (FIFO)");
    case S_IFSOCK:
      return QStringLiteral("a socket");
    case S_IFCHR:
      return QStringLiteral("a character device");
    case S_IFBLK:
      return QStringLiteral("a block device");
    default:
      return QStringLiteral("no regular file");
  }
}

qint64 ReadLimit() {
  // A document counts its characters in an int; a byte gives at most one character.
  constexpr qint64 kCountable = INT_MAX - 1;
  const qint64 available = SystemMemory::AvailableBytes();
  if (available < 0) return qint64(1) << 30;  // unknown: a gibibyte
  return std::min(kCountable, available / 8);
}

namespace {

QString errorWords(int error) {
  switch (error) {
    case ENOENT:
      return QStringLiteral("There is no such file");
    case ENOTDIR:
      return QStringLiteral("A part of its path is not a folder");
    case EACCES:
    case EPERM:
      return QStringLiteral("Permission to read it is denied");
    case EISDIR:
      return QStringLiteral("It is a folder");
    case ELOOP:
      return QStringLiteral("Its symbolic links lead round in a circle");
    case ENAMETOOLONG:
      return QStringLiteral("Its name is too long");
    case EIO:
      return QStringLiteral("The disk could not read it (input/output error)");
    case ENOMEM:
      return QStringLiteral("There is not enough memory to read it");
    case ENXIO:
    case ENODEV:
      return QStringLiteral("The device it names is not there");
    default:
      break;
  }
  QString words = QString::fromLocal8Bit(std::strerror(error));
  return words.isEmpty() ? QStringLiteral("It cannot be read") : words;
}

QString sizeWords(qint64 bytes) {
  QLocale locale;
  locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
  return locale.toString(bytes) + QStringLiteral(" bytes");
}

TFileBytes failed(QString error) {
  TFileBytes result;
  result.error = std::move(error);
  return result;
}

QString notAFile(const QString &kind) {
  return QStringLiteral("It is ") + kind + QStringLiteral(", not a file");
}

QString tooLarge(qint64 size, qint64 maxBytes) {
  return QStringLiteral("It is too large: ") + sizeWords(size) +
         QStringLiteral(", and the memory free on this computer holds a text of at most ") +
         sizeWords(maxBytes);
}

class TDescriptor {
 public:
  explicit TDescriptor(int fd) : fd_(fd) {}
  ~TDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  TDescriptor(const TDescriptor &) = delete;
  TDescriptor &operator=(const TDescriptor &) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

TFileBytes ReadRegularFile(const QString &path, qint64 maxBytes,
                           const std::function<bool(qint64, qint64)> &progress) {
  const QByteArray native = QFile::encodeName(path);
  struct stat info {};
  // Looked at before it is opened: opening a named pipe for reading waits for a writer.
  if (::stat(native.constData(), &info) != 0) return failed(errorWords(errno));
  if (const QString kind = KindOfEntry(info.st_mode); !kind.isEmpty())
    return failed(kind == QLatin1String("a folder") ? QStringLiteral("It is a folder")
                                                    : notAFile(kind));
  // Non-blocking, and looked at again once open, in case the entry was replaced meanwhile.
  int fd;
  do {
    fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return failed(errorWords(errno));
  const TDescriptor descriptor(fd);
  if (::fstat(fd, &info) != 0) return failed(errorWords(errno));
  if (const QString kind = KindOfEntry(info.st_mode); !kind.isEmpty())
    return failed(notAFile(kind));
  const qint64 size = info.st_size;
  if (size > maxBytes) return failed(tooLarge(size, maxBytes));

  TFileBytes result;
  constexpr qint64 kSlice = qint64{4} * 1024 * 1024;
  try {
    QByteArray &buffer = result.bytes;
    // One byte more than the size notices a file that grew since it was looked at (a log
    // being written): it is read on to its end, as long as it stays within the limit.
    buffer.resize(size + 1);
    qint64 done = 0;
    for (;;) {
      if (done == buffer.size()) {
        if (done > maxBytes) return failed(tooLarge(done, maxBytes));
        buffer.resize(std::min(maxBytes + 1, std::max(done + kSlice, done / 2 * 3)));
      }
      const qint64 want = std::min<qint64>(kSlice, buffer.size() - done);
      const ssize_t got = ::read(fd, buffer.data() + done, size_t(want));
      if (got < 0) {
        if (errno == EINTR) continue;
        return failed(errorWords(errno));
      }
      if (got == 0) break;
      done += got;
      if (done > maxBytes) return failed(tooLarge(done, maxBytes));
      if (progress && !progress(done, std::max(size, done))) {
        result = TFileBytes{};
        result.cancelled = true;
        return result;
      }
    }
    buffer.resize(done);
  } catch (const std::bad_alloc &) {
    return failed(errorWords(ENOMEM));
  }
  return result;
}

}  // namespace TextFile
