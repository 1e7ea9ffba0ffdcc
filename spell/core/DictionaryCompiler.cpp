// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/core/DictionaryCompiler.h"

#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <string>
#include <unordered_map>

#include "platform/core/CodePage.h"
#include "spell/core/DCTFile.h"
#include "spell/core/SpellErrors.h"
#include "spell/core/WordList.h"
#include "spell/core/WordText.h"

namespace {

// Larger word lists are refused rather than read into memory.
constexpr qint64 kMaxInputSize = 512LL * 1024 * 1024;

struct TEdge {
  unsigned char letter;
  bool wordEnd;
  uint32_t list;  // the child list (1-based), 0 for none
};

// The sibling lists of the graph, each stored once: a list is identified by its letters,
// their end-of-word flags and their child lists.
class TListRegister {
 public:
  uint32_t Register(const std::vector<TEdge> &edges) {
    if (edges.empty()) return 0;
    key_.clear();
    for (const TEdge &e : edges) {
      key_ += char(e.letter);
      key_ += char(e.wordEnd);
      key_.append(reinterpret_cast<const char *>(&e.list), sizeof e.list);
    }
    if (const auto it = ids_.find(key_); it != ids_.end()) return it->second;
    lists_.push_back(edges);
    nodes_ += edges.size();
    return ids_.emplace(key_, uint32_t(lists_.size())).first->second;
  }
  const std::vector<TEdge> &List(uint32_t id) const { return lists_[id - 1]; }
  size_t ListCount() const { return lists_.size(); }
  uint64_t Nodes() const { return nodes_; }

 private:
  std::unordered_map<std::string, uint32_t> ids_;
  std::string key_;
  std::vector<std::vector<TEdge>> lists_;
  uint64_t nodes_ = 0;
};

// Numbers the lists depth first after the root list: a list, then below each of its nodes
// in turn the child list (when not placed yet). The words under one node thus lie together.
class TLayout {
 public:
  TLayout(const TListRegister &lists, uint32_t firstFree)
      : lists_(lists), start_(lists.ListCount() + 1, 0), next_(firstFree) {}

  void PlaceBelow(const std::vector<TEdge> &edges) {
    for (const TEdge &e : edges)
      if (e.list != 0 && start_[e.list] == 0) Place(e.list);
  }
  uint32_t Start(uint32_t id) const { return id == 0 ? 0 : start_[id]; }
  // The lists in the order of their node numbers.
  const std::vector<uint32_t> &Order() const { return order_; }

 private:
  void Place(uint32_t id) {
    start_[id] = next_;
    next_ += uint32_t(lists_.List(id).size());
    order_.push_back(id);
    PlaceBelow(lists_.List(id));
  }

  const TListRegister &lists_;
  std::vector<uint32_t> start_;
  std::vector<uint32_t> order_;
  uint32_t next_;
};

void AppendNodes(QByteArray &out, const std::vector<TEdge> &edges, const TLayout &layout) {
  for (size_t i = 0; i < edges.size(); ++i) {
    const TEdge &e = edges[i];
    const uint32_t v = uint32_t(e.letter) << 24 | (i + 1 == edges.size() ? 0x00800000u : 0u) |
                       (e.wordEnd ? 0x00400000u : 0u) | layout.Start(e.list);
    const char bytes[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    out.append(bytes, 4);
  }
}

QString Grouped(uint64_t n) { return QLocale::c().toString(qulonglong(n)); }

}  // namespace

void TDictionaryCompiler::CheckNodes(uint64_t nodes) const {
  const uint64_t limit = qMin<uint64_t>(maxNodes_, TDCTFile::kMaxNode);
  if (nodes > limit)
    throw TEDictionaryTooLarge(
        QStringLiteral("The word list needs more than %1 nodes; a dictionary holds at most %1.")
            .arg(Grouped(limit)));
}

void TDictionaryCompiler::AddFile(const QString &path, bool stripFlags) {
  QFile file(path);
  if (!file.exists()) throw Spell::EFOpenError(QStringLiteral("Word list not found : ") + path);
  if (!file.open(QIODevice::ReadOnly))
    throw Spell::EFOpenError(
        QStringLiteral("Cannot open word list \"%1\": %2").arg(path, file.errorString()));
  QByteArray bytes;
  if (!WordFile::ReadAtMost(file, kMaxInputSize, bytes)) {
    if (file.error() != QFileDevice::NoError)
      throw Spell::EInOutError(
          QStringLiteral("Cannot read word list \"%1\": %2").arg(path, file.errorString()));
    throw Spell::EInOutError(QStringLiteral("Word list \"%1\" is too large.").arg(path));
  }
  AddText(bytes, stripFlags);
}

void TDictionaryCompiler::AddText(QByteArrayView bytes, bool stripFlags) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(bytes);
  if (utf8.hasError()) text = QString::fromLatin1(bytes);
  qsizetype start = 0;
  for (qsizetype i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != QLatin1Char('\n') && text[i] != QLatin1Char('\r')) continue;
    QStringView line = QStringView(text).sliced(start, i - start);
    start = i + 1;
    if (line.isEmpty()) continue;
    ++stats_.linesRead;
    if (stripFlags) {
      // The flags follow a '/', other fields a blank ("Bakersfield po:npr").
      for (qsizetype k = 0; k < line.size(); ++k)
        if (line[k] == u'/' || line[k] == u' ' || line[k] == u'\t') {
          line = line.first(k);
          break;
        }
      if (line.isEmpty()) continue;
    }
    if (!Admits(line) || !AddWord(line)) ++stats_.dropped;
  }
}

