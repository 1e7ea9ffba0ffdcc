// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/store/TextModel.h"

#include <algorithm>

// ---- blocks ----

bool TTextBlock::isValid() const {
  return model_ != nullptr && number_ >= 0 && number_ < model_->blockCount();
}

int TTextBlock::position() const {
  return model_ == nullptr ? 0 : int(model_->store().LineStart(number_));
}

int TTextBlock::length() const {
  return model_ == nullptr ? 0 : int(model_->store().LineLength(number_)) + 1;
}

QStringView TTextBlock::textView() const {
  return model_ == nullptr ? QStringView() : model_->store().Line(number_);
}

int TTextBlock::lineCount() const { return int(model_->store().Rows(number_)); }

void TTextBlock::setLineCount(int rows) const { model_->store().SetRows(number_, rows); }

int TTextBlock::firstLineNumber() const { return int(model_->store().FirstRow(number_)); }

TTextStore::TLineData *TTextBlock::userData() const { return model_->store().Data(number_); }

void TTextBlock::setUserData(std::unique_ptr<TTextStore::TLineData> data) const {
  model_->store().SetData(number_, std::move(data));
}

// A line's tag holds the owner's byte in its low half and the paragraph format in its high one.
uint8_t TTextBlock::tag() const { return uint8_t(model_->store().Tag(number_) & 0xFF); }

void TTextBlock::setTag(uint8_t tag) const {
  TTextStore &store = model_->store();
  store.SetTag(number_, uint16_t((store.Tag(number_) & 0xFF00) | tag));
}

int TTextBlock::paragraph() const { return model_->store().Tag(number_) >> 8; }

void TTextBlock::setParagraph(int number) const {
  TTextStore &store = model_->store();
  store.SetTag(number_, uint16_t((store.Tag(number_) & 0xFF) | (std::clamp(number, 0, 255) << 8)));
}

QTextBlockFormat TTextBlock::blockFormat() const {
  return model_->paragraphFormats().value(paragraph());
}

QTextCharFormat TTextBlock::charFormat() const {
  return number_ > 0 ? model_->formatAt(position() - 1) : model_->formats().front();
}

QList<QTextLayout::FormatRange> TTextBlock::textFormats() const {
  QList<QTextLayout::FormatRange> ranges;
  if (!model_->hasFormats()) return ranges;
  const int start = position();
  const int end = start + length() - 1;
  const int own = number_ > 0 ? model_->formatNumberAt(start - 1) : 0;
  // Each run reaches to the next one, or to the line's end.
  const auto runs = model_->runsOf(start, end);
  for (size_t i = 0; i < runs.size(); ++i) {
    const int from = runs[i].start;
    const int to = i + 1 < runs.size() ? runs[i + 1].start : end - start;
    if (runs[i].format != own && to > from)
      ranges.append({from, to - from, model_->formats()[runs[i].format]});
  }
  return ranges;
}

// ---- cursors ----

TTextCursor::TTextCursor(TTextModel *model) { attach(model); }

TTextCursor::TTextCursor(const TTextBlock &block) {
  attach(block.document());
  if (model_ && block.isValid()) position_ = anchor_ = block.position();
}

TTextCursor::TTextCursor(const TTextCursor &other)
    : position_(other.position_), anchor_(other.anchor_), keepOnInsert_(other.keepOnInsert_) {
  attach(other.model_);
}

TTextCursor &TTextCursor::operator=(const TTextCursor &other) {
  if (this == &other) return *this;
  if (model_ != other.model_) {
    detach();
    attach(other.model_);
  }
  position_ = other.position_;
  anchor_ = other.anchor_;
  keepOnInsert_ = other.keepOnInsert_;
  return *this;
}

TTextCursor::~TTextCursor() { detach(); }

void TTextCursor::attach(TTextModel *model) {
  model_ = model;
  if (model_) model_->cursors_.push_back(this);
}

void TTextCursor::detach() {
  if (!model_) return;
  auto &cursors = model_->cursors_;
  cursors.erase(std::find(cursors.begin(), cursors.end(), this));
  model_ = nullptr;
}

