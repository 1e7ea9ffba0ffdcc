// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringMatcher>
#include <QStringView>
#include <vector>

#include "documents/core/WorkSteps.h"

// What a search looks for and how.
struct TSearchOptions {
  QString findText;
  bool matchCase = false;
  bool wholeWord = false;
  bool down = true;

  bool operator==(const TSearchOptions &) const = default;
};

// Searches a text for the find text of a set of options. Positions are indexes into the
// text handed in. A whole-word occurrence has no word character right before or after it.
class TTextFinder {
 public:
  explicit TTextFinder(const TSearchOptions &options);

  // Length of the find text.
  qsizetype Length() const { return needle_.size(); }

  // First occurrence starting at or after from and ending at or before end, or -1.
  qsizetype FindForward(QStringView text, qsizetype from, qsizetype end) const;
  // Last occurrence ending at or before limit and starting at or after begin, or -1.
  qsizetype FindBackward(QStringView text, qsizetype begin, qsizetype limit) const;

  // The occurrences of the find text in text[from, end) taken one after the other from
  // from, each replaced by replacement; the search after a replacement starts behind it,
  // and whole-word checks see the replaced text on the left.
  struct TReplaced {
    QString text;                   // replaces text[firstStart, lastEnd)
    qsizetype count = 0;            // occurrences replaced
    qsizetype firstStart = 0;       // start of the first occurrence
    qsizetype lastEnd = 0;          // end of the last occurrence
    std::vector<qsizetype> starts;  // of each occurrence while there are at most kListed
  };
  // Up to this many occurrences a replacement lists where each one starts.
  static constexpr qsizetype kListed = 256;
  // keepGoing hears how far the search has come now and then; a stopped replacement is of no
  // use.
  TReplaced ReplaceForward(QStringView text, qsizetype from, const QString &replacement,
                           const TKeepGoing &keepGoing = {}) const;
  // The same going backwards from limit to the start of the text; each search ends in front
  // of the previous occurrence, so a replacement is never searched again.
  struct TReplacedBackward {
    QString text;  // replaces text[firstStart, limit)
    qsizetype count = 0;
    qsizetype firstStart = 0;       // start of the topmost occurrence
    std::vector<qsizetype> starts;  // as in TReplaced, the last first
  };
  TReplacedBackward ReplaceBackward(QStringView text, qsizetype limit, const QString &replacement,
                                    const TKeepGoing &keepGoing = {}) const;

 private:
  // The raw match nearest to from going down / ending at or before limit going up.
  qsizetype RawForward(QStringView text, qsizetype from) const;
  qsizetype RawBackward(QStringView text, qsizetype limit) const;
  bool IsWholeWord(QChar before, QChar after) const;
  static QChar At(QStringView text, qsizetype i);

  QString needle_;
  Qt::CaseSensitivity cs_;
  bool wholeWord_;
  QStringMatcher matcher_;
};
