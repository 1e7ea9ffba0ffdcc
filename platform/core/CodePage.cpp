// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/core/CodePage.h"

#include <array>
#include <unordered_map>

namespace {

// Windows-1252 bytes 0x80..0x9F; the five unassigned bytes keep their C1 control value.
constexpr std::array<char16_t, 32> kWin1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Code page 437 bytes 0x80..0xFF.
constexpr std::array<char16_t, 128> kOem437High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

using ReverseMap = std::unordered_map<char16_t, unsigned char>;

ReverseMap buildReverse(char16_t (*toUnicode)(unsigned char)) {
  ReverseMap map;
  for (int b = 255; b >= 0; --b)
    map[toUnicode(static_cast<unsigned char>(b))] = static_cast<unsigned char>(b);
  return map;
}

const ReverseMap &win1252Reverse() {
  static const ReverseMap map = buildReverse(&CodePage::Windows1252ToUnicode);
  return map;
}

const ReverseMap &oem437Reverse() {
  static const ReverseMap map = buildReverse(&CodePage::Oem437ToUnicode);
  return map;
}

// One character into a single-byte code page: exact, else the base letter of an accented
// letter when the code page holds it, else '?'. The typographic single quotes (Windows-1252
// 0x91 and 0x92) become the apostrophe, so that "isn’t" stays one word in code page 437.
unsigned char toByte(const ReverseMap &map, char16_t ch, bool &lossless) {
  if (auto it = map.find(ch); it != map.end()) return it->second;
  lossless = false;
  if (ch == u'\u2018' || ch == u'\u2019') return '\'';
  const QString decomposed = QChar(ch).decomposition();
  if (!decomposed.isEmpty() && QChar(ch).decompositionTag() == QChar::Canonical) {
    if (auto it = map.find(decomposed.at(0).unicode()); it != map.end()) return it->second;
  }
  return '?';
}

QByteArray toBytes(const ReverseMap &map, QStringView text, bool *lossless) {
  QByteArray out(text.size(), Qt::Uninitialized);
  char *to = out.data();
  bool exact = true;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t ch = text[i].unicode();
    if (ch < 0x80) {  // both code pages keep ASCII as it is
      *to++ = char(ch);
      continue;
    }
    if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      ++i;  // a character outside the basic plane exists in neither code page
      exact = false;
      *to++ = '?';
      continue;
    }
    *to++ = static_cast<char>(toByte(map, ch, exact));
  }
  out.truncate(to - out.constData());
  if (lossless) *lossless = exact;
  return out;
}

}  // namespace

namespace CodePage {

char16_t Windows1252ToUnicode(unsigned char byte) {
  return (byte >= 0x80 && byte < 0xA0) ? kWin1252High[byte - 0x80] : char16_t(byte);
}

char16_t Oem437ToUnicode(unsigned char byte) {
  return byte < 0x80 ? char16_t(byte) : kOem437High[byte - 0x80];
}

QString FromWindows1252(QByteArrayView bytes) {
  QString out(bytes.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < bytes.size(); ++i)
    out[i] = QChar(Windows1252ToUnicode(static_cast<unsigned char>(bytes[i])));
  return out;
}

QString FromOem437(QByteArrayView bytes) {
  QString out(bytes.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < bytes.size(); ++i)
    out[i] = QChar(Oem437ToUnicode(static_cast<unsigned char>(bytes[i])));
  return out;
}

QByteArray ToWindows1252(QStringView text, bool *lossless) {
  return toBytes(win1252Reverse(), text, lossless);
}

QByteArray ToOem437(QStringView text, bool *lossless) {
  return toBytes(oem437Reverse(), text, lossless);
}

bool FitsWindows1252(QStringView text) {
  bool lossless = true;
  toBytes(win1252Reverse(), text, &lossless);
  return lossless;
}

QByteArray AnsiToOem(QByteArrayView ansi) { return ToOem437(FromWindows1252(ansi)); }

QByteArray OemToAnsi(QByteArrayView oem) { return ToWindows1252(FromOem437(oem)); }

}  // namespace CodePage
