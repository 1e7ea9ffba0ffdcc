#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>

// Answers the modal dialogs a test provokes, the way a user would: it waits for each modal
// box to appear, records its title and text, and presses the button with the given caption
// (or rejects the dialog when the answer is empty). Answers are used in order.
class TModalAnswerer : public QObject {
 public:
  explicit TModalAnswerer(QStringList answers = {}) : answers_(std::move(answers)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
    timer_.start();
  }

  void Add(const QString &answer) { answers_ << answer; }

  QStringList texts;   // message texts, line breaks as '\n'
  QStringList titles;  // window titles
  // Called with each dialog before it is answered (to inspect the program's state meanwhile).
  std::function<void(QWidget *)> onShown;

 private:
  void poll() {
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || modal == last_) return;
    last_ = modal;
    titles << modal->windowTitle();
    if (auto *box = qobject_cast<QMessageBox *>(modal)) texts << box->text();
    else texts << QString();
    if (onShown) onShown(modal);
    const QString answer = answers_.isEmpty() ? QString() : answers_.takeFirst();
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
      for (QAbstractButton *b : box->buttons())
        if (b->text() == answer) {
          b->click();
          return;
        }
    }
    if (auto *dialog = qobject_cast<QDialog *>(modal)) dialog->reject();
    else modal->close();
  }

  QStringList answers_;
  QTimer timer_;
  QPointer<QWidget> last_;
};
