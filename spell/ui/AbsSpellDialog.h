// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QStyle>
#include <initializer_list>

#include "spell/core/AbsBuffer.h"
#include "spell/core/SpellDialogPort.h"
#include "spell/core/SpellLanguages.h"

class QFrame;
class QLabel;
class QPushButton;
class TEnterEdit;
class TNewListBox;

// The base of the spell dialogs: the word in question, a replacement box, a suggestion list,
// the command buttons and the Spanish accent panel. The dialog is modeless: its buttons only
// report a command (CommandChosen), which the spell check picks up. Each style lays out its
// own controls and has its own label tables.
class TAbsSpellDialog : public QDialog {
  Q_OBJECT
 public:
  // The commands the buttons report are the check's.
  using enum TSpellDialogPort::TCommand;

  explicit TAbsSpellDialog(QWidget *parent = nullptr);

  int SuggestionCount() const { return suggestionCount_; }
  void SetSuggestionCount(int count);
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int context) { helpContext_ = context; }
  int LabelLanguage() const { return labelLanguage_; }

  virtual void SetStatusText(const QString &text);
  virtual void SetMisspeltWord(const QString &text) = 0;
  void SetReplacement(const QString &text);
  QString GetReplacement() const;
  void FocusReplacement();
  void ClearSuggestions();
  // Fills the list with suggestions for the replacement box's word; the first one goes into
  // the box.
  void FillSuggestions();
  virtual void ShowAccents(TAccentSet accents) = 0;
  // Relabels the dialog in language; the window title follows for every language but English.
  virtual void ApplyLanguage(int language) = 0;
  // Removes the pictures of the command buttons.
  void RemoveGlyphs();

 Q_SIGNALS:
  void CommandChosen(int command);
  void Hidden();
  // The Help button asks for the help topic of the dialog's help context.
  void HelpRequested(int helpContext);

 protected:
  void showEvent(QShowEvent *event) override;
  void hideEvent(QHideEvent *event) override;
  // Esc is the Close button: it ends the check.
  void keyPressEvent(QKeyEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

  QLabel *AddLabel(const char *name, const QString &text, QRect place,
                   Qt::Alignment alignment = Qt::AlignLeft);
  // Sets the captions of labels and buttons, one text (UTF-8) per widget.
  static void SetCaptions(std::initializer_list<QWidget *> widgets, const char *const *captions);
  // Fits a table index to the languages (English for anything unknown).
  static int LanguageIndex(int language);
  QPushButton *AddButton(const char *name, const QString &caption, QRect place, int command,
                         QStyle::StandardPixmap picture = QStyle::SP_CustomBase);
  TEnterEdit *AddWordEdit(QRect place);
  TNewListBox *AddSuggestionList(QRect place);
  // The accent panel at left, top; hidden until ShowAccents asks for it.
  QFrame *AddAccentPanel(int left, int top);
  // The list just below the accent panel's place, listHeight high, and label at labelTop;
  // with acSpanish the panel shows and the list and label move down by its height.
  void PlaceListBelowPanel(TAccentSet accents, QLabel *label, int labelTop, int listHeight);
  // Puts the selected suggestion, if any, into the replacement box.
  void CopySelectedSuggestion();
  // Sets the tab order: each widget of chain is followed by the next.
  void SetTabChain(std::initializer_list<QWidget *> chain);
  // Stores the language and sets the window title from the title table.
  void StoreLanguage(int language);
  // The dialog sees Alt+E and Alt+W before its controls and their mnemonics do, whatever the
  // language's captions: Alt+E moves the focus to the suggestion list, Alt+W to the
  // replacement box. Call once the controls exist.
  void PreviewAltKeys();

  QLabel *lblFound = nullptr;
  TEnterEdit *edtWord = nullptr;
  TNewListBox *lstSuggest = nullptr;
  QFrame *pnlIcons = nullptr;
  QPushButton *btnReplace = nullptr;

 private:
  void QuickSuggest(int key, Qt::KeyboardModifiers modifiers);
  // The control an Alt key of the preview moves the focus to, or null.
  QWidget *AltKeyTarget(const QKeyEvent *event) const;

  int suggestionCount_ = 10;
  int labelLanguage_ = SpellLanguages::lgEnglish;
  int helpContext_ = 0;
};
