// SPDX-License-Identifier: GPL-3.0-or-later
#include "preferences/MailFields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/desktop/SecretStore.h"
#include "platform/ui/MessageBox.h"
#include "preferences/Hints.h"
#include "settings/ui/Holder.h"

namespace {

template <typename T>
T *Named(QWidget *parent, const char *name, const QString &hint = {}, int help = 0) {
  auto *control = new T(parent);
  control->setObjectName(QString::fromLatin1(name));
  if (!hint.isEmpty()) Hints::Set(control, hint);
  if (help) Hints::SetHelp(control, help);
  return control;
}

// The port box: a number from 1 to 65535. What the user types is kept in view until the
// typing ends; a number out of range or text that is no number then gets a message naming
// it, and the box goes back to the port it had. (A plain spin box would drop the keystroke
// that leaves the range, so "70000" would silently become 7000.)
class TPortBox : public QSpinBox {
 public:
  explicit TPortBox(QWidget *parent) : QSpinBox(parent) {
    setRange(1, 65535);
    // The value changes only when the typing ends: until then the old port is kept.
    setKeyboardTracking(false);
  }

  QValidator::State validate(QString &input, int &) const override {
    const QString text = input.trimmed();
    bool number = false;
    const qlonglong port = text.toLongLong(&number);
    if (number && port >= minimum() && port <= maximum()) return QValidator::Acceptable;
    // Anything short enough to read back stays in view, to be named in the message.
    return text.size() <= 20 ? QValidator::Intermediate : QValidator::Invalid;
  }

  void fixup(QString &input) const override {
    const QString typed = input.trimmed();
    input = QString::number(value());
    if (typed.isEmpty()) return;
    // The box is left from inside the spin box's own event handling: the message comes once
    // that is over.
    auto *self = const_cast<TPortBox *>(this);
    const int kept = value();
    QMetaObject::invokeMethod(
        self,
        [self, typed, kept] {
          MessageBox::Show(self->window(),
                           MessageBox::MsgHeader() + TMailFields::PortProblem(typed, kept),
                           TMsgKind::Warning, TMsgButtons::Ok);
        },
        Qt::QueuedConnection);
  }
};

QCheckBox *Check(QWidget *parent, const char *name, const QString &caption, const QString &hint,
                 int help) {
  auto *box = Named<QCheckBox>(parent, name, hint, help);
  box->setText(caption);
  return box;
}

}  // namespace

