// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/core/DCTFile.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <algorithm>
#include <cstddef>

#include "spell/core/SpellErrors.h"
#include "spell/core/UpperMap.h"

const char TDCTFile::kSignatureText[] = "Copyright (c) 1996, Lexivane Wordworks Corp";
const char TDCTFile::kSealTag[] = "VXS1";

namespace {

uint32_t ReadLE(const uchar *p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void AppendLE(QByteArray &out, uint32_t v) {
  const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
  out.append(b, 4);
}

// For each byte: the byte itself, then the small letters the upper-case map turns into it.
const std::array<QByteArray, 256> &CaseCandidates() {
  static const std::array<QByteArray, 256> table = [] {
    std::array<QByteArray, 256> t;
    for (int c = 0; c < 256; ++c) t[c].append(char(c));
    for (int x = 0; x < 256; ++x)
      if (const unsigned char u = UpperMap(static_cast<unsigned char>(x)); u != x)
        t[u].append(char(x));
    return t;
  }();
  return table;
}

}  // namespace

uint32_t TDCTFile::Crc32(QByteArrayView bytes, uint32_t previous) {
  static const auto table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  uint32_t crc = previous ^ 0xFFFFFFFFu;
  for (char ch : bytes) crc = table[(crc ^ static_cast<uchar>(ch)) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

QByteArray TDCTFile::Seal(QByteArrayView nodeArea) {
  QByteArray seal(kSealTag, 4);
  AppendLE(seal, uint32_t(nodeArea.size() / 4));
  AppendLE(seal, Crc32(nodeArea));
  seal.append(kHeaderSize - kSealOffset - seal.size(), '\0');
  return seal;
}

QString TDCTFile::CorruptMessage(const QString &fileName) {
  return QStringLiteral("Dictionary Corrupt.\n") + fileName;
}

void TDCTFile::Corrupt() {
  const QString name = fileName_;
  CloseFile();
  throw TEDictionaryCorrupt(CorruptMessage(name));
}

void TDCTFile::VerifySeal(qint64 fileSize) {
  const auto *h = reinterpret_cast<const uchar *>(header_.constData());
  if (QByteArrayView(header_).sliced(kSealOffset, 4) != QByteArrayView(kSealTag, 4)) return;
  const uint32_t sealedNodes = ReadLE(h + kSealOffset + 4);
  if (fileSize != kHeaderSize + qint64(sealedNodes) * 4) Corrupt();
}

void TDCTFile::VerifyLinks(const uchar *p, qsizetype count) {
  for (qsizetype i = 0; i < count; ++i)
    if (Child(ReadLE(p + 4 * i)) > nodeCount_) Corrupt();
}

QByteArray TDCTFile::Signature() {
  QByteArray signature(kSignatureText);
  signature.append(kSignatureSize - signature.size(), '\0');
  return signature;
}

TDCTFile::TDCTFile(const QString &fileName, TReadMode mode)
    : fileName_(fileName), file_(fileName), mode_(mode) {
  if (!QFileInfo(fileName).isFile())
    throw Spell::EFOpenError(QStringLiteral("Dictionary not found : ") + fileName);
  if (!file_.open(QIODevice::ReadOnly))
    throw Spell::EFOpenError(
        QStringLiteral("Cannot open dictionary \"%1\": %2").arg(fileName, file_.errorString()));
  header_ = file_.read(kHeaderSize);
  if (header_.size() < kHeaderSize) {
    CloseFile();
    throw Spell::EInOutError(QStringLiteral("Read beyond end of file : ") + fileName);
  }
  if (QByteArrayView(header_).sliced(kSignatureOffset, kSignatureSize) != Signature()) {
    CloseFile();
    throw TEDictionaryCorrupt(CorruptMessage(fileName));
  }
  const qint64 fileSize = file_.size();
  VerifySeal(fileSize);
  const qint64 nodes = (fileSize - kHeaderSize) / 4;
  if (nodes > kMaxNode) Corrupt();  // more nodes than a node number can name
  nodeCount_ = static_cast<uint32_t>(nodes);
  const qint64 areaSize = qint64(nodeCount_) * 4;
  const bool sealed = QByteArrayView(header_).sliced(kSealOffset, 4) == QByteArrayView(kSealTag, 4);
  const uint32_t sealedCrc =
      ReadLE(reinterpret_cast<const uchar *>(header_.constData()) + kSealOffset + 8);
  const auto readFailed = [this, &fileName] {
    const QString reason = file_.errorString();
    CloseFile();
    throw Spell::EInOutError(
        QStringLiteral("Cannot read dictionary \"%1\": %2").arg(fileName, reason));
  };
  if (mode_ == TReadMode::Mapped) {
    // Only the whole nodes counted above are ever read, whatever the file holds by now.
    copy_ = file_.read(areaSize);
    if (copy_.size() != areaSize) readFailed();
    file_.close();
    if (sealed && Crc32(copy_) != sealedCrc) Corrupt();
    VerifyLinks(reinterpret_cast<const uchar *>(copy_.constData()), nodeCount_);
  } else if (sealed) {
    // The checksum needs every node once; the links are checked as the blocks are read.
    uint32_t crc = 0;
    for (qint64 done = 0; done < areaSize;) {
      const QByteArray chunk = file_.read(qMin<qint64>(1 << 16, areaSize - done));
      if (chunk.isEmpty()) readFailed();
      crc = Crc32(chunk, crc);
      done += chunk.size();
    }
    if (crc != sealedCrc) Corrupt();
  }
  auto close = qScopeGuard([this] { CloseFile(); });  // the error goes on to the caller
  LoadBlock(0);
  close.dismiss();
}

TDCTFile::~TDCTFile() { CloseFile(); }

void TDCTFile::CloseFile() {
  copy_.clear();
  block_ = nullptr;
  currentBlock_ = -1;
  nodeCount_ = 0;
  file_.close();
}

void TDCTFile::LoadBlock(int block) {
  const qint64 offset = kHeaderSize + qint64(kBlockSize) * block;
  if (mode_ == TReadMode::Mapped) {
    block_ = reinterpret_cast<const uchar *>(copy_.constData()) + (offset - kHeaderSize);
  } else {
    // The last block may be short; only the whole nodes counted at opening are ever read, so a
    // file cut since then gives a short read, never the rest of a block read before.
    const qint64 nodeBytes = kHeaderSize + qint64(nodeCount_) * 4;
    const qint64 want = qMin<qint64>(kBlockSize, qMax<qint64>(0, nodeBytes - offset));
    if (!file_.isOpen() || !file_.seek(offset) ||
        file_.read(reinterpret_cast<char *>(buffer_.data()), want) != want) {
      currentBlock_ = -1;
      throw Spell::EInOutError(
          QStringLiteral("Cannot read dictionary \"%1\": %2").arg(fileName_, file_.errorString()));
    }
    block_ = buffer_.data();
    VerifyLinks(block_, want / 4);
  }
  currentBlock_ = block;
  ++blockLoads_;
}

uint32_t TDCTFile::NodeAt(uint32_t n) {
  if (!HasNode(n)) return 0;
  const int block = BlockOf(n);
  if (block != currentBlock_) LoadBlock(block);
  return ReadLE(block_ + std::ptrdiff_t{4} * SlotOf(n));
}

uint32_t TDCTFile::FindSibling(uint32_t first, unsigned char letter) {
  uint32_t n = first;
  uint32_t v = NodeAt(n);
  while (Letter(v) != letter && !IsLast(v) && HasNode(n + 1)) v = NodeAt(++n);
  return v;
}

bool TDCTFile::ContainsWord(QByteArrayView word) {
  uint32_t a = 1;
  while (a != 0 && !word.isEmpty()) {
    const auto letter = static_cast<unsigned char>(word.front());
    if (!HasNode(a)) return false;
    const uint32_t v = FindSibling(a, letter);
    if (Letter(v) != letter) return false;
    word = word.sliced(1);
    if (word.isEmpty()) return IsWordEnd(v);
    a = Child(v);
  }
  return false;
}

bool TDCTFile::ContainsAnyCase(QByteArrayView word) {
  // Most words are stored as written; only a word with a capital needs the branching walk.
  if (ContainsWord(word)) return true;
  const auto &candidates = CaseCandidates();
  if (std::none_of(word.begin(), word.end(), [&candidates](char c) {
        return candidates[static_cast<unsigned char>(c)].size() > 1;
      }))
    return false;
  // Each capital may branch into a few letters; the graph prunes nearly all of them, and the
  // budget bounds a walk through a file made to branch everywhere.
  int budget = 4096;
  return MatchAnyCase(1, word, budget);
}

bool TDCTFile::MatchAnyCase(uint32_t list, QByteArrayView rest, int &budget) {
  if (!HasNode(list)) return false;
  for (char candidate : CaseCandidates()[static_cast<unsigned char>(rest.front())]) {
    if (--budget < 0) return false;
    const auto letter = static_cast<unsigned char>(candidate);
    const uint32_t v = FindSibling(list, letter);
    if (Letter(v) != letter) continue;
    if (rest.size() == 1) {
      if (IsWordEnd(v)) return true;
    } else if (MatchAnyCase(Child(v), rest.sliced(1), budget)) {
      return true;
    }
  }
  return false;
}
