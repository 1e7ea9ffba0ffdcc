// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/core/Similarity.h"

#include "spell/core/WordText.h"

namespace {

// The matching works on 1-based positions with the exact limits of the ranking: a range of
// one character is never examined, and after a new longest run the word position may stand
// past its range, where it matches nothing.
class TMatcher {
 public:
  TMatcher(QByteArrayView word, QByteArrayView candidate) : w_(word), c_(candidate) {}

  int Total() const { return total_; }

  void MatchRun(qsizetype a1, qsizetype b1, qsizetype a2, qsizetype b2) {
    if (a1 == b1 || a2 == b2) return;
    qsizetype best = 0, p1 = 0, p2 = 0;
    qsizetype e1 = b1, e2 = b2;
    qsizetype i = a1 - 1;
    while (i < e1) {
      ++i;
      qsizetype j = a2 - 1;
      while (j < e2) {
        ++j;
        if (!Same(i, j)) continue;
        qsizetype m = i, k = j;
        while (k <= e2 && m <= e1 && Same(m, k)) {
          ++m;
          ++k;
        }
        const qsizetype len = k - j;
        if (len > best) {
          best = len;
          p1 = i;
          p2 = j;
          e1 = b1 - best - 1;
          e2 = b2 - best - 1;
          i += len;
        }
        j += len;
      }
    }
    if (best > 0) {
      total_ += 2 * int(best);
      MatchRun(a1, p1 - 1, a2, p2 - 1);
      MatchRun(p1 + best, b1, p2 + best, b2);
    }
  }

 private:
  bool Same(qsizetype i, qsizetype j) const {
    return i >= 1 && i <= w_.size() && j >= 1 && j <= c_.size() && w_[i - 1] == c_[j - 1];
  }

  QByteArrayView w_, c_;
  int total_ = 0;
};

}  // namespace

int Similarity(QByteArrayView word, QByteArrayView candidate) {
  // Words are at most 50 characters; this also bounds the recursion and the work.
  word = word.first(qMin<qsizetype>(word.size(), WordText::kMaxWordLength));
  candidate = candidate.first(qMin<qsizetype>(candidate.size(), WordText::kMaxWordLength));
  const qsizetype length = word.size() + candidate.size();
  if (length == 0) return 0;
  TMatcher matcher(word, candidate);
  matcher.MatchRun(1, word.size(), 1, candidate.size());
  return int(qsizetype(matcher.Total()) * 100 / length);
}
