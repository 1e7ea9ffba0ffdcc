// SPDX-License-Identifier: GPL-3.0-or-later
#include "Commands.h"

#include "DocumentCommands.h"
#include "HelpCommands.h"
#include "IdleNotifier.h"
#include "ImportExport.h"
#include "MailIcons.h"
#include "PrintCommands.h"
#include "RecoveryStartUp.h"
#include "RichEdit.h"
#include "SendAsEmail.h"
#include "SystemIntegration.h"
#include "fmEdit.h"
#include "fmMain.h"
#include "fmTools.h"

namespace {

using K = TCommandDef::TKind;

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
void Save(TfrmMain &m, int) { onActive(m, [&m](TfrmEdit &e) { m.SaveFile(&e, e.SaveName()); }); }
void SaveAs(TfrmMain &m, int) { onActive(m, [&m](TfrmEdit &e) { m.SaveFileAs(&e); }); }
void CustomizeMain(TfrmMain &m, int) { m.CustomizeToolBar(m.barMCustom(), Commands::MainButtons()); }
void CustomizeEdit(TfrmMain &m, int) { m.CustomizeToolBar(m.barECustom(), Commands::EditButtons()); }
void Exit(TfrmMain &m, int) { m.Exit(); }
void PasteSpecial(TfrmMain &m, int) { onActive(m, [&m](TfrmEdit &e) { CharacterCommands::PasteSpecial(e, m); }); }
void DateTime(TfrmMain &m, int) { m.InsertDateTime(); }
void Spell(TfrmMain &m, int) { m.SpellCheck(); }
void WordCount(TfrmMain &m, int) { m.WordCount(); }
void Align(TfrmMain &m, int tag) { m.Align(tag); }
void WordWrap(TfrmMain &m, int) { m.ApplyWordWrap(); }
void Convert(TfrmMain &m, int tag) { onActive(m, [tag](TfrmEdit &e) { e.ConvertCase(tag); }); }
void Find(TfrmMain &m, int) { onActive(m, [&m](TfrmEdit &e) { SearchCommands::Find(e, m); }); }
void FindNext(TfrmMain &m, int) { onActive(m, [](TfrmEdit &e) { SearchCommands::FindNext(e); }); }
void Replace(TfrmMain &m, int) { onActive(m, [&m](TfrmEdit &e) { SearchCommands::Replace(e, m); }); }
void Arrange(TfrmMain &m, int tag) { m.proMenuWindows(tag); }
void Option(TfrmMain &m, int) { m.OptionsMenu(); }
void ReopenSession(TfrmMain &m, int) { RecoveryStartUp::SetReopenSession(m.IsChecked(QStringLiteral("mniReopenSession"))); }
void SetDefault(TfrmMain &m, int) { m.Integration()->mniSetDefaultClick(); }
ImportExport::TContext converterContext(TfrmMain &m, TfrmEdit &e) {
  return {&m, &m, m.barMain(), &m, &e, [&m] { return m.NewWorkspace(); }};
}
void Import(TfrmMain &m, int) { onActive(m, [&m](TfrmEdit &e) { ImportExport::ImportDocument(converterContext(m, e)); }); }
void Export(TfrmMain &m, int) { onActive(m, [&m](TfrmEdit &e) { ImportExport::ExportDocument(converterContext(m, e)); }); }
void ButtonStyle(TfrmMain &m, int) { m.UpdateMainMenus(); }
void Restore(TfrmMain &m, int) { m.RestoreFromTray(); }
void MenuHelp(TfrmMain &m, int tag) { m.Help()->MenuHelp(tag); }
void SpecialChar(TfrmMain &m, int) { m.Help()->proSpecialChar(); }
void Properties(TfrmMain &m, int) { m.Help()->proProperties(); }
void SendAsEmail(TfrmMain &m, int) {
  onActive(m, [&m](TfrmEdit &e) { MailUi::SendAsEmail({&m, &m, MailIconsFromGlyphs()}, e.mmoMemo()->toPlainText(), &m); });
}
void Preferences(TfrmMain &m, int) {
  const auto setFavorites = [&m](const QStringList &favorites) {
    m.FileLists().SetFavorites(favorites);
    m.ShowFavoriteMenu();
  };
  TfrmTools::Run({m, m, *m.dlgSpell(), [&m] { return m.EditWindows(); }, [&m] { return m.FileLists().Favorites(); },
                  setFavorites},
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

const TCommandDef kItems[] = {
    // File
    {"mniNew", "&New", "Ctrl+N", 0, New, "New workspace", gNew},
    {"mniOpen", "&Open...", "Ctrl+O", 1, Open, "Open text file...", gOpen},
    {"mniFile0", "&Import...", "", 2, Import, "Import file into current workspace", gImport},
    {"mniFile11", "&Export...", "", 12, Export, "Export current workspace to another format...", gImport},
    {"mniReopen", "&Reopen", "", -1, nullptr, "Reopen file", gReopen},
    {"mniFavFiles", "&Favorite Files", "", -1, nullptr, "Favorite files", gFavorites},
    {"mniFile1", "&Close", "", 3, Close, "Close active workspace", gClose},
    {"mniFile2", "&Save", "Ctrl+S", 4, Save, "Save current workspace", gSave},
    {"mniFile3", "Save &As...", "", 5, SaveAs, "Save workspace as...", gSaveAs},
    {"mniFile4", "Send As E&mail...", "", 6, SendAsEmail, "Send current workspace as email...", gEmail},
    {"mniMCustom", "Customize Main Tool Bar...", "", 7, CustomizeMain, "Customize main tool bar...", gCustomizeToolBar},
    {"mniFile5", "Customize Edit Tool Bar...", "", 8, CustomizeEdit, "Customize edit tool bar...", gCustomizeToolBar},
    {"mniPCustom", "Customize Print Out...", "", 13, Printing, "Customize the way your text files print...", gCustomizePrint},
    {"mniFile6", "&Print...", "Ctrl+P", 9, Printing, "Print current workspace...", gPrint},
    {"mniPPreview", "Print Pre&view...", "", 14, Printing, "Preview current workspace before printing...", gPrintPreview},
    {"mniPrintSetup", "Printer Se&tup...", "", 10, Printing, "Setup printer...", gPrinterSetup},
    {"mniExit", "E&xit", "", 11, Exit, "Exit Vellumix", gExit},
    // Edit
    {"mniUndo", "&Undo", "Ctrl+Z", 0, Memo<&TRichEdit::Undo>, "Undo previous edit", gUndo},
    {"mniRedo", "&Redo", "Ctrl+Y", 10, Memo<&TRichEdit::Redo>, "Redo previous edit", gRedo},
    {"mniCut", "Cu&t", "Ctrl+X", 1, Memo<&TRichEdit::Cut>, "Cut to clipboard", gCut},
    {"mniCopy", "&Copy", "Ctrl+C", 2, Memo<&TRichEdit::Copy>, "Copy to clipboard", gCopy},
    {"mniPaste", "&Paste", "Ctrl+V", 3, Memo<&TRichEdit::Paste>, "Paste from clipboard", gPaste},
    {"mniPasteSpecial", "Paste Special...", "", 4, PasteSpecial,
     "Paste text and/or objects into current workspace at cursor position...", gPasteSpecial},
    {"mniDelete", "De&lete", "Ctrl+D", 5, Memo<&TRichEdit::DeleteSelection>, "Delete selected text", gDelete},
    {"mniSelectAll", "Select &All", "Ctrl+A", 6, Memo<&TRichEdit::SelectAll>, "Select all text", gSelectAll},
    {"mniDateTime", "&Date && Time", "F5", 7, DateTime, "Insert date and time at cursor", gDateTime},
    {"mniSpell", "&Spell Check...", "", 8, Spell, "Check workspace for spelling errors...", gSpell},
    {"mniWordCount", "&Word Count...", "", 9, WordCount, "Count the number of words in the workspace...", gWordCount},
    // Character
    {"mniLeft", "&Left", "", 0, Align, "Left justify text", gAlignLeft, K::Radio},
    {"mniRight", "&Right", "", 1, Align, "Right justify text", gAlignRight, K::Radio},
    {"mniCenter", "&Center", "", 2, Align, "Center text", gAlignCenter, K::Radio},
    {"mniWordWrap", "&Word Wrap", "", -1, WordWrap, "Turn word wrap on or off", gWordWrap, K::Check},
    {"mniConvert", "Convert", "", -1, nullptr, "Convert text", gNone},
    {"mniLower", "Lower Case", "", 0, Convert, "", gLower},
    {"mniUpper", "Upper Case", "", 1, Convert, "", gUpper},
    {"mniCapitalize", "Capitalize", "", 2, Convert, "Capitalize highlighted text", gCapitalize},
    {"mniTitleCase", "Title Case", "", 3, Convert, "", gTitleCase},
    {"mniTogCase", "tOGGLE cASE", "", 4, Convert, "", gToggleCase},
    {"mniSpecial", "&Special Characters...", "", -1, SpecialChar, "Insert special characters...", gSpecialChars},
    // Search
    {"mniFind", "&Find...", "Ctrl+F", -1, Find, "Find...", gFind},
    {"mniFindNext", "Find &Next", "F3", -1, FindNext, "Find next", gFindNext},
    {"mniReplace", "R&eplace...", "Ctrl+H", -1, Replace, "Find and replace...", gReplace},
    // Window
    {"mniWin0", "&Tile", "", 0, Arrange, "Tile windows", gTile},
    {"mniWin1", "&Cascade", "", 1, Arrange, "Cascade windows", gCascade},
    {"mniWin2", "&Arrange All", "", 2, Arrange, "Arrange icons", gArrangeIcons},
    // Options
    {"mniSetDefault", "Default Windows Notepad", "", -1, SetDefault, "", gSetDefault, K::Check},
    {"mniWinStart", "Start With Windows", "", 7, Option, "", gWinStart, K::Check},
    {"mniButtonHints", "Button Hints", "", 1, Option, "", gButtonHints, K::Check},
    {"mniAutomaticBackups", "Automatic Backups", "", 2, Option, "", gBackups, K::Check},
    {"mniMainStatusBar", "Main Status Bar", "", 3, Option, "", gStatusBar, K::Check},
    {"mniStayOnTop", "Stay On Top", "", 4, Option, "", gStayOnTop, K::Check},
    {"mniTip", "Tip Of The Day...", "", 5, Option, "Show the tip of the day...", gTip, K::Check},
    {"mniReopenSession", "Reopen Last Session", "", -1, ReopenSession,
     "Reopen the documents of the last session at start", gNone, K::Check},
    {"mniPreferences", "Preferences...", "", 6, Preferences, "Set Vellumix preferences...", gPreferences},
    // Help
    {"mniContents", "&Contents...", "F1", 0, MenuHelp, "Display help contents...", gHelpContents},
    {"mniOnLine", "On-&Line Help...", "", 9, MenuHelp, "Go to our on-line help faqs...", gHelp},
    {"mniSearchForHelpOn", "&Search For Help On...", "", 1, MenuHelp, "Search for help on...", gSearchHelp},
    {"mniHowtoUseHelp", "&How to Use Help...", "", 2, MenuHelp, "How to use help...", gUseHelp},
    {"mniWhatsNew", "What's &New", "", 3, MenuHelp, "What's new in this version of Vellumix", gWhatsNew},
    {"mniTech", "Contact &Tech Support...", "", 5, MenuHelp, "Contact technical support...", gTechSupport},
    {"mniDownload", "&Download Latest Version...", "", 6, MenuHelp, "Download the latest version of Vellumix...", gDownload},
    {"mniAbout", "About Vellumix...", "", 7, MenuHelp, "About Vellumix...", gAbout},
    {"puiProperties", "Properties...", "", -1, Properties, "Display properties of current workspace...", gProperties},
    // Tray menu
    {"sysNotepad", "Vellumix...", "", -1, Restore, "Restore Vellumix...", gRestore},
    {"sysAbout", "About...", "", 7, MenuHelp, "About Vellumix...", gAbout},
    {"sysExit", "Exit", "", 11, Exit, "Exit Vellumix", gExit},
    // Button style menu
    {"mniExplore", "I&Explorer Style", "", 0, ButtonStyle, "Display too bar with flat buttons", gNone, K::Radio},
    {"mniStandard", "S&tandard Style", "", 1, ButtonStyle, "Display tool bar with raised buttons", gNone, K::Radio},
};

// The document pop-up menu's items are twins of menu-bar items: same caption, hint, tag and
// glyph; only Undo, Redo and Find Next show their key.
const TPopupTwin kPopupTwins[] = {
    {"puiUndo", "mniUndo", true},       {"puiRedo", "mniRedo", true},
    {"puiCut", "mniCut", false},        {"puiCopy", "mniCopy", false},
    {"puiPaste", "mniPaste", false},    {"puiPasteSpecial", "mniPasteSpecial", false},
    {"puiDelete", "mniDelete", false},  {"puiSelectAll", "mniSelectAll", false},
    {"puiFind", "mniFind", false},      {"puiFindNext", "mniFindNext", true},
    {"puiReplace", "mniReplace", false},
};

const char *const kFile[] = {"mniNew", "mniOpen", "mniFile0", "mniFile11", ">mniReopen", ">mniFavFiles", "mniFile1",
                             "-mniFile10", "mniFile2", "mniFile3", "mniFile4", "-", "mniMCustom",
                             "mniFile5", "mniPCustom", "-", "mniFile6", "mniPPreview", "mniPrintSetup",
                             "-", "mniExit"};
const char *const kEdit[] = {"mniUndo", "mniRedo", "-", "mniCut", "mniCopy", "mniPaste",
                             "mniPasteSpecial", "mniDelete", "-", "mniSelectAll", "mniDateTime", "-",
                             "mniSpell", "mniWordCount"};
const char *const kCharacter[] = {"mniLeft", "mniRight", "mniCenter", "-", "mniWordWrap", "-",
                                  ">mniConvert", "mniSpecial"};
const char *const kConvert[] = {"mniLower", "mniUpper", "mniCapitalize", "mniTitleCase", "mniTogCase"};
const char *const kSearch[] = {"mniFind", "mniFindNext", "mniReplace"};
const char *const kWindow[] = {"mniWin0", "mniWin1", "mniWin2"};
const char *const kOptions[] = {"mniSetDefault", "mniWinStart", "mniButtonHints", "mniAutomaticBackups",
                                "mniMainStatusBar", "mniStayOnTop", "mniTip", "mniReopenSession", "-",
                                "mniPreferences"};
const char *const kHelp[] = {"mniContents", "mniOnLine", "mniSearchForHelpOn", "mniHowtoUseHelp",
                             "mniWhatsNew", "-", "mniTech", "mniDownload", "mniAbout"};
const char *const kEmpty[] = {"-"};
const char *const kPopup[] = {"puiUndo", "puiRedo", "-", "puiCut", "puiCopy", "puiPaste",
                              "puiPasteSpecial", "puiDelete", "-", "puiSelectAll", "-", "puiFind",
                              "puiFindNext", "puiReplace", "-", "puiProperties"};
const char *const kTray[] = {"sysNotepad", "sysAbout", "-", "sysExit"};
const char *const kToolBarStyle[] = {"mniExplore", "mniStandard"};

const TMenuDef kMenus[] = {
    {"mniFile", "&File", "File menu", kFile},
    {"mniFile7", "&Edit", "Edit menu", kEdit},
    {"mniFile8", "&Character", "Character menu", kCharacter},
    {"mniFile9", "&Search", "Search menu", kSearch},
    {"mniWindow", "&Window", "Window menu", kWindow},
    {"mniOptions", "&Options", "Options menu", kOptions},
    {"mniHelp", "&Help", "Help menu", kHelp},
    {"mniReopen", "&Reopen", "Reopen file", std::span<const char *const>(kEmpty, 0)},
    {"mniFavFiles", "&Favorite Files", "Favorite files", std::span<const char *const>(kEmpty, 0)},
    {"mniConvert", "Convert", "Convert text", kConvert},
    {"pumPopup", "", "Workspace menu", kPopup},
    {"traMenu", "", "Vellumix notification area menu", kTray},
    {"pumToolBar", "", "Tool bar style menu", kToolBarStyle},
};

const TButtonDef kMainButtons[] = {
    {"btnNew", "New Workspace", "New workspace", "mniNew", "File Menu", gNew},
    {"btnOpen", "Open Text File", "Open text file...", "mniOpen", "File Menu", gOpen},
    {"btnPSetup", "Setup Printer", "Setup printer...", "mniPrintSetup", "File Menu", gPrinterSetup},
    {"btnExit", "Exit Vellumix", "Exit Vellumix", "mniExit", "File Menu", gExit},
    {"btnWin0", "Tile Windows", "Tile windows", "mniWin0", "Window Menu", gTile},
    {"btnWin1", "Cascade Windows", "Cascade windows", "mniWin1", "Window Menu", gCascade},
    {"btnWin2", "Arrange All Icons", "Arrange icons", "mniWin2", "Window Menu", gArrangeIcons},
    {"btnOptions", "Preferences", "Set Vellumix preferences...", "mniPreferences", "Options Menu", gPreferences},
    {"btnHelp", "Help Contents", "Help contents...", "mniContents", "Help Menu", gHelpContents},
    {"btnSearchHelp", "Search For Help On", "Search for help on...", "mniSearchForHelpOn", "Help Menu", gSearchHelp},
    {"btnUseHelp", "How to Use Help", "How to use help...", "mniHowtoUseHelp", "Help Menu", gUseHelp},
    {"btnWhatsNew", "What's New", "What's new in this version of Vellumix", "mniWhatsNew", "Help Menu", gWhatsNew},
    {"btnTech", "Contact Tech Support", "Contact tech support...", "mniTech", "Help Menu", gTechSupport},
    {"btnLVersion", "Download Latest Version", "Download the latest version of Vellumix...", "mniDownload",
     "Help Menu", gDownload},
    {"btnAbout", "About Vellumix", "About Vellumix...", "mniAbout", "Help Menu", gAbout},
};

const TButtonDef kEditButtons[] = {
    {"btnSave", "Save", "Save current workspace", "mniFile2", "File Menu", gSave},
    {"btnSaveAs", "Save As", "Save workspace as...", "mniFile3", "File Menu", gSaveAs},
    {"btnEMail", "Send As Email", "Send current workspace as email...", "mniFile4", "File Menu", gEmail},
    {"btnPrint", "Print", "Print current workspace...", "mniFile6", "File Menu", gPrint},
    {"btnClose", "Close", "Close active workspace", "mniFile1", "File Menu", gClose},
    {"btnUndo", "Undo", "", "mniUndo", "Edit Menu", gUndo},
    {"btnRedo", "Redo", "", "mniRedo", "Edit Menu", gRedo},
    {"btnCut", "Cut", "Cut to clipboard", "mniCut", "Edit Menu", gCut},
    {"btnCopy", "Copy", "Copy to clipboard", "mniCopy", "Edit Menu", gCopy},
    {"btnPaste", "Paste", "Paste from clipboard", "mniPaste", "Edit Menu", gPaste},
    {"btnDelete", "Delete", "Delete highlighted text", "mniDelete", "Edit Menu", gDelete},
    {"btnSelectAll", "Select All", "Select all text in workspace", "mniSelectAll", "Edit Menu", gSelectAll},
    {"btnDate", "Date - Time", "Insert date and time at cursor", "mniDateTime", "Edit Menu", gDateTime},
    {"btnSpell", "Spell Checker", "Check workspace for spelling errors...", "mniSpell", "Edit Menu", gSpell},
    {"btnLeft", "Left Justify", "Left justify", "mniLeft", "Character Menu", gAlignLeft},
    {"btnRight", "Right Justify", "Right justify", "mniRight", "Character Menu", gAlignRight},
    {"btnCenter", "Center", "Center", "mniCenter", "Character Menu", gAlignCenter},
    {"btnLower", "lower case", "", "mniLower", "Character Menu", gLower},
    {"btnUpper", "UPPER CASE", "", "mniUpper", "Character Menu", gUpper},
    {"btnCapitalize", "Capitalize", "Capitalize highlighted text", "mniCapitalize", "Character Menu", gCapitalize},
    {"btnTitleCase", "Title Case", "", "mniTitleCase", "Character Menu", gTitleCase},
    {"btnTogCase", "tOGGLE cASE", "", "mniTogCase", "Character Menu", gToggleCase},
    {"btnSpecial", "Special Characters", "Insert special characters...", "mniSpecial", "Character Menu", gSpecialChars},
    {"btnFind", "Find", "Find...", "mniFind", "Search Menu", gFind},
    {"btnFindNext", "Find Next", "Find next", "mniFindNext", "Search Menu", gFindNext},
    {"btnReplace", "Replace", "Find and replace...", "mniReplace", "Search Menu", gReplace},
};

const char *const kMainDefault[] = {"btnNew", "btnOpen", "btnPSetup", "btnOptions",
                                    "btnHelp", "btnTech", "btnAbout", "btnExit"};
const char *const kEditDefault[] = {"btnSave", "btnSaveAs", "btnPrint", "btnUndo", "btnRedo",
                                    "btnCut", "btnCopy", "btnPaste", "btnDelete", "btnSelectAll",
                                    "btnDate", "btnLeft", "btnRight", "btnCenter", "btnSpecial",
                                    "btnFind", "btnReplace", "btnEMail", "btnSpell", "btnClose"};

}  // namespace

namespace Commands {

std::span<const TCommandDef> MenuItems() { return kItems; }

const TCommandDef *Find(const QString &name) {
  for (const TCommandDef &def : kItems)
    if (name == QLatin1String(def.name)) return &def;
  for (const TPopupTwin &twin : kPopupTwins)
    if (name == QLatin1String(twin.name)) return Find(QLatin1String(twin.twin));
  for (const auto buttons : {MainButtons(), EditButtons()})
    for (const TButtonDef &button : buttons)
      if (name == QLatin1String(button.name)) return Find(QLatin1String(button.command));
  return nullptr;
}

TCommandHandler HandlerOf(const QString &name) {
  const TCommandDef *def = Find(name);
  return def ? def->handler : nullptr;
}
std::span<const TMenuDef> Menus() { return kMenus; }
std::span<const TPopupTwin> PopupTwins() { return kPopupTwins; }
std::span<const TButtonDef> MainButtons() { return kMainButtons; }
std::span<const TButtonDef> EditButtons() { return kEditButtons; }
std::span<const char *const> MainDefaultButtons() { return kMainDefault; }
std::span<const char *const> EditDefaultButtons() { return kEditDefault; }

THintParts SplitHint(const QString &hint) {
  const qsizetype bar = hint.indexOf(u'|');
  if (bar < 0) return {hint, hint};
  return {hint.left(bar), hint.mid(bar + 1)};
}

}  // namespace Commands
