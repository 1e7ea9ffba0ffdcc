// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include "DctFiles.h"
#include "PrefsFixture.h"
#include "TestEnvironment.h"
#include "documents/core/DateTimeStamp.h"
#include "platform/core/Folders.h"
#include "platform/desktop/SecretStore.h"
#include "platform/gui/WinColor.h"
#include "platform/ui/BarStyleMenu.h"
#include "platform/ui/MessageBox.h"
#include "preferences/ColorBox.h"
#include "preferences/DatePage.h"
#include "preferences/DisplayPage.h"
#include "preferences/FavoritesPage.h"
#include "preferences/MailFields.h"
#include "preferences/SpellPage.h"
#include "settings/ui/ToolBarLayout.h"
#include "spell/ui/AbsSpellDialog.h"
#include "spell/ui/SpellDlg.h"

namespace {

void ClickRow(QListWidget *list, int row) {
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(row)).center());
}

void CloseAllWorkspaces(TfrmMain &m) {
  for (TfrmEdit *edit : m.EditWindows()) edit->mmoMemo()->SetModified(false);
  m.Area()->closeAllSubWindows();
  TestEnvironment::Settle();
}

void WriteStored(const QString &section, const QString &name, const QString &text) {
  TRootKey root;
  root.WriteString(section, name, text);
  root.Close();
}

}  // namespace

TEST_F(PrefsFixture, DateAndTimeChoicesActAtOnceEvenWhenCancelledAndReturnToDefault) {
  TfrmMain &m = Start();
  QString longDate, shortTime;
  Preferences(m, [&](TfrmTools &d) {
    d.Item(QStringLiteral("mniOptions1"))->trigger();
    ASSERT_EQ(d.pagPrefer->currentWidget(), d.date);
    // A fresh installation: the first date format, no time ("-1"), the date alone as sample.
    EXPECT_EQ(d.date->lstDate->count(), 8);
    EXPECT_EQ(d.date->lstTime->count(), 4);
    EXPECT_EQ(d.date->lstTime->currentRow(), -1);
    EXPECT_EQ(d.date->lblDateDisplay->text(), d.date->lstDate->item(0)->text());
    ClickRow(d.date->lstDate, 4);
    ClickRow(d.date->lstTime, 3);
    longDate = d.date->lstDate->item(4)->text();
    shortTime = d.date->lstTime->item(3)->text();
    EXPECT_EQ(d.date->lblDateDisplay->text(), longDate + QStringLiteral(" at ") + shortTime);
    Cancel(d);
  });
  EXPECT_EQ(m.Holder(QStringLiteral("lblDate"))->Caption(), QStringLiteral("4"));
  EXPECT_EQ(m.Holder(QStringLiteral("lblTime"))->Caption(), QStringLiteral("3"));
  TRichEdit *memo = m.ActiveEdit()->mmoMemo();
  m.Action(QStringLiteral("mniDateTime"))->trigger();
  const QDateTime now = QDateTime::currentDateTime();
  EXPECT_TRUE(memo->Text().startsWith(
      FormatDateTime(QStringLiteral("mmmm d, yyyy"), now, QLocale()) + QStringLiteral(" at ")))
      << memo->Text().toStdString();

  Preferences(m, [&](TfrmTools &d) {
    EXPECT_EQ(d.pagPrefer->currentWidget(), d.date);  // the page last shown, after a Cancel too
    EXPECT_EQ(d.date->lstDate->currentRow(), 4);
    EXPECT_EQ(d.date->lstTime->currentRow(), 3);
    d.date->chkDefault->click();
    EXPECT_EQ(d.date->lstDate->currentRow(), 0);
    EXPECT_TRUE(d.date->lstTime->selectedItems().isEmpty());
    EXPECT_EQ(d.date->lblDateDisplay->text(), d.date->lstDate->item(0)->text());
    Save(d);
  });
  EXPECT_EQ(m.Holder(QStringLiteral("lblDate"))->Caption(), QStringLiteral("0"));
  EXPECT_EQ(m.Holder(QStringLiteral("lblTime"))->Caption(), QStringLiteral("-1"));
}

