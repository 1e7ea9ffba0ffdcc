// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/core/NMUUProcessor.h"

#include <cstring>

#include "mail/core/MailErrors.h"

namespace {

constexpr char MimeAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
// Value 0 is a backquote; 1 to 63 are the characters 33 ("!") to 95 ("_").
constexpr char UuAlphabet[] = "`!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_";

// Appends the lines for bytes: every full 45-byte group makes one line, a shorter rest a
// last shorter line.
void EncodeLines(const unsigned char *in, qsizetype size, UUMethods method, QByteArray &out) {
  const char *alphabet = method == uuMime ? MimeAlphabet : UuAlphabet;
  const qsizetype lines = (size + TNMUUProcessor::BytesPerLine - 1) / TNMUUProcessor::BytesPerLine;
  const qsizetype start = out.size();
  out.resize(start + lines * 63);
  char *dest = out.data() + start;
  for (qsizetype offset = 0; offset < size; offset += TNMUUProcessor::BytesPerLine) {
    const qsizetype n = std::min<qsizetype>(TNMUUProcessor::BytesPerLine, size - offset);
    const unsigned char *p = in + offset;
    if (method == uuCode) *dest++ = alphabet[n & 63];
    qsizetype i = 0;
    for (; i + 3 <= n; i += 3) {
      const unsigned b0 = p[i], b1 = p[i + 1], b2 = p[i + 2];
      *dest++ = alphabet[b0 >> 2];
      *dest++ = alphabet[((b0 & 3) << 4) | (b1 >> 4)];
      *dest++ = alphabet[((b1 & 15) << 2) | (b2 >> 6)];
      *dest++ = alphabet[b2 & 63];
    }
    if (n - i == 1) {
      const unsigned b0 = p[i];
      *dest++ = alphabet[b0 >> 2];
      *dest++ = alphabet[(b0 & 3) << 4];
      if (method == uuMime) {
        *dest++ = '=';
        *dest++ = '=';
      }
    } else if (n - i == 2) {
      const unsigned b0 = p[i], b1 = p[i + 1];
      *dest++ = alphabet[b0 >> 2];
      *dest++ = alphabet[((b0 & 3) << 4) | (b1 >> 4)];
      *dest++ = alphabet[(b1 & 15) << 2];
      if (method == uuMime) *dest++ = '=';
    }
    *dest++ = '\r';
    *dest++ = '\n';
  }
  out.resize(dest - out.constData());
}

void WriteAll(QIODevice &device, const QByteArray &bytes) {
  if (device.write(bytes) != bytes.size())
    throw EMailError(QStringLiteral("Write error: ") + device.errorString());
}

}  // namespace

QByteArray TNMUUProcessor::EncodeBytes(QByteArrayView bytes, UUMethods method) {
  QByteArray out;
  EncodeLines(reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size(), method, out);
  if (method == uuCode) out.append("`\r\n");
  return out;
}

void TNMUUProcessor::Encode() {
  if (!InputStream || !OutputStream)
    throw EMailError(QStringLiteral("The encoder has no input or output stream"));
  if (!InputStream->isSequential()) InputStream->seek(0);
  if (OnBeginEncode) OnBeginEncode();
  struct TEnd {
    TNMUUProcessor *self;
    ~TEnd() {
      if (!self->OutputStream->isSequential()) self->OutputStream->seek(0);
      if (self->OnEndEncode) self->OnEndEncode();
    }
  } end{this};

  // Read whole groups of lines at a time; a short read leaves its rest for the next round,
  // so every line but the last holds 45 bytes whatever the stream hands out.
  constexpr qsizetype blockSize = qsizetype{BytesPerLine} * 1024;
  QByteArray block(blockSize, Qt::Uninitialized);
  QByteArray encoded;
  qsizetype filled = 0;
  for (;;) {
    const qint64 got = InputStream->read(block.data() + filled, blockSize - filled);
    if (got < 0) throw EMailError(QStringLiteral("Read error: ") + InputStream->errorString());
    filled += got;
    const bool atEnd = got == 0 || InputStream->atEnd();
    const qsizetype whole = atEnd ? filled : filled / BytesPerLine * BytesPerLine;
    encoded.clear();
    EncodeLines(reinterpret_cast<const unsigned char *>(block.constData()), whole, Method, encoded);
    WriteAll(*OutputStream, encoded);
    std::memmove(block.data(), block.constData() + whole, static_cast<size_t>(filled - whole));
    filled -= whole;
    if (atEnd) break;
    if (OnProgress) OnProgress();
  }
  if (Method == uuCode) WriteAll(*OutputStream, QByteArrayLiteral("`\r\n"));
}
