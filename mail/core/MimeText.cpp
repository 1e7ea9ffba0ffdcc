// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/core/MimeText.h"

#include <QUuid>

namespace MimeText {

namespace {

// UTF-8 bytes per encoded word: 45 bytes give 60 base64 characters, 72 with the frame.
constexpr qsizetype WordBytes = 45;

QString EncodedWords(QStringView text, QStringView separator) {
  const QByteArray utf8 = text.toUtf8();
  QString result;
  qsizetype start = 0;
  while (start < utf8.size()) {
    qsizetype end = std::min(start + WordBytes, utf8.size());
    // Never split a character: back up to the first byte of a sequence.
    while (end < utf8.size() && end > start + 1 && (static_cast<uchar>(utf8[end]) & 0xC0) == 0x80)
      --end;
    if (!result.isEmpty()) result += separator;
    result += QStringLiteral("=?utf-8?B?") +
              QString::fromLatin1(utf8.mid(start, end - start).toBase64()) + QStringLiteral("?=");
    start = end;
  }
  return result;
}

QString FoldedWords(QStringView text) { return EncodedWords(text, u"\r\n "); }

}  // namespace

bool IsAscii(QStringView text) {
  for (QChar c : text) {
    if (c.unicode() >= 0x80) return false;
  }
  return true;
}

QStringList SplitLines(QStringView text) {
  QStringList lines;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    lines.append(text.mid(start, i - start).toString());
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  lines.append(text.mid(start).toString());
  return lines;
}

QString EnvelopeAddress(QStringView entry) {
  const qsizetype open = entry.indexOf(u'<');
  if (open >= 0) {
    const qsizetype next = entry.indexOf(u'<', open + 1);
    QStringView address = entry.mid(open + 1, next < 0 ? -1 : next - open - 1);
    const qsizetype close = address.indexOf(u'>');
    if (close >= 0) address.truncate(close);
    return address.toString();
  }
  const qsizetype colon = entry.indexOf(u':');
  if (colon < 0) return entry.toString();
  const qsizetype next = entry.indexOf(u':', colon + 1);
  return entry.mid(colon + 1, next < 0 ? -1 : next - colon - 1).toString();
}

QString SenderAddress(QStringView from) {
  return from.contains(u'<') ? EnvelopeAddress(from) : from.toString();
}

QString WithoutLineBreaks(QStringView text) { return SplitLines(text).join(u' '); }

QString EncodedHeaderText(QStringView text) { return FoldedWords(text); }

QString HeaderText(QStringView text) {
  const QString clean = WithoutLineBreaks(text);
  return IsAscii(clean) ? clean : FoldedWords(clean);
}

QString HeaderAddress(QStringView entry) {
  QString clean = WithoutLineBreaks(entry);
  if (IsAscii(clean)) {
    const qsizetype angle = clean.indexOf(u'<');
    if (angle <= 0) return clean.trimmed();
    const QString name = clean.first(angle).trimmed();
    const QString quoted = DisplayName(name);
    if (quoted == name) return clean;
    return quoted + u' ' + clean.mid(angle).trimmed();
  }
  const qsizetype angle = clean.indexOf(u'<');
  if (angle <= 0) return clean;
  QString name = clean.first(angle).trimmed();
  if (name.size() >= 2 && name.startsWith(u'"') && name.endsWith(u'"'))
    name = name.mid(1, name.size() - 2);
  if (IsAscii(name)) return clean;
  return FoldedWords(name) + u' ' + clean.mid(angle);
}

QString NameAndAddress(QStringView name, QStringView address) {
  const QString cleanName = WithoutLineBreaks(name);
  QString bracketed = u'<' + WithoutLineBreaks(address) + u'>';
  if (cleanName.trimmed().isEmpty()) return bracketed;
  if (IsAscii(cleanName)) return DisplayName(cleanName.trimmed()) + u' ' + bracketed;
  return FoldedWords(cleanName.trimmed()) + u' ' + bracketed;
}

QString QuotedParameter(QStringView fileName) {
  const QString clean = WithoutLineBreaks(fileName);
  if (!IsAscii(clean)) return EncodedWords(clean, u" ");
  QString quoted;
  for (QChar c : clean) {
    if (c == u'"' || c == u'\\') quoted += u'\\';
    quoted += c;
  }
  return quoted;
}

QString DisplayName(QStringView name) {
  static const QString specials = QStringLiteral("()<>[]:;@\\,.\"");
  if (name.size() >= 2 && name.startsWith(u'"') && name.endsWith(u'"')) return name.toString();
  bool needed = false;
  for (QChar c : name) needed = needed || specials.contains(c);
  if (!needed) return name.toString();
  QString quoted = QStringLiteral("\"");
  for (QChar c : name) {
    if (c == u'"' || c == u'\\') quoted += u'\\';
    quoted += c;
  }
  return quoted + u'"';
}

QString Fold(const QString &line) {
  constexpr qsizetype Width = 78;
  QString result;
  qsizetype lineStart = 0;  // in result
  qsizetype breakAt = -1;   // in result: where a break may go
  bool breakIsComma = false;
  bool quoted = false;
  // Never before the first word of the value: that would leave the header name on a line
  // of its own.
  const qsizetype colon = line.indexOf(u':');
  qsizetype valueStart = colon < 0 ? 0 : colon + 1;
  while (valueStart < line.size() && line[valueStart] == u' ') ++valueStart;
  for (qsizetype i = 0; i < line.size(); ++i) {
    const QChar c = line[i];
    if (c == u'\r' && i + 2 < line.size() && line[i + 1] == u'\n' &&
        (line[i + 2] == u' ' || line[i + 2] == u'\t')) {
      result += QStringLiteral("\r\n");
      ++i;
      lineStart = result.size();
      breakAt = -1;
      continue;
    }
    if (c == u'"' && (i == 0 || line[i - 1] != u'\\')) quoted = !quoted;
    if (!quoted && (c == u' ' || c == u'\t') && result.size() > lineStart + 1 && i > valueStart) {
      breakAt = result.size();
      breakIsComma = false;
    }
    result += c;
    if (!quoted && c == u',') {
      breakAt = result.size();
      breakIsComma = true;
    }
    if (result.size() - lineStart > Width && breakAt > lineStart) {
      result.insert(breakAt, breakIsComma ? QStringLiteral("\r\n ") : QStringLiteral("\r\n"));
      lineStart = breakAt + 2;
      breakAt = -1;
    }
  }
  return result;
}

qsizetype LongestLine(QStringView folded) {
  qsizetype longest = 0;
  for (const QString &piece : folded.toString().split(QStringLiteral("\r\n")))
    longest = std::max(longest, piece.toUtf8().size());
  return longest;
}

QString MessageDate(const QDateTime &time) {
  static const char *const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
  static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const QDate date = time.date();
  const int offset = time.offsetFromUtc() / 60;
  const int absolute = offset < 0 ? -offset : offset;
  return QStringLiteral("%1, %2 %3 %4 %5 %6%7%8")
      .arg(QLatin1StringView(days[date.dayOfWeek() - 1]))
      .arg(date.day(), 2, 10, QChar(u'0'))
      .arg(QLatin1StringView(months[date.month() - 1]))
      .arg(date.year(), 4, 10, QChar(u'0'))
      .arg(time.time().toString(QStringLiteral("HH:mm:ss")))
      .arg(QString(offset < 0 ? u'-' : u'+'))
      .arg(absolute / 60, 2, 10, QChar(u'0'))
      .arg(absolute % 60, 2, 10, QChar(u'0'));
}

QString MessageId(QStringView host) {
  QString clean;
  for (QChar c : host) {
    if (c.unicode() < 0x80 && (c.isLetterOrNumber() || c == u'.' || c == u'-')) clean += c;
  }
  if (clean.isEmpty()) clean = QStringLiteral("localhost");
  return u'<' + QUuid::createUuid().toString(QUuid::WithoutBraces) + u'@' + clean + u'>';
}

QString FileParameter(QStringView parameter, QStringView fileName) {
  const QString clean = WithoutLineBreaks(fileName);
  if (IsAscii(clean)) return parameter + QStringLiteral("=\"") + QuotedParameter(clean) + u'"';
  return parameter + QStringLiteral("*=utf-8''") +
         QString::fromLatin1(clean.toUtf8().toPercentEncoding());
}

bool HasControls(QStringView text) {
  for (QChar c : text) {
    if ((c.unicode() < 32 && c != u'\t') || c.unicode() == 127) return true;
  }
  return false;
}

QList<QByteArray> QuotedPrintable(QByteArrayView utf8Line) {
  static const char hex[] = "0123456789ABCDEF";
  QList<QByteArray> lines;
  QByteArray current;
  const qsizetype size = utf8Line.size();
  for (qsizetype i = 0; i < size; ++i) {
    const auto c = static_cast<uchar>(utf8Line[i]);
    const bool last = i + 1 == size;
    char token[3];
    qsizetype length = 1;
    if ((c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !last)) {
      token[0] = static_cast<char>(c);
    } else {
      token[0] = '=';
      token[1] = hex[c >> 4];
      token[2] = hex[c & 15];
      length = 3;
    }
    // Lines hold at most 76 characters; a soft break needs one of them for its "=".
    const bool fits = current.size() + length <= (last ? 76 : 75);
    if (!fits) {
      current.append('=');
      lines.append(current);
      current.clear();
    }
    current.append(token, length);
  }
  lines.append(current);
  return lines;
}

}  // namespace MimeText