TEST_F(PrefsFixture, TheLastPageAndStatesComeBackAfterCancelAndAfterARestart) {
  TfrmMain &m = Start();
  Preferences(m, [](TfrmTools &d) {
    EXPECT_EQ(d.pagPrefer->currentWidget(), d.display);  // a fresh installation opens on Display
    d.Item(QStringLiteral("mniOptions4"))->trigger();
    EXPECT_EQ(d.pagPrefer->currentWidget(), d.spell);
    d.display->chkMRUYes->click();  // acts at once
    Cancel(d);
  });
  EXPECT_FALSE(m.Holder(QStringLiteral("ShowMRU"))->Checked());
  EXPECT_EQ(Stored(QStringLiteral("Preferences"), QStringLiteral("pagPrefer_ActivePage")),
            QStringLiteral("tabSpell"));
  EXPECT_EQ(Stored(QStringLiteral("Preferences"), QStringLiteral("mniOptions4_Checked")),
            QStringLiteral("True"));
  EXPECT_EQ(Stored(QStringLiteral("Preferences"), QStringLiteral("chkMRUYes_Checked")),
            QStringLiteral("False"));
  main.reset();
  TfrmMain &again = Start();
  EXPECT_FALSE(again.Holder(QStringLiteral("ShowMRU"))->Checked());
  Preferences(
      again,
      [](TfrmTools &d) {
        EXPECT_EQ(d.pagPrefer->currentWidget(), d.spell);
        EXPECT_TRUE(d.Item(QStringLiteral("mniOptions4"))->isChecked());
        EXPECT_FALSE(d.display->chkMRUYes->isChecked());
        // A tab chosen by the user checks its menu item.
        d.pagPrefer->setCurrentWidget(d.favorites);
        EXPECT_TRUE(d.Item(QStringLiteral("mniOptions2"))->isChecked());
        Cancel(d);
      },
      QStringLiteral("btnOptions"));
}

TEST_F(PrefsFixture, ColoursNeedAWorkspaceForTheEditScreenAndActAtOnce) {
  TfrmMain &m = Start();
  Preferences(m, [&](TfrmTools &d) {
    // Main screen: the frame's background and the holder that keeps it.
    d.display->cbxMScreen->setCurrentText(QStringLiteral("Teal"));
    EXPECT_EQ(m.Holder(QStringLiteral("SMTPHost"))->Color(), 0x808000);
    EXPECT_EQ(m.Area()->background().color(), WinColor::ToQColor(0x808000));
    // Edit screen: every workspace, the font sample and the shared section.
    d.display->cbxEScreen->setCurrentText(QStringLiteral("Yellow"));
    EXPECT_EQ(m.ActiveEdit()->mmoMemo()->Color(), WinColor::ToQColor(0x00FFFF));
    EXPECT_EQ(d.display->lblFont->palette().color(QPalette::Window), WinColor::ToQColor(0x00FFFF));
    EXPECT_EQ(Stored(QStringLiteral("Edit Form"), QStringLiteral("mmoMemo_Color")),
              QString::number(0x00FFFF));
    d.display->cbxFHigh->setCurrentText(QStringLiteral("Red"));
    EXPECT_EQ(m.Holder(QStringLiteral("lblDate"))->Color(), 0x0000FF);
    Save(d);
  });
  CloseAllWorkspaces(m);
  TBoxAnswerer answerer({QStringLiteral("OK"), QStringLiteral("OK")});
  Preferences(m, [&](TfrmTools &d) {
    EXPECT_EQ(d.display->cbxEScreen->currentText(), QStringLiteral("Yellow"));
    d.display->cbxEScreen->setCurrentText(QStringLiteral("Lime"));
    EXPECT_EQ(d.display->cbxEScreen->currentText(),
              QStringLiteral("Yellow"));  // back to the opening colour
    d.display->btnFont->click();
    Cancel(d);
  });
  ASSERT_EQ(answerer.texts.size(), 2);
  EXPECT_EQ(answerer.texts[0],
            MessageBox::MsgHeader().replace(u'\r', u'\n') +
                QStringLiteral("You must have an open workspace in order to change the color."));
  EXPECT_EQ(answerer.texts[1],
            MessageBox::MsgHeader().replace(u'\r', u'\n') +
                QStringLiteral("You must have an open workspace in order to change the font."));
  EXPECT_EQ(Stored(QStringLiteral("Edit Form"), QStringLiteral("mmoMemo_Color")),
            QString::number(0x00FFFF));
  // A new workspace starts with the stored colour.
  EXPECT_EQ(m.NewWorkspace()->mmoMemo()->Color(), WinColor::ToQColor(0x00FFFF));
}

