// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QListWidget;
class QMimeData;
class TTextCursor;

// Offers the forms in which the clipboard holds its content and inserts the chosen one at a
// cursor: unformatted text always, rich text and HTML where the clipboard has them. Into a
// plain-text document the formatted forms go as their text, with their own line breaks.
class TPasteSpecialDialog : public QDialog {
  Q_OBJECT

 public:
  enum class TForm { Unformatted, RichText, Html };

  explicit TPasteSpecialDialog(const QMimeData *clipboard, QWidget *parent = nullptr);

  QListWidget *lstFormats() const { return lstFormats_; }
  // The forms offered for a clipboard content, in the order shown.
  static QList<TForm> FormsOf(const QMimeData *data);
  static QString FormName(TForm form);
  TForm ChosenForm() const;

  // Inserts data in form at cursor; keepFormatting inserts rich text and HTML with their
  // character formatting (documents kept as rich text), else as plain text.
  static void Insert(const QMimeData *data, TForm form, TTextCursor &cursor, bool keepFormatting);

 private:
  QListWidget *lstFormats_;
  QList<TForm> forms_;
};
