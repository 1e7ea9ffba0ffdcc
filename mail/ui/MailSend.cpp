#include "MailSend.h"

#include <QCoreApplication>
#include <QInputDialog>

#include "MailErrors.h"
#include "MessageBox.h"
#include "NMSMTP.h"
#include "SecretStore.h"
#include "SmtpSecurity.h"
#include "SystemUser.h"
#include "WaitPanel.h"

TMailSend::TMailSend(TNMSMTP &client, TMailSettings settings, TWaitPanel &panel, QWidget *form)
    : client_(client), settings_(settings), panel_(panel), form_(form) {
  ConnectEvents();
}

TMailSend::~TMailSend() {
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
  return port;
}

bool TMailSend::Prepare(const TMailFields &fields) {
  client_.ClearParameters();
  client_.Port = PortNumber(settings_.Caption(QStringLiteral("SMTPPort")));
  client_.UserID = settings_.Caption(QStringLiteral("SMTPUserID"));
  client_.Host = settings_.Caption(QStringLiteral("SMTPHost")).trimmed();
  client_.Security = SmtpSecurityFromText(settings_.Caption(QStringLiteral("SMTPSecurity")));
  client_.LoginName = client_.Security == TSmtpSecurity::None
                          ? QString()
                          : settings_.Caption(QStringLiteral("SMTPLogin")).trimmed();
  client_.Password.clear();
  if (!client_.LoginName.isEmpty() && !AskPassword()) return false;
  to_ = fields.to;
  TPostMessage &m = client_.PostMessage;
  m.ToAddress = {fields.to};
  m.ToBlindCarbonCopy = fields.copyToSelf ? QStringList{fields.from} : QStringList();
  m.ToCarbonCopy.clear();
  m.FromAddress = fields.from;
  m.FromName = SystemUser::FullName();
  m.ReplyTo = settings_.Caption(QStringLiteral("SMTPREMail"));
  m.Subject = fields.subject;
  m.Body = fields.body;
  m.Attachments = fields.attachments;
  m.LocalProgram =
      QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion();
  m.Date.clear();
  return true;
}

// The login's password from the password store; asked once and kept there when it holds
// none for the account.
bool TMailSend::AskPassword() {
  TSecretStore &store = TSecretStore::Instance();
  const QString account = QStringLiteral("smtp:") + client_.LoginName + u'@' + client_.Host;
  if (const std::optional<QString> kept = store.Read(account)) {
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
    Box(QStringLiteral("Your message was successfully sent to ") + to_, TMsgKind::Information);
    panel_.Clear();
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
    client_.Disconnect();
    return true;
  } catch (const EMailError &error) {
    CloseConnection();
    // The server took the message; a farewell that went wrong changes nothing about that.
    if (sent) return true;
    panel_.Clear();
    if (canceled_) {
      panel_.SetText(QStringLiteral("Sending cancelled"));
      return false;
    }
    ReportFailure(connecting, error.Message().trimmed());
    return false;
  }
}

// A failed send leaves no connection behind, so the next Send starts afresh.
void TMailSend::CloseConnection() {
  try {
    client_.Abort();
    if (client_.Connected()) client_.TPowersock::Disconnect();
  } catch (const EMailError &) {
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
  QStringList reasons = refused_;
  if (!reasons.contains(reason)) reasons << reason;
  text += QStringLiteral("\r\r") + reasons.join(u'\r');
  Box(text, TMsgKind::Warning);
}

void TMailSend::Box(const QString &text, TMsgKind kind) {
  MessageBox::Show(form_, MessageBox::MsgHeader() + text, kind, TMsgButtons::Ok);
}
