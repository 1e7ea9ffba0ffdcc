// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTableWidget>

#include "AppFixture.h"
#include "VellumixVersion.h"
#include "about/SupportRequest.h"
#include "app/ui/HelpCommands.h"
#include "app/ui/TipPanel.h"
#include "documents/properties/fmProperties.h"
#include "documents/special/fmSpecialChar.h"
#include "platform/core/Folders.h"
#include "platform/help/fmHelp.h"
#include "spell/ui/SpellDlg.h"

namespace {

QString header() { return QStringLiteral("Vellumix\n----------------\n"); }

// Takes the addresses the program hands to the desktop, so no browser starts.
class TUrlCatcher : public QObject {
  Q_OBJECT

 public:
  TUrlCatcher() {
    for (const char *scheme : {"http", "https"})
      QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
  }
  ~TUrlCatcher() override {
    for (const char *scheme : {"http", "https"})
      QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
  }
  QList<QUrl> opened;

 public Q_SLOTS:
  void Open(const QUrl &url) { opened << url; }
};

struct THelpFixture : AppFixture {
  void Run(const char *item) {
    QAction *action = main->Action(QString::fromLatin1(item));
    ASSERT_TRUE(action->isEnabled()) << item;
    action->trigger();
    Settle();
  }
  void SetStayOnTop(bool on) {
    if (main->IsChecked(QStringLiteral("mniStayOnTop")) != on)
      main->Action(QStringLiteral("mniStayOnTop"))->trigger();
    ASSERT_EQ(main->IsTopMost(), on);
  }
};

}  // namespace

TEST_F(THelpFixture, HelpCommandsTurnStayOnTopOffAndOpenTheViewer) {
  TfrmMain &m = Start();
  SetStayOnTop(true);
  Run("mniContents");
  EXPECT_FALSE(m.IsChecked(QStringLiteral("mniStayOnTop")));
  EXPECT_FALSE(m.IsTopMost());
  TfrmHelp *viewer = m.Help()->Viewer();
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_EQ(viewer->CurrentTopic().fileName(), QStringLiteral("index.html"));
  Run("mniSearchForHelpOn");
  EXPECT_TRUE(viewer->IndexWord()->hasFocus() || viewer->IndexWord()->isVisible());
  Run("mniHowtoUseHelp");
  EXPECT_EQ(viewer->CurrentTopic().fileName(), QStringLiteral("viewer.html"));

  // F1 in an open menu opens that menu's topic.
  QMenu *edit = m.Menu(QStringLiteral("mniFile7"));
  edit->popup(QPoint(10, 10));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(edit));
  QTest::keyClick(edit, Qt::Key_F1);
  edit->hide();
  EXPECT_EQ(viewer->CurrentTopic().fileName(), QStringLiteral("edit.html"));

  // The spell dialogs' Help button opens the spell dialog's topic in the same viewer.
  Q_EMIT m.dlgSpell()->HelpRequested(0);
  EXPECT_EQ(viewer->CurrentTopic().fileName() + u'#' + viewer->CurrentTopic().fragment(),
            QStringLiteral("spell.html#frmSpell"));

  // The same viewer serves every command, and it closes when the program ends.
  QPointer<TfrmHelp> guard(viewer);
  main.reset();
  EXPECT_TRUE(guard.isNull());
}

TEST_F(THelpFixture, AboutBoxShowsTheProgramAndLeavesStayOnTopOff) {
  TfrmMain &m = Start();
  SetStayOnTop(true);
  TModalAnswerer answerer({QString()});
  QStringList texts;
  answerer.onShown = [&](QWidget *box) {
    for (const char *name : {"lblName", "lblVersion", "lblFreeSystem", "lblDisBuild"})
      texts << box->findChild<QLabel *>(QString::fromLatin1(name))->text();
  };
  Run("mniAbout");
  ASSERT_EQ(answerer.titles.size(), 1);
  EXPECT_EQ(texts.value(0), QStringLiteral("Vellumix"));
  EXPECT_TRUE(texts.value(1).endsWith(QStringLiteral(" for Linux")));
  EXPECT_TRUE(texts.value(2).contains(QLocale().groupSeparator()));
  EXPECT_EQ(texts.value(3), QStringLiteral("Linux"));
  EXPECT_FALSE(m.IsChecked(QStringLiteral("mniStayOnTop")));
  // The tray menu's About is the same command.
  Run("sysAbout");
  EXPECT_EQ(answerer.titles.size(), 2);
}

