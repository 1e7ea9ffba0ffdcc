// SPDX-License-Identifier: GPL-3.0-or-later
// The compose window used as a user would: opened on a workspace's text, filled in, checked
// and sent to a real SMTP server, whose received messages are read back.
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QToolButton>

#include "MailFixture.h"
#include "TestEnvironment.h"
#include "VellumixVersion.h"
#include "mail/core/NMSMTP.h"
#include "mail/ui/AttachList.h"
#include "mail/ui/MailSend.h"
#include "mail/ui/SendAsEmail.h"
#include "mail/ui/SupportAddress.h"
#include "mail/ui/WaitPanel.h"
#include "platform/ui/MessageBox.h"

namespace {

QString Boxed(const QString &text) {
  return QString(MessageBox::MsgHeader() + text).replace(u'\r', u'\n');
}

const QString noServer = QStringLiteral(
    "Your outgoing mail server has not been defined. Go to Options|Preferences|Network to setup "
    "your mail server before you attempt to send an email.");

}  // namespace

class Compose : public MailFixture {};

TEST_F(Compose, SendsTheWorkspaceWithSignatureAndABlindCopyToTheSender) {
  TSmtpSink sink;
  UseServer(sink);
  Holder("SMTPSigCheck")->SetChecked(true);
  Holder("SMTPSignature")->SetLines({QStringLiteral("--"), QStringLiteral("Ann Smith")});
  Holder("SMTPUEmail")->SetCaption(QStringLiteral("ann@example.org"));
  Holder("SMTPREMail")->SetCaption(QStringLiteral("replies@example.org"));
  TModalAnswerer answers({QStringLiteral("OK")});
  Open(QStringLiteral("Dear Bob,\nthe report is ready."));

  EXPECT_EQ(form->windowTitle(), QStringLiteral("Send Email"));
  EXPECT_EQ(form->edtFrom->text(), QStringLiteral("ann@example.org"));
  EXPECT_EQ(form->edtSubject->text(), QStringLiteral("Note: "));
  EXPECT_EQ(form->mmoBody->toPlainText(),
            QStringLiteral("Dear Bob,\nthe report is ready.\n\n--\nAnn Smith"));
  EXPECT_TRUE(form->Command(QStringLiteral("mniBCC"))->isChecked())
      << "SMTPBCC is ticked by default";
  EXPECT_TRUE(answers.texts.isEmpty()) << "a configured server gives no warning";

  form->edtTo->setText(QStringLiteral("bob@example.org"));
  Run("btnSend");

  ASSERT_EQ(sink.Count(), 1);
  const QJsonObject record = sink.Record(1);
  EXPECT_EQ(record[QStringLiteral("mail_from")].toString(), QStringLiteral("ann@example.org"));
  EXPECT_EQ(Strings(record[QStringLiteral("rcpt_tos")]),
            QStringList({QStringLiteral("bob@example.org"), QStringLiteral("ann@example.org")}));
  EXPECT_EQ(HeaderValue(record, QStringLiteral("To")), QStringLiteral("bob@example.org"));
  EXPECT_EQ(HeaderValue(record, QStringLiteral("Subject")), QStringLiteral("Note: "));
  EXPECT_EQ(HeaderValue(record, QStringLiteral("Reply-To")), QStringLiteral("replies@example.org"));
  // The blind copy is named in no header line: the sender's address appears only in From.
  const QByteArray header = HeaderPart(sink.Raw(1));
  EXPECT_EQ(header.count("ann@example.org"), 1) << header.constData();
  EXPECT_FALSE(header.contains("Bcc")) << header.constData();
  const QJsonArray parts = record[QStringLiteral("parts")].toArray();
  ASSERT_EQ(parts.size(), 1);
  // The client starts the text with one more empty line after the header's own.
  EXPECT_EQ(parts[0][QStringLiteral("text")].toString().toStdString(),
            "\r\nDear Bob,\r\nthe report is ready.\r\n\r\n--\r\nAnn Smith\r\n");

  // Success: a box naming the recipient, then the form closes and keeps From and the tick.
  EXPECT_EQ(answers.texts,
            QStringList(
                {Boxed(QStringLiteral("Your message was successfully sent to bob@example.org"))}));
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(Holder("SMTPUEmail")->Caption(), QStringLiteral("ann@example.org"));
  EXPECT_TRUE(Holder("SMTPBCC")->Checked());
}

