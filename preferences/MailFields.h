// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class THolder;

// The outgoing-mail settings as the preferences' Network page and the set-up wizard show
// them: server, security, port, login and stored password, the copy and reminder switches,
// and the sender's details with the signature. Filled from and given back to the main
// window's setting holders; nothing reaches them until Save.
class TMailFields : public QWidget {
  Q_OBJECT

 public:
  // holders: the object whose children are the setting holders, found by name.
  TMailFields(QObject &holders, QWidget *parent = nullptr);

  void Load();
  void Save();

  // The port that belongs to a security choice: 25 for "None", 587 for "STARTTLS", 465 for
  // "TLS".
  static int DefaultPort(const QString &security);
  // The message for a port box left with text that is no port; kept is the port it keeps.
  static QString PortProblem(const QString &typed, int kept);
  // The password store's account of a login at a server.
  static QString SecretAccount(const QString &login, const QString &server);

  QLineEdit *edtOMServer;
  QComboBox *cbxSecurity;
  QLabel *lblPort;
  QSpinBox *spnPort;
  QCheckBox *chkDPort;
  QLineEdit *edtLogin;
  QPushButton *btnPassword;
  QPushButton *btnForget;
  QCheckBox *chkBCC;
  QCheckBox *chkReminder;
  QLineEdit *edtName;
  QLineEdit *edtOrg;
  QLineEdit *edtUEmail;
  QLineEdit *edtReplyTo;
  QCheckBox *chkSignature;
  QPlainTextEdit *mmoSignature;

 Q_SIGNALS:
  // One of the single-line boxes lost the focus.
  void TextExit();

 private:
  THolder *holder(const char *name) const;
  void DefaultPortClick();
  void UpdateIdle();
  void SetPassword();
  void ForgetPassword();

  QObject &holders_;
};
