// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <utility>

#include "spell/core/SpellCheck.h"
#include "spell/core/SpellDialogPort.h"

class QWidget;
class TAbsSpellDialog;
class TEditControl;
class TWordForm;

// The spell-check component the main window owns as "dlgSpell": it runs a spelling check over
// an edit control in a modeless dialog of the configured style, and the word count. Its
// settings are properties named as they are stored.
class TSpellDlg : public QObject, private TSpellDialogPort {
  Q_OBJECT
  Q_PROPERTY(int AccentIcons READ AccentIcons WRITE SetAccentIcons)
  Q_PROPERTY(QString AutoCorrectList READ AutoCorrectList WRITE SetAutoCorrectList)
  Q_PROPERTY(bool AutoShift READ AutoShift WRITE SetAutoShift)
  Q_PROPERTY(bool AutoSuggest READ AutoSuggest WRITE SetAutoSuggest)
  Q_PROPERTY(bool ConfirmAdd READ ConfirmAdd WRITE SetConfirmAdd)
  Q_PROPERTY(TDialogTypes DialogStyle READ DialogStyle WRITE SetDialogStyle)
  Q_PROPERTY(QString DictionaryName READ DictionaryName WRITE SetDictionaryName)
  Q_PROPERTY(QString DictionaryPath READ DictionaryPath WRITE SetDictionaryPath)
  Q_PROPERTY(TLanguages DictionaryType READ DictionaryType WRITE SetDictionaryType)
  Q_PROPERTY(QString ExclusionList READ ExclusionList WRITE SetExclusionList)
  Q_PROPERTY(QFont Font READ Font WRITE SetFont)
  Q_PROPERTY(bool Faster READ Faster WRITE SetFaster)
  Q_PROPERTY(bool ForceModal READ ForceModal WRITE SetForceModal)
  Q_PROPERTY(int HelpContext READ HelpContext WRITE SetHelpContext)
  Q_PROPERTY(TLanguages LabelLanguage READ LabelLanguage WRITE SetLabelLanguage)
  Q_PROPERTY(int Suggestions READ Suggestions WRITE SetSuggestions)
  Q_PROPERTY(bool ShowCompletedDialog READ ShowCompletedDialog WRITE SetShowCompletedDialog)
  Q_PROPERTY(bool ShowGlyphs READ ShowGlyphs WRITE SetShowGlyphs)
  Q_PROPERTY(bool SupportHTML READ SupportHTML WRITE SetSupportHTML)
  Q_PROPERTY(QString UserDictionary READ UserDictionary WRITE SetUserDictionary)

 public:
  enum TLanguages { lgEnglish, lgSpanish, lgBritish, lgItalian, lgFrench, lgGerman, lgDutch };
  Q_ENUM(TLanguages)
  enum TDialogTypes { dtWordPerfect, dtMSWord, dtWordPro96 };
  Q_ENUM(TDialogTypes)

  // The dialogs and the word-count window belong to parent when it is a widget.
  explicit TSpellDlg(QObject *parent = nullptr);
  ~TSpellDlg() override;

  // Checks the text of control: 0 finished without a replacement, 1 finished after one, 2 the
  // dictionary could not be opened or the dialog was closed. Closing control's window or
  // quitting the program during the check ends it cleanly.
  int CheckEdit(TEditControl &control);
  // (words, distinct words) of control's text, counted in the word-count window. While a
  // count runs, another does nothing and returns zeros.
  std::pair<int, int> CountWords(TEditControl &control);
  void SetDialogCaption(const QString &caption);
  // Destroys the dictionary object; its added user words are saved.
  void CloseDictionary();
  // Empties the Skip Always list and the Replace All pairs.
  void ResetLists();

  // The current dialog (for placing and tests); null when its owner destroyed it.
  TAbsSpellDialog *Dialog() const;
  TWordForm *WordForm() const;

 Q_SIGNALS:
  // The dialog's Help button: the program shows the topic of helpContext.
  void HelpRequested(int helpContext);

 public:
  TSpellCheck &Engine() { return check_; }

