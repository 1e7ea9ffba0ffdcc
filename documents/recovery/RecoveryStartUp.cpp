#include "RecoveryStartUp.h"

#include <QFile>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "Folders.h"
#include "RecoveryTracker.h"
#include "RichEdit.h"
#include "fmEdit.h"
#include "fmRecover.h"

namespace {
std::unique_ptr<TRecoveryStore> store;
}  // namespace

void RecoveryStartUp::Begin(QWidget *parent, std::function<TfrmEdit *()> newWindow) {
  store = std::make_unique<TRecoveryStore>();
  if (!store->Ready()) {
    qWarning("Vellumix: recovery copies are off: %s", qPrintable(store->Error()));
    store.reset();
    return;
  }
  TRecoveryStore::SetActive(store.get());
  QTimer::singleShot(0, parent, [parent = QPointer<QWidget>(parent), newWindow = std::move(newWindow)] {
    if (parent) Offer(parent, newWindow);
  });
}

void RecoveryStartUp::End() {
  if (!store) return;
  store->Flush();
  for (const QString &copy : store->OwnCopies()) QFile::remove(copy);
  TRecoveryStore::SetActive(nullptr);
  store.reset();
}

void RecoveryStartUp::Offer(QWidget *parent, const std::function<TfrmEdit *()> &newWindow) {
  TRecoveryStore *active = TRecoveryStore::Active();
  if (!active) return;
  const TRecoveryClaim claim = active->Claim();
  for (const QString &note : claim.notes) qWarning("Vellumix: %s", qPrintable(note));
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
    window.SetUntitled(r.name.isEmpty() ? u' ' + Folders::Home() + QStringLiteral("untitled.txt") : r.name);
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
