// SPDX-License-Identifier: GPL-3.0-or-later
// The compose window never reports a failure as success and sends what the user wrote:
// refused recipients, line breaks and misleading addresses, a wrong password, a bad port,
// a cancel or a quit during a send, each with a clear message and nothing lost.
#include <QCheckBox>
#include <QInputDialog>
#include <QPushButton>
#include <QSpinBox>

#include "MailFixture.h"
#include "TestEnvironment.h"
#include "mail/core/NMSMTP.h"
#include "mail/ui/AttachList.h"
#include "mail/ui/WaitPanel.h"
#include "platform/ui/MessageBox.h"
#include "preferences/MailFields.h"

namespace {

// After a test made the application quit, lets the event loops run again for the next test.
void RecoverFromQuit() {
  QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
}

}  // namespace

class ComposeSafety : public MailFixture {};

TEST_F(ComposeSafety, ARefusedToWithTheCopyToSelfTickedIsNamedAndNothingIsLost) {
  TSmtpSink sink({QStringLiteral("bob@mail.test")});
  UseServer(sink);
  const QString file = TestEnvironment::WriteFile(
      TestEnvironment::FreshDir(QStringLiteral("kept")) + QStringLiteral("/a.txt"), "attached");
  TModalAnswerer answers({QStringLiteral("OK")});
  Open(QStringLiteral("Important text"));
  ASSERT_TRUE(form->Item(TEmailCommand::CopyToSelf)->isChecked()) << "ticked by default";
  Address(QStringLiteral("alice@mail.test"), QStringLiteral("bob@mail.test"));
  form->edtSubject->setText(QStringLiteral("Quarterly figures"));
  form->lstAttach->addItem(file);
  Run("btnSend");

  ASSERT_EQ(answers.texts.size(), 1);
  const QString text = answers.texts[0];
  EXPECT_EQ(answers.titles[0], QStringLiteral("Warning"));
  EXPECT_TRUE(text.contains(QStringLiteral("bob@mail.test (550"))) << text.toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("successfully"))) << text.toStdString();
  EXPECT_EQ(sink.Count(), 0) << "not even the copy to the sender went out";
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->edtTo->text(), QStringLiteral("bob@mail.test"));
  EXPECT_EQ(form->edtSubject->text(), QStringLiteral("Quarterly figures"));
  EXPECT_TRUE(form->mmoBody->toPlainText().startsWith(QStringLiteral("Important text")));
  EXPECT_EQ(form->lstAttach->Paths(), QStringList({file}));
  EXPECT_FALSE(form->Client().Connected());
}

TEST_F(ComposeSafety, LineBreaksAndAddressesThatWouldGoElsewhereAreRefusedBeforeSending) {
  TSmtpSink sink;
  UseServer(sink);
  TModalAnswerer answers;
  Open();
  struct TCase {
    QString to;
    QString subject;
    QString expected;
    QLineEdit *TfrmEmail::*field;
  };
  const TCase cases[] = {
      {QStringLiteral("bob@mail.test\nBcc: victim@mail.test"), QStringLiteral("Hi"),
       QStringLiteral("The To: field holds a line break"), &TfrmEmail::edtTo},
      {QStringLiteral("bob@mail.test"), QStringLiteral("Hi\r\nBcc: victim@mail.test"),
       QStringLiteral("The Subject: field holds a line break"), &TfrmEmail::edtSubject},
      {QStringLiteral("Bob: victim@mail.test"), QStringLiteral("Hi"),
       QStringLiteral("would send the message to \"victim@mail.test\" only"), &TfrmEmail::edtTo},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.to.toStdString());
    answers.Add(QStringLiteral("OK"));
    Address(QStringLiteral("alice@mail.test"), c.to);
    form->edtSubject->setText(c.subject);
    const qsizetype before = answers.texts.size();
    Run("btnSend");
    ASSERT_EQ(answers.texts.size(), before + 1);
    EXPECT_TRUE(answers.texts.last().contains(c.expected)) << answers.texts.last().toStdString();
    EXPECT_EQ(form->focusWidget(), (*form).*(c.field));
    EXPECT_TRUE(form->isVisible());
  }
  EXPECT_EQ(sink.Count(), 0);
  EXPECT_EQ(form->lstAddress->count(), 0) << "a refused To is not put into the address book";
}

