// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/ui/WPSpellDlg.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <array>

#include "platform/ui/Fonts.h"
#include "platform/ui/TextFit.h"
#include "spell/ui/EnterEdit.h"
#include "spell/ui/NewListBox.h"

namespace {

constexpr int kLabelsTop = 72;  // design top of lblSuggestions
constexpr int kListHeight = 161;

// Captions by language: lblFound, lblReplace, lblSuggestions, btnReplace, btnAdd, btnSkip,
// btnSkipAll, btnSuggest, btnClose.
using TCaptions = std::array<const char *, 9>;
constexpr std::array<TCaptions, SpellLanguages::kCount> kCaptions = {{
    {"Found", "Replace &With", "Sugg&estions", "&Replace", "&Add", "Skip &Once", "Skip &Always",
     "&Suggest", "Close"},
    {"Encontrado", "Reemplazar Con", "Sugerencias", "Reemplazar", "Añadir", "Saltar", "Ignorar",
     "Sugerir", "Cerrar"},
    {"Found", "Replace &With", "Sugg&estions", "&Replace", "&Add", "Skip &Once", "Skip &Always",
     "&Suggest", "Close"},
    {"Trovato", "Modifica", "Suggerimenti", "Sostituisci", "Aggiungi", "Salta", "Salta Tutti",
     "Suggerisci", "Cancella"},
    {"Dans le dictionaire", "Remplacer par", "Sugg&estions", "&Remplacer", "&Ahouter", "&Ignorer",
     "Ignorer toujours", "Suggérer", "Annuler"},
    {"Gefunden", "Ersetze &Mit", "&Vorschläge", "&Ersetze", "E&infügen", "Ü&berspringe",
     "Überspringe &Immer", "&Schlage vor", "Schließen"},
    {"Gevonden", "Vervangen door", "Suggesties", "Vervang", "Toevoegen", "Negeer", "Totaal negeren",
     "Suggesties", "Annuleren"},
}};

}  // namespace

TWPSpellDlg::TWPSpellDlg(QWidget *parent) : TAbsSpellDialog(parent) {
  setObjectName(QStringLiteral("WPSpellDlg"));
  setWindowTitle(QStringLiteral("Spell Checker"));
  setFixedSize(412, 224);
  setFont(Fonts::Face(QStringLiteral("MS Sans Serif"), 11, true));

  lblFound = AddLabel("lblFound", QStringLiteral("Not found:"), {44, 8, 61, 13}, Qt::AlignRight);
  lblNotFound = AddLabel("lblNotFound", QStringLiteral("BadWord"), {119, 8, 45, 13}, Qt::AlignLeft);
  lblNotFound->setFont(Fonts::Face(QStringLiteral("MS Sans Serif"), 12));
  lblReplace =
      AddLabel("lblReplace", QStringLiteral("Replace &With:"), {8, 32, 97, 25}, Qt::AlignRight);
  lblSuggestions = AddLabel("lblSuggestions", QStringLiteral("Sugg&estions:"),
                            {8, kLabelsTop, 90, 41}, Qt::AlignRight);

  edtWord = AddWordEdit({119, 26, 177, 20});
  lstSuggest = AddSuggestionList({119, kLabelsTop, 177, 137});
  connect(lstSuggest, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
    if (item && item->isSelected()) edtWord->setText(item->text());
  });
  connect(lstSuggest, &TNewListBox::Entered, this, &TWPSpellDlg::CopySelectedSuggestion);
  lblReplace->setBuddy(edtWord);
  lblSuggestions->setBuddy(lstSuggest);

  btnReplace = AddButton("btnReplace", QStringLiteral("&Replace"), {304, 24, 97, 26}, cmReplace,
                         QStyle::SP_DialogApplyButton);
  btnAdd = AddButton("btnAdd", QStringLiteral("&Add"), {304, 56, 97, 26}, cmAdd,
                     QStyle::SP_FileDialogNewFolder);
  btnSkip = AddButton("btnSkip", QStringLiteral("Skip &Once"), {304, 88, 97, 26}, cmSkip,
                      QStyle::SP_ArrowRight);
  btnSkipAll = AddButton("btnSkipAll", QStringLiteral("Skip A&lways"), {304, 120, 97, 26},
                         cmSkipAlways, QStyle::SP_MediaSkipForward);
  btnSuggest = AddButton("btnSuggest", QStringLiteral("&Suggest"), {304, 152, 97, 26}, 0,
                         QStyle::SP_FileDialogContentsView);
  connect(btnSuggest, &QPushButton::clicked, this, &TAbsSpellDialog::FillSuggestions);
  btnClose = AddButton("btnClose", QStringLiteral("Close"), {304, 184, 97, 26}, cmClose,
                       QStyle::SP_DialogCloseButton);
  pnlIcons = AddAccentPanel(120, 48);

  SetTabChain({edtWord, lstSuggest, btnReplace, btnAdd, btnSkip, btnSkipAll, btnSuggest, btnClose});
  PreviewAltKeys();
}

void TWPSpellDlg::SetMisspeltWord(const QString &text) {
  if (lblNotFound->text() == text) return;
  lblNotFound->setText(text);
  TextFit::FitText(lblNotFound);  // as wide as the word needs
}

void TWPSpellDlg::ShowAccents(TAccentSet accents) {
  PlaceListBelowPanel(accents, lblSuggestions, kLabelsTop, kListHeight);
}

void TWPSpellDlg::ApplyLanguage(int language) {
  StoreLanguage(language);
  SetCaptions({lblFound, lblReplace, lblSuggestions, btnReplace, btnAdd, btnSkip, btnSkipAll,
               btnSuggest, btnClose},
              kCaptions[LanguageIndex(language)].data());
}
