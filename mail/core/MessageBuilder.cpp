// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/core/MessageBuilder.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHostInfo>
#include <QMimeDatabase>
#include <QTime>
#include <algorithm>

#include "mail/core/MailErrors.h"
#include "mail/core/MimeText.h"
#include "platform/core/TextFile.h"

namespace {

const QByteArray CrLf = QByteArrayLiteral("\r\n");

QString TextContentType(bool ascii) {
  return QStringLiteral("Content-Type: text/plain;") + QString(24, u' ') +
         (ascii ? QStringLiteral("charset=us-ascii") : QStringLiteral("charset=utf-8"));
}

const QString QuotedPrintableLine = QStringLiteral("Content-Transfer-Encoding: quoted-printable");

// SMTP's limit for a line, its CR LF not counted.
constexpr qsizetype MaxWireLine = 998;

bool BodyIsAscii(const QStringList &lines) {
  for (const QString &line : lines) {
    if (!MimeText::IsAscii(line)) return false;
  }
  return true;
}

// An ASCII text goes out as it stands unless a line would be too long for SMTP or holds
// control bytes: then it is quoted-printable, as text outside ASCII always is.
bool NeedsQuotedPrintable(const QStringList &lines) {
  for (const QString &line : lines) {
    if (!MimeText::IsAscii(line) ||
        MimeText::HasControls(QString(line).remove(u'\r').remove(u'\n')))
      return true;
    for (const QString &piece : MimeText::SplitLines(line)) {
      if (piece.size() + (piece.startsWith(u'.') ? 1 : 0) > MaxWireLine) return true;
    }
  }
  return false;
}

// A header of free text, folded; a value that cannot be folded short enough (one very long
// word) is sent as encoded words, which fold anywhere.
QString FreeTextHeader(const QString &name, const QString &value) {
  const QString clean = MimeText::HeaderText(value);
  QString folded = MimeText::Fold(name + QStringLiteral(": ") + clean);
  if (MimeText::LongestLine(folded) <= MaxWireLine) return folded;
  return name + QStringLiteral(": ") +
         MimeText::EncodedHeaderText(MimeText::WithoutLineBreaks(value));
}

// The charset of a text file's bytes as a MIME parameter; empty when the file is not text
// in one known charset (it then goes out as application/octet-stream).
QString TextCharset(const QString &path, const QByteArray &bytes) {
  static const QMimeDatabase types;
  if (!types.mimeTypeForFileNameAndData(path, bytes).inherits(QStringLiteral("text/plain")))
    return {};
  const TDecodedText decoded = TextFile::Decode(bytes, bytes.size() + 1);
  if (decoded.binary || decoded.unreadableBytes > 0) return {};
  switch (decoded.format.encoding) {
    case TTextEncoding::Utf8: {
      const bool ascii = std::all_of(bytes.cbegin(), bytes.cend(),
                                     [](char c) { return static_cast<uchar>(c) < 0x80; });
      return ascii ? QStringLiteral("us-ascii") : QStringLiteral("utf-8");
    }
    case TTextEncoding::Utf8Bom:
      return QStringLiteral("utf-8");
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE:
      return QStringLiteral("utf-16");  // the byte-order mark travels with the text
    case TTextEncoding::Windows1252:
      return QStringLiteral("windows-1252");
  }
  return {};
}

// A name a host may carry: letters, digits, hyphens, dots between labels.
bool IsHostName(QStringView name) {
  if (name.isEmpty() || name.startsWith(u'.') || name.endsWith(u'.') || name.contains(u"..") ||
      name.size() > 253)
    return false;
  for (QChar c : name) {
    if (c.unicode() >= 0x80 || !(c.isLetterOrNumber() || c == u'.' || c == u'-')) return false;
  }
  return true;
}

// The boundary must not occur in the text: a text line holding it would end the part early.
bool TextHolds(const QStringList &lines, const QString &boundary) {
  for (const QString &line : lines) {
    if (line.contains(boundary)) return true;
  }
  return false;
}

void AppendWireLine(QByteArray &body, QByteArrayView line) {
  if (line.startsWith('.')) body.append('.');
  body.append(line);
  body.append(CrLf);
}

}  // namespace