TEST_F(ComposeSafety, AWrongPasswordIsForgottenSaidSoAndAskedForAgain) {
  TTestAuthority authority;
  TSmtpSink sink({},
                 TSmtpSink::Secured(authority.Issue(QStringLiteral("IP:127.0.0.1")),
                                    QStringLiteral("--starttls"), QStringLiteral("alice:right")));
  UseServer(sink);
  Holder("SMTPSecurity")->SetCaption(QStringLiteral("STARTTLS"));
  Holder("SMTPLogin")->SetCaption(QStringLiteral("alice"));
  const QString account = QStringLiteral("smtp:alice@127.0.0.1");
  secrets.Write(account, QStringLiteral("wrong"));
  TModalAnswerer answers({QStringLiteral("OK"), QString(), QStringLiteral("OK")});
  answers.onShown = [](QWidget *modal) {
    if (auto *ask = qobject_cast<QInputDialog *>(modal)) {
      ask->setTextValue(QStringLiteral("right"));
      ask->accept();
    }
  };
  Open(QStringLiteral("Sent with the right password"));
  Address(QStringLiteral("alice@mail.test"), QStringLiteral("bob@mail.test"));
  Run("btnSend");
  ASSERT_EQ(answers.texts.size(), 1);
  EXPECT_TRUE(answers.texts[0].contains(QStringLiteral("refused the password of alice")))
      << answers.texts[0].toStdString();
  EXPECT_TRUE(answers.texts[0].contains(QStringLiteral("535")));
  EXPECT_FALSE(answers.texts[0].contains(QStringLiteral("properly set up")));
  EXPECT_FALSE(secrets.Read(account).has_value()) << "the wrong password is forgotten";
  EXPECT_TRUE(form->isVisible());

  Run("btnSend");
  EXPECT_EQ(answers.titles.value(1), QStringLiteral("Mail Server Password")) << "asked again";
  ASSERT_EQ(sink.Count(), 1) << answers.texts.join(u'|').toStdString();
  EXPECT_EQ(secrets.Read(account), QStringLiteral("right"));
  EXPECT_FALSE(form->isVisible());
}

TEST_F(ComposeSafety, TheSuccessBoxComesAfterQuitAndTheMessageIsWhatTheUserWrote) {
  TSmtpSink sink;
  UseServer(sink);
  Holder("SMTPName")->SetCaption(QStringLiteral("Ann Smith"));
  Holder("SMTPUEmail")->SetCaption(QStringLiteral("ann@mail.test"));
  bool connectedAtBox = true;
  TModalAnswerer answers({QStringLiteral("OK")});
  answers.onAsked = [&](const TMsgAsked &) { connectedAtBox = form->Client().Connected(); };
  Open(QStringLiteral("Dear Bob"));
  form->edtTo->setText(QStringLiteral("bob@mail.test"));
  form->Item(TEmailCommand::CopyToSelf)->setChecked(false);
  Run("btnSend");
  ASSERT_EQ(sink.Count(), 1);
  EXPECT_FALSE(connectedAtBox) << "QUIT went out before the box waited for the user";
  EXPECT_EQ(answers.texts.value(0),
            QString(MessageBox::MsgHeader() +
                    QStringLiteral("Your message was successfully sent to bob@mail.test"))
                .replace(u'\r', u'\n'));
  const QJsonObject record = sink.Record(1);
  EXPECT_EQ(HeaderValue(record, QStringLiteral("From")),
            QStringLiteral("Ann Smith <ann@mail.test>"));
  EXPECT_TRUE(HeaderPart(sink.Raw(1)).contains("\r\nFrom: Ann Smith <ann@mail.test>\r\n") ||
              sink.Raw(1).startsWith("From: Ann Smith <ann@mail.test>\r\n"));
  const QJsonArray parts = record[QStringLiteral("parts")].toArray();
  ASSERT_EQ(parts.size(), 1);
  EXPECT_EQ(parts[0][QStringLiteral("text")].toString().toStdString(), "\r\nDear Bob\r\n")
      << "no empty lines at the end";
}

TEST_F(ComposeSafety, APortOutOfRangeIsRefusedNotWrappedRound) {
  TSmtpSink sink;
  UseServer(sink);
  Holder("SMTPPort")->SetCaption(QStringLiteral("70000"));
  TModalAnswerer answers({QStringLiteral("OK")});
  Open();
  Address(QStringLiteral("alice@mail.test"), QStringLiteral("bob@mail.test"));
  Run("btnSend");
  ASSERT_EQ(answers.texts.size(), 1);
  EXPECT_TRUE(answers.texts[0].contains(QStringLiteral("'70000' is not a valid port number")))
      << answers.texts[0].toStdString();
  EXPECT_EQ(sink.Count(), 0);
  EXPECT_TRUE(form->isVisible());
}

TEST_F(ComposeSafety, CancelAgainstASilentServerEndsAtOnceWithoutQuit) {
  TScriptedServer server;
  server.Receive(5);  // takes the connection and never answers
  Holder("SMTPHost")->SetCaption(QStringLiteral("127.0.0.1"));
  Holder("SMTPPort")->SetCaption(QString::number(server.Port()));
  Holder("SMTPReminder")->SetChecked(false);
  TModalAnswerer answers;
  Open();
  Address(QStringLiteral("alice@mail.test"), QStringLiteral("bob@mail.test"));
  QTimer cancel;
  QObject::connect(&cancel, &QTimer::timeout, [&] {
    auto *button = form->pnlWait->findChild<QPushButton *>(QStringLiteral("btnCancelSend"));
    if (form->Sending() && button->isVisible()) button->click();
  });
  cancel.start(20);
  Run("btnSend");
  cancel.stop();
  EXPECT_FALSE(form->Sending());
  EXPECT_TRUE(answers.texts.isEmpty()) << answers.texts.join(u'|').toStdString();
  EXPECT_EQ(form->pnlWait->Text(), QStringLiteral("Sending cancelled"));
  EXPECT_FALSE(form->Client().Connected());
  Settle();
  EXPECT_TRUE(server.Lines().isEmpty()) << "nothing, not even QUIT, waits on the silent server";
}