TMailFields::TMailFields(QObject &holders, QWidget *parent) : QWidget(parent), holders_(holders) {
  auto *server = new QGroupBox(QStringLiteral("SMTP Server"), this);
  edtOMServer = Named<QLineEdit>(server, "edtOMServer",
                                 QStringLiteral("|Enter your outgoing SMTP server"), 1106);
  cbxSecurity = Named<QComboBox>(
      server, "cbxSecurity",
      QStringLiteral("|None: plain connection; STARTTLS: encrypted after the greeting; "
                     "TLS: encrypted from the start"),
      1121);
  cbxSecurity->addItems(
      {QStringLiteral("None"), QStringLiteral("STARTTLS"), QStringLiteral("TLS")});
  lblPort = Named<QLabel>(server, "lblPort");
  lblPort->setText(QStringLiteral("Port:"));
  spnPort = Named<TPortBox>(server, "spnPort", QStringLiteral("|Enter your SMTP port"), 1121);
  spnPort->setValue(25);
  chkDPort = Check(server, "chkDPort", QStringLiteral("Use Default Port"),
                   QStringLiteral("|Use your default SMTP port"), 1121);
  chkDPort->setChecked(true);
  edtLogin = Named<QLineEdit>(
      server, "edtLogin",
      QStringLiteral("|Enter the login name the server asks for (empty: no login)"), 1106);
  btnPassword = Named<QPushButton>(server, "btnPassword",
                                   QStringLiteral("|Store the password for this login"));
  btnPassword->setText(QStringLiteral("Password..."));
  btnForget = Named<QPushButton>(server, "btnForget",
                                 QStringLiteral("|Forget the stored password for this login"));
  btnForget->setText(QStringLiteral("Forget"));

  auto *grid = new QGridLayout(server);
  grid->addWidget(new QLabel(QStringLiteral("Address:"), server), 0, 0);
  grid->addWidget(edtOMServer, 0, 1, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("Security:"), server), 1, 0);
  grid->addWidget(cbxSecurity, 1, 1);
  grid->addWidget(lblPort, 1, 2, Qt::AlignRight);
  grid->addWidget(spnPort, 1, 3);
  grid->addWidget(chkDPort, 2, 2, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("Login:"), server), 3, 0);
  grid->addWidget(edtLogin, 3, 1);
  grid->addWidget(btnPassword, 3, 2);
  grid->addWidget(btnForget, 3, 3);
  grid->setColumnStretch(1, 1);

  chkBCC = Check(this, "chkBCC", QStringLiteral("Send copy to yourself"),
                 QStringLiteral("|Check to send a copy of emails to yourself"), 1123);
  chkReminder = Check(this, "chkReminder", QStringLiteral("Remind me to connect "),
                      QStringLiteral("|Remind me to connect to the Internet when needed"), 1124);
  chkBCC->setChecked(true);
  chkReminder->setChecked(true);

  auto *user = new QGroupBox(QStringLiteral("User Information"), this);
  edtName = Named<QLineEdit>(user, "edtName", {}, 1134);
  edtOrg = Named<QLineEdit>(user, "edtOrg", {}, 1135);
  edtUEmail =
      Named<QLineEdit>(user, "edtUEmail", QStringLiteral("|Enter your from email address"), 1108);
  edtReplyTo = Named<QLineEdit>(user, "edtReplyTo",
                                QStringLiteral("|Enter your reply to email address"), 1109);
  chkSignature = Check(user, "chkSignature", QStringLiteral("Signature"),
                       QStringLiteral("|Determine whether or not a signature is used"), 1133);
  mmoSignature =
      Named<QPlainTextEdit>(user, "mmoSignature", QStringLiteral("|Enter your signature"), 1133);
  mmoSignature->setLineWrapMode(QPlainTextEdit::NoWrap);
  mmoSignature->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  mmoSignature->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  mmoSignature->setTabChangesFocus(true);
  auto *userGrid = new QGridLayout(user);
  userGrid->addWidget(new QLabel(QStringLiteral("Name:"), user), 0, 0);
  userGrid->addWidget(edtName, 0, 1);
  userGrid->addWidget(new QLabel(QStringLiteral("Organization:"), user), 1, 0);
  userGrid->addWidget(edtOrg, 1, 1);
  userGrid->addWidget(new QLabel(QStringLiteral("From:"), user), 2, 0);
  userGrid->addWidget(edtUEmail, 2, 1);
  userGrid->addWidget(new QLabel(QStringLiteral("Reply To:"), user), 3, 0);
  userGrid->addWidget(edtReplyTo, 3, 1);
  userGrid->addWidget(chkSignature, 0, 2);
  userGrid->addWidget(mmoSignature, 1, 2, 3, 1);
  userGrid->setColumnStretch(1, 1);
  userGrid->setColumnStretch(2, 1);

  auto *switches = new QHBoxLayout;
  switches->addWidget(chkBCC);
  switches->addWidget(chkReminder);
  switches->addStretch();
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(server);
  layout->addLayout(switches);
  layout->addWidget(user, 1);

  for (QLineEdit *box : {edtOMServer, edtLogin, edtName, edtOrg, edtUEmail, edtReplyTo})
    Hints::OnFocusOut(box, [this] { Q_EMIT TextExit(); });
  for (QWidget *control : std::initializer_list<QWidget *>{
           edtOMServer, cbxSecurity, spnPort, chkDPort, edtLogin, chkBCC, chkReminder, edtName,
           edtOrg, edtUEmail, edtReplyTo, chkSignature})
    Hints::PressEnterKey(control);
  connect(chkDPort, &QCheckBox::toggled, this, [this] { DefaultPortClick(); });
  connect(cbxSecurity, &QComboBox::currentTextChanged, this, [this] { DefaultPortClick(); });
  connect(chkSignature, &QCheckBox::toggled, this, [this] { UpdateIdle(); });
  connect(edtLogin, &QLineEdit::textChanged, this, [this] { UpdateIdle(); });
  connect(btnPassword, &QPushButton::clicked, this, [this] { SetPassword(); });
  connect(btnForget, &QPushButton::clicked, this, [this] { ForgetPassword(); });
  UpdateIdle();
}