TEST_F(THelpFixture, WhatsNewOpensTheReadmeLikeARecentFile) {
  TfrmMain &m = Start();
  const QString readme = Folders::ProgramFolder() + QStringLiteral("readme.txt");
  const int before = int(m.EditWindows().size());
  Run("mniWhatsNew");
  ASSERT_EQ(int(m.EditWindows().size()), before + 1);
  EXPECT_EQ(m.ActiveEdit()->Caption(), QStringLiteral("readme.txt"));
  EXPECT_TRUE(m.ActiveEdit()->mmoMemo()->Text().contains(QStringLiteral("This version offers")));
  ASSERT_FALSE(m.FileLists().Recent().isEmpty());
  EXPECT_EQ(m.FileLists().Recent().first(), readme);
  Run("mniWhatsNew");  // a second window on the same file
  EXPECT_EQ(int(m.EditWindows().size()), before + 2);

  // Without the readme: the warning, and nothing else changes.
  const QString aside = readme + QStringLiteral(".aside");
  ASSERT_TRUE(QFile::rename(readme, aside));
  const QStringList recent = m.FileLists().Recent();
  TModalAnswerer answerer({QStringLiteral("OK")});
  Run("mniWhatsNew");
  QFile::rename(aside, readme);
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_EQ(answerer.texts[0],
            header() + readme + QStringLiteral(" no longer exists on this computer!"));
  EXPECT_EQ(answerer.titles[0], QStringLiteral("Warning"));
  EXPECT_EQ(int(m.EditWindows().size()), before + 2);
  EXPECT_EQ(m.FileLists().Recent(), recent);
}

TEST_F(THelpFixture, WebLinksAskFirstAndRemindToConnect) {
  TfrmMain &m = Start();
  TUrlCatcher catcher;
  THolder *reminder = m.Holder(QStringLiteral("SMTPReminder"));

  reminder->SetChecked(true);
  TModalAnswerer answerer({QStringLiteral("&Yes"), QStringLiteral("&No")});
  Run("mniDownload");
  ASSERT_EQ(answerer.texts.size(), 2);
  EXPECT_TRUE(answerer.texts[0].startsWith(
      header() + QStringLiteral("Choosing Yes will start your web-browser and connect you to '") +
      SupportRequest::WebSite + QStringLiteral("' so you can download the latest version.")));
  EXPECT_TRUE(
      answerer.texts[0].endsWith(QStringLiteral(" for Linux.\n\nDo you wish to continue?")));
  EXPECT_EQ(answerer.titles[0], QStringLiteral("Information"));
  EXPECT_EQ(answerer.texts[1], header() + QStringLiteral("Are you connected to the Internet?"));
  EXPECT_TRUE(catcher.opened.isEmpty());  // not connected: nothing opens

  reminder->SetChecked(false);
  answerer.Add(QStringLiteral("&Yes"));
  Run("mniDownload");
  ASSERT_EQ(answerer.texts.size(), 3);  // no second question
  ASSERT_EQ(catcher.opened.size(), 1);
  EXPECT_EQ(catcher.opened[0], QUrl(SupportRequest::WebSite));

  answerer.Add(QStringLiteral("&No"));
  Run("mniOnLine");
  ASSERT_EQ(answerer.texts.size(), 4);
  EXPECT_EQ(
      answerer.texts[3],
      header() +
          QStringLiteral(
              "Choosing Yes will start your web-browser and connect you to our Help Desk at '") +
          SupportRequest::HelpDesk + QStringLiteral("'\n\nDo you wish to continue?"));
  EXPECT_EQ(catcher.opened.size(), 1);  // answered No
}

