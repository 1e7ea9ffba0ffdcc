// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "documents/edit/EditControl.h"

// An edit control that keeps its text in memory: the reference implementation of
// TEditControl for engines that run without a window (tests, command-line tools).
//
// Text is held with '\n' line breaks; Text() converts them to the document's line end.
// Changes made through ReplaceSelection, Cut, Paste, DeleteSelection and TypeText are undo
// steps; changes between BeginEditBlock and EndEditBlock form one step. SetText and Clear
// replace the content without an undo step and clear the history and the modified flag,
// as loading a file does. The clipboard is one text shared by all instances.
class TMemoryEdit : public TEditControl {
 public:
  explicit TMemoryEdit(const QString &text = QString(),
                       const QString &lineEnd = QStringLiteral("\n"));

  QString Text() const override;
  void SetText(const QString &text) override;
  QString LineEnd() const override;
  void SetLineEnd(const QString &lineEnd);
  qsizetype TextLength() const override;
  void Clear() override;

  qsizetype SelStart() const override;
  qsizetype SelLength() const override;
  void SetSelection(qsizetype start, qsizetype length) override;
  QString SelText() const override;
  void ReplaceSelection(const QString &text) override;
  void SelectAll() override;
  QString TextRange(qsizetype start, qsizetype end) const override;
  qsizetype PositionCount() const override;

  void BeginEditBlock() override;
  void EndEditBlock() override;

  void Cut() override;
  void Copy() override;
  void Paste() override;
  void DeleteSelection() override;
  // Inserts text at the selection as the user's typing does (an undo step of kind Typing).
  void TypeText(const QString &text);

  void Undo() override;
  void Redo() override;
  bool CanUndo() const override;
  bool CanRedo() const override;
  TUndoKind UndoKind() const override;
  TUndoKind RedoKind() const override;
  int UndoLimit() const;
  void SetUndoLimit(int limit);

  bool Modified() const override;
  quint64 ChangeCount() const override { return changeCount_; }
  void SetModified(bool modified) override;

  bool HideSelection() const override;
  void SetHideSelection(bool hide) override;

  void SetFocus() override;
  bool HasFocus() const;
  void Repaint() override;
  QPoint ClientOrigin() const override;
  // A fixed grid of CharWidth x LineHeight pixels per character, from ClientOrigin().
  QPoint PositionToScreen(qsizetype position) const override;

  int CaretLine() const override;
  int CaretColumn() const override;
  QString CaretWord() const override;

  TTextAlignment Alignment() const override;
  void SetAlignment(TTextAlignment alignment) override;
  bool WordWrap() const override;
  void SetWordWrap(bool wrap) override;

  void HoldUpdates() override;
  void ReleaseUpdates() override;
  bool UpdatesHeld() const;
  int RepaintCount() const;

  // The shared clipboard of all in-memory controls.
  static QString ClipboardText();
  static void SetClipboardText(const QString &text);

  static constexpr int CharWidth = 8;
  static constexpr int LineHeight = 16;

 private:
  // One primitive change: at position, removed was replaced by inserted.
  struct TChange {
    qsizetype position;
    QString removed;
    QString inserted;
  };
  struct TStep {
    TUndoKind kind = TUndoKind::Unknown;
    std::vector<TChange> changes;
    qsizetype selStartBefore = 0;
    qsizetype selLengthBefore = 0;
  };

  void ReplaceSelectionAs(const QString &text, TUndoKind kind);
  void ApplyChange(qsizetype position, qsizetype removeLength, const QString &inserted);
  void PushStep(TStep step);
  void DropOldestStep();
  qsizetype Caret() const;

  QString text_;
  QString lineEnd_;
  qsizetype selStart_ = 0;
  qsizetype selLength_ = 0;
  std::vector<TStep> undo_;
  std::vector<TStep> redo_;
  TStep openStep_;
  int blockDepth_ = 0;
  // Size of the undo history at which the text was last saved; none when unreachable.
  std::optional<size_t> cleanIndex_ = 0;
  int undoLimit_ = 100;
  quint64 changeCount_ = 0;
  bool hideSelection_ = false;
  bool focused_ = false;
  int holdDepth_ = 0;
  int repaintCount_ = 0;
  TTextAlignment alignment_ = TTextAlignment::Left;
  bool wordWrap_ = true;
};
