// SPDX-License-Identifier: GPL-3.0-or-later
// A large message: the window keeps working while it is sent, shows how far it is, keeps a
// second Send out and can stop the send.
#include <QProgressBar>
#include <QPushButton>

#include "MailFixture.h"
#include "TestEnvironment.h"
#include "mail/core/NMSMTP.h"
#include "mail/ui/AttachList.h"
#include "mail/ui/WaitPanel.h"

namespace {

QString LargeFile(const QString &name) {
  return TestEnvironment::WriteFile(TestEnvironment::FreshDir(name) + QStringLiteral("/big.bin"),
                                    TestEnvironment::RandomBytes(10 * 1024 * 1024));
}

// What a timer saw while the send ran.
struct TSample {
  int ticks = 0;
  QList<int> progress;
  QStringList texts;
  bool sendEnabled = false;
  bool cancelShown = false;
};

}  // namespace

class SendProgress : public MailFixture {
 protected:
  // Samples the panel at every tick of a timer while the send runs; act runs at each tick.
  TSample SendWatched(const std::function<void(TSample &)> &act = {}) {
    TSample sample;
    QTimer timer;
    timer.setInterval(2);
    QObject::connect(&timer, &QTimer::timeout, [&] {
      if (!form->Sending()) return;
      ++sample.ticks;
      auto *bar = form->pnlWait->findChild<QProgressBar *>(QStringLiteral("prgSend"));
      if (bar->isVisible() && (sample.progress.isEmpty() || sample.progress.last() != bar->value()))
        sample.progress << bar->value();
      if (!sample.texts.contains(form->pnlWait->Text())) sample.texts << form->pnlWait->Text();
      sample.sendEnabled |= form->Command(QStringLiteral("btnSend"))->isEnabled() ||
                            form->Command(QStringLiteral("mniSend"))->isEnabled();
      sample.cancelShown |=
          form->pnlWait->findChild<QPushButton *>(QStringLiteral("btnCancelSend"))->isVisible();
      if (act) act(sample);
    });
    timer.start();
    Run("btnSend");
    return sample;
  }
};

TEST_F(SendProgress, WindowStaysResponsiveAndThePanelMovesWhileALargeFileIsSent) {
  TSmtpSink sink;
  UseServer(sink);
  const QString big = LargeFile(QStringLiteral("large"));
  TModalAnswerer answers({QStringLiteral("OK")});
  Open();
  Address(QStringLiteral("me@example.org"), QStringLiteral("you@example.org"));
  form->Command(QStringLiteral("mniBCC"))->setChecked(false);
  form->lstAttach->addItem(big);
  const TSample sample = SendWatched();

  ASSERT_EQ(sink.Count(), 1);
  EXPECT_GE(sample.ticks, 3) << "the timer kept firing during the send";
  EXPECT_GE(sample.progress.size(), 2) << "the progress bar moved";
  for (qsizetype i = 1; i < sample.progress.size(); ++i)
    EXPECT_GT(sample.progress[i], sample.progress[i - 1]);
  EXPECT_TRUE(sample.texts.contains(QStringLiteral("Sending message to you@example.org")))
      << sample.texts.join(u'|').toStdString();
  EXPECT_FALSE(sample.sendEnabled) << "Send is off while a send runs";
  EXPECT_TRUE(sample.cancelShown);
  EXPECT_FALSE(form->isVisible());
}

TEST_F(SendProgress, CancelStopsTheSendAndTheNextSendWorks) {
  TSmtpSink sink;
  UseServer(sink);
  const QString big = LargeFile(QStringLiteral("cancel"));
  TModalAnswerer answers;
  Open();
  Address(QStringLiteral("me@example.org"), QStringLiteral("you@example.org"));
  form->lstAttach->addItem(big);
  // Cancel as soon as the message is on its way.
  const TSample sample = SendWatched([&](TSample &seen) {
    if (!seen.progress.isEmpty())
      form->pnlWait->findChild<QPushButton *>(QStringLiteral("btnCancelSend"))->click();
  });
  EXPECT_FALSE(sample.progress.isEmpty());
  EXPECT_TRUE(answers.texts.isEmpty())
      << "a cancel shows no box: " << answers.texts.join(u'|').toStdString();
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->pnlWait->Text(), QStringLiteral("Sending cancelled"));
  EXPECT_FALSE(form->Client().Connected());
  EXPECT_EQ(form->lstAttach->Paths(), QStringList({big}));
  EXPECT_TRUE(form->Command(QStringLiteral("btnSend"))->isEnabled());

  form->lstAttach->clear();
  answers.Add(QStringLiteral("OK"));
  Run("btnSend");
  // Only the message sent afterwards arrived: the server never got the end of the first.
  ASSERT_EQ(sink.Count(), 1);
  EXPECT_FALSE(sink.Raw(1).contains("big.bin"));
  EXPECT_FALSE(form->isVisible());
}

TEST_F(SendProgress, ClosingTheFormDuringASendStopsItFirst) {
  TSmtpSink sink;
  UseServer(sink);
  const QString big = LargeFile(QStringLiteral("close"));
  TModalAnswerer answers;
  Open();
  Address(QStringLiteral("me@example.org"), QStringLiteral("you@example.org"));
  form->lstAttach->addItem(big);
  const TSample sample = SendWatched([&](TSample &seen) {
    if (!seen.progress.isEmpty() && form->isVisible()) form->close();
  });
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(form->Sending());
  EXPECT_TRUE(answers.texts.isEmpty());
  EXPECT_EQ(Holder("SMTPUEmail")->Caption(), QStringLiteral("me@example.org"))
      << "closing wrote From back";
}
