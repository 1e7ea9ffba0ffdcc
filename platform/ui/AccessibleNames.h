// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;

// Gives assistive technology a name for every control that has none of its own: the text of
// the label that stands for it (its buddy), else its hint (the long part of a "short|long"
// hint, the tool tip, or the status-bar text). Installed on the application, it names the
// controls of each window as the window is shown.
class TAccessibleNamer : public QObject {
 public:
  using QObject::QObject;

  static void NameControls(QWidget *window);

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;
};