void TTextCursor::follow(int from, int removed, int added) {
  const auto adjust = [&](int &at) {
    if (removed > 0 && at > from) at = at < from + removed ? from : at - removed;
    if (added > 0 && (at > from || (at == from && !keepOnInsert_))) at += added;
  };
  adjust(position_);
  adjust(anchor_);
}

void TTextCursor::setPosition(int position, QTextCursor::MoveMode mode) {
  if (!model_) return;
  position_ = std::clamp(position, 0, model_->characterCount() - 1);
  if (mode == QTextCursor::MoveAnchor) anchor_ = position_;
}

bool TTextCursor::movePosition(QTextCursor::MoveOperation operation, QTextCursor::MoveMode mode,
                               int n) {
  if (!model_) return false;
  const int end = model_->characterCount() - 1;
  int at = position_;
  for (int i = 0; i < n; ++i) {
    const TTextBlock here = model_->findBlock(at);
    switch (operation) {
      case QTextCursor::Start:
        at = 0;
        break;
      case QTextCursor::End:
        at = end;
        break;
      case QTextCursor::StartOfBlock:
      case QTextCursor::StartOfLine:
        at = here.position();
        break;
      case QTextCursor::EndOfBlock:
      case QTextCursor::EndOfLine:
        at = here.position() + here.length() - 1;
        break;
      case QTextCursor::NextBlock:
      case QTextCursor::Down:
        if (here.blockNumber() + 1 >= model_->blockCount()) return false;
        at = here.next().position();
        break;
      case QTextCursor::PreviousBlock:
      case QTextCursor::Up:
        if (here.blockNumber() == 0) return false;
        at = here.previous().position();
        break;
      case QTextCursor::NextCharacter:
      case QTextCursor::Right:
        if (at >= end) return false;
        ++at;
        if (at < end && model_->characterAt(at).isLowSurrogate() &&
            model_->characterAt(at - 1).isHighSurrogate())
          ++at;
        break;
      case QTextCursor::PreviousCharacter:
      case QTextCursor::Left:
        if (at <= 0) return false;
        --at;
        if (at > 0 && model_->characterAt(at).isLowSurrogate() &&
            model_->characterAt(at - 1).isHighSurrogate())
          --at;
        break;
      default:
        return false;
    }
    setPosition(at, mode);
  }
  return true;
}

QString TTextCursor::selectedText() const {
  if (!model_) return {};
  QString text = model_->textBetween(selectionStart(), selectionEnd());
  text.replace(u'\n', QChar::ParagraphSeparator);
  return text;
}

TTextBlock TTextCursor::block() const {
  return model_ ? model_->findBlock(position_) : TTextBlock();
}

bool TTextCursor::atEnd() const { return model_ && position_ == model_->characterCount() - 1; }

bool TTextCursor::atBlockStart() const { return model_ && position_ == block().position(); }

bool TTextCursor::atBlockEnd() const {
  if (!model_) return false;
  const TTextBlock here = block();
  return position_ == here.position() + here.length() - 1;
}

void TTextCursor::insertText(const QString &text) {
  if (model_) insertText(text, charFormat());
}

void TTextCursor::insertText(const QString &text, const QTextCharFormat &format) {
  if (!model_) return;
  const int from = selectionStart();
  const int format_ =
      model_->hasFormats() || !format.properties().isEmpty() ? model_->formatNumber(format) : 0;
  model_->replace(from, selectionEnd(), text, format_);
  position_ = anchor_ = from + int(text.size());
}

void TTextCursor::removeSelectedText() {
  if (!model_ || !hasSelection()) return;
  const int from = selectionStart();
  model_->beginEditBlock();
  model_->replace(from, selectionEnd(), QString());
  model_->endEditBlock();
  position_ = anchor_ = from;
}

void TTextCursor::removeCharacter(QTextCursor::MoveOperation direction) {
  if (!model_) return;
  if (hasSelection()) {
    removeSelectedText();
    return;
  }
  if (!movePosition(direction, QTextCursor::KeepAnchor)) return;
  // Not an edit block: Delete and Backspace typed one after another join one undo step.
  const int start = selectionStart();
  model_->replace(start, selectionEnd(), QString());
  position_ = anchor_ = start;
}

