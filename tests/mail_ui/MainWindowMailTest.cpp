// SPDX-License-Identifier: GPL-3.0-or-later
// File|Send As Email from the real main window: the active workspace's text reaches the
// server, the window's own holders give the settings and get From back.
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>

#include "AppFixture.h"
#include "MailTestServers.h"
#include "mail/ui/fmEmail.h"

class MainWindowMail : public AppFixture {};

TEST_F(MainWindowMail, SendAsEmailSendsTheActiveWorkspace) {
  TSmtpSink sink;
  TfrmMain &m = Start();
  m.Holder(QStringLiteral("SMTPHost"))->SetCaption(QStringLiteral("127.0.0.1"));
  m.Holder(QStringLiteral("SMTPPort"))->SetCaption(QString::number(sink.Port()));
  m.Holder(QStringLiteral("SMTPReminder"))->SetChecked(false);
  m.Holder(QStringLiteral("SMTPUEmail"))->SetCaption(QStringLiteral("me@example.org"));
  TfrmEdit *edit = m.ActiveEdit();
  ASSERT_NE(edit, nullptr);
  edit->mmoMemo()->setPlainText(QStringLiteral("first line\nsecond line"));

  TModalAnswerer answers;
  bool seen = false;
  answers.onShown = [&](QWidget *modal) {
    auto *form = qobject_cast<TfrmEmail *>(modal);
    if (!form) return;
    seen = true;
    EXPECT_EQ(form->edtFrom->text(), QStringLiteral("me@example.org"));
    EXPECT_EQ(form->mmoBody->toPlainText(), QStringLiteral("first line\nsecond line\n"));
    form->edtFrom->setText(QStringLiteral("changed@example.org"));
    form->edtTo->setText(QStringLiteral("you@example.org"));
    form->Command(QStringLiteral("mniBCC"))->setChecked(false);
    // The success box comes up while this answerer is busy: a timer of its own presses OK.
    QTimer ok;
    QObject::connect(&ok, &QTimer::timeout, [&] {
      if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) box->accept();
    });
    ok.start(5);
    form->Command(QStringLiteral("btnSend"))->trigger();
    EXPECT_FALSE(form->isVisible()) << "a sent message closes the form";
  };
  QAction *item = m.Action(QStringLiteral("mniFile4"));
  ASSERT_NE(item, nullptr);
  ASSERT_TRUE(item->isEnabled());
  item->trigger();
  EXPECT_TRUE(seen);
  ASSERT_EQ(sink.Count(), 1);
  EXPECT_TRUE(sink.Raw(1).contains("first line\r\nsecond line\r\n"));
  EXPECT_EQ(m.Holder(QStringLiteral("SMTPUEmail"))->Caption(),
            QStringLiteral("changed@example.org"));
}
