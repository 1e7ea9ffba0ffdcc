#include "DCTFile.h"

#include <QFileInfo>

#include "SpellErrors.h"

const char TDCTFile::kSignatureText[] = "Copyright (c) 1996, Lexivane Wordworks Corp";

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
    throw TEDictionaryCorrupt(QStringLiteral("Dictionary Corrupt."));
  }
  const qint64 nodes = (file_.size() - kHeaderSize) / 4;
  nodeCount_ = static_cast<uint32_t>(qMin<qint64>(nodes, kMaxNode));
  if (mode_ == TReadMode::Mapped) {
    // Only the whole nodes counted above are ever read, whatever the file holds by now.
    copy_ = file_.read(qint64(nodeCount_) * 4);
    if (copy_.size() != qint64(nodeCount_) * 4) {
      const QString reason = file_.errorString();
      CloseFile();
      throw Spell::EInOutError(
          QStringLiteral("Cannot read dictionary \"%1\": %2").arg(fileName, reason));
    }
    file_.close();
  }
  try {
    LoadBlock(0);
  } catch (...) {
    CloseFile();
    throw;
  }
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
  }
  currentBlock_ = block;
  ++blockLoads_;
}

uint32_t TDCTFile::NodeAt(uint32_t n) {
  if (!HasNode(n)) return 0;
  const int block = BlockOf(n);
  if (block != currentBlock_) LoadBlock(block);
  const uchar *p = block_ + 4 * SlotOf(n);
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
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
