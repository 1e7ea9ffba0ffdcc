// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/HelpCommands.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

#include "VellumixVersion.h"
#include "about/SupportRequest.h"
#include "about/SysInfoComp.h"
#include "about/fmAbout.h"
#include "app/ui/MailIcons.h"
#include "app/ui/fmMain.h"
#include "documents/properties/fmProperties.h"
#include "documents/special/fmSpecialChar.h"
#include "documents/ui/RichEdit.h"
#include "documents/ui/fmEdit.h"
#include "mail/ui/SendAsEmail.h"
#include "platform/core/Folders.h"
#include "platform/help/HelpKeyFilter.h"
#include "platform/help/QtHelpSource.h"
#include "platform/help/fmHelp.h"
#include "platform/ui/Glyphs.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PlaceBeside.h"
#include "spell/ui/SpellDlg.h"

namespace {

QString Product() { return SupportRequest::ProgramName; }

// Clicks an option item, exactly as the user would.
void Click(TfrmMain &main, TCommand item) { main.Item(item)->trigger(); }

}  // namespace

THelpCommands::THelpCommands(TfrmMain &main)
    : QObject(&main), main_(main), sysInfo_(new TSysInfoComp(this)) {
  keyFilter_ = new THelpKeyFilter([this](const QString &id) { return OpenViewer().ShowId(id); },
                                  &main, this);
  qApp->installEventFilter(keyFilter_);
  // The menus' help context numbers, for F1 while a menu is open.
  const std::pair<TMenu, int> menus[] = {
      {TMenu::Character, 1001}, {TMenu::Edit, 1002},   {TMenu::File, 1004},  {TMenu::Help, 1005},
      {TMenu::Options, 1006},   {TMenu::Search, 1007}, {TMenu::Window, 1008}};
  for (const auto &[menu, context] : menus) main.Menu(menu)->setProperty("HelpContext", context);
  // The spell dialogs' Help button: its help context's topic, else the spell dialog's own.
  connect(main.dlgSpell(), &TSpellDlg::HelpRequested, this, [this](int context) {
    if (context == 0 || !OpenViewer().ShowContext(context))
      OpenViewer().ShowId(QStringLiteral("TAbsSpellDialog"));
  });
}

THelpCommands::~THelpCommands() {
  qApp->removeEventFilter(keyFilter_);
  delete viewer_.data();  // the help window closes when the program ends
}

TfrmHelp *THelpCommands::Viewer() const { return viewer_; }

TfrmHelp &THelpCommands::OpenViewer() {
  if (!viewer_) viewer_ = new TfrmHelp(std::make_unique<TQtHelpSource>(main_.HelpFile()));
  return *viewer_;
}

QString THelpCommands::DownloadQuestion() {
  return MessageBox::MsgHeader() +
         QStringLiteral("Choosing Yes will start your web-browser and connect you to '") +
         SupportRequest::WebSite + QStringLiteral("' so you can download the latest version.") +
         QStringLiteral("\r\rYou currently have ") + Product() + u' ' +
         QString::fromLatin1(kVersionText) + QStringLiteral(" for Linux.") +
         QStringLiteral("\r\rDo you wish to continue?");
}

QString THelpCommands::OnLineQuestion() {
  return MessageBox::MsgHeader() +
         QStringLiteral(
             "Choosing Yes will start your web-browser and connect you to our Help Desk at '") +
         SupportRequest::HelpDesk + QStringLiteral("'\r\rDo you wish to continue?");
}

void THelpCommands::MenuHelp(int tag) {
  if (main_.IsChecked(TCommand::StayOnTop)) Click(main_, TCommand::StayOnTop);
  switch (tag) {
    case hContents:
      OpenViewer().ShowContents();
      break;
    case hSearch:
      OpenViewer().ShowIndex();
      break;
    case hHowTo:
      OpenViewer().ShowHowToUse();
      break;
    case hWhatsNew:
      WhatsNew();
      break;
    case hDownload:
      main_.OpenWebLink(DownloadQuestion(), SupportRequest::WebSite);
      break;
    case hAbout:
      About();
      break;
    case hOnLine:
      main_.OpenWebLink(OnLineQuestion(), SupportRequest::HelpDesk);
      break;
    case hTech:
      MailUi::RequestSupport(
          {&main_, &main_, MailIconsFromGlyphs()},
          SupportRequest::Body(Product(), QString::fromLatin1(kVersionText), *sysInfo_), &main_);
      break;
    default:
      break;
  }
}

void THelpCommands::WhatsNew() {
  main_.RunMRU(Folders::ProgramFolder() + QStringLiteral("readme.txt"));
}

void THelpCommands::About() {
  const TfrmAbout::TProduct product{Product(), QString::fromLatin1(kVersionText),
                                    SupportRequest::WebSite, main_.windowIcon()};
  TfrmAbout about(
      product, *sysInfo_, [this] { MenuHelp(hDownload); }, TGlyphList::Shared().Icon(gExit),
      &main_);
  about.exec();
}

void THelpCommands::proProperties() {
  if (TfrmEdit *edit = main_.ActiveEdit())
    TfrmProperties::proProperties(*edit, main_, TGlyphList::Shared().Icon(gOK), &main_);
}

void THelpCommands::proSpecialChar() {
  const bool onTop = main_.IsChecked(TCommand::StayOnTop);
  if (onTop) Click(main_, TCommand::StayOnTop);
  auto target = [main = QPointer<TfrmMain>(&main_)]() -> TEditControl * {
    TfrmEdit *edit = main ? main->ActiveEdit() : nullptr;
    return edit ? edit->mmoMemo() : nullptr;
  };
  auto *window = new TfrmSpecialChar(target, TfrmEdit::ShownFont, TfrmEdit::ShownColor,
                                     TGlyphList::Shared().Icon(gClose), &main_);
  PlaceBeside(window, &main_);
  window->show();
  if (onTop) Click(main_, TCommand::StayOnTop);
}
