// SPDX-License-Identifier: GPL-3.0-or-later
// vellumix-dctc: compiles word lists into a .dct dictionary file.
#include <QCoreApplication>

#include "tools/dctc/CompileCommand.h"

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);
  return RunCompileCommand(app.arguments().mid(1), out, err);
}
