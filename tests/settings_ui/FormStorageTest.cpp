// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <functional>

#include "TestEnvironment.h"
#include "TestForm.h"
#include "settings/ui/FormTables.h"

using TestEnvironment::FreshDir;
using TestEnvironment::ReadFile;
using TestEnvironment::WriteFile;

namespace {

const QString section = QStringLiteral("Test Form");
const QByteArray sectionLine = "[HKEY_CURRENT_USER\\Software\\Kestrelwick\\Vellumix\\Test Form]\n";

QString NewFile() { return FreshDir(QStringLiteral("ui")) + QStringLiteral("/Vellumix.reg"); }

QString Stored(const QString &file, const QString &sectionName, const QString &name) {
  TSettingsStore store(file);
  TRootKey root(VellumixRootKey, store);
  return root.ReadString(sectionName, name, QStringLiteral("<missing>"));
}

QString WriteSettings(const QByteArray &lines) {
  return WriteFile(NewFile(), "Windows Registry Editor Version 5.00\n\n" + sectionLine + lines);
}

const QStringList testProps = {
    QStringLiteral("mniWordWrap.Checked"),  QStringLiteral("SMTPBCC.Checked"),
    QStringLiteral("lblFilter.Caption"),    QStringLiteral("SMTPHost.Caption"),
    QStringLiteral("SMTPHost.Color"),       QStringLiteral("SMTPSignature.Lines"),
    QStringLiteral("mmoMemo.Font"),         QStringLiteral("mmoMemo.Color"),
    QStringLiteral("mmoMemo.ScrollBars"),   QStringLiteral("mmoMemo.WordWrap"),
    QStringLiteral("pnlTip.Visible"),       QStringLiteral("dlgSpell.DialogStyle"),
    QStringLiteral("dlgSpell.Options"),     QStringLiteral("dlgSpell.Ratio"),
    QStringLiteral("pagPrefer.ActivePage"), QStringLiteral("barMCustom.Options"),
};

const QList<TStoredDefault> testDefaults = {
    {QStringLiteral("SMTPHost_Caption"), QStringLiteral("mail.example.com")},
    {QStringLiteral("SMTPHost_Color"), QStringLiteral("12632256")},
    {QStringLiteral("SMTPSignature_Lines"), QStringLiteral("Enter your signature here")},
    {QStringLiteral("mmoMemo_Color"), QStringLiteral("-2147483643")},
    {QStringLiteral("mmoMemo_FontName"), QStringLiteral("Souvenir Lt BT")},
    {QStringLiteral("mmoMemo_FontHeight"), QStringLiteral("-13")},
    {QStringLiteral("mmoMemo_FontSize"), QStringLiteral("10")},
    {QStringLiteral("mmoMemo_ScrollBars"), QStringLiteral("ssBoth")},
    {QStringLiteral("barMCustom_Options"), QStringLiteral("[sbAllowDrag,sbFlatBtns]")},
};

class FormStorage : public ::testing::Test {
 protected:
  void SetUp() override {
    reported.clear();
    TFormStorage::SetErrorReporter([this](const QString &text) { reported.append(text); });
  }
  void TearDown() override { TFormStorage::SetErrorReporter({}); }

  std::unique_ptr<TfrmTest> Form(TSettingsStore &store) {
    auto form = std::make_unique<TfrmTest>(store);
    form->storage->SetStoredProps(testProps, testDefaults);
    return form;
  }

  QStringList reported;
};

}  // namespace

// The string list's section as the first close writes it: its header and both values.
constexpr const char *kSignatureSection =
    "[HKEY_CURRENT_USER\\Software\\Kestrelwick\\Vellumix\\Test Form.SMTPSignature_Lines]\n"
    "\"Count\"=\"1\"\n\"Item0\"=\"Enter your signature here\"\n";

