#include "gfx/BmpDecoder.h"

#include <algorithm>
#include <bit>
#include <string>
#include <vector>

namespace sf {
namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

[[noreturn]] void Fail(const std::string& why) { throw BmpError(why); }

// One colour channel described by a bit mask, widened to 8 bits by repeating its bits (5 bits
// 10011 become 10011100), which is how GDI expands 555 and 565 pixels.
struct Channel {
  uint32_t Mask = 0;
  int Shift = 0;
  int Bits = 0;

  explicit Channel(uint32_t mask) : Mask(mask) {
    if (mask == 0) return;
    Shift = std::countr_zero(mask);
    Bits = std::popcount(mask);
  }
  uint32_t Expand(uint32_t pixel) const {
    if (Bits == 0) return 0;
    const uint32_t v = (pixel & Mask) >> Shift;
    if (Bits >= 8) return (v >> (Bits - 8)) & 0xFF;
    uint32_t out = 0;
    int filled = 0;
    while (filled < 8) {
      out = (out << Bits) | v;
      filled += Bits;
    }
    return (out >> (filled - 8)) & 0xFF;
  }
};

struct Header {
  int32_t Width = 0;
  int32_t Height = 0;  // rows, always positive
  bool TopDown = false;
  uint16_t BitCount = 0;
  uint32_t Compression = kBiRgb;
  uint32_t Masks[3] = {0, 0, 0};
  std::vector<uint32_t> Palette;  // 0x00RRGGBB
  size_t PixelOffset = 0;
};

Header ReadHeader(const uint8_t* data, size_t size) {
  if (size < 14 + 12) Fail("not a bitmap: only " + std::to_string(size) + " bytes");
  if (data[0] != 'B' || data[1] != 'M') Fail("not a bitmap: no \"BM\" signature");
  const uint32_t offBits = U32(data + 10);
  const uint32_t headerSize = U32(data + 14);
  const bool core = headerSize == 12;
  if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 64 && headerSize != 108 &&
      headerSize != 124)
    Fail("unsupported bitmap header size " + std::to_string(headerSize));
  if (14 + static_cast<size_t>(headerSize) > size) Fail("truncated bitmap header");
  const uint8_t* h = data + 14;

  Header hd;
  int64_t height = 0;
  uint32_t coloursUsed = 0;
  size_t paletteEntrySize = 4;
  size_t paletteStart = 14 + headerSize;
  if (core) {
    hd.Width = U16(h + 4);
    height = U16(h + 6);
    hd.BitCount = U16(h + 10);
    paletteEntrySize = 3;
  } else {
    hd.Width = static_cast<int32_t>(U32(h + 4));
    height = static_cast<int32_t>(U32(h + 8));
    hd.BitCount = U16(h + 14);
    hd.Compression = U32(h + 16);
    coloursUsed = U32(h + 32);
  }
  if (hd.Width <= 0) Fail("invalid bitmap width " + std::to_string(hd.Width));
  if (height == 0) Fail("invalid bitmap height 0");
  hd.TopDown = height < 0;
  if (height < 0) height = -height;
  if (hd.Width > kMaxBmpSide || height > kMaxBmpSide || int64_t{hd.Width} * height > kMaxBmpPixels)
    Fail("bitmap too large (" + std::to_string(hd.Width) + " x " + std::to_string(height) + ")");
  hd.Height = static_cast<int32_t>(height);

  const uint16_t bpp = hd.BitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    Fail("unsupported bit depth " + std::to_string(bpp));
  switch (hd.Compression) {
    case kBiRgb: break;
    case kBiRle8:
      if (bpp != 8) Fail("RLE8 bitmap with bit depth " + std::to_string(bpp));
      break;
    case kBiRle4:
      if (bpp != 4) Fail("RLE4 bitmap with bit depth " + std::to_string(bpp));
      break;
    case kBiBitfields:
    case kBiAlphaBitfields:
      if (bpp != 16 && bpp != 32) Fail("bit-field bitmap with bit depth " + std::to_string(bpp));
      break;
    default: Fail("unsupported bitmap compression " + std::to_string(hd.Compression));
  }
  if ((hd.Compression == kBiRle8 || hd.Compression == kBiRle4) && hd.TopDown) Fail("compressed bitmap stored top-down");

