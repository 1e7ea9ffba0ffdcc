#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Text forms a mail message needs: header values that cannot break the header, encoded
// words for text outside ASCII, quoted-printable body lines.
namespace MimeText {

bool IsAscii(QStringView text);

// Every line break (CR LF, CR or LF) becomes one blank.
QString WithoutLineBreaks(QStringView text);

// A header value of free text: line breaks become blanks; text outside ASCII is sent as
// encoded words (UTF-8, base64), folded onto continuation lines when it is long.
QString HeaderText(QStringView text);

// A header value naming an address, "Name <address>" or a bare address: line breaks become
// blanks; a display name outside ASCII becomes an encoded word.
QString HeaderAddress(QStringView entry);

// A display name followed directly by "<address>": ASCII names keep the plain form
// "Name<address>"; a name outside ASCII becomes an encoded word followed by a blank.
QString NameAndAddress(QStringView name, QStringView address);

// A file name for a quoted MIME parameter: line breaks become blanks, quotes and
// backslashes are escaped, a name outside ASCII becomes an encoded word.
QString QuotedParameter(QStringView fileName);

// One body line (without line breaks) as quoted-printable lines of at most 76 characters,
// soft line breaks ending in "=".
QList<QByteArray> QuotedPrintable(QByteArrayView utf8Line);

// The address of a recipient entry: the text between the first "<" and the next "<" (or
// the end), cut at its first ">"; else, without ":", the whole entry; else the text between
// the first ":" and the next ":" (or the end).
QString EnvelopeAddress(QStringView entry);

// The sender's bare address: a From text written as "Name <address>" gives the address;
// any other text is used as it stands.
QString SenderAddress(QStringView from);

// Splits at every CR LF, CR or LF.
QStringList SplitLines(QStringView text);

}  // namespace MimeText
