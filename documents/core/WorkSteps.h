// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <functional>

// Told how far a long piece of text work has come (done of total, in the work's own units);
// false asks the work to stop at once. An empty function lets the work run to its end.
using TKeepGoing = std::function<bool(qint64 done, qint64 total)>;

// Asks keepGoing when it is set; true when it is not.
inline bool KeepGoing(const TKeepGoing &keepGoing, qint64 done, qint64 total) {
  return !keepGoing || keepGoing(done, total);
}