QString TMessageBuilder::LocalName(QStringView sender) {
  return ChooseLocalName(QHostInfo::localHostName(), QHostInfo::localDomainName(), sender);
}

QString TMessageBuilder::ChooseLocalName(QStringView host, QStringView domain, QStringView sender) {
  QString name = host.toString().trimmed();
  if (!name.contains(u'.') && !domain.trimmed().isEmpty())
    name += u'.' + domain.trimmed().toString();
  if (name.contains(u'.') && IsHostName(name)) return name;
  const QString address = MimeText::SenderAddress(sender).trimmed();
  QString senderDomain = address.mid(address.lastIndexOf(u'@') + 1);
  if (address.contains(u'@') && senderDomain.contains(u'.') && IsHostName(senderDomain))
    return senderDomain;
  return QStringLiteral("localhost");
}

QString TMessageBuilder::MakeBoundary() {
  return QString(20, u'=') + QStringLiteral("54535") +
         QTime::currentTime().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("====");
}

void TMessageBuilder::Build(const TPostMessage &message) {
  const bool ascii = BodyIsAscii(message.Body);
  const bool quoted = NeedsQuotedPrintable(message.Body);
  const bool multipart = !message.Attachments.isEmpty();

  Header.clear();
  // A name typed into the sender field ("Me <me@x>") comes first; else the name given apart.
  QString fromName = message.FromName.trimmed();
  if (message.FromAddress.contains(u'<')) {
    QString typed = message.FromAddress.first(message.FromAddress.indexOf(u'<')).trimmed();
    if (typed.size() >= 2 && typed.startsWith(u'"') && typed.endsWith(u'"'))
      typed = typed.mid(1, typed.size() - 2);
    if (!typed.isEmpty()) fromName = typed;
  }
  Header.append(MimeText::Fold(
      QStringLiteral("From: ") +
      MimeText::NameAndAddress(fromName, MimeText::SenderAddress(message.FromAddress).trimmed())));
  auto addressList = [](const QStringList &entries) {
    QStringList clean;
    for (const QString &entry : entries) clean.append(MimeText::HeaderAddress(entry));
    return clean.join(u',');
  };
  if (!message.ToAddress.isEmpty())
    Header.append(MimeText::Fold(QStringLiteral("To: ") + addressList(message.ToAddress)));
  if (!message.ToCarbonCopy.isEmpty())
    Header.append(MimeText::Fold(QStringLiteral("CC: ") + addressList(message.ToCarbonCopy)));
  if (!message.Subject.isEmpty())
    Header.append(FreeTextHeader(QStringLiteral("Subject"), message.Subject));
  if (!message.LocalProgram.isEmpty())
    Header.append(FreeTextHeader(QStringLiteral("X-Mailer"), message.LocalProgram));
  if (!message.ReplyTo.isEmpty())
    Header.append(
        MimeText::Fold(QStringLiteral("Reply-To: ") + MimeText::HeaderAddress(message.ReplyTo)));
  // Receivers refuse or distrust a message without a date or an id.
  const QString date = message.Date.trimmed().isEmpty()
                           ? MimeText::MessageDate(QDateTime::currentDateTime())
                           : MimeText::HeaderText(message.Date);
  Header.append(MimeText::Fold(QStringLiteral("Date: ") + date));
  Header.append(QStringLiteral("Message-ID: ") +
                MimeText::MessageId(LocalName(message.FromAddress)));
  Header.append(QStringLiteral("Mime-Version: 1.0"));

  Body.clear();
  if (!multipart) {
    Boundary.clear();
    Header.append(TextContentType(ascii));
    if (quoted) Header.append(QuotedPrintableLine);
    AppendText(message.Body, quoted);
    return;
  }

  Boundary = MakeBoundary();
  for (int extra = 1; TextHolds(message.Body, Boundary); ++extra)
    Boundary = MakeBoundary() + QString::number(extra) + QStringLiteral("====");
  Header.append(QStringLiteral("Content-Type: multipart/mixed;") + QString(19, u' ') +
                QStringLiteral("boundary=\"") + Boundary + u'"');

  const QByteArray boundary = Boundary.toLatin1();
  Body.append("--" + boundary + CrLf);
  Body.append(TextContentType(ascii).toLatin1() + CrLf);
  if (quoted) Body.append(QuotedPrintableLine.toLatin1() + CrLf);
  Body.append(CrLf);
  AppendText(message.Body, quoted);
  for (const QString &path : message.Attachments) {
    Body.append("--" + boundary + CrLf);
    AppendAttachment(path);
  }
  Body.append("--" + boundary + "--" + CrLf);
}

