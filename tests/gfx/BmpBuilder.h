#pragma once
// Writes small Windows bitmaps of every layout the decoder accepts, for the tests.
#include <cstdint>
#include <vector>

namespace sf::test {

inline void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

struct BmpLayout {
  int32_t Width = 1;
  int32_t Height = 1;  // rows; TopDown stores a negative height
  bool TopDown = false;
  uint16_t BitCount = 24;
  uint32_t Compression = 0;
  uint32_t HeaderSize = 40;       // 12, 40 or 108
  std::vector<uint32_t> Masks;    // bit fields (written after a 40-byte header or inside a larger one)
  std::vector<uint32_t> Palette;  // 0x00RRGGBB
  std::vector<uint8_t> Bits;      // pixel data as stored (rows bottom-up unless TopDown)
};

inline std::vector<uint8_t> BuildBmp(const BmpLayout& s) {
  std::vector<uint8_t> dib;
  const bool core = s.HeaderSize == 12;
  Put32(dib, s.HeaderSize);
  if (core) {
    Put16(dib, static_cast<uint32_t>(s.Width));
    Put16(dib, static_cast<uint32_t>(s.Height));
    Put16(dib, 1);
    Put16(dib, s.BitCount);
  } else {
    Put32(dib, static_cast<uint32_t>(s.Width));
    Put32(dib, static_cast<uint32_t>(s.TopDown ? -s.Height : s.Height));
    Put16(dib, 1);
    Put16(dib, s.BitCount);
    Put32(dib, s.Compression);
    Put32(dib, static_cast<uint32_t>(s.Bits.size()));
    Put32(dib, 2835);
    Put32(dib, 2835);
    Put32(dib, static_cast<uint32_t>(s.Palette.size()));
    Put32(dib, 0);
    if (s.HeaderSize > 40) {
      for (size_t i = 0; i < 4; ++i) Put32(dib, i < s.Masks.size() ? s.Masks[i] : 0);
      while (dib.size() < s.HeaderSize) dib.push_back(0);
    } else {
      for (uint32_t m : s.Masks) Put32(dib, m);
    }
  }
  for (uint32_t c : s.Palette) {
    dib.push_back(static_cast<uint8_t>(c));
    dib.push_back(static_cast<uint8_t>(c >> 8));
    dib.push_back(static_cast<uint8_t>(c >> 16));
    if (!core) dib.push_back(0);
  }
  std::vector<uint8_t> file = {'B', 'M'};
  Put32(file, static_cast<uint32_t>(14 + dib.size() + s.Bits.size()));
  Put32(file, 0);
  Put32(file, static_cast<uint32_t>(14 + dib.size()));
  file.insert(file.end(), dib.begin(), dib.end());
  file.insert(file.end(), s.Bits.begin(), s.Bits.end());
  return file;
}

// A 24-bit bottom-up bitmap of the given 0x00RRGGBB pixels, row after row from the top.
inline std::vector<uint8_t> Bmp24(int32_t w, int32_t h, const std::vector<uint32_t>& pixels) {
  BmpLayout s;
  s.Width = w;
  s.Height = h;
  const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
  s.Bits.assign(stride * static_cast<size_t>(h), 0);
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* row = s.Bits.data() + stride * static_cast<size_t>(h - 1 - y);
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t p = pixels[static_cast<size_t>(y * w + x)];
      row[3 * x] = static_cast<uint8_t>(p);
      row[3 * x + 1] = static_cast<uint8_t>(p >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(p >> 16);
    }
  }
  return BuildBmp(s);
}

// The pack layout: a 4-byte little-endian length before each bitmap.
inline std::vector<uint8_t> BuildPack(const std::vector<std::vector<uint8_t>>& entries) {
  std::vector<uint8_t> pack;
  for (const auto& e : entries) {
    Put32(pack, static_cast<uint32_t>(e.size()));
    pack.insert(pack.end(), e.begin(), e.end());
  }
  return pack;
}

}  // namespace sf::test
