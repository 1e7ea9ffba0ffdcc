// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>
#include <QStringList>

class QLabel;
class QToolButton;

// The "Tip of the Day" panel along the top of the main window: an icon, the title, one tip
// drawn at random from the shipped list, and two buttons that each draw another.
class TTipPanel : public QFrame {
  Q_OBJECT

 public:
  // tipsFile: one tip a line; a missing file leaves the list empty and the tip blank.
  TTipPanel(const QString &tipsFile, QWidget *parent);

  const QStringList &lstTips() const { return lstTips_; }
  QString CurrentTip() const;

  // Puts a tip drawn at random, every tip equally likely, into lblTips and repaints it.
  void proChangeTips();

 private:
  static QStringList ReadTips(const QString &tipsFile);

  QStringList lstTips_;
  QLabel *lblTips_;
};