TEST_F(Compose, FromAndCopyTickComeBackNextTimeAndNoCopyWhenUnticked) {
  TSmtpSink sink;
  UseServer(sink);
  TModalAnswerer answers({QStringLiteral("OK")});
  Open();
  Address(QStringLiteral("me@example.org"), QStringLiteral("you@example.org"));
  form->Command(QStringLiteral("mniBCC"))->trigger();
  EXPECT_FALSE(form->Command(QStringLiteral("mniBCC"))->isChecked());
  Run("mniSend");
  ASSERT_EQ(sink.Count(), 1);
  EXPECT_EQ(Strings(sink.Record(1)[QStringLiteral("rcpt_tos")]),
            QStringList({QStringLiteral("you@example.org")}));

  Open();
  EXPECT_EQ(form->edtFrom->text(), QStringLiteral("me@example.org"));
  EXPECT_FALSE(form->Command(QStringLiteral("mniBCC"))->isChecked());
  EXPECT_EQ(form->edtTo->text(), QString()) << "To does not persist";
}

TEST_F(Compose, PlaceholderServerWarnsOnceOnOpeningAndAgainAtSend) {
  TSmtpSink sink;
  for (const QString &host :
       {QStringLiteral("SMTP.yourhost.com"), QStringLiteral("smtp.YOURHOST.com"),
        QStringLiteral("mail.example.com"), QString()}) {
    SCOPED_TRACE(host.toStdString());
    Holder("SMTPHost")->SetCaption(host);
    Holder("SMTPPort")->SetCaption(QString::number(sink.Port()));
    TModalAnswerer answers({QStringLiteral("OK"), QStringLiteral("OK")});
    Open();
    // The box gives the focus back to the form; that does not bring the warning back.
    ASSERT_TRUE(QTest::qWaitFor([&] { return answers.texts.size() == 1; }, 10000));
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    TestEnvironment::Settle();
    EXPECT_EQ(answers.texts, QStringList({Boxed(noServer)}));
    EXPECT_EQ(answers.titles, QStringList({QStringLiteral("Warning")}));

    Address(QStringLiteral("me@example.org"), QStringLiteral("you@example.org"));
    Run("btnSend");
    EXPECT_EQ(answers.texts.size(), 2);
    EXPECT_EQ(answers.texts.value(1), Boxed(noServer));
    EXPECT_TRUE(form->isVisible());
  }
  EXPECT_EQ(sink.Count(), 0);
}

