// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/recovery/RecoveryRecord.h"

#include <QCryptographicHash>
#include <QList>
#include <QUrl>
#include <algorithm>
#include <array>

#include "documents/core/SaveNames.h"
#include "documents/edit/EditControl.h"
#include "platform/core/TextFile.h"

bool TRecoveryRecord::Titled() const { return !name.isEmpty() && !SaveNames::IsUntitled(name); }

namespace {

constexpr char kMagic[] = "VELLUMIX RECOVERY 1\n";

struct TEncodingName {
  TTextEncoding encoding;
  const char *name;
};
constexpr std::array<TEncodingName, 5> kEncodings{{{TTextEncoding::Utf8, "utf-8"},
                                                   {TTextEncoding::Utf8Bom, "utf-8-bom"},
                                                   {TTextEncoding::Utf16LE, "utf-16le"},
                                                   {TTextEncoding::Utf16BE, "utf-16be"},
                                                   {TTextEncoding::Windows1252, "windows-1252"}}};
constexpr std::array<const char *, 3> kLineEnds{{"crlf", "lf", "cr"}};

QByteArray hashOf(const QByteArray &bytes) {
  return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

bool toNumber(const QByteArray &text, qint64 &number) {
  bool ok = false;
  number = text.toLongLong(&ok);
  return ok;
}

std::optional<TRecoveryRecord> fail(QString *error, const QString &reason) {
  if (error) *error = reason;
  return std::nullopt;
}

}  // namespace

QByteArray RecoveryFile::Serialize(const TRecoveryRecord &record) {
  // UTF-8 unless the text holds characters UTF-8 cannot carry (the stand-ins of a file's
  // unreadable bytes): those copies keep the text's UTF-16 as it is.
  const bool utf8 = record.text.isValidUtf16();
  QByteArray body;
  if (utf8) {
    body = record.text.toUtf8();
  } else {
    body.resize(record.text.size() * 2);
    for (qsizetype i = 0; i < record.text.size(); ++i) {
      const char16_t unit = record.text.at(i).unicode();
      body[2 * i] = char(unit & 0xff);
      body[2 * i + 1] = char(unit >> 8);
    }
  }
  QByteArray out;
  out.reserve(body.size() + 512);
  out += kMagic;
  out += "name ";
  out += QUrl::toPercentEncoding(record.name, "/ ");
  out += "\ndisk ";
  if (record.diskKnown)
    out += QByteArray::number(record.diskSize) + ' ' + QByteArray::number(record.diskModifiedNs);
  else
    out += "none";
  out += "\nencoding ";
  for (const auto &e : kEncodings)
    if (e.encoding == record.format.encoding) out += e.name;
  out += "\nlineend ";
  out += kLineEnds[size_t(record.format.lineEnd)];
  out += "\ncaret " + QByteArray::number(record.caret);
  out += "\nchanged " + QByteArray::number(record.changedMs);
  out += "\nsession ";
  out += record.session ? "yes" : "no";
  out += "\ntext ";
  out += utf8 ? "utf-8 " : "utf-16le ";
  out += QByteArray::number(body.size()) + ' ' + hashOf(body) + '\n';
  out += body;
  return out;
}

qint64 RecoveryFile::MaxFileSize() {
  return std::max<qint64>(qint64{80} * 1024 * 1024, 2 * TextFile::ReadLimit() + MaxHeaderSize);
}

std::optional<TRecoveryRecord> RecoveryFile::Parse(const QByteArray &bytes, QString *error) {
  if (bytes.size() > MaxFileSize())
    return fail(error, QStringLiteral("it is larger than any recovery copy"));
  if (!bytes.startsWith(kMagic)) return fail(error, QStringLiteral("it is not a recovery copy"));
  TRecoveryRecord record;
  qsizetype at = 0;
  bool haveName = false, haveEncoding = false, haveLineEnd = false;
  for (int line = 0;; ++line) {
    const qsizetype end = bytes.indexOf('\n', at);
    if (end < 0 || end > MaxHeaderSize || line > 32)
      return fail(error, QStringLiteral("its header is damaged"));
    const QByteArray text = bytes.mid(at, end - at);
    at = end + 1;
    if (line == 0) continue;  // the magic line
    const qsizetype blank = text.indexOf(' ');
    const QByteArray key = blank < 0 ? text : text.left(blank);
    const QByteArray value = blank < 0 ? QByteArray() : text.mid(blank + 1);
    const QList<QByteArray> words = value.split(' ');
    qint64 a = 0, b = 0;
    if (key == "name") {
      record.name = QUrl::fromPercentEncoding(value);
      haveName = true;
    } else if (key == "disk") {
      if (value == "none") {
        record.diskKnown = false;
      } else if (words.size() == 2 && toNumber(words[0], a) && toNumber(words[1], b) && a >= 0) {
        record.diskKnown = true;
        record.diskSize = a;
        record.diskModifiedNs = b;
      } else {
        return fail(error, QStringLiteral("its file details are damaged"));
      }
    } else if (key == "encoding") {
      for (const auto &e : kEncodings)
        if (value == e.name) {
          record.format.encoding = e.encoding;
          haveEncoding = true;
        }
    } else if (key == "lineend") {
      for (size_t i = 0; i < kLineEnds.size(); ++i)
        if (value == kLineEnds[i]) {
          record.format.lineEnd = TLineEnd(i);
          haveLineEnd = true;
        }
    } else if (key == "caret") {
      if (!toNumber(value, a) || a < 0)
        return fail(error, QStringLiteral("its caret position is damaged"));
      record.caret = qsizetype(a);
    } else if (key == "changed") {
      if (!toNumber(value, a)) return fail(error, QStringLiteral("its time is damaged"));
      record.changedMs = a;
    } else if (key == "session") {
      record.session = value == "yes";
    } else if (key == "text") {
      if (!haveName || !haveEncoding || !haveLineEnd)
        return fail(error, QStringLiteral("its header is incomplete"));
      if (words.size() != 3 || (words[0] != "utf-8" && words[0] != "utf-16le") ||
          !toNumber(words[1], a) || a < 0)
        return fail(error, QStringLiteral("its text header is damaged"));
      if (a != bytes.size() - at)
        return fail(error, QStringLiteral("its text is cut short or too long"));
      const QByteArray body = bytes.mid(at);
      if (hashOf(body) != words[2]) return fail(error, QStringLiteral("its text is damaged"));
      if (words[0] == "utf-8") {
        record.text = QString::fromUtf8(body);
      } else {
        if (body.size() % 2) return fail(error, QStringLiteral("its text is damaged"));
        record.text.resize(body.size() / 2);
        for (qsizetype i = 0; i < record.text.size(); ++i)
          record.text[i] = QChar(char16_t(uchar(body[2 * i]) | (uchar(body[2 * i + 1]) << 8)));
      }
      record.caret = std::min(record.caret, record.text.size());
      return record;
    }
    // Unknown lines are left for later versions of the format.
  }
}
