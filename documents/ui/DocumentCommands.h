// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

class QWidget;
class TEditHost;
class TfrmEdit;
class TRichEdit;

// The Character menu's commands on a document window: alignment, word wrap, the date and
// time stamp and Paste Special. The main window decides which window they act on.
namespace CharacterCommands {

// Left (tag 0), Right (1) or Center (2) for every line of the document.
void Align(TRichEdit &memo, int tag);
// Word wrap on or off in every given window and, through the stored edit settings, in the
// windows opened later. A setting that cannot be written is reported over parent.
void SetWordWrap(const QList<TfrmEdit *> &windows, bool wrap, QWidget *parent);
// The date and time at the caret in the chosen formats (the holders' indexes).
void InsertDateTime(TRichEdit &memo, const QString &dateIndex, const QString &timeIndex);
// Asks for the clipboard's form and inserts it at the caret.
void PasteSpecial(TfrmEdit &window, TEditHost &host);

}  // namespace CharacterCommands

// The Search menu's commands on a document window.
namespace SearchCommands {

void Find(TfrmEdit &window, TEditHost &host);
void Replace(TfrmEdit &window, TEditHost &host);
// Repeats the window's last search; "Cannot find" when there is no further match.
void FindNext(TfrmEdit &window);

}  // namespace SearchCommands