TEST_F(Compose, ChecksRunInOrderAndEachStopsWithTheFocusOnItsField) {
  TSmtpSink sink;
  UseServer(sink);
  TModalAnswerer answers;
  Open(QString());
  form->mmoBody->clear();
  form->edtFrom->clear();
  form->edtSubject->clear();

  answers.Add(QStringLiteral("OK"));
  Run("btnSend");
  EXPECT_EQ(answers.texts.value(0),
            Boxed(QStringLiteral("An email cannot be sent without a From: address.")));
  EXPECT_EQ(form->focusWidget(), form->edtFrom);

  form->edtFrom->setText(QStringLiteral("me@example.org"));
  answers.Add(QStringLiteral("OK"));
  Run("btnSend");
  EXPECT_EQ(answers.texts.value(1),
            Boxed(QStringLiteral("An email cannot be sent without a To: address.")));
  EXPECT_EQ(form->focusWidget(), form->edtTo);

  // Empty subject and text: two questions, the subject's first; No stops at its field.
  form->edtTo->setText(QStringLiteral("you@example.org"));
  answers.Add(QStringLiteral("No"));
  Run("btnSend");
  const QString noSubject = Boxed(QStringLiteral(
      "You have not entered a subject for your message. Do you still wish to send it?"));
  const QString noText = Boxed(QStringLiteral(
      "You have not entered anything in the body of your message. Do you still wish to send it?"));
  EXPECT_EQ(answers.texts.value(2), noSubject);
  EXPECT_EQ(answers.titles.value(2), QStringLiteral("Information"));
  EXPECT_EQ(form->focusWidget(), form->edtSubject);
  answers.Add(QStringLiteral("Yes"));
  answers.Add(QStringLiteral("No"));
  Run("btnSend");
  EXPECT_EQ(answers.texts.mid(3), QStringList({noSubject, noText}));
  EXPECT_EQ(form->focusWidget(), form->mmoBody);

  // The reminder comes last; No sends nothing.
  Holder("SMTPReminder")->SetChecked(true);
  answers.Add(QStringLiteral("Yes"));
  answers.Add(QStringLiteral("Yes"));
  answers.Add(QStringLiteral("No"));
  Run("btnSend");
  EXPECT_EQ(answers.texts.value(7), Boxed(QStringLiteral("Are you connected to the Internet?")));
  EXPECT_EQ(sink.Count(), 0);
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->lstAddress->count(), 0) << "nothing is listed before every check passed";

  // A port that is not a number: the conversion error, the form intact.
  Holder("SMTPReminder")->SetChecked(false);
  Holder("SMTPPort")->SetCaption(QStringLiteral("25x"));
  answers.Add(QStringLiteral("Yes"));
  answers.Add(QStringLiteral("Yes"));
  answers.Add(QStringLiteral("OK"));
  Run("btnSend");
  EXPECT_EQ(answers.texts.value(10), QStringLiteral("'25x' is not a valid integer value."));
  EXPECT_TRUE(form->isVisible());

  // Both questions answered Yes: sent without a Subject line and with an empty text.
  Holder("SMTPPort")->SetCaption(QString::number(sink.Port()));
  answers.Add(QStringLiteral("Yes"));
  answers.Add(QStringLiteral("Yes"));
  answers.Add(QStringLiteral("OK"));
  Run("btnSend");
  ASSERT_EQ(sink.Count(), 1);
  EXPECT_FALSE(HeaderPart(sink.Raw(1)).contains("Subject")) << sink.Raw(1).constData();
  EXPECT_FALSE(form->isVisible());
}

// Several addresses in To would travel as one entry whose first address alone is used while the
// box named them all: the form refuses such a To and says where the message would have gone.
TEST_F(Compose, SeveralAddressesInToAreRefusedNamingWhereTheMessageWouldGo) {
  TSmtpSink sink;
  UseServer(sink);
  TModalAnswerer answers({QStringLiteral("OK")});
  Open();
  const QString to = QStringLiteral("Jane Doe <jane@example.org>, bob@example.org");
  Address(QStringLiteral("me@example.org"), to);
  form->Command(QStringLiteral("mniBCC"))->setChecked(false);
  Run("btnSend");
  EXPECT_EQ(sink.Count(), 0);
  ASSERT_EQ(answers.texts.size(), 1);
  EXPECT_TRUE(answers.texts[0].contains(QStringLiteral("\"jane@example.org\" only")))
      << answers.texts[0].toStdString();
  EXPECT_EQ(answers.titles[0], QStringLiteral("Warning"));
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->edtTo->text(), to);
  EXPECT_EQ(form->focusWidget(), form->edtTo);
}

