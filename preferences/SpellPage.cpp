// SPDX-License-Identifier: GPL-3.0-or-later
#include "preferences/SpellPage.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/core/Folders.h"
#include "platform/ui/Glyphs.h"
#include "preferences/Hints.h"
#include "spell/ui/SpellDlg.h"

namespace {

struct TDictionaryRow {
  const char *radio, *image, *caption, *file, *hint;
  int glyph;
  TSpellDlg::TLanguages language;  // the component's dictionary type for it
};
const TDictionaryRow dictionaryRows[] = {
    {"radBritish", "imgBritish", "British", "British.dct",
     "|Use British English language dictionary", gFlagBritish, TSpellDlg::lgBritish},
    {"radDutch", "imgDutch", "Dutch", "Dutch.dct", "|Use Dutch language dictionary", gFlagDutch,
     TSpellDlg::lgDutch},
    {"radEnglish", "imgEnglish", "English", "English.dct",
     "|Use American English language dictionary", gFlagAmerican, TSpellDlg::lgEnglish},
    {"radFrench", "imgFrench", "French", "French.dct", "|Use French language dictionary",
     gFlagFrench, TSpellDlg::lgFrench},
    {"radGerman", "imgGerman", "German", "German.dct", "|Use German language dictionary",
     gFlagGerman, TSpellDlg::lgGerman},
    {"radItalian", "imgItalian", "Italian", "Italian.dct", "|Use Italian language dictionary",
     gFlagItalian, TSpellDlg::lgItalian},
    {"radLegal", "imgLegal", "Legal", "Legal.dct", "|Use Legal language dictionary", gLegal,
     TSpellDlg::lgEnglish},
    {"radMedical", "imgMedical", "Medical", "Medical.dct", "|Use Medical language dictionary",
     gMedical, TSpellDlg::lgEnglish},
    {"radSpanish", "imgSpanish", "Spanish", "Spanish.dct", "|Use Spanish language dictionary",
     gFlagSpanish, TSpellDlg::lgSpanish},
};

struct TLanguageRow {
  const char *radio, *caption, *hint;
  TSpellDlg::TLanguages language;
};
const TLanguageRow languageRows[] = {
    {"radLBritish", "British", "|Use British English in spell check dialog", TSpellDlg::lgBritish},
    {"radLDutch", "Dutch", "|Use Dutch in spell check dialog", TSpellDlg::lgDutch},
    {"radLEnglish", "English", "|Use American English in spell check dialog", TSpellDlg::lgEnglish},
    {"radLFrench", "French", "|Use French in spell check dialog", TSpellDlg::lgFrench},
    {"radLGerman", "German", "|Use German in spell check dialog", TSpellDlg::lgGerman},
    {"radLItalian", "Italian", "|Use Italian in spell check dialog", TSpellDlg::lgItalian},
    {"radLSpanish", "Spanish", "|Use Spanish in spell check dialog", TSpellDlg::lgSpanish},
};

struct TStyleRow {
  const char *radio, *caption, *hint;
  TSpellDlg::TDialogTypes style;
};
const TStyleRow styleRows[] = {
    {"radMSWord", "MS Word", "|Use MS Word dialog style for spell check", TSpellDlg::dtMSWord},
    {"radWordPerfect", "Word Perfect", "|Use Word Perfect dialog style for spell check",
     TSpellDlg::dtWordPerfect},
    {"radWordPro", "WordPro 96", "|Use WordPro 96 dialog style for spell check",
     TSpellDlg::dtWordPro96},
};

QRadioButton *Radio(QWidget *parent, const char *name, const char *caption, const char *hint) {
  auto *radio = new QRadioButton(QString::fromLatin1(caption), parent);
  radio->setObjectName(QString::fromLatin1(name));
  Hints::Set(radio, QString::fromLatin1(hint));
  Hints::PressEnterKey(radio);
  return radio;
}

QGroupBox *Group(QWidget *parent, const char *caption, int help) {
  auto *group = new QGroupBox(QString::fromLatin1(caption), parent);
  Hints::SetHelp(group, help);
  return group;
}

// Connects each radio button of a list so that checking it runs action with its position.
template <typename F>
void OnChecked(QObject *context, const QList<QRadioButton *> &radios, F action) {
  for (int i = 0; i < radios.size(); ++i)
    QObject::connect(radios[i], &QRadioButton::toggled, context, [action, i](bool on) {
      if (on) action(i);
    });
}

}  // namespace

QString TSpellPage::DictionaryFile(int tag) {
  return (tag >= 0 && tag < int(std::size(dictionaryRows)))
             ? QString::fromLatin1(dictionaryRows[tag].file)
             : QString();
}