void TDictionaryCompiler::SetListRules(const TListRules &rules) {
  rules_ = rules;
  for (const QString &word : rules_.oneLetterWords)
    if (word.size() == 1) AddWord(word);
}

bool TDictionaryCompiler::Admits(QStringView entry) {
  if (entry.size() == 1 && !rules_.oneLetterWords.contains(QStringLiteral("*"))) {
    ++stats_.singleLetters;  // the language's own one-letter words are in already
    return false;
  }
  if (entry.size() == 2 && !rules_.twoLetterWords.isEmpty() &&
      entry.toString().toLower() == entry && !rules_.twoLetterWords.contains(entry.toString())) {
    ++stats_.twoLetters;
    return false;
  }
  const auto isLower = [](QStringView text) { return text.toString().toLower() == text; };
  bool admitted = true;
  switch (rules_.letterCase) {
    case TListRules::TCase::Lower:
      admitted = isLower(entry);
      break;
    case TListRules::TCase::Capitalised:
      admitted = isLower(entry.sliced(1));
      break;
    case TListRules::TCase::Any:
      break;
  }
  if (!admitted) ++stats_.notLowerCase;
  return admitted;
}

bool TDictionaryCompiler::AddWord(QStringView word) {
  if (word.isEmpty() || word.size() > WordText::kMaxWordLength) return false;
  bool lossless = true;
  // Words keep the letter case the list writes them in: lookup matches a capital typed
  // against a small letter stored, never the other way round, so "June" stays a name.
  const QByteArray bytes = CodePage::ToOem437(word, &lossless);
  if (!lossless || (bytes.size() > 2 && WordText::Fold(bytes).endsWith("'s"))) return false;
  for (char c : bytes)
    if (!WordText::IsWordChar(static_cast<unsigned char>(c))) return false;
  words_.push_back(bytes);
  return true;
}

QByteArray TDictionaryCompiler::Compile() {
  std::sort(words_.begin(), words_.end());
  words_.erase(std::unique(words_.begin(), words_.end()), words_.end());
  stats_.wordsKept = qsizetype(words_.size());

  // Sorted input builds the graph along one path: the lists below the part a word shares
  // with the one before are complete and are registered (shared when equal) before the next
  // word extends the path.
  TListRegister lists;
  std::vector<std::vector<TEdge>> path(WordText::kMaxWordLength + 1);  // the lists along the path
  size_t depth = 0;                                                    // path[0..depth] in use
  auto closeTo = [&](size_t level) {
    for (; depth > level; --depth) {
      path[depth - 1].back().list = lists.Register(path[depth]);
      path[depth].clear();
    }
    CheckNodes(lists.Nodes() + path[0].size());  // stop early: memory stays bounded
  };
  QByteArrayView previous;
  for (const QByteArray &word : words_) {
    qsizetype common = 0;
    while (common < previous.size() && common < word.size() && previous[common] == word[common])
      ++common;
    closeTo(static_cast<size_t>(common));
    for (qsizetype i = common; i < word.size(); ++i) {
      path[depth].push_back({static_cast<unsigned char>(word[i]), i + 1 == word.size(), 0});
      ++depth;
    }
    previous = word;
  }
  closeTo(0);
  const std::vector<TEdge> &root = path.front();

  if (root.size() > 255)
    throw TEDictionaryTooLarge(
        QStringLiteral(
            "The word list has %1 different first letters; a dictionary holds at most 255.")
            .arg(root.size()));
  const uint64_t nodes = root.size() + lists.Nodes();
  CheckNodes(nodes);

  // The root list is nodes 1 onward; every other list follows depth first.
  TLayout layout(lists, uint32_t(root.size()) + 1);
  layout.PlaceBelow(root);
  QByteArray out;
  out.reserve(qsizetype{TDCTFile::kHeaderSize} + static_cast<qsizetype>(nodes) * 4);
  out.append(char(qstrlen(TDCTFile::kSignatureText)));
  out.append(TDCTFile::Signature());
  out.append(TDCTFile::kHeaderSize - out.size(), '\0');
  AppendNodes(out, root, layout);
  for (uint32_t id : layout.Order()) AppendNodes(out, lists.List(id), layout);
  // The seal lets a reader tell a cut or damaged file from a sound one.
  out.replace(TDCTFile::kSealOffset, TDCTFile::kHeaderSize - TDCTFile::kSealOffset,
              TDCTFile::Seal(QByteArrayView(out).sliced(TDCTFile::kHeaderSize)));
  stats_.nodes = uint32_t(nodes);
  stats_.lists = qsizetype(lists.ListCount()) + (root.empty() ? 0 : 1);
  return out;
}

void TDictionaryCompiler::Write(const QString &path) {
  const QByteArray bytes = Compile();
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
    throw Spell::EFCreateError(
        QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
}