TEST_F(PrefsFixture, ANewEditorFontReachesEveryWorkspaceAndTheNextOne) {
  TfrmMain &m = Start();
  TfrmEdit *first = m.ActiveEdit();
  TfrmEdit *second = m.NewWorkspace();
  QFont chosen(QStringLiteral("DejaVu Sans"));
  chosen.setPointSize(14);
  chosen.setBold(true);
  TBoxAnswerer answerer({QStringLiteral("OK")});
  answerer.onOther = [&](QDialog *modal) {
    if (auto *fonts = qobject_cast<QFontDialog *>(modal)) {
      fonts->setCurrentFont(chosen);
      fonts->accept();
    }
  };
  Preferences(m, [](TfrmTools &d) {
    d.display->btnFont->click();
    EXPECT_EQ(d.display->lblFont->text(), QStringLiteral("DejaVu Sans - 14 pt"));
    Save(d);
  });
  for (TfrmEdit *edit : {first, second}) {
    EXPECT_EQ(edit->mmoMemo()->font().family(), QStringLiteral("DejaVu Sans"));
    EXPECT_TRUE(edit->mmoMemo()->font().bold());
  }
  ASSERT_EQ(answerer.texts.size(), 1);
  EXPECT_TRUE(answerer.texts[0].endsWith(
      QStringLiteral("This ONLY changes the display font in Vellumix. To change the printer "
                     "fonts you must go to File|Customize Print Out... on the Main Menu.")));
  EXPECT_EQ(Stored(QStringLiteral("Edit Form"), QStringLiteral("mmoMemo_FontStyle")),
            QStringLiteral("[fsBold]"));
  EXPECT_EQ(Stored(QStringLiteral("Edit Form"), QStringLiteral("mmoMemo_FontSize")),
            QStringLiteral("14"));
  EXPECT_EQ(Stored(QStringLiteral("Edit Form"), QStringLiteral("mmoMemo_FontHeight")),
            QStringLiteral("-19"));
  EXPECT_EQ(Stored(QStringLiteral("Edit Form"), QStringLiteral("mmoMemo_FontName")),
            QStringLiteral("DejaVu Sans"));
  const QFont next = m.NewWorkspace()->mmoMemo()->font();
  EXPECT_EQ(next.family(), QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(next.pointSize(), 14);
  EXPECT_TRUE(next.bold());
  // The sample keeps the font for the next opening.
  EXPECT_EQ(Stored(QStringLiteral("Preferences"), QStringLiteral("lblFont_FontName")),
            QStringLiteral("DejaVu Sans"));
  Preferences(m, [](TfrmTools &d) {
    EXPECT_EQ(d.display->lblFont->text(), QStringLiteral("DejaVu Sans - 14 pt"));
    Cancel(d);
  });
}

TEST_F(PrefsFixture, TheRestoreAtOpeningChangesNoWorkspaceUntilTheUserDoes) {
  WriteStored(QStringLiteral("Preferences"), QStringLiteral("edtUndo_Value"), QStringLiteral("7"));
  WriteStored(QStringLiteral("Preferences"), QStringLiteral("chkShowSelBar_Checked"),
              QStringLiteral("False"));
  WriteStored(QStringLiteral("Preferences"), QStringLiteral("chkFontPrint_Checked"),
              QStringLiteral("False"));
  TfrmMain &m = Start();
  TRichEdit *memo = m.ActiveEdit()->mmoMemo();
  Preferences(m, [&](TfrmTools &d) {
    EXPECT_EQ(d.display->edtUndo->value(), 7);
    EXPECT_FALSE(d.display->chkShowSelBar->isChecked());
    EXPECT_EQ(memo->UndoLimit(), 100);
    EXPECT_TRUE(memo->SelectionBar());
    EXPECT_TRUE(m.Holder(QStringLiteral("PrintFont"))->Checked());
    EXPECT_EQ(Stored(QStringLiteral("Edit Form"), QStringLiteral("mmoMemo_UndoLimit")),
              QStringLiteral("<none>"));
    d.display->edtUndo->stepUp();
    EXPECT_EQ(memo->UndoLimit(), 8);
    d.display->chkShowSelBar->click();
    d.display->chkShowSelBar->click();
    d.display->chkFontPrint->click();
    Cancel(d);
  });
  EXPECT_EQ(Stored(QStringLiteral("Edit Form"), QStringLiteral("mmoMemo_UndoLimit")),
            QStringLiteral("8"));
  EXPECT_EQ(Stored(QStringLiteral("Edit Form"), QStringLiteral("mmoMemo_SelectionBar")),
            QStringLiteral("False"));
  EXPECT_FALSE(memo->SelectionBar());
  EXPECT_TRUE(m.Holder(QStringLiteral("PrintFont"))->Checked());
}

TEST_F(PrefsFixture, NewWorkspacesOpenInTheChosenState) {
  TfrmMain &m = Start();
  Preferences(m, [](TfrmTools &d) {
    d.display->radNorm->click();
    Cancel(d);
  });
  EXPECT_EQ(m.Holder(QStringLiteral("EditDisplay"))->Caption(), QStringLiteral("2"));
  QMdiSubWindow *sub = m.SubWindowOf(m.NewWorkspace());
  ASSERT_NE(sub, nullptr);
  EXPECT_FALSE(sub->isMaximized());
  EXPECT_FALSE(sub->isMinimized());
}

TEST_F(PrefsFixture, TheSpellCheckerOptionsReachTheNextCheck) {
  // A small French dictionary in the program's folder; no legal one. The private program
  // folder links the build's own dictionaries: the link goes first, so the build's French
  // dictionary is not written over through it.
  QFile::remove(Folders::ProgramFolder() + QStringLiteral("French.dct"));
  DctFiles::Compile(Folders::ProgramFolder(), QStringLiteral("French.dct"),
                    {QStringLiteral("bonjour"), QStringLiteral("le"), QStringLiteral("monde")});
  TfrmMain &m = Start();
  Preferences(m, [](TfrmTools &d) {
    EXPECT_TRUE(d.spell->dictionaries[3]->isEnabled());
    EXPECT_FALSE(d.spell->dictionaries[6]->isEnabled());  // Legal
    d.spell->dictionaries[3]->click();
    d.spell->languages[3]->click();  // French labels
    d.spell->styles[2]->click();     // WordPro 96
    d.spell->chkSIcons->click();
    d.spell->chkSHTML->click();
    Cancel(d);  // these act at once
  });
  TSpellDlg &spell = *m.dlgSpell();
  EXPECT_EQ(spell.DictionaryName(), QStringLiteral("French.dct"));
  EXPECT_EQ(spell.DialogStyle(), TSpellDlg::dtWordPro96);
  EXPECT_EQ(spell.LabelLanguage(), TSpellDlg::lgFrench);
  EXPECT_FALSE(spell.ShowGlyphs());
  EXPECT_TRUE(spell.SupportHTML());

  // The labels a WordPro 96 dialog has in French.
  TSpellDlg reference;
  reference.SetDialogStyle(TSpellDlg::dtWordPro96);
  reference.SetLabelLanguage(TSpellDlg::lgFrench);
  QStringList expected;
  for (QPushButton *b : reference.Dialog()->findChildren<QPushButton *>()) expected << b->text();

  m.ActiveEdit()->mmoMemo()->SetText(QStringLiteral("bonjour le mondd"));
  m.ActiveEdit()->mmoMemo()->SetModified(false);
  QString className, stoppedAt;
  QStringList labels;
  bool anyIcon = false;
  TBoxAnswerer answerer({QStringLiteral("OK")});
  auto *poll = new QTimer(&m);
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, poll, [&] {
    TAbsSpellDialog *dialog = spell.Dialog();
    if (!dialog || !dialog->isVisible() || !className.isEmpty()) return;
    className = QString::fromLatin1(dialog->metaObject()->className());
    stoppedAt = m.ActiveEdit()->mmoMemo()->SelText();
    for (QPushButton *b : dialog->findChildren<QPushButton *>()) {
      labels << b->text();
      anyIcon = anyIcon || !b->icon().isNull();
    }
    QTimer::singleShot(200, dialog, [dialog] { dialog->close(); });
  });
  poll->start();
  Settle();
  ASSERT_TRUE(m.Action(QStringLiteral("mniSpell"))->isEnabled());
  m.Action(QStringLiteral("mniSpell"))->trigger();
  Settle();
  poll->stop();
  EXPECT_EQ(answerer.texts, QStringList());
  EXPECT_EQ(className, QStringLiteral("TW96SpellDlg"));
  EXPECT_EQ(stoppedAt, QStringLiteral("mondd"));  // the chosen dictionary knows the rest
  EXPECT_EQ(labels, expected);
  EXPECT_FALSE(anyIcon);

  // The choices are kept with the main window's settings and the dialog's own.
  main.reset();
  EXPECT_EQ(Stored(QStringLiteral("Main Form"), QStringLiteral("dlgSpell_DialogStyle")),
            QStringLiteral("dtWordPro96"));
  EXPECT_EQ(Stored(QStringLiteral("Main Form"), QStringLiteral("dlgSpell_ShowGlyphs")),
            QStringLiteral("False"));
  EXPECT_EQ(Stored(QStringLiteral("Preferences"), QStringLiteral("radWordPro_Checked")),
            QStringLiteral("True"));
  EXPECT_EQ(Stored(QStringLiteral("Preferences"), QStringLiteral("radLFrench_Checked")),
            QStringLiteral("True"));
}

