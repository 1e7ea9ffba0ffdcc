// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/ui/EnterEdit.h"

#include <QKeyEvent>

namespace {

QChar AsciiUpper(QChar ch) {
  return (ch >= u'a' && ch <= u'z') ? QChar(ch.unicode() - ('a' - 'A')) : ch;
}

QChar AsciiLower(QChar ch) {
  return (ch >= u'A' && ch <= u'Z') ? QChar(ch.unicode() + ('a' - 'A')) : ch;
}

}  // namespace

TEnterEdit::TEnterEdit(QWidget *parent) : QLineEdit(parent) {}

void TEnterEdit::keyPressEvent(QKeyEvent *event) {
  const int key = event->key();
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
      !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    focusNextChild();
    event->accept();
    return;
  }
  if ((event->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) == Qt::AltModifier) {
    // Alt with a key is a command (a caption's mnemonic), never text to type.
    event->ignore();
    return;
  }
  if (event->modifiers() & Qt::ControlModifier && (key == Qt::Key_Up || key == Qt::Key_Down)) {
    QString word = text();
    for (qsizetype i = 0; i < word.size(); ++i)
      word[i] = (key == Qt::Key_Up || i == 0) ? AsciiUpper(word[i]) : AsciiLower(word[i]);
    setText(word);
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void TEnterEdit::keyReleaseEvent(QKeyEvent *event) {
  QLineEdit::keyReleaseEvent(event);
  Q_EMIT KeyUp(event->key(), event->modifiers());
}
