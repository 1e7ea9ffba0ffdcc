// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

// The bar a document window shows while a conversion runs for it: what is being done, how
// much has arrived, and Cancel. It sits between the window's text and its status bar and
// goes away with the conversion (or with the window).
class TConversionProgress : public QFrame {
  Q_OBJECT

 public:
  // Shown in window, with the text ("Importing <file>...").
  TConversionProgress(QWidget *window, const QString &text);

  // The bytes that have arrived or were handed over so far.
  void SetBytes(qsizetype bytes);
  // Run when the user presses Cancel.
  std::function<void()> OnCancel;

  // The bar a window shows, if any.
  static TConversionProgress *Of(QWidget *window);

 private:
  QLabel *lblText_;
  QProgressBar *barProgress_;
  QPushButton *btnCancel_;
  QString text_;
};
