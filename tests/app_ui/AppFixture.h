// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <memory>

#include "ModalAnswerer.h"
#include "TestEnvironment.h"
#include "app/ui/fmMain.h"
#include "documents/ui/RichEdit.h"
#include "documents/ui/fmEdit.h"
#include "platform/ui/PanelStatusBar.h"
#include "settings/ui/Holder.h"

// Starts the real main window the way the program does and waits until its first showing
// has run (settings, product texts, the first document window).
class AppFixture : public ::testing::Test {
 protected:
  void TearDown() override {
    if (main) {
      for (TfrmEdit *edit : main->EditWindows()) edit->mmoMemo()->SetModified(false);
      main.reset();
    }
    TestEnvironment::Settle();
  }

  TfrmMain &Start(const QStringList &commandLine = {}) {
    main = std::make_unique<TfrmMain>(commandLine);
    main->show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !main->HelpFile().isEmpty(); }, 10000));
    return *main;
  }

  // Lets the idle refresh and pending events run.
  static void Settle() { TestEnvironment::Settle(); }

  static QString Panel(TfrmEdit *edit, int panel) { return edit->barEdit()->Text(panel); }

  std::unique_ptr<TfrmMain> main;
};
