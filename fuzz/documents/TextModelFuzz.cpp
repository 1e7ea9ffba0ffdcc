// SPDX-License-Identifier: GPL-3.0-or-later
// Any run of edits through cursors (typing, Delete, Backspace, blocks of edits, formats, a whole
// new store) undoes back to the first text and redoes to the last, stepping through the texts
// each step left; a second cursor always stays within the text. Each edit takes four bytes: what
// it does, where, how far and what it types.
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "documents/store/TextModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > 2048) return 0;
  static const QString letters = QStringLiteral("ab \n\r\u00e9\u20ac");
  TTextModel model;
  model.setPlainText(QStringLiteral("one\ntwo three\nfour"));
  model.setModified(true);
  TTextCursor cursor(&model), other(&model);
  other.setPosition(5);
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  std::vector<QString> texts{model.toPlainText()};
  for (size_t at = 0; at + 4 <= size; at += 4) {
    const uint8_t *op = data + at;
    const int length = model.characterCount() - 1;
    cursor.setPosition(op[1] % (length + 1));
    cursor.setPosition(std::min(length, cursor.position() + op[2] % 4), QTextCursor::KeepAnchor);
    const QString typed(letters[op[3] % letters.size()]);
    const int steps = model.availableUndoSteps();
    switch (op[0] % 7) {
      case 0:
        cursor.deleteChar();
        break;
      case 1:
        cursor.deletePreviousChar();
        break;
      case 2:
        cursor.setCharFormat(bold);
        break;
      case 3:
        model.beginEditBlock();
        cursor.insertText(typed);
        cursor.insertText(typed + typed);
        model.endEditBlock();
        break;
      case 4: {
        auto store = std::make_unique<TTextStore>();
        store->SetText(model.toPlainText().left(op[3]));
        model.replaceStore(std::move(store));
        break;
      }
      case 5:
        model.setModified(false);
        break;
      default:
        cursor.insertText(typed);
    }
    if (other.position() > model.characterCount() - 1) std::abort();
    if (model.availableUndoSteps() > steps)
      texts.push_back(model.toPlainText());
    else if (model.availableUndoSteps() == steps && steps > 0)
      texts.back() = model.toPlainText();  // joined the step before
    else if (model.toPlainText() != texts.back())
      std::abort();  // a change that made no step
  }
  for (size_t i = texts.size() - 1; i > 0; --i) {
    if (model.toPlainText() != texts[i]) std::abort();
    model.undo(&cursor);
  }
  if (model.toPlainText() != texts.front() || model.isUndoAvailable()) std::abort();
  while (model.isRedoAvailable()) model.redo(&cursor);
  if (model.toPlainText() != texts.back()) std::abort();
  return 0;
}
