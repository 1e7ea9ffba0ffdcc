// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <array>
#include <cstdint>

#include "spell/core/LinkedList.h"

// One open main dictionary file (.dct): a header of 83 bytes, then the letter graph as an
// array of 32-bit little-endian node values, numbered from 1. The node area is read in blocks
// of 512 bytes (128 nodes) with exactly one block in memory. A node number of 0 or beyond the
// last whole node of the file is no node: it reads as the value 0, so walks end there.
//
// The structure is verified while the file is read, so that a damaged file is refused instead
// of answering "no such word" for every word: every child link must name a node inside the
// file, and when the header carries the seal the compiler writes into its free bytes 51..82
// (a tag, the node count and a CRC-32 of the node area), the file must hold exactly that many
// nodes with that checksum. A file that fails raises TEDictionaryCorrupt naming the file.
class TDCTFile : public TLinkedListNode {
 public:
  static constexpr int kHeaderSize = 83;
  static constexpr int kSignatureOffset = 1;
  static constexpr int kSignatureSize = 50;
  static constexpr int kBlockSize = 512;
  static constexpr int kNodesPerBlock = kBlockSize / 4;
  static constexpr uint32_t kMaxNode = 0x3FFFFF;
  // The 43 characters of the signature; 7 zero bytes complete its 50.
  static const char kSignatureText[];
  // The seal in the header's free bytes: tag at 51, node count at 55, CRC-32 at 59.
  static constexpr int kSealOffset = 51;
  static const char kSealTag[];
  // The header bytes 51..82 that seal nodeArea (the node bytes as they follow the header).
  static QByteArray Seal(QByteArrayView nodeArea);
  // The CRC-32 of bytes, continuing one of the bytes before them.
  static uint32_t Crc32(QByteArrayView bytes, uint32_t previous = 0);
  // The text of TEDictionaryCorrupt for a file.
  static QString CorruptMessage(const QString &fileName);
  // The signature as it stands at offsets 1 to 50.
  static QByteArray Signature();

  // How blocks reach memory: from a private copy of the whole file taken at opening (the
  // default; the current block is then a view into the copy), or by reading each block into a
  // buffer. Neither lets a file truncated or replaced on disk while it is open harm the
  // program: the copy does not change, and a block read that comes up short raises
  // Spell::EInOutError instead of returning bytes of another block.
  enum class TReadMode { Mapped, Blocks };

  // Opens and verifies the file; block 0 is in memory afterwards. Raises Spell::EFOpenError
  // ("Dictionary not found : " + name) when there is no such file, Spell::EInOutError when
  // the file is shorter than its header or cannot be read, TEDictionaryCorrupt on a wrong
  // signature, a broken seal or a child link outside the file (in TReadMode::Blocks, links are
  // checked block by block as the blocks are read, and NodeAt raises it then).
  explicit TDCTFile(const QString &fileName, TReadMode mode = TReadMode::Mapped);
  ~TDCTFile() override;

  const QString &FileName() const { return fileName_; }
  const QByteArray &Header() const { return header_; }
  // Number of whole nodes in the file (capped at the largest node number).
  uint32_t NodeCount() const { return nodeCount_; }
  bool HasNode(uint32_t n) const { return n != 0 && n <= nodeCount_; }
  int CurrentBlock() const { return currentBlock_; }
  // How often a block other than the one in memory was needed (for measuring the layout).
  int64_t BlockLoads() const { return blockLoads_; }

  static int BlockOf(uint32_t n) { return static_cast<int>((n - 1) / kNodesPerBlock); }
  static int SlotOf(uint32_t n) { return static_cast<int>((n - 1) % kNodesPerBlock); }

  // The value of node n; 0 when n is no node.
  uint32_t NodeAt(uint32_t n);
  // Scans the sibling list from node first for letter; without a match it returns the last
  // node read (the list's last node, or the last node before the list ran off the file).
  uint32_t FindSibling(uint32_t first, unsigned char letter);
  // True when word (code page 437, already folded) is stored with its end-of-word flag.
  bool ContainsWord(QByteArrayView word);
  // True when word is stored as written or with any of its capitals as a small letter: an
  // ASCII capital also matches the accented small letters the upper-case map turns into it
  // ("Etre", converted from "Être", finds "être"), and "June" or "JUNE" find a stored "June"
  // while "june" does not.
  bool ContainsAnyCase(QByteArrayView word);

  void CloseFile();

  static unsigned char Letter(uint32_t v) { return static_cast<unsigned char>(v >> 24); }
  static bool IsLast(uint32_t v) { return (v & 0x00800000u) != 0; }
  static bool IsWordEnd(uint32_t v) { return (v & 0x00400000u) != 0; }
  static uint32_t Child(uint32_t v) { return v & kMaxNode; }

 private:
  void LoadBlock(int block);
  bool MatchAnyCase(uint32_t list, QByteArrayView rest, int &budget);
  // Checks the seal (when the header has one) and the file's size against it.
  void VerifySeal(qint64 fileSize);
  // Raises TEDictionaryCorrupt when a node of the count nodes at p links outside the file.
  void VerifyLinks(const uchar *p, qsizetype count);
  [[noreturn]] void Corrupt();

  QString fileName_;
  QFile file_;
  QByteArray header_;
  TReadMode mode_;
  uint32_t nodeCount_ = 0;
  int currentBlock_ = -1;
  int64_t blockLoads_ = 0;
  QByteArray copy_;  // the whole file, in TReadMode::Mapped
  const uchar *block_ = nullptr;
  std::array<uchar, kBlockSize> buffer_{};
};
