// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <functional>

#include "documents/recovery/RecoveryStore.h"

class QAction;
class QWidget;
class TfrmEdit;

// Recovery copies and the last session over the life of the program: started with the main
// window, offered at start-up when a program ended without closing its documents, ended at an
// orderly exit.
namespace RecoveryStartUp {

// What the start-up needs of the main window.
struct THooks {
  QAction *reopenSession = nullptr;                     // Options|Reopen Last Session
  std::function<TfrmEdit *()> newWindow;                // a new untitled document window
  std::function<TfrmEdit *(const QString &)> openFile;  // a document window for a file
};

// Starts keeping recovery copies (the store in its default folder) and sets the check mark of
// Reopen Last Session; once the event loop runs, reopens the last session when that is on and
// offers the copies no running program owns.
void Begin(QWidget *parent, THooks hooks);

// Options|Reopen Last Session: stores the item's new state at once.
void SetReopenSession(bool on);
bool ReopenSession();

// An exit begins: with Reopen Last Session on, the open documents are remembered and each
// untitled document with text is kept as a copy of the session, so that it closes without a
// question. ExitCancelled takes that back when a document refused to close.
void ExitStarts(const QList<TfrmEdit *> &windows);
void ExitCancelled(const QList<TfrmEdit *> &windows);

// The orderly end of the program: every document was saved, closed on purpose or kept for
// the session; the other copies are removed, the session list is stored and the lock released.
void End();

// The offer itself: the window, then the choice carried out. Copies kept for the session come
// back without a question when Reopen Last Session is on.
void Offer(QWidget *parent, const std::function<TfrmEdit *()> &newWindow);

// Puts a found copy into a document window: its text, name, format and caret; modified, and
// with the file as it was when read, so that a save notices a file changed since.
void Restore(TfrmEdit &window, const TFoundCopy &copy);

}  // namespace RecoveryStartUp
