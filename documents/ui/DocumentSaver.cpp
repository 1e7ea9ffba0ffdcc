// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/ui/DocumentSaver.h"

#include <QFileDialog>
#include <optional>

#include "documents/core/DocumentSave.h"
#include "documents/core/RichTextBridge.h"
#include "documents/core/SaveNames.h"
#include "documents/ui/EditHost.h"
#include "documents/ui/FileDialogs.h"
#include "documents/ui/LongOperation.h"
#include "documents/ui/RichEdit.h"
#include "documents/ui/fmEdit.h"
#include "platform/core/Folders.h"
#include "platform/desktop/IdleNotifier.h"
#include "platform/ui/MessageBox.h"

namespace {

// The reason of a failed save as one message: the error, then its detail, without the
// doubled full stops the parts may bring.
QString failureText(const TSaveOutcome &outcome) {
  QString text = outcome.error;
  if (text.endsWith(u'.')) text.chop(1);
  if (!outcome.detail.isEmpty()) text += QStringLiteral(".\r") + outcome.detail;
  while (text.endsWith(u'.')) text.chop(1);
  return text;
}

bool confirmReplaceChanged(TEditHost &host, TfrmEdit &window, const QString &fileName) {
  const TTopMostPause pause(host);
  return MessageBox::Show(
             &window,
             MessageBox::MsgHeader() + QStringLiteral("The file '") + fileName +
                 QStringLiteral("' was changed by another program since it was opened or saved.\r"
                                "Do you want to replace it with this workspace's text?"),
             TMsgKind::Confirmation, TMsgButtons::YesNo) == TMsgResult::Yes;
}

// The text of a long document as its file is to hold it, read from the edit control in slices
// of whole lines.
LongOperation::TRead fileTextRead(const TRichEdit &memo, QString *into) {
  return {0, memo.document()->blockCount(), into,
          [](const TRichEdit &edit, QString &text, qsizetype line, qsizetype sliceChars) {
            if (line == 0) text.reserve(edit.TextLength() + 1);
            return qsizetype(edit.AppendFileText(text, int(line), sliceChars));
          }};
}

// Saves as the request says. A long plain text is read from the window (unless a save before
// has read it already), encoded and written with its progress and a Cancel button, which
// leaves the file as it was. Nothing when it was cancelled (or the window went).
std::optional<TDocumentSaveResult> saveDocument(TfrmEdit &window, TDocumentSaveRequest &request,
                                                bool isLong) {
  if (!isLong) return SaveDocument(request);
  LongOperation::TRead read;
  // A long text is never empty once read.
  if (request.text.isEmpty()) read = fileTextRead(*window.mmoMemo(), &request.text);
  TDocumentSaveResult result;
  const auto end = LongOperation::Run(
      window, QStringLiteral("Saving ") + request.fileName + QStringLiteral("..."), read,
      [&](const TKeepGoing &keepGoing) {
        TSteppedWriter writer(keepGoing);
        result = SaveDocument(request, &writer);
      });
  if (end != LongOperation::TEnd::Done) return std::nullopt;
  return result;
}

}  // namespace

bool TDocumentSaver::Save(TfrmEdit &window, const QString &fileName,
                          const TSaveSettings &settings) {
  // A document still loading holds part of its file: saving it would shorten the file. While
  // another long command runs, the text is about to change.
  if (window.Busy()) return false;
  if (SaveNames::IsUntitled(fileName)) return SaveAs(window, settings);
  TRichEdit *memo = window.mmoMemo();
  TDocumentSaveRequest request;
  request.fileName = fileName;
  request.format = window.Format();
  if (SaveNames::IsRichTextName(fileName))
    request.richText = RichTextBridge::ToDocument(*memo->document());
  request.makeBackup = settings.makeBackup;
  request.known = window.DiskStamp();
  // Rich text is written from the document itself, which belongs to this thread. A long plain
  // text is read in the long operation, between events; anything else at once.
  const bool isLong = !request.richText && LongOperation::IsLong(memo->TextLength());
  if (!isLong) request.text = memo->FileText();
  std::optional<TDocumentSaveResult> saved = saveDocument(window, request, isLong);
  if (saved && saved->outcome.status == TSaveStatus::ChangedOnDisk) {
    if (!confirmReplaceChanged(host_, window, fileName)) return false;
    request.known.reset();
    saved = saveDocument(window, request, isLong);
  }
  // Cancelled: the file is as it was and the document stays changed.
  if (!saved) return false;
  const TDocumentSaveResult &result = *saved;
  if (!result.outcome.Saved()) {
    MessageBox::ShowError(&window, failureText(result.outcome));
    return false;
  }
  window.SetFormat(result.format);
  window.SetDiskStamp(result.outcome.stamp);
  memo->SetModified(false);
  if (!result.notice.isEmpty())
    MessageBox::Show(&window, MessageBox::MsgHeader() + result.notice, TMsgKind::Information,
                     TMsgButtons::Ok);
  TIdleNotifier::Instance().Request();
  return true;
}

bool TDocumentSaver::SaveAs(TfrmEdit &window, const TSaveSettings &settings) {
  if (window.Busy()) return false;
  const TTopMostPause pause(host_);
  const QString current = window.SaveName();
  QFileDialog dialog(window.window(), QStringLiteral("Save As"),
                     settings.folder + Folders::FileNameOf(current));
  dialog.setObjectName(QStringLiteral("dlgSave"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  FileDialogs::SetFilters(dialog, settings.filter, settings.filterIndex);
  const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
  // The dialog, and its own question before replacing a file, leave no window active: the
  // document takes the keys again.
  host_.Activate(&window);
  window.window()->activateWindow();
  window.mmoMemo()->setFocus();
  if (!chosen) return false;
  const QString name = dialog.selectedFiles().first();
  host_.SetCurrentFileName(name);
  host_.SetFilePath(Folders::FolderOf(name));
  window.setWindowTitle(Folders::FileNameOf(name));
  host_.UpdateTitles();
  window.SetFileName(name);
  if (settings.named) settings.named(name);
  // Another file now: whatever was on disk under the old name no longer matters.
  window.SetDiskStamp(std::nullopt);
  return Save(window, name, settings);
}