void TTextCursor::deleteChar() { removeCharacter(QTextCursor::NextCharacter); }

void TTextCursor::deletePreviousChar() { removeCharacter(QTextCursor::PreviousCharacter); }

void TTextCursor::beginEditBlock() {
  if (model_) model_->beginEditBlock();
}

void TTextCursor::endEditBlock() {
  if (model_) model_->endEditBlock();
}

QTextCharFormat TTextCursor::charFormat() const {
  if (!model_) return {};
  return position_ > 0 ? model_->formatAt(position_ - 1) : model_->formats().front();
}

void TTextCursor::setCharFormat(const QTextCharFormat &format) {
  if (model_ && hasSelection()) model_->setFormat(selectionStart(), selectionEnd(), format);
}

// ---- the model ----

namespace {

bool HasBreak(const QString &text) { return text.contains(u'\n'); }

// The characters Qt's text document takes as the end of a paragraph become line breaks, as
// they would there: a carriage return, the paragraph separator and the marks of a frame.
bool IsBreakCharacter(QChar ch) {
  return ch == u'\r' || ch == QChar::ParagraphSeparator || ch == QChar(0xFDD0) ||
         ch == QChar(0xFDD1);
}

QString WithBreaks(const QString &text) {
  if (std::none_of(text.begin(), text.end(), IsBreakCharacter)) return text;
  QString out = text;
  for (QChar &ch : out)
    if (IsBreakCharacter(ch)) ch = u'\n';
  return out;
}

}  // namespace

// One change and what undoes it: [position, position + removed.size()) held removed and holds
// added. removedTags are the tags of the lines that began after each break in removed, and
// removedRuns the formats of removed (run starts relative to position). A change that swapped
// the whole store keeps the other store instead.
struct TTextModel::TEdit {
  int position = 0;
  QString removed;
  QString added;
  std::vector<uint16_t> removedTags;
  std::vector<TRun> removedRuns;
  int addedFormat = 0;
  std::vector<TRun> addedRuns;  // when added holds several formats
  std::unique_ptr<TTextStore> store;
  int undoAnchor = 0;  // for a swap: what Undo selects, where Redo puts a cursor
  int undoAt = 0;
  int redoAt = 0;
};

struct TTextModel::TStep {
  std::vector<TEdit> edits;
  int tag = 0;
  bool block = false;  // made between beginEditBlock and endEditBlock
};

TTextModel::TTextModel(QObject *parent) : QObject(parent), store_(std::make_unique<TTextStore>()) {}

TTextModel::~TTextModel() {
  for (TTextCursor *cursor : cursors_) cursor->model_ = nullptr;
}

QChar TTextModel::characterAt(int position) const {
  const qsizetype length = store_->Length();
  if (position < 0 || position > length) return {};
  if (position == length) return QChar::ParagraphSeparator;
  const qsizetype line = store_->LineAt(position);
  const qsizetype offset = position - store_->LineStart(line);
  const QStringView text = store_->Line(line);
  return offset < text.size() ? text[offset] : QChar(QChar::ParagraphSeparator);
}

TTextBlock TTextModel::findBlock(int position) const {
  if (position < 0 || position >= characterCount()) return {};
  return {self(), int(store_->LineAt(position))};
}

TTextBlock TTextModel::findBlockByLineNumber(int row) const {
  if (row < 0 || row >= lineCount()) return {};
  return {self(), int(store_->LineAtRow(row))};
}

void TTextModel::setPlainText(const QString &text) {
  const bool undoBefore = isUndoAvailable(), redoBefore = isRedoAvailable();
  const bool modifiedBefore = isModified();
  const int removed = int(store_->Length());
  store_->SetText(WithBreaks(text));
  runs_.clear();
  steps_.clear();
  index_ = cleanIndex_ = 0;
  for (TTextCursor *cursor : cursors_) cursor->position_ = cursor->anchor_ = 0;
  // As two changes, the old text going and the new one coming, as Qt's text document tells it.
  if (removed > 0) Q_EMIT contentsChange(0, removed, 0);
  if (!text.isEmpty()) Q_EMIT contentsChange(0, 0, int(text.size()));
  Q_EMIT contentsChanged();
  reportHistory(undoBefore, redoBefore, modifiedBefore);
}

