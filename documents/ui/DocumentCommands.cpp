// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/ui/DocumentCommands.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>

#include "documents/core/DateTimeStamp.h"
#include "documents/core/SaveNames.h"
#include "documents/store/TextModel.h"
#include "documents/ui/EditHost.h"
#include "documents/ui/PasteSpecialDialog.h"
#include "documents/ui/RichEdit.h"
#include "documents/ui/fmEdit.h"
#include "platform/gui/WinColor.h"
#include "platform/ui/MessageBox.h"
#include "settings/core/RootKey.h"
#include "settings/ui/Holder.h"

namespace CharacterCommands {

void Align(TRichEdit &memo, int tag) {
  memo.SetAlignment(tag == 1   ? TTextAlignment::Right
                    : tag == 2 ? TTextAlignment::Center
                               : TTextAlignment::Left);
}

void SetWordWrap(const QList<TfrmEdit *> &windows, bool wrap, QWidget *parent) {
  for (TfrmEdit *edit : windows) {
    edit->mmoMemo()->SetScrollBars(wrap ? TRichEdit::TScrollStyle::ssVertical
                                        : TRichEdit::TScrollStyle::ssBoth);
    edit->mmoMemo()->SetWordWrap(wrap);
  }
  try {
    WriteEditSetting(QStringLiteral("mmoMemo_ScrollBars"),
                     wrap ? QStringLiteral("ssVertical") : QStringLiteral("ssBoth"));
    WriteEditSetting(QStringLiteral("mmoMemo_WordWrap"),
                     wrap ? QStringLiteral("True") : QStringLiteral("False"));
  } catch (const std::exception &error) {
    MessageBox::ShowError(parent, QString::fromUtf8(error.what()));
  }
}

void InsertDateTime(TRichEdit &memo, const QString &dateIndex, const QString &timeIndex) {
  ::UpdateDateTime(memo, dateIndex, timeIndex, QDateTime::currentDateTime(), QLocale());
}

void PasteSpecial(TfrmEdit &window, TEditHost &host) {
  const TTopMostPause pause(host);
  TPasteSpecialDialog dialog(QApplication::clipboard()->mimeData(), &window);
  if (dialog.exec() != QDialog::Accepted) return;
  TRichEdit *memo = window.mmoMemo();
  TTextCursor cursor = memo->textCursor();
  // The clipboard is read again: it may have changed while the dialog was up.
  TPasteSpecialDialog::Insert(QApplication::clipboard()->mimeData(), dialog.ChosenForm(), cursor,
                              SaveNames::IsRichTextName(window.FileName()));
  memo->setTextCursor(cursor);
}

}  // namespace CharacterCommands

namespace {

// While a Find or Replace dialog is open, the selections it makes show in the find highlight
// colour of the preferences (the colour of the main window's holder lblDate); the edit
// control's own selection colours come back when the dialog closes.
void useFindHighlight(TfrmEdit &window, TFindDialog::TMode mode) {
  const auto *holder = window.window()->findChild<THolder *>(QStringLiteral("lblDate"));
  TFindDialog *dialog = window.SearchDialog(mode);
  if (!holder || !dialog) return;
  TRichEdit *memo = window.mmoMemo();
  const QPalette normal = memo->palette();
  QPalette found = normal;
  const QColor color = WinColor::ToQColor(holder->Color());
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    found.setColor(group, QPalette::Highlight, color);
    found.setColor(group, QPalette::HighlightedText,
                   qGray(color.rgb()) < 128 ? Qt::white : Qt::black);
  }
  memo->setPalette(found);
  QObject::connect(
      dialog, &QDialog::finished, memo,
      [memo, normal] {
        QPalette back = memo->palette();
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
          for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
            back.setColor(group, role, normal.color(group, role));
        memo->setPalette(back);
      },
      Qt::SingleShotConnection);
}

}  // namespace

namespace SearchCommands {

void Find(TfrmEdit &window, TEditHost &host) {
  const TTopMostPause pause(host);
  useFindHighlight(window, TFindDialog::TMode::Find);
  window.ShowSearchDialog(TFindDialog::TMode::Find);
}

void Replace(TfrmEdit &window, TEditHost &host) {
  const TTopMostPause pause(host);
  useFindHighlight(window, TFindDialog::TMode::Replace);
  window.ShowSearchDialog(TFindDialog::TMode::Replace);
}

void FindNext(TfrmEdit &window) {
  TfrmEdit::FindNextPending = true;
  window.FormKeyUp(Qt::Key_F3);
  TfrmEdit::FindNextPending = false;
}

}  // namespace SearchCommands