TEST_F(PrefsFixture, MailSettingsReachTheHoldersOnlyOnSave) {
  TfrmMain &m = Start();
  THolder *host = m.Holder(QStringLiteral("SMTPHost"));
  const QString before = host->Caption();
  Preferences(m, [](TfrmTools &d) {
    d.Item(QStringLiteral("mniOptions3"))->trigger();
    d.network->edtOMServer->setText(QStringLiteral("smtp.cancelled.example"));
    Cancel(d);
  });
  EXPECT_EQ(host->Caption(), before);

  Preferences(m, [](TfrmTools &d) {
    TMailFields &f = *d.network;
    EXPECT_TRUE(f.chkDPort->isChecked());
    EXPECT_FALSE(f.spnPort->isEnabled());
    EXPECT_EQ(f.spnPort->value(), 25);
    f.cbxSecurity->setCurrentText(QStringLiteral("TLS"));
    EXPECT_EQ(f.spnPort->value(), 465);
    f.cbxSecurity->setCurrentText(QStringLiteral("STARTTLS"));
    EXPECT_EQ(f.spnPort->value(), 587);
    f.edtOMServer->setText(QStringLiteral("smtp.example.org"));
    f.edtLogin->setText(QStringLiteral("ann"));
    f.edtName->setText(QStringLiteral("Ann Example"));
    f.edtUEmail->setText(QStringLiteral("ann@example.org"));
    f.chkBCC->click();
    EXPECT_FALSE(f.mmoSignature->isEnabled());
    f.chkSignature->click();
    EXPECT_TRUE(f.mmoSignature->isEnabled());
    f.mmoSignature->setPlainText(QStringLiteral("Ann\nExample Ltd"));
    Save(d);
  });
  EXPECT_EQ(host->Caption(), QStringLiteral("smtp.example.org"));
  EXPECT_EQ(m.Holder(QStringLiteral("SMTPSecurity"))->Caption(), QStringLiteral("STARTTLS"));
  EXPECT_EQ(m.Holder(QStringLiteral("SMTPPort"))->Caption(), QStringLiteral("587"));
  EXPECT_EQ(m.Holder(QStringLiteral("SMTPLogin"))->Caption(), QStringLiteral("ann"));
  EXPECT_EQ(m.Holder(QStringLiteral("SMTPName"))->Caption(), QStringLiteral("Ann Example"));
  EXPECT_EQ(m.Holder(QStringLiteral("SMTPUEmail"))->Caption(), QStringLiteral("ann@example.org"));
  EXPECT_FALSE(m.Holder(QStringLiteral("SMTPBCC"))->Checked());
  EXPECT_TRUE(m.Holder(QStringLiteral("SMTPSigCheck"))->Checked());
  EXPECT_EQ(m.Holder(QStringLiteral("SMTPSignature"))->Lines(),
            (QStringList{QStringLiteral("Ann"), QStringLiteral("Example Ltd")}));

  // A port of the user's own; it comes back with the default box unchecked.
  Preferences(m, [](TfrmTools &d) {
    d.network->chkDPort->click();
    EXPECT_TRUE(d.network->spnPort->isEnabled());
    d.network->spnPort->setValue(2525);
    Save(d);
  });
  EXPECT_EQ(m.Holder(QStringLiteral("SMTPPort"))->Caption(), QStringLiteral("2525"));
  main.reset();
  EXPECT_EQ(Stored(QStringLiteral("Main Form"), QStringLiteral("SMTPPort_Caption")),
            QStringLiteral("2525"));
  Preferences(Start(), [](TfrmTools &d) {
    EXPECT_FALSE(d.network->chkDPort->isChecked());
    EXPECT_EQ(d.network->spnPort->value(), 2525);
    EXPECT_EQ(d.network->edtOMServer->text(), QStringLiteral("smtp.example.org"));
    Cancel(d);
  });
}

