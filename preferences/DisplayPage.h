// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "preferences/PreferencesContext.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TColorBox;

// The "Display" page: the state new workspaces open in, the three colours, the editor font,
// the selection bar, the two menu lists and the undo limit. Each acts at once; the ones that
// change open workspaces act only while the dialog is active (not while its stored states
// are restored).
class TDisplayPage : public QWidget {
  Q_OBJECT

 public:
  TDisplayPage(const TPreferencesContext &context, const bool &active, QWidget *parent = nullptr);

  // At opening: remembers the edit-screen colour and shows the sample's caption.
  void FormShow();
  // "IExplorer Style" makes the font button flat.
  void SetFlat(bool flat);

  QRadioButton *radMax, *radMin, *radNorm;
  TColorBox *cbxMScreen, *cbxEScreen, *cbxFHigh;
  QLabel *lblFont;
  QPushButton *btnFont;
  QCheckBox *chkFontPrint, *chkShowSelBar, *chkMRUYes, *chkFAVYes;
  QSpinBox *edtUndo;

 private:
  void UpdateEditDisplay(int tag);
  void UpdateDisplayColors(int tag);
  void DefaultEditorFont();
  void UpdateMenuDisplay(int tag);
  void ShowSelBarClick();
  void UndoChange();
  void ShowFontCaption();
  void Inform(const QString &text);

  const TPreferencesContext &context_;
  const bool &active_;
  int openingColor_ = 0;
};

// The stored style text of a font: "[fsBold,fsItalic,fsUnderline,fsStrikeout]" with the
// members it has, "[]" for a plain font.
QString FontStyleText(const QFont &font);
