// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QString>

// The operations the rest of the program relies on in a document's edit control. Engines
// (saving, text transformations, find and replace, the spell checker's buffers, word count)
// reach an edit control only through this interface; the document window implements it on a
// widget, and tests use an in-memory implementation.
//
// Positions: a line break counts as ONE position everywhere in this interface (selection,
// ranges, caret). Texts returned by SelText and TextRange, and texts passed to
// ReplaceSelection, use '\n' for a line break. Text() alone returns the whole text with the
// document's own line end (LineEnd()), which is what callers that count "a line break as the
// length of the line end" work on.

enum class TUndoKind { Unknown = 0, Typing = 1, Delete = 2, DragDrop = 3, Cut = 4, Paste = 5 };

enum class TTextAlignment { Left, Right, Center };

class TEditControl {
 public:
  virtual ~TEditControl() = default;

  // Whole text, line breaks as LineEnd().
  virtual QString Text() const = 0;
  // Replaces the whole text; "\r\n", '\r' and '\n' are all taken as line breaks. Not an undo step.
  virtual void SetText(const QString &text) = 0;
  // "\r\n", "\n" or "\r": the line end of the document's file.
  virtual QString LineEnd() const = 0;
  // Length of Text().
  virtual qsizetype TextLength() const = 0;
  virtual void Clear() = 0;

  // Selection; the caret stands at SelStart() + SelLength() after SetSelection.
  virtual qsizetype SelStart() const = 0;
  virtual qsizetype SelLength() const = 0;
  virtual void SetSelection(qsizetype start, qsizetype length) = 0;
  virtual QString SelText() const = 0;
  // Replaces the selection by text; the caret then stands after the inserted text. One undo
  // step of unknown kind.
  virtual void ReplaceSelection(const QString &text) = 0;
  virtual void SelectAll() = 0;
  // Characters [start, end) of the text with line breaks counted once.
  virtual QString TextRange(qsizetype start, qsizetype end) const = 0;
  // Number of positions (line breaks counted once).
  virtual qsizetype PositionCount() const = 0;

  // Groups the changes made between the calls into one undo step (nests).
  virtual void BeginEditBlock() = 0;
  virtual void EndEditBlock() = 0;

  virtual void Cut() = 0;
  virtual void Copy() = 0;
  virtual void Paste() = 0;
  // Deletes the selection.
  virtual void DeleteSelection() = 0;

  virtual void Undo() = 0;
  virtual void Redo() = 0;
  virtual bool CanUndo() const = 0;
  virtual bool CanRedo() const = 0;
  virtual TUndoKind UndoKind() const = 0;
  virtual TUndoKind RedoKind() const = 0;

  virtual bool Modified() const = 0;
  // Grows with every change of the text (typing, commands, undo and redo, loads) and never
  // goes back, so a change can be noticed without touching the modified flag.
  virtual quint64 ChangeCount() const = 0;
  virtual void SetModified(bool modified) = 0;

  virtual bool HideSelection() const = 0;
  virtual void SetHideSelection(bool hide) = 0;

  virtual void SetFocus() = 0;
  virtual void Repaint() = 0;
  // Screen position of the control's client area (for placing dialogs out of the way).
  virtual QPoint ClientOrigin() const = 0;
  // Screen rectangle's top-left and height of the character at a position, for dialogs that
  // move out of the way of a found occurrence.
  virtual QPoint PositionToScreen(qsizetype position) const = 0;

  // Display line (wrapped lines count separately) and column of the caret, both from 0.
  virtual int CaretLine() const = 0;
  virtual int CaretColumn() const = 0;
  // The word at or before the caret, trimmed of blanks; empty at the start of the text.
  virtual QString CaretWord() const = 0;

  virtual TTextAlignment Alignment() const = 0;
  virtual void SetAlignment(TTextAlignment alignment) = 0;
  virtual bool WordWrap() const = 0;
  virtual void SetWordWrap(bool wrap) = 0;

  // Hold back screen updates (nests); Release shows the result.
  virtual void HoldUpdates() = 0;
  virtual void ReleaseUpdates() = 0;
};
