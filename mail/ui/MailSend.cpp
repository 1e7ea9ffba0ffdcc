// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/ui/MailSend.h"

#include <QCoreApplication>
#include <QInputDialog>

#include "mail/core/MailErrors.h"
#include "mail/core/NMSMTP.h"
#include "mail/core/SmtpSecurity.h"
#include "mail/core/SocketErrors.h"
#include "mail/ui/WaitPanel.h"
#include "platform/core/SystemUser.h"
#include "platform/desktop/SecretStore.h"
#include "platform/ui/MessageBox.h"

TMailSend::TMailSend(TNMSMTP &client, TMailSettings settings, TWaitPanel &panel, QWidget *form)
    : client_(client), clientAlive_(&client), settings_(settings), panel_(panel), form_(form) {
  ConnectEvents();
}

TMailSend::~TMailSend() {
  // The window (and its client) may have gone while the send waited.
  if (!clientAlive_) return;
  // The client outlives this send: it must not call back into it.
  client_.OnHostResolved = nullptr;
  client_.OnConnect = nullptr;
  client_.OnSendStart = nullptr;
  client_.OnPacketSent = nullptr;
  client_.OnRecipientNotFound = nullptr;
  client_.OnSuccess = nullptr;
  client_.OnDisconnect = nullptr;
  client_.OnAuthenticationFailed = nullptr;
}

int TMailSend::PortNumber(const QString &text) {
  bool ok = false;
  const int port = text.trimmed().toInt(&ok);
  if (!ok) {
    const QString message = u'\'' + text + QStringLiteral("' is not a valid integer value");
    throw EConvertError(message.toStdString());
  }
  // A number past 65535 would wrap round to another port and reach some other service.
  if (port < 1 || port > 65535) {
    const QString message = u'\'' + text +
                            QStringLiteral(
                                "' is not a valid port number: a port is a number "
                                "from 1 to 65535.");
    throw EConvertError(message.toStdString());
  }
  return port;
}

QString TMailSend::SenderName() const {
  QString name = settings_.Caption(QStringLiteral("SMTPName")).trimmed();
  // "Temp" is the stored default until the program has learnt the user's name.
  if (!name.isEmpty() && name != QLatin1String("Temp")) return name;
  return SystemUser::FullName();
}

bool TMailSend::Prepare(const TMessageFields &fields) {
  client_.ClearParameters();
  client_.Port = PortNumber(settings_.Caption(QStringLiteral("SMTPPort")));
  client_.UserID = settings_.Caption(QStringLiteral("SMTPUserID"));
  client_.Host = settings_.Caption(QStringLiteral("SMTPHost")).trimmed();
  client_.Security = SmtpSecurityFromText(settings_.Caption(QStringLiteral("SMTPSecurity")));
  client_.LoginName = client_.Security == TSmtpSecurity::None
                          ? QString()
                          : settings_.Caption(QStringLiteral("SMTPLogin")).trimmed();
  client_.Password.clear();
  client_.AllRecipientsRequired = true;
  if (!client_.LoginName.isEmpty() && !AskPassword()) return false;
  to_ = fields.to;
  TPostMessage &m = client_.PostMessage;
  m.ToAddress = {fields.to};
  m.ToBlindCarbonCopy = fields.copyToSelf ? QStringList{fields.from} : QStringList();
  m.ToCarbonCopy.clear();
  m.FromAddress = fields.from;
  m.FromName = SenderName();
  m.ReplyTo = settings_.Caption(QStringLiteral("SMTPREMail"));
  m.Subject = fields.subject;
  // Empty lines at the end (the one the form puts after the text, say) are not sent.
  m.Body = fields.body;
  while (!m.Body.isEmpty() && m.Body.last().trimmed().isEmpty()) m.Body.removeLast();
  m.Attachments = fields.attachments;
  m.LocalProgram =
      QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion();
  m.Date.clear();
  return true;
}

// The login's password from the password store; asked once and kept there when it holds
// none for the account.
QString TMailSend::Account() const {
  return QStringLiteral("smtp:") + client_.LoginName + u'@' + client_.Host;
}

bool TMailSend::AskPassword() {
  TSecretStore &store = TSecretStore::Instance();
  const QString account = Account();
  // The store may take a moment to answer (or not answer at all): the window stays usable
  // meanwhile and says what it waits for.
  panel_.SetText(QStringLiteral("Looking for the password in the password store..."));
  const std::optional<QString> kept = store.Read(account);
  panel_.Clear();
  if (kept) {
    client_.Password = *kept;
    return true;
  }
  bool ok = false;
  const QString password =
      QInputDialog::getText(form_, QStringLiteral("Mail Server Password"),
                            QStringLiteral("Password of ") + client_.LoginName +
                                QStringLiteral(" at ") + client_.Host + u':',
                            QLineEdit::Password, QString(), &ok);
  if (!ok) return false;
  // A refused write still keeps the password for this run; the send goes on.
  store.Write(account, password);
  client_.Password = password;
  return true;
}

