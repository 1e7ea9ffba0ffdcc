// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/core/RegFile.h"

#include <QStringDecoder>
#include <QtEndian>

namespace {

const QString header5 = QStringLiteral("Windows Registry Editor Version 5.00");
const QString header4 = QStringLiteral("REGEDIT4");

struct TFault {
  QString text;
};

// Parses the quoted text at pos (which holds the opening quote); pos ends after the closing
// quote. Only \\ and \" are escapes; any other backslash stands for itself.
QString ParseQuoted(QStringView line, qsizetype &pos) {
  QString result;
  ++pos;
  while (pos < line.size()) {
    const QChar c = line[pos];
    if (c == u'"') {
      ++pos;
      return result;
    }
    if (c == u'\\' && pos + 1 < line.size() && (line[pos + 1] == u'\\' || line[pos + 1] == u'"')) {
      result.append(line[pos + 1]);
      pos += 2;
      continue;
    }
    result.append(c);
    ++pos;
  }
  throw TFault{QStringLiteral("unterminated quoted text")};
}

int HexDigit(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9') return u - u'0';
  if (u >= u'a' && u <= u'f') return u - u'a' + 10;
  if (u >= u'A' && u <= u'F') return u - u'A' + 10;
  return -1;
}

quint32 ParseHexNumber(QStringView text, int maxDigits) {
  text = text.trimmed();
  if (text.isEmpty() || text.size() > maxDigits)
    throw TFault{QStringLiteral("bad hexadecimal number")};
  quint32 number = 0;
  for (QChar c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) throw TFault{QStringLiteral("bad hexadecimal number")};
    number = number * 16 + quint32(digit);
  }
  return number;
}

QByteArray ParseHexBytes(QStringView text) {
  QByteArray bytes;
  text = text.trimmed();
  if (text.isEmpty()) return bytes;
  for (QStringView part : text.split(u',')) {
    part = part.trimmed();
    if (part.size() != 2 || HexDigit(part[0]) < 0 || HexDigit(part[1]) < 0)
      throw TFault{QStringLiteral("bad hexadecimal byte")};
    bytes.append(char(HexDigit(part[0]) * 16 + HexDigit(part[1])));
  }
  return bytes;
}

QString TextFromUtf16(const QByteArray &data) {
  QString text;
  for (qsizetype i = 0; i + 1 < data.size(); i += 2)
    text.append(QChar(qFromLittleEndian<quint16>(data.constData() + i)));
  if (text.endsWith(QChar(0))) text.chop(1);
  return text;
}

QByteArray Utf16FromText(const QString &text) {
  QByteArray data;
  data.reserve((text.size() + 1) * 2);
  for (QChar c : text) {
    char pair[2];
    qToLittleEndian(quint16(c.unicode()), pair);
    data.append(pair, 2);
  }
  data.append('\0').append('\0');
  return data;
}

// The value's data after "=" (the value is named already).
TRegValue ParseData(QStringView data, bool &remove) {
  TRegValue value;
  remove = false;
  data = data.trimmed();
  if (data == u"-") {
    remove = true;
    return value;
  }
  if (data.startsWith(u'"')) {
    qsizetype pos = 0;
    value.type = quint32(TRegType::String);
    value.text = ParseQuoted(data, pos);
    if (!data.mid(pos).trimmed().isEmpty()) throw TFault{QStringLiteral("text after a value")};
    return value;
  }
  if (data.startsWith(u"dword:", Qt::CaseInsensitive)) {
    return TRegValue::MakeDWord(QString(), ParseHexNumber(data.mid(6), 8));
  }
  if (data.startsWith(u"hex", Qt::CaseInsensitive)) {
    qsizetype colon = data.indexOf(u':');
    if (colon < 0) throw TFault{QStringLiteral("bad value type")};
    QStringView kind = data.mid(3, colon - 3).trimmed();
    if (kind.isEmpty()) {
      value.type = quint32(TRegType::Binary);
    } else {
      if (!kind.startsWith(u'(') || !kind.endsWith(u')'))
        throw TFault{QStringLiteral("bad value type")};
      value.type = ParseHexNumber(kind.mid(1, kind.size() - 2), 8);
    }
    value.data = ParseHexBytes(data.mid(colon + 1));
    if (value.IsString()) {
      value.text = TextFromUtf16(value.data);
      value.data.clear();
    }
    return value;
  }
  throw TFault{QStringLiteral("bad value type")};
}

