// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// The commands of vellumix-spell (args without the program name):
//   list [-d DICT.dct]... [-u USER.DIC] [-x EXCLUSIONS] [--html] [FILE...]
//   suggest [-d DICT.dct]... [-u USER.DIC] [-n MAX] WORD...
//   complete [-d DICT.dct] [-n MAX] PREFIX...
//   build -o OUT.dct [--flagged LIST]... [LIST...]
//   phonetic [--pad] TEXT...
//   similarity WORD CANDIDATE
// Returns the exit code: 0 on success, 1 when something could not be read, 2 for bad usage.
int RunSpellTool(const QStringList &args, QTextStream &out, QTextStream &err);

// The folder of the program's shipped data: VELLUMIX_DATA_DIR, else share/vellumix beside
// the installed program or in the build tree.
QString ProgramFolder();
