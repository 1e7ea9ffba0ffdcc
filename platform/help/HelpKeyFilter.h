#pragma once

#include <QObject>
#include <QString>
#include <functional>

// F1 in a window other than the main window opens that window's topic: the topic of the help
// context number in the window's "HelpContext" property (an open menu has one), else the topic
// whose identifier is the window's class name (or that of a class it derives from).
class THelpKeyFilter : public QObject {
  Q_OBJECT

 public:
  // show: opens the topic of an identifier; false when there is none.
  explicit THelpKeyFilter(std::function<bool(const QString &)> show, QObject *parent = nullptr);

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  std::function<bool(const QString &)> show_;
};
