// SPDX-License-Identifier: GPL-3.0-or-later
// The windows as a user sees them: every label and button fits, nothing overlaps the panel.
// With VELLUMIX_SCREENSHOTS set to a folder, the pictures are saved there to be looked at.
#include <QDir>
#include <QLabel>
#include <QToolBar>
#include <QToolButton>

#include "MailFixture.h"
#include "TestEnvironment.h"
#include "mail/ui/AddressList.h"
#include "mail/ui/AttachList.h"
#include "mail/ui/WaitPanel.h"
#include "mail/ui/fmAEmail.h"

namespace {

void Save(QWidget *window, const QString &name) {
  const QString folder = qEnvironmentVariable("VELLUMIX_SCREENSHOTS");
  if (folder.isEmpty()) return;
  QDir().mkpath(folder);
  EXPECT_TRUE(window->grab().save(folder + u'/' + name + QStringLiteral(".png")));
}

// Every visible label shows its whole text and lies inside the window.
void ExpectNothingCutOff(QWidget *window) {
  for (QLabel *label : window->findChildren<QLabel *>()) {
    if (!label->isVisible() || label->text().isEmpty()) continue;
    EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()))
        << label->text().toStdString();
    const QRect place(label->mapTo(window, QPoint(0, 0)), label->size());
    EXPECT_TRUE(window->rect().contains(place)) << label->text().toStdString();
  }
  for (QToolBar *bar : window->findChildren<QToolBar *>())
    for (QToolButton *button : bar->findChildren<QToolButton *>()) {
      if (!button->isVisible() || button->objectName() == u"qt_toolbar_ext_button") continue;
      EXPECT_TRUE(bar->rect().contains(button->geometry())) << button->toolTip().toStdString();
      EXPECT_FALSE(button->icon().isNull()) << button->toolTip().toStdString();
    }
}

}  // namespace

class Screenshots : public MailFixture {};

TEST_F(Screenshots, ComposeInBothModesAndTheAddressBook) {
  Holder("SMTPHost")->SetCaption(QStringLiteral("127.0.0.1"));
  Holder("SMTPUEmail")->SetCaption(QStringLiteral("Ann Smith <ann@example.org>"));
  Open(QStringLiteral("Dear Bob,\n\nthe report is ready; the figures are attached."));
  form->edtTo->setText(QStringLiteral("bob@example.org"));
  form->pnlWait->SetText(QStringLiteral("Sending message to bob@example.org"));
  form->pnlWait->SetProgress(4 * 1024 * 1024, 10 * 1024 * 1024);
  form->pnlWait->SetCancel(true);
  Settle();
  ExpectNothingCutOff(form.get());
  EXPECT_GE(form->pnlWait->mapTo(form.get(), QPoint(0, 0)).y(),
            form->mmoBody->mapTo(form.get(), QPoint(0, form->mmoBody->height())).y());
  Save(form.get(), QStringLiteral("compose-text"));

  const QString folder = TestEnvironment::FreshDir(QStringLiteral("shots"));
  form->lstAttach->addItem(
      TestEnvironment::WriteFile(folder + QStringLiteral("/figures.txt"), "1 2 3"));
  form->lstAttach->addItem(
      TestEnvironment::WriteFile(folder + QStringLiteral("/picture.png"), "png"));
  form->lstAttach->item(1)->setSelected(true);
  form->Command(QStringLiteral("btnAttachFile"))->trigger();
  form->pnlWait->Clear();
  form->pnlWait->SetCancel(false);
  Settle();
  ExpectNothingCutOff(form.get());
  EXPECT_EQ(form->lstAttach->visualItemRect(form->lstAttach->item(0)).height(), 18);
  EXPECT_FALSE(TAttachDelegate::FileIcon(form->lstAttach->item(0)->text()).isNull())
      << "each entry has an icon";
  Save(form.get(), QStringLiteral("compose-attach"));

  QStringList addresses{QStringLiteral("carol@example.org"), QStringLiteral("bob@example.org")};
  TfrmAEmail book(addresses, context.icons);
  book.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&book));
  book.lstAddress->setCurrentRow(1);
  Settle();
  ExpectNothingCutOff(&book);
  Save(&book, QStringLiteral("address-book"));
}
