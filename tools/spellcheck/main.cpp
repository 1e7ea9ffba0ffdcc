// SPDX-License-Identifier: GPL-3.0-or-later
// vellumix-spell: the spell engine on the command line; see SpellTool.h for the commands.
#include <QCoreApplication>

#include "tools/spellcheck/SpellTool.h"

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);
  return RunSpellTool(app.arguments().mid(1), out, err);
}