void TMessageBuilder::AppendText(const QStringList &lines, bool quoted) {
  for (const QString &line : lines) {
    for (const QString &piece : MimeText::SplitLines(line)) {
      if (!quoted) {
        AppendWireLine(Body, piece.toLatin1());
        continue;
      }
      for (const QByteArray &encoded : MimeText::QuotedPrintable(piece.toUtf8()))
        AppendWireLine(Body, encoded);
    }
  }
}

void TMessageBuilder::AppendAttachment(const QString &path) {
  const QString fileName = QFileInfo(path).fileName();
  QFile file(path);
  if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
    if (OnAttachmentNotFound) OnAttachmentNotFound(path);
    const QString reason =
        QFileInfo(path).isDir() ? QStringLiteral("It is a folder.") : file.errorString();
    throw EMailError(QStringLiteral("Cannot open file \"") + path + QStringLiteral("\". ") +
                     reason);
  }
  // A text file says what it is and how its bytes read, so the receiver shows it as text;
  // its bytes still travel encoded, exactly as they are. Large files are not looked into.
  QString charset;
  if (file.size() <= MaxTextAttachment) {
    charset = TextCharset(path, file.readAll());
    file.seek(0);
  }
  const QString type =
      charset.isEmpty()
          ? QString(QStringLiteral("Content-Type: application/octet-stream;") + QString(10, u' '))
          : QString(QStringLiteral("Content-Type: text/plain; charset=") + charset +
                    QStringLiteral("; "));
  Body.append((type + MimeText::FileParameter(u"name", fileName)).toUtf8() + CrLf);
  // A uuencoded part says so; declaring it base64 would garble the file at the receiver.
  Body.append(EncodeType == uuMime ? "Content-Transfer-Encoding: base64"
                                   : "Content-Transfer-Encoding: x-uuencode");
  Body.append(CrLf);
  Body.append((QStringLiteral("Content-Disposition: attachment;") + QString(17, u' ') +
               MimeText::FileParameter(u"filename", fileName))
                  .toUtf8() +
              CrLf + CrLf);

  if (OnEncodeStart) OnEncodeStart(path);
  // The encoder writes straight onto the end of the body, with room made up front for all
  // of it (62 characters a line, 63 in uuencode, plus its closing line): a large file is
  // neither copied again nor moved each time the buffer grows.
  const qint64 lines =
      (file.size() + TNMUUProcessor::BytesPerLine - 1) / TNMUUProcessor::BytesPerLine;
  Body.reserve(Body.size() + lines * 63 + 1024);
  QBuffer output(&Body);
  output.open(QIODevice::WriteOnly | QIODevice::Append);
  TNMUUProcessor encoder;
  encoder.Method = EncodeType;
  encoder.InputStream = &file;
  encoder.OutputStream = &output;
  encoder.OnProgress = OnProgress;
  const qsizetype start = Body.size();
  encoder.Encode();
  if (EncodeType == uuCode) {
    // uuencoded lines may begin with "." and are dot-stuffed like text (base64 never does).
    const QByteArray encoded = Body.mid(start);
    Body.truncate(start);
    qsizetype from = 0;
    for (qsizetype end; (end = encoded.indexOf(CrLf, from)) >= 0; from = end + 2)
      AppendWireLine(Body, QByteArrayView(encoded).sliced(from, end - from));
  }
  if (OnEncodeEnd) OnEncodeEnd(path);
}
