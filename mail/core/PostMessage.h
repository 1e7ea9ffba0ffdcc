// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The message an SMTP client sends: sender, recipients, text, attachments and the header
// values. Lists are values: assigning one copies its lines.
struct TPostMessage {
  QString FromAddress;
  QString FromName;
  QStringList ToAddress;
  QStringList ToCarbonCopy;
  // Envelope only: never named in a header line.
  QStringList ToBlindCarbonCopy;
  // The text, one line each.
  QStringList Body;
  // Full path names of files to attach.
  QStringList Attachments;
  QString Subject;
  // Name of the sending program, sent as X-Mailer.
  QString LocalProgram;
  // No Date line when empty.
  QString Date;
  // No Reply-To line when empty.
  QString ReplyTo;
};
