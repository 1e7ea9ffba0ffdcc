// SPDX-License-Identifier: GPL-3.0-or-later
// settings_writer FILE SECTION NAME VALUE [REPEAT]
// Opens the settings file as the program does, writes one value and closes the root key,
// REPEAT times (default 1), each time with "<VALUE><n>" after the first. Prints "ready" after
// the first write so a test can time a kill.
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "settings/core/RootKey.h"
#include "settings/core/SettingsError.h"

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 5) return 2;
  TSettingsStore store(args[1]);
  const int repeat = args.size() > 5 ? args[5].toInt() : 1;
  try {
    for (int i = 0; i < repeat; ++i) {
      TRootKey root(VellumixRootKey, store);
      root.WriteString(args[2], args[3], i == 0 ? args[4] : args[4] + QString::number(i));
      // Enough other values that a write takes a while.
      for (int j = 0; j < 200; ++j)
        root.WriteInteger(QStringLiteral("Filler"), QStringLiteral("V%1").arg(j), i + j);
      root.Close();
      if (i == 0) {
        std::puts("ready");
        std::fflush(stdout);
      }
    }
  } catch (const ESettingsError &error) {
    std::fprintf(stderr, "%s\n", qPrintable(error.Message()));
    return 1;
  }
  return 0;
}
