#pragma once

#include "AppFixture.h"
#include "RootKey.h"
#include "SettingsStore.h"
#include "fmTools.h"

#include <QApplication>
#include <QFile>
#include <functional>

// The main window started on a settings file of its own, and the preferences dialog opened
// from it the way the user opens it.
class PrefsFixture : public AppFixture {
 protected:
  void SetUp() override { QFile::remove(TSettingsStore::UserFilePath()); }

  // Opens the preferences, runs act once the dialog is on screen (act ends it with Save or
  // Cancel, or the test closes it), and returns when it has closed.
  static void Preferences(TfrmMain &m, const std::function<void(TfrmTools &)> &act) {
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
    m.Action(QStringLiteral("mniPreferences"))->trigger();
    EXPECT_TRUE(ran);
  }

  static QString Stored(const QString &section, const QString &name) {
    TRootKey root;
    return root.ReadString(section, name, QStringLiteral("<none>"));
  }

  static void Save(TfrmTools &d) { d.findChild<QAction *>(QStringLiteral("btnClose"))->trigger(); }
  static void Cancel(TfrmTools &d) { d.findChild<QAction *>(QStringLiteral("btnCancel"))->trigger(); }
};
