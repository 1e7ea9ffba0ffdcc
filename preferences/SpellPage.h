// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QRadioButton;
class TSpellDlg;

// The "Spell Checker" page: the dictionary, the dialog style, the dialog's label language
// and the two spelling options, each handed to the spell-check component at once.
class TSpellPage : public QWidget {
  Q_OBJECT

 public:
  TSpellPage(TSpellDlg &spell, QWidget *parent = nullptr);

  // At opening: the flag pictures on the dialog's face colour; a dictionary whose file is
  // missing from folder cannot be chosen (nor applied when the saved state names it).
  void FormShow(const QString &folder);

  QList<QRadioButton *> dictionaries;  // by tag
  QList<QLabel *> flags;               // by dictionary tag
  QList<QRadioButton *> styles;        // MS Word, Word Perfect, WordPro 96
  QList<QRadioButton *> languages;     // by tag
  QCheckBox *chkSIcons;
  QCheckBox *chkSHTML;

  // The file of a dictionary tag.
  static QString DictionaryFile(int tag);

 private:
  bool Exists(int tag) const;
  void UpdateDictionary(int tag);
  void UpdateDialog(int index);
  void UpdateLanguage(int tag);
  void UpdateMisc();

  TSpellDlg &spell_;
  QString folder_;  // where the dictionaries are
};
