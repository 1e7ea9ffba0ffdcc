// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/ui/MSSpellDlg.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <array>

#include "platform/ui/Fonts.h"
#include "spell/ui/EnterEdit.h"
#include "spell/ui/NewListBox.h"

namespace {

constexpr int kLabelsTop = 72;  // design top of lblSuggestions
constexpr int kListHeight = 137;

// Captions by language: lblFound, lblReplace, lblSuggestions, btnReplace, btnReplaceAll,
// btnAdd, btnSkip, btnSkipAll, btnSuggest, btnClose, btnAutoCorrect, btnOptions, btnUndo,
// btnHelp.
using TCaptions = std::array<const char *, 14>;
constexpr std::array<TCaptions, SpellLanguages::kCount> kCaptions = {{
    {"In Dictionary:", "Change &To:", "Suggestio&ns:", "&Change", "C&hange All", "&Add", "&Ignore",
     "I&gnore All", "&Suggest", "Cancel", "AutoCorrect", "&Options", "&Undo Last", "Help"},
    {"Encontrado:", "Reemplazar Con:", "Sugerencias:", "Cambiar", "Cambiarlos", "Añadir", "Saltar",
     "Ignorar", "Sugerir", "Cerrar", "Corregir", "&Opciones", "Deshacer", "Ayuda"},
    {"In Dictionary:", "Change &To:", "Suggestio&ns:", "&Change", "C&hange All", "&Add",
     "Skip &Once", "Skip &Always", "&Suggest", "Cancel", "AutoCorrect", "&Options", "&Undo Last",
     "Help"},
    {"Trovato:", "Modifica:", "Suggerimenti:", "Sostituisci", "Sostituisci Tutti", "Aggiungi",
     "Salta", "Salta Tutti", "Suggerisci", "Cancella", "Correzione Automatic", "Opzioni",
     "Disfa Ultimo", "?"},
    {"Dans le dictionaire:", "Remplacar &Par:", "Suggestio&ns:", "&Remplacar", "Remplacar &Tout",
     "&Ajouter", "&Ignorer", "I&gnorer toujours", "&Suggérer", "Annnuler", "AutoCorrection",
     "&Options", "Annuler &Dernière", "Aide"},
    {"Im Wörterbuch:", "Ä&ndere in:", "&Vorschläge:", "Än&dern", "&Immer ändern", "&Einfügen",
     "&Ignorieren", "Immer I&gnorieren", "&Schlage Vor", "Schließen", "AutoKorrigieren",
     "&Optionen", "&Widerufe", "Hilfe"},
    {"In woordenboek:", "Vervangen door:", "Suggesties:", "Vervang", "Volledig vervangen",
     "Toevoegen", "Negeer", "Totaal negeren", "Voorstellen", "Annuleren", "AutoCorrectie", "Opties",
     "Herstel laatste", "Help"},
}};

}  // namespace

TMSSpellDlg::TMSSpellDlg(QWidget *parent) : TAbsSpellDialog(parent) {
  setObjectName(QStringLiteral("MSSpellDlg"));
  setWindowTitle(QStringLiteral("Spelling"));
  setFixedSize(512, 242);
  setFont(Fonts::Face(QStringLiteral("MS Sans Serif"), 11, true));

  lblFound = AddLabel("lblFound", QStringLiteral("Not in Dictionary:"), {5, 10, 100, 13});
  lblReplace = AddLabel("lblReplace", QStringLiteral("Change &To:"), {5, 37, 92, 28});
  lblSuggestions =
      AddLabel("lblSuggestions", QStringLiteral("Suggestio&ns:"), {5, kLabelsTop, 100, 33});

  edtCurWord = new TEnterEdit(this);
  edtCurWord->setObjectName(QStringLiteral("edtCurWord"));
  edtCurWord->setGeometry(119, 8, 383, 20);
  edtCurWord->setReadOnly(true);
  edtCurWord->setText(QStringLiteral("BadWord"));
  edtWord = AddWordEdit({119, 34, 177, 20});
  edtWord->setText(QStringLiteral("edtWord"));
  lstSuggest = AddSuggestionList({119, 81, 177, 113});
  lblReplace->setBuddy(edtWord);
  lblSuggestions->setBuddy(lstSuggest);
  lblFound->setBuddy(edtCurWord);

  btnSkip = AddButton("btnSkip", QStringLiteral("&Ignore"), {304, 56, 94, 26}, cmSkip);
  btnSkipAll =
      AddButton("btnSkipAll", QStringLiteral("I&gnore All"), {408, 56, 94, 26}, cmSkipAlways);
  btnReplace = AddButton("btnReplace", QStringLiteral("&Change"), {304, 96, 94, 26}, cmReplace);
  btnReplaceAll =
      AddButton("btnReplaceAll", QStringLiteral("&Change All"), {408, 96, 94, 26}, cmReplaceAll);
  btnAdd = AddButton("btnAdd", QStringLiteral("&Add"), {304, 136, 94, 26}, cmAdd);
  btnSuggest = AddButton("btnSuggest", QStringLiteral("&Suggest"), {408, 136, 94, 26}, 0);
  connect(btnSuggest, &QPushButton::clicked, this, &TAbsSpellDialog::FillSuggestions);
  btnClose = AddButton("btnClose", QStringLiteral("Cancel"), {304, 208, 94, 25}, cmClose);
  btnHelp = AddButton("btnHelp", QStringLiteral("&Help"), {408, 208, 94, 26}, 0);
  connect(btnHelp, &QPushButton::clicked, this, [this] { Q_EMIT HelpRequested(HelpContext()); });
  pnlIcons = AddAccentPanel(120, 56);
  btnAutoCorrect = AddButton("btnAutoCorrect", QStringLiteral("AutoCorrect"), {8, 208, 97, 26}, 0);
  btnOptions = AddButton("btnOptions", QStringLiteral("&Options..."), {112, 208, 89, 26}, 0);
  btnUndo = AddButton("btnUndo", QStringLiteral("Undo Last"), {208, 208, 89, 26}, 0);
  for (QPushButton *inactive : {btnAutoCorrect, btnOptions, btnUndo}) inactive->setEnabled(false);

  SetTabChain({edtCurWord, edtWord, lstSuggest, btnSkip, btnSkipAll, btnReplace, btnReplaceAll,
               btnAdd, btnSuggest, btnClose, btnHelp, btnAutoCorrect, btnOptions, btnUndo});
}

void TMSSpellDlg::SetMisspeltWord(const QString &text) { edtCurWord->setText(text); }

void TMSSpellDlg::ShowAccents(TAccentSet accents) {
  PlaceListBelowPanel(accents, lblSuggestions, kLabelsTop, kListHeight);
}

void TMSSpellDlg::ApplyLanguage(int language) {
  StoreLanguage(language);
  SetCaptions({lblFound, lblReplace, lblSuggestions, btnReplace, btnReplaceAll, btnAdd, btnSkip,
               btnSkipAll, btnSuggest, btnClose, btnAutoCorrect, btnOptions, btnUndo, btnHelp},
              kCaptions[LanguageIndex(language)].data());
}