void TMailSend::ConnectEvents() {
  client_.OnHostResolved = [this] {
    panel_.SetText(client_.Host + QStringLiteral(" has been resolved"));
  };
  client_.OnConnect = [this] { panel_.SetText(QStringLiteral("Connected to ") + client_.Host); };
  client_.OnSendStart = [this] { panel_.SetText(QStringLiteral("Sending message to ") + to_); };
  client_.OnPacketSent = [this](qint64 sent, qint64 total) { panel_.SetProgress(sent, total); };
  client_.OnRecipientNotFound = [this](const QString &) {
    refused_ << QString::fromUtf8(client_.LastLine()).trimmed();
  };
  client_.OnSuccess = [this] {
    panel_.SetProgress(0, 0);
    panel_.SetText(QStringLiteral("Message successfully sent to ") + to_);
  };
  client_.OnDisconnect = [this] {
    panel_.SetText(QStringLiteral("Disconnected from ") + client_.Host);
  };
  client_.OnAuthenticationFailed = [this](bool &handled) { AskUserId(handled); };
}

void TMailSend::AskUserId(bool &handled) {
  bool ok = false;
  const QString id = QInputDialog::getText(form_, QStringLiteral("Authentication Needed"),
                                           QStringLiteral("Enter UserID: "), QLineEdit::Normal,
                                           client_.UserID, &ok);
  if (!ok) return;
  handled = true;
  client_.UserID = id;
  settings_.SetCaption(QStringLiteral("SMTPUserID"), id);
}

void TMailSend::Cancel() {
  canceled_ = true;
  client_.Cancel();
}

bool TMailSend::Run() {
  bool connecting = true;
  bool sent = false;
  refused_.clear();
  canceled_ = false;
  try {
    client_.Connect();
    connecting = false;
    client_.SendMail();
    sent = true;
    // QUIT first: the success box waits for the user, the server should not.
    client_.Disconnect();
  } catch (const EMailError &error) {
    // The window closed under the send: nothing of it may be touched any more.
    if (!clientAlive_) return false;
    CloseConnection();
    // The server took the message; a farewell that went wrong changes nothing about that.
    if (!sent) {
      panel_.Clear();
      if (canceled_ || client_.BeenCanceled()) {
        panel_.SetText(QStringLiteral("Sending cancelled"));
        return false;
      }
      Report(error, connecting);
      return false;
    }
  } catch (const std::exception &error) {
    // Anything else (memory running out for a huge attachment, say) is reported the same way
    // and never unwinds into the window's event handling.
    if (!clientAlive_) return false;
    CloseConnection();
    if (!sent) {
      panel_.Clear();
      ReportFailure(connecting, QString::fromLocal8Bit(error.what()));
      return false;
    }
  }
  Box(QStringLiteral("Your message was successfully sent to ") + to_, TMsgKind::Information);
  panel_.Clear();
  return true;
}

void TMailSend::Report(const EMailError &error, bool connecting) {
  if (const auto *refused = dynamic_cast<const ERecipientsRefused *>(&error)) {
    Box(QStringLiteral("Your message was not sent: the server refused ") +
            (refused->Refused().size() == 1 ? QStringLiteral("this recipient:\r\r")
                                            : QStringLiteral("these recipients:\r\r")) +
            refused->Refused().join(u'\r') +
            QStringLiteral("\r\rNothing was delivered to anybody. Please correct the address "
                           "and send again."),
        TMsgKind::Warning);
    return;
  }
  if (dynamic_cast<const EAuthError *>(&error)) {
    // The password is wrong: it is forgotten, so the next Send asks for it again.
    TSecretStore::Instance().Forget(Account());
    Box(QStringLiteral("The server ") + client_.Host + QStringLiteral(" refused the password of ") +
            client_.LoginName +
            QStringLiteral(", so your message was not sent. The password is forgotten; you "
                           "will be asked for it at the next Send.\r\r") +
            error.Message().trimmed(),
        TMsgKind::Warning);
    return;
  }
  ReportFailure(connecting, error.Message().trimmed());
}

// A failed send leaves no connection behind, so the next Send starts afresh.
void TMailSend::CloseConnection() {
  try {
    client_.Abort();
    if (client_.Connected()) client_.TPowersock::Disconnect();
  } catch (const EMailError &error) {
    // The failure being reported is the one that matters; this one is only noted.
    qWarning("Closing the mail connection: %s", error.what());
  }
}

void TMailSend::ReportFailure(bool connecting, const QString &reason) {
  QString text;
  if (connecting) {
    text = QStringLiteral("Your connection to ") + client_.Host +
           QStringLiteral(" failed. Please make sure that the ") +
           // clang-format off
           QStringLiteral("outgoing mail server has been properly set up in Options|Preferences|Network or contact ") +
           // clang-format on
           QStringLiteral("your network administrator for assistance.");
  } else {
    text = QStringLiteral("Email could not be sent to ") + to_ +
           QStringLiteral(" at this time. Please try again later.");
  }
  QString cause = reason;
  // A failed connect names what the system said ("Connection refused", ...).
  const QString system = SocketErrors::Text(client_.LastErrorNo());
  if (connecting && !system.isEmpty() && !cause.contains(system))
    cause += QStringLiteral(": ") + system;
  QStringList reasons = refused_;
  if (!reasons.contains(cause)) reasons << cause;
  text += QStringLiteral("\r\r") + reasons.join(u'\r');
  Box(text, TMsgKind::Warning);
}

void TMailSend::Box(const QString &text, TMsgKind kind) {
  MessageBox::Show(form_, MessageBox::MsgHeader() + text, kind, TMsgButtons::Ok);
}
