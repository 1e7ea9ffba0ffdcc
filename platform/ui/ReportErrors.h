// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>
#include <utility>

class QWidget;

// Shows an error that ended a command in the program's error box: the application title as
// the box's title and the error's text with one full stop at its end.
void ReportError(QWidget *parent, const std::exception &error);

// Runs work and reports a std::exception it throws with ReportError, so no error leaves a
// slot, a command or a timer into Qt's event dispatch. Every place where the user's action
// or a timer enters code that may throw goes through here. parent: the window the box
// belongs to; nullptr: the active window. Returns false when work ended with an error.
template <typename F>
bool ReportErrors(QWidget *parent, F &&work) {
  try {
    std::forward<F>(work)();
    return true;
  } catch (const std::exception &error) {
    ReportError(parent, error);
    return false;
  }
}
