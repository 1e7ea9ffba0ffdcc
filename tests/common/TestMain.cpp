// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "TestEnvironment.h"

#ifdef VELLUMIX_TEST_GUI
#include <QApplication>

#include "platform/ui/Fonts.h"
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char **argv) {
  TestEnvironment::Install();
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  TestApplication app(argc, argv);
#ifdef VELLUMIX_TEST_GUI
  Fonts::InstallSubstitutes();  // the windows get the faces the program gives them
#endif
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
