// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QObject>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextLayout>
#include <QTextOption>
#include <memory>
#include <vector>

#include "documents/store/TextStore.h"

class TTextModel;

// A line of a TTextModel, named after Qt's text block so that code written for Qt's text
// document reads the same: a handle (the model and the line's number) that is valid until the
// lines before it change. length() counts the line's break, as a block counts its separator.
class TTextBlock {
 public:
  TTextBlock() = default;
  TTextBlock(TTextModel *model, int number) : model_(model), number_(number) {}

  bool isValid() const;
  TTextModel *document() const { return model_; }
  int blockNumber() const { return number_; }
  int position() const;
  int length() const;
  QString text() const { return textView().toString(); }
  // The line's characters in place, valid until the model next changes.
  QStringView textView() const;
  TTextBlock next() const { return {model_, number_ + 1}; }
  TTextBlock previous() const { return {model_, number_ - 1}; }

  // Rows as a view laid the line out (1 until it did), and the rows before it.
  int lineCount() const;
  void setLineCount(int rows) const;
  int firstLineNumber() const;
  // What a view keeps with the line (owned by the model).
  TTextStore::TLineData *userData() const;
  void setUserData(std::unique_ptr<TTextStore::TLineData> data) const;
  // A byte the model's owner gives the line (a plain text's kind of the break in front of it).
  uint8_t tag() const;
  void setTag(uint8_t tag) const;
  // Rich text: the line's paragraph format (a number of the model's paragraphFormats()).
  int paragraph() const;
  void setParagraph(int number) const;
  QTextBlockFormat blockFormat() const;

  // Rich text: the format of the break in front of the line (the line's own, for an empty
  // line), and the stretches of the line's text whose format differs from it.
  QTextCharFormat charFormat() const;
  QList<QTextLayout::FormatRange> textFormats() const;

  bool operator==(const TTextBlock &other) const {
    return model_ == other.model_ && number_ == other.number_;
  }
  bool operator!=(const TTextBlock &other) const { return !(*this == other); }

 private:
  TTextModel *model_ = nullptr;
  int number_ = -1;
};

// A place in a TTextModel, or a selection (anchor and position), that follows the model's
// changes as Qt's text cursor follows its document's: a change before it moves it, text
// inserted where it stands goes in front of it, and a removal around it leaves it where the
// removal was. Its editing calls make undo steps as Qt's do. A cursor whose model is destroyed
// becomes null.
class TTextCursor {
 public:
  TTextCursor() = default;
  explicit TTextCursor(TTextModel *model);
  explicit TTextCursor(const TTextBlock &block);
  TTextCursor(const TTextCursor &other);
  TTextCursor &operator=(const TTextCursor &other);
  ~TTextCursor();

  bool isNull() const { return model_ == nullptr; }
  TTextModel *document() const { return model_; }

  int position() const { return position_; }
  int anchor() const { return anchor_; }
  void setPosition(int position, QTextCursor::MoveMode mode = QTextCursor::MoveAnchor);
  // Start, End, StartOfBlock, EndOfBlock, NextBlock, PreviousBlock, NextCharacter,
  // PreviousCharacter, Left, Right, Up and Down (as blocks); false when it could not move.
  bool movePosition(QTextCursor::MoveOperation operation,
                    QTextCursor::MoveMode mode = QTextCursor::MoveAnchor, int n = 1);
  bool hasSelection() const { return anchor_ != position_; }
  int selectionStart() const { return std::min(anchor_, position_); }
  int selectionEnd() const { return std::max(anchor_, position_); }
  // The selected characters, each line break as QChar::ParagraphSeparator (as Qt's cursor).
  QString selectedText() const;
  void clearSelection() { anchor_ = position_; }
  TTextBlock block() const;
  bool atStart() const { return position_ == 0; }
  bool atEnd() const;
  bool atBlockStart() const;
  bool atBlockEnd() const;
  // Text inserted here stays behind the cursor (the cursor keeps its place) when set.
  bool keepPositionOnInsert() const { return keepOnInsert_; }
  void setKeepPositionOnInsert(bool keep) { keepOnInsert_ = keep; }

  // Replaces the selection by text; rich text: in the format of the character before the
  // cursor, or the one given.
  void insertText(const QString &text);
  void insertText(const QString &text, const QTextCharFormat &format);
  // A line break (a step of its own, as any text holding one).
  void insertBlock() { insertText(QStringLiteral("\n")); }
  // An undo step of its own, never joined by the next.
  void removeSelectedText();
  // Delete and Backspace: the selection when there is one, else a character (a surrogate pair
  // whole).
  void deleteChar();
  void deletePreviousChar();
  void beginEditBlock();
  void endEditBlock();

