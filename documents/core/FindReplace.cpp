// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/FindReplace.h"

#include <algorithm>
#include <limits>

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

// A search going out from a point of a text of count characters piece by piece. Going down,
// the occurrences not looked at yet start at or after at; going up, they end at or before it.
class TPieceSearch {
 public:
  TPieceSearch(const TTextFinder &finder, bool down, qsizetype at, qsizetype count)
      : finder_(finder), down_(down), origin_(std::min(at, count)), at_(origin_), count_(count) {}

  qsizetype At() const { return at_; }
  // Characters looked at so far, and all there are to look at.
  qsizetype Covered() const { return down_ ? at_ - origin_ : origin_ - at_; }
  qsizetype Stretch() const { return down_ ? count_ - origin_ : origin_; }
  bool Remaining() const {
    return down_ ? at_ + finder_.Length() <= count_ : at_ >= finder_.Length();
  }

  // Looks through pieces until an occurrence is found (its position), nothing remains (-1),
  // budget characters have been looked at or keepGoing says stop (-1, Remaining() still true).
  // read(start, end) gives the text's characters [start, end).
  template <typename TReadRange>
  qsizetype Search(const TReadRange &read, qsizetype budget, const TKeepGoing &keepGoing = {}) {
    while (Remaining() && Covered() < budget) {
      if (!KeepGoing(keepGoing, Covered(), Stretch())) return -1;
      // No further than the budget, so that what is left is searched by the next call.
      const qsizetype piece = std::min(piece_, budget - Covered());
      const qsizetype found = down_ ? nextDown(read, piece) : nextUp(read, piece);
      if (found >= 0) return found;
      piece_ = std::min(2 * piece_, kLargestPiece);
    }
    return -1;
  }

 private:
  template <typename TReadRange>
  qsizetype nextDown(const TReadRange &read, qsizetype piece) {
    // One character more on each side for the whole-word check.
    const qsizetype start = std::max<qsizetype>(0, at_ - 1);
    const qsizetype end = std::min(count_, at_ + piece + finder_.Length());
    const auto text = read(start, std::min(count_, end + 1));
    const qsizetype found = finder_.FindForward(text, at_ - start, end - start);
    if (found >= 0) return start + found;
    at_ += piece;  // every occurrence starting before here ended within this piece
    return -1;
  }

  template <typename TReadRange>
  qsizetype nextUp(const TReadRange &read, qsizetype piece) {
    const qsizetype start = std::max<qsizetype>(0, at_ - piece - finder_.Length() - 1);
    const auto text = read(start, std::min(count_, at_ + 1));
    // Occurrences starting at start have no character before them in text: the next piece
    // looks at them.
    const qsizetype found = finder_.FindBackward(text, start == 0 ? 0 : 1, at_ - start);
    if (found >= 0) return start + found;
    at_ = start == 0 ? 0 : start + finder_.Length();
    return -1;
  }

  const TTextFinder &finder_;
  bool down_;
  qsizetype origin_;
  qsizetype at_;
  qsizetype count_;
  qsizetype piece_ = kFirstPiece;
};

constexpr qsizetype kNoBudget = std::numeric_limits<qsizetype>::max();

// Where a search from the selection starts.
qsizetype SearchOrigin(const TEditControl &edit, const TSearchOptions &options) {
  return options.down ? edit.SelStart() + edit.SelLength() : edit.SelStart();
}
}  // namespace

TFindStart FindNear(const TEditControl &edit, const TSearchOptions &options, qsizetype nearChars) {
  TFindStart result;
  if (options.findText.isEmpty()) return result;
  const TTextFinder finder(options);
  const qsizetype count = edit.PositionCount();
  TPieceSearch search(finder, options.down, SearchOrigin(edit, options), count);
  result.found = search.Search(
      [&edit](qsizetype start, qsizetype end) { return edit.TextRange(start, end); }, nearChars);
  if (result.found >= 0 || !search.Remaining()) return result;
  TFindJob &rest = result.rest.emplace();
  rest.options = options;
  rest.at = search.At();
  rest.count = count;
  // The pieces that are left read no further than this, one character around included.
  rest.start = options.down ? std::max<qsizetype>(0, rest.at - 1) : 0;
  rest.end = options.down ? count : std::min(count, rest.at + 1);
  return result;
}

qsizetype FindRest(const TFindJob &job, const TKeepGoing &keepGoing) {
  const TTextFinder finder(job.options);
  TPieceSearch search(finder, job.options.down, job.at, job.count);
  const auto read = [&job](qsizetype start, qsizetype end) {
    return QStringView(job.text).mid(start - job.start, end - start);
  };
  return search.Search(read, kNoBudget, keepGoing);
}

void SelectOccurrence(TEditControl &edit, const TSearchOptions &options, qsizetype position) {
  edit.SetSelection(position, options.findText.size());
}

bool Find(TEditControl &edit, const TSearchOptions &options) {
  const qsizetype position = FindNear(edit, options, kNoBudget).found;
  if (position < 0) return false;
  SelectOccurrence(edit, options, position);
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