TEST_F(Compose, AttachmentsAreAddedThroughTheOpenDialogAndArriveByteExact) {
  TSmtpSink sink;
  UseServer(sink);
  const QString folder = TestEnvironment::FreshDir(QStringLiteral("attach"));
  QByteArray binary;
  for (int i = 0; i < 70000; ++i) binary.append(char(i * 7 % 256));
  const QString first =
      TestEnvironment::WriteFile(folder + QStringLiteral("/notes.txt"), "line one\r\nline two\n");
  const QString second = TestEnvironment::WriteFile(folder + QStringLiteral("/data.bin"), binary);
  Holder("FilePath")->SetCaption(folder + u'/');
  TModalAnswerer answers;
  Open();
  Address(QStringLiteral("me@example.org"), QStringLiteral("you@example.org"));

  // Text mode first: attachment commands are off; the toolbar and menu modes follow each other.
  EXPECT_TRUE(form->mmoBody->isVisible());
  EXPECT_FALSE(form->lstAttach->isVisible());
  EXPECT_FALSE(form->Command(QStringLiteral("btnAddAttach"))->isEnabled());
  Run("btnAttachFile");
  EXPECT_TRUE(form->Command(QStringLiteral("mniAttachFiles"))->isChecked());
  EXPECT_FALSE(form->mmoBody->isVisible());
  EXPECT_TRUE(form->lstAttach->isVisible());
  for (const char *name : {"mniAddAttach", "mniRemoveAttach", "btnAddAttach", "btnRemoveAttach"})
    EXPECT_TRUE(form->Command(QString::fromLatin1(name))->isEnabled()) << name;

  answers.Add(QStringLiteral("file:") + first);
  Run("btnAddAttach");
  answers.Add(QStringLiteral("file:") + second);
  Run("mniAddAttach");
  answers.Add(QStringLiteral("file:") + first);
  Run("mniAddAttach");
  EXPECT_EQ(form->lstAttach->Paths(), QStringList({first, second, first}));
  // Remove the highlighted entry (the duplicate at the end).
  form->lstAttach->item(2)->setSelected(true);
  Run("btnRemoveAttach");
  EXPECT_EQ(form->lstAttach->Paths(), QStringList({first, second}));

  Run("mniEnterText");
  EXPECT_TRUE(form->Command(QStringLiteral("btnEnterText"))->isChecked());
  EXPECT_TRUE(form->mmoBody->isVisible());
  EXPECT_FALSE(form->Command(QStringLiteral("mniRemoveAttach"))->isEnabled());

  answers.Add(QStringLiteral("OK"));
  Run("btnSend");
  ASSERT_EQ(sink.Count(), 1);
  QStringList names;
  QList<QByteArray> contents;
  for (const QJsonValue part : sink.Record(1)[QStringLiteral("parts")].toArray()) {
    if (part[QStringLiteral("filename")].isNull()) continue;
    names << part[QStringLiteral("filename")].toString();
    contents << TestEnvironment::ReadFile(part[QStringLiteral("file")].toString());
  }
  EXPECT_EQ(names, QStringList({QStringLiteral("notes.txt"), QStringLiteral("data.bin")}));
  ASSERT_EQ(contents.size(), 2);
  EXPECT_EQ(contents[0], QByteArray("line one\r\nline two\n"));
  EXPECT_EQ(contents[1], binary);
}