bool NeedsHexForm(const QString &text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c.unicode() < 0x20 || c.unicode() == 0x7f) return true;
    if (c.isHighSurrogate()) {
      if (i + 1 >= text.size() || !text[i + 1].isLowSurrogate()) return true;
      ++i;
    } else if (c.isLowSurrogate()) {
      return true;
    }
  }
  return false;
}

QString Quote(const QString &text) {
  QString quoted = QStringLiteral("\"");
  for (QChar c : text) {
    if (c == u'\\' || c == u'"') quoted.append(u'\\');
    quoted.append(c);
  }
  quoted.append(u'"');
  return quoted;
}

void AppendHex(QString &out, qsizetype prefixLength, const QByteArray &bytes) {
  // Lines wrap before column 80 with a trailing ",\" and go on indented by two blanks.
  qsizetype column = prefixLength;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    if (i > 0) {
      out.append(u',');
      ++column;
      if (column + 3 > 78) {
        out.append(QStringLiteral("\\\n  "));
        column = 2;
      }
    }
    out.append(QString::asprintf("%02x", unsigned(quint8(bytes[i]))));
    column += 2;
  }
}

QString ValueLine(const TRegValue &value) {
  QString line = value.name.isEmpty() ? QStringLiteral("@") : Quote(value.name);
  line.append(u'=');
  if (value.type == quint32(TRegType::String) && !NeedsHexForm(value.text)) {
    line.append(Quote(value.text));
  } else if (value.type == quint32(TRegType::DWord) && value.data.size() == 4) {
    line.append(
        QString::asprintf("dword:%08x", qFromLittleEndian<quint32>(value.data.constData())));
  } else {
    const QByteArray bytes = value.IsString() ? Utf16FromText(value.text) : value.data;
    line.append(value.type == quint32(TRegType::Binary)
                    ? QStringLiteral("hex:")
                    : QString::asprintf("hex(%x):", value.type));
    AppendHex(line, line.size(), bytes);
  }
  line.append(u'\n');
  return line;
}

void SerializeKey(const TRegKey &key, const QString &path, QString &out) {
  out.append(u'[').append(path).append(QStringLiteral("]\n"));
  for (const TRegValue &value : key.Values()) out.append(ValueLine(value));
  out.append(u'\n');
  for (const auto &child : key.Children()) SerializeKey(*child, path + u'\\' + child->Name(), out);
}

QString Decode(QByteArrayView bytes) {
  if (bytes.size() >= 2 && quint8(bytes[0]) == 0xff && quint8(bytes[1]) == 0xfe) {
    QStringDecoder decoder(QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes.sliced(2));
    if (decoder.hasError()) throw TFault{QStringLiteral("the text is not valid UTF-16")};
    return text;
  }
  if (bytes.startsWith("\xef\xbb\xbf")) bytes = bytes.sliced(3);
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder(bytes);
  if (decoder.hasError()) throw TFault{QStringLiteral("the text is not valid UTF-8")};
  return text;
}

QStringList ParseKeyPath(QStringView path) {
  QStringList parts = path.toString().split(u'\\');
  if (parts.size() > TRegKey::MaxDepth) throw TFault{QStringLiteral("keys nested too deeply")};
  for (const QString &part : parts)
    if (part.isEmpty() || part.size() > TRegKey::MaxKeyNameLength || part.contains(QChar(0)))
      throw TFault{QStringLiteral("bad key name")};
  return parts;
}

