#include "MessageBuilder.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QTime>

#include "MailErrors.h"
#include "MimeText.h"

namespace {

const QByteArray CrLf = QByteArrayLiteral("\r\n");

QString TextContentType(bool ascii) {
  return QStringLiteral("Content-Type: text/plain;") + QString(24, u' ') +
         (ascii ? QStringLiteral("charset=us-ascii") : QStringLiteral("charset=utf-8"));
}

const QString QuotedPrintableLine = QStringLiteral("Content-Transfer-Encoding: quoted-printable");

bool BodyIsAscii(const QStringList &lines) {
  for (const QString &line : lines) {
    if (!MimeText::IsAscii(line)) return false;
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

QString TMessageBuilder::MakeBoundary() {
  return QString(20, u'=') + QStringLiteral("54535") +
         QTime::currentTime().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("====");
}

void TMessageBuilder::Build(const TPostMessage &message) {
  const bool ascii = BodyIsAscii(message.Body);
  const bool multipart = !message.Attachments.isEmpty();

  Header.clear();
  Header.append(
      QStringLiteral("From: ") +
      MimeText::NameAndAddress(message.FromName, MimeText::SenderAddress(message.FromAddress)));
  auto addressList = [](const QStringList &entries) {
    QStringList clean;
    for (const QString &entry : entries) clean.append(MimeText::HeaderAddress(entry));
    return clean.join(u',');
  };
  if (!message.ToAddress.isEmpty())
    Header.append(QStringLiteral("To: ") + addressList(message.ToAddress));
  if (!message.ToCarbonCopy.isEmpty())
    Header.append(QStringLiteral("CC: ") + addressList(message.ToCarbonCopy));
  Header.SetHeader(QStringLiteral("Subject"), MimeText::HeaderText(message.Subject));
  Header.SetHeader(QStringLiteral("X-Mailer"), MimeText::HeaderText(message.LocalProgram));
  Header.SetHeader(QStringLiteral("Reply-To"), MimeText::HeaderAddress(message.ReplyTo));
  Header.SetHeader(QStringLiteral("Date"), MimeText::HeaderText(message.Date));
  Header.append(QStringLiteral("Mime-Version: 1.0"));

  Body.clear();
  if (!multipart) {
    Boundary.clear();
    Header.append(TextContentType(ascii));
    if (!ascii) Header.append(QuotedPrintableLine);
    AppendText(message.Body, ascii);
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
  if (!ascii) Body.append(QuotedPrintableLine.toLatin1() + CrLf);
  Body.append(CrLf);
  AppendText(message.Body, ascii);
  for (const QString &path : message.Attachments) {
    Body.append("--" + boundary + CrLf);
    AppendAttachment(path);
  }
  Body.append("--" + boundary + "--" + CrLf);
}

void TMessageBuilder::AppendText(const QStringList &lines, bool ascii) {
  for (const QString &line : lines) {
    for (const QString &piece : MimeText::SplitLines(line)) {
      if (ascii) {
        AppendWireLine(Body, piece.toLatin1());
        continue;
      }
      for (const QByteArray &encoded : MimeText::QuotedPrintable(piece.toUtf8()))
        AppendWireLine(Body, encoded);
    }
  }
}

void TMessageBuilder::AppendAttachment(const QString &path) {
  const QString name = MimeText::QuotedParameter(QFileInfo(path).fileName());
  Body.append((QStringLiteral("Content-Type: application/octet-stream;") + QString(10, u' ') +
               QStringLiteral("name=\"") + name + u'"')
                  .toUtf8() +
              CrLf);
  // A uuencoded part says so; declaring it base64 would garble the file at the receiver.
  Body.append(EncodeType == uuMime ? "Content-Transfer-Encoding: base64"
                                   : "Content-Transfer-Encoding: x-uuencode");
  Body.append(CrLf);
  Body.append((QStringLiteral("Content-Disposition: attachment;") + QString(17, u' ') +
               QStringLiteral("filename=\"") + name + u'"')
                  .toUtf8() +
              CrLf + CrLf);

  QFile file(path);
  if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
    if (OnAttachmentNotFound) OnAttachmentNotFound(path);
    const QString reason =
        QFileInfo(path).isDir() ? QStringLiteral("It is a folder.") : file.errorString();
    throw EMailError(QStringLiteral("Cannot open file \"") + path + QStringLiteral("\". ") +
                     reason);
  }
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
  encoder.Encode();
  if (OnEncodeEnd) OnEncodeEnd(path);
}
