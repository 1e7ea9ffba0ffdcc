// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
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

// Any text as encoded words (UTF-8, base64) on folded lines: for values too long to fold.
QString EncodedHeaderText(QStringView text);

// A header value naming an address, "Name <address>" or a bare address: line breaks become
// blanks; a display name outside ASCII becomes an encoded word.
QString HeaderAddress(QStringView entry);

// "Name <address>": an ASCII name as it stands (quoted when it holds special characters), a
// name outside ASCII as an encoded word; no name gives "<address>".
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

// A display name as a header may hold it: a name with characters that have a meaning in an
// address ("Doe, John") is put in double quotes, quotes and backslashes inside escaped; a
// name already quoted or without such characters is kept.
QString DisplayName(QStringView name);

// One header line folded for transport: where a line grows past 78 characters it is broken
// before a blank or after a comma (never inside quotes, never before the value's first word),
// the break being CR LF and the continuation beginning with a blank. Breaks already present
// ("\r\n ") are kept.
QString Fold(const QString &line);
// The length of the longest physical line of a folded header line.
qsizetype LongestLine(QStringView folded);

// The date as a message header gives it: "Wed, 09 Dec 2026 16:10:10 +0100", in English
// whatever the locale, with the local offset from UTC.
QString MessageDate(const QDateTime &time);
// A new unique message id "<id@host>"; host is cleaned to the characters a domain may hold.
QString MessageId(QStringView host);

// A MIME parameter for a file name: name="text" for ASCII names, else the RFC 2231 form
// name*=utf-8''percent-encoded.
QString FileParameter(QStringView parameter, QStringView fileName);

// True when the text holds control characters (other than tab) that must not go out raw.
bool HasControls(QStringView text);

// Splits at every CR LF, CR or LF.
QStringList SplitLines(QStringView text);

}  // namespace MimeText
