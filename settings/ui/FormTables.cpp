// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ui/FormTables.h"

#include "settings/core/ColorValue.h"

namespace FormTables {

namespace {

// Entry "C.P" and its default, as one row of a window's table.
struct TRow {
  const char *entry;
  QString defaultText;
};

const QString emailPlaceholder = QStringLiteral("email address <your email address>");

const std::vector<TRow> &MainRows() {
  static const std::vector<TRow> rows = {
      {"mniButtonHints.Checked", QStringLiteral("True")},
      {"mniMainStatusBar.Checked", QStringLiteral("False")},
      {"mniAutomaticBackups.Checked", QStringLiteral("False")},
      {"mniStayOnTop.Checked", QStringLiteral("False")},
      {"dlgOpen.FilterIndex", QStringLiteral("1")},
      {"dlgOpen.Filter",
       QStringLiteral("Text Files (*.TXT)|*.txt|Initialization Files (*.INI)|*.ini|HTML Files "
                      "(*.HTM;*HTML)|*.htm;*.html|All Files (*.*)|*.*")},
      {"SMTPREMail.Caption", emailPlaceholder},
      {"SMTPHost.Caption", DefaultSmtpHost},
      {"SMTPUEmail.Caption", emailPlaceholder},
      {"dlgSpell.DictionaryName", QString()},
      {"dlgSpell.DialogStyle", QStringLiteral("dtWordPerfect")},
      {"dlgSpell.LabelLanguage", QStringLiteral("lgEnglish")},
      {"dlgSpell.ShowGlyphs", QStringLiteral("True")},
      {"dlgSpell.SupportHTML", QStringLiteral("False")},
      {"FirstTime.Checked", QStringLiteral("True")},
      {"lblFilter.Caption", QStringLiteral("1")},
      {"lblDate.Caption", QStringLiteral("0")},
      {"lblTime.Caption", QStringLiteral("-1")},
      {"SMTPBCC.Checked", QStringLiteral("True")},
      {"SMTPReminder.Checked", QStringLiteral("True")},
      {"FilePath.Caption", QString()},
      {"mniTip.Checked", QStringLiteral("True")},
      {"pnlTip.Visible", QStringLiteral("True")},
      {"EditDisplay.Caption", QStringLiteral("0")},
      {"ShowFavFiles.Checked", QStringLiteral("True")},
      {"ShowMRU.Checked", QStringLiteral("True")},
      {"barMCustom.Options", QStringLiteral("[sbAllowDrag,sbFlatBtns]")},
      {"SMTPHost.Color", QStringLiteral("12632256")},
      {"barECustom.Options", QStringLiteral("[sbAllowDrag,sbFlatBtns]")},
      {"mniViewAll.Checked", QStringLiteral("False")},
      {"lblDate.Color", QStringLiteral("16711680")},
      {"mniExplore.Checked", QStringLiteral("True")},
      {"mniStandard.Checked", QStringLiteral("False")},
      {"SMTPPort.Caption", QStringLiteral("25")},
      {"SMTPUserID.Caption", DefaultSmtpUserId},
      {"SMTPName.Caption", QStringLiteral("Temp")},
      {"SMTPOrg.Caption", QStringLiteral("Temp")},
      {"SMTPSigCheck.Checked", QStringLiteral("False")},
      {"SMTPSignature.Lines", QStringLiteral("Enter your signature here")},
      {"mniWordWrap.Checked", QStringLiteral("True")},
      {"ImportPath.Caption", QString()},
      {"ExportPath.Caption", QString()},
      {"lblIFilter.Caption", QStringLiteral("1")},
      {"lblEFilter.Caption", QStringLiteral("1")},
      {"PTemplate.Caption", QStringLiteral("notepad.frf")},
      {"mniWinStart.Checked", QStringLiteral("False")},
      {"PrintFont.Checked", QStringLiteral("True")},
      // Secure submission: "None" (plain HELO dialogue), "STARTTLS" or "TLS" (from the first
      // byte), and the login name for AUTH. The password never goes into the settings file.
      {"SMTPSecurity.Caption", QStringLiteral("None")},
      {"SMTPLogin.Caption", QString()},
  };
  return rows;
}

// Section "Preferences": the states of the preferences dialog's own controls.
const std::vector<TRow> &PreferencesRows() {
  static const std::vector<TRow> rows = {
      {"pnlDLeft.Width", QStringLiteral("208")},
      {"mniOptions1.Checked", QStringLiteral("True")},
      {"mniOptions2.Checked", QStringLiteral("False")},
      {"mniOptions0.Checked", QStringLiteral("False")},
      {"mniOptions3.Checked", QStringLiteral("False")},
      {"mniOptions4.Checked", QStringLiteral("False")},
      {"radBritish.Checked", QStringLiteral("False")},
      {"radDutch.Checked", QStringLiteral("False")},
      {"radEnglish.Checked", QStringLiteral("True")},
      {"radFrench.Checked", QStringLiteral("False")},
      {"radGerman.Checked", QStringLiteral("False")},
      {"radItalian.Checked", QStringLiteral("False")},
      {"radLegal.Checked", QStringLiteral("False")},
      {"radMedical.Checked", QStringLiteral("False")},
      {"radSpanish.Checked", QStringLiteral("False")},
      {"radMSWord.Checked", QStringLiteral("False")},
      {"radWordPerfect.Checked", QStringLiteral("True")},
      {"radWordPro.Checked", QStringLiteral("False")},
      {"radLBritish.Checked", QStringLiteral("False")},
      {"radLDutch.Checked", QStringLiteral("False")},
      {"radLEnglish.Checked", QStringLiteral("True")},
      {"radLFrench.Checked", QStringLiteral("False")},
      {"radLGerman.Checked", QStringLiteral("False")},
      {"radLItalian.Checked", QStringLiteral("False")},
      {"radLSpanish.Checked", QStringLiteral("False")},
      {"chkSHTML.Checked", QStringLiteral("False")},
      {"chkSIcons.Checked", QStringLiteral("True")},
      {"mniExplore.Checked", QStringLiteral("True")},
      {"mniStandard.Checked", QStringLiteral("False")},
      {"mniOptions5.Checked", QStringLiteral("False")},
      {"radMax.Checked", QStringLiteral("True")},
      {"radMin.Checked", QStringLiteral("False")},
      {"radNorm.Checked", QStringLiteral("False")},
      {"lblFont.Color", QStringLiteral("16777215")},
      {"lblFont.Font", QString()},
      {"chkFAVYes.Checked", QStringLiteral("True")},
      {"chkMRUYes.Checked", QStringLiteral("True")},
      {"pagPrefer.ActivePage", QStringLiteral("tabDisplay")},
      {"barTools.Options", QStringLiteral("[sbFlatBtns]")},
      {"cbxEScreen.SelectedColor", QStringLiteral("16777215")},
      {"cbxFHigh.SelectedColor", QStringLiteral("16711680")},
      {"cbxMScreen.SelectedColor", QStringLiteral("12632256")},
      {"btnFont.Flat", QStringLiteral("True")},
      {"barFavorite.Options", QStringLiteral("[sbFlatBtns]")},
      {"chkShowSelBar.Checked", QStringLiteral("True")},
      // A fresh installation starts at the workspaces' own undo limit.
      {"edtUndo.Value", QStringLiteral("100")},
      {"chkFontPrint.Checked", QStringLiteral("True")},
  };
  return rows;
}

const std::vector<TRow> &EmailRows() {
  static const std::vector<TRow> rows = {
      {"lstAddress.Items", QString()},
      {"mniExplore.Checked", QStringLiteral("True")},
      {"mniStandard.Checked", QStringLiteral("False")},
      {"barMail.Options", QStringLiteral("[sbFlatBtns]")},
  };
  return rows;
}

const std::vector<TRow> &AddressRows() {
  static const std::vector<TRow> rows = {
      {"mniExplore.Checked", QStringLiteral("True")},
      {"mniStandard.Checked", QStringLiteral("False")},
      {"lstAddress.Sorted", QStringLiteral("False")},
      {"puiSort.Checked", QStringLiteral("False")},
      {"barAddress.Options", QStringLiteral("[sbFlatBtns]")},
  };
  return rows;
}

QStringList Entries(const std::vector<TRow> &rows) {
  QStringList entries;
  for (const TRow &row : rows) entries.append(QString::fromLatin1(row.entry));
  return entries;
}

QList<TStoredDefault> Defaults(const std::vector<TRow> &rows) {
  QList<TStoredDefault> defaults;
  for (const TRow &row : rows)
    defaults.append({QString::fromLatin1(row.entry).replace(u'.', u'_'), row.defaultText});
  return defaults;
}

}  // namespace

QStringList MainFormProps() { return Entries(MainRows()); }
QList<TStoredDefault> MainFormDefaults() { return Defaults(MainRows()); }

QStringList PreferencesProps() { return Entries(PreferencesRows()); }

QList<TStoredDefault> PreferencesDefaults() {
  QList<TStoredDefault> defaults = Defaults(PreferencesRows());
  // The font's defaults are its sub-values.
  defaults.removeIf([](const TStoredDefault &d) { return d.valueName == u"lblFont_Font"; });
  const std::pair<const char *, const char *> font[] = {
      {"lblFont_FontCharset", "1"},       {"lblFont_FontColor", "0"},
      {"lblFont_FontHeight", "-13"},      {"lblFont_FontName", "System"},
      {"lblFont_FontPitch", "fpDefault"}, {"lblFont_FontSize", "10"},
      {"lblFont_FontStyle", "[]"}};
  for (const auto &[name, text] : font)
    defaults.append({QString::fromLatin1(name), QString::fromLatin1(text)});
  return defaults;
}

QStringList EmailFormProps() { return Entries(EmailRows()); }
QList<TStoredDefault> EmailFormDefaults() { return Defaults(EmailRows()); }
QStringList EmailAddressesProps() { return Entries(AddressRows()); }
QList<TStoredDefault> EmailAddressesDefaults() { return Defaults(AddressRows()); }

QStringList EditFormProps() {
  return {QStringLiteral("mmoMemo.AutoURLDetect"), QStringLiteral("mmoMemo.Color"),
          QStringLiteral("mmoMemo.Font"),          QStringLiteral("mmoMemo.ScrollBars"),
          QStringLiteral("mmoMemo.SelectionBar"),  QStringLiteral("mmoMemo.UndoLimit"),
          QStringLiteral("mmoMemo.WordWrap")};
}

QList<TStoredDefault> EditFormDefaults() {
  return {
      {QStringLiteral("mmoMemo_AutoURLDetect"), QStringLiteral("False")},
      {QStringLiteral("mmoMemo_Color"), QString::number(ColorValue::Window)},
      {QStringLiteral("mmoMemo_FontCharset"), QStringLiteral("1")},
      {QStringLiteral("mmoMemo_FontColor"), QString::number(ColorValue::WindowText)},
      {QStringLiteral("mmoMemo_FontHeight"), QStringLiteral("-13")},
      {QStringLiteral("mmoMemo_FontName"), QStringLiteral("Souvenir Lt BT")},
      {QStringLiteral("mmoMemo_FontPitch"), QStringLiteral("fpDefault")},
      {QStringLiteral("mmoMemo_FontSize"), QStringLiteral("10")},
      {QStringLiteral("mmoMemo_FontStyle"), QStringLiteral("[]")},
      {QStringLiteral("mmoMemo_ScrollBars"), QStringLiteral("ssBoth")},
      {QStringLiteral("mmoMemo_SelectionBar"), QStringLiteral("True")},
      {QStringLiteral("mmoMemo_UndoLimit"), QStringLiteral("100")},
      {QStringLiteral("mmoMemo_WordWrap"), QStringLiteral("True")},
  };
}

}  // namespace FormTables
