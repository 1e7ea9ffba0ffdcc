// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/core/SuggestList.h"

#include <vector>

#include "spell/core/DCTFile.h"
#include "spell/core/PhoneticCode.h"
#include "spell/core/Similarity.h"
#include "spell/core/WordText.h"

void TSuggestList::SetTarget(QByteArrayView word) {
  target_ = PhoneticCode(word, true);
  minLength_ = int(word.size()) - 2;
  maxLength_ = int(word.size()) + 2;
}

bool TSuggestList::CodeMatches(QByteArrayView text) const {
  const QByteArray code = PhoneticCode(text, false);
  return QByteArrayView(target_).first(qMin(code.size(), target_.size())) == code;
}

bool TSuggestList::Listed(QByteArrayView candidate) const {
  for (auto *node = Head(); node; node = node->Next())
    if (static_cast<TSuggestion *>(node)->Word() == candidate) return true;
  return false;
}

void TSuggestList::AddCandidate(QByteArrayView word, QByteArrayView candidate) {
  candidate = candidate.first(qMin<qsizetype>(candidate.size(), WordText::kMaxWordLength));
  if (Listed(candidate) || (reject_ && reject_(candidate))) return;
  const int score = Similarity(word, candidate);
  if (Count() == 0) {
    Append(new TSuggestion(candidate.toByteArray(), score));
    return;
  }
  TLinkedListNode *below = Head();
  while (below && static_cast<TSuggestion *>(below)->Score() >= score) below = below->Next();
  if (below) {
    InsertBefore(below, new TSuggestion(candidate.toByteArray(), score));
    if (Count() > capacity_) Delete(Tail());
  } else if (Count() < capacity_) {
    Append(new TSuggestion(candidate.toByteArray(), score));
  }
}

void TSuggestList::Collect(TDCTFile &file, int capacity, QByteArrayView word) {
  SetCapacity(capacity);
  SetTarget(word);
  visits_ = 0;
  if (word.isEmpty()) return;
  const auto first = static_cast<unsigned char>(word[0]);

  // The first letter: the root list is scanned by a one-byte counter, so at most 255 nodes.
  uint32_t v = 0;
  bool found = false;
  for (uint32_t n = 1; n <= 255 && file.HasNode(n); ++n) {
    v = file.NodeAt(n);
    if (TDCTFile::Letter(v) == first) {
      found = true;
      break;
    }
    if (TDCTFile::IsLast(v)) break;
  }
  if (!found || !file.HasNode(TDCTFile::Child(v))) return;

  // Depth-first in file order. stack holds the node being looked at on each level below the
  // first letter; prefix holds the first letter and the letters of the levels above the top.
  QByteArray prefix(1, char(first));
  std::vector<uint32_t> stack{TDCTFile::Child(v)};
  while (!stack.empty() && ++visits_ <= kMaxVisits) {
    const uint32_t n = stack.back();
    v = file.NodeAt(n);
    prefix.append(char(TDCTFile::Letter(v)));
    if (prefix.size() <= maxLength_ && CodeMatches(prefix)) {
      if (TDCTFile::IsWordEnd(v) && prefix.size() >= minLength_) AddCandidate(word, prefix);
      const uint32_t child = TDCTFile::Child(v);
      if (file.HasNode(child) && prefix.size() < WordText::kMaxWordLength) {
        stack.push_back(child);
        continue;
      }
    }
    prefix.chop(1);
    // On to the next sibling; climb while the list is used up.
    while (!stack.empty()) {
      const uint32_t at = stack.back();
      if (!TDCTFile::IsLast(file.NodeAt(at)) && file.HasNode(at + 1)) {
        stack.back() = at + 1;
        break;
      }
      stack.pop_back();
      if (!stack.empty()) prefix.chop(1);
    }
  }
}

QList<QByteArray> TSuggestList::Words() const {
  QList<QByteArray> words;
  for (auto *node = Head(); node; node = node->Next())
    words.append(static_cast<TSuggestion *>(node)->Word());
  return words;
}
