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

// The part of a work's progress from fromPerMille to toPerMille (of 1000) told to keepGoing, for
// a work done in steps one after the other.
inline TKeepGoing ShareOf(const TKeepGoing &keepGoing, int fromPerMille, int toPerMille) {
  if (!keepGoing) return {};
  return [keepGoing, fromPerMille, toPerMille](qint64 done, qint64 total) {
    const qint64 span = toPerMille - fromPerMille;
    return keepGoing(fromPerMille + (total > 0 ? span * done / total : 0), 1000);
  };
}