  // The format typed text takes here.
  QTextCharFormat charFormat() const;
  // Gives the selection's characters a format.
  void setCharFormat(const QTextCharFormat &format);

  bool operator==(const TTextCursor &other) const {
    return model_ == other.model_ && position_ == other.position_ && anchor_ == other.anchor_;
  }

 private:
  friend class TTextModel;
  void attach(TTextModel *model);
  void detach();
  // Follows a change of the model: removed characters at from became added ones.
  void follow(int from, int removed, int added);
  void removeCharacter(QTextCursor::MoveOperation direction);

  TTextModel *model_ = nullptr;
  int position_ = 0;
  int anchor_ = 0;
  bool keepOnInsert_ = false;
};

// A plain or rich text document held in a TTextStore, with undo and redo, the modified flag,
// cursors that follow its changes and the look a view gives it; its programming interface
// follows Qt's text document where it has the same job, and so do its signals (contentsChange
// is sent for each change as it is made).
//
// Undo: each change is a step, except that changes made between beginEditBlock and
// endEditBlock (which nest) are one, and that, while the document is modified and as in Qt's
// text document, text typed right after an insertion (a step's last) joins that step unless a
// line break is among them, and a character deleted next to one deleted before (forward or
// back, a step of its own) joins it. A step keeps the characters it removed with their tags and
// formats, so undoing it brings them back as they were. The undo limit drops the oldest steps
// beyond it.
//
// Rich text: a document may give its characters formats (QTextCharFormat), kept as runs of
// positions with the same format; a plain document has none and pays nothing for them.
class TTextModel : public QObject {
  Q_OBJECT

 public:
  explicit TTextModel(QObject *parent = nullptr);
  ~TTextModel() override;

  TTextStore &store() { return *store_; }
  const TTextStore &store() const { return *store_; }

  // Positions: characterCount() is the text's length plus one (a text document's last
  // position after its end, as Qt counts it).
  int characterCount() const { return int(store_->Length()) + 1; }
  int blockCount() const { return int(store_->LineCount()); }
  // Rows of the whole text as laid out (a line not laid out counts one).
  int lineCount() const { return int(store_->RowCount()); }
  // The character at a position; a line break is QChar::ParagraphSeparator, as in Qt.
  QChar characterAt(int position) const;
  QString toPlainText() const { return store_->Text(); }
  // Characters [from, to), each line break as '\n'.
  QString textBetween(int from, int to) const { return store_->Text(from, to); }
  bool isEmpty() const { return store_->Length() == 0; }

  // Blocks are handles that may change what they refer to, as Qt's are, from a const model too.
  TTextBlock begin() const { return {self(), 0}; }
  TTextBlock firstBlock() const { return begin(); }
  TTextBlock lastBlock() const { return {self(), blockCount() - 1}; }
  TTextBlock findBlock(int position) const;
  TTextBlock findBlockByNumber(int number) const { return {self(), number}; }
  // The block that holds a row of the layout.
  TTextBlock findBlockByLineNumber(int row) const;

  // Replaces the whole text; no undo step, the history is cleared, not modified.
  void setPlainText(const QString &text);
  void clear() { setPlainText(QString()); }
  // Adds text to the end without an undo step (loading a file): read in place where it starts
  // a line (see TTextStore::Adopt).
  void appendLoaded(QString text);
  // The whole text as an undo step that swaps stores: undoing it shows the store replaced
  // again, whatever its size. Plain text only (formats are dropped). A cursor given to Undo
  // selects [undoAnchor, undoAt] (the selection the step replaced), one given to Redo goes to
  // redoAt.
  void replaceStore(std::unique_ptr<TTextStore> store, int undoAnchor = 0, int undoAt = 0,
                    int redoAt = 0);

  // The change every editing call comes down to: [from, to) becomes text, in format (-1: that
  // of the character before from), as (part of) an undo step. As in Qt's text document, a
  // carriage return, a paragraph separator and a frame's marks go in as line breaks.
  void replace(int from, int to, const QString &text, int format = -1);

