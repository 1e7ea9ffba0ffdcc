// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/ui/fmAEmail.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "mail/ui/AddressList.h"
#include "mail/ui/CommandTable.h"
#include "platform/ui/BarStyleMenu.h"
#include "settings/ui/FormStorage.h"
#include "settings/ui/FormTables.h"

TfrmAEmail::TfrmAEmail(QStringList &exchange, const TMailIcons &icons, QWidget *parent)
    : QDialog(parent), exchange_(exchange) {
  setObjectName(QStringLiteral("frmAEmail"));
  setWindowTitle(QStringLiteral("Email Addresses"));
  setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::WindowContextHelpButtonHint);
  lstAddress = new TAddressList(this);
  lstAddress->setObjectName(QStringLiteral("lstAddress"));
  lstAddress->setProperty("HelpContext", 1101);
  lstAddress->setAccessibleName(QStringLiteral("Email addresses"));
  barAddress = new QToolBar(this);
  barAddress->setObjectName(QStringLiteral("barAddress"));
  barAddress->setIconSize(QSize(16, 16));
  barAddress->setMovable(false);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(barAddress);
  layout->addWidget(lstAddress, 1);
  BuildCommands(icons);
  resize(219, 300);

  lstAddress->SetEntries(exchange_);
  connect(lstAddress, &QListWidget::itemSelectionChanged, this, &TfrmAEmail::UpdateCommandState);
  connect(lstAddress, &QListWidget::itemClicked, this, &TfrmAEmail::UpdateCommandState);
  connect(lstAddress, &QListWidget::itemDoubleClicked, this, &TfrmAEmail::EmailAddress);

  plcEmail_ = new TFormStorage(this);
  plcEmail_->setObjectName(QStringLiteral("plcEmail"));
  plcEmail_->IniSection = QStringLiteral("Email Addresses");
  plcEmail_->SetStoredProps(FormTables::EmailAddressesProps(),
                            FormTables::EmailAddressesDefaults());
  UpdateCommandState();
}

TfrmAEmail::~TfrmAEmail() { plcEmail_->FormDestroying(); }

void TfrmAEmail::BuildCommands(const TMailIcons &icons) {
  auto *mnuMain = new QMenuBar(this);
  mnuMain->setObjectName(QStringLiteral("mnuMain"));
  layout()->setMenuBar(mnuMain);
  QMenu *mnuAddresses = mnuMain->addMenu(QStringLiteral("&Addresses"));
  mnuAddresses->setObjectName(QStringLiteral("mnuAddresses"));
  mnuAddresses->setToolTipsVisible(true);
  styles_ = new TBarStyleMenu(
      barAddress,
      {QStringLiteral("I&Explorer Style"), QStringLiteral("Display too bar with flat buttons"),
       QStringLiteral("S&tandard Style"), QStringLiteral("Display tool bar with raised buttons")});
  styles_->setToolTipsVisible(true);
  styles_->addSeparator();
  enum { Addresses, ToolBarMenu };

  auto use = [this](TCommandSource) { EmailAddress(); };
  using C = TAddressCommand;
  // clang-format off
  const std::vector<TCommandSpec> table = {
    {.id = int(C::Use), .menu = Addresses,
     .item = {"mniUse", QStringLiteral("&Use"), QStringLiteral("Use email address"), 0},
     .button = {"btnUse", QStringLiteral("Use Address"), QStringLiteral("Use address in email"), 0},
     .glyph = icons.useAddress, .handler = use},
    {.id = int(C::Delete), .menu = Addresses,
     .item = {"mniDelete", QStringLiteral("&Delete"), QStringLiteral("Delete highlighted address"), 0},
     .button = {"btnDelete", QStringLiteral("Delete Address"), QStringLiteral("Delete highlighted address"), 0},
     .glyph = icons.deleteAddress, .handler = [this](TCommandSource) { DeleteAddress(); }},
    {.id = int(C::Close), .menu = Addresses,
     .item = {"mniClose", QStringLiteral("&Close"), QStringLiteral("Close email addresses"), 1},
     .button = {"btnClose", QStringLiteral("Close"), QStringLiteral("Close email addresses"), 1},
     .glyph = icons.close, .handler = use},
    {.id = int(C::Sort), .menu = ToolBarMenu,
     .item = {"puiSort", QStringLiteral("Sort email addresses"), QStringLiteral("Sort email addresses"), 0},
     .checkable = true, .enabled = false, .handler = [this](TCommandSource) { SortAddress(); }},
  };
  // clang-format on
  commands_ = new TCommandTable(this, {mnuAddresses, styles_}, barAddress, table);
}

QAction *TfrmAEmail::Command(const QString &name) const { return findChild<QAction *>(name); }

void TfrmAEmail::UpdateCommandState() {
  commands_->SetEnabled(int(TAddressCommand::Sort), true);
  const bool highlighted = lstAddress->Highlighted().has_value();
  for (TAddressCommand command : {TAddressCommand::Use, TAddressCommand::Delete})
    commands_->SetEnabled(int(command), highlighted);
}

bool TfrmAEmail::event(QEvent *e) {
  if (e->type() == QEvent::WindowActivate) UpdateCommandState();
  return QDialog::event(e);
}

void TfrmAEmail::EmailAddress() {
  chosen_ = lstAddress->Highlighted();
  done(Accepted);
}

void TfrmAEmail::DeleteAddress() {
  if (lstAddress->Highlighted()) delete lstAddress->currentItem();
  lstAddress->clearSelection();
  UpdateCommandState();
}

void TfrmAEmail::SortAddress() {
  // The menu item has ticked itself; the list follows it.
  lstAddress->SetSorted(commands_->Item(int(TAddressCommand::Sort))->isChecked());
}

void TfrmAEmail::done(int result) {
  // FormClose: the exchange list takes the book's entries in their current order.
  exchange_ = lstAddress->Entries();
  QDialog::done(result);
}