TEST_F(FormStorage, FreshUserStartsWithDefaultsAndFirstCloseWritesThem) {
  const QString file = NewFile();
  TSettingsStore store(file);
  auto form = Form(store);
  form->show();
  EXPECT_TRUE(form->storage->Restored());
  EXPECT_EQ(form->SMTPSignature->toPlainText(), QStringLiteral("Enter your signature here"));
  EXPECT_EQ(form->SMTPHost->color, 12632256);
  EXPECT_EQ(form->mmoMemo->palette().color(QPalette::Base),
            QApplication::palette().color(QPalette::Base));
  EXPECT_TRUE(form->close());
  EXPECT_TRUE(form->storage->Saved());

  const QByteArray text = ReadFile(file);
  for (const char *line : {"\"mniWordWrap_Checked\"=\"True\"",
                           "\"SMTPBCC_Checked\"=\"False\"",
                           "\"lblFilter_Caption\"=\"1\"",
                           "\"SMTPHost_Caption\"=\"mail.example.com\"",
                           "\"SMTPHost_Color\"=\"12632256\"",
                           "\"mmoMemo_Color\"=\"-2147483643\"",
                           "\"mmoMemo_FontCharset\"=\"1\"",
                           "\"mmoMemo_FontColor\"=\"",
                           "\"mmoMemo_FontHeight\"=\"-13\"",
                           "\"mmoMemo_FontName\"=\"Souvenir Lt BT\"",
                           "\"mmoMemo_FontPitch\"=\"fpDefault\"",
                           "\"mmoMemo_FontSize\"=\"10\"",
                           "\"mmoMemo_FontStyle\"=\"[]\"",
                           "\"mmoMemo_ScrollBars\"=\"ssBoth\"",
                           "\"mmoMemo_WordWrap\"=\"True\"",
                           "\"pnlTip_Visible\"=\"True\"",
                           "\"dlgSpell_DialogStyle\"=\"dtWordPerfect\"",
                           "\"dlgSpell_Options\"=\"[soSecond]\"",
                           "\"dlgSpell_Ratio\"=\"1.5\"",
                           "\"pagPrefer_ActivePage\"=\"tabDisplay\"",
                           "\"barMCustom_Options\"=\"[sbAllowDrag,sbFlatBtns]\"",
                           "\"Visible\"=\"0\"",
                           "\"Flags\"=\"0\"",
                           "\"ShowCmd\"=\"1\"",
                           "\"MinMaxPos\"=\"-1,-1,-1,-1\"",
                           kSignatureSection})
    EXPECT_TRUE(text.contains(line)) << line << "\n" << text.toStdString();
  const QSize screen = form->screen()->geometry().size();
  EXPECT_NE(Stored(file, section,
                   QStringLiteral("NormPos(%1x%2)").arg(screen.width()).arg(screen.height())),
            QStringLiteral("<missing>"));
  EXPECT_EQ(Stored(file, section, QStringLiteral("NormPos")),
            Stored(file, section,
                   QStringLiteral("NormPos(%1x%2)").arg(screen.width()).arg(screen.height())));
  EXPECT_TRUE(reported.isEmpty()) << reported.join(u'|').toStdString();
}

