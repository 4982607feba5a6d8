#pragma once
#include <cstdint>

namespace sf {

// The game's single-byte code page (Windows-1252), in which names are typed, drawn, stored in
// "Config.cfg" and sent to the score service: the Unicode character of a byte. The five bytes the
// code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) give their own value.
constexpr char32_t Cp1252ToUnicode(uint8_t b) {
  constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  return (b >= 0x80 && b <= 0x9F) ? kHigh[b - 0x80] : b;
}

// The bytes without a character of their own.
constexpr bool IsUnassignedCp1252(uint8_t b) { return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D; }

}  // namespace sf
