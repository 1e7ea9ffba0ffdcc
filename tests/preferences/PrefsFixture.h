// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <functional>

#include "AppFixture.h"
#include "preferences/fmTools.h"
#include "settings/core/RootKey.h"
#include "settings/core/SettingsStore.h"

// Answers the message boxes and file dialogs that open over the preferences dialog or the
// wizard (which the test drives itself): message boxes get the button with the caption
// given, in order; "file:<path>" picks that file in a file dialog; other dialogs go to
// onOther.
class TBoxAnswerer : public QObject {
 public:
  explicit TBoxAnswerer(QStringList answers = {}) : answers_(std::move(answers)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
    timer_.start();
  }

  QStringList texts;  // message texts, line breaks as '\n'
  std::function<void(QDialog *)> onOther;

 private:
  void poll() {
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || qobject_cast<TfrmTools *>(modal) || modal->inherits("TfrmSetup") ||
        seen_.contains(modal))
      return;
    seen_.removeAll(nullptr);
    seen_ << modal;
    auto *box = qobject_cast<QMessageBox *>(modal);
    auto *files = qobject_cast<QFileDialog *>(modal);
    if (!box && !files) {
      if (auto *dialog = qobject_cast<QDialog *>(modal); dialog && onOther) onOther(dialog);
      return;
    }
    if (box) texts << box->text();
    const QString answer = answers_.isEmpty() ? QString() : answers_.takeFirst();
    QTimer::singleShot(0, modal, [modal, box, files, answer] {
      if (files && answer.startsWith(QLatin1String("file:"))) {
        files->selectFile(answer.mid(5));
        if (auto *name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
          name->setText(answer.mid(5));
        static_cast<QDialog *>(files)->accept();
        return;
      }
      if (box)
        for (QAbstractButton *b : box->buttons())
          if (QString(b->text()).remove(u'&') == answer) {
            b->click();
            return;
          }
      static_cast<QDialog *>(modal)->reject();
    });
  }

  QStringList answers_;
  QTimer timer_;
  QList<QPointer<QWidget>> seen_;
};

// The main window started on a settings file of its own, and the preferences dialog opened
// from it the way the user opens it.
class PrefsFixture : public AppFixture {
 protected:
  void SetUp() override { QFile::remove(TSettingsStore::UserFilePath()); }

  // Opens the preferences, runs act once the dialog is on screen (act ends it with Save or
  // Cancel, or the test closes it), and returns when it has closed.
  // command: the menu item or the tool button that opens it.
  static void Preferences(TfrmMain &m, const std::function<void(TfrmTools &)> &act,
                          const QString &command = QStringLiteral("mniPreferences")) {
    bool ran = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto *dialog = qobject_cast<TfrmTools *>(QApplication::activeModalWidget());
      if (ran || !dialog || !dialog->isVisible()) return;
      ran = true;
      act(*dialog);
      if (dialog->isVisible()) dialog->close();
    });
    poll.start();
    ASSERT_TRUE(m.Action(command)->isEnabled());
    m.Action(command)->trigger();
    EXPECT_TRUE(ran);
  }

  static QString Stored(const QString &section, const QString &name) {
    TRootKey root;
    return root.ReadString(section, name, QStringLiteral("<none>"));
  }

  static void Save(TfrmTools &d) { d.findChild<QAction *>(QStringLiteral("btnClose"))->trigger(); }
  static void Cancel(TfrmTools &d) {
    d.findChild<QAction *>(QStringLiteral("btnCancel"))->trigger();
  }
};
