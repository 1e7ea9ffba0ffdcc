// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/core/UpperMap.h"

#include <array>

namespace {

struct Pair {
  unsigned char from;
  unsigned char to;
};

constexpr Pair kAccented[] = {
    {0x81, 0x9A}, {0x82, 0x90}, {0x83, 0x41}, {0x84, 0x8E}, {0x85, 0x41}, {0x86, 0x8F},
    {0x87, 0x80}, {0x88, 0x45}, {0x89, 0x45}, {0x8A, 0x45}, {0x8B, 0x49}, {0x8C, 0x49},
    {0x8D, 0x49}, {0x91, 0x92}, {0x93, 0x4F}, {0x94, 0x99}, {0x95, 0x4F}, {0x96, 0x55},
    {0x98, 0x59}, {0xA0, 0x41}, {0xA1, 0x49}, {0xA2, 0x4F}, {0xA3, 0x55}, {0xA4, 0xA5},
};

constexpr std::array<unsigned char, 256> BuildTable() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c)
    table[c] = (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A')
                                      : static_cast<unsigned char>(c);
  for (const Pair &p : kAccented) table[p.from] = p.to;
  return table;
}

constexpr std::array<unsigned char, 256> kTable = BuildTable();

}  // namespace

unsigned char UpperMap(unsigned char ch) { return kTable[ch]; }
