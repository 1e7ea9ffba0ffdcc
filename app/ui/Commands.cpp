// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/Commands.h"

#include <string_view>

#include "app/ui/HelpCommands.h"
#include "app/ui/MailIcons.h"
#include "app/ui/fmMain.h"
#include "convert/ui/ImportExport.h"
#include "documents/recovery/RecoveryStartUp.h"
#include "documents/ui/DocumentCommands.h"
#include "documents/ui/RichEdit.h"
#include "documents/ui/fmEdit.h"
#include "integration/SystemIntegration.h"
#include "mail/ui/SendAsEmail.h"
#include "platform/desktop/IdleNotifier.h"
#include "platform/ui/BarStyleMenu.h"
#include "preferences/fmTools.h"
#include "print/ui/PrintCommands.h"

namespace {

using K = TCommandDef::TKind;
using C = TCommand;
using P = TPopupItem;
using M = TMenu;
using B = TButton;

// ---- handlers: each hands its command to the window or engine that does the work ---------

// Runs fn on the active document window; without one the command does nothing.
template <typename F>
void onActive(TfrmMain &m, F fn) {
  if (TfrmEdit *active = m.ActiveEdit()) fn(*active);
}
// An edit control's own command on the active document.
template <void (TRichEdit::*Command)()>
void Memo(TfrmMain &m, int) {
  onActive(m, [](TfrmEdit &e) { (e.mmoMemo()->*Command)(); });
  TIdleNotifier::Instance().Request();
}
void New(TfrmMain &m, int) { m.NewWorkspace(); }
void Open(TfrmMain &m, int) { m.OpenTextFile(); }
void Close(TfrmMain &m, int) { m.CloseActive(); }
void Save(TfrmMain &m, int) {
  onActive(m, [&m](TfrmEdit &e) { m.SaveFile(&e, e.SaveName()); });
}
void SaveAs(TfrmMain &m, int) {
  onActive(m, [&m](TfrmEdit &e) { m.SaveFileAs(&e); });
}
void CustomizeMain(TfrmMain &m, int) {
  m.CustomizeToolBar(m.barMCustom(), Commands::MainButtons());
}
void CustomizeEdit(TfrmMain &m, int) {
  m.CustomizeToolBar(m.barECustom(), Commands::EditButtons());
}
void Exit(TfrmMain &m, int) { m.Exit(); }
void PasteSpecial(TfrmMain &m, int) {
  onActive(m, [&m](TfrmEdit &e) { CharacterCommands::PasteSpecial(e, m); });
}
void DateTime(TfrmMain &m, int) { m.InsertDateTime(); }
void Spell(TfrmMain &m, int) { m.SpellCheck(); }
void WordCount(TfrmMain &m, int) { m.WordCount(); }
void Align(TfrmMain &m, int tag) { m.Align(tag); }
void WordWrap(TfrmMain &m, int) { m.ApplyWordWrap(); }
void Convert(TfrmMain &m, int tag) {
  onActive(m, [tag](TfrmEdit &e) { e.ConvertCase(tag); });
}
void Find(TfrmMain &m, int) {
  onActive(m, [&m](TfrmEdit &e) { SearchCommands::Find(e, m); });
}
void FindNext(TfrmMain &m, int) {
  onActive(m, [](TfrmEdit &e) { SearchCommands::FindNext(e); });
}
void Replace(TfrmMain &m, int) {
  onActive(m, [&m](TfrmEdit &e) { SearchCommands::Replace(e, m); });
}
void Arrange(TfrmMain &m, int tag) { m.proMenuWindows(tag); }
void Option(TfrmMain &m, int) { m.OptionsMenu(); }
void ReopenSession(TfrmMain &m, int) {
  RecoveryStartUp::SetReopenSession(m.IsChecked(TCommand::ReopenSession));
}
void SetDefault(TfrmMain &m, int) { m.Integration()->mniSetDefaultClick(); }
ImportExport::TContext converterContext(TfrmMain &m, TfrmEdit &e) {
  return {&m, &m, m.barMain(), &m, &e, [&m] { return m.NewWorkspace(); }};
}
void Import(TfrmMain &m, int) {
  onActive(m, [&m](TfrmEdit &e) { ImportExport::ImportDocument(converterContext(m, e)); });
}
void Export(TfrmMain &m, int) {
  onActive(m, [&m](TfrmEdit &e) { ImportExport::ExportDocument(converterContext(m, e)); });
}
void ButtonStyle(TfrmMain &m, int) { m.UpdateMainMenus(); }
void Restore(TfrmMain &m, int) { m.RestoreFromTray(); }
void MenuHelp(TfrmMain &m, int tag) { m.Help()->MenuHelp(tag); }
void SpecialChar(TfrmMain &m, int) { m.Help()->proSpecialChar(); }
void Properties(TfrmMain &m, int) { m.Help()->proProperties(); }
void SendAsEmail(TfrmMain &m, int) {
  onActive(m, [&m](TfrmEdit &e) {
    MailUi::SendAsEmail({&m, &m, MailIconsFromGlyphs()}, e.mmoMemo()->toPlainText(), &m);
  });
}
void Preferences(TfrmMain &m, int) {
  const auto setFavorites = [&m](const QStringList &favorites) {
    m.FileLists().SetFavorites(favorites);
    m.ShowFavoriteMenu();
  };
  TfrmTools::Run({m, m, *m.dlgSpell(), [&m] { return m.EditWindows(); },
                  [&m] { return m.FileLists().Favorites(); }, setFavorites},
                 &m);
}

// Print, Print Preview, Printer Setup and Customize Print Out (tags 9, 14, 10, 13): one
// printing object per main window, made on first use, keeps the printer choice for the run.
void Printing(TfrmMain &m, int tag) {
  auto *printing = m.findChild<TPrintCommands *>(QString(), Qt::FindDirectChildrenOnly);
  if (!printing)
    printing = new TPrintCommands(
        &m, m, [&m] { return m.ActiveEdit(); }, [&m] { return m.CurrentFileName(); });
  printing->Run(tag);
}

// ---- the commands -------------------------------------------------------------------------

constexpr TCommandDef kItems[] = {
    // File
    {C::New, "mniNew", "&New", "Ctrl+N", 0, New, "New workspace", gNew},
    {C::Open, "mniOpen", "&Open...", "Ctrl+O", 1, Open, "Open text file...", gOpen},
    {C::Import, "mniFile0", "&Import...", "", 2, Import, "Import file into current workspace",
     gImport},
    {C::Export, "mniFile11", "&Export...", "", 12, Export,
     "Export current workspace to another format...", gImport},
    {C::Reopen, "mniReopen", "&Reopen", "", -1, nullptr, "Reopen file", gReopen},
    {C::FavFiles, "mniFavFiles", "&Favorite Files", "", -1, nullptr, "Favorite files", gFavorites},
    {C::Close, "mniFile1", "&Close", "", 3, Close, "Close active workspace", gClose},
    {C::Save, "mniFile2", "&Save", "Ctrl+S", 4, Save, "Save current workspace", gSave},
    {C::SaveAs, "mniFile3", "Save &As...", "", 5, SaveAs, "Save workspace as...", gSaveAs},
    {C::SendAsEmail, "mniFile4", "Send As E&mail...", "", 6, SendAsEmail,
     "Send current workspace as email...", gEmail},
    {C::CustomizeMain, "mniMCustom", "Customize Main Tool Bar...", "", 7, CustomizeMain,
     "Customize main tool bar...", gCustomizeToolBar},
    {C::CustomizeEdit, "mniFile5", "Customize Edit Tool Bar...", "", 8, CustomizeEdit,
     "Customize edit tool bar...", gCustomizeToolBar},
    {C::CustomizePrint, "mniPCustom", "Customize Print Out...", "", 13, Printing,
     "Customize the way your text files print...", gCustomizePrint},
    {C::Print, "mniFile6", "&Print...", "Ctrl+P", 9, Printing, "Print current workspace...",
     gPrint},
    {C::PrintPreview, "mniPPreview", "Print Pre&view...", "", 14, Printing,
     "Preview current workspace before printing...", gPrintPreview},
    {C::PrinterSetup, "mniPrintSetup", "Printer Se&tup...", "", 10, Printing, "Setup printer...",
     gPrinterSetup},
    {C::Exit, "mniExit", "E&xit", "", 11, Exit, "Exit Vellumix", gExit},
    // Edit
    {C::Undo, "mniUndo", "&Undo", "Ctrl+Z", 0, Memo<&TRichEdit::Undo>, "Undo previous edit", gUndo},
    {C::Redo, "mniRedo", "&Redo", "Ctrl+Y", 10, Memo<&TRichEdit::Redo>, "Redo previous edit",
     gRedo},
    {C::Cut, "mniCut", "Cu&t", "Ctrl+X", 1, Memo<&TRichEdit::Cut>, "Cut to clipboard", gCut},
    {C::Copy, "mniCopy", "&Copy", "Ctrl+C", 2, Memo<&TRichEdit::Copy>, "Copy to clipboard", gCopy},
    {C::Paste, "mniPaste", "&Paste", "Ctrl+V", 3, Memo<&TRichEdit::Paste>, "Paste from clipboard",
     gPaste},
    {C::PasteSpecial, "mniPasteSpecial", "Paste Special...", "", 4, PasteSpecial,
     "Paste text and/or objects into current workspace at cursor position...", gPasteSpecial},
    {C::Delete, "mniDelete", "De&lete", "Ctrl+D", 5, Memo<&TRichEdit::DeleteSelection>,
     "Delete selected text", gDelete},
    {C::SelectAll, "mniSelectAll", "Select &All", "Ctrl+A", 6, Memo<&TRichEdit::SelectAll>,
     "Select all text", gSelectAll},
    {C::DateTime, "mniDateTime", "&Date && Time", "F5", 7, DateTime,
     "Insert date and time at cursor", gDateTime},
    {C::Spell, "mniSpell", "&Spell Check...", "", 8, Spell,
     "Check workspace for spelling errors...", gSpell},
    {C::WordCount, "mniWordCount", "&Word Count...", "", 9, WordCount,
     "Count the number of words in the workspace...", gWordCount},
    // Character
    {C::AlignLeft, "mniLeft", "&Left", "", 0, Align, "Left justify text", gAlignLeft, K::Radio},
    {C::AlignRight, "mniRight", "&Right", "", 1, Align, "Right justify text", gAlignRight,
     K::Radio},
    {C::AlignCenter, "mniCenter", "&Center", "", 2, Align, "Center text", gAlignCenter, K::Radio},
    {C::WordWrap, "mniWordWrap", "&Word Wrap", "", -1, WordWrap, "Turn word wrap on or off",
     gWordWrap, K::Check},
    {C::Convert, "mniConvert", "Convert", "", -1, nullptr, "Convert text", gNone},
    {C::Lower, "mniLower", "Lower Case", "", 0, Convert, "", gLower},
    {C::Upper, "mniUpper", "Upper Case", "", 1, Convert, "", gUpper},
    {C::Capitalize, "mniCapitalize", "Capitalize", "", 2, Convert, "Capitalize highlighted text",
     gCapitalize},
    {C::TitleCase, "mniTitleCase", "Title Case", "", 3, Convert, "", gTitleCase},
    {C::ToggleCase, "mniTogCase", "tOGGLE cASE", "", 4, Convert, "", gToggleCase},
    {C::SpecialChars, "mniSpecial", "&Special Characters...", "", -1, SpecialChar,
     "Insert special characters...", gSpecialChars},
    // Search
    {C::Find, "mniFind", "&Find...", "Ctrl+F", -1, Find, "Find...", gFind},
    {C::FindNext, "mniFindNext", "Find &Next", "F3", -1, FindNext, "Find next", gFindNext},
    {C::Replace, "mniReplace", "R&eplace...", "Ctrl+H", -1, Replace, "Find and replace...",
     gReplace},
    // Window
    {C::Tile, "mniWin0", "&Tile", "", 0, Arrange, "Tile windows", gTile},
    {C::Cascade, "mniWin1", "&Cascade", "", 1, Arrange, "Cascade windows", gCascade},
    {C::ArrangeAll, "mniWin2", "&Arrange All", "", 2, Arrange, "Arrange icons", gArrangeIcons},
    // Options
    {C::SetDefault, "mniSetDefault", "Default Windows Notepad", "", -1, SetDefault, "", gSetDefault,
     K::Check},
    {C::WinStart, "mniWinStart", "Start With Windows", "", 7, Option, "", gWinStart, K::Check},
    {C::ButtonHints, "mniButtonHints", "Button Hints", "", 1, Option, "", gButtonHints, K::Check},
    {C::AutomaticBackups, "mniAutomaticBackups", "Automatic Backups", "", 2, Option, "", gBackups,
     K::Check},
    {C::MainStatusBar, "mniMainStatusBar", "Main Status Bar", "", 3, Option, "", gStatusBar,
     K::Check},
    {C::StayOnTop, "mniStayOnTop", "Stay On Top", "", 4, Option, "", gStayOnTop, K::Check},
    {C::Tip, "mniTip", "Tip Of The Day...", "", 5, Option, "Show the tip of the day...", gTip,
     K::Check},
    {C::ReopenSession, "mniReopenSession", "Reopen Last Session", "", -1, ReopenSession,
     "Reopen the documents of the last session at start", gNone, K::Check},
    {C::Preferences, "mniPreferences", "Preferences...", "", 6, Preferences,
     "Set Vellumix preferences...", gPreferences},
    // Help
    {C::Contents, "mniContents", "&Contents...", "F1", 0, MenuHelp, "Display help contents...",
     gHelpContents},
    {C::OnLine, "mniOnLine", "On-&Line Help...", "", 9, MenuHelp, "Go to our on-line help faqs...",
     gHelp},
    {C::SearchHelp, "mniSearchForHelpOn", "&Search For Help On...", "", 1, MenuHelp,
     "Search for help on...", gSearchHelp},
    {C::HowToUseHelp, "mniHowtoUseHelp", "&How to Use Help...", "", 2, MenuHelp,
     "How to use help...", gUseHelp},
    {C::WhatsNew, "mniWhatsNew", "What's &New", "", 3, MenuHelp,
     "What's new in this version of Vellumix", gWhatsNew},
    {C::TechSupport, "mniTech", "Contact &Tech Support...", "", 5, MenuHelp,
     "Contact technical support...", gTechSupport},
    {C::Download, "mniDownload", "&Download Latest Version...", "", 6, MenuHelp,
     "Download the latest version of Vellumix...", gDownload},
    {C::About, "mniAbout", "About Vellumix...", "", 7, MenuHelp, "About Vellumix...", gAbout},
    {C::Properties, "puiProperties", "Properties...", "", -1, Properties,
     "Display properties of current workspace...", gProperties},
    // Tray menu
    {C::TrayRestore, "sysNotepad", "Vellumix...", "", -1, Restore, "Restore Vellumix...", gRestore},
    {C::TrayAbout, "sysAbout", "About...", "", 7, MenuHelp, "About Vellumix...", gAbout},
    {C::TrayExit, "sysExit", "Exit", "", 11, Exit, "Exit Vellumix", gExit},
    // Button style menu
    {C::ExploreStyle, "mniExplore", "I&Explorer Style", "", 0, ButtonStyle,
     "Display too bar with flat buttons", gNone, K::Radio},
    {C::StandardStyle, "mniStandard", "S&tandard Style", "", 1, ButtonStyle,
     "Display tool bar with raised buttons", gNone, K::Radio},
};

// The document pop-up menu's items are twins of menu-bar items: same caption, hint, tag and
// glyph; only Undo, Redo and Find Next show their key.
constexpr TPopupTwin kPopupTwins[] = {
    {P::Undo, "puiUndo", C::Undo, true},
    {P::Redo, "puiRedo", C::Redo, true},
    {P::Cut, "puiCut", C::Cut, false},
    {P::Copy, "puiCopy", C::Copy, false},
    {P::Paste, "puiPaste", C::Paste, false},
    {P::PasteSpecial, "puiPasteSpecial", C::PasteSpecial, false},
    {P::Delete, "puiDelete", C::Delete, false},
    {P::SelectAll, "puiSelectAll", C::SelectAll, false},
    {P::Find, "puiFind", C::Find, false},
    {P::FindNext, "puiFindNext", C::FindNext, true},
    {P::Replace, "puiReplace", C::Replace, false},
};

// clang-format off
constexpr TMenuEntry kFile[] = {
    Entry(C::New), Entry(C::Open), Entry(C::Import), Entry(C::Export), Entry(M::Reopen),
    Entry(M::FavFiles), Entry(C::Close), Separator(kDocumentDivider), Entry(C::Save), Entry(C::SaveAs),
    Entry(C::SendAsEmail), Separator(), Entry(C::CustomizeMain), Entry(C::CustomizeEdit),
    Entry(C::CustomizePrint), Separator(), Entry(C::Print), Entry(C::PrintPreview),
    Entry(C::PrinterSetup), Separator(), Entry(C::Exit)};
constexpr TMenuEntry kEdit[] = {
    Entry(C::Undo), Entry(C::Redo), Separator(), Entry(C::Cut), Entry(C::Copy), Entry(C::Paste),
    Entry(C::PasteSpecial), Entry(C::Delete), Separator(), Entry(C::SelectAll), Entry(C::DateTime),
    Separator(), Entry(C::Spell), Entry(C::WordCount)};
constexpr TMenuEntry kCharacter[] = {
    Entry(C::AlignLeft), Entry(C::AlignRight), Entry(C::AlignCenter), Separator(), Entry(C::WordWrap),
    Separator(), Entry(M::Convert), Entry(C::SpecialChars)};
constexpr TMenuEntry kConvert[] = {
    Entry(C::Lower), Entry(C::Upper), Entry(C::Capitalize), Entry(C::TitleCase), Entry(C::ToggleCase)};
constexpr TMenuEntry kSearch[] = {Entry(C::Find), Entry(C::FindNext), Entry(C::Replace)};
constexpr TMenuEntry kWindow[] = {Entry(C::Tile), Entry(C::Cascade), Entry(C::ArrangeAll)};
constexpr TMenuEntry kOptions[] = {
    Entry(C::SetDefault), Entry(C::WinStart), Entry(C::ButtonHints), Entry(C::AutomaticBackups),
    Entry(C::MainStatusBar), Entry(C::StayOnTop), Entry(C::Tip), Entry(C::ReopenSession), Separator(),
    Entry(C::Preferences)};
constexpr TMenuEntry kHelp[] = {
    Entry(C::Contents), Entry(C::OnLine), Entry(C::SearchHelp), Entry(C::HowToUseHelp),
    Entry(C::WhatsNew), Separator(), Entry(C::TechSupport), Entry(C::Download), Entry(C::About)};
constexpr TMenuEntry kPopup[] = {
    Entry(P::Undo), Entry(P::Redo), Separator(), Entry(P::Cut), Entry(P::Copy), Entry(P::Paste),
    Entry(P::PasteSpecial), Entry(P::Delete), Separator(), Entry(P::SelectAll), Separator(),
    Entry(P::Find), Entry(P::FindNext), Entry(P::Replace), Separator(), Entry(C::Properties)};
constexpr TMenuEntry kTray[] = {Entry(C::TrayRestore), Entry(C::TrayAbout), Separator(), Entry(C::TrayExit)};
// clang-format on

// The recent and favourite files submenus are filled at run time.
constexpr TMenuDef kMenus[] = {
    {M::File, "mniFile", "&File", "File menu", kFile},
    {M::Edit, "mniFile7", "&Edit", "Edit menu", kEdit},
    {M::Character, "mniFile8", "&Character", "Character menu", kCharacter},
    {M::Search, "mniFile9", "&Search", "Search menu", kSearch},
    {M::Window, "mniWindow", "&Window", "Window menu", kWindow},
    {M::Options, "mniOptions", "&Options", "Options menu", kOptions},
    {M::Help, "mniHelp", "&Help", "Help menu", kHelp},
    {M::Reopen, "mniReopen", "&Reopen", "Reopen file", {}},
    {M::FavFiles, "mniFavFiles", "&Favorite Files", "Favorite files", {}},
    {M::Convert, "mniConvert", "Convert", "Convert text", kConvert},
    {M::Popup, "pumPopup", "", "Workspace menu", kPopup},
    {M::Tray, "traMenu", "", "Vellumix notification area menu", kTray},
};

// The main tool bar's buttons, then the edit tool bar's.
constexpr TButtonDef kButtons[] = {
    {B::New, "btnNew", "New Workspace", "New workspace", C::New, "File Menu", gNew},
    {B::Open, "btnOpen", "Open Text File", "Open text file...", C::Open, "File Menu", gOpen},
    {B::PrinterSetup, "btnPSetup", "Setup Printer", "Setup printer...", C::PrinterSetup,
     "File Menu", gPrinterSetup},
    {B::Exit, "btnExit", "Exit Vellumix", "Exit Vellumix", C::Exit, "File Menu", gExit},
    {B::Tile, "btnWin0", "Tile Windows", "Tile windows", C::Tile, "Window Menu", gTile},
    {B::Cascade, "btnWin1", "Cascade Windows", "Cascade windows", C::Cascade, "Window Menu",
     gCascade},
    {B::ArrangeAll, "btnWin2", "Arrange All Icons", "Arrange icons", C::ArrangeAll, "Window Menu",
     gArrangeIcons},
    {B::Preferences, "btnOptions", "Preferences", "Set Vellumix preferences...", C::Preferences,
     "Options Menu", gPreferences},
    {B::Contents, "btnHelp", "Help Contents", "Help contents...", C::Contents, "Help Menu",
     gHelpContents},
    {B::SearchHelp, "btnSearchHelp", "Search For Help On", "Search for help on...", C::SearchHelp,
     "Help Menu", gSearchHelp},
    {B::UseHelp, "btnUseHelp", "How to Use Help", "How to use help...", C::HowToUseHelp,
     "Help Menu", gUseHelp},
    {B::WhatsNew, "btnWhatsNew", "What's New", "What's new in this version of Vellumix",
     C::WhatsNew, "Help Menu", gWhatsNew},
    {B::TechSupport, "btnTech", "Contact Tech Support", "Contact tech support...", C::TechSupport,
     "Help Menu", gTechSupport},
    {B::Download, "btnLVersion", "Download Latest Version",
     "Download the latest version of Vellumix...", C::Download, "Help Menu", gDownload},
    {B::About, "btnAbout", "About Vellumix", "About Vellumix...", C::About, "Help Menu", gAbout},
    // edit tool bar
    {B::Save, "btnSave", "Save", "Save current workspace", C::Save, "File Menu", gSave},
    {B::SaveAs, "btnSaveAs", "Save As", "Save workspace as...", C::SaveAs, "File Menu", gSaveAs},
    {B::Email, "btnEMail", "Send As Email", "Send current workspace as email...", C::SendAsEmail,
     "File Menu", gEmail},
    {B::Print, "btnPrint", "Print", "Print current workspace...", C::Print, "File Menu", gPrint},
    {B::Close, "btnClose", "Close", "Close active workspace", C::Close, "File Menu", gClose},
    {B::Undo, "btnUndo", "Undo", "", C::Undo, "Edit Menu", gUndo},
    {B::Redo, "btnRedo", "Redo", "", C::Redo, "Edit Menu", gRedo},
    {B::Cut, "btnCut", "Cut", "Cut to clipboard", C::Cut, "Edit Menu", gCut},
    {B::Copy, "btnCopy", "Copy", "Copy to clipboard", C::Copy, "Edit Menu", gCopy},
    {B::Paste, "btnPaste", "Paste", "Paste from clipboard", C::Paste, "Edit Menu", gPaste},
    {B::Delete, "btnDelete", "Delete", "Delete highlighted text", C::Delete, "Edit Menu", gDelete},
    {B::SelectAll, "btnSelectAll", "Select All", "Select all text in workspace", C::SelectAll,
     "Edit Menu", gSelectAll},
    {B::DateTime, "btnDate", "Date - Time", "Insert date and time at cursor", C::DateTime,
     "Edit Menu", gDateTime},
    {B::Spell, "btnSpell", "Spell Checker", "Check workspace for spelling errors...", C::Spell,
     "Edit Menu", gSpell},
    {B::AlignLeft, "btnLeft", "Left Justify", "Left justify", C::AlignLeft, "Character Menu",
     gAlignLeft},
    {B::AlignRight, "btnRight", "Right Justify", "Right justify", C::AlignRight, "Character Menu",
     gAlignRight},
    {B::AlignCenter, "btnCenter", "Center", "Center", C::AlignCenter, "Character Menu",
     gAlignCenter},
    {B::Lower, "btnLower", "lower case", "", C::Lower, "Character Menu", gLower},
    {B::Upper, "btnUpper", "UPPER CASE", "", C::Upper, "Character Menu", gUpper},
    {B::Capitalize, "btnCapitalize", "Capitalize", "Capitalize highlighted text", C::Capitalize,
     "Character Menu", gCapitalize},
    {B::TitleCase, "btnTitleCase", "Title Case", "", C::TitleCase, "Character Menu", gTitleCase},
    {B::ToggleCase, "btnTogCase", "tOGGLE cASE", "", C::ToggleCase, "Character Menu", gToggleCase},
    {B::SpecialChars, "btnSpecial", "Special Characters", "Insert special characters...",
     C::SpecialChars, "Character Menu", gSpecialChars},
    {B::Find, "btnFind", "Find", "Find...", C::Find, "Search Menu", gFind},
    {B::FindNext, "btnFindNext", "Find Next", "Find next", C::FindNext, "Search Menu", gFindNext},
    {B::Replace, "btnReplace", "Replace", "Find and replace...", C::Replace, "Search Menu",
     gReplace},
};
constexpr auto kFirstEditButton = std::size_t(B::Save);

constexpr TButton kMainDefault[] = {B::New,      B::Open,        B::PrinterSetup, B::Preferences,
                                    B::Contents, B::TechSupport, B::About,        B::Exit};
constexpr TButton kEditDefault[] = {B::Save,       B::SaveAs,      B::Print,        B::Undo,
                                    B::Redo,       B::Cut,         B::Copy,         B::Paste,
                                    B::Delete,     B::SelectAll,   B::DateTime,     B::AlignLeft,
                                    B::AlignRight, B::AlignCenter, B::SpecialChars, B::Find,
                                    B::Replace,    B::Email,       B::Spell,        B::Close};

// Row n of each table declares identifier n, and every identifier has its row.
template <typename Row, std::size_t N>
constexpr bool InIdentifierOrder(const Row (&rows)[N]) {
  for (std::size_t i = 0; i < N; ++i)
    if (std::size_t(rows[i].id) != i) return false;
  return N == std::size_t(decltype(rows[0].id)::Count);
}
static_assert(InIdentifierOrder(kItems), "the command table must list every TCommand in order");
static_assert(InIdentifierOrder(kPopupTwins),
              "the pop-up table must list every TPopupItem in order");
static_assert(InIdentifierOrder(kMenus), "the menu table must list every TMenu in order");
static_assert(InIdentifierOrder(kButtons), "the button table must list every TButton in order");
// The style rows are the shared style menu's items, whose names the settings store keeps.
static_assert(std::string_view(kItems[std::size_t(C::ExploreStyle)].name) ==
              TBarStyleMenu::ExploreName);
static_assert(std::string_view(kItems[std::size_t(C::StandardStyle)].name) ==
              TBarStyleMenu::StandardName);

}  // namespace

