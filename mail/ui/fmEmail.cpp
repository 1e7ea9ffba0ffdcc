// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/ui/fmEmail.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "documents/ui/EditHost.h"
#include "documents/ui/FileDialogs.h"
#include "mail/core/FieldCheck.h"
#include "mail/core/NMSMTP.h"
#include "mail/ui/AttachList.h"
#include "mail/ui/CommandTable.h"
#include "mail/ui/MailSend.h"
#include "mail/ui/SupportAddress.h"
#include "mail/ui/WaitPanel.h"
#include "mail/ui/fmAEmail.h"
#include "platform/ui/BarStyleMenu.h"
#include "platform/ui/MessageBox.h"
#include "settings/ui/FormStorage.h"
#include "settings/ui/FormTables.h"

namespace {

QLabel *FieldLabel(const QString &caption, QWidget *buddy, QWidget *parent) {
  auto *label = new QLabel(caption, parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

QString NoServerWarning() {
  return QStringLiteral("Your outgoing mail server has not been defined. ") +
         QStringLiteral("Go to Options|Preferences|Network to setup your mail server ") +
         QStringLiteral("before you attempt to send an email.");
}

TfrmEmail::TfrmEmail(const TMailContext &context, const QString &text, QWidget *parent)
    : QDialog(parent), context_(context), settings_(context.holders), text_(text) {
  setObjectName(QStringLiteral("frmEmail"));
  setWindowTitle(QStringLiteral("Send Email"));
  setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::WindowContextHelpButtonHint);
  smtClient_ = new TNMSMTP(this);
  smtClient_->setObjectName(QStringLiteral("smtClient"));
  smtClient_->ReportLevel = 0;
  smtClient_->TimeOut = 0;
  smtClient_->UserID = QStringLiteral("1");
  smtClient_->EncodeType = uuMime;
  smtClient_->ClearParams = true;
  BuildFields();
  BuildCommands();
  // 357 by 371 at the original face sizes; the panel text, its bar and Cancel need more here.
  resize(480, 420);
  setMinimumSize(300, 260);

  strEmail_ = new TFormStorage(this);
  strEmail_->setObjectName(QStringLiteral("strEmail"));
  strEmail_->IniSection = QStringLiteral("Email Form");
  strEmail_->SetStoredProps(FormTables::EmailFormProps(), FormTables::EmailFormDefaults());
}

TfrmEmail::~TfrmEmail() { strEmail_->FormDestroying(); }

void TfrmEmail::BuildFields() {
  edtFrom = new QLineEdit(this);
  edtFrom->setObjectName(QStringLiteral("edtFrom"));
  edtFrom->setProperty("HelpContext", 1501);
  edtTo = new QLineEdit(this);
  edtTo->setObjectName(QStringLiteral("edtTo"));
  edtTo->setProperty("HelpContext", 1502);
  edtSubject = new QLineEdit(this);
  edtSubject->setObjectName(QStringLiteral("edtSubject"));
  edtSubject->setProperty("HelpContext", 1503);
  for (QLineEdit *edit : {edtFrom, edtTo, edtSubject}) edit->installEventFilter(this);

  btnEmailAddress = new QToolButton(this);
  btnEmailAddress->setObjectName(QStringLiteral("btnEmailAddress"));
  btnEmailAddress->setIcon(context_.icons.addressBook);
  if (context_.icons.addressBook.isNull()) btnEmailAddress->setText(QStringLiteral("..."));
  btnEmailAddress->setToolTip(QStringLiteral("Choose an address from the address book"));
  btnEmailAddress->setFocusPolicy(Qt::TabFocus);
  connect(btnEmailAddress, &QToolButton::clicked, this, &TfrmEmail::DisplayEmailAddresses);

  mmoBody = new QPlainTextEdit(this);
  mmoBody->setObjectName(QStringLiteral("mmoBody"));
  mmoBody->setAccessibleName(QStringLiteral("Message text"));
  mmoBody->setProperty("HelpContext", 1504);
  mmoBody->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  mmoBody->setTabChangesFocus(false);
  lstAttach = new TAttachList(this);
  lstAttach->setObjectName(QStringLiteral("lstAttach"));
  lstAttach->setProperty("HelpContext", 1505);
  lstAttach->hide();
  lstAddress = new QListWidget(this);
  lstAddress->setObjectName(QStringLiteral("lstAddress"));
  lstAddress->hide();
  pnlWait = new TWaitPanel(this);
  pnlWait->setObjectName(QStringLiteral("pnlWait"));

  barMail = new QToolBar(this);
  barMail->setObjectName(QStringLiteral("barMail"));
  barMail->setIconSize(QSize(16, 16));
  barMail->setMovable(false);

  auto *fields = new QGridLayout;
  fields->setContentsMargins(6, 4, 6, 4);
  fields->addWidget(FieldLabel(QStringLiteral("From:"), edtFrom, this), 0, 0);
  fields->addWidget(edtFrom, 0, 1, 1, 2);
  fields->addWidget(FieldLabel(QStringLiteral("To:"), edtTo, this), 1, 0);
  fields->addWidget(edtTo, 1, 1);
  fields->addWidget(btnEmailAddress, 1, 2);
  fields->addWidget(FieldLabel(QStringLiteral("Subject:"), edtSubject, this), 2, 0);
  fields->addWidget(edtSubject, 2, 1, 1, 2);
  fields->setColumnStretch(1, 1);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(barMail);
  layout->addLayout(fields);
  layout->addWidget(mmoBody, 1);
  layout->addWidget(lstAttach, 1);
  layout->addWidget(pnlWait);
  setTabOrder(edtFrom, edtTo);
  setTabOrder(edtTo, btnEmailAddress);
  setTabOrder(btnEmailAddress, edtSubject);
  setTabOrder(edtSubject, mmoBody);
}

void TfrmEmail::BuildCommands() {
  const TMailIcons &icons = context_.icons;
  auto *mnuMain = new QMenuBar(this);
  mnuMain->setObjectName(QStringLiteral("mnuMain"));
  layout()->setMenuBar(mnuMain);
  QMenu *mnuEmail = mnuMain->addMenu(QStringLiteral("&Email"));
  mnuEmail->setObjectName(QStringLiteral("mnuEmail"));
  QMenu *mnuOptions = mnuMain->addMenu(QStringLiteral("&Options"));
  mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
  for (QMenu *menu : {mnuEmail, mnuOptions}) menu->setToolTipsVisible(true);
  enum { Email, Options };

  auto mode = [this](TCommandSource source) { AddButtons(source); };
  using C = TEmailCommand;
  // clang-format off
  const std::vector<TCommandSpec> table = {
    {.id = int(C::CopyToSelf), .menu = Options,
     .item = {"mniBCC", QStringLiteral("Send copy to yourself"), QStringLiteral("Send a copy of the email to yourself"), 0},
     .checkable = true, .checked = true},
    {.id = int(C::EnterText), .menu = Options,
     .item = {"mniEnterText", QStringLiteral("&Enter Text"), QStringLiteral("Enter text into body of email"), 1},
     .button = {"btnEnterText", QStringLiteral("Enter Text"), QStringLiteral("Enter text in email"), 0},
     .glyph = icons.enterText, .radio = true, .checked = true, .handler = mode},
    {.id = int(C::AttachFiles), .menu = Options,
     .item = {"mniAttachFiles", QStringLiteral("&Attach Files"), QStringLiteral("Attach files to email"), 1},
     .button = {"btnAttachFile", QStringLiteral("Attach File"), QStringLiteral("Attach file to email..."), 0},
     .glyph = icons.attachFile, .radio = true, .handler = mode},
    {.id = int(C::AddAttachment), .menu = Options,
     .item = {"mniAddAttach", QStringLiteral("Add Attachment..."), QStringLiteral("Add attachment to email..."), 2},
     .button = {"btnAddAttach", QStringLiteral("Add Attachment"), QStringLiteral("Add attachment to email"), 1},
     .glyph = icons.addAttachment, .enabled = false, .handler = [this](TCommandSource) { AddAttachment(); }},
    {.id = int(C::RemoveAttachment), .menu = Options,
     .item = {"mniRemoveAttach", QStringLiteral("Remove Attachment"), QStringLiteral("Remove highlighted attachment"), 2},
     .button = {"btnRemoveAttach", QStringLiteral("Remove Attachment"), QStringLiteral("Remove highlighted attachment"), 1},
     .glyph = icons.removeAttachment, .enabled = false,
     .handler = [this](TCommandSource) { lstAttach->RemoveSelected(); }},
    {.id = int(C::Send), .menu = Email,
     .item = {"mniSend", QStringLiteral("&Send Email"), QStringLiteral("Send email"), 0},
     .button = {"btnSend", QStringLiteral("Send Email"), QStringLiteral("Send email"), 2},
     .glyph = icons.send, .handler = [this](TCommandSource) { SendEmail(); }},
    {.id = int(C::Close), .menu = Email,
     .item = {"mniClose", QStringLiteral("&Close"), QStringLiteral("Close email"), 1},
     .button = {"btnClose", QStringLiteral("Close Email"), QStringLiteral("Close email"), 2},
     .glyph = icons.close, .handler = [this](TCommandSource) { close(); }},
  };
  // clang-format on
  commands_ = new TCommandTable(this, {mnuEmail, mnuOptions}, barMail, table);

  styles_ = new TBarStyleMenu(
      barMail,
      {QStringLiteral("I&Explorer Style"), QStringLiteral("Display tool bars with flat buttons"),
       QStringLiteral("&Standard Style"), QStringLiteral("Display tool bars with raised buttons")});
  styles_->setToolTipsVisible(true);
}

QAction *TfrmEmail::Item(TEmailCommand command) const { return commands_->Item(int(command)); }

QAction *TfrmEmail::Button(TEmailCommand command) const { return commands_->Button(int(command)); }

QAction *TfrmEmail::Command(const QString &name) const { return findChild<QAction *>(name); }

// ---- showing and closing ------------------------------------------------------------------

void TfrmEmail::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  if (shown_) return;
  shown_ = true;
  FormShow();
  // Once per opening, after the form is up: a warning box of its own would otherwise come
  // back at every return of the focus.
  QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TfrmEmail::FormShow() {
  edtFrom->setText(settings_.Caption(QStringLiteral("SMTPUEmail")));
  Item(TEmailCommand::CopyToSelf)->setChecked(settings_.Checked(QStringLiteral("SMTPBCC")));
  if (SupportRequest) return;
  QStringList lines = text_.split(u'\n');
  lines << QString();
  if (settings_.Checked(QStringLiteral("SMTPSigCheck")))
    lines << settings_.Lines(QStringLiteral("SMTPSignature"));
  mmoBody->setPlainText(lines.join(u'\n'));
  edtSubject->setText(QStringLiteral("Note: "));
}

void TfrmEmail::FormActivate() {
  if (activated_ || !isVisible()) return;
  activated_ = true;
  if (TMailSettings::NoServer(settings_.Caption(QStringLiteral("SMTPHost"))))
    Warn(NoServerWarning());
}

void TfrmEmail::FormClose() {
  settings_.SetCaption(QStringLiteral("SMTPUEmail"), edtFrom->text());
  settings_.SetChecked(QStringLiteral("SMTPBCC"), Item(TEmailCommand::CopyToSelf)->isChecked());
  exchange_.clear();
}

void TfrmEmail::done(int result) {
  if (send_) {
    // Closing while a message is being sent stops the send first; the form closes once the
    // send has ended.
    closeAfterSend_ = true;
    send_->Cancel();
    return;
  }
  FormClose();
  QDialog::done(result);
}

void TfrmEmail::keyPressEvent(QKeyEvent *event) {
  // Escape would close the form and lose the message typed so far: only Close does that.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

// PressEnterKey: Enter in From, To or Subject moves on to the next field.
bool TfrmEmail::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::KeyPress &&
      (watched == edtFrom || watched == edtTo || watched == edtSubject)) {
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      focusNextChild();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

// ---- commands -----------------------------------------------------------------------------

// The menu items tick themselves and set the buttons; the buttons set the menu ticks. Then
// text mode shows the text, attachment mode the list and its commands.
void TfrmEmail::AddButtons(TCommandSource source) {
  QAction *btnEnterText = Button(TEmailCommand::EnterText);
  if (source == TCommandSource::Menu) {
    const bool text = Item(TEmailCommand::EnterText)->isChecked();
    btnEnterText->setChecked(text);
    Button(TEmailCommand::AttachFiles)->setChecked(!text);
  } else {
    const bool text = btnEnterText->isChecked();
    Item(TEmailCommand::EnterText)->setChecked(text);
    Item(TEmailCommand::AttachFiles)->setChecked(!text);
  }
  const bool textMode = btnEnterText->isChecked();
  mmoBody->setVisible(textMode);
  lstAttach->setVisible(!textMode);
  for (TEmailCommand command : {TEmailCommand::AddAttachment, TEmailCommand::RemoveAttachment})
    commands_->SetEnabled(int(command), !textMode);
}

// The main window's open dialog with its folder and filters; the chosen file is appended.
void TfrmEmail::AddAttachment() {
  QFileDialog dialog(this, QStringLiteral("Open"), settings_.Caption(QStringLiteral("FilePath")));
  dialog.setObjectName(QStringLiteral("dlgOpen"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  const QObject *dlgOpen = context_.holders
                               ? context_.holders->findChild<QObject *>(QStringLiteral("dlgOpen"))
                               : nullptr;
  const QString filter = dlgOpen ? dlgOpen->property("Filter").toString() : QString();
  if (!filter.isEmpty())
    FileDialogs::SetFilters(dialog, filter, settings_.Caption(QStringLiteral("lblFilter")).toInt());
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    lstAttach->addItem(QFileInfo(dialog.selectedFiles().first()).absoluteFilePath());
}

// ---- sending ------------------------------------------------------------------------------

void TfrmEmail::Warn(const QString &text, QWidget *focus) {
  MessageBox::Show(this, MessageBox::MsgHeader() + text, TMsgKind::Warning, TMsgButtons::Ok);
  if (focus) focus->setFocus();
}

bool TfrmEmail::Ask(const QString &text) {
  return MessageBox::Show(this, MessageBox::MsgHeader() + text, TMsgKind::Information,
                          TMsgButtons::YesNo) == TMsgResult::Yes;
}

// The checks of a send in their order; false when one stopped it.
bool TfrmEmail::Checked() {
  if (edtTo->text() != SupportAddress::Current() &&
      TMailSettings::NoServer(settings_.Caption(QStringLiteral("SMTPHost")))) {
    Warn(NoServerWarning());
    return false;
  }
  if (edtFrom->text().isEmpty()) {
    Warn(QStringLiteral("An email cannot be sent without a From: address."), edtFrom);
    return false;
  }
  if (edtTo->text().isEmpty()) {
    Warn(QStringLiteral("An email cannot be sent without a To: address."), edtTo);
    return false;
  }
  if (!FieldsSafe()) return false;
  if (edtSubject->text().isEmpty() &&
      !Ask(QStringLiteral("You have not entered a subject for your message. Do you still wish to "
                          "send it?"))) {
    edtSubject->setFocus();
    return false;
  }
  if (mmoBody->document()->isEmpty() &&
      !Ask(QStringLiteral("You have not entered anything in the body of your message. Do you "
                          "still wish to send it?"))) {
    mmoBody->setFocus();
    return false;
  }
  if (settings_.Checked(QStringLiteral("SMTPReminder")) &&
      !Ask(QStringLiteral("Are you connected to the Internet?")))
    return false;
  return true;
}

// What goes into the header is exactly what the fields show: no line breaks, and From and To
// each name the one address the message really uses.
bool TfrmEmail::FieldsSafe() {
  const std::pair<QString, QLineEdit *> fields[] = {{QStringLiteral("From:"), edtFrom},
                                                    {QStringLiteral("To:"), edtTo},
                                                    {QStringLiteral("Subject:"), edtSubject}};
  for (const auto &[name, edit] : fields) {
    if (const QString problem = FieldCheck::LineBreak(name, edit->text()); !problem.isEmpty()) {
      Warn(problem, edit);
      return false;
    }
  }
  const QString replyTo = FieldCheck::LineBreak(QStringLiteral("Reply To"),
                                                settings_.Caption(QStringLiteral("SMTPREMail")));
  if (!replyTo.isEmpty()) {
    Warn(replyTo + QStringLiteral(" It is set in Options|Preferences|Network."));
    return false;
  }
  for (const auto &[name, edit] : {fields[0], fields[1]}) {
    if (const QString problem = FieldCheck::OneAddress(name, edit->text()); !problem.isEmpty()) {
      Warn(problem, edit);
      return false;
    }
  }
  return true;
}

void TfrmEmail::AddToAddressList(const QString &to) {
  for (int i = 0; i < lstAddress->count(); ++i)
    if (lstAddress->item(i)->text().compare(to, Qt::CaseInsensitive) == 0) return;
  lstAddress->insertItem(0, to);
}

void TfrmEmail::SetSending(bool sending) {
  commands_->SetEnabled(int(TEmailCommand::Send), !sending);
  pnlWait->SetCancel(sending, [this] {
    if (send_) send_->Cancel();
  });
}

void TfrmEmail::SendEmail() {
  if (send_ || !Checked()) return;
  AddToAddressList(edtTo->text());
  TMailSend send(*smtClient_, settings_, *pnlWait, this);
  try {
    if (!send.Prepare({edtFrom->text(), edtTo->text(), edtSubject->text(),
                       mmoBody->toPlainText().split(u'\n'), lstAttach->Paths(),
                       Item(TEmailCommand::CopyToSelf)->isChecked()}))
      return;
  } catch (const EConvertError &error) {
    MessageBox::ShowError(this, QString::fromStdString(error.what()));
    return;
  }
  send_ = &send;
  SetSending(true);
  const QPointer<TfrmEmail> self(this);
  const bool sent = send.Run();
  if (!self) return;  // the window closed under the send
  send_ = nullptr;
  SetSending(false);
  if (sent && SupportRequest) SupportAddress::Remember(edtTo->text());
  if (sent || closeAfterSend_) done(sent ? Accepted : Rejected);
}

// ---- address book -------------------------------------------------------------------------

void TfrmEmail::DisplayEmailAddresses() {
  edtTo->setFocus();
  exchange_.clear();
  for (int i = 0; i < lstAddress->count(); ++i) exchange_ << lstAddress->item(i)->text();
  std::optional<QString> chosen;
  {
    TfrmAEmail book(exchange_, context_.icons, this);
    book.exec();
    chosen = book.Chosen();
  }
  if (chosen) edtTo->setText(*chosen);
  lstAddress->clear();
  lstAddress->addItems(exchange_);
}