TEST_F(Compose, RefusedRecipientKeepsTheFormIntactAndASecondSendSucceeds) {
  TSmtpSink sink({QStringLiteral("nobody@example.org")});
  UseServer(sink);
  const QString file = TestEnvironment::WriteFile(
      TestEnvironment::FreshDir(QStringLiteral("refused")) + QStringLiteral("/a.txt"), "attached");
  TModalAnswerer answers({QStringLiteral("OK")});
  Open(QStringLiteral("Important text"));
  Address(QStringLiteral("me@example.org"), QStringLiteral("nobody@example.org"));
  form->Command(QStringLiteral("mniBCC"))->setChecked(false);
  form->edtSubject->setText(QStringLiteral("Hello there"));
  form->lstAttach->addItem(file);
  Run("btnSend");

  ASSERT_EQ(answers.texts.size(), 1);
  EXPECT_TRUE(answers.texts[0].startsWith(Boxed(QStringLiteral(
      "Your message was not sent: the server refused this recipient:\r\rnobody@example.org (550"))))
      << answers.texts[0].toStdString();
  EXPECT_TRUE(answers.texts[0].contains(QStringLiteral("Nothing was delivered")));
  EXPECT_EQ(answers.titles[0], QStringLiteral("Warning"));
  EXPECT_EQ(sink.Count(), 0);
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->edtSubject->text(), QStringLiteral("Hello there"));
  EXPECT_TRUE(form->mmoBody->toPlainText().startsWith(QStringLiteral("Important text")));
  EXPECT_EQ(form->lstAttach->Paths(), QStringList({file}));
  EXPECT_EQ(form->lstAddress->item(0)->text(), QStringLiteral("nobody@example.org"))
      << "listed before sending";
  EXPECT_FALSE(form->Client().Connected()) << "a failed send closes the connection";
  EXPECT_TRUE(form->Command(QStringLiteral("btnSend"))->isEnabled());

  form->edtTo->setText(QStringLiteral("somebody@example.org"));
  answers.Add(QStringLiteral("OK"));
  Run("btnSend");
  ASSERT_EQ(sink.Count(), 1);
  EXPECT_EQ(Strings(sink.Record(1)[QStringLiteral("rcpt_tos")]),
            QStringList({QStringLiteral("somebody@example.org")}));
  EXPECT_FALSE(form->isVisible());
}

TEST_F(Compose, UnreachableServerShowsTheConnectionBox) {
  // A port nobody listens on: the port of a sink that has ended.
  quint16 port = 0;
  {
    TSmtpSink gone;
    port = gone.Port();
  }
  Holder("SMTPHost")->SetCaption(QStringLiteral("127.0.0.1"));
  Holder("SMTPPort")->SetCaption(QString::number(port));
  Holder("SMTPReminder")->SetChecked(false);
  TModalAnswerer answers({QStringLiteral("OK")});
  Open();
  Address(QStringLiteral("me@example.org"), QStringLiteral("you@example.org"));
  Run("btnSend");
  ASSERT_EQ(answers.texts.size(), 1);
  EXPECT_TRUE(answers.texts[0].startsWith(Boxed(QStringLiteral(
      "Your connection to 127.0.0.1 failed. Please make sure that the outgoing mail server has "
      "been "
      "properly set up in Options|Preferences|Network or contact your network administrator for "
      "assistance."))))
      << answers.texts[0].toStdString();
  EXPECT_TRUE(answers.texts[0].contains(QStringLiteral("Connection Failed: Connection refused")))
      << "the cause is named: " << answers.texts[0].toStdString();
  EXPECT_TRUE(form->isVisible());
}

TEST_F(Compose, EnterMovesOnAndEscapeKeepsTheForm) {
  TModalAnswerer answers({QStringLiteral("OK")});
  Open();
  form->activateWindow();
  form->edtFrom->setFocus();
  QTest::keyClick(form->edtFrom, Qt::Key_Return);
  EXPECT_EQ(form->focusWidget(), form->edtTo);
  QTest::keyClick(form->edtTo, Qt::Key_Enter);
  EXPECT_EQ(form->focusWidget(), form->btnEmailAddress);
  form->edtSubject->setFocus();
  QTest::keyClick(form->edtSubject, Qt::Key_Return);
  EXPECT_EQ(form->focusWidget(), form->mmoBody);
  EXPECT_EQ(form->edtSubject->text(), QStringLiteral("Note: "));
  QTest::keyClick(form->mmoBody, Qt::Key_Escape);
  Settle();
  EXPECT_TRUE(form->isVisible());
  Run("btnClose");
  EXPECT_FALSE(form->isVisible());
}

