// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <utility>

class TEditControl;
class TWordCountView;

// The accent buttons a spell dialog may show.
enum TAccents { acSpanish = 1 };
// A set of TAccents, as bit flags.
using TAccentSet = unsigned;

// A copy of the text being checked or counted, in code page 437, that hands out its words one
// after another. A word is a run of word characters: the apostrophe, digits, ASCII letters,
// the code page 437 bytes 0x80 to 0xA5 and the sharp s (WordText::IsWordChar). Positions are
// 1-based; the text ends in a NUL at position End().
class TAbsBuffer {
 public:
  // Shows a message to the user (the abort message for an implausibly long word).
  using TMessageBox = std::function<void(const QString &text)>;

  // Longest run of word characters that is still a word; a run this long ends the scan.
  static constexpr int kMaxWordLength = 50;

  explicit TAbsBuffer(TEditControl *control);
  TAbsBuffer(const TAbsBuffer &) = delete;
  TAbsBuffer &operator=(const TAbsBuffer &) = delete;
  virtual ~TAbsBuffer() = default;

  static bool IsWordChar(unsigned char ch);
  static bool IsDigit(unsigned char ch) { return ch >= '0' && ch <= '9'; }

  virtual void LoadText() = 0;
  // The next word in code page 437; empty at the end of the text (or after the abort message).
  virtual QByteArray NextWord() = 0;
  virtual void BackToWordStart() = 0;
  virtual void SelectWord() {}
  // Replaces the last word by text (the user's text) and resumes the scan after it.
  virtual void ReplaceWord(const QString &text) = 0;
  virtual bool GetModified() const = 0;
  virtual void SetModified(bool modified) = 0;
  virtual int CaretScreenTop() const { return 0; }

  // Counts the words and the distinct words (letter case ignored) of the whole text, showing
  // the numbers in view after every word. Ends early, with zeros, when view is closed.
  std::pair<int, int> CountWords(TWordCountView &view);
  // How often, in milliseconds, the count shows its numbers and lets pending events through;
  // 0: after every word. The default, every few milliseconds, repaints and answers the OK
  // button as promptly to the eye as every word would, and counts a long text far faster.
  void SetRefreshInterval(int milliseconds) { refreshMs_ = milliseconds; }

  void SetMessageBox(TMessageBox box) { messageBox_ = std::move(box); }
  void SetSkipMarkup(bool skip) { skipMarkup_ = skip; }
  bool SkipMarkup() const { return skipMarkup_; }

  int WordStart() const { return wordStart_; }
  int WordEnd() const { return wordEnd_; }
  bool DigitsOnly() const { return digitsOnly_; }
  int Position() const { return position_; }
  int End() const { return end_; }
  int WordCount() const { return wordCount_; }

 protected:
  // Empties the text: end 0, position 1.
  void Reset();
  // The byte at a 1-based position; NUL outside the text.
  unsigned char At(int position) const;
  void ShowMessage(const QString &text) const;

  int end_ = 0;
  int wordStart_ = 0;
  int wordEnd_ = 0;
  TEditControl *control_ = nullptr;
  bool digitsOnly_ = false;
  bool skipMarkup_ = false;
  QByteArray storage_;
  int position_ = 1;
  int wordCount_ = 0;

 private:
  TMessageBox messageBox_;
  int refreshMs_ = 20;
};

// What the word count shows its numbers in (the word-count window).
class TWordCountView {
 public:
  virtual ~TWordCountView() = default;
  // Shows the view without making it modal, if it is hidden.
  virtual void ShowCount() = 0;
  virtual bool IsShown() const = 0;
  virtual void SetCounts(int words, int unique) = 0;
};