// Both of the dialog's bars open the one style menu, whose raised style reaches the
// favourites bar's buttons too.
TEST_F(PrefsFixture, BothBarsOpenTheOneStyleMenu) {
  TfrmMain &m = Start();
  Preferences(m, [](TfrmTools &d) {
    ASSERT_EQ(d.findChildren<TBarStyleMenu *>().size(), 1);
    EXPECT_EQ(d.pumToolBar->actions(), (QList<QAction *>{d.Item(QStringLiteral("mniExplore")),
                                                         d.Item(QStringLiteral("mniStandard"))}));
    EXPECT_EQ(d.Item(QStringLiteral("mniStandard"))->statusTip(),
              QStringLiteral("Display tool bar with raised buttons"));
    auto *favorites = d.favorites->findChild<QToolBar *>(QStringLiteral("barFavorite"));
    ASSERT_NE(favorites, nullptr);
    Q_EMIT favorites->customContextMenuRequested(QPoint(2, 2));
    EXPECT_TRUE(QTest::qWaitFor([&] { return d.pumToolBar->isVisible(); }, 5000));
    d.pumToolBar->hide();
    d.Item(QStringLiteral("mniStandard"))->trigger();
    EXPECT_FALSE(d.Item(QStringLiteral("mniExplore"))->isChecked());
    const QList<QToolButton *> buttons = favorites->findChildren<QToolButton *>();
    ASSERT_FALSE(buttons.isEmpty());
    for (QToolButton *button : buttons) EXPECT_FALSE(button->autoRaise());
    Cancel(d);
  });
}

