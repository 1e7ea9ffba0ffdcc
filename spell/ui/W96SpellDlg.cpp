// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/ui/W96SpellDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <array>

#include "platform/core/CodePage.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/TextFit.h"
#include "spell/core/Dictionary.h"
#include "spell/ui/EnterEdit.h"
#include "spell/ui/NewListBox.h"

namespace {

constexpr int kListHeight = 48;

// Captions by language: lblSpellChk, lblFound (word found), btnReplace, btnReplaceAll, btnAdd,
// btnSkip, btnSkipAll, btnClose; then the word-not-known text.
using TCaptions = std::array<const char *, 9>;
constexpr std::array<TCaptions, SpellLanguages::kCount> kCaptions = {{
    {"Spell Check", "Word Found:", "&Replace", "Replace All", "&Add", "Skip &Once", "Skip &Always",
     "&Done", "Word in Question:"},
    {"Verificar", "Encontrado", "Cambiar", "Cambiarlos", "Añadir", "Saltar", "Ignorar", "Cerrar",
     "No Encontrado"},
    {"Spell Check", "Word Found:", "&Replace", "Replace All", "&Add", "Skip &Once", "Skip &Always",
     "&Done", "Word in Question:"},
    {"Verificar", "Trovato", "Sostituisci", "Sostituisci Tutti", "Aggiungi", "Salta", "Salta Tutti",
     "Cancella", "Non Trovato"},
    {"Vérification", "Mot Trouve:", "&Remplacar", "Remplacar &Par", "&Ajouter", "&Ignorer",
     "Ignorer &Toujours", "&Fermer", "Mot:"},
    {"Rechtschreibprüfung", "Gefundenes Wort:", "&Ersetze", "&Immer Ersetze", "&Einfügen",
     "Ü&berspringe", "Immer Übe&rspringe", "&Schließen", "Fragliches Wor:"},
    {"Spellingcontrole", "Gevonden:", "Vervang", "Volledig vervangen", "Toevoegen", "Negeer",
     "Totaal negeren", "Annuleren", "Niet gevonden:"},
}};
constexpr size_t kNotKnown = 8;

}  // namespace

TW96SpellDlg::TW96SpellDlg(QWidget *parent) : TAbsSpellDialog(parent) {
  setObjectName(QStringLiteral("W96SpellDlg"));
  setWindowTitle(QStringLiteral("Spelling"));
  setWindowFlag(Qt::FramelessWindowHint);
  setFixedSize(627, 89);
  setFont(Fonts::Face(QStringLiteral("MS Sans Serif"), 12));

  auto *panel1 = new QFrame(this);
  panel1->setObjectName(QStringLiteral("Panel1"));
  panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel1->setGeometry(0, 0, 627, 89);
  panel1->lower();

  auto *speedButton1 = new QToolButton(this);
  speedButton1->setObjectName(QStringLiteral("SpeedButton1"));
  speedButton1->setAccessibleName(QStringLiteral("Suggest"));
  speedButton1->setGeometry(5, 8, 25, 25);
  speedButton1->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
  connect(speedButton1, &QToolButton::clicked, this, &TAbsSpellDialog::FillSuggestions);
  auto *shape1 = new QFrame(this);
  shape1->setObjectName(QStringLiteral("Shape1"));
  shape1->setGeometry(29, 8, 73, 25);
  shape1->setStyleSheet(QStringLiteral("background: black; border: 1px solid white"));
  lblSpellChk =
      AddLabel("lblSpellChk", QStringLiteral("Spell Check"), {28, 14, 73, 13}, Qt::AlignHCenter);
  lblSpellChk->setStyleSheet(QStringLiteral("color: white; background: transparent"));
  lblFound = AddLabel("lblFound", QStringLiteral("&Word in Question:"), {6, 40, 85, 13});

  edtWord = AddWordEdit({6, 58, 118, 23});
  edtWord->setText(QStringLiteral("edtWord"));
  lblFound->setBuddy(edtWord);
  lstSuggest = AddSuggestionList({127, 9, 177, kListHeight});
  lstSuggest->setAccessibleName(QStringLiteral("Suggestions"));
  auto *shape2 = new QFrame(this);
  shape2->setObjectName(QStringLiteral("Shape2"));
  shape2->setFrameStyle(QFrame::Box | QFrame::Plain);
  shape2->setGeometry(309, 11, 192, 64);
  auto *panel2 = new QFrame(this);
  panel2->setObjectName(QStringLiteral("Panel2"));
  panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel2->setGeometry(310, 12, 191, 63);

  btnReplaceAll =
      AddButton("btnReplaceAll", QStringLiteral("Replace All"), {314, 16, 89, 26}, cmReplaceAll);
  btnReplace = AddButton("btnReplace", QStringLiteral("&Replace"), {407, 16, 89, 26}, cmReplace);
  btnSkipAll =
      AddButton("btnSkipAll", QStringLiteral("S&kip All"), {314, 45, 89, 26}, cmSkipAlways);
  btnSkip = AddButton("btnSkip", QStringLiteral("Skip &Once"), {407, 45, 89, 26}, cmSkip);
  btnAdd = AddButton("btnAdd", QStringLiteral("&Add"), {509, 16, 113, 26}, cmAdd);
  btnClose = AddButton("btnClose", QStringLiteral("Close"), {509, 45, 113, 26}, cmClose);
  pnlIcons = AddAccentPanel(127, 58);

  SetTabChain(
      {edtWord, lstSuggest, btnReplaceAll, btnReplace, btnSkipAll, btnSkip, btnAdd, btnClose});
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
    if (old == edtWord) WordExit(now);
  });
}

// The focus watch ends before the dialog's parts go: closing moves the focus off the word box.
TW96SpellDlg::~TW96SpellDlg() { disconnect(qApp, nullptr, this, nullptr); }

void TW96SpellDlg::SetMisspeltWord(const QString &) {}

void TW96SpellDlg::ShowAccents(TAccentSet accents) {
  const bool spanish = accents & acSpanish;
  pnlIcons->setVisible(spanish);
  lstSuggest->resize(lstSuggest->width(), spanish ? kListHeight : kListHeight + pnlIcons->height());
}

void TW96SpellDlg::ApplyLanguage(int language) {
  StoreLanguage(language);
  SetCaptions(
      {lblSpellChk, lblFound, btnReplace, btnReplaceAll, btnAdd, btnSkip, btnSkipAll, btnClose},
      kCaptions[LanguageIndex(language)].data());
}

void TW96SpellDlg::WordExit(QWidget *now) {
  if (!now || qobject_cast<QAbstractButton *>(now)) return;
  TDictionary *dictionary = TDictionary::Instance();
  const TCaptions &captions = kCaptions[LanguageIndex(LabelLanguage())];
  if (dictionary && dictionary->IsWord(CodePage::ToOem437(edtWord->text()))) {
    lblFound->setText(QString::fromUtf8(captions[1]));
    btnReplace->setFocus();
  } else {
    lblFound->setText(QString::fromUtf8(captions[kNotKnown]));
  }
  TextFit::FitText(lblFound);
}
