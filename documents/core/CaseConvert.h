// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

#include "documents/core/WorkSteps.h"

class TEditControl;

// Letter-case conversions of the Character menu. They know the letters of every script, each
// character mapped on its own, so a converted text keeps its length (a sharp s stays one).

// The conversions by the tag of the command that asks for them.
enum class TConvertKind { Lower = 0, Upper = 1, Capitalize = 2, Title = 3, Toggle = 4 };

// A long text is converted in slices, asking keepGoing between them; what a stopped
// conversion returns is of no use.
QString MakeLowerCase(const QString &s, const TKeepGoing &keepGoing = {});
QString MakeUpperCase(const QString &s, const TKeepGoing &keepGoing = {});
// Every lower-case letter upper-cased and every upper-case one lower-cased.
QString MakeToggleCase(const QString &s, const TKeepGoing &keepGoing = {});
// Lower-cases s, then upper-cases each letter that starts a word. A word starts after any
// character that is neither a letter (with its accents) nor an apostrophe.
QString MakeTitleCase(const QString &s, const TKeepGoing &keepGoing = {});
// The first character upper-cased, the rest unchanged.
QString MakeCapitalized(const QString &s);

QString ConvertText(TConvertKind kind, const QString &s, const TKeepGoing &keepGoing = {});

// A conversion of an edit control in its three steps, so that the middle one, which takes
// long on a large text, can run on another thread while the control waits unchanged: what
// to convert is read from the control, converted, and the result put back.
struct TCaseJob {
  TConvertKind kind = TConvertKind::Lower;
  bool selection = false;  // the selection, else the whole text
  qsizetype start = 0;     // of the selection; the caret when there is none
  qsizetype length = 0;    // of what is converted
  QString text;            // what is converted
  // What is converted in the control's positions.
  qsizetype From() const { return selection ? start : 0; }
  qsizetype To() const { return From() + length; }
};
// Nothing for an unknown tag, or Capitalize without a selection. readText false: the caller
// reads the text itself (From() to To()).
std::optional<TCaseJob> CaseJobFor(const TEditControl &edit, int tag, bool readText = true);
// Puts the converted text of job into edit, which must not have changed since the job was read.
void ApplyCaseJob(TEditControl &edit, const TCaseJob &job, const QString &converted);

// Converts the selection of edit, or its whole text when nothing is selected (Capitalize:
// the selection only). A converted selection leaves the caret after it with nothing
// selected; a whole-text conversion keeps the caret where it was. The change is one undo
// step. tag is the command's tag (0 to 4); other values do nothing.
void MenuConvert(TEditControl &edit, int tag);