namespace Commands {

std::span<const TCommandDef> MenuItems() { return kItems; }
std::span<const TPopupTwin> PopupTwins() { return kPopupTwins; }
std::span<const TMenuDef> Menus() { return kMenus; }
std::span<const TButtonDef> Buttons() { return kButtons; }
const TCommandDef &Of(TCommand command) { return kItems[std::size_t(command)]; }
const TPopupTwin &Of(TPopupItem item) { return kPopupTwins[std::size_t(item)]; }
const TMenuDef &Of(TMenu menu) { return kMenus[std::size_t(menu)]; }
const TButtonDef &Of(TButton button) { return kButtons[std::size_t(button)]; }
std::span<const TButtonDef> MainButtons() { return Buttons().first(kFirstEditButton); }
std::span<const TButtonDef> EditButtons() { return Buttons().subspan(kFirstEditButton); }
std::span<const TButton> MainDefaultButtons() { return kMainDefault; }
std::span<const TButton> EditDefaultButtons() { return kEditDefault; }

QString EntryName(const TMenuEntry &entry) {
  switch (entry.kind) {
    case TMenuEntry::Item:
      return QString::fromLatin1(Of(TCommand(entry.id)).name);
    case TMenuEntry::Popup:
      return QString::fromLatin1(Of(TPopupItem(entry.id)).name);
    case TMenuEntry::Submenu:
      return QString::fromLatin1(Of(TMenu(entry.id)).name);
    case TMenuEntry::Separator:
      break;
  }
  return entry.name ? QString::fromLatin1(entry.name) : QString();
}

const TCommandDef *Find(const QString &name) {
  for (const TCommandDef &def : kItems)
    if (name == QLatin1String(def.name)) return &def;
  for (const TPopupTwin &twin : kPopupTwins)
    if (name == QLatin1String(twin.name)) return &Of(twin.twin);
  for (const TButtonDef &button : kButtons)
    if (name == QLatin1String(button.name)) return &Of(button.command);
  return nullptr;
}

TCommandHandler HandlerOf(const QString &name) {
  const TCommandDef *def = Find(name);
  return def ? def->handler : nullptr;
}

THintParts SplitHint(const QString &hint) {
  const qsizetype bar = hint.indexOf(u'|');
  if (bar < 0) return {hint, hint};
  return {hint.left(bar), hint.mid(bar + 1)};
}

}  // namespace Commands