  int AccentIcons() const { return int(accentIcons_); }
  void SetAccentIcons(int accents);
  QString AutoCorrectList() const { return check_.Options().autoCorrectList; }
  void SetAutoCorrectList(const QString &name) { check_.Options().autoCorrectList = name; }
  bool AutoShift() const { return check_.Options().autoShift; }
  void SetAutoShift(bool on) { check_.Options().autoShift = on; }
  bool AutoSuggest() const { return check_.Options().autoSuggest; }
  void SetAutoSuggest(bool on) { check_.Options().autoSuggest = on; }
  bool ConfirmAdd() const { return check_.Options().confirmAdd; }
  void SetConfirmAdd(bool on) { check_.Options().confirmAdd = on; }
  TDialogTypes DialogStyle() const { return dialogStyle_; }
  void SetDialogStyle(TDialogTypes style);
  QString DictionaryName() const { return check_.Options().dictionaryName; }
  void SetDictionaryName(const QString &name) { check_.Options().dictionaryName = name; }
  QString DictionaryPath() const { return check_.Options().dictionaryPath; }
  void SetDictionaryPath(const QString &path) { check_.Options().dictionaryPath = path; }
  TLanguages DictionaryType() const { return TLanguages(check_.Options().dictionaryType); }
  void SetDictionaryType(TLanguages language);
  QString ExclusionList() const { return check_.Options().exclusionList; }
  void SetExclusionList(const QString &name);
  QFont Font() const { return font_; }
  void SetFont(const QFont &font) { font_ = font; }
  bool Faster() const { return check_.Options().faster; }
  void SetFaster(bool on) { check_.Options().faster = on; }
  bool ForceModal() const { return forceModal_; }
  void SetForceModal(bool on) { forceModal_ = on; }
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int context);
  TLanguages LabelLanguage() const { return TLanguages(check_.Options().labelLanguage); }
  void SetLabelLanguage(TLanguages language);
  int Suggestions() const { return suggestions_; }
  void SetSuggestions(int count);
  bool ShowCompletedDialog() const { return check_.Options().showCompletedDialog; }
  void SetShowCompletedDialog(bool on) { check_.Options().showCompletedDialog = on; }
  bool ShowGlyphs() const { return showGlyphs_; }
  void SetShowGlyphs(bool on) { showGlyphs_ = on; }
  bool SupportHTML() const { return check_.Options().supportHtml; }
  void SetSupportHTML(bool on) { check_.Options().supportHtml = on; }
  QString UserDictionary() const { return check_.Options().userDictionary; }
  void SetUserDictionary(const QString &name) { check_.Options().userDictionary = name; }

 private:
  // What the check loop asks of the dialog and of the user.
  void SetStatusText(const QString &text) override;
  void SetMisspeltWord(const QString &text) override;
  void SetReplacement(const QString &text) override;
  QString GetReplacement() const override;
  void FocusReplacement() override;
  void ClearSuggestions() override;
  void FillSuggestions() override;
  bool IsShown() const override;
  void ShowDialog() override;
  void ShiftFor(int y) override;
  void CloseDialog() override;
  void BringToFront() override;
  void RevealControl() override;
  void SetBusy(bool busy) override;
  void ErrorBox(const QString &text) override;
  void InformationBox(const QString &text) override;
  bool ConfirmBox(const QString &text) override;

  QWidget *Owner() const;
  QWidget *MessageParent() const;
  // Gives the dialog the component's font and pictures.
  void Dress();

  TSpellCheck check_;
  QPointer<TAbsSpellDialog> dialog_;
  QPointer<TWordForm> wordForm_;
  QObject *checkedControl_ = nullptr;  // the control being checked, when it is a QObject
  TAccentSet accentIcons_ = 0;
  TDialogTypes dialogStyle_ = dtWordPerfect;
  QFont font_;
  bool forceModal_ = false;
  int helpContext_ = 0;
  int suggestions_ = 10;
  bool showGlyphs_ = true;
  bool busy_ = false;
  bool counting_ = false;
};