TEST_F(PrefsFixture, TheStandardStyleRaisesTheDialogsButtonsAndStays) {
  TfrmMain &m = Start();
  Preferences(m, [](TfrmTools &d) {
    EXPECT_TRUE(d.display->btnFont->isFlat());
    d.Item(QStringLiteral("mniStandard"))->trigger();
    EXPECT_EQ(ToolBarLayout::OptionsAccessor(d.barTools)->Text(), QStringLiteral("[]"));
    EXPECT_FALSE(d.display->btnFont->isFlat());
    Cancel(d);
  });
  EXPECT_EQ(Stored(QStringLiteral("Preferences"), QStringLiteral("barTools_Options")),
            QStringLiteral("[]"));
  EXPECT_EQ(Stored(QStringLiteral("Preferences"), QStringLiteral("barFavorite_Options")),
            QStringLiteral("[]"));
  Preferences(m, [](TfrmTools &d) {
    EXPECT_TRUE(d.Item(QStringLiteral("mniStandard"))->isChecked());
    EXPECT_FALSE(d.display->btnFont->isFlat());
    auto *button = qobject_cast<QToolButton *>(
        d.barTools->widgetForAction(d.Item(QStringLiteral("btnClose"))));
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->autoRaise());
    Cancel(d);
  });
}

