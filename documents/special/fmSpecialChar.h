// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QWidget>
#include <functional>

class QLabel;
class QTableWidget;
class QToolBar;
class TBarStyleMenu;
class TEditControl;
class TFormStorage;

// A floating, always-on-top window showing every character code in a grid; double-clicking
// a cell inserts its character into the active document at the caret. Each use of the
// command opens one more; the window frees itself when closed.
class TfrmSpecialChar : public QWidget {
  Q_OBJECT

 public:
  // The edit control of the active document window, or none.
  using TTarget = std::function<TEditControl *()>;

  // font and color: those of the document window shown most recently.
  TfrmSpecialChar(TTarget target, const QFont &font, const QColor &color, const QIcon &closeGlyph,
                  QWidget *parent = nullptr);
  ~TfrmSpecialChar() override;

  // The character of the cell selected last in any special-characters window.
  static QString SelectedChar() { return selectedChar_; }

  QTableWidget *grdSpecial() const { return grdSpecial_; }

  void grdSpecialSelectCell(int column, int row);
  void grdSpecialDblClick();

 protected:
  void showEvent(QShowEvent *event) override;

 private:
  void BuildToolBar(const QIcon &closeGlyph);
  void FormShow();

  static inline QString selectedChar_;

  TTarget target_;
  QFont font_;
  QColor color_;
  QToolBar *barTools_;
  QLabel *lblChar_;
  TBarStyleMenu *pumToolBar_;
  QTableWidget *grdSpecial_;
  TFormStorage *strSpecialChar_;
};
