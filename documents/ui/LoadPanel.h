// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>

class QLabel;
class QProgressBar;
class QPushButton;

// The strip a document window shows above its status bar while a long load or other long
// work on its text runs: what runs, how far it has come, and a Cancel button.
class TLoadPanel : public QFrame {
  Q_OBJECT

 public:
  explicit TLoadPanel(QWidget *parent = nullptr);

  // A load: "Opening <file>".
  void Start(const QString &fileName);
  // Any other long work, named by its caption ("Replacing...").
  void StartWork(const QString &caption);
  // From 0 to 1000.
  void SetProgress(int progress);
  int Progress() const;
  QPushButton *btnCancel() const { return btnCancel_; }

 Q_SIGNALS:
  void CancelClicked();

 private:
  QLabel *lblFile_;
  QProgressBar *barProgress_;
  QPushButton *btnCancel_;
};
