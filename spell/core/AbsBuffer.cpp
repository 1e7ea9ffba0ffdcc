#include "AbsBuffer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSet>

#include "WordText.h"

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
  LoadText();
  if (!view.IsShown()) view.ShowCount();
  // The window shows at once, and whatever the user did before it did counts.
  QCoreApplication::processEvents();
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
      QCoreApplication::processEvents();
      sinceShown.restart();
      if (!view.IsShown()) {
        wordCount_ = 0;
        return {0, 0};
      }
    }
    if (word.isEmpty()) break;
  }
  return {wordCount_, int(distinct.size())};
}
