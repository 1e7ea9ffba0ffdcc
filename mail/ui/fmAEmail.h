// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QStringList>
#include <optional>

#include "mail/ui/MailContext.h"

class QAction;
class QToolBar;
class TAddressList;
class TCommandTable;
class TFormStorage;
class TBarStyleMenu;

// The address book's commands.
enum class TAddressCommand { Use, Delete, Close, Sort };

// The address book "Email Addresses": the addresses mail was sent to, to pick one for To,
// delete entries or sort them. It works on the compose form's exchange list: the entries are
// taken from it when the book is made and written back to it when the book closes.
class TfrmAEmail : public QDialog {
  Q_OBJECT

 public:
  TfrmAEmail(QStringList &exchange, const TMailIcons &icons, QWidget *parent = nullptr);
  ~TfrmAEmail() override;

  // The address chosen with Use, Close or a double click; nothing when the book was closed
  // any other way.
  const std::optional<QString> &Chosen() const { return chosen_; }

  TAddressList *lstAddress = nullptr;
  QToolBar *barAddress = nullptr;
  QAction *Command(const QString &name) const;

  void EmailAddress();
  void DeleteAddress();
  void SortAddress();

 public Q_SLOTS:
  void done(int result) override;

 private:
  void BuildCommands(const TMailIcons &icons);
  // appEventsActiveFormChange: Use and Delete follow the highlighted entry.
  void UpdateCommandState();
  bool event(QEvent *e) override;

  QStringList &exchange_;
  std::optional<QString> chosen_;
  TFormStorage *plcEmail_ = nullptr;
  TBarStyleMenu *styles_ = nullptr;
  TCommandTable *commands_ = nullptr;
};
