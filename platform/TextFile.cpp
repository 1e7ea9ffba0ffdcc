#include "TextFile.h"

#include "CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

bool startsWith(QByteArrayView bytes, std::initializer_list<unsigned char> prefix) {
  if (bytes.size() < qsizetype(prefix.size())) return false;
  qsizetype i = 0;
  for (unsigned char b : prefix)
    if (static_cast<unsigned char>(bytes[i++]) != b) return false;
  return true;
}

// Turns CR LF and lone CR into '\n' in place; returns the first line-end style seen.
TLineEnd normaliseLineEnds(QString &text) {
  std::optional<TLineEnd> first;
  QChar *out = text.data();
  const QChar *in = text.constData();
  const QChar *end = in + text.size();
  QChar *start = out;
  while (in < end) {
    const QChar ch = *in++;
    if (ch == u'\r') {
      if (in < end && *in == u'\n') {
        ++in;
        if (!first) first = TLineEnd::CrLf;
      } else if (!first) {
        first = TLineEnd::Cr;
      }
      *out++ = u'\n';
    } else {
      if (ch == u'\n' && !first) first = TLineEnd::Lf;
      *out++ = ch;
    }
  }
  text.truncate(out - start);
  return first.value_or(TLineEnd::Lf);
}

}  // namespace

QString TTextFormat::LineEndText() const {
  switch (lineEnd) {
    case TLineEnd::CrLf: return QStringLiteral("\r\n");
    case TLineEnd::Cr: return QStringLiteral("\r");
    case TLineEnd::Lf: break;
  }
  return QStringLiteral("\n");
}

QString TTextFormat::EncodingName() const {
  switch (encoding) {
    case TTextEncoding::Utf8Bom: return QStringLiteral("UTF-8 with BOM");
    case TTextEncoding::Utf16LE: return QStringLiteral("UTF-16 LE");
    case TTextEncoding::Utf16BE: return QStringLiteral("UTF-16 BE");
    case TTextEncoding::Windows1252: return QStringLiteral("Windows-1252");
    case TTextEncoding::Utf8: break;
  }
  return QStringLiteral("UTF-8");
}

namespace TextFile {

TDecodedText Decode(QByteArrayView bytes, qsizetype maxChars) {
  TDecodedText result;
  if (startsWith(bytes, {0xEF, 0xBB, 0xBF})) {
    result.format.encoding = TTextEncoding::Utf8Bom;
    result.text = QString::fromUtf8(bytes.sliced(3));
  } else if (startsWith(bytes, {0xFF, 0xFE})) {
    result.format.encoding = TTextEncoding::Utf16LE;
    QStringDecoder decoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless);
    result.text = decoder.decode(bytes.sliced(2));
  } else if (startsWith(bytes, {0xFE, 0xFF})) {
    result.format.encoding = TTextEncoding::Utf16BE;
    QStringDecoder decoder(QStringConverter::Utf16BE, QStringConverter::Flag::Stateless);
    result.text = decoder.decode(bytes.sliced(2));
  } else {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    result.text = decoder.decode(bytes);
    if (decoder.hasError()) {
      result.format.encoding = TTextEncoding::Windows1252;
      result.text = CodePage::FromWindows1252(bytes);
    }
    result.binary = bytes.contains('\0');
  }
  result.format.lineEnd = normaliseLineEnds(result.text);
  if (result.text.size() > maxChars) {
    result.text.truncate(maxChars);
    result.truncated = true;
  }
  return result;
}

QByteArray Encode(QStringView text, const TTextFormat &format, bool *lossless) {
  QString withEnds;
  const QString lineEnd = format.LineEndText();
  withEnds.reserve(text.size() + text.size() / 32);
  qsizetype from = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar ch = text[i];
    if (ch != u'\n' && ch != u'\r') continue;
    withEnds.append(text.mid(from, i - from));
    withEnds.append(lineEnd);
    if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    from = i + 1;
  }
  withEnds.append(text.mid(from));

  if (lossless) *lossless = true;
  switch (format.encoding) {
    case TTextEncoding::Windows1252:
      return CodePage::ToWindows1252(withEnds, lossless);
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE: {
      const bool le = format.encoding == TTextEncoding::Utf16LE;
      QStringEncoder encoder(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
      QByteArray out = le ? QByteArray("\xFF\xFE", 2) : QByteArray("\xFE\xFF", 2);
      out.append(encoder.encode(withEnds));
      return out;
    }
    case TTextEncoding::Utf8Bom:
      return QByteArray("\xEF\xBB\xBF", 3) + withEnds.toUtf8();
    case TTextEncoding::Utf8:
      break;
  }
  return withEnds.toUtf8();
}

bool CanEncode(QStringView text, TTextEncoding encoding) {
  return encoding != TTextEncoding::Windows1252 || CodePage::FitsWindows1252(text);
}

}  // namespace TextFile