  // Undo and redo; a cursor given is put where the step was (after what came back).
  bool isUndoRedoEnabled() const { return undoEnabled_; }
  // Turning it off clears the history.
  void setUndoRedoEnabled(bool enable);
  void undo(TTextCursor *cursor = nullptr);
  void redo(TTextCursor *cursor = nullptr);
  bool isUndoAvailable() const { return undoEnabled_ && index_ > 0; }
  bool isRedoAvailable() const { return undoEnabled_ && index_ < int(steps_.size()); }
  int availableUndoSteps() const { return undoEnabled_ ? index_ : 0; }
  int availableRedoSteps() const { return undoEnabled_ ? int(steps_.size()) - index_ : 0; }
  void clearUndoRedoStacks();
  // Whole stores the history holds for Undo and Redo (replaceStore).
  int heldStores() const;
  // Steps kept (0: no limit); the oldest ones beyond it are dropped.
  int undoLimit() const { return undoLimit_; }
  void setUndoLimit(int limit);
  void beginEditBlock();
  void endEditBlock();
  // A number the owner keeps with the newest step (its kind), and those of the steps Undo and
  // Redo would take (0: none).
  void setLastStepTag(int tag);
  int undoTag() const;
  int redoTag() const;

  bool isModified() const;
  void setModified(bool modified = true);

  // How the text looks; a change of it is told by lookChanged.
  QFont defaultFont() const { return font_; }
  void setDefaultFont(const QFont &font);
  QTextOption defaultTextOption() const { return option_; }
  void setDefaultTextOption(const QTextOption &option);
  qreal documentMargin() const { return margin_; }
  void setDocumentMargin(qreal margin);

  // Rich text.
  bool hasFormats() const { return !runs_.empty(); }
  // Paragraph formats by number (0: the plain one); at most 256, further ones count as plain.
  const QList<QTextBlockFormat> &paragraphFormats() const { return paragraphs_; }
  int paragraphNumber(const QTextBlockFormat &format);
  // The formats in use, by number (0: the plain one).
  const QList<QTextCharFormat> &formats() const { return formats_; }
  int formatNumber(const QTextCharFormat &format);
  int formatNumberAt(int position) const;
  QTextCharFormat formatAt(int position) const { return formats_[formatNumberAt(position)]; }
  // Gives [from, to) a format, as an undo step.
  void setFormat(int from, int to, const QTextCharFormat &format);
  // A stretch of text in one format (a number of formats()), from start on to the next run.
  struct TRun {
    int start;
    int format;
  };
  // [from, to) becomes text in the formats of runs (starts relative to from; the first at 0).
  void replaceFormatted(int from, int to, const QString &text, const std::vector<TRun> &runs);
  // The runs of [from, to), starts relative to from.
  std::vector<TRun> runsOf(int from, int to) const;

 Q_SIGNALS:
  void contentsChange(int from, int removed, int added);
  void contentsChanged();
  void undoAvailable(bool available);
  void redoAvailable(bool available);
  void modificationChanged(bool modified);
  // A new undo step was started (not sent when a change joined the step before it).
  void undoCommandAdded();
  // The font, text option or margin changed: everything is to be laid out again.
  void lookChanged();

 private:
  friend class TTextCursor;
  friend class TTextBlock;
  TTextModel *self() const { return const_cast<TTextModel *>(this); }
  struct TEdit;
  struct TStep;
  // Makes the change, tells cursors and views; returns the edit that undoes it... as an edit.
  TEdit apply(int from, int to, const QString &text, int format);
  void applyBack(TEdit &edit, bool undo);
  void record(TEdit edit);
  // Adds the edit to the newest step where Qt's text document would (see the class comment).
  bool join(TEdit &edit);
  void announce(int from, int removed, int added);
  void reportHistory(bool undoBefore, bool redoBefore, bool modifiedBefore);
  void dropOldSteps();
  // Runs: replacing those of a stretch.
  void replaceRuns(int from, int removed, int added, int format);
  void putRuns(int from, const std::vector<TRun> &runs, int length);
  void normalizeRuns();

  std::unique_ptr<TTextStore> store_;
  std::vector<TTextCursor *> cursors_;
  std::vector<std::unique_ptr<TStep>> steps_;
  int index_ = 0;       // steps before it are done, those from it on undone
  int cleanIndex_ = 0;  // index_ at which the text is as saved; -1: none
  bool undoEnabled_ = true;
  int undoLimit_ = 0;
  int blockDepth_ = 0;
  bool blockStarted_ = false;  // the open edit block has made its step
  QFont font_;
  QTextOption option_;
  qreal margin_ = 4;
  QList<QTextCharFormat> formats_{QTextCharFormat()};
  QList<QTextBlockFormat> paragraphs_{QTextBlockFormat()};
  std::vector<TRun> runs_;  // empty: every character plain
};
