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

#include "platform/ui/MessageBox.h"

// Answers the modal windows a test provokes, in order, with the given captions. The program's
// message boxes are answered through MessageBox's answering seam, without being shown: the
// button with that caption is the box's answer (an empty or unknown caption closes it, as
// Escape would). Other modal dialogs are answered the way a user would: it sees each one as it
// is shown (from the application's show events, never by polling), then presses the button
// with the caption, or rejects the dialog when the answer is empty; "file:<path>" picks a file
// in a file dialog. Titles and texts of both are recorded in the order they came.
class TModalAnswerer : public QObject {
 public:
  explicit TModalAnswerer(QStringList answers = {}) : answers_(std::move(answers)) {
    previous_ = MessageBox::SetAnswerer([this](const TMsgAsked &asked) { return Asked(asked); });
    qApp->installEventFilter(this);
    // A box that was already open when the test began is answered too.
    QTimer::singleShot(0, this, [this] {
      if (QWidget *modal = QApplication::activeModalWidget()) Seen(modal);
    });
  }
  ~TModalAnswerer() override {
    qApp->removeEventFilter(this);
    MessageBox::SetAnswerer(std::move(previous_));
  }

  void Add(const QString &answer) { answers_ << answer; }

  QStringList texts;   // message texts, line breaks as '\n'
  QStringList titles;  // window titles
  // Called with each dialog before it is answered (to inspect the program's state meanwhile).
  std::function<void(QWidget *)> onShown;
  // Called with each message box before it is answered.
  std::function<void(const TMsgAsked &)> onAsked;
  // Shows message boxes for real (to look at the box itself) and answers them as dialogs.
  bool showBoxes = false;

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
    if (auto *box = qobject_cast<QMessageBox *>(modal))
      texts << box->text();
    else
      texts << QString();
    if (onShown) onShown(modal);
    if (!modal->isVisible()) return;  // onShown answered it itself
    const QString answer = answers_.isEmpty() ? QString() : answers_.takeFirst();
    // Answered from a fresh event, so that a box the answer opens in turn (an overwrite
    // question, say) is seen as it shows.
    QTimer::singleShot(0, modal, [modal, answer] { Answer(modal, answer); });
  }

  std::optional<TMsgResult> Asked(const TMsgAsked &asked) {
    if (showBoxes) return std::nullopt;
    titles << asked.title;
    texts << asked.text;
    if (onAsked) onAsked(asked);
    const QString answer =
        QString(answers_.isEmpty() ? QString() : answers_.takeFirst()).remove(u'&');
    const auto has = [&](TMsgButtons a, TMsgButtons b = TMsgButtons::YesNoCancel) {
      return asked.buttons == a || asked.buttons == b;
    };
    if (answer == QLatin1String("OK") && has(TMsgButtons::Ok)) return TMsgResult::Ok;
    if (answer == QLatin1String("Yes") && !has(TMsgButtons::Ok, TMsgButtons::Ok))
      return TMsgResult::Yes;
    if (answer == QLatin1String("No") && has(TMsgButtons::YesNo)) return TMsgResult::No;
    if (answer == QLatin1String("Cancel") && has(TMsgButtons::YesNoCancel))
      return TMsgResult::Cancel;
    return MessageBox::EscapeAnswer(asked.buttons);
  }

  static void Answer(QWidget *modal, const QString &answer) {
    // "file:<path>" chooses that file in a file dialog.
    if (auto *files = qobject_cast<QFileDialog *>(modal);
        files && answer.startsWith(QLatin1String("file:"))) {
      files->selectFile(answer.mid(5));
      // The name box decides what the dialog returns; type the full path into it.
      if (auto *name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        name->setText(answer.mid(5));
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
    if (auto *dialog = qobject_cast<QDialog *>(modal))
      dialog->reject();
    else
      modal->close();
  }

  QStringList answers_;
  MessageBox::TMsgAnswerer previous_;
  QList<QPointer<QWidget>> answered_;  // a dialog is answered once, even when it shows again
};
