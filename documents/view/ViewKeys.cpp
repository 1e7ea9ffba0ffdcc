// SPDX-License-Identifier: GPL-3.0-or-later
// Keys of the text view: moving the caret, selecting, typing, deleting, shortcuts.
//
// Every caret stop comes from the view's own layout (TViewLayout), never from TTextCursor's
// moves by character, word or line: those lay the whole line out with its QTextLayout, which
// for a line of megabytes takes seconds, and this view does not lay lines out that way.
#include <QKeyEvent>
#include <QScrollBar>
#include <array>
#include <optional>

#include "documents/view/TextView.h"

namespace {

enum class TMove {
  NextChar,
  PreviousChar,
  NextWord,
  PreviousWord,
  NextRow,
  PreviousRow,
  NextPage,
  PreviousPage,
  RowStart,
  RowEnd,
  LineStart,
  LineEnd,
  DocumentStart,
  DocumentEnd,
};

struct TMoveKey {
  QKeySequence::StandardKey key;
  TMove move;
  QTextCursor::MoveMode mode;
};

constexpr auto Move = QTextCursor::MoveAnchor;
constexpr auto Select = QTextCursor::KeepAnchor;

constexpr std::array MoveKeys{
    TMoveKey{QKeySequence::MoveToNextChar, TMove::NextChar, Move},
    TMoveKey{QKeySequence::SelectNextChar, TMove::NextChar, Select},
    TMoveKey{QKeySequence::MoveToPreviousChar, TMove::PreviousChar, Move},
    TMoveKey{QKeySequence::SelectPreviousChar, TMove::PreviousChar, Select},
    TMoveKey{QKeySequence::MoveToNextWord, TMove::NextWord, Move},
    TMoveKey{QKeySequence::SelectNextWord, TMove::NextWord, Select},
    TMoveKey{QKeySequence::MoveToPreviousWord, TMove::PreviousWord, Move},
    TMoveKey{QKeySequence::SelectPreviousWord, TMove::PreviousWord, Select},
    TMoveKey{QKeySequence::MoveToNextLine, TMove::NextRow, Move},
    TMoveKey{QKeySequence::SelectNextLine, TMove::NextRow, Select},
    TMoveKey{QKeySequence::MoveToPreviousLine, TMove::PreviousRow, Move},
    TMoveKey{QKeySequence::SelectPreviousLine, TMove::PreviousRow, Select},
    TMoveKey{QKeySequence::MoveToNextPage, TMove::NextPage, Move},
    TMoveKey{QKeySequence::SelectNextPage, TMove::NextPage, Select},
    TMoveKey{QKeySequence::MoveToPreviousPage, TMove::PreviousPage, Move},
    TMoveKey{QKeySequence::SelectPreviousPage, TMove::PreviousPage, Select},
    TMoveKey{QKeySequence::MoveToStartOfLine, TMove::RowStart, Move},
    TMoveKey{QKeySequence::SelectStartOfLine, TMove::RowStart, Select},
    TMoveKey{QKeySequence::MoveToEndOfLine, TMove::RowEnd, Move},
    TMoveKey{QKeySequence::SelectEndOfLine, TMove::RowEnd, Select},
    TMoveKey{QKeySequence::MoveToStartOfBlock, TMove::LineStart, Move},
    TMoveKey{QKeySequence::SelectStartOfBlock, TMove::LineStart, Select},
    TMoveKey{QKeySequence::MoveToEndOfBlock, TMove::LineEnd, Move},
    TMoveKey{QKeySequence::SelectEndOfBlock, TMove::LineEnd, Select},
    TMoveKey{QKeySequence::MoveToStartOfDocument, TMove::DocumentStart, Move},
    TMoveKey{QKeySequence::SelectStartOfDocument, TMove::DocumentStart, Select},
    TMoveKey{QKeySequence::MoveToEndOfDocument, TMove::DocumentEnd, Move},
    TMoveKey{QKeySequence::SelectEndOfDocument, TMove::DocumentEnd, Select},
};

const TMoveKey *moveKeyOf(const QKeyEvent *event) {
  for (const TMoveKey &key : MoveKeys)
    if (event->matches(key.key)) return &key;
  return nullptr;
}

bool keepsX(TMove move) {
  return move == TMove::NextRow || move == TMove::PreviousRow || move == TMove::NextPage ||
         move == TMove::PreviousPage;
}

bool sameRow(const TTextView::TRowPlace &a, const TTextView::TRowPlace &b) {
  return a.block == b.block && a.row == b.row;
}

// The position at x in the row count rows away; the same position where there is no such row
// (up on the first row, down on the last).
int rowStep(const TTextView &view, int position, int count, qreal x) {
  const TTextView::TRowPlace from = view.rowOf(position);
  const TTextView::TRowPlace to = view.rowFrom(from, count);
  return sameRow(from, to) ? position : view.positionInRow(to, x);
}

// Where a move other than by pages takes the caret.
int movedPosition(const TTextView &view, const TTextCursor &cursor, const TMoveKey &key) {
  const int position = cursor.position();
  const bool collapses = cursor.hasSelection() && key.mode == QTextCursor::MoveAnchor;
  switch (key.move) {
    case TMove::NextChar:
      // A selection collapses to its end without moving further.
      return collapses ? cursor.selectionEnd()
                       : view.nextStop(position, QTextLayout::SkipCharacters);
    case TMove::PreviousChar:
      return collapses ? cursor.selectionStart()
                       : view.previousStop(position, QTextLayout::SkipCharacters);
    case TMove::NextWord:
      return view.nextStop(position, QTextLayout::SkipWords);
    case TMove::PreviousWord:
      return view.previousStop(position, QTextLayout::SkipWords);
    case TMove::NextRow:
    case TMove::PreviousRow: {
      const qreal x = view.wantedX() >= 0 ? view.wantedX() : view.xOf(position);
      return rowStep(view, position, key.move == TMove::NextRow ? 1 : -1, x);
    }
    case TMove::RowStart:
    case TMove::RowEnd: {
      const TTextView::TRowPlace place = view.rowOf(position);
      const TViewLayout *layout = view.viewLayout();
      return place.block.position() + (key.move == TMove::RowStart
                                           ? layout->RowStart(place.block, place.row)
                                           : layout->RowEnd(place.block, place.row));
    }
    case TMove::LineStart:
      return cursor.block().position();
    case TMove::LineEnd:
      return cursor.block().position() + cursor.block().length() - 1;
    case TMove::DocumentStart:
      return 0;
    case TMove::DocumentEnd:
      return view.document()->characterCount() - 1;
    case TMove::NextPage:
    case TMove::PreviousPage:
      break;
  }
  return position;
}

// Text the key types (as a text edit takes it): a printable character, a formatting one
// (joiners, direction marks) or a private-use one, not with Ctrl (AltGr, reported as Ctrl+Alt,
// types) nor with Alt alone (menu mnemonics).
bool isTypedText(const QKeyEvent *event) {
  const QString text = event->text();
  if (text.isEmpty()) return false;
  const QChar first = text.front();
  if (first.category() == QChar::Other_Format) return true;
  const Qt::KeyboardModifiers modifiers =
      event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
  if (modifiers == Qt::ControlModifier || modifiers == Qt::AltModifier) return false;
  if (first.isPrint() || first.category() == QChar::Other_PrivateUse) return true;
  return first.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate();
}

bool isPlainKey(const QKeyEvent *event, Qt::Key key) {
  return event->key() == key && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// Backspace, with Shift too (Ctrl+Backspace deletes a word).
bool isBackspace(const QKeyEvent *event) {
  return event->key() == Qt::Key_Backspace &&
         (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == Qt::NoModifier;
}

// Deletes the selection, or else what lies between the caret and stop.
void deleteTo(TTextCursor &cursor, int stop) {
  if (!cursor.hasSelection()) cursor.setPosition(stop, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
}

// What an editing key puts in place of a selection; nothing for a key that does not replace
// it (a key that is no editing key, or deletes a whole line).
std::optional<QString> selectionReplacement(const TTextView &view, const QKeyEvent *event) {
  if (event->matches(QKeySequence::InsertParagraphSeparator) ||
      event->matches(QKeySequence::InsertLineSeparator))
    return QStringLiteral("\n");
  if (isBackspace(event) || event->matches(QKeySequence::Delete) ||
      event->matches(QKeySequence::DeleteEndOfWord) ||
      event->matches(QKeySequence::DeleteStartOfWord))
    return QString();
  if (isPlainKey(event, Qt::Key_Tab))
    return view.tabChangesFocus() ? std::nullopt : std::optional(QStringLiteral("\t"));
  if (isTypedText(event)) return event->text();
  return std::nullopt;
}

// The editing keys; false for a key that is not one.
bool editKey(TTextView &view, const QKeyEvent *event) {
  TTextCursor cursor = view.textCursor();
  const int position = cursor.position();
  if (event->matches(QKeySequence::Undo)) {
    view.undo();
    return true;
  }
  if (event->matches(QKeySequence::Redo)) {
    view.redo();
    return true;
  }
  if (event->matches(QKeySequence::Cut)) {
    view.cut();
    return true;
  }
  if (event->matches(QKeySequence::Paste)) {
    view.paste();
    return true;
  }
  // A selection that a key replaces may be replaced whole.
  if (cursor.hasSelection()) {
    if (const std::optional<QString> text = selectionReplacement(view, event);
        text && view.replaceSelectionWhole(*text))
      return true;
  }
  // A plain text has no line separator inside a line: Shift+Return starts a new line too.
  if (event->matches(QKeySequence::InsertParagraphSeparator) ||
      event->matches(QKeySequence::InsertLineSeparator)) {
    cursor.insertBlock();
  } else if (isBackspace(event)) {
    cursor.deletePreviousChar();
  } else if (event->matches(QKeySequence::Delete)) {
    deleteTo(cursor, view.nextStop(position, QTextLayout::SkipCharacters));
  } else if (event->matches(QKeySequence::DeleteEndOfWord)) {
    deleteTo(cursor, view.nextStop(position, QTextLayout::SkipWords));
  } else if (event->matches(QKeySequence::DeleteStartOfWord)) {
    deleteTo(cursor, view.previousStop(position, QTextLayout::SkipWords));
  } else if (event->matches(QKeySequence::DeleteCompleteLine)) {
    cursor.setPosition(cursor.block().position());
    deleteTo(cursor, cursor.block().position() + cursor.block().length() - 1);
  } else if (isPlainKey(event, Qt::Key_Tab)) {
    if (view.tabChangesFocus()) return false;
    cursor.insertText(QStringLiteral("\t"));
  } else if (isTypedText(event)) {
    // Overwriting replaces the character after the caret, except at the line's end.
    if (view.overwriteMode() && !cursor.hasSelection() && !cursor.atBlockEnd())
      cursor.setPosition(view.nextStop(position, QTextLayout::SkipCharacters),
                         QTextCursor::KeepAnchor);
    cursor.insertText(event->text());
  } else {
    return false;
  }
  view.moveTo(cursor);
  return true;
}

}  // namespace

bool TTextView::handlesShortcut(QKeyEvent *event) const {
  if (moveKeyOf(event) || event->matches(QKeySequence::Copy) ||
      event->matches(QKeySequence::SelectAll))
    return true;
  if (readOnly_) return false;
  for (const QKeySequence::StandardKey key :
       {QKeySequence::Undo, QKeySequence::Redo, QKeySequence::Cut, QKeySequence::Paste,
        QKeySequence::InsertParagraphSeparator, QKeySequence::InsertLineSeparator,
        QKeySequence::Delete, QKeySequence::DeleteEndOfWord, QKeySequence::DeleteStartOfWord})
    if (event->matches(key)) return true;
  if (isBackspace(event)) return true;
  if (isPlainKey(event, Qt::Key_Tab)) return !tabChangesFocus_;
  return isTypedText(event);
}

void TTextView::keyPressEvent(QKeyEvent *event) {
  if (!document_) {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  if (event->matches(QKeySequence::SelectAll)) {
    selectAll();
  } else if (event->matches(QKeySequence::Copy)) {
    copy();
  } else if (const TMoveKey *key = moveKeyOf(event)) {
    TTextCursor cursor = cursor_;
    if (key->move == TMove::NextPage || key->move == TMove::PreviousPage) {
      // A page of rows down or up, the caret keeping its x; where the caret is in view, the
      // view scrolls as far, so the caret stays at its place on screen.
      const int direction = key->move == TMove::NextPage ? 1 : -1;
      const qreal x = wantedX_ >= 0 ? wantedX_ : xOf(cursor.position());
      const TRowPlace from = rowOf(cursor.position());
      TRowPlace to = from;
      for (int moved = 0; moved < rowsPerPage(); ++moved) {
        const TRowPlace next = rowFrom(to, direction);
        if (sameRow(next, to)) break;
        to = next;
      }
      // Row numbers (and the scroll bar's range) once the rows on the way are laid out.
      const int top = firstVisibleBlock().firstLineNumber() + topRow_;
      const int onScreen = from.block.firstLineNumber() + from.row - top;
      if (onScreen >= 0 && onScreen < rowsPerPage()) {
        updateScrollBars();
        verticalScrollBar()->setValue(to.block.firstLineNumber() + to.row - onScreen);
      }
      if (!sameRow(from, to)) cursor.setPosition(positionInRow(to, x), key->mode);
    } else {
      cursor.setPosition(movedPosition(*this, cursor, *key), key->mode);
    }
    moveTo(cursor, keepsX(key->move));
  } else if (readOnly_ || !editKey(*this, event)) {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  event->accept();
}

bool TTextView::focusNextPrevChild(bool next) {
  if (!tabChangesFocus_ && !readOnly_) return false;
  return QAbstractScrollArea::focusNextPrevChild(next);
}
