// SPDX-License-Identifier: GPL-3.0-or-later
// The address list filled by sends, and the address book opened from the compose window.
#include <QListWidget>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "MailFixture.h"
#include "mail/ui/AddressList.h"
#include "mail/ui/fmAEmail.h"

namespace {

// Runs the address book from the compose window's button; book() acts on it while it is up.
void UseBook(TfrmEmail &form, const std::function<void(TfrmAEmail &)> &act) {
  bool seen = false;
  QTimer::singleShot(0, &form, [&] {
    auto *book = form.findChild<TfrmAEmail *>();
    ASSERT_NE(book, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return book->isVisible(); }, 10000));
    seen = true;
    act(*book);
    if (book->isVisible()) book->close();
  });
  form.btnEmailAddress->click();
  EXPECT_TRUE(seen);
}

QStringList Entries(const QListWidget *list) {
  QStringList entries;
  for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
  return entries;
}

}  // namespace

class AddressBook : public MailFixture {
 protected:
  void SetUp() override {
    MailFixture::SetUp();
    // A configured server, so that opening the form shows no warning.
    Holder("SMTPHost")->SetCaption(QStringLiteral("127.0.0.1"));
  }
  // Sends one message to `to` and lets the form close.
  void SendTo(const TSmtpSink &sink, const QString &to) {
    UseServer(sink);
    TModalAnswerer answers({QStringLiteral("OK")});
    Open();
    Address(QStringLiteral("me@example.org"), to);
    Run("btnSend");
    EXPECT_FALSE(form->isVisible()) << answers.texts.join(u'|').toStdString();
    form.reset();
  }
};

TEST_F(AddressBook, SendsAddNewAddressesAtTheTopOnceAndTheListPersists) {
  TSmtpSink sink;
  SendTo(sink, QStringLiteral("bob@example.org"));
  SendTo(sink, QStringLiteral("carol@example.org"));
  SendTo(sink, QStringLiteral("BOB@Example.org"));
  EXPECT_EQ(sink.Count(), 3);
  Open();
  EXPECT_EQ(Entries(form->lstAddress),
            QStringList({QStringLiteral("carol@example.org"), QStringLiteral("bob@example.org")}));
  form.reset();
  EXPECT_EQ(Stored(QStringLiteral("Email Form.lstAddress_Items"), QStringLiteral("Count")),
            QStringLiteral("2"));
  // The section holds the stored names of the window.
  EXPECT_EQ(Stored(QStringLiteral("Email Form"), QStringLiteral("mniExplore_Checked")),
            QStringLiteral("True"));
  EXPECT_EQ(Stored(QStringLiteral("Email Form"), QStringLiteral("mniStandard_Checked")),
            QStringLiteral("False"));
  EXPECT_EQ(Stored(QStringLiteral("Email Form"), QStringLiteral("barMail_Options")),
            QStringLiteral("[sbFlatBtns]"));
}

TEST_F(AddressBook, CloseBoxChoosesNothingAndCloseWithAHighlightedEntryFillsTo) {
  Open();
  form->lstAddress->addItems(
      {QStringLiteral("zed@example.org"), QStringLiteral("amy@example.org")});
  form->edtTo->setText(QStringLiteral("typed@example.org"));

  UseBook(*form, [](TfrmAEmail &book) {
    EXPECT_EQ(book.windowTitle(), QStringLiteral("Email Addresses"));
    EXPECT_EQ(Entries(book.lstAddress),
              QStringList({QStringLiteral("zed@example.org"), QStringLiteral("amy@example.org")}));
    for (const char *name : {"btnUse", "mniUse", "btnDelete", "mniDelete"})
      EXPECT_FALSE(book.Command(QString::fromLatin1(name))->isEnabled()) << name;
    EXPECT_TRUE(book.Command(QStringLiteral("btnClose"))->isEnabled());
    book.lstAddress->setCurrentRow(1);
    for (const char *name : {"btnUse", "mniUse", "btnDelete", "mniDelete"})
      EXPECT_TRUE(book.Command(QString::fromLatin1(name))->isEnabled()) << name;
    book.close();  // the window's close box
  });
  EXPECT_EQ(form->edtTo->text(), QStringLiteral("typed@example.org"));

  UseBook(*form, [](TfrmAEmail &book) {
    book.lstAddress->setCurrentRow(1);
    book.Command(QStringLiteral("btnClose"))->trigger();
  });
  EXPECT_EQ(form->edtTo->text(), QStringLiteral("amy@example.org"));

  // After a use that chose an address, the close box again leaves To as it is.
  form->edtTo->setText(QStringLiteral("other@example.org"));
  UseBook(*form, [](TfrmAEmail &book) {
    book.lstAddress->setCurrentRow(0);
    book.close();
  });
  EXPECT_EQ(form->edtTo->text(), QStringLiteral("other@example.org"));
}

