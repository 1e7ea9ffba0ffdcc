// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A private home for one test process: HOME, XDG_CONFIG_HOME, XDG_DATA_HOME,
// XDG_CACHE_HOME and XDG_RUNTIME_DIR point into a fresh temporary folder that is removed
// when the process ends.
namespace TestEnvironment {

// Creates the folders and sets the variables; call before any Qt object exists.
void Install();

// The temporary home folder (no trailing slash).
QString Home();

// A fresh, empty folder inside the temporary home, for one test's files.
QString FreshDir(const QString &name);

// Writes bytes to a file, creating folders as needed; returns the file's path.
QString WriteFile(const QString &path, const QByteArray &bytes);

// Reads a whole file; an empty array when it cannot be read.
QByteArray ReadFile(const QString &path);

// The seed of this process's random test inputs: VELLUMIX_TEST_SEED when set, else a fresh
// one. Printed at first use, with the variable that repeats the run.
quint32 Seed();

// size random bytes, the next ones from one generator seeded with Seed(), so a failing run
// can be repeated.
QByteArray RandomBytes(qsizetype size);

// Runs what the event loop has queued (posted events, due timers, deferred deletions), a few
// rounds so that work queued by queued work runs too. It waits for no time.
void Settle(int rounds = 3);

}  // namespace TestEnvironment
