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

struct TUtf8Reading {
  QString text;
  qsizetype invalid = 0;    // bytes outside any valid sequence
  qsizetype multiByte = 0;  // valid sequences of two to four bytes
};

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

// UTF-8 where it is valid; every other byte becomes its stand-in character.
TUtf8Reading readUtf8(QByteArrayView bytes) {
  TUtf8Reading reading;
  reading.text.reserve(bytes.size());
  for (qsizetype i = 0; i < bytes.size();) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) {
      reading.text.append(QChar(byte));
      ++i;
      continue;
    }
    char32_t code = 0;
    const int length = sequenceAt(bytes, i, code);
    if (length == 0) {
      reading.text.append(TextFile::ByteStandIn(byte));
      ++reading.invalid;
      ++i;
      continue;
    }
    if (code >= 0x10000) {
      reading.text.append(QChar::highSurrogate(code));
      reading.text.append(QChar::lowSurrogate(code));
    } else {
      reading.text.append(QChar(char16_t(code)));
    }
    ++reading.multiByte;
    i += length;
  }
  return reading;
}

// UTF-16 code units as they stand, unpaired surrogates included (they are written back the
// same way); an odd last byte goes to the format's trailer.
QString readUtf16(QByteArrayView bytes, bool littleEndian, TDecodedText &result) {
  QString text(bytes.size() / 2, Qt::Uninitialized);
  QChar *out = text.data();
  for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]),
               b = static_cast<unsigned char>(bytes[i + 1]);
    *out++ = QChar(char16_t(littleEndian ? (b << 8 | a) : (a << 8 | b)));
  }
  if (bytes.size() % 2) {
    result.format.trailer = bytes.last(1).toByteArray();
    ++result.unreadableBytes;
  }
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
      ++i;
    else if (text[i].isSurrogate())
      ++result.unreadableBytes;
  }
  return text;
}

// Turns every line break into '\n' in place and records its kind; returns the kinds, and the
// first of CR LF, LF and CR in first.
std::vector<uint8_t> splitBreaks(QString &text, std::optional<TLineEnd> &first) {
  std::vector<uint8_t> kinds;
  QChar *out = text.data();
  const QChar *in = text.constData();
  const QChar *end = in + text.size();
  QChar *start = out;
  while (in < end) {
    const QChar ch = *in++;
    uint8_t kind;
    switch (ch.unicode()) {
      case u'\r':
        if (in < end && *in == u'\n') {
          ++in;
          kind = TextFile::BreakCrLf;
        } else {
          kind = TextFile::BreakCr;
        }
        break;
      case u'\n':
        kind = TextFile::BreakLf;
        break;
      case 0x2029:
        kind = TextFile::BreakParagraph;
        break;
      case 0xFDD0:
        kind = TextFile::BreakFrameStart;
        break;
      case 0xFDD1:
        kind = TextFile::BreakFrameEnd;
        break;
      default:
        *out++ = ch;
        continue;
    }
    if (!first && kind <= TextFile::BreakCr) first = TLineEnd(kind);
    kinds.push_back(kind);
    *out++ = u'\n';
  }
  text.truncate(out - start);
  return kinds;
}

// NUL characters, or more than a tenth control characters. (Unreadable bytes do not count:
// a text with a few of them is still a text.)
bool looksBinary(QStringView text) {
  qsizetype odd = 0;
  for (QChar ch : text) {
    const char16_t c = ch.unicode();
    if (c == 0) return true;
    if ((c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r' && c != u'\f' && c != u'\v' &&
         c != 0x1B) ||
        c == 0x7F)
      ++odd;
  }
  return odd > 0 && odd * 10 > text.size();
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

namespace TextFile {

QStringView BreakText(uint8_t kind) {
  static const std::array<QString, BreakKinds> texts = {
      QStringLiteral("\r\n"), QStringLiteral("\n"),   QStringLiteral("\r"),
      QString(QChar(0x2029)), QString(QChar(0xFDD0)), QString(QChar(0xFDD1))};
  return texts[kind < BreakKinds ? kind : BreakLf];
}

TDecodedText Decode(QByteArrayView bytes, qsizetype maxChars) {
  TDecodedText result;
  if (startsWith(bytes, {0xEF, 0xBB, 0xBF})) {
    result.format.encoding = TTextEncoding::Utf8Bom;
    TUtf8Reading reading = readUtf8(bytes.sliced(3));
    result.text = std::move(reading.text);
    result.unreadableBytes = reading.invalid;
  } else if (startsWith(bytes, {0xFF, 0xFE}) || startsWith(bytes, {0xFE, 0xFF})) {
    const bool le = static_cast<unsigned char>(bytes[0]) == 0xFF;
    result.format.encoding = le ? TTextEncoding::Utf16LE : TTextEncoding::Utf16BE;
    result.text = readUtf16(bytes.sliced(2), le, result);
  } else {
    TUtf8Reading reading = readUtf8(bytes);
    if (reading.invalid > reading.multiByte) {
      result.format.encoding = TTextEncoding::Windows1252;
      result.text = CodePage::FromWindows1252(bytes);
    } else {
      result.text = std::move(reading.text);
      result.unreadableBytes = reading.invalid;
    }
  }
  result.binary = looksBinary(result.text);
  std::optional<TLineEnd> first;
  result.breaks = splitBreaks(result.text, first);
  result.format.lineEnd = first.value_or(TLineEnd::Lf);
  if (result.text.size() > maxChars) {
    result.text.truncate(maxChars);
    result.breaks.resize(size_t(result.text.count(u'\n')));
    result.truncated = true;
  }
  const auto lineEnd = uint8_t(result.format.lineEnd);
  if (std::all_of(result.breaks.begin(), result.breaks.end(),
                  [lineEnd](uint8_t k) { return k == lineEnd; }))
    result.breaks.clear();
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