TEST_F(AddressBook, SortingIsCaseBlindAndPersistsANewSendStandsAtTheTopUntilTheBookOpens) {
  TSmtpSink sink;
  SendTo(sink, QStringLiteral("alpha@example.org"));
  SendTo(sink, QStringLiteral("delta@example.org"));
  SendTo(sink, QStringLiteral("Bravo@example.org"));
  Open();
  UseBook(*form, [](TfrmAEmail &book) {
    QAction *puiSort = book.Command(QStringLiteral("puiSort"));
    EXPECT_TRUE(puiSort->isEnabled());
    puiSort->trigger();
    EXPECT_TRUE(puiSort->isChecked());
    EXPECT_EQ(Entries(book.lstAddress),
              QStringList({QStringLiteral("alpha@example.org"), QStringLiteral("Bravo@example.org"),
                           QStringLiteral("delta@example.org")}));
    book.Command(QStringLiteral("mniClose"))->trigger();
  });
  EXPECT_EQ(Entries(form->lstAddress).value(1), QStringLiteral("Bravo@example.org"))
      << "the order carries over";
  form.reset();
  EXPECT_EQ(Stored(QStringLiteral("Email Addresses"), QStringLiteral("lstAddress_Sorted")),
            QStringLiteral("True"));
  EXPECT_EQ(Stored(QStringLiteral("Email Addresses"), QStringLiteral("puiSort_Checked")),
            QStringLiteral("True"));
  EXPECT_EQ(Stored(QStringLiteral("Email Addresses"), QStringLiteral("barAddress_Options")),
            QStringLiteral("[sbFlatBtns]"));
  EXPECT_EQ(Stored(QStringLiteral("Email Addresses"), QStringLiteral("mniExplore_Checked")),
            QStringLiteral("True"));

  SendTo(sink, QStringLiteral("charlie@example.org"));
  Open();
  EXPECT_EQ(Entries(form->lstAddress).value(0), QStringLiteral("charlie@example.org"));
  UseBook(*form, [](TfrmAEmail &book) {
    EXPECT_TRUE(book.Command(QStringLiteral("puiSort"))->isChecked());
    EXPECT_EQ(
        Entries(book.lstAddress),
        QStringList({QStringLiteral("alpha@example.org"), QStringLiteral("Bravo@example.org"),
                     QStringLiteral("charlie@example.org"), QStringLiteral("delta@example.org")}));
    // Sorting off keeps the order.
    book.Command(QStringLiteral("puiSort"))->trigger();
    EXPECT_EQ(Entries(book.lstAddress).value(2), QStringLiteral("charlie@example.org"));
  });
}

