// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/FindReplace.h"

#include <algorithm>

#include "documents/edit/EditControl.h"

namespace FindReplace {

namespace {
QString WholeText(const TEditControl &edit) { return edit.TextRange(0, edit.PositionCount()); }
}  // namespace

namespace {
// A search reads the text around the caret in pieces that grow from this size to kLargestPiece
// characters, so that a near occurrence is found without reading a large text whole.
constexpr qsizetype kFirstPiece = 1 << 16;
constexpr qsizetype kLargestPiece = 1 << 22;

// The first occurrence starting at or after from; -1 when there is none.
qsizetype FindDown(const TEditControl &edit, const TTextFinder &finder, qsizetype from) {
  const qsizetype count = edit.PositionCount();
  for (qsizetype piece = kFirstPiece; from + finder.Length() <= count;
       piece = std::min(2 * piece, kLargestPiece)) {
    // One character more on each side for the whole-word check.
    const qsizetype start = std::max<qsizetype>(0, from - 1);
    const qsizetype end = std::min(count, from + piece + finder.Length());
    const QString text = edit.TextRange(start, std::min(count, end + 1));
    const qsizetype found = finder.FindForward(text, from - start, end - start);
    if (found >= 0) return start + found;
    from += piece;  // every occurrence starting up to here ended within this piece
  }
  return -1;
}

// The last occurrence ending at or before limit; -1 when there is none.
qsizetype FindUp(const TEditControl &edit, const TTextFinder &finder, qsizetype limit) {
  const qsizetype count = edit.PositionCount();
  limit = std::min(limit, count);
  for (qsizetype piece = kFirstPiece; limit >= finder.Length();
       piece = std::min(2 * piece, kLargestPiece)) {
    const qsizetype start = std::max<qsizetype>(0, limit - piece - finder.Length() - 1);
    const QString text = edit.TextRange(start, std::min(count, limit + 1));
    // Occurrences starting at start have no character before them in text: the next piece
    // looks at them.
    const qsizetype found = finder.FindBackward(text, start == 0 ? 0 : 1, limit - start);
    if (found >= 0) return start + found;
    if (start == 0) break;
    limit = start + finder.Length();
  }
  return -1;
}
}  // namespace

bool Find(TEditControl &edit, const TSearchOptions &options) {
  if (options.findText.isEmpty()) return false;
  const TTextFinder finder(options);
  const qsizetype position = options.down
                                 ? FindDown(edit, finder, edit.SelStart() + edit.SelLength())
                                 : FindUp(edit, finder, edit.SelStart());
  if (position < 0) return false;
  edit.SetSelection(position, finder.Length());
  return true;
}

bool Replace(TEditControl &edit, const TSearchOptions &options, const QString &replaceText) {
  if (!Find(edit, options)) return false;
  edit.ReplaceSelection(replaceText);
  return true;
}

TReplaceAllJob ReplaceAllJobFor(const TEditControl &edit, const TSearchOptions &options,
                                const QString &replaceText, bool readText) {
  TReplaceAllJob job;
  job.options = options;
  job.replaceText = replaceText;
  job.selStart = edit.SelStart();
  job.selEnd = edit.SelStart() + edit.SelLength();
  if (readText && !options.findText.isEmpty()) job.text = WholeText(edit);
  return job;
}

TReplaceAllPlan PlanReplaceAll(const TReplaceAllJob &job, const TKeepGoing &keepGoing) {
  TReplaceAllPlan plan;
  plan.findLength = job.options.findText.size();
  plan.replaceText = job.replaceText;
  if (job.options.findText.isEmpty()) return plan;
  const TTextFinder finder(job.options);
  if (job.options.down) {
    auto result = finder.ReplaceForward(job.text, job.selEnd, job.replaceText, keepGoing);
    // Only the stretch from the first to the last occurrence changes.
    plan.count = result.count;
    plan.start = result.firstStart;
    plan.end = result.lastEnd;
    plan.caret = plan.start + result.text.size();
    plan.text = std::move(result.text);
    plan.starts = std::move(result.starts);
    return plan;
  }
  auto result = finder.ReplaceBackward(job.text, job.selStart, job.replaceText, keepGoing);
  plan.count = result.count;
  plan.start = result.firstStart;
  plan.end = job.selStart;
  plan.caret = plan.start + job.replaceText.size();
  plan.text = std::move(result.text);
  plan.starts = std::move(result.starts);
  std::sort(plan.starts.begin(), plan.starts.end());
  return plan;
}

void ApplyReplaceAll(TEditControl &edit, const TReplaceAllPlan &plan) {
  if (plan.count == 0) return;
  edit.HoldUpdates();
  edit.BeginEditBlock();
  if (plan.starts.empty()) {
    edit.SetSelection(plan.start, plan.end - plan.start);
    edit.ReplaceSelection(plan.text);
  } else {
    // The last first, so that the positions before it stay as they were.
    for (auto at = plan.starts.rbegin(); at != plan.starts.rend(); ++at) {
      edit.SetSelection(*at, plan.findLength);
      edit.ReplaceSelection(plan.replaceText);
    }
  }
  edit.EndEditBlock();
  edit.SetSelection(plan.caret, 0);
  edit.ReleaseUpdates();
}

qsizetype ReplaceAll(TEditControl &edit, const TSearchOptions &options,
                     const QString &replaceText) {
  const TReplaceAllPlan plan = PlanReplaceAll(ReplaceAllJobFor(edit, options, replaceText));
  ApplyReplaceAll(edit, plan);
  return plan.count;
}

QString NotFoundText(const QString &findText) {
  return QLatin1String("Cannot find '") + findText + QLatin1String("'.");
}

std::optional<QPoint> MoveOutOfTheWay(const QRect &dialog, QPoint start, QPoint end,
                                      const QRect &screen) {
  const QPoint lowered = end + QPoint(0, 20);
  if (!dialog.contains(start) && !dialog.contains(lowered)) return std::nullopt;
  const int top = start.y();
  if (top - screen.top() > dialog.height() + 20)
    return QPoint(dialog.x(), top - 20 - dialog.height());
  if (top + 40 + dialog.height() <= screen.bottom() + 1) return QPoint(dialog.x(), top + 40);
  return std::nullopt;
}

}  // namespace FindReplace
