// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <cstdint>
#include <functional>

#include "spell/core/LinkedList.h"

class TDCTFile;

// One ranked candidate.
class TSuggestion : public TLinkedListNode {
 public:
  TSuggestion(QByteArray word, int score) : word_(std::move(word)), score_(score) {}
  const QByteArray &Word() const { return word_; }
  int Score() const { return score_; }

 private:
  QByteArray word_;
  int score_;
};

// Candidates near a misspelt word, best score first, at most the capacity. Candidates come
// from depth-first walks of dictionary files, pruned by the sound code of the word and a
// window of lengths around its length, and from the caller (user words).
class TSuggestList : public TLinkedList {
 public:
  // Most nodes one walk visits; a malformed file whose lists loop or are shared without end
  // stops there instead of running on. Real dictionaries need a few thousand at most.
  static constexpr int64_t kMaxVisits = 200'000;

  // Candidates for which reject is true are never added (the exclusion list).
  using TReject = std::function<bool(QByteArrayView)>;
  void SetReject(TReject reject) { reject_ = std::move(reject); }

  int Capacity() const { return capacity_; }
  void SetCapacity(int capacity) { capacity_ = qBound(1, capacity, 255); }
  // The target code and length window for word (lower case, code page 437).
  void SetTarget(QByteArrayView word);
  const QByteArray &TargetCode() const { return target_; }

  // Walks one dictionary file and ranks the words found into the list; entries already in
  // the list stay, so several walks add up.
  void Collect(TDCTFile &file, int capacity, QByteArrayView word);
  // Scores candidate against word and inserts it by score; equal scores keep their order.
  // A candidate already listed is not listed twice.
  void AddCandidate(QByteArrayView word, QByteArrayView candidate);
  // True when the sound code of text agrees with as much of the target code.
  bool CodeMatches(QByteArrayView text) const;

  QList<QByteArray> Words() const;
  // Nodes visited by the last walk (for measuring the pruning).
  int64_t Visits() const { return visits_; }

 private:
  bool Listed(QByteArrayView candidate) const;

  int capacity_ = 10;
  QByteArray target_;
  int minLength_ = 0;
  int maxLength_ = 0;
  TReject reject_;
  int64_t visits_ = 0;
};
