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
  if (mode_ == TReadMode::Mapped && file_.size() > kHeaderSize) map_ = file_.map(0, file_.size());
  if (!map_) mode_ = TReadMode::Blocks;
  try {
    LoadBlock(0);
  } catch (...) {
    CloseFile();
    throw;
  }
}

TDCTFile::~TDCTFile() { CloseFile(); }

void TDCTFile::CloseFile() {
  if (map_) file_.unmap(const_cast<uchar *>(map_));
  map_ = nullptr;
  block_ = nullptr;
  currentBlock_ = -1;
  nodeCount_ = 0;
  file_.close();
}

void TDCTFile::LoadBlock(int block) {
  const qint64 offset = kHeaderSize + qint64(kBlockSize) * block;
  if (map_) {
    block_ = map_ + offset;
  } else {
    // The last block may be short; only the whole nodes in it are ever read.
    const qint64 want = qMin<qint64>(kBlockSize, qMax<qint64>(0, file_.size() - offset));
    if (!file_.seek(offset) || file_.read(reinterpret_cast<char *>(buffer_.data()), want) != want) {
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
