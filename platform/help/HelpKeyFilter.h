// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

// F1 in a window other than the main window opens that window's topic: the topic of the help
// context number in the window's "HelpContext" property (an open menu has one), else the topic
// named by its "HelpTopic" property, else the topic whose identifier is the window's class name
// (or that of a class it derives from). F1 there wins over the main window's own F1 command,
// which a tool window of the main window would otherwise run.
class THelpKeyFilter : public QObject {
  Q_OBJECT

 public:
  // show: opens the topic of an identifier; false when there is none. main: the window whose
  // F1 is its own Help|Contents command.
  explicit THelpKeyFilter(std::function<bool(const QString &)> show, QWidget *main = nullptr,
                          QObject *parent = nullptr);

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  bool ShowTopicOf(QWidget *window) const;

  std::function<bool(const QString &)> show_;
  QPointer<QWidget> main_;
};