TEST_F(FormStorage, StoredTextsLoadByTheirEncodings) {
  const QString file = WriteSettings(
      "\"mniWordWrap_Checked\"=\"false\"\n"
      "\"SMTPBCC_Checked\"=\"TRUE\"\n"
      "\"pnlTip_Visible\"=\"1\"\n"             // not a boolean: unchanged
      "\"lblFilter_Caption\"=\"  3  \"\n"      // trimmed
      "\"SMTPHost_Caption\"=dword:00000005\n"  // another type: this one falls back
      "\"SMTPHost_Color\"=\"16711680\"\n"
      "\"mmoMemo_FontHeight\"=\"-20\"\n"
      "\"mmoMemo_FontSize\"=\"14\"\n"  // applied after the height: wins
      "\"mmoMemo_FontStyle\"=\"fsBold,fsItalic\"\n"
      "\"mmoMemo_FontName\"=\"DejaVu Sans Mono\"\n"
      "\"mmoMemo_Color\"=\"255\"\n"
      "\"mmoMemo_ScrollBars\"=\"SSVERTICAL\"\n"
      "\"mmoMemo_WordWrap\"=\"False\"\n"
      "\"dlgSpell_DialogStyle\"=\"DTMSWORD\"\n"
      "\"dlgSpell_Options\"=\"[]\"\n"
      "\"dlgSpell_Ratio\"=\"2.75\"\n"
      "\"pagPrefer_ActivePage\"=\"tabSpell\"\n"
      "\"barMCustom_Options\"=\"[sbFlatBtns, unknownWord]\"\n");
  TSettingsStore store(file);
  auto form = Form(store);
  form->show();
  EXPECT_EQ(form->wrapSeenAtShow, false) << "restored before the window's own show handler";
  EXPECT_TRUE(form->SMTPBCC->isChecked());
  EXPECT_EQ(form->bccToggles, 1) << "assigned through the ordinary setter";
  EXPECT_TRUE(!form->pnlTip->isHidden());
  EXPECT_EQ(form->lblFilter->text(), QStringLiteral("3"));
  EXPECT_EQ(form->SMTPHost->caption, QStringLiteral("mail.example.com"));
  EXPECT_EQ(form->SMTPHost->color, 16711680);
  const QFont font = form->mmoMemo->font();
  EXPECT_EQ(font.pointSize(), 14);
  EXPECT_TRUE(font.bold());
  EXPECT_TRUE(font.italic());
  EXPECT_EQ(font.family(), QStringLiteral("DejaVu Sans Mono"));
  EXPECT_EQ(form->mmoMemo->palette().color(QPalette::Base), QColor(255, 0, 0));
  EXPECT_EQ(form->mmoMemo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(form->mmoMemo->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
  EXPECT_EQ(form->mmoMemo->lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(form->dlgSpell->dialogStyle, TSpellObject::dtMSWord);
  EXPECT_EQ(form->dlgSpell->options, TSpellObject::TOptions());
  EXPECT_EQ(form->dlgSpell->ratio, 2.75);
  EXPECT_EQ(form->pagPrefer->currentWidget()->objectName(), QStringLiteral("tabSpell"));
  EXPECT_FALSE(form->barMCustom->isMovable());
  EXPECT_TRUE(reported.isEmpty()) << "a bad stored property is not reported";

  // Saving writes the loaded state back, and the same section reloads to it.
  form->lblFilter->setText(QStringLiteral("  padded  "));
  form->close();
  EXPECT_EQ(Stored(file, section, QStringLiteral("lblFilter_Caption")), QStringLiteral("padded"));
  EXPECT_EQ(Stored(file, section, QStringLiteral("mmoMemo_FontSize")), QStringLiteral("14"));
  EXPECT_EQ(Stored(file, section, QStringLiteral("mmoMemo_FontStyle")),
            QStringLiteral("[fsBold,fsItalic]"));
  EXPECT_EQ(Stored(file, section, QStringLiteral("SMTPHost_Caption")),
            QStringLiteral("mail.example.com"));
}

TEST_F(FormStorage, StringListsLiveInTheirOwnKey) {
  const QString file = NewFile();
  TSettingsStore store(file);
  const QString listSection = QStringLiteral("Test Form.SMTPSignature_Lines");
  {
    auto form = Form(store);
    form->show();
    form->SMTPSignature->setPlainText(QStringLiteral("Regards,\n  Ann"));
    form->close();
  }
  EXPECT_EQ(Stored(file, listSection, QStringLiteral("Count")), QStringLiteral("2"));
  EXPECT_EQ(Stored(file, listSection, QStringLiteral("Item1")), QStringLiteral("  Ann"));
  {
    auto form = Form(store);
    form->show();
    EXPECT_EQ(form->SMTPSignature->toPlainText(), QStringLiteral("Regards,\n  Ann"));
    form->SMTPSignature->clear();
    form->close();
  }
  EXPECT_EQ(Stored(file, listSection, QStringLiteral("Count")), QStringLiteral("<missing>"));
  TRootKey root(VellumixRootKey, store);
  EXPECT_FALSE(root.SectionExists(listSection));
  root.Close();
  auto form = Form(store);
  form->show();
  EXPECT_EQ(form->SMTPSignature->toPlainText(), QStringLiteral("Enter your signature here"));
}

TEST_F(FormStorage, SavesAfterAnAcceptedCloseOrAtDestructionOnly) {
  const QString file = NewFile();
  TSettingsStore store(file);
  { auto neverShown = Form(store); }
  EXPECT_FALSE(QFileInfo::exists(file)) << "a window never restored never writes";

  auto form = Form(store);
  form->show();
  form->refuseClose = true;
  form->mniWordWrap->setChecked(false);
  EXPECT_FALSE(form->close());
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(Stored(file, section, QStringLiteral("mniWordWrap_Checked")),
            QStringLiteral("<missing>"));
  form->refuseClose = false;
  EXPECT_TRUE(form->close());
  EXPECT_EQ(Stored(file, section, QStringLiteral("mniWordWrap_Checked")), QStringLiteral("False"));
  EXPECT_EQ(Stored(file, section, QStringLiteral("Visible")), QStringLiteral("0"));

  QCoreApplication::processEvents();
  form->show();  // every show restores again
  EXPECT_FALSE(form->mniWordWrap->isChecked());
  form->mniWordWrap->setChecked(true);
  form.reset();  // the program ends without a close
  EXPECT_EQ(Stored(file, section, QStringLiteral("mniWordWrap_Checked")), QStringLiteral("True"));
  EXPECT_EQ(Stored(file, section, QStringLiteral("Visible")), QStringLiteral("1"));

  auto inactive = Form(store);
  inactive->storage->Active = false;
  inactive->show();
  EXPECT_FALSE(inactive->storage->Restored());
}

TEST_F(FormStorage, EntriesAreResolvedAgainstTheWindow) {
  const QString file = NewFile();
  TSettingsStore store(file);
  TfrmTest form(store);
  form.storage->SetStoredProps(
      {QStringLiteral("noPeriod"), QStringLiteral(".Checked"), QStringLiteral("mniWordWrap."),
       QStringLiteral("nothingHere.Checked"), QStringLiteral("mniWordWrap.NoSuchProperty"),
       QStringLiteral(" MNIWORDWRAP . Checked "), QStringLiteral("pnlTip.Visible")});
  EXPECT_EQ(form.storage->StoredProps(),
            (QStringList{QStringLiteral("mniWordWrap.NoSuchProperty"),
                         QStringLiteral("MNIWORDWRAP.Checked"), QStringLiteral("pnlTip.Visible")}));
  // Every entry that stores nothing is named, so a window's table can be checked whole.
  EXPECT_EQ(form.storage->Unresolved(),
            (QStringList{QStringLiteral("noPeriod"), QStringLiteral(".Checked"),
                         QStringLiteral("mniWordWrap."), QStringLiteral("nothingHere.Checked"),
                         QStringLiteral("mniWordWrap.NoSuchProperty")}));
  delete form.pnlTip;  // a control destroyed before its window takes its entries along
  EXPECT_EQ(form.storage->StoredProps().size(), 2);
  form.show();
  form.close();
  TRootKey root(VellumixRootKey, store);
  EXPECT_EQ(root.ReadString(section, QStringLiteral("MNIWORDWRAP_Checked"), {}),
            QStringLiteral("True"));
  EXPECT_FALSE(root.ValueExists(section, QStringLiteral("mniWordWrap_NoSuchProperty")));
  EXPECT_FALSE(root.ValueExists(section, QStringLiteral("pnlTip_Visible")));
}

TEST_F(FormStorage, PlacementIsRestoredByItsRules) {
  const QString file = NewFile();
  TSettingsStore store(file);
  QRect saved;
  {
    auto form = Form(store);
    form->show();
    form->setGeometry(40, 50, 300, 200);
    saved = form->geometry();
    form->close();
  }
  {
    auto form = Form(store);
    form->show();
    EXPECT_EQ(form->geometry(), saved);
    EXPECT_EQ(form->windowState(), Qt::WindowNoState);
    form->close();
  }
  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  const QByteArray suffix =
      QStringLiteral("(%1x%2)").arg(screen.width()).arg(screen.height()).toLatin1();
  const int dpi = qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch());
  const QByteArray dpiLine = "\"PixelsPerInch\"=\"" + QByteArray::number(dpi) + "\"\n";
  {
    // The place for this screen size wins over the plain one; "ShowCmd" 3 maximizes.
    TSettingsStore other(
        WriteSettings(dpiLine + "\"NormPos\"=\"10,10,110,110\"\n\"NormPos" + suffix +
                      "\"=\"20,30,220,130\"\n\"NormPos(1x1)\"=\"1,1,2,2\"\n\"ShowCmd\"=\"3\"\n"));
    auto form = Form(other);
    form->show();
    EXPECT_EQ(form->normalGeometry(), QRect(20, 30, 200, 100));
    EXPECT_TRUE(form->isMaximized());
  }
  {
    TSettingsStore other(
        WriteSettings(dpiLine + "\"NormPos\"=\"10,10,110,110\"\n\"NormPos(1x1)\"=\"1,1,2,2\"\n"));
    auto form = Form(other);
    form->show();
    EXPECT_EQ(form->geometry(), QRect(10, 10, 100, 100));
  }
  {
    // Another screen resolution, a rectangle with left beyond right, or one off every screen:
    // nothing is applied.
    for (const QByteArray &lines :
         QList<QByteArray>{"\"PixelsPerInch\"=\"" + QByteArray::number(dpi + 24) +
                               "\"\n\"NormPos\"=\"10,10,110,110\"\n",
                           dpiLine + "\"NormPos\"=\"300,10,110,110\"\n",
                           dpiLine + "\"NormPos\"=\"-9000,-9000,-8900,-8900\"\n"}) {
      TSettingsStore other(WriteSettings(lines));
      auto form = Form(other);
      form->setGeometry(60, 70, 120, 90);
      form->show();
      EXPECT_EQ(form->geometry(), QRect(60, 70, 120, 90)) << lines.toStdString();
    }
  }
  {
    // A place larger than the screens, or partly off them, is brought onto the screen that
    // shows most of it, at most as large as that screen offers.
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QByteArray partly = QByteArray::number(available.right() - 50) + ",10," +
                              QByteArray::number(available.right() + 150) + ",110";
    // Each expected place, within the area that leaves room for the window's frame.
    const QList<std::pair<QByteArray, std::function<QRect(const QRect &)>>> cases = {
        {"-999999,-999999,999999999,999999999", [](const QRect &area) { return area; }},
        {"-2147483648,-2147483648,2147483647,2147483647", [](const QRect &area) { return area; }},
        {partly, [](const QRect &area) { return QRect(area.right() + 1 - 200, 10, 200, 100); }},
        {"5,-50,105,50", [](const QRect &area) { return QRect(5, area.top(), 100, 100); }}};
    for (const auto &[normPos, expected] : cases) {
      TSettingsStore other(WriteSettings(dpiLine + "\"NormPos\"=\"" + normPos + "\"\n"));
      auto form = Form(other);
      form->show();
      const QRect frame = form->frameGeometry();
      const QRect inner = form->geometry();
      const QRect area = available.marginsRemoved(
          QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                   frame.right() - inner.right(), frame.bottom() - inner.bottom()));
      EXPECT_EQ(inner, expected(area)) << normPos.toStdString();
      EXPECT_TRUE(available.contains(frame)) << normPos.toStdString();
    }
  }
  {
    // A placement value of a non-string type stops the placement and is reported; the stored
    // properties still load and the window still shows.
    TSettingsStore other(
        WriteSettings("\"ShowCmd\"=dword:00000003\n\"mniWordWrap_Checked\"=\"False\"\n"));
    auto form = Form(other);
    form->show();
    EXPECT_EQ(reported, QStringList{QStringLiteral("Invalid data type for 'ShowCmd'")});
    EXPECT_FALSE(form->mniWordWrap->isChecked());
    EXPECT_TRUE(form->wrapSeenAtShow.has_value());
  }
}

TEST_F(FormStorage, MainFrameDefaultsToMaximizedAndTheMainTableLoads) {
  TSettingsStore store(NewFile());
  QMainWindow frame;
  frame.setObjectName(QStringLiteral("frmMain"));
  frame.setCentralWidget(new QMdiArea);
  auto *holder = new THolderObject(&frame);
  holder->setObjectName(QStringLiteral("SMTPSignature"));
  auto *action = new QAction(&frame);
  action->setObjectName(QStringLiteral("mniTip"));
  action->setCheckable(true);
  TFormStorage storage(&frame, store);
  storage.IniSection = QStringLiteral("Main Form");
  storage.SetStoredProps(FormTables::MainFormProps(), FormTables::MainFormDefaults());
  EXPECT_EQ(storage.StoredProps(),
            (QStringList{QStringLiteral("mniTip.Checked"), QStringLiteral("SMTPSignature.Lines")}));
  EXPECT_EQ(holder->lines, QStringList{QStringLiteral("Enter your signature here")});
  EXPECT_TRUE(action->isChecked());
  frame.show();
  EXPECT_TRUE(frame.isMaximized());
  // The 47 stored values of the main window, then the two of secure mail submission.
  const QStringList props = FormTables::MainFormProps();
  ASSERT_EQ(props.size(), 49);
  EXPECT_EQ(props.first(), QStringLiteral("mniButtonHints.Checked"));
  EXPECT_EQ(props.at(46), QStringLiteral("PrintFont.Checked"));
  EXPECT_EQ(props.mid(47), (QStringList{QStringLiteral("SMTPSecurity.Caption"),
                                        QStringLiteral("SMTPLogin.Caption")}));
}

TEST_F(FormStorage, EditFormTableOnAControlWithItsOwnProperties) {
  const QString file = NewFile();
  TSettingsStore store(file);
  const QString edit = QStringLiteral("Edit Form");
  auto makeWindow = [&store](TMemoControl *&memo) {
    auto window = std::make_unique<QWidget>();
    memo = new TMemoControl(window.get());
    memo->setObjectName(QStringLiteral("mmoMemo"));
    auto *storage = new TFormStorage(window.get(), store);
    storage->IniSection = QStringLiteral("Edit Form");
    storage->Options = TFormStorage::fpState;
    storage->SetStoredProps(FormTables::EditFormProps(), FormTables::EditFormDefaults());
    return window;
  };
  TMemoControl *memo = nullptr;
  {
    auto window = makeWindow(memo);
    EXPECT_EQ(memo->scrollBars, TMemoControl::TScrollStyle::ssBoth);
    EXPECT_EQ(memo->undoLimit, 100);
    EXPECT_TRUE(memo->selectionBar);
    EXPECT_FALSE(memo->autoUrlDetect);
    EXPECT_EQ(memo->Color(), QApplication::palette().color(QPalette::Base));
    EXPECT_EQ(memo->fontColor, QApplication::palette().color(QPalette::Text));
    window->show();
    window->close();
  }
  // The system colours are written as such, and every default in its stored text.
  for (const auto &[name, text] : {std::pair{"mmoMemo_AutoURLDetect", "False"},
                                   {"mmoMemo_Color", "-2147483643"},
                                   {"mmoMemo_FontCharset", "1"},
                                   {"mmoMemo_FontColor", "-2147483640"},
                                   {"mmoMemo_FontHeight", "-13"},
                                   {"mmoMemo_FontName", "Souvenir Lt BT"},
                                   {"mmoMemo_FontPitch", "fpDefault"},
                                   {"mmoMemo_FontSize", "10"},
                                   {"mmoMemo_FontStyle", "[]"},
                                   {"mmoMemo_ScrollBars", "ssBoth"},
                                   {"mmoMemo_SelectionBar", "True"},
                                   {"mmoMemo_UndoLimit", "100"},
                                   {"mmoMemo_WordWrap", "True"}})
    EXPECT_EQ(Stored(file, edit, QString::fromLatin1(name)), QString::fromLatin1(text)) << name;

  WriteEditSetting(QStringLiteral("mmoMemo_ScrollBars"), QStringLiteral("ssVertical"), store);
  WriteEditSetting(QStringLiteral("mmoMemo_FontColor"), QStringLiteral("255"), store);
  WriteEditSetting(QStringLiteral("mmoMemo_UndoLimit"), QStringLiteral("not a number"), store);
  auto window = makeWindow(memo);
  window->show();
  EXPECT_EQ(memo->scrollBars, TMemoControl::TScrollStyle::ssVertical);
  EXPECT_EQ(memo->fontColor, QColor(255, 0, 0));
  EXPECT_EQ(memo->undoLimit, 0);  // an integer that is not one loads as 0
}

TEST_F(FormStorage, DocumentWindowRestoresAtEachShowButNotWhenUnminimized) {
  const QString file = WriteSettings("\"mniWordWrap_Checked\"=\"False\"\n");
  TSettingsStore store(file);
  QMdiArea area;
  area.resize(600, 400);
  area.show();
  auto *form = new TfrmTest(store);
  form->storage->Options = TFormStorage::fpState;
  form->storage->SetStoredProps({QStringLiteral("mniWordWrap.Checked")});
  QMdiSubWindow *sub = area.addSubWindow(form);
  sub->show();
  EXPECT_FALSE(form->mniWordWrap->isChecked());
  form->mniWordWrap->setChecked(true);  // the user's change since the show
  sub->showMinimized();
  sub->showNormal();
  EXPECT_TRUE(form->mniWordWrap->isChecked());
  QCoreApplication::processEvents();
  EXPECT_TRUE(form->mniWordWrap->isChecked());
  sub->hide();
  QCoreApplication::processEvents();
  sub->show();  // shown anew: restored again
  EXPECT_FALSE(form->mniWordWrap->isChecked());
  sub->close();
  EXPECT_EQ(Stored(file, section, QStringLiteral("mniWordWrap_Checked")), QStringLiteral("False"));
  EXPECT_EQ(Stored(file, section, QStringLiteral("ShowCmd")), QStringLiteral("1"));
}
