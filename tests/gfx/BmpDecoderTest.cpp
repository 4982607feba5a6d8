#include <gtest/gtest.h>

#include "BmpBuilder.h"
#include "gfx/BmpDecoder.h"

namespace sf {
namespace {

using test::BmpLayout;
using test::BuildBmp;

// Packs top-first palette indices into stored rows of the given depth.
std::vector<uint8_t> PackIndices(int32_t w, int32_t h, int bpp, const std::vector<int>& idx, bool topDown = false) {
  const size_t stride = ((static_cast<size_t>(w) * static_cast<size_t>(bpp) + 31) / 32) * 4;
  std::vector<uint8_t> bits(stride * static_cast<size_t>(h), 0);
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* row = bits.data() + stride * static_cast<size_t>(topDown ? y : h - 1 - y);
    for (int32_t x = 0; x < w; ++x) {
      const int v = idx[static_cast<size_t>(y * w + x)];
      const int bit = x * bpp;
      row[bit / 8] |= static_cast<uint8_t>(v << (8 - bpp - bit % 8));
    }
  }
  return bits;
}

std::vector<uint8_t> Pack16(int32_t w, int32_t h, const std::vector<uint16_t>& px) {
  const size_t stride = (static_cast<size_t>(w) * 2 + 3) & ~size_t{3};
  std::vector<uint8_t> bits(stride * static_cast<size_t>(h), 0);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      uint8_t* p = bits.data() + stride * static_cast<size_t>(h - 1 - y) + 2 * x;
      p[0] = static_cast<uint8_t>(px[static_cast<size_t>(y * w + x)]);
      p[1] = static_cast<uint8_t>(px[static_cast<size_t>(y * w + x)] >> 8);
    }
  return bits;
}

std::vector<uint32_t> Pixels(const Surface& s) { return s.Pixels; }

std::vector<uint32_t> Expected(const std::vector<uint32_t>& palette, const std::vector<int>& idx) {
  std::vector<uint32_t> out;
  for (int i : idx) out.push_back(palette[static_cast<size_t>(i)]);
  return out;
}

std::unique_ptr<Surface> Decode(const std::vector<uint8_t>& file) { return DecodeBmp(file.data(), file.size()); }

TEST(BmpDecoder, PaletteDepthsWithOddWidthsAndBothRowOrders) {
  const std::vector<uint32_t> pal16 = {0x000000, 0xFF00FF, 0x123456, 0xABCDEF, 0x00FF00, 0x0000FF, 0xFF0000, 0x111111,
                                       0x222222, 0x333333, 0x444444, 0x555555, 0x666666, 0x777777, 0x888888, 0x999999};
  for (int bpp : {1, 4, 8}) {
    for (bool topDown : {false, true}) {
      const int32_t w = 11, h = 3;
      std::vector<int> idx;
      const int colours = bpp == 1 ? 2 : 16;
      for (int i = 0; i < w * h; ++i) idx.push_back((i * 7 + 3) % colours);
      BmpLayout s;
      s.Width = w;
      s.Height = h;
      s.TopDown = topDown;
      s.BitCount = static_cast<uint16_t>(bpp);
      s.Palette.assign(pal16.begin(), pal16.begin() + colours);
      s.Bits = PackIndices(w, h, bpp, idx, topDown);
      auto surface = Decode(BuildBmp(s));
      ASSERT_EQ(surface->Width, w);
      ASSERT_EQ(surface->Height, h);
      EXPECT_EQ(Pixels(*surface), Expected(s.Palette, idx)) << "bpp " << bpp << " topDown " << topDown;
    }
  }
}

TEST(BmpDecoder, CoreHeaderWithThreeBytePaletteAndShortPaletteDrawsBlack) {
  BmpLayout s;
  s.HeaderSize = 12;
  s.Width = 3;
  s.Height = 2;
  s.BitCount = 8;
  s.Palette.assign(256, 0);
  s.Palette[5] = 0xFF00FF;
  s.Palette[200] = 0x102030;
  s.Bits = PackIndices(3, 2, 8, {5, 200, 5, 200, 200, 5});
  EXPECT_EQ(Pixels(*Decode(BuildBmp(s))),
            (std::vector<uint32_t>{0xFF00FF, 0x102030, 0xFF00FF, 0x102030, 0x102030, 0xFF00FF}));

  // A 40-byte header that lists only two colours: index 3 is past the stored palette.
  BmpLayout t;
  t.Width = 2;
  t.Height = 1;
  t.BitCount = 8;
  t.Palette = {0x0000FF, 0x00FF00};
  t.Bits = PackIndices(2, 1, 8, {1, 3});
  EXPECT_EQ(Pixels(*Decode(BuildBmp(t))), (std::vector<uint32_t>{0x00FF00, 0x000000}));
}