void TTextModel::appendLoaded(QString text) {
  const int from = int(store_->Length());
  const int added = int(text.size());
  store_->Adopt(std::move(text));
  steps_.clear();
  index_ = 0;
  cleanIndex_ = cleanIndex_ == 0 ? 0 : -1;
  replaceRuns(from, 0, added, 0);
  for (TTextCursor *cursor : cursors_) cursor->follow(from, 0, added);
  announce(from, 0, added);
}

void TTextModel::replaceStore(std::unique_ptr<TTextStore> store, int undoAnchor, int undoAt,
                              int redoAt) {
  TEdit edit;
  edit.undoAnchor = undoAnchor;
  edit.undoAt = undoAt;
  edit.redoAt = redoAt;
  const int removed = int(store_->Length());
  edit.store = std::exchange(store_, std::move(store));
  runs_.clear();
  const int added = int(store_->Length());
  for (TTextCursor *cursor : cursors_) cursor->follow(0, removed, added);
  announce(0, removed, added);
  record(std::move(edit));
}

TTextModel::TEdit TTextModel::apply(int from, int to, const QString &text, int format) {
  TEdit edit;
  edit.position = from;
  edit.removed = store_->Text(from, to);
  edit.added = text;
  const qsizetype firstLine = store_->LineAt(from);
  const qsizetype lastLine = store_->LineAt(to);
  if (store_->HasTags())
    for (qsizetype line = firstLine + 1; line <= lastLine; ++line)
      edit.removedTags.push_back(store_->Tag(line));
  if (hasFormats()) edit.removedRuns = runsOf(from, to);
  if (format < 0) format = from > 0 ? formatNumberAt(from - 1) : 0;
  edit.addedFormat = format;
  store_->Replace(from, to, text);
  replaceRuns(from, to - from, int(text.size()), format);
  for (TTextCursor *cursor : cursors_) cursor->follow(from, to - from, int(text.size()));
  announce(from, to - from, int(text.size()));
  return edit;
}

void TTextModel::applyBack(TEdit &edit, bool undo) {
  if (edit.store) {
    const int removed = int(store_->Length());
    std::swap(store_, edit.store);
    runs_.clear();
    const int added = int(store_->Length());
    for (TTextCursor *cursor : cursors_) cursor->follow(0, removed, added);
    announce(0, removed, added);
    return;
  }
  const int from = edit.position;
  const QString &gone = undo ? edit.added : edit.removed;
  const QString &back = undo ? edit.removed : edit.added;
  const int to = from + int(gone.size());
  store_->Replace(from, to, back);
  if (undo) {
    replaceRuns(from, int(gone.size()), int(back.size()), 0);
    putRuns(from, edit.removedRuns, int(back.size()));
    if (!edit.removedTags.empty()) {
      qsizetype line = store_->LineAt(from);
      size_t i = 0;
      for (qsizetype at = back.indexOf(u'\n'); at >= 0 && i < edit.removedTags.size();
           at = back.indexOf(u'\n', at + 1))
        store_->SetTag(++line, edit.removedTags[i++]);
    }
  } else {
    replaceRuns(from, int(gone.size()), int(back.size()), edit.addedFormat);
    if (!edit.addedRuns.empty()) putRuns(from, edit.addedRuns, int(back.size()));
  }
  for (TTextCursor *cursor : cursors_) cursor->follow(from, int(gone.size()), int(back.size()));
  announce(from, int(gone.size()), int(back.size()));
}

void TTextModel::replace(int from, int to, const QString &text, int format) {
  const int length = int(store_->Length());
  from = std::clamp(from, 0, length);
  to = std::clamp(to, from, length);
  if (from == to && text.isEmpty()) return;
  record(apply(from, to, WithBreaks(text), format));
}

