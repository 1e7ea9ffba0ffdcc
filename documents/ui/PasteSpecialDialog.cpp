// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/ui/PasteSpecialDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTextDocument>
#include <QVBoxLayout>

#include "documents/core/RichTextBridge.h"
#include "documents/core/RtfReader.h"

namespace {

QByteArray rtfOf(const QMimeData *data) {
  for (const char *type : {"text/rtf", "application/rtf", "text/richtext"})
    if (data->hasFormat(QString::fromLatin1(type))) return data->data(QString::fromLatin1(type));
  return {};
}

}  // namespace

TPasteSpecialDialog::TPasteSpecialDialog(const QMimeData *clipboard, QWidget *parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("dlgPasteSpecial"));
  setWindowTitle(QStringLiteral("Paste Special"));
  forms_ = FormsOf(clipboard);
  lstFormats_ = new QListWidget(this);
  lstFormats_->setObjectName(QStringLiteral("lstFormats"));
  for (TForm form : forms_) lstFormats_->addItem(FormName(form));
  if (!forms_.isEmpty()) lstFormats_->setCurrentRow(0);
  auto *label = new QLabel(QStringLiteral("&As:"), this);
  label->setBuddy(lstFormats_);
  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setEnabled(!forms_.isEmpty());
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(lstFormats_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(lstFormats_);
  layout->addWidget(buttons);
}

QList<TPasteSpecialDialog::TForm> TPasteSpecialDialog::FormsOf(const QMimeData *data) {
  QList<TForm> forms;
  if (!data) return forms;
  if (!rtfOf(data).isEmpty()) forms << TForm::RichText;
  if (data->hasHtml()) forms << TForm::Html;
  if (data->hasText() || !forms.isEmpty()) forms << TForm::Unformatted;
  return forms;
}

QString TPasteSpecialDialog::FormName(TForm form) {
  switch (form) {
    case TForm::RichText:
      return QStringLiteral("Rich Text Format");
    case TForm::Html:
      return QStringLiteral("HTML Format");
    case TForm::Unformatted:
      break;
  }
  return QStringLiteral("Unformatted text");
}

TPasteSpecialDialog::TForm TPasteSpecialDialog::ChosenForm() const {
  const int row = lstFormats_->currentRow();
  return row >= 0 && row < forms_.size() ? forms_[row] : TForm::Unformatted;
}

void TPasteSpecialDialog::Insert(const QMimeData *data, TForm form, TTextCursor &cursor,
                                 bool keepFormatting) {
  if (!data) return;
  QTextDocument formatted;
  bool haveFormatted = false;
  if (form == TForm::RichText) {
    haveFormatted = TRtfReader().Read(rtfOf(data), formatted);
  } else if (form == TForm::Html) {
    formatted.setHtml(data->html());
    haveFormatted = true;
  }
  if (!haveFormatted) {
    cursor.insertText(data->text());
  } else if (keepFormatting) {
    RichTextBridge::Insert(cursor, formatted);
  } else {
    cursor.insertText(formatted.toPlainText());
  }
}