TSpellPage::TSpellPage(TSpellDlg &spell, QWidget *parent)
    : QWidget(parent), spell_(spell), folder_(Folders::ProgramFolder()) {
  setObjectName(QStringLiteral("tabSpell"));
  auto *dictionary = Group(this, "Dictionary", 1117);
  auto *dictionaryGrid = new QGridLayout(dictionary);
  int i = 0;
  for (const TDictionaryRow &row : dictionaryRows) {
    auto *flag = new QLabel(dictionary);
    flag->setObjectName(QString::fromLatin1(row.image));
    flag->setFixedSize(16, 16);
    flags << flag;
    dictionaries << Radio(dictionary, row.radio, row.caption, row.hint);
    dictionaryGrid->addWidget(flag, i % 5, i / 5 * 2);
    dictionaryGrid->addWidget(dictionaries.last(), i % 5, i / 5 * 2 + 1);
    ++i;
  }
  dictionaries[2]->setChecked(true);

  auto *style = Group(this, "Dialog Style", 1118);
  auto *styleLayout = new QVBoxLayout(style);
  for (const TStyleRow &row : styleRows) {
    styles << Radio(style, row.radio, row.caption, row.hint);
    styleLayout->addWidget(styles.last());
  }
  styles[1]->setChecked(true);

  auto *language = Group(this, "Language", 1119);
  auto *languageGrid = new QGridLayout(language);
  i = 0;
  for (const TLanguageRow &row : languageRows) {
    languages << Radio(language, row.radio, row.caption, row.hint);
    languageGrid->addWidget(languages.last(), i % 4, i / 4);
    ++i;
  }
  languages[2]->setChecked(true);

  auto *misc = Group(this, "Miscellaneous", 1120);
  chkSIcons = new QCheckBox(QStringLiteral("Show Icons"), misc);
  chkSIcons->setObjectName(QStringLiteral("chkSIcons"));
  chkSIcons->setChecked(true);
  Hints::Set(chkSIcons, QStringLiteral("|Show icons in spell check dialog"));
  chkSHTML = new QCheckBox(QStringLiteral("Support HTML"), misc);
  chkSHTML->setObjectName(QStringLiteral("chkSHTML"));
  Hints::Set(chkSHTML, QStringLiteral("|Support HTML in spell check"));
  auto *miscLayout = new QVBoxLayout(misc);
  for (QCheckBox *box : {chkSIcons, chkSHTML}) {
    Hints::PressEnterKey(box);
    miscLayout->addWidget(box);
    connect(box, &QCheckBox::toggled, this, [this] { UpdateMisc(); });
  }

  auto *grid = new QGridLayout(this);
  grid->addWidget(dictionary, 0, 0, 1, 2);
  grid->addWidget(style, 1, 0);
  grid->addWidget(misc, 2, 0);
  grid->addWidget(language, 1, 1, 2, 1);
  grid->setRowStretch(3, 1);

  OnChecked(this, dictionaries, [this](int tag) { UpdateDictionary(tag); });
  OnChecked(this, styles, [this](int index) { UpdateDialog(index); });
  OnChecked(this, languages, [this](int tag) { UpdateLanguage(tag); });
}

void TSpellPage::FormShow(const QString &folder) {
  folder_ = folder;
  const TGlyphList &glyphs = TGlyphList::Shared();
  for (int tag = 0; tag < dictionaries.size(); ++tag) {
    flags[tag]->setPixmap(glyphs.Pixmap(dictionaryRows[tag].glyph));
    dictionaries[tag]->setEnabled(Exists(tag));
  }
  // A stored choice whose file is gone was not applied: the page shows the dictionary the
  // component really uses.
  for (int tag = 0; tag < dictionaries.size(); ++tag) {
    if (!dictionaries[tag]->isChecked() || Exists(tag)) continue;
    for (int other = 0; other < dictionaries.size(); ++other)
      if (Exists(other) &&
          DictionaryFile(other).compare(spell_.DictionaryName(), Qt::CaseInsensitive) == 0) {
        const QSignalBlocker quiet(dictionaries[other]);
        dictionaries[other]->setChecked(true);
      }
    break;
  }
}

bool TSpellPage::Exists(int tag) const { return QFileInfo::exists(folder_ + DictionaryFile(tag)); }

void TSpellPage::UpdateDictionary(int tag) {
  // The saved state may name a dictionary that is no longer installed: the component keeps
  // the one it has rather than fail at the next check.
  if (!Exists(tag)) return;
  spell_.CloseDictionary();
  spell_.SetDictionaryName(DictionaryFile(tag));
  // The dictionary's language decides the accent buttons (Spanish shows them).
  spell_.SetAccentIcons(spell_.AccentIcons() & ~static_cast<int>(acSpanish));
  spell_.SetDictionaryType(dictionaryRows[tag].language);
  spell_.SetAccentIcons(spell_.AccentIcons());
  spell_.ResetLists();
}

void TSpellPage::UpdateDialog(int index) {
  spell_.SetDialogStyle(styleRows[index].style);
  // A new dialog starts with its own labels: the checked language is given again.
  for (int tag = 0; tag < languages.size(); ++tag)
    if (languages[tag]->isChecked()) {
      spell_.SetLabelLanguage(languageRows[tag].language);
      break;
    }
}

void TSpellPage::UpdateLanguage(int tag) { spell_.SetLabelLanguage(languageRows[tag].language); }

void TSpellPage::UpdateMisc() {
  spell_.SetShowGlyphs(chkSIcons->isChecked());
  spell_.SetSupportHTML(chkSHTML->isChecked());
}
