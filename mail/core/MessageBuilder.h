// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

#include "mail/core/ExStringList.h"
#include "mail/core/NMUUProcessor.h"
#include "mail/core/PostMessage.h"

// Builds the header lines and the body bytes of one message: the plain text, or a
// multipart message with the text and one base64 part per attachment.
//
// A text made only of ASCII goes out as it is, declared "charset=us-ascii"; any other text
// goes out as UTF-8 in quoted-printable, and so does an ASCII text with a line longer than
// SMTP allows (998 octets) or with control bytes. Every message gets a Date (now, unless the
// caller gave one) and a unique Message-ID; header lines are folded at 78 characters. Body lines
// are split at every line break they hold and dot-stuffed, so the body always has CR LF line ends
// and no line ends the data.
class TMessageBuilder {
 public:
  UUMethods EncodeType = uuMime;
  std::function<void(const QString &fileName)> OnEncodeStart;
  std::function<void(const QString &fileName)> OnEncodeEnd;
  std::function<void(const QString &fileName)> OnAttachmentNotFound;
  // Passed on to the encoder: called between blocks of a large attachment.
  std::function<void()> OnProgress;

  // Fills Header and Body from message. An attachment that cannot be opened calls
  // OnAttachmentNotFound and throws EMailError.
  void Build(const TPostMessage &message);

  TExStringList Header;
  QByteArray Body;
  // The MIME boundary of the last message built with attachments.
  QString Boundary;

  static QString MakeBoundary();
  // The machine's name for EHLO and message ids: its fully qualified name, else the domain of
  // the sender's address when the host name has no dot, else "localhost".
  static QString LocalName(QStringView sender);
  // The choice LocalName makes from the host name, the host's domain and the sender.
  static QString ChooseLocalName(QStringView host, QStringView domain, QStringView sender);

  // Text attachments up to this size are looked at to declare them text with their charset.
  static constexpr qint64 MaxTextAttachment = qint64{16} * 1024 * 1024;

 private:
  void AppendText(const QStringList &lines, bool quoted);
  void AppendAttachment(const QString &path);
};
