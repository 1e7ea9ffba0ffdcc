// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/recovery/RecoveryStartUp.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "documents/core/SaveNames.h"
#include "documents/recovery/RecoveryTracker.h"
#include "documents/recovery/SessionList.h"
#include "documents/recovery/fmRecover.h"
#include "documents/ui/RichEdit.h"
#include "documents/ui/fmEdit.h"
#include "platform/core/Folders.h"
#include "platform/ui/MessageBox.h"
#include "settings/core/RootKey.h"

namespace {

std::unique_ptr<TRecoveryStore> store;
// What the exit under way keeps: the documents with a file, and the session copies. A copy
// whose document already closed stays kept when the exit is cancelled: it holds the only text.
std::vector<TSessionDocument> sessionDocuments;
QSet<QString> sessionSlots;

void reopenSession(const RecoveryStartUp::THooks &hooks) {
  std::vector<TSessionDocument> documents;
  try {
    TRootKey root;
    documents = SessionList::Load(root);
    root.Close();
  } catch (const std::exception &error) {
    qWarning("Vellumix: the last session cannot be read: %s", error.what());
  }
  for (const TSessionDocument &document : documents) {
    if (!QFileInfo(document.fileName).isFile() || !hooks.openFile) continue;
    if (TfrmEdit *window = hooks.openFile(document.fileName))
      window->mmoMemo()->SetSelection(document.caret, 0);
  }
}

}  // namespace

bool RecoveryStartUp::ReopenSession() {
  try {
    const TRootKey root;
    return SessionList::ReopenEnabled(root);
  } catch (const std::exception &) {
    return false;
  }
}

void RecoveryStartUp::SetReopenSession(bool on) {
  try {
    TRootKey root;
    SessionList::SetReopenEnabled(root, on);
    root.Close();
  } catch (const std::exception &error) {
    MessageBox::ShowError(nullptr, QString::fromUtf8(error.what()));
  }
}

void RecoveryStartUp::Begin(QWidget *parent, THooks hooks) {
  const bool reopen = ReopenSession();
  if (hooks.reopenSession) hooks.reopenSession->setChecked(reopen);
  store = std::make_unique<TRecoveryStore>();
  if (!store->Ready()) {
    qWarning("Vellumix: recovery copies are off: %s", qPrintable(store->Error()));
    store.reset();
  } else {
    TRecoveryStore::SetActive(store.get());
  }
  QTimer::singleShot(0, parent,
                     [parent = QPointer<QWidget>(parent), hooks = std::move(hooks), reopen] {
                       if (!parent) return;
                       if (reopen) reopenSession(hooks);
                       Offer(parent, hooks.newWindow);
                     });
}

void RecoveryStartUp::ExitStarts(const QList<TfrmEdit *> &windows) {
  sessionDocuments.clear();
  if (!ReopenSession()) return;
  for (TfrmEdit *window : windows) {
    TRichEdit *memo = window->mmoMemo();
    const QString name = window->SaveName();
    if (!SaveNames::IsUntitled(name) && QFileInfo(name).isFile())
      sessionDocuments.push_back({name, memo->SelStart() + memo->SelLength()});
    else if (SaveNames::IsUntitled(name) && window->Recovery()->KeepForSession(true))
      sessionSlots.insert(window->Recovery()->Slot());
  }
}

void RecoveryStartUp::ExitCancelled(const QList<TfrmEdit *> &windows) {
  for (TfrmEdit *window : windows) {
    sessionSlots.remove(window->Recovery()->Slot());
    window->Recovery()->KeepForSession(false);
  }
  sessionDocuments.clear();
}

void RecoveryStartUp::End() {
  if (ReopenSession()) {
    try {
      TRootKey root;
      SessionList::Save(root, sessionDocuments);
      root.Close();
    } catch (const std::exception &error) {
      qWarning("Vellumix: the session cannot be stored: %s", error.what());
    }
  }
  if (!store) return;
  store->Flush();
  for (const QString &copy : store->OwnCopies())
    if (!sessionSlots.contains(copy)) QFile::remove(copy);
  TRecoveryStore::SetActive(nullptr);
  store.reset();
}

void RecoveryStartUp::Offer(QWidget *parent, const std::function<TfrmEdit *()> &newWindow) {
  TRecoveryStore *active = TRecoveryStore::Active();
  if (!active) return;
  TRecoveryClaim claim = active->Claim();
  for (const QString &note : claim.notes) qWarning("Vellumix: %s", qPrintable(note));
  // The untitled documents of the last session come back as they were left, unasked.
  if (ReopenSession()) {
    std::vector<TFoundCopy> asked;
    for (TFoundCopy &copy : claim.copies) {
      if (!copy.record.session) {
        asked.push_back(std::move(copy));
      } else if (TfrmEdit *window = newWindow()) {
        Restore(*window, copy);
      }
    }
    active->Flush();
    claim.copies = std::move(asked);
  }
  if (claim.copies.empty()) return;
  switch (TfrmRecover::Run(claim, parent)) {
    case TfrmRecover::TChoice::Recover:
      for (const TFoundCopy &copy : claim.copies)
        if (TfrmEdit *window = newWindow()) Restore(*window, copy);
      active->Flush();  // the copies are this program's before the claim ends
      break;
    case TfrmRecover::TChoice::Discard:
      for (const TFoundCopy &copy : claim.copies) TRecoveryStore::Delete(copy);
      break;
    case TfrmRecover::TChoice::Later:
      break;
  }
}

void RecoveryStartUp::Restore(TfrmEdit &window, const TFoundCopy &copy) {
  const TRecoveryRecord &r = copy.record;
  TRichEdit *memo = window.mmoMemo();
  window.SetFormat(r.format);
  memo->SetText(r.text);
  memo->ResetUndoHistory();
  if (r.Titled()) {
    window.setWindowTitle(Folders::FileNameOf(r.name));
    window.SetFileName(r.name);
  } else {
    window.SetUntitled(r.name.isEmpty() ? u' ' + Folders::Home() + QStringLiteral("untitled.txt")
                                        : r.name);
  }
  std::optional<TFileStamp> stamp;
  if (r.diskKnown) stamp = TFileStamp{true, r.diskSize, r.diskModifiedNs, {}};
  window.SetDiskStamp(stamp);
  memo->SetSelection(r.caret, 0);
  memo->SetModified(true);
  // The found copy becomes this window's own copy: it is never without one.
  window.Recovery()->Adopt(copy.path);
  window.appEventsIdle();
}
