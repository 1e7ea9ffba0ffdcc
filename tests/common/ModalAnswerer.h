// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>

// Answers the modal dialogs a test provokes, the way a user would: it sees each modal box as
// it is shown, records its title and text, and presses the button with the given caption (or
// rejects the dialog when the answer is empty; "file:<path>" picks a file in a file dialog).
// Answers are used in order. It watches the application's show events rather than polling,
// so a box is answered as soon as its event loop runs, however fast or slow the build.
class TModalAnswerer : public QObject {
 public:
  explicit TModalAnswerer(QStringList answers = {}) : answers_(std::move(answers)) {
    qApp->installEventFilter(this);
    // A box that was already open when the test began is answered too.
    QTimer::singleShot(0, this, [this] {
      if (QWidget *modal = QApplication::activeModalWidget()) Seen(modal);
    });
  }
  ~TModalAnswerer() override { qApp->removeEventFilter(this); }

  void Add(const QString &answer) { answers_ << answer; }

  QStringList texts;   // message texts, line breaks as '\n'
  QStringList titles;  // window titles
  // Called with each dialog before it is answered (to inspect the program's state meanwhile).
  std::function<void(QWidget *)> onShown;

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
      auto *widget = static_cast<QWidget *>(watched);
      if (widget->isWindow() && widget->isModal())
        // After the show has finished: the dialog's own event loop answers it.
        QTimer::singleShot(0, widget, [this, widget] {
          if (widget->isVisible() && QApplication::activeModalWidget() == widget) Seen(widget);
        });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void Seen(QWidget *modal) {
    if (answered_.contains(modal)) return;
    answered_.removeAll(nullptr);
    answered_ << modal;
    titles << modal->windowTitle();
    if (auto *box = qobject_cast<QMessageBox *>(modal)) texts << box->text();
    else texts << QString();
    if (onShown) onShown(modal);
    if (!modal->isVisible()) return;  // onShown answered it itself
    const QString answer = answers_.isEmpty() ? QString() : answers_.takeFirst();
    // Answered from a fresh event, so that a box the answer opens in turn (an overwrite
    // question, say) is seen as it shows.
    QTimer::singleShot(0, modal, [modal, answer] { Answer(modal, answer); });
  }

  static void Answer(QWidget *modal, const QString &answer) {
    // "file:<path>" chooses that file in a file dialog.
    if (auto *files = qobject_cast<QFileDialog *>(modal); files && answer.startsWith(QLatin1String("file:"))) {
      files->selectFile(answer.mid(5));
      // The name box decides what the dialog returns; type the full path into it.
      if (auto *name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))) name->setText(answer.mid(5));
      static_cast<QDialog *>(files)->accept();  // QFileDialog::accept, through the public slot
      return;
    }
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
      for (QAbstractButton *b : box->buttons())
        if (QString(b->text()).remove(u'&') == QString(answer).remove(u'&')) {
          b->click();
          return;
        }
    }
    if (auto *dialog = qobject_cast<QDialog *>(modal)) dialog->reject();
    else modal->close();
  }

  QStringList answers_;
  QList<QPointer<QWidget>> answered_;  // a dialog is answered once, even when it shows again
};