TEST_F(Compose, SupportRequestKeepsItsPreparedMessageAndTheAddressTheUserGaveIt) {
  TSmtpSink sink;
  UseServer(sink);
  auto request = [&](const std::function<void()> &edit) {
    TModalAnswerer answers({QStringLiteral("OK")});
    form = std::make_unique<TfrmEmail>(context, QStringLiteral("workspace text"));
    MailUi::PrepareSupportRequest(
        *form, {QStringLiteral("Line one"), QStringLiteral("\tProgram Name:\tVellumix")});
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    Settle();
    edit();
    form->edtFrom->setText(QStringLiteral("me@example.org"));
    Run("btnSend");
  };
  request([&] {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Request for Tech Support"));
    // The address the program was built with, shown and open to change.
    EXPECT_EQ(form->edtTo->text(), QString::fromLatin1(kSupportAddress));
    EXPECT_TRUE(form->edtTo->isEnabled());
    EXPECT_FALSE(form->edtTo->text().endsWith(QStringLiteral(".invalid")));
    EXPECT_FALSE(form->edtSubject->isEnabled());
    EXPECT_TRUE(form->edtSubject->text().endsWith(QStringLiteral(" technical support")));
    EXPECT_FALSE(form->btnEmailAddress->isVisible());
    EXPECT_EQ(form->mmoBody->toPlainText(), QStringLiteral("Line one\n\tProgram Name:\tVellumix"));
    form->edtTo->setText(QStringLiteral("helpdesk@example.org"));
  });
  ASSERT_EQ(sink.Count(), 1);
  EXPECT_EQ(Strings(sink.Record(1)[QStringLiteral("rcpt_tos")]).value(0),
            QStringLiteral("helpdesk@example.org"));
  // The next request goes to the address the user chose, which the settings keep.
  request([&] { EXPECT_EQ(form->edtTo->text(), QStringLiteral("helpdesk@example.org")); });
  ASSERT_EQ(sink.Count(), 2);
  EXPECT_EQ(SupportAddress::Current(), QStringLiteral("helpdesk@example.org"));
}

TEST_F(Compose, SecurityAndLoginReachTheClientAndThePasswordIsAskedOnceThenKept) {
  Holder("SMTPHost")->SetCaption(QStringLiteral("127.0.0.1"));
  Holder("SMTPPort")->SetCaption(QStringLiteral("587"));
  Holder("SMTPSecurity")->SetCaption(QStringLiteral("STARTTLS"));
  Holder("SMTPLogin")->SetCaption(QStringLiteral("ann"));
  TModalAnswerer answers;
  answers.onShown = [](QWidget *modal) {
    auto *ask = qobject_cast<QInputDialog *>(modal);
    if (!ask) return;
    EXPECT_EQ(ask->textEchoMode(), QLineEdit::Password);
    ask->setTextValue(QStringLiteral("secret"));
    ask->accept();
  };
  TNMSMTP client;
  TWaitPanel panel;
  const TMessageFields fields{QStringLiteral("ann@example.org"),
                              QStringLiteral("bob@example.org"),
                              QStringLiteral("Hi"),
                              {QStringLiteral("text")},
                              {},
                              false};
  {
    TMailSend send(client, TMailSettings(&holders), panel, nullptr);
    ASSERT_TRUE(send.Prepare(fields));
  }
  EXPECT_EQ(client.Security, TSmtpSecurity::StartTls);
  EXPECT_EQ(client.Port, 587);
  EXPECT_EQ(client.LoginName, QStringLiteral("ann"));
  EXPECT_EQ(client.Password, QStringLiteral("secret"));
  EXPECT_EQ(answers.titles, QStringList({QStringLiteral("Mail Server Password")}));

  TNMSMTP again;
  TMailSend second(again, TMailSettings(&holders), panel, nullptr);
  ASSERT_TRUE(second.Prepare(fields));
  EXPECT_EQ(again.Password, QStringLiteral("secret"));
  EXPECT_EQ(answers.titles.size(), 1) << "asked once, then kept";
  EXPECT_EQ(secrets.Read(QStringLiteral("smtp:ann@127.0.0.1")), QStringLiteral("secret"));

  // Without encryption no login is ever given to the client.
  Holder("SMTPSecurity")->SetCaption(QStringLiteral("None"));
  TNMSMTP plain;
  TMailSend third(plain, TMailSettings(&holders), panel, nullptr);
  ASSERT_TRUE(third.Prepare(fields));
  EXPECT_EQ(plain.Security, TSmtpSecurity::None);
  EXPECT_TRUE(plain.LoginName.isEmpty());
  EXPECT_TRUE(plain.Password.isEmpty());
}