TEST(BmpDecoder, SixteenBitFormatsWidenChannelsByRepeatingBits) {
  const std::vector<uint16_t> px555 = {0x7C1F, 0x0421, 0x7FFF};
  BmpLayout s;
  s.Width = 3;
  s.Height = 1;
  s.BitCount = 16;
  s.Bits = Pack16(3, 1, px555);
  EXPECT_EQ(Pixels(*Decode(BuildBmp(s))), (std::vector<uint32_t>{0xFF00FF, 0x080808, 0xFFFFFF}));

  const std::vector<uint16_t> px565 = {0xF800, 0x07E0, 0x0020, 0x8410, 0xF81F};
  const std::vector<uint32_t> expected565 = {0xFF0000, 0x00FF00, 0x000400, 0x848284, 0xFF00FF};
  for (uint32_t header : {40u, 108u}) {
    BmpLayout b;
    b.HeaderSize = header;
    b.Width = 5;
    b.Height = 1;
    b.BitCount = 16;
    b.Compression = 3;
    b.Masks = {0xF800, 0x07E0, 0x001F};
    b.Bits = Pack16(5, 1, px565);
    EXPECT_EQ(Pixels(*Decode(BuildBmp(b))), expected565) << "header " << header;
  }
}

TEST(BmpDecoder, TrueColourDepths) {
  // 24 bits, width 3 so each row carries 3 bytes of padding.
  const std::vector<uint32_t> px = {0xFF00FF, 0x010203, 0xFFFFFF, 0x000000, 0x808080, 0x123456};
  EXPECT_EQ(Pixels(*Decode(test::Bmp24(3, 2, px))), px);

  BmpLayout s;
  s.Width = 2;
  s.Height = 2;
  s.BitCount = 32;
  s.TopDown = true;
  for (uint32_t p : {0xAAFF00FFu, 0x00112233u, 0xFF445566u, 0x01000000u}) test::Put32(s.Bits, p);
  EXPECT_EQ(Pixels(*Decode(BuildBmp(s))), (std::vector<uint32_t>{0xFF00FF, 0x112233, 0x445566, 0x000000}));

  s.Compression = 3;  // 32-bit bit fields in blue, green, red order
  s.Masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  EXPECT_EQ(Pixels(*Decode(BuildBmp(s))), (std::vector<uint32_t>{0xFF00FF, 0x332211, 0x665544, 0x000000}));
}

TEST(BmpDecoder, Rle8RunsLiteralsMovesAndClipping) {
  BmpLayout s;
  s.Width = 6;
  s.Height = 3;
  s.BitCount = 8;
  s.Compression = 1;
  s.Palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  s.Bits = {3, 1, 0, 3, 2, 3, 2, 0, 0, 0,  // bottom line: run of 3, literal of 3 (padded), end of line
            2, 2, 0, 2, 2, 1,              // two pixels, then move right 2 and up 1
            4, 3,                          // a run cut at the right edge
            0, 1};
  EXPECT_EQ(Pixels(*Decode(BuildBmp(s))), Expected(s.Palette, {0, 0, 0, 0, 3, 3,  //
                                                               2, 2, 0, 0, 0, 0,  //
                                                               1, 1, 1, 2, 3, 2}));
}

TEST(BmpDecoder, Rle4NibbleRunsAndLiterals) {
  BmpLayout s;
  s.Width = 5;
  s.Height = 2;
  s.BitCount = 4;
  s.Compression = 2;
  for (uint32_t i = 0; i < 16; ++i) s.Palette.push_back(i * 0x111111);
  s.Bits = {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 2, 0x67, 0, 1};
  EXPECT_EQ(Pixels(*Decode(BuildBmp(s))), Expected(s.Palette, {3, 4, 5, 6, 7, 1, 2, 1, 2, 1}));
}

TEST(BmpDecoder, DamagedBitmapsAreRejectedWithAReason) {
  const std::vector<uint8_t> good = test::Bmp24(4, 4, std::vector<uint32_t>(16, 0x123456));
  auto expectError = [](std::vector<uint8_t> bytes, const char* fragment) {
    try {
      DecodeBmp(bytes.data(), bytes.size());
      ADD_FAILURE() << "no error for " << fragment;
    } catch (const BmpError& e) {
      EXPECT_NE(std::string(e.what()).find(fragment), std::string::npos) << e.what();
    }
  };
  // Every prefix of a valid file is refused, never read past.
  for (size_t n = 0; n < good.size(); ++n) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<ptrdiff_t>(n));
    EXPECT_THROW(DecodeBmp(cut.data(), cut.size()), BmpError) << n;
  }
  auto bad = good;
  bad[0] = 'X';
  expectError(bad, "signature");
  bad = good;
  bad[28] = 7;  // bit depth
  expectError(bad, "bit depth");
  bad = good;
  bad[18] = bad[19] = bad[20] = bad[21] = 0;  // width 0
  expectError(bad, "width");
  bad = good;
  bad[22] = 0xFF;
  bad[23] = 0xFF;
  bad[24] = 0xFF;
  bad[25] = 0x7F;  // absurd height
  expectError(bad, "too large");
  bad = good;
  bad[30] = 9;  // unknown compression
  expectError(bad, "compression");
  bad = good;
  bad[10] = 0xFF;
  bad[11] = 0xFF;  // pixel data beyond the end
  expectError(bad, "truncated");

  BmpLayout rle;
  rle.Width = 4;
  rle.Height = 1;
  rle.BitCount = 8;
  rle.Compression = 1;
  rle.Palette = {0, 1};
  rle.Bits = {0, 6, 1, 1};  // a literal of 6 pixels with only 2 present
  expectError(BuildBmp(rle), "literal");
  rle.TopDown = true;
  rle.Bits = {4, 1, 0, 1};
  expectError(BuildBmp(rle), "top-down");
}

}  // namespace
}  // namespace sf
