// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <qnamespace.h>

#include <QHashFunctions>
#include <QString>
#include <cstdint>
#include <vector>

// Bounds on what rich text may make a reader do. Input size and group nesting protect against
// damaged or hostile input; the bounds on paragraphs and runs keep a document that holds the
// text one that can be laid out. The text itself is bounded only by what a document can
// count, unless a caller sets less.
struct TRtfLimits {
  qsizetype maxInputBytes = qsizetype{256} * 1024 * 1024;
  int maxGroupDepth = 200;
  qsizetype maxCharacters = 0x7FFFFFFE;
  // Each paragraph costs a document some hundreds of bytes.
  qsizetype maxParagraphs = 1000000;
  // Laying a paragraph out takes time that grows with the square of its runs; runs beyond
  // these take the format of the run before them.
  int maxRunsPerParagraph = 2000;
  qsizetype maxRuns = 4000000;
};

// A character format as rich text gives it.
struct TRtfCharFormat {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  int halfPoints = 0;  // 0: not given
  QString family;      // empty: not given
  bool hasColor = false;
  uint32_t rgb = 0;  // 0xRRGGBB when hasColor
  bool operator==(const TRtfCharFormat &) const = default;
};

inline size_t qHash(const TRtfCharFormat &key, size_t seed = 0) {
  return qHashMulti(seed, key.bold, key.italic, key.underline, key.strike, key.halfPoints,
                    key.family, key.hasColor, key.rgb);
}

// Rich text as read, before it becomes a document: the characters without paragraph breaks,
// the runs of one format and the paragraphs, each ending at a position in the text. Runs of
// the same format next to each other are one run; every character of the text is in a run.
struct TRtfContent {
  struct TRun {
    qsizetype end;
    int format;  // index into formats
  };
  struct TParagraph {
    qsizetype end;
    Qt::Alignment alignment;  // none given: the block keeps its default
    int charFormat;           // format of the block itself (-1: the default)
  };
  QString text;
  std::vector<TRun> runs;
  std::vector<TParagraph> paragraphs;
  std::vector<TRtfCharFormat> formats;
};

// What reading rich text gave: the content, or why there is none.
struct TRtfParsed {
  TRtfContent content;
  // Why the read failed (a sentence without its final full stop); empty on success.
  QString error;
  bool cancelled = false;
  // The text was cut at maxCharacters.
  bool truncated = false;
  // Formatting changes beyond the bounds on runs were given up (the text is all there).
  bool formattingDropped = false;
  bool Ok() const { return error.isEmpty(); }
};