bool TTextModel::join(TEdit &edit) {
  if (blockDepth_ > 0 || index_ == 0 || cleanIndex_ == index_ || edit.store ||
      !edit.addedRuns.empty() || HasBreak(edit.added) || HasBreak(edit.removed))
    return false;
  TStep &top = *steps_.back();
  TEdit &last = top.edits.back();
  if (last.store || !last.addedRuns.empty()) return false;
  // Typing on after an insertion, whether it was a step of its own or the end of one made in
  // a block (a selection typed over, a paste), as long as the insertion did not end a line.
  if (edit.removed.isEmpty() && !last.added.isEmpty() && !last.added.endsWith(u'\n') &&
      edit.position == last.position + last.added.size() && edit.addedFormat == last.addedFormat) {
    last.added += edit.added;
    return true;
  }
  // Delete or Backspace on after a deletion of the same kind that was a step of its own.
  if (top.block || top.edits.size() != 1 || !edit.added.isEmpty() || !last.added.isEmpty() ||
      HasBreak(last.removed))
    return false;
  const auto shifted = [](std::vector<TRun> runs, int by) {
    for (TRun &run : runs) run.start += by;
    return runs;
  };
  if (edit.position == last.position) {  // Delete on
    const auto runs = shifted(edit.removedRuns, int(last.removed.size()));
    last.removedRuns.insert(last.removedRuns.end(), runs.begin(), runs.end());
    last.removed += edit.removed;
    return true;
  }
  if (edit.position + edit.removed.size() == last.position) {  // Backspace on
    auto runs = edit.removedRuns;
    const auto after = shifted(last.removedRuns, int(edit.removed.size()));
    runs.insert(runs.end(), after.begin(), after.end());
    last.removedRuns = std::move(runs);
    last.removed = edit.removed + last.removed;
    last.position = edit.position;
    return true;
  }
  return false;
}

void TTextModel::record(TEdit edit) {
  const bool undoBefore = isUndoAvailable(), redoBefore = isRedoAvailable();
  const bool modifiedBefore = isModified();
  if (!undoEnabled_) {
    if (cleanIndex_ == 0) cleanIndex_ = -1;
    reportHistory(undoBefore, redoBefore, modifiedBefore);
    return;
  }
  steps_.resize(size_t(index_));
  if (cleanIndex_ > index_) cleanIndex_ = -1;
  if (!join(edit)) {
    if (blockDepth_ > 0 && blockStarted_) {
      steps_.back()->edits.push_back(std::move(edit));
    } else {
      auto step = std::make_unique<TStep>();
      step->edits.push_back(std::move(edit));
      step->block = blockDepth_ > 0;
      steps_.push_back(std::move(step));
      ++index_;
      if (blockDepth_ > 0) blockStarted_ = true;
      Q_EMIT undoCommandAdded();
    }
  }
  if (blockDepth_ == 0) dropOldSteps();
  reportHistory(undoBefore, redoBefore, modifiedBefore);
}

void TTextModel::dropOldSteps() {
  if (undoLimit_ <= 0 || index_ <= undoLimit_) return;
  const int drop = index_ - undoLimit_;
  steps_.erase(steps_.begin(), steps_.begin() + drop);
  index_ -= drop;
  if (cleanIndex_ >= 0) cleanIndex_ = cleanIndex_ >= drop ? cleanIndex_ - drop : -1;
}

void TTextModel::beginEditBlock() {
  if (blockDepth_++ == 0) blockStarted_ = false;
}

void TTextModel::endEditBlock() {
  if (blockDepth_ == 0 || --blockDepth_ > 0) return;
  const bool undoBefore = isUndoAvailable(), redoBefore = isRedoAvailable();
  const bool modifiedBefore = isModified();
  dropOldSteps();
  reportHistory(undoBefore, redoBefore, modifiedBefore);
}

