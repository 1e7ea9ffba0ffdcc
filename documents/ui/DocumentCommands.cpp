#include "DocumentCommands.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QTextCursor>

#include "DateTimeStamp.h"
#include "EditHost.h"
#include "MessageBox.h"
#include "PasteSpecialDialog.h"
#include "RichEdit.h"
#include "RootKey.h"
#include "SaveNames.h"
#include "fmEdit.h"

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
  QTextCursor cursor = memo->textCursor();
  // The clipboard is read again: it may have changed while the dialog was up.
  TPasteSpecialDialog::Insert(QApplication::clipboard()->mimeData(), dialog.ChosenForm(), cursor,
                              SaveNames::IsRichTextName(window.FileName()));
  memo->setTextCursor(cursor);
}

}  // namespace CharacterCommands

namespace SearchCommands {

void Find(TfrmEdit &window, TEditHost &host) {
  const TTopMostPause pause(host);
  window.ShowSearchDialog(TFindDialog::TMode::Find);
}

void Replace(TfrmEdit &window, TEditHost &host) {
  const TTopMostPause pause(host);
  window.ShowSearchDialog(TFindDialog::TMode::Replace);
}

void FindNext(TfrmEdit &window) {
  TfrmEdit::FindNextPending = true;
  window.FormKeyUp(Qt::Key_F3);
  TfrmEdit::FindNextPending = false;
}

}  // namespace SearchCommands
