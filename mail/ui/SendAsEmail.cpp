// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/ui/SendAsEmail.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <optional>

#include "documents/ui/EditHost.h"
#include "mail/ui/SupportAddress.h"
#include "mail/ui/fmEmail.h"

namespace {

// Stay-on-top paused for as long as the form is shown, when the program has it.
void RunModal(const TMailContext &context, TfrmEmail &form) {
  std::optional<TTopMostPause> pause;
  if (context.host) pause.emplace(*context.host);
  form.exec();
}

}  // namespace

namespace MailUi {

void SendAsEmail(const TMailContext &context, const QString &text, QWidget *parent) {
  TfrmEmail form(context, text, parent);
  form.SupportRequest = false;
  RunModal(context, form);
}

void PrepareSupportRequest(TfrmEmail &form, const QStringList &body) {
  form.SupportRequest = true;
  form.btnEmailAddress->hide();
  form.setWindowTitle(QStringLiteral("Request for Tech Support"));
  // The address is shown and may be changed; a changed one is kept for the next request.
  form.edtTo->setText(SupportAddress::Current());
  form.edtSubject->setText(QCoreApplication::applicationName() +
                           QStringLiteral(" technical support"));
  form.edtSubject->setEnabled(false);
  form.mmoBody->setPlainText(body.join(u'\n'));
}

void RequestSupport(const TMailContext &context, const QStringList &body, QWidget *parent) {
  TfrmEmail form(context, QString(), parent);
  PrepareSupportRequest(form, body);
  RunModal(context, form);
}

}  // namespace MailUi
