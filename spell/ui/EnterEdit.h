// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

// A single-line edit for a word: Enter moves the focus on, Ctrl+Up upper-cases the text and
// Ctrl+Down lower-cases it with a capital first letter (ASCII letters). These keys are
// consumed. Keys pressed with Alt type nothing. KeyUp reports every released key.
class TEnterEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit TEnterEdit(QWidget *parent = nullptr);

 Q_SIGNALS:
  void KeyUp(int key, Qt::KeyboardModifiers modifiers);

 protected:
  void keyPressEvent(QKeyEvent *event) override;
  void keyReleaseEvent(QKeyEvent *event) override;
};