TEST_F(AddressBook, DeletingEveryEntryPersistsAsAnEmptyList) {
  Open();
  form->lstAddress->addItems(
      {QStringLiteral("one@example.org"), QStringLiteral("two@example.org")});
  UseBook(*form, [](TfrmAEmail &book) {
    while (book.lstAddress->count() > 0) {
      book.lstAddress->setCurrentRow(0);
      book.Command(QStringLiteral("btnDelete"))->trigger();
      EXPECT_FALSE(book.Command(QStringLiteral("btnDelete"))->isEnabled())
          << "no entry is highlighted after a delete";
    }
    book.Command(QStringLiteral("btnClose"))->trigger();
  });
  EXPECT_EQ(form->lstAddress->count(), 0);
  form->close();
  form.reset();
  // An empty list leaves no list key behind.
  EXPECT_EQ(Stored(QStringLiteral("Email Form.lstAddress_Items"), QStringLiteral("Count")),
            QStringLiteral("<missing>"));
  Open();
  EXPECT_EQ(form->lstAddress->count(), 0);
}

TEST_F(AddressBook, ToolBarStylesAreKeptByEachWindow) {
  Open();
  form->findChild<QAction *>(QStringLiteral("mniStandard"))->trigger();
  const auto buttons = form->barMail->findChildren<QToolButton *>();
  ASSERT_FALSE(buttons.isEmpty());
  for (QToolButton *button : buttons) EXPECT_FALSE(button->autoRaise());
  form->close();
  form.reset();
  EXPECT_EQ(Stored(QStringLiteral("Email Form"), QStringLiteral("barMail_Options")),
            QStringLiteral("[]"));
  EXPECT_EQ(Stored(QStringLiteral("Email Form"), QStringLiteral("mniStandard_Checked")),
            QStringLiteral("True"));
  Open();
  EXPECT_TRUE(form->findChild<QAction *>(QStringLiteral("mniStandard"))->isChecked());
  for (QToolButton *button : form->barMail->findChildren<QToolButton *>())
    EXPECT_FALSE(button->autoRaise());
}

// Both mail windows' tool-bar menus: their own captions, the raised style chosen from the
// menu applies to the buttons and comes back with the window; the address book's menu
// goes on with its own commands.
TEST_F(AddressBook, TheToolBarStyleMenusKeepTheirCaptionsAndTheChosenStyle) {
  const auto styleItems = [](QWidget *window) {
    QStringList items;
    for (QAction *a : window->findChild<QMenu *>(QStringLiteral("pumToolBar"))->actions())
      items << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + u'=' + a->text());
    return items;
  };
  const auto raised = [](QToolBar *bar) {
    const QList<QToolButton *> buttons = bar->findChildren<QToolButton *>();
    return !buttons.isEmpty() && std::none_of(buttons.cbegin(), buttons.cend(),
                                              [](QToolButton *b) { return b->autoRaise(); });
  };
  Open();
  EXPECT_EQ(styleItems(form.get()), QStringList({QStringLiteral("mniExplore=I&Explorer Style"),
                                                 QStringLiteral("mniStandard=&Standard Style")}));
  auto *standard = form->findChild<QAction *>(QStringLiteral("mniStandard"));
  EXPECT_EQ(standard->statusTip(), QStringLiteral("Display tool bars with raised buttons"));
  standard->trigger();
  EXPECT_TRUE(raised(form->barMail));
  EXPECT_FALSE(form->findChild<QAction *>(QStringLiteral("mniExplore"))->isChecked());
  UseBook(*form, [&](TfrmAEmail &book) {
    const QStringList items = styleItems(&book);
    ASSERT_GE(items.size(), 4);
    EXPECT_EQ(items.mid(0, 3),
              QStringList({QStringLiteral("mniExplore=I&Explorer Style"),
                           QStringLiteral("mniStandard=S&tandard Style"), QStringLiteral("-")}));
    EXPECT_FALSE(raised(book.barAddress));  // each window has its own style
  });
  form.reset();
  EXPECT_EQ(Stored(QStringLiteral("Email Form"), QStringLiteral("mniStandard_Checked")),
            QStringLiteral("True"));
  Open();
  EXPECT_TRUE(form->findChild<QAction *>(QStringLiteral("mniStandard"))->isChecked());
  EXPECT_TRUE(raised(form->barMail));
}
