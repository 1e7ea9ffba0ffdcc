// SPDX-License-Identifier: GPL-3.0-or-later
// The suggestion operations of the dictionary: splits, ranked suggestions, completions and
// the re-casing of results after the word the user typed.
#include "platform/core/CodePage.h"
#include "spell/core/DCTFile.h"
#include "spell/core/Dictionary.h"
#include "spell/core/Similarity.h"
#include "spell/core/SuggestList.h"
#include "spell/core/UpperMap.h"
#include "spell/core/WordText.h"

namespace {

// Most nodes one completion walk visits, so that a malformed file cannot keep it running.
constexpr int64_t kMaxCompletionVisits = 200'000;

// What a split gives up against a ranked suggestion (see Suggest).
constexpr int kSplitPenalty = 30;

class TCompleter {
 public:
  TCompleter(TDCTFile &file, const QByteArray &typed, int max)
      : file_(file), typed_(typed), max_(max) {}

  const QList<QByteArray> &Result() const { return result_; }

  // Lists the words below the list that starts at node first; below holds the letters
  // collected under the prefix so far.
  void Enumerate(uint32_t first, QByteArray &below) {
    for (uint32_t n = first; file_.HasNode(n); ++n) {
      if (result_.size() >= max_ || ++visits_ > kMaxCompletionVisits) return;
      const uint32_t v = file_.NodeAt(n);
      below.append(char(TDCTFile::Letter(v)));
      if (TDCTFile::IsWordEnd(v)) result_.append(typed_ + below);
      // Words are at most 50 characters, which also bounds the depth.
      if (TDCTFile::Child(v) != 0 && typed_.size() + below.size() < WordText::kMaxWordLength)
        Enumerate(TDCTFile::Child(v), below);
      below.chop(1);
      if (TDCTFile::IsLast(v)) return;
    }
  }

 private:
  TDCTFile &file_;
  const QByteArray &typed_;
  const int max_;
  int64_t visits_ = 0;
  QList<QByteArray> result_;
};

// True when word begins with a capital letter: an ASCII one or an accented code page 437 one.
bool StartsWithCapital(QByteArrayView word) {
  if (word.isEmpty()) return false;
  const auto c = static_cast<unsigned char>(word.front());
  return (c >= 'A' && c <= 'Z') || WordText::FoldAccents(word.first(1)) != word.first(1);
}

}  // namespace

QList<QByteArray> TDictionary::SuggestSplits(QByteArrayView word, int max) {
  QList<QByteArray> result;
  for (qsizetype n = 1; n < word.size() && result.size() < max; ++n) {
    const QByteArrayView left = word.first(n);
    const QByteArrayView right = word.sliced(n);
    // Both parts must be words a reader takes on their own: not a stray letter, abbreviation
    // or ending the list happens to hold ("occur ed", "diction ay").
    if (rules_.SplitPartAllowed(left) && rules_.SplitPartAllowed(right) && IsWord(left) &&
        IsWord(right))
      result.append(left.toByteArray() + ' ' + right.toByteArray());
  }
  return result;
}

QStringList TDictionary::Suggest(const QString &word, int max) {
  const QByteArray typed = WordText::Clip(CodePage::ToOem437(word));
  const QByteArray w = WordText::Fold(typed);
  if (w.isEmpty() || max < 1) return {};
  const QList<QByteArray> splits = SuggestSplits(w, max);
  TSuggestList list;
  if (exclusions_)
    list.SetReject([this](QByteArrayView candidate) { return IsExcluded(candidate); });
  list.SetCapacity(max);
  list.SetTarget(w);
  for (auto *node = mainFiles_.Head(); node; node = node->Next())
    list.Collect(*static_cast<TDCTFile *>(node), max, w);
  // Words the list writes with a capital (names, German nouns) lie under the capital letter:
  // a second walk from there ranks them against the word with that capital.
  QByteArray capital = w;
  capital[0] = char(UpperMap(static_cast<unsigned char>(w[0])));
  if (capital != w) {
    list.SetTarget(capital);
    for (auto *node = mainFiles_.Head(); node; node = node->Next())
      list.Collect(*static_cast<TDCTFile *>(node), max, capital);
    list.SetTarget(w);
  }
  for (const QByteArray &userWord : userWords_.Words())
    if (list.CodeMatches(userWord)) list.AddCandidate(w, userWord);
  // A split scores the similarity of the word with the two words and their space, less a
  // penalty: two words for one is a larger change than the slips ranked suggestions mend, so
  // a split comes only after every ranked suggestion that scores at least as high.
  QList<QByteArray> result;
  auto *ranked = static_cast<TSuggestion *>(list.Head());
  for (const QByteArray &split : splits) {
    const int score = Similarity(w, split) - kSplitPenalty;
    for (; ranked && ranked->Score() >= score && result.size() < max;
         ranked = static_cast<TSuggestion *>(ranked->Next()))
      result.append(ranked->Word());
    if (result.size() < max) result.append(split);
  }
  for (; ranked && result.size() < max; ranked = static_cast<TSuggestion *>(ranked->Next()))
    result.append(ranked->Word());
  QStringList shown = RestoreCase(result, typed);
  // A word stored with a capital keeps it whatever the case of the word typed.
  for (qsizetype i = 0; i < shown.size(); ++i)
    if (StartsWithCapital(result[i]) && !shown[i].isEmpty()) shown[i][0] = shown[i][0].toUpper();
  return shown;
}

QStringList TDictionary::SuggestCompletions(const QString &prefix, int max) {
  const QByteArray typed = WordText::Clip(CodePage::ToOem437(prefix));
  const QByteArray w = WordText::Fold(typed);
  TDCTFile *file = FirstMainFile();
  if (!file || w.isEmpty() || max < 1) return {};
  uint32_t a = 1;
  uint32_t v = 0;
  for (qsizetype i = 0; i < w.size(); ++i) {
    const auto letter = static_cast<unsigned char>(w[i]);
    if (!file->HasNode(a)) return {};
    v = file->FindSibling(a, letter);
    if (TDCTFile::Letter(v) != letter) return {};
    a = TDCTFile::Child(v);
  }
  TCompleter completer(*file, typed, max);
  QByteArray below;
  completer.Enumerate(a, below);
  return RestoreCase(completer.Result(), typed);
}

QStringList TDictionary::RestoreCase(const QList<QByteArray> &list, QByteArrayView typed) {
  QStringList result;
  for (QByteArray entry : list) {
    if (!typed.isEmpty() && !entry.isEmpty()) {
      const auto b = static_cast<unsigned char>(typed.size() > 1 ? typed[1] : typed[0]);
      if (UpperMap(b) == b) {
        for (char &c : entry) c = char(UpperMap(static_cast<unsigned char>(c)));
      } else {
        entry = WordText::Fold(entry);
        const auto first = static_cast<unsigned char>(typed[0]);
        if (UpperMap(first) == first)
          entry[0] = char(UpperMap(static_cast<unsigned char>(entry[0])));
      }
    }
    result.append(CodePage::FromOem437(entry));
  }
  return result;
}
