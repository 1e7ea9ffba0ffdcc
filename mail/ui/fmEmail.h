// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <memory>

#include "mail/ui/MailContext.h"
#include "mail/ui/MailSettings.h"

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QToolBar;
class QToolButton;
class TAttachList;
class TCommandTable;
enum class TCommandSource;
class TFormStorage;
class TMailSend;
class TNMSMTP;
class TBarStyleMenu;
class TWaitPanel;

// The compose window's commands.
enum class TEmailCommand {
  CopyToSelf,
  EnterText,
  AttachFiles,
  AddAttachment,
  RemoveAttachment,
  Send,
  Close
};

// The compose window "Send Email": From, To and Subject, the text or the list of files to
// attach, and the commands that send the message through its SMTP client.
class TfrmEmail : public QDialog {
  Q_OBJECT

 public:
  // text: the workspace's text, which becomes the message text when the form is shown.
  TfrmEmail(const TMailContext &context, const QString &text, QWidget *parent = nullptr);
  ~TfrmEmail() override;

  // A support request: FormShow leaves the text and subject as the caller set them.
  bool SupportRequest = false;

  QLineEdit *edtFrom = nullptr;
  QLineEdit *edtTo = nullptr;
  QLineEdit *edtSubject = nullptr;
  QToolButton *btnEmailAddress = nullptr;
  QPlainTextEdit *mmoBody = nullptr;
  TAttachList *lstAttach = nullptr;
  QListWidget *lstAddress = nullptr;
  QToolBar *barMail = nullptr;
  TWaitPanel *pnlWait = nullptr;

  TNMSMTP &Client() const { return *smtClient_; }
  bool Sending() const { return send_ != nullptr; }
  // A command's action by its object name (mniSend, btnSend, ...).
  QAction *Command(const QString &name) const;
  // A command's menu item and tool button; null when it has none.
  QAction *Item(TEmailCommand command) const;
  QAction *Button(TEmailCommand command) const;

  // The send behind the Send commands: the checks, the address list, the client, the send.
  void SendEmail();
  // Runs the address book and takes the address chosen there into To.
  void DisplayEmailAddresses();

 protected:
  void showEvent(QShowEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

 public Q_SLOTS:
  void done(int result) override;

 private:
  void BuildFields();
  void BuildCommands();
  void FormShow();
  void FormActivate();
  void FormClose();
  void AddButtons(TCommandSource source);
  void AddAttachment();
  bool Checked();
  bool FieldsSafe();
  void AddToAddressList(const QString &to);
  void Warn(const QString &text, QWidget *focus = nullptr);
  bool Ask(const QString &text);
  void SetSending(bool sending);

  TMailContext context_;
  TMailSettings settings_;
  QString text_;
  TFormStorage *strEmail_ = nullptr;
  TNMSMTP *smtClient_ = nullptr;
  TBarStyleMenu *styles_ = nullptr;
  TCommandTable *commands_ = nullptr;
  QStringList exchange_;  // carries the address list into the address book and back
  TMailSend *send_ = nullptr;
  bool shown_ = false;
  bool activated_ = false;
  bool closeAfterSend_ = false;
};

// The warning shown when no outgoing mail server is set.
QString NoServerWarning();
