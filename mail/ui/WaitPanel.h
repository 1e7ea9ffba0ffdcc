// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

// The status panel at the bottom of the compose window: a line of text, the progress of a
// message being sent and a Cancel button that is shown only while a send runs.
class TWaitPanel : public QFrame {
  Q_OBJECT

 public:
  explicit TWaitPanel(QWidget *parent = nullptr);

  void SetText(const QString &text);
  QString Text() const;
  // Shows sent of total bytes; a total of 0 hides the bar.
  void SetProgress(qint64 sent, qint64 total);
  // Shows or hides the Cancel button; onCancel runs when it is pressed.
  void SetCancel(bool shown, std::function<void()> onCancel = {});
  void Clear();

 private:
  QLabel *lblText_;
  QProgressBar *prgSend_;
  QPushButton *btnCancel_;
  std::function<void()> onCancel_;
};
