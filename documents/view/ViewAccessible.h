// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>
#include <QPair>

class TTextView;

// What a screen reader sees of a text view: editable, multi-line text it can read by
// character, word, sentence, row ("line": a row of the view, as the caret moves up and down)
// and line ("paragraph"), with the view's caret and selection, and which it can edit (each
// edit one undo step; none in a read-only view). A query about one place reads only the text
// around it, never the whole document, which may be hundreds of megabytes.
//
// Offsets are the document's positions: a line break counts one character, read as '\n'.
class TViewAccessible : public QAccessibleWidget,
                        public QAccessibleTextInterface,
                        public QAccessibleEditableTextInterface {
 public:
  explicit TViewAccessible(TTextView *view);

  // Makes every TTextView (and every class derived from it) answer with a TViewAccessible;
  // the first call does it, later ones do nothing.
  static void Install();
  // What the view reports to screen readers (only while one listens): a change of the text
  // (from the document's contentsChange, while the change is made) and a move of the caret
  // or of the selection.
  static void TextChanged(TTextView *view, int from, int removed, int added);
  static void CursorMoved(TTextView *view, bool moved, bool selectionMoved);
  // Where the reports go: to Qt, which passes them to the screen reader while one listens,
  // or, when set, to a listener that gets them all (tests watch what typing reports, where no
  // screen reader can be started). nullptr: to Qt again.
  using TListener = void (*)(QAccessibleEvent *event);
  static void SetListener(TListener listener);

  // Changes larger than this many characters are reported with their text cut to it, so
  // that a huge paste or a new text does not send hundreds of megabytes to the screen reader.
  static constexpr int ReportedChars = 1 << 20;

  // QAccessibleInterface
  QAccessible::State state() const override;
  void *interface_cast(QAccessible::InterfaceType type) override;

  // QAccessibleTextInterface
  void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
  int selectionCount() const override;
  void addSelection(int startOffset, int endOffset) override;
  void removeSelection(int selectionIndex) override;
  void setSelection(int selectionIndex, int startOffset, int endOffset) override;
  int cursorPosition() const override;
  void setCursorPosition(int position) override;
  QString text(int startOffset, int endOffset) const override;
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                           int *endOffset) const override;
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                          int *endOffset) const override;
  QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                       int *endOffset) const override;
  int characterCount() const override;
  QRect characterRect(int offset) const override;
  int offsetAtPoint(const QPoint &point) const override;
  void scrollToSubstring(int startIndex, int endIndex) override;
  QString attributes(int offset, int *startOffset, int *endOffset) const override;

  // QAccessibleEditableTextInterface
  void deleteText(int startOffset, int endOffset) override;
  void insertText(int offset, const QString &text) override;
  void replaceText(int startOffset, int endOffset, const QString &text) override;

  using QAccessibleWidget::text;

 private:
  TTextView *view() const;
  int clamped(int offset) const;
  // The range [start, end) of the piece of text of a kind that holds offset; empty at the end
  // of the text.
  QPair<int, int> rangeAt(int offset, QAccessible::TextBoundaryType boundaryType) const;
  QPair<int, int> rowAt(int offset) const;
  QPair<int, int> itemAt(int offset, QAccessible::TextBoundaryType boundaryType) const;
  QString answer(QPair<int, int> range, int *startOffset, int *endOffset) const;
};
