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

qsizetype ReplaceAll(TEditControl &edit, const TSearchOptions &options,
                     const QString &replaceText) {
  if (options.findText.isEmpty()) return 0;
  const TTextFinder finder(options);
  const QString text = WholeText(edit);
  qsizetype start = 0;
  qsizetype end = 0;
  qsizetype caret = 0;
  if (options.down) {
    auto result = finder.ReplaceForward(text, edit.SelStart() + edit.SelLength(), replaceText);
    if (result.count == 0) return 0;
    // Only the stretch from the first to the last occurrence changes.
    start = result.firstStart;
    end = result.lastEnd;
    caret = start + result.text.size();
    edit.HoldUpdates();
    edit.BeginEditBlock();
    edit.SetSelection(start, end - start);
    edit.ReplaceSelection(result.text);
    edit.EndEditBlock();
    edit.SetSelection(caret, 0);
    edit.ReleaseUpdates();
    return result.count;
  }
  end = edit.SelStart();
  auto result = finder.ReplaceBackward(text, end, replaceText);
  if (result.count == 0) return 0;
  start = result.firstStart;
  edit.HoldUpdates();
  edit.BeginEditBlock();
  edit.SetSelection(start, end - start);
  edit.ReplaceSelection(result.text);
  edit.EndEditBlock();
  edit.SetSelection(start + replaceText.size(), 0);
  edit.ReleaseUpdates();
  return result.count;
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
