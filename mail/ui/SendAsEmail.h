// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "mail/ui/MailContext.h"

class QWidget;
class TfrmEmail;

// The program's ways into the compose window.
namespace MailUi {

// File|Send As Email: the compose window with the workspace's text, shown modally, with
// stay-on-top paused meanwhile.
void SendAsEmail(const TMailContext &context, const QString &text, QWidget *parent);

// The technical-support request: the compose window titled "Request for Tech Support", To the
// maker's support address and Subject "<program> technical support", both disabled, no address
// book button, and the given lines as the text. The caller builds the lines (program, version
// and the machine's summary).
void RequestSupport(const TMailContext &context, const QStringList &body, QWidget *parent);
// Dresses a compose window as the support request (done by RequestSupport before showing).
void PrepareSupportRequest(TfrmEmail &form, const QStringList &body);

}  // namespace MailUi
