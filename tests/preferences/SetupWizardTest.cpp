// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>

#include "PrefsFixture.h"
#include "preferences/MailFields.h"
#include "preferences/PageManager.h"
#include "preferences/fmSetup.h"
#include "settings/ui/ToolBarLayout.h"

namespace {

class SetupWizardTest : public PrefsFixture {
 protected:
  // Starts the program the way it starts for the user, set-up wizard included; act runs
  // while the wizard shows and ends it. False when no wizard showed.
  bool StartProgram(const std::function<void(TfrmSetup &)> &act) {
    bool shown = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto *wizard = qobject_cast<TfrmSetup *>(QApplication::activeModalWidget());
      if (shown || !wizard || !wizard->isVisible()) return;
      shown = true;
      act(*wizard);
      if (wizard->isVisible()) wizard->reject();
    });
    poll.start();
    main = std::make_unique<TfrmMain>();
    main->SetupWizard = [m = main.get()] { TfrmSetup::Run(*m, *m); };
    main->show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !main->HelpFile().isEmpty(); }, 10000));
    return shown;
  }

  static bool Raised(QToolBar *bar) {
    for (QAction *a : bar->actions())
      if (auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(a));
          button && button->autoRaise())
        return false;
    return true;
  }
};

}  // namespace

TEST_F(SetupWizardTest, TheFirstStartShowsItAndStandardStyleRestylesEveryWindow) {
  const bool shown = StartProgram([](TfrmSetup &w) {
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Vellumix Setup..."));
    EXPECT_EQ(w.pagSetup->ActivePageName(), QStringLiteral("Start Setup"));
    EXPECT_FALSE(w.btnPrevious->isEnabled());
    EXPECT_FALSE(w.btnFinish->isEnabled());
    EXPECT_EQ(w.lblWelcome->text(), QStringLiteral("Welcome to the Vellumix Setup Wizard."));
    // The holders' placeholders; an organisation that was never entered is empty.
    EXPECT_EQ(w.mail->edtUEmail->text(), QStringLiteral("email address <your email address>"));
    EXPECT_EQ(w.mail->edtReplyTo->text(), QStringLiteral("email address <your email address>"));
    EXPECT_EQ(w.mail->edtOMServer->text(), QStringLiteral("SMTP.yourhost.com"));
    EXPECT_EQ(w.mail->edtOrg->text(), QString());
    EXPECT_TRUE(w.radExplore->isChecked());
    for (int i = 0; i < 3; ++i) w.btnNext->click();
    EXPECT_EQ(w.pagSetup->ActivePageName(), QStringLiteral("End Setup"));
    EXPECT_FALSE(w.btnNext->isEnabled());
    EXPECT_TRUE(w.btnFinish->isEnabled());
    w.btnPrevious->click();
    w.btnPrevious->click();
    EXPECT_EQ(w.pagSetup->ActivePageName(), QStringLiteral("Button Setup"));
    EXPECT_FALSE(w.btnFinish->isEnabled());
    w.radStandard->click();
    EXPECT_EQ(ToolBarLayout::OptionsAccessor(w.barSetup)->Text(), QStringLiteral("[]"));
    w.btnNext->click();
    w.btnNext->click();
    w.btnFinish->click();
  });
  ASSERT_TRUE(shown);
  TfrmMain &m = *main;
  EXPECT_FALSE(m.Holder(QStringLiteral("FirstTime"))->Checked());
  EXPECT_TRUE(m.IsChecked(QStringLiteral("mniStandard")));
  EXPECT_TRUE(Raised(m.barMCustom()));
  EXPECT_TRUE(Raised(m.barECustom()));
  for (const auto &[section, options] : TfrmSetup::StyleSections()) {
    EXPECT_EQ(Stored(section, options), QStringLiteral("[]")) << section.toStdString();
    EXPECT_EQ(Stored(section, QStringLiteral("mniExplore_Checked")), QStringLiteral("False"));
    EXPECT_EQ(Stored(section, QStringLiteral("mniStandard_Checked")), QStringLiteral("True"));
  }
  // The preferences dialog shows the raised style the next time it opens.
  Preferences(m, [](TfrmTools &d) {
    EXPECT_TRUE(d.Item(QStringLiteral("mniStandard"))->isChecked());
    EXPECT_TRUE(Raised(d.barTools));
    Cancel(d);
  });
  main.reset();
  EXPECT_EQ(Stored(QStringLiteral("Main Form"), QStringLiteral("FirstTime_Checked")),
            QStringLiteral("False"));
  EXPECT_FALSE(StartProgram([](TfrmSetup &) {}));
  EXPECT_TRUE(Raised(main->barMCustom()));
}

TEST_F(SetupWizardTest, MailChangesAreTakenOnlyByFinish) {
  const bool shown = StartProgram([](TfrmSetup &w) {
    w.btnNext->click();
    w.btnNext->click();
    EXPECT_EQ(w.pagSetup->ActivePageName(), QStringLiteral("Network Setup"));
    w.mail->edtOMServer->setText(QStringLiteral("smtp.never.example"));
    w.mail->cbxSecurity->setCurrentText(QStringLiteral("TLS"));
    w.btnPrevious->click();
    w.btnNext->click();
    EXPECT_EQ(w.mail->edtOMServer->text(), QStringLiteral("smtp.never.example"));
    w.reject();  // Escape
  });
  ASSERT_TRUE(shown);
  EXPECT_EQ(main->Holder(QStringLiteral("SMTPHost"))->Caption(),
            QStringLiteral("SMTP.yourhost.com"));
  EXPECT_EQ(main->Holder(QStringLiteral("SMTPSecurity"))->Caption(), QStringLiteral("None"));
  EXPECT_FALSE(main->Holder(QStringLiteral("FirstTime"))->Checked());
  // The style is applied however the wizard ends.
  EXPECT_EQ(Stored(QStringLiteral("About"), QStringLiteral("barAbout_Options")),
            QStringLiteral("[sbFlatBtns]"));
  EXPECT_FALSE(Raised(main->barMCustom()));
}

TEST_F(SetupWizardTest, FinishGivesTheMailFieldsToTheHolders) {
  const bool shown = StartProgram([](TfrmSetup &w) {
    for (int i = 0; i < 2; ++i) w.btnNext->click();
    w.mail->edtOMServer->setText(QStringLiteral("smtp.example.net"));
    w.mail->cbxSecurity->setCurrentText(QStringLiteral("TLS"));
    w.mail->edtReplyTo->setText(QStringLiteral("reply@example.net"));
    w.mail->chkReminder->click();
    w.btnNext->click();
    w.btnFinish->click();
  });
  ASSERT_TRUE(shown);
  EXPECT_EQ(main->Holder(QStringLiteral("SMTPHost"))->Caption(),
            QStringLiteral("smtp.example.net"));
  EXPECT_EQ(main->Holder(QStringLiteral("SMTPPort"))->Caption(), QStringLiteral("465"));
  EXPECT_EQ(main->Holder(QStringLiteral("SMTPREMail"))->Caption(),
            QStringLiteral("reply@example.net"));
  EXPECT_FALSE(main->Holder(QStringLiteral("SMTPReminder"))->Checked());
}
