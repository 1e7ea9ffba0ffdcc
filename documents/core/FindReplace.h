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
