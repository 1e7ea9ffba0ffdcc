#include "fmAEmail.h"

#include <QAction>
#include <QEvent>
#include <QMenuBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "AddressList.h"
#include "FormStorage.h"
#include "FormTables.h"
#include "StyleMenu.h"

TfrmAEmail::TfrmAEmail(QStringList &exchange, const TMailIcons &icons, QWidget *parent)
    : QDialog(parent), exchange_(exchange) {
  setObjectName(QStringLiteral("frmAEmail"));
  setWindowTitle(QStringLiteral("Email Addresses"));
  setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::WindowContextHelpButtonHint);
  lstAddress = new TAddressList(this);
  lstAddress->setObjectName(QStringLiteral("lstAddress"));
  lstAddress->setProperty("HelpContext", 1101);
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

QAction *TfrmAEmail::MakeCommand(const char *name, const QString &caption, const QString &hint,
                                 const QIcon &icon) {
  auto *action = new QAction(icon, caption, this);
  action->setObjectName(QString::fromLatin1(name));
  action->setToolTip(hint);
  action->setStatusTip(hint);
  return action;
}

void TfrmAEmail::BuildCommands(const TMailIcons &icons) {
  QAction *btnUse = MakeCommand("btnUse", QStringLiteral("Use Address"),
                                QStringLiteral("Use address in email"), icons.useAddress);
  QAction *btnDelete =
      MakeCommand("btnDelete", QStringLiteral("Delete Address"),
                  QStringLiteral("Delete highlighted address"), icons.deleteAddress);
  QAction *btnClose = MakeCommand("btnClose", QStringLiteral("Close"),
                                  QStringLiteral("Close email addresses"), icons.close);
  QAction *mniUse = MakeCommand("mniUse", QStringLiteral("&Use"),
                                QStringLiteral("Use email address"), icons.useAddress);
  QAction *mniDelete =
      MakeCommand("mniDelete", QStringLiteral("&Delete"),
                  QStringLiteral("Delete highlighted address"), icons.deleteAddress);
  QAction *mniClose = MakeCommand("mniClose", QStringLiteral("&Close"),
                                  QStringLiteral("Close email addresses"), icons.close);
  barAddress->addActions({btnUse, btnDelete});
  barAddress->addSeparator();
  barAddress->addAction(btnClose);

  auto *mnuMain = new QMenuBar(this);
  mnuMain->setObjectName(QStringLiteral("mnuMain"));
  layout()->setMenuBar(mnuMain);
  QMenu *mnuAddresses = mnuMain->addMenu(QStringLiteral("&Addresses"));
  mnuAddresses->setObjectName(QStringLiteral("mnuAddresses"));
  mnuAddresses->setToolTipsVisible(true);
  mnuAddresses->addActions({mniUse, mniDelete});
  mnuAddresses->addSeparator();
  mnuAddresses->addAction(mniClose);

  for (QAction *command : {btnUse, btnClose, mniUse, mniClose})
    connect(command, &QAction::triggered, this, &TfrmAEmail::EmailAddress);
  for (QAction *command : {btnDelete, mniDelete})
    connect(command, &QAction::triggered, this, &TfrmAEmail::DeleteAddress);

  styles_ = new TStyleMenu(
      this, barAddress,
      {QStringLiteral("S&tandard Style"), QStringLiteral("Display too bar with flat buttons"),
       QStringLiteral("Display tool bar with raised buttons")});
  QAction *puiSort = MakeCommand("puiSort", QStringLiteral("Sort email addresses"),
                                 QStringLiteral("Sort email addresses"));
  puiSort->setCheckable(true);
  puiSort->setEnabled(false);
  styles_->Menu()->addSeparator();
  styles_->Menu()->addAction(puiSort);
  connect(puiSort, &QAction::triggered, this, &TfrmAEmail::SortAddress);
}

QAction *TfrmAEmail::Command(const QString &name) const { return findChild<QAction *>(name); }

void TfrmAEmail::UpdateCommandState() {
  Command(QStringLiteral("puiSort"))->setEnabled(true);
  const bool highlighted = lstAddress->Highlighted().has_value();
  for (const char *name : {"btnUse", "mniUse", "btnDelete", "mniDelete"})
    Command(QString::fromLatin1(name))->setEnabled(highlighted);
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
  lstAddress->SetSorted(Command(QStringLiteral("puiSort"))->isChecked());
}

void TfrmAEmail::done(int result) {
  // FormClose: the exchange list takes the book's entries in their current order.
  exchange_ = lstAddress->Entries();
  QDialog::done(result);
}