THolder *TMailFields::holder(const char *name) const {
  return holders_.findChild<THolder *>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

QString TMailFields::PortProblem(const QString &typed, int kept) {
  return QStringLiteral("\"") + typed +
         QStringLiteral(
             "\" is not a valid port number: a port is a number from 1 to 65535. "
             "The port stays ") +
         QString::number(kept) + u'.';
}

int TMailFields::DefaultPort(const QString &security) {
  if (security == QLatin1String("STARTTLS")) return 587;
  if (security == QLatin1String("TLS")) return 465;
  return 25;
}

QString TMailFields::SecretAccount(const QString &login, const QString &server) {
  return QStringLiteral("smtp:") + login + u'@' + server;
}

void TMailFields::Load() {
  edtUEmail->setText(holder("SMTPUEmail")->Caption());
  edtReplyTo->setText(holder("SMTPREMail")->Caption());
  chkBCC->setChecked(holder("SMTPBCC")->Checked());
  chkReminder->setChecked(holder("SMTPReminder")->Checked());
  edtOMServer->setText(holder("SMTPHost")->Caption());
  edtName->setText(holder("SMTPName")->Caption());
  edtOrg->setText(holder("SMTPOrg")->Caption());
  chkSignature->setChecked(holder("SMTPSigCheck")->Checked());
  mmoSignature->setPlainText(holder("SMTPSignature")->Lines().join(u'\n'));
  edtLogin->setText(holder("SMTPLogin")->Caption());
  const int security = cbxSecurity->findText(holder("SMTPSecurity")->Caption());
  cbxSecurity->setCurrentIndex(security < 0 ? 0 : security);
  bool valid = false;
  const int port = holder("SMTPPort")->Caption().toInt(&valid);
  const int defaultPort = DefaultPort(cbxSecurity->currentText());
  chkDPort->setChecked(!valid || port < 1 || port > 65535 || port == defaultPort);
  spnPort->setValue(chkDPort->isChecked() ? defaultPort : port);
  for (QLineEdit *box : findChildren<QLineEdit *>()) box->setCursorPosition(0);
  UpdateIdle();
}

void TMailFields::Save() {
  holder("SMTPUEmail")->SetCaption(edtUEmail->text().trimmed());
  holder("SMTPREMail")->SetCaption(edtReplyTo->text().trimmed());
  holder("SMTPHost")->SetCaption(edtOMServer->text().trimmed());
  holder("SMTPBCC")->SetChecked(chkBCC->isChecked());
  holder("SMTPReminder")->SetChecked(chkReminder->isChecked());
  holder("SMTPName")->SetCaption(edtName->text().trimmed());
  holder("SMTPOrg")->SetCaption(edtOrg->text().trimmed());
  holder("SMTPSigCheck")->SetChecked(chkSignature->isChecked());
  holder("SMTPSignature")->SetLines(mmoSignature->toPlainText().split(u'\n'));
  holder("SMTPSecurity")->SetCaption(cbxSecurity->currentText());
  holder("SMTPLogin")->SetCaption(edtLogin->text().trimmed());
  holder("SMTPPort")->SetCaption(QString::number(spnPort->value()));
}

void TMailFields::DefaultPortClick() {
  if (chkDPort->isChecked()) spnPort->setValue(DefaultPort(cbxSecurity->currentText()));
  UpdateIdle();
}

void TMailFields::UpdateIdle() {
  spnPort->setEnabled(!chkDPort->isChecked());
  lblPort->setEnabled(!chkDPort->isChecked());
  mmoSignature->setEnabled(chkSignature->isChecked());
  const bool login = !edtLogin->text().trimmed().isEmpty();
  btnPassword->setEnabled(login);
  btnForget->setEnabled(login);
}

void TMailFields::SetPassword() {
  const QString account = SecretAccount(edtLogin->text().trimmed(), edtOMServer->text().trimmed());
  bool ok = false;
  const QString password =
      QInputDialog::getText(this, QStringLiteral("Password"),
                            QStringLiteral("Password for ") + edtLogin->text().trimmed() + u':',
                            QLineEdit::Password, QString(), &ok);
  if (!ok || password.isEmpty()) return;
  TSecretStore &store = TSecretStore::Instance();
  // The store's reason already says that the password is kept for this run.
  if (!store.Write(account, password))
    MessageBox::Show(this,
                     MessageBox::MsgHeader() +
                         QStringLiteral("The password could not be stored lastingly. ") +
                         store.Error(),
                     TMsgKind::Warning, TMsgButtons::Ok);
}

void TMailFields::ForgetPassword() {
  TSecretStore::Instance().Forget(
      SecretAccount(edtLogin->text().trimmed(), edtOMServer->text().trimmed()));
}