TEST_F(Compose, RefusedGreetingAsksForTheUserIdAndKeepsIt) {
  TScriptedServer server;
  server.Send("220 scripted\r\n")
      .Reply("501 unknown user\r\n")
      .Reply("250 hello\r\n")
      .Reply("250 reset\r\n")
      .Reply("250 sender\r\n")
      .Reply("250 recipient\r\n")
      .Reply("554 no thanks\r\n")
      .Receive()
      .Send("221 bye\r\n");
  Holder("SMTPHost")->SetCaption(QStringLiteral("127.0.0.1"));
  Holder("SMTPPort")->SetCaption(QString::number(server.Port()));
  Holder("SMTPReminder")->SetChecked(false);
  TModalAnswerer answers({QStringLiteral("OK")});
  answers.onShown = [](QWidget *modal) {
    auto *ask = qobject_cast<QInputDialog *>(modal);
    if (!ask) return;
    EXPECT_EQ(ask->windowTitle(), QStringLiteral("Authentication Needed"));
    EXPECT_EQ(ask->labelText(), QStringLiteral("Enter UserID: "));
    ask->setTextValue(QStringLiteral("annsmith"));
    ask->accept();
  };
  Open();
  Address(QStringLiteral("me@example.org"), QStringLiteral("you@example.org"));
  form->Command(QStringLiteral("mniBCC"))->setChecked(false);
  Run("btnSend");
  ASSERT_GE(server.Lines().size(), 2);
  EXPECT_EQ(server.Lines()[1], QByteArray("HELO annsmith\r\n"));
  EXPECT_EQ(Holder("SMTPUserID")->Caption(), QStringLiteral("annsmith"));
  EXPECT_EQ(answers.titles.value(0), QStringLiteral("Authentication Needed"));
  EXPECT_TRUE(answers.texts.value(1).contains(QStringLiteral("554 no thanks")))
      << answers.texts.join(u'|').toStdString();
  EXPECT_TRUE(form->isVisible());
}

TEST_F(Compose, SendsOverStartTlsWithTheLoginFromTheHolders) {
  TTestAuthority authority;
  TSmtpSink sink({},
                 TSmtpSink::Secured(authority.Issue(QStringLiteral("IP:127.0.0.1")),
                                    QStringLiteral("--starttls"), QStringLiteral("alice:pa55")));
  UseServer(sink);
  Holder("SMTPSecurity")->SetCaption(QStringLiteral("STARTTLS"));
  Holder("SMTPLogin")->SetCaption(QStringLiteral("alice"));
  secrets.Write(QStringLiteral("smtp:alice@127.0.0.1"), QStringLiteral("pa55"));
  TModalAnswerer answers({QStringLiteral("OK")});
  Open(QStringLiteral("Sent safely"));
  Address(QStringLiteral("me@example.org"), QStringLiteral("you@example.org"));
  form->Command(QStringLiteral("mniBCC"))->setChecked(false);
  Run("btnSend");
  ASSERT_EQ(sink.Count(), 1) << answers.texts.join(u'|').toStdString();
  EXPECT_TRUE(sink.Raw(1).contains("Sent safely"));
  EXPECT_EQ(answers.texts.size(), 1) << "the kept password is used without asking";
  EXPECT_FALSE(form->isVisible());
}
