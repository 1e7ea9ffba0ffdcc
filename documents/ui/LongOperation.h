// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <utility>

#include "documents/core/WorkSteps.h"

class TRichEdit;
class TfrmEdit;

// Runs the text work of a long command on a document (replacing, converting case, saving) on
// a thread of its own, on a copy of the text, while the document window answers: it is
// read-only meanwhile, shows what runs with its progress and a Cancel button once the work
// has lasted ShowAfterMs, and the other windows stay usable. The caller reads what the work
// needs from the window before and puts the result in after, on this thread; the work itself
// must not touch the window.
namespace LongOperation {

enum class TEnd {
  Done,        // the work ran to its end and the document is as it was when it started
  Cancelled,   // Cancel, closing the window or ending the program stopped it, or the
               // document changed meanwhile: use nothing of the result
  WindowGone,  // the window was destroyed meanwhile: touch nothing of it
};

// Texts of at least this many characters are worked on this way; smaller ones at once.
constexpr qsizetype kLongChars = 1 << 20;
inline bool IsLong(qsizetype characters) { return characters >= kLongChars; }

// The part of the window's text the work needs, read into *into before the work starts: in
// slices between events, as reading a very large text from the edit control takes long too.
// No into: nothing is read. Without slice, the characters from start to end are read; with it,
// slice appends to into what the work needs from place at on (about sliceChars characters)
// and returns the place the next slice starts at, for places from start to end (lines, say).
struct TRead {
  using TSlice = std::function<qsizetype(const TRichEdit &memo, QString &into, qsizetype at,
                                         qsizetype sliceChars)>;
  TRead() = default;
  TRead(qsizetype start, qsizetype end, QString *into, TSlice slice = {})
      : start(start), end(end), into(into), slice(std::move(slice)) {}

  qsizetype start = 0;
  qsizetype end = 0;
  QString *into = nullptr;
  TSlice slice;
};

// work gets the function it tells its progress to and that says when to stop.
TEnd Run(TfrmEdit &window, const QString &caption, const TRead &read,
         const std::function<void(const TKeepGoing &keepGoing)> &work);

// How long the work runs before its progress shows (milliseconds); tests set 0.
inline int ShowAfterMs = 500;
// Tests: called on the working thread each time the work tells its progress, with that
// progress (of 1000).
inline std::function<void(int perMille)> StepHook;
// Tests: called on the window's thread after each slice of the text read, between events.
inline std::function<void()> ReadHook;

}  // namespace LongOperation
