// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/recovery/fmRecover.h"

#include <sys/stat.h>

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/core/Folders.h"
#include "platform/ui/MessageBox.h"

TfrmRecover::TfrmRecover(const TRecoveryClaim &claim, QWidget *parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmRecover"));
  setWindowTitle(QStringLiteral("Recover Documents"));
  auto *layout = new QVBoxLayout(this);
  auto *lblIntro = new QLabel(
      QStringLiteral(
          "Vellumix did not end normally last time. The text of these documents was kept "
          "and can be recovered. Recovered documents open as modified; no file is "
          "changed until you save."),
      this);
  lblIntro->setObjectName(QStringLiteral("lblIntro"));
  lblIntro->setWordWrap(true);
  layout->addWidget(lblIntro);

  lstDocuments_ = new QTreeWidget(this);
  lstDocuments_->setObjectName(QStringLiteral("lstDocuments"));
  lstDocuments_->setAccessibleName(QStringLiteral("Documents that can be recovered"));
  lstDocuments_->setRootIsDecorated(false);
  lstDocuments_->setHeaderLabels(
      {QStringLiteral("Document"), QStringLiteral("Last changed"), QStringLiteral("File on disk")});
  const QLocale locale;
  for (const TFoundCopy &copy : claim.copies) {
    const TRecoveryRecord &r = copy.record;
    const QString shown = r.Titled() ? r.name : QStringLiteral("untitled.txt");
    auto *item = new QTreeWidgetItem(
        lstDocuments_,
        {shown, locale.toString(QDateTime::fromMSecsSinceEpoch(r.changedMs), QLocale::ShortFormat),
         DiskState(r)});
    item->setToolTip(0, r.Titled() ? r.name : r.text.left(200));
  }
  lstDocuments_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  lstDocuments_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  lstDocuments_->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
  layout->addWidget(lstDocuments_, 1);

  if (!claim.notes.isEmpty()) {
    auto *lblNotes = new QLabel(claim.notes.join(u'\n'), this);
    lblNotes->setObjectName(QStringLiteral("lblNotes"));
    lblNotes->setWordWrap(true);
    lblNotes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(lblNotes);
  }

  auto *buttons = new QDialogButtonBox(this);
  QPushButton *btnRecover =
      buttons->addButton(QStringLiteral("&Recover"), QDialogButtonBox::AcceptRole);
  QPushButton *btnDiscard =
      buttons->addButton(QStringLiteral("&Discard"), QDialogButtonBox::DestructiveRole);
  QPushButton *btnLater =
      buttons->addButton(QStringLiteral("Decide &Later"), QDialogButtonBox::RejectRole);
  btnRecover->setObjectName(QStringLiteral("btnRecover"));
  btnDiscard->setObjectName(QStringLiteral("btnDiscard"));
  btnLater->setObjectName(QStringLiteral("btnLater"));
  btnRecover->setDefault(true);
  btnRecover->setEnabled(!claim.copies.empty());
  connect(btnRecover, &QPushButton::clicked, this, [this] { choose(TChoice::Recover); });
  connect(btnDiscard, &QPushButton::clicked, this, [this] { choose(TChoice::Discard); });
  connect(btnLater, &QPushButton::clicked, this, [this] { choose(TChoice::Later); });
  layout->addWidget(buttons);
  resize(620, 320);
}

void TfrmRecover::choose(TChoice choice) {
  if (choice == TChoice::Discard &&
      MessageBox::Show(
          this,
          MessageBox::MsgHeader() +
              QStringLiteral(
                  "The kept text of these documents will be lost for good.\rDiscard it?"),
          TMsgKind::Confirmation, TMsgButtons::YesNo) != TMsgResult::Yes)
    return;
  choice_ = choice;
  if (choice == TChoice::Later)
    reject();
  else
    accept();
}

TfrmRecover::TChoice TfrmRecover::Run(const TRecoveryClaim &claim, QWidget *parent) {
  TfrmRecover window(claim, parent);
  window.exec();
  return window.Choice();
}

QString TfrmRecover::DiskState(const TRecoveryRecord &record) {
  if (!record.Titled()) return QStringLiteral("never saved");
  struct stat st;
  if (::stat(QFile::encodeName(record.name).constData(), &st) != 0)
    return QStringLiteral("no longer there");
  if (!record.diskKnown) return QStringLiteral("created since");
  const qint64 modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return st.st_size == record.diskSize && modifiedNs == record.diskModifiedNs
             ? QStringLiteral("unchanged")
             : QStringLiteral("changed since");
}