TEST_F(ComposeSafety, QuittingTheProgramDuringASendEndsTheWait) {
  TScriptedServer server;
  server.Receive(5);
  Holder("SMTPHost")->SetCaption(QStringLiteral("127.0.0.1"));
  Holder("SMTPPort")->SetCaption(QString::number(server.Port()));
  Holder("SMTPReminder")->SetChecked(false);
  Open(QStringLiteral("Not lost"));
  Address(QStringLiteral("alice@mail.test"), QStringLiteral("bob@mail.test"));
  QTimer::singleShot(100, [] { QCoreApplication::exit(0); });
  form->Command(QStringLiteral("btnSend"))->trigger();
  EXPECT_FALSE(form->Sending()) << "the send's wait ended with the program's quit";
  EXPECT_FALSE(form->Client().Connected());
  EXPECT_TRUE(form->mmoBody->toPlainText().startsWith(QStringLiteral("Not lost")));
  RecoverFromQuit();
}

TEST_F(ComposeSafety, TheWindowClosingUnderAWaitingSendEndsItCleanly) {
  TScriptedServer server;
  server.Receive(5);
  Holder("SMTPHost")->SetCaption(QStringLiteral("127.0.0.1"));
  Holder("SMTPPort")->SetCaption(QString::number(server.Port()));
  Holder("SMTPReminder")->SetChecked(false);
  Open();
  Address(QStringLiteral("alice@mail.test"), QStringLiteral("bob@mail.test"));
  QPointer<TfrmEmail> watched(form.get());
  QTimer::singleShot(100, [this] { form.reset(); });
  watched->Command(QStringLiteral("btnSend"))->trigger();
  EXPECT_TRUE(watched.isNull());
  Settle();
}

namespace {

// A password store that answers late, recording what the compose window showed meanwhile.
class TWatchedStore : public TMemorySecretStore {
 public:
  std::function<void()> onRead;
  std::optional<QString> Read(const QString &account) override {
    if (onRead) onRead();
    return TMemorySecretStore::Read(account);
  }
};

}  // namespace

TEST_F(ComposeSafety, WaitingForThePasswordStoreIsShown) {
  TTestAuthority authority;
  TSmtpSink sink({}, TSmtpSink::Secured(authority.Issue(QStringLiteral("IP:127.0.0.1")),
                                        QStringLiteral("--starttls"), QStringLiteral("alice:pw")));
  UseServer(sink);
  Holder("SMTPSecurity")->SetCaption(QStringLiteral("STARTTLS"));
  Holder("SMTPLogin")->SetCaption(QStringLiteral("alice"));
  TWatchedStore store;
  store.Write(QStringLiteral("smtp:alice@127.0.0.1"), QStringLiteral("pw"));
  TSecretStore::SetInstance(&store);
  QString shown;
  store.onRead = [&] { shown = form->pnlWait->Text(); };
  TModalAnswerer answers({QStringLiteral("OK")});
  Open();
  Address(QStringLiteral("alice@mail.test"), QStringLiteral("bob@mail.test"));
  Run("btnSend");
  EXPECT_TRUE(shown.contains(QStringLiteral("password store"))) << shown.toStdString();
  EXPECT_EQ(sink.Count(), 1) << answers.texts.join(u'|').toStdString();
  TSecretStore::SetInstance(&secrets);
}

TEST_F(ComposeSafety, ThePreferencesPortBoxKeepsItsPortAndSaysWhyForBadInput) {
  QWidget window;
  auto *fields = new TMailFields(holders, &window);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  fields->chkDPort->setChecked(false);
  fields->spnPort->setValue(2525);
  TModalAnswerer answers({QStringLiteral("OK"), QStringLiteral("OK")});
  for (const char *typed : {"70000", "abc"}) {
    SCOPED_TRACE(typed);
    window.activateWindow();  // the last box had the activation
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    fields->spnPort->setFocus();
    fields->spnPort->selectAll();
    QTest::keyClicks(fields->spnPort, QString::fromLatin1(typed));
    // The user goes on to the next box.
    fields->edtLogin->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return answers.texts.size() == (typed[0] == '7' ? 1 : 2); }, 10000));
    EXPECT_TRUE(answers.texts.last().contains(QStringLiteral("\"") + QString::fromLatin1(typed) +
                                              QStringLiteral("\" is not a valid port number")))
        << answers.texts.last().toStdString();
    EXPECT_TRUE(answers.texts.last().contains(QStringLiteral("The port stays 2525.")));
    EXPECT_EQ(fields->spnPort->value(), 2525);
  }
  fields->Save();
  EXPECT_EQ(Holder("SMTPPort")->Caption(), QStringLiteral("2525"));
}