// The lines of text, which may end in CR LF, LF or CR alone.
QList<QStringView> SplitLines(QStringView text) {
  QList<QStringView> lines;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u'\n' && text[i] != u'\r') continue;
    lines.append(text.sliced(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  lines.append(text.sliced(start));
  return lines;
}

void ParseText(const QString &text, TRegKey &root) {
  const QList<QStringView> lines = SplitLines(text);
  TRegKey *current = nullptr;
  bool headerSeen = false;
  for (qsizetype index = 0; index < lines.size(); ++index) {
    const qsizetype lineNumber = index + 1;
    try {
      QString line = lines[index].trimmed().toString();
      if (line.isEmpty() || line.startsWith(u';')) continue;
      if (!headerSeen) {
        if (line != header5 && line != header4) throw TFault{QStringLiteral("missing file header")};
        headerSeen = true;
        continue;
      }
      if (line.startsWith(u'[')) {
        if (!line.endsWith(u']')) throw TFault{QStringLiteral("bad key line")};
        QStringView path = QStringView(line).mid(1, line.size() - 2);
        const bool remove = path.startsWith(u'-');
        if (remove) path = path.mid(1);
        const QStringList parts = ParseKeyPath(path);
        if (remove) {
          const QStringList parentPath = parts.mid(0, parts.size() - 1);
          if (TRegKey *parent = root.Find(parentPath)) parent->RemoveChild(parts.last());
          current = nullptr;
        } else {
          current = &root.Make(parts);
        }
        continue;
      }
      if (!current) throw TFault{QStringLiteral("a value outside any key")};
      QString name;
      qsizetype pos = 0;
      if (line.startsWith(u'@')) {
        pos = 1;
      } else if (line.startsWith(u'"')) {
        name = ParseQuoted(line, pos);
        if (name.size() > TRegKey::MaxValueNameLength)
          throw TFault{QStringLiteral("value name too long")};
        if (name.contains(QChar(0))) throw TFault{QStringLiteral("bad value name")};
      } else {
        throw TFault{QStringLiteral("unexpected text")};
      }
      while (pos < line.size() && line[pos].isSpace()) ++pos;
      if (pos >= line.size() || line[pos] != u'=') throw TFault{QStringLiteral("missing \"=\"")};
      ++pos;
      // Hexadecimal data may go on over lines that end with a backslash.
      const bool hexData =
          QStringView(line).mid(pos).trimmed().startsWith(u"hex", Qt::CaseInsensitive);
      while (hexData && line.endsWith(u'\\') && index + 1 < lines.size()) {
        line.chop(1);
        line.append(lines[++index].trimmed());
        if (line.size() > RegFile::MaxLogicalLineLength)
          throw TFault{QStringLiteral("line too long")};
      }
      if (line.size() > RegFile::MaxLogicalLineLength)
        throw TFault{QStringLiteral("line too long")};
      bool remove = false;
      TRegValue value = ParseData(QStringView(line).mid(pos), remove);
      if (value.text.size() > RegFile::MaxValueLength ||
          value.data.size() > RegFile::MaxValueLength)
        throw TFault{QStringLiteral("value too long")};
      if (remove) {
        current->RemoveValue(name);
      } else {
        value.name = name;
        current->SetValue(value);
      }
    } catch (const TFault &fault) {
      throw TFault{QStringLiteral("line %1: %2").arg(lineNumber).arg(fault.text)};
    }
  }
  if (!headerSeen) throw TFault{QStringLiteral("missing file header")};
}

}  // namespace

namespace RegFile {

std::unique_ptr<TRegKey> Parse(QByteArrayView bytes, QString *error) {
  auto fail = [error](const QString &text) {
    if (error) *error = text;
    return std::unique_ptr<TRegKey>();
  };
  if (bytes.size() > MaxFileSize) return fail(QStringLiteral("the file is larger than 4 MiB"));
  try {
    auto root = std::make_unique<TRegKey>();
    ParseText(Decode(bytes), *root);
    if (error) error->clear();
    return root;
  } catch (const TFault &fault) {
    return fail(fault.text);
  }
}

QByteArray Serialize(const TRegKey &root) {
  QString out = header5 + QStringLiteral("\n\n");
  for (const auto &child : root.Children()) SerializeKey(*child, child->Name(), out);
  return out.toUtf8();
}

}  // namespace RegFile