void TTextModel::undo(TTextCursor *cursor) {
  if (!isUndoAvailable()) return;
  const bool undoBefore = true, redoBefore = isRedoAvailable();
  const bool modifiedBefore = isModified();
  TStep &step = *steps_[size_t(--index_)];
  for (auto edit = step.edits.rbegin(); edit != step.edits.rend(); ++edit) applyBack(*edit, true);
  if (cursor && !cursor->isNull()) {
    const TEdit &first = step.edits.front();
    if (first.store) {
      cursor->setPosition(first.undoAnchor);
      cursor->setPosition(first.undoAt, QTextCursor::KeepAnchor);
    } else {
      cursor->setPosition(first.position + int(first.removed.size()));
    }
  }
  reportHistory(undoBefore, redoBefore, modifiedBefore);
}

void TTextModel::redo(TTextCursor *cursor) {
  if (!isRedoAvailable()) return;
  const bool undoBefore = isUndoAvailable(), redoBefore = true;
  const bool modifiedBefore = isModified();
  TStep &step = *steps_[size_t(index_++)];
  for (TEdit &edit : step.edits) applyBack(edit, false);
  if (cursor && !cursor->isNull()) {
    const TEdit &last = step.edits.back();
    cursor->setPosition(last.store ? last.redoAt : last.position + int(last.added.size()));
  }
  reportHistory(undoBefore, redoBefore, modifiedBefore);
}

void TTextModel::setLastStepTag(int tag) {
  if (undoEnabled_ && index_ > 0) steps_[size_t(index_) - 1]->tag = tag;
}

int TTextModel::undoTag() const { return isUndoAvailable() ? steps_[size_t(index_) - 1]->tag : 0; }

int TTextModel::redoTag() const { return isRedoAvailable() ? steps_[size_t(index_)]->tag : 0; }

void TTextModel::setUndoRedoEnabled(bool enable) {
  if (enable == undoEnabled_) return;
  if (!enable) clearUndoRedoStacks();
  undoEnabled_ = enable;
}

void TTextModel::clearUndoRedoStacks() {
  const bool undoBefore = isUndoAvailable(), redoBefore = isRedoAvailable();
  const bool modifiedBefore = isModified();
  steps_.clear();
  index_ = 0;
  cleanIndex_ = modifiedBefore ? -1 : 0;
  reportHistory(undoBefore, redoBefore, modifiedBefore);
}

int TTextModel::heldStores() const {
  int held = 0;
  for (const auto &step : steps_)
    for (const TEdit &edit : step->edits) held += edit.store != nullptr;
  return held;
}

void TTextModel::setUndoLimit(int limit) {
  undoLimit_ = std::max(limit, 0);
  if (blockDepth_ == 0) dropOldSteps();
}

bool TTextModel::isModified() const { return cleanIndex_ != index_; }

void TTextModel::setModified(bool modified) {
  const bool before = isModified();
  cleanIndex_ = modified ? -1 : index_;
  if (before != modified) Q_EMIT modificationChanged(modified);
}

void TTextModel::announce(int from, int removed, int added) {
  Q_EMIT contentsChange(from, removed, added);
  Q_EMIT contentsChanged();
}

void TTextModel::reportHistory(bool undoBefore, bool redoBefore, bool modifiedBefore) {
  if (isUndoAvailable() != undoBefore) Q_EMIT undoAvailable(!undoBefore);
  if (isRedoAvailable() != redoBefore) Q_EMIT redoAvailable(!redoBefore);
  if (isModified() != modifiedBefore) Q_EMIT modificationChanged(!modifiedBefore);
}

void TTextModel::setDefaultFont(const QFont &font) {
  if (font == font_ && font.resolveMask() == font_.resolveMask()) return;
  font_ = font;
  Q_EMIT lookChanged();
}

void TTextModel::setDefaultTextOption(const QTextOption &option) {
  option_ = option;
  Q_EMIT lookChanged();
}

void TTextModel::setDocumentMargin(qreal margin) {
  if (margin == margin_) return;
  margin_ = margin;
  Q_EMIT lookChanged();
}

// ---- formats ----

