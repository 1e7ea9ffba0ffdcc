// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "print/core/TemplateEditor.h"

class QAction;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TDesignerCanvas;

// The template designer: a modal window showing the page with its bands and objects. Objects
// are selected, moved and resized with the mouse or the keyboard, added (text, line) and
// deleted, and edited in the panel beside the page (text with a variable picker, font, colour,
// alignment, frame, position and size); the page set-up and band heights are edited there too.
// Undo takes back the last changes. OK keeps the edited template (Template()), Cancel drops it.
class TfrmDesigner : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmDesigner(const TReportTemplate &report, QWidget *parent = nullptr);

  const TReportTemplate &Template() const { return editor_.Template(); }
  TTemplateEditor &Editor() { return editor_; }
  TDesignerCanvas *Canvas() const { return canvas_; }
  // The warning shown for a text object whose font is taller than its box; empty when it fits.
  static QString FontWarning(const TReportObject &object);

 private:
  QWidget *buildObjectPanel();
  QWidget *buildPagePanel();
  QDoubleSpinBox *lengthBox(const QString &name, double maximum);
  void refresh();
  void applyGeometry();
  void applyPage();
  void chooseFont();
  void chooseColor();
  void insertVariable(int index);
  void changed();

  TTemplateEditor editor_;
  TDesignerCanvas *canvas_;
  QAction *actDelete_, *actUndo_;
  QGroupBox *grpObject_;
  QPlainTextEdit *edtText_;
  QComboBox *cbxVariable_, *cbxAlign_, *cbxSize_, *cbxOrientation_;
  QPushButton *btnFont_, *btnColor_;
  QCheckBox *chkFrame_;
  QLabel *lblFontWarning_;
  QDoubleSpinBox *edtX_, *edtY_, *edtW_, *edtH_;
  QDoubleSpinBox *edtLeft_, *edtTop_, *edtRight_, *edtBottom_;
  QDoubleSpinBox *edtBand_[3];
  bool refreshing_ = false;
};
