// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QTextStream>

// The compiler's command line:
//   -o OUT.dct [--flagged LIST]... [LIST]...
// Each LIST is a word list (UTF-8 or Latin-1, one word per line); a list given with --flagged
// carries a '/' and flags after its words, which are ignored. Without lists the words come
// from standard input. Returns the process exit code; messages go to err.
int RunCompileCommand(const QStringList &args, QTextStream &out, QTextStream &err);