TEST_F(PrefsFixture, FavouritesChangeOnSaveOnly) {
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("fav"));
  const QString a = TestEnvironment::WriteFile(dir + QStringLiteral("/a.txt"), "a");
  const QString b = TestEnvironment::WriteFile(dir + QStringLiteral("/b.txt"), "b");
  TfrmMain &m = Start();
  m.FileLists().SetFavorites({a});
  TBoxAnswerer answerer({QStringLiteral("file:") + b, QStringLiteral("file:") + b});
  Preferences(m, [&](TfrmTools &d) {
    EXPECT_EQ(d.favorites->Favorites(), QStringList{a});
    d.favorites->btnBrowse()->trigger();
    EXPECT_EQ(d.favorites->Favorites(), (QStringList{a, b}));
    Cancel(d);
  });
  EXPECT_EQ(m.FileLists().Favorites(), QStringList{a});
  Preferences(m, [&](TfrmTools &d) {
    d.favorites->btnBrowse()->trigger();
    Save(d);
  });
  EXPECT_EQ(m.FileLists().Favorites(), (QStringList{a, b}));
}

TEST_F(PrefsFixture, APasswordIsKeptForTheLoginAtTheServerAndNeverInTheSettings) {
  TMemorySecretStore secrets;
  TSecretStore::SetInstance(&secrets);
  TfrmMain &m = Start();
  TBoxAnswerer answerer;
  answerer.onOther = [](QDialog *dialog) {
    if (auto *input = qobject_cast<QInputDialog *>(dialog)) {
      input->setTextValue(QStringLiteral("s3cret word"));
      input->accept();
    }
  };
  Preferences(m, [](TfrmTools &d) {
    EXPECT_FALSE(d.network->btnPassword->isEnabled());  // no login yet
    d.network->edtOMServer->setText(QStringLiteral("smtp.example.org"));
    d.network->edtLogin->setText(QStringLiteral("ann"));
    EXPECT_TRUE(d.network->btnPassword->isEnabled());
    d.network->btnPassword->click();
    Save(d);
  });
  EXPECT_EQ(secrets.Read(QStringLiteral("smtp:ann@smtp.example.org")),
            QStringLiteral("s3cret word"));
  main.reset();
  EXPECT_FALSE(TestEnvironment::ReadFile(TSettingsStore::UserFilePath()).contains("s3cret"));
  Preferences(Start(), [](TfrmTools &d) {
    EXPECT_EQ(d.network->edtLogin->text(), QStringLiteral("ann"));
    d.network->btnForget->click();
    Cancel(d);
  });
  EXPECT_FALSE(secrets.Read(QStringLiteral("smtp:ann@smtp.example.org")).has_value());
  TSecretStore::SetInstance(nullptr);
}