  if (hd.Compression == kBiBitfields || hd.Compression == kBiAlphaBitfields) {
    const uint8_t* m = h + 40;
    if (headerSize == 40) {
      const size_t maskBytes = hd.Compression == kBiBitfields ? 12 : 16;
      if (paletteStart + maskBytes > size) Fail("truncated bitmap colour masks");
      m = data + paletteStart;
      paletteStart += maskBytes;
    }
    for (int i = 0; i < 3; ++i) hd.Masks[i] = U32(m + 4 * i);
  } else if (bpp == 16) {
    hd.Masks[0] = 0x7C00;
    hd.Masks[1] = 0x03E0;
    hd.Masks[2] = 0x001F;
  } else if (bpp == 32) {
    hd.Masks[0] = 0xFF0000;
    hd.Masks[1] = 0x00FF00;
    hd.Masks[2] = 0x0000FF;
  }

  if (bpp <= 8) {
    const uint32_t maxColours = 1u << bpp;
    const uint32_t count = (coloursUsed == 0 || coloursUsed > maxColours) ? maxColours : coloursUsed;
    if (paletteStart + count * paletteEntrySize > size) Fail("truncated bitmap palette");
    hd.Palette.assign(maxColours, 0);  // indexes past the stored palette draw black
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* q = data + paletteStart + i * paletteEntrySize;
      hd.Palette[i] = (static_cast<uint32_t>(q[2]) << 16) | (static_cast<uint32_t>(q[1]) << 8) | q[0];
    }
  }

  hd.PixelOffset = offBits;
  if (hd.PixelOffset < 14 + static_cast<size_t>(headerSize)) Fail("bitmap pixel offset inside its header");
  if (hd.PixelOffset >= size) Fail("truncated bitmap: no pixel data");
  return hd;
}

// Uncompressed pixel data must be complete; checked before the surface is made, so a damaged
// header cannot make a large allocation for a few bytes of data.
void CheckUncompressedSize(const Header& hd, size_t size) {
  const int64_t rowBits = int64_t{hd.Width} * hd.BitCount;
  const size_t stride = static_cast<size_t>(((rowBits + 31) / 32) * 4);
  const size_t rowBytes = static_cast<size_t>((rowBits + 7) / 8);
  const size_t needed = hd.PixelOffset + stride * static_cast<size_t>(hd.Height - 1) + rowBytes;
  if (needed > size)
    Fail("truncated bitmap: pixel data needs " + std::to_string(needed) + " bytes, has " + std::to_string(size));
}

