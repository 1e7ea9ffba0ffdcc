#pragma once

#include <functional>

#include "RecoveryStore.h"

class QWidget;
class TfrmEdit;

// Recovery copies over the life of the program: started with the main window, offered at
// start-up when a program ended without closing its documents, ended at an orderly exit.
namespace RecoveryStartUp {

// Starts keeping recovery copies (the store in its default folder), then, once the event loop
// runs, offers the copies no running program owns. newWindow opens a new untitled document
// window, into which a recovered document is put.
void Begin(QWidget *parent, std::function<TfrmEdit *()> newWindow);

// The orderly end of the program: every document was saved or closed on purpose, so the
// copies left are removed and the lock released.
void End();

// The offer itself: the window, then the choice carried out.
void Offer(QWidget *parent, const std::function<TfrmEdit *()> &newWindow);

// Puts a found copy into a document window: its text, name, format and caret; modified, and
// with the file as it was when read, so that a save notices a file changed since.
void Restore(TfrmEdit &window, const TFoundCopy &copy);

}  // namespace RecoveryStartUp