TEST_F(THelpFixture, SpecialCharactersInsertIntoTheActiveDocumentAndKeepStayOnTop) {
  TfrmMain &m = Start();
  m.setGeometry(260, 260, 500, 300);  // far from the screen's corner
  SetStayOnTop(true);
  Run("mniSpecial");
  Run("mniSpecial");
  EXPECT_TRUE(m.IsChecked(QStringLiteral("mniStayOnTop")));
  const QList<TfrmSpecialChar *> windows = m.findChildren<TfrmSpecialChar *>();
  ASSERT_EQ(windows.size(), 2);
  TfrmSpecialChar *window = windows.first();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->grdSpecial()->font().family(), m.ActiveEdit()->mmoMemo()->font().family());
  window->grdSpecial()->setCurrentCell(4, 5);
  window->grdSpecialDblClick();
  windows.last()->grdSpecialDblClick();  // the character picked in either window
  EXPECT_EQ(m.ActiveEdit()->mmoMemo()->Text(), QStringLiteral("AA"));
  // They open over the main window where the user works, not in a corner of the screen.
  const QRect main = m.frameGeometry().adjusted(-1, -1, 1, 1);
  for (TfrmSpecialChar *w : windows) {
    EXPECT_TRUE(main.contains(w->frameGeometry().center())) << w->x() << "," << w->y();
    EXPECT_TRUE(w->screen()->availableGeometry().contains(w->frameGeometry()));
  }
  for (TfrmSpecialChar *w : windows) w->close();
}

TEST_F(THelpFixture, PropertiesOfTheActiveDocumentFromItsPopUpMenu) {
  TfrmMain &m = Start();
  QTest::keyClicks(m.ActiveEdit()->mmoMemo(), QStringLiteral("typed"));
  SetStayOnTop(true);
  TModalAnswerer answerer({QString()});
  QStringList seen;
  answerer.onShown = [&](QWidget *dialog) {
    seen << dialog->windowTitle() << dialog->findChild<QLabel *>(QStringLiteral("lblSize"))->text()
         << dialog->findChild<QLabel *>(QStringLiteral("lblType"))->text();
    seen << QString::number(m.IsTopMost());
  };
  Run("puiProperties");
  EXPECT_EQ(seen, (QStringList{"untitled.txt - Properties", "5 bytes", "Text Document", "0"}));
  EXPECT_TRUE(m.IsTopMost());  // back on afterwards
}

TEST_F(THelpFixture, TipPanelShowsATipAtStartAndTechSupportPreparesItsRequest) {
  TfrmMain &m = Start();
  TTipPanel *panel = m.pnlTip();
  EXPECT_EQ(panel->lstTips().size(), 56);
  EXPECT_TRUE(panel->lstTips().contains(panel->CurrentTip()));
  EXPECT_EQ(panel->isVisible(), m.IsChecked(QStringLiteral("mniTip")));

  // Help|Contact Tech Support opens the compose window as the support request.
  ASSERT_TRUE(m.Action(QStringLiteral("mniTech"))->isEnabled());
  // No server is set up yet: the compose window says so first, as for any mail.
  TModalAnswerer answerer({QStringLiteral("OK")});
  QStringList seen;
  answerer.onShown = [&](QWidget *dialog) {
    if (qobject_cast<QMessageBox *>(dialog)) return;
    seen << dialog->windowTitle();
    for (const char *name : {"edtTo", "edtSubject"})
      if (auto *edit = dialog->findChild<QLineEdit *>(QLatin1String(name)))
        seen << edit->text() << QString::number(edit->isEnabled());
    if (auto *body = dialog->findChild<QPlainTextEdit *>(QStringLiteral("mmoBody")))
      seen << QString::number(body->toPlainText().split(u'\n').size());
    dialog->close();
  };
  m.Action(QStringLiteral("mniTech"))->trigger();
  ASSERT_EQ(seen.size(), 6) << seen.join(u'|').toStdString();
  EXPECT_EQ(seen[0], QStringLiteral("Request for Tech Support"));
  EXPECT_EQ(seen[1], QString::fromLatin1(kSupportAddress))
      << "the address the program was built with";
  EXPECT_EQ(seen[2], QStringLiteral("1")) << "shown and open to change";
  EXPECT_TRUE(seen[3].endsWith(QLatin1String(" technical support")));
  EXPECT_EQ(seen[4], QStringLiteral("0"));
  EXPECT_GE(seen[5].toInt(), 19) << "the prepared lines are the message text";
}

#include "HelpCommandsTest.moc"