void DecodeUncompressed(const Header& hd, const uint8_t* data, size_t size, Surface& out) {
  const int64_t rowBits = int64_t{hd.Width} * hd.BitCount;
  const size_t stride = static_cast<size_t>(((rowBits + 31) / 32) * 4);
  CheckUncompressedSize(hd, size);  // never read past the buffer, whoever calls
  const Channel red(hd.Masks[0]), green(hd.Masks[1]), blue(hd.Masks[2]);
  const bool plain32 = hd.BitCount == 32 && hd.Masks[0] == 0xFF0000 && hd.Masks[1] == 0xFF00 && hd.Masks[2] == 0xFF;

  for (int32_t line = 0; line < hd.Height; ++line) {
    const uint8_t* src = data + hd.PixelOffset + stride * static_cast<size_t>(line);
    uint32_t* dst = out.Row(hd.TopDown ? line : hd.Height - 1 - line);
    const int32_t w = hd.Width;
    switch (hd.BitCount) {
      case 1:
        for (int32_t x = 0; x < w; ++x) dst[x] = hd.Palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
        break;
      case 4:
        for (int32_t x = 0; x < w; ++x) dst[x] = hd.Palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
        break;
      case 8:
        for (int32_t x = 0; x < w; ++x) dst[x] = hd.Palette[src[x]];
        break;
      case 16:
        for (int32_t x = 0; x < w; ++x) {
          const uint32_t p = U16(src + 2 * x);
          dst[x] = (red.Expand(p) << 16) | (green.Expand(p) << 8) | blue.Expand(p);
        }
        break;
      case 24:
        for (int32_t x = 0; x < w; ++x) {
          const uint8_t* q = src + 3 * x;
          dst[x] = (static_cast<uint32_t>(q[2]) << 16) | (static_cast<uint32_t>(q[1]) << 8) | q[0];
        }
        break;
      case 32:
        if (plain32) {
          for (int32_t x = 0; x < w; ++x) dst[x] = U32(src + 4 * x) & 0xFFFFFF;
        } else {
          for (int32_t x = 0; x < w; ++x) {
            const uint32_t p = U32(src + 4 * x);
            dst[x] = (red.Expand(p) << 16) | (green.Expand(p) << 8) | blue.Expand(p);
          }
        }
        break;
      default: break;
    }
  }
}

// Run-length encoded 8- and 4-bit bitmaps. Pixels that the codes skip keep palette index 0.
// Runs past the right edge are cut; a missing end-of-bitmap code ends the picture quietly.
void DecodeRle(const Header& hd, const uint8_t* data, size_t size, Surface& out) {
  const bool four = hd.Compression == kBiRle4;
  const int32_t w = hd.Width;
  const int32_t h = hd.Height;
  std::fill(out.Pixels.begin(), out.Pixels.end(), hd.Palette[0]);
  size_t p = hd.PixelOffset;
  int64_t x = 0;
  int64_t y = 0;  // line counted from the bottom
  auto put = [&](uint8_t v) {
    if (x < w && y < h) out.At(static_cast<int32_t>(x), static_cast<int32_t>(h - 1 - y)) = hd.Palette[v];
    ++x;
  };
  while (y < h && p + 2 <= size) {
    const uint8_t count = data[p];
    const uint8_t value = data[p + 1];
    p += 2;
    if (count > 0) {
      for (int i = 0; i < count && x < w; ++i) put(four ? ((i & 1) ? (value & 0xF) : (value >> 4)) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // move right and up
      if (p + 2 > size) Fail("truncated RLE bitmap: cut inside a move code");
      x += data[p];
      y += data[p + 1];
      p += 2;
    } else {  // literal run of `value` pixels, padded to a 16-bit boundary
      const size_t bytes = four ? (value + 1u) / 2u : value;
      const size_t padded = (bytes + 1u) & ~size_t{1};
      if (p + bytes > size) Fail("truncated RLE bitmap: cut inside a literal run");
      for (int i = 0; i < value; ++i) {
        const uint8_t b = data[p + (four ? static_cast<size_t>(i / 2) : static_cast<size_t>(i))];
        put(four ? ((i & 1) ? (b & 0xF) : (b >> 4)) : b);
      }
      p += padded;
    }
  }
}

}  // namespace

std::unique_ptr<Surface> DecodeBmp(const uint8_t* data, size_t size) {
  if (data == nullptr) Fail("no bitmap data");
  const Header hd = ReadHeader(data, size);
  const bool rle = hd.Compression == kBiRle8 || hd.Compression == kBiRle4;
  if (!rle) CheckUncompressedSize(hd, size);
  auto surface = std::make_unique<Surface>(hd.Width, hd.Height);
  if (rle) {
    DecodeRle(hd, data, size, *surface);
  } else {
    DecodeUncompressed(hd, data, size, *surface);
  }
  return surface;
}

}  // namespace sf
