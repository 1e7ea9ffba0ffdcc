// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTextCharFormat>
#include <functional>
#include <vector>

#include "documents/core/RtfContent.h"

class QTextCharFormat;
class QTextDocument;

// Makes a document hold rich text that was read (see RtfParser), in slices: each Step adds
// about the work it is given, so that a window can answer between them. The document must
// be empty and stay untouched by others until Done(); undo is off while it is built. Slices
// end between runs of text; a slice that ends inside a paragraph leaves a block break after
// it that the next slice takes away again, so that a long paragraph is not laid out again
// after every slice.
class TRtfDocumentBuilder {
 public:
  TRtfDocumentBuilder(const TRtfContent &content, QTextDocument &document);
  // Gives the document its undo setting back (a build given up leaves what was added).
  ~TRtfDocumentBuilder();
  TRtfDocumentBuilder(const TRtfDocumentBuilder &) = delete;
  TRtfDocumentBuilder &operator=(const TRtfDocumentBuilder &) = delete;

  // Adds the next slice: about work characters, a paragraph or a run counting as
  // kRunWork characters. True while more is to come.
  bool Step(qsizetype work);
  // Adds everything that is left.
  void Finish();
  bool Done() const { return paragraph_ >= content_.paragraphs.size(); }
  // How much is built, from 0 to 1000.
  int Progress() const;

  // What starting a paragraph or a run costs, in characters.
  static constexpr qsizetype kRunWork = 64;

  // Told after every slice with the number of slices so far (tests use it to act between
  // slices).
  static inline std::function<void(int slice)> AfterSlice;

 private:
  const QTextCharFormat &charFormat(int index) const;

  const TRtfContent &content_;
  QTextDocument &document_;
  std::vector<QTextCharFormat> formats_;
  bool undo_;
  size_t paragraph_ = 0;  // the paragraph being added
  size_t run_ = 0;        // the run the next text belongs to
  qsizetype pos_ = 0;     // the next character of the text to add
  bool paragraphStarted_ = false;
  bool breakAfter_ = false;  // the block break left by a slice that ended inside a paragraph
  int slices_ = 0;
};
