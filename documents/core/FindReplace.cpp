// SPDX-License-Identifier: GPL-3.0-or-later
#include "FindReplace.h"

#include "EditControl.h"

namespace FindReplace {

namespace {
QString WholeText(const TEditControl &edit) { return edit.TextRange(0, edit.PositionCount()); }
}  // namespace

bool Find(TEditControl &edit, const TSearchOptions &options) {
  if (options.findText.isEmpty()) return false;
  const TTextFinder finder(options);
  const QString text = WholeText(edit);
  const qsizetype position =
      options.down ? finder.FindForward(text, edit.SelStart() + edit.SelLength(), text.size())
                   : finder.FindBackward(text, 0, edit.SelStart());
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
    return plan;
  }
  auto result = finder.ReplaceBackward(job.text, job.selStart, job.replaceText, keepGoing);
  plan.count = result.count;
  plan.start = result.firstStart;
  plan.end = job.selStart;
  plan.caret = plan.start + job.replaceText.size();
  plan.text = std::move(result.text);
  return plan;
}

void ApplyReplaceAll(TEditControl &edit, const TReplaceAllPlan &plan) {
  if (plan.count == 0) return;
  edit.HoldUpdates();
  edit.BeginEditBlock();
  edit.SetSelection(plan.start, plan.end - plan.start);
  edit.ReplaceSelection(plan.text);
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
