// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

class QLabel;
class QProgressBar;
class QPushButton;

// The strip a document window shows above its status bar while a long load runs: what is
// being read, how far it has come, and a Cancel button.
class TLoadPanel : public QFrame {
  Q_OBJECT

 public:
  explicit TLoadPanel(QWidget *parent = nullptr);

  void Start(const QString &fileName);
  // From 0 to 1000.
  void SetProgress(int progress);
  QPushButton *btnCancel() const { return btnCancel_; }

 Q_SIGNALS:
  void CancelClicked();

 private:
  QLabel *lblFile_;
  QProgressBar *barProgress_;
  QPushButton *btnCancel_;
};
