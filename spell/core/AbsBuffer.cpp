// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/core/AbsBuffer.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QSet>

#include "platform/core/NestedWait.h"
#include "spell/core/WordText.h"

TAbsBuffer::TAbsBuffer(TEditControl *control) : control_(control) {}

bool TAbsBuffer::IsWordChar(unsigned char ch) { return WordText::IsWordChar(ch); }

void TAbsBuffer::Reset() {
  end_ = 0;
  position_ = 1;
  wordStart_ = wordEnd_ = 1;
}

unsigned char TAbsBuffer::At(int position) const {
  if (position < 1 || position > storage_.size()) return 0;
  return static_cast<unsigned char>(storage_[position - 1]);
}

void TAbsBuffer::ShowMessage(const QString &text) const {
  if (messageBox_) messageBox_(text);
}

std::pair<int, int> TAbsBuffer::CountWords(TWordCountView &view) {
  Reset();
  wordCount_ = 0;
  QSet<QByteArray> distinct;  // upper case
  // The abort message for an implausibly long word shows over the numbers reached so far.
  const TMessageBox box = messageBox_;
  messageBox_ = [&](const QString &text) {
    view.SetCounts(wordCount_, int(distinct.size()));
    if (box) box(text);
  };
  const auto restoreBox = qScopeGuard([&] { messageBox_ = box; });
  // Pending events go through now and then while the count runs. Closing the window ends the
  // count with nothing counted, and so does the window going away (never touched again) or
  // the program quitting.
  TNestedWait wait(view.Lifetime());
  const auto stopped = [&] {
    if (wait.Pass([&view] { return !view.IsShown(); }) == TNestedWait::TEnd::Done) return false;
    wordCount_ = 0;
    return true;
  };

  LoadText();
  view.SetCounts(0, 0);  // a window kept from an earlier count starts again from 0
  if (!view.IsShown()) view.ShowCount();
  // The window shows at once, and whatever the user did before it did counts.
  if (stopped()) return {0, 0};
  QElapsedTimer sinceShown;
  sinceShown.start();
  for (;;) {
    const QByteArray word = NextWord().toUpper();  // ASCII letters only
    if (!word.isEmpty()) {
      ++wordCount_;
      distinct.insert(word);
    }
    if (word.isEmpty() || sinceShown.elapsed() >= refreshMs_) {
      view.SetCounts(wordCount_, int(distinct.size()));
      if (stopped()) return {0, 0};
      sinceShown.restart();
    }
    if (word.isEmpty()) break;
  }
  return {wordCount_, int(distinct.size())};
}
