// SPDX-License-Identifier: GPL-3.0-or-later
// Keys of the text view: moving the caret, selecting, typing, deleting, shortcuts.
#include <QKeyEvent>

#include "documents/view/TextView.h"

bool TTextView::handlesShortcut(QKeyEvent *) const { return false; }

void TTextView::keyPressEvent(QKeyEvent *event) { QAbstractScrollArea::keyPressEvent(event); }