int TTextModel::paragraphNumber(const QTextBlockFormat &format) {
  const qsizetype found = paragraphs_.indexOf(format);
  if (found >= 0) return int(found);
  if (paragraphs_.size() > 255) return 0;
  paragraphs_.append(format);
  return int(paragraphs_.size()) - 1;
}

int TTextModel::formatNumber(const QTextCharFormat &format) {
  const qsizetype found = formats_.indexOf(format);
  if (found >= 0) return int(found);
  formats_.append(format);
  return int(formats_.size()) - 1;
}

int TTextModel::formatNumberAt(int position) const {
  if (runs_.empty()) return 0;
  const auto after = std::upper_bound(runs_.begin(), runs_.end(), position,
                                      [](int at, const TRun &run) { return at < run.start; });
  return after == runs_.begin() ? 0 : std::prev(after)->format;
}

std::vector<TTextModel::TRun> TTextModel::runsOf(int from, int to) const {
  std::vector<TRun> runs{{0, formatNumberAt(from)}};
  auto run = std::upper_bound(runs_.begin(), runs_.end(), from,
                              [](int at, const TRun &r) { return at < r.start; });
  for (; run != runs_.end() && run->start < to; ++run)
    runs.push_back({run->start - from, run->format});
  return runs;
}

void TTextModel::replaceRuns(int from, int removed, int added, int format) {
  if (runs_.empty() && format <= 0) return;
  const int after = formatNumberAt(from + removed);
  std::vector<TRun> runs;
  for (const TRun &run : runs_)
    if (run.start < from) runs.push_back(run);
  if (runs.empty() || runs.front().start != 0) runs.insert(runs.begin(), {0, 0});
  if (added > 0) runs.push_back({from, std::max(format, 0)});
  runs.push_back({from + added, after});
  for (const TRun &run : runs_)
    if (run.start > from + removed) runs.push_back({run.start + added - removed, run.format});
  runs_ = std::move(runs);
  normalizeRuns();
}

void TTextModel::putRuns(int from, const std::vector<TRun> &put, int length) {
  if (length <= 0 || (runs_.empty() && std::all_of(put.begin(), put.end(), [](const TRun &run) {
                        return run.format == 0;
                      })))
    return;
  const int after = formatNumberAt(from + length);
  std::vector<TRun> runs;
  for (const TRun &run : runs_)
    if (run.start < from) runs.push_back(run);
  if (runs.empty() || runs.front().start != 0) runs.insert(runs.begin(), {0, 0});
  for (const TRun &run : put)
    if (run.start < length) runs.push_back({from + run.start, run.format});
  runs.push_back({from + length, after});
  for (const TRun &run : runs_)
    if (run.start > from + length) runs.push_back(run);
  runs_ = std::move(runs);
  normalizeRuns();
}

void TTextModel::normalizeRuns() {
  // Of runs that start at the same place the last one counts; runs past the text go, and so do
  // runs of the same format as the one before them.
  const int length = int(store_->Length());
  std::vector<TRun> runs;
  for (const TRun &run : runs_) {
    if (run.start > length || (run.start == length && length > 0)) continue;
    if (!runs.empty() && runs.back().start == run.start) runs.pop_back();
    if (!runs.empty() && runs.back().format == run.format) continue;
    runs.push_back(run);
  }
  if (runs.size() == 1 && runs.front().format == 0) runs.clear();
  runs_ = std::move(runs);
}

void TTextModel::replaceFormatted(int from, int to, const QString &text,
                                  const std::vector<TRun> &runs) {
  const int length = int(store_->Length());
  from = std::clamp(from, 0, length);
  to = std::clamp(to, from, length);
  if (from == to && text.isEmpty()) return;
  TEdit edit = apply(from, to, WithBreaks(text), 0);
  putRuns(from, runs, int(text.size()));
  edit.addedRuns = runs;
  record(std::move(edit));
}

void TTextModel::setFormat(int from, int to, const QTextCharFormat &format) {
  const int length = int(store_->Length());
  from = std::clamp(from, 0, length);
  to = std::clamp(to, from, length);
  if (from == to) return;
  record(apply(from, to, store_->Text(from, to), formatNumber(format)));
}
