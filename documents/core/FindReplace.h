// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>
#include <vector>

#include "documents/core/TextFinder.h"

class TEditControl;

// Find and replace on an edit control. Searches never wrap around: going down they run from
// the end of the selection to the end of the text, going up from the start of the selection
// back to the beginning.
namespace FindReplace {

// Selects the next occurrence; false (selection unchanged) when there is none.
bool Find(TEditControl &edit, const TSearchOptions &options);

// Find in two steps for a large text, so that the second, which may have to look through
// nearly all of it, can run on another thread while the control waits unchanged: the text
// near the selection is searched in the control at once; when nothing was found there and
// more text remains, the rest is read from the control into a job and searched there. Both
// steps together find what Find finds.
struct TFindJob {
  TSearchOptions options;
  qsizetype at = 0;     // down: the occurrences left start here or later; up: end here or earlier
  qsizetype count = 0;  // the control's PositionCount()
  qsizetype start = 0;  // text is to hold the control's text [start, end)
  qsizetype end = 0;
  QString text;
};
struct TFindStart {
  qsizetype found = -1;          // where the occurrence found starts; -1 when none was
  std::optional<TFindJob> rest;  // the search of the rest, when there is one to make
};
// Searches from the selection until about nearChars characters have been looked at.
TFindStart FindNear(const TEditControl &edit, const TSearchOptions &options, qsizetype nearChars);
// Where the occurrence in the job's text starts (a position in the control); -1 when there is
// none or keepGoing stopped the search. keepGoing hears the progress.
qsizetype FindRest(const TFindJob &job, const TKeepGoing &keepGoing = {});
// Selects the occurrence of the find text starting at position, as Find does.
void SelectOccurrence(TEditControl &edit, const TSearchOptions &options, qsizetype position);

// Searches from the selection as Find does and replaces the occurrence found, so an
// occurrence that was selected beforehand is not itself replaced. One undo step.
bool Replace(TEditControl &edit, const TSearchOptions &options, const QString &replaceText);

// Replaces every occurrence from the caret to the end of the text (going up: from the start
// of the selection to the beginning), never searching inside a replacement just made. The
// caret ends behind the last replacement made. One undo step; returns the number replaced.
qsizetype ReplaceAll(TEditControl &edit, const TSearchOptions &options, const QString &replaceText);

// ReplaceAll in its three steps, so that the middle one, which takes long on a large text, can
// run on another thread while the control waits unchanged: what to search is read from the
// control, the new text worked out, and put in.
struct TReplaceAllJob {
  TSearchOptions options;
  QString replaceText;
  QString text;  // the control's whole text (empty when there is nothing to find)
  qsizetype selStart = 0;
  qsizetype selEnd = 0;
};
struct TReplaceAllPlan {
  qsizetype count = 0;  // occurrences replaced; nothing changes when 0
  qsizetype start = 0;  // text replaces [start, end)
  qsizetype end = 0;
  QString text;
  qsizetype caret = 0;  // where the caret goes afterwards
  // Few occurrences: where each starts, so that only they change, not all the text between.
  std::vector<qsizetype> starts;
  qsizetype findLength = 0;
  QString replaceText;
};
// readText false: the caller reads the whole text into the job itself.
TReplaceAllJob ReplaceAllJobFor(const TEditControl &edit, const TSearchOptions &options,
                                const QString &replaceText, bool readText = true);
// keepGoing hears the progress; a stopped plan is of no use.
TReplaceAllPlan PlanReplaceAll(const TReplaceAllJob &job, const TKeepGoing &keepGoing = {});
// Puts the plan into edit as one undo step; edit must not have changed since the job was read.
void ApplyReplaceAll(TEditControl &edit, const TReplaceAllPlan &plan);

// The message for a search that found nothing.
QString NotFoundText(const QString &findText);

// Where a dialog at dialog (screen coordinates) should move so that it does not cover an
// occurrence whose start and end are at the screen points start and end (tops of the
// characters) on a screen of the rectangle screen; nothing when it may stay.
std::optional<QPoint> MoveOutOfTheWay(const QRect &dialog, QPoint start, QPoint end,
                                      const QRect &screen);

}  // namespace FindReplace
