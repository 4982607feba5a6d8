// The program's icons as the build writes them: the theme's PNG files, the SVG and the Windows
// icon file, read back the way a desktop or Windows would read them.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "AppIcon.h"

namespace {

using Bytes = std::vector<uint8_t>;

const std::string kIconDir = SALTFANG_ICON_DIR;

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::string PngPath(int size) {
  const std::string n = std::to_string(size);
  return kIconDir + "/hicolor/" + n + "x" + n + "/apps/saltfang.png";
}

// Decoded pixels as straight-alpha 0xAARRGGBB, row after row from the top.
struct Image {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;
  uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y * Width + x)]; }
  uint32_t Alpha(int x, int y) const { return At(x, y) >> 24; }
};

Image DecodePng(const Bytes& png) {
  struct Reader {
    const Bytes& Data;
    size_t Pos = 0;
  } reader{png};
  const auto read = [](void* closure, unsigned char* out, unsigned int length) {
    auto* r = static_cast<Reader*>(closure);
    if (r->Pos + length > r->Data.size()) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, r->Data.data() + r->Pos, length);
    r->Pos += length;
    return CAIRO_STATUS_SUCCESS;
  };
  cairo_surface_t* s = cairo_image_surface_create_from_png_stream(read, &reader);
  Image img;
  // An opaque picture is written without alpha, and reads back as RGB24.
  const bool opaque =
      cairo_surface_status(s) == CAIRO_STATUS_SUCCESS && cairo_image_surface_get_format(s) == CAIRO_FORMAT_RGB24;
  if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS &&
      (opaque || cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32)) {
    img.Width = cairo_image_surface_get_width(s);
    img.Height = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    for (int y = 0; y < img.Height; ++y) {
      for (int x = 0; x < img.Width; ++x) {
        uint32_t p;
        std::memcpy(&p, data + y * stride + x * 4, 4);
        if (opaque) p |= 0xFF000000u;
        const uint32_t a = p >> 24;
        uint32_t straight = p & 0xFF000000u;
        for (const int shift : {0, 8, 16}) {
          const uint32_t c = (p >> shift) & 0xFF;
          straight |= (a ? (c * 255 + a / 2) / a : 0) << shift;
        }
        img.Pixels.push_back(straight);
      }
    }
  }
  cairo_surface_destroy(s);
  return img;
}

uint32_t Le16(const Bytes& b, size_t at) { return static_cast<uint32_t>(b[at] | b[at + 1] << 8); }
uint32_t Le32(const Bytes& b, size_t at) { return Le16(b, at) | Le16(b, at + 2) << 16; }

bool IsPng(const Bytes& b) { return b.size() > 8 && std::memcmp(b.data(), "\x89PNG\r\n\x1a\n", 8) == 0; }

// An icon file's bitmap entry: 40-byte header with the height doubled, 32-bit BGRA rows bottom-up,
// then the one-bit mask (set where transparent), also bottom-up.
Image DecodeIcoBitmap(const Bytes& b, int size) {
  Image img;
  const auto n = static_cast<uint32_t>(size);
  const uint32_t maskRow = (n + 31) / 32 * 4;
  EXPECT_EQ(Le32(b, 0), 40u);
  EXPECT_EQ(Le32(b, 4), n);
  EXPECT_EQ(Le32(b, 8), 2 * n);
  EXPECT_EQ(Le16(b, 14), 32u);
  EXPECT_EQ(Le32(b, 16), 0u);  // uncompressed
  if (b.size() != 40 + n * n * 4 + maskRow * n) {
    ADD_FAILURE() << "a " << size << " px bitmap entry of " << b.size() << " bytes";
    return img;
  }
  img.Width = img.Height = size;
  img.Pixels.resize(n * n);
  for (uint32_t row = 0; row < n; ++row) {
    const uint32_t y = n - 1 - row;
    for (uint32_t x = 0; x < n; ++x) {
      const uint32_t p = Le32(b, 40 + (row * n + x) * 4);
      img.Pixels[y * n + x] = p;
      const bool masked = b[40 + n * n * 4 + row * maskRow + x / 8] & (0x80 >> (x % 8));
      EXPECT_EQ(masked, (p >> 24) == 0) << "mask at " << x << "," << y << " of " << size;
    }
  }
  return img;
}

// Transparent at the four corners, opaque in the middle.
void ExpectBadgeShape(const Image& img, int size) {
  ASSERT_EQ(img.Width, size);
  ASSERT_EQ(img.Height, size);
  const int e = size - 1, c = size / 2;
  for (const auto& [x, y] : {std::pair{0, 0}, {e, 0}, {0, e}, {e, e}}) {
    EXPECT_EQ(img.Alpha(x, y), 0u) << "corner " << x << "," << y << " of " << size;
  }
  for (const auto& [x, y] : {std::pair{c, c}, {c - 1, c - 1}, {size / 4, size / 4}, {3 * size / 4, 3 * size / 4}}) {
    EXPECT_EQ(img.Alpha(x, y), 255u) << "inside " << x << "," << y << " of " << size;
  }
}

TEST(AppIcon, ThemeIconsHaveTheirSizeTransparentCornersAndAShipOnTheSea) {
  for (const int size : assetgen::kAppIconSizes) {
    SCOPED_TRACE(PngPath(size));
    const Image img = DecodePng(ReadFile(PngPath(size)));
    ExpectBadgeShape(img, size);
    if (img.Width != size) continue;
    // The middle of the badge holds sea, the light hull and the orange funnel at every size: a
    // blank, washed-out or mis-scaled drawing loses one of them.
    int sea = 0, light = 0, orange = 0, total = 0;
    for (int y = size / 4; y < 3 * size / 4; ++y) {
      for (int x = size / 4; x < 3 * size / 4; ++x) {
        const uint32_t p = img.At(x, y);
        const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        ++total;
        if (b > 70 && b > r + 40) ++sea;
        if (r > 160 && g > 170 && b > 180 && b - r < 60) ++light;
        if (r > 220 && g > 110 && g < 190 && b < 80) ++orange;
      }
    }
    EXPECT_GT(sea, total / 5);
    EXPECT_GT(light, total / 16);
    EXPECT_GE(orange, 2);
  }
  const Bytes svg = ReadFile(kIconDir + "/hicolor/scalable/apps/saltfang.svg");
  const std::string text(svg.begin(), svg.end());
  EXPECT_EQ(text.rfind("<?xml", 0), 0u);
  EXPECT_NE(text.find("width=\"256px\" height=\"256px\" viewBox=\"0 0 256 256\""), std::string::npos);
  EXPECT_NE(text.find("</svg>"), std::string::npos);
}

TEST(AppIcon, WindowsIconDirectoryPointsAtOneImageOfEachSize) {
  const Bytes ico = ReadFile(kIconDir + "/saltfang.ico");
  ASSERT_GE(ico.size(), 6u);
  EXPECT_EQ(Le16(ico, 0), 0u);
  EXPECT_EQ(Le16(ico, 2), 1u);  // an icon
  const size_t count = Le16(ico, 4);
  ASSERT_EQ(count, assetgen::kAppIconIcoSizes.size());
  ASSERT_GE(ico.size(), 6 + 16 * count);
  size_t end = 6 + 16 * count;  // the images follow the directory back to back, in its order
  for (size_t i = 0; i < count; ++i) {
    const int size = assetgen::kAppIconIcoSizes[i];
    SCOPED_TRACE("entry of " + std::to_string(size) + " px");
    const size_t at = 6 + 16 * i;
    EXPECT_EQ(ico[at] == 0 ? 256 : ico[at], size);
    EXPECT_EQ(ico[at + 1] == 0 ? 256 : ico[at + 1], size);
    EXPECT_EQ(ico[at + 2], 0);
    EXPECT_EQ(Le16(ico, at + 4), 1u);
    EXPECT_EQ(Le16(ico, at + 6), 32u);
    const size_t length = Le32(ico, at + 8), offset = Le32(ico, at + 12);
    ASSERT_EQ(offset, end);
    ASSERT_LE(offset + length, ico.size());
    end = offset + length;
    const Bytes image(ico.begin() + static_cast<std::ptrdiff_t>(offset),
                      ico.begin() + static_cast<std::ptrdiff_t>(offset + length));
    const Image img = IsPng(image) ? DecodePng(image) : DecodeIcoBitmap(image, size);
    ExpectBadgeShape(img, size);
    // The same picture as the theme's PNG of that size: catches flipped rows and swapped channels.
    const Image png = DecodePng(assetgen::AppIconPng(size));
    if (img.Width != size || png.Width != size) continue;
    int differing = 0;
    for (size_t k = 0; k < img.Pixels.size(); ++k) {
      const uint32_t a = img.Pixels[k], b = png.Pixels[k];
      if ((a >> 24) != (b >> 24) || ((a >> 24) == 255 && a != b)) ++differing;
    }
    EXPECT_EQ(differing, 0);
  }
  EXPECT_EQ(end, ico.size());
}

TEST(AppIcon, TheBuildsFilesAreTheBytesEveryDrawingGives) {
  // The build drew these in the generator's process; this process draws them again.
  for (const int size : assetgen::kAppIconSizes) {
    EXPECT_EQ(ReadFile(PngPath(size)), assetgen::AppIconPng(size)) << size << " px";
  }
  EXPECT_EQ(ReadFile(kIconDir + "/hicolor/scalable/apps/saltfang.svg"), assetgen::AppIconSvg());
  EXPECT_EQ(assetgen::AppIconSvg(), assetgen::AppIconSvg());
  EXPECT_EQ(ReadFile(kIconDir + "/saltfang.ico"), assetgen::AppIconIco());
}

// The web page's icons: the favicon's three sizes, the manifest's PNGs, and the full-bleed ones
// opaque to every edge with nothing but the deep sea outside the central circle a launcher keeps
// (80 % of the side), so no mask cuts into the badge.
TEST(AppIcon, WebIconsHaveTheirSizesAndKeepTheBadgeInsideTheMaskableCircle) {
  const std::string web = kIconDir + "/web/";
  const Bytes ico = ReadFile(web + "favicon.ico");
  ASSERT_GE(ico.size(), 6u);
  ASSERT_EQ(Le16(ico, 4), assetgen::kFaviconSizes.size());
  for (size_t i = 0; i < assetgen::kFaviconSizes.size(); ++i) {
    EXPECT_EQ(ico[6 + 16 * i], assetgen::kFaviconSizes[i]) << "entry " << i;
  }
  for (const auto& [name, size] : {std::pair{"icon-192.png", 192}, {"icon-512.png", 512}}) {
    SCOPED_TRACE(name);
    ExpectBadgeShape(DecodePng(ReadFile(web + name)), size);
  }
  for (const auto& [name, size] : {std::pair{"maskable-512.png", 512}, {"apple-touch-icon.png", 180}}) {
    SCOPED_TRACE(name);
    const Image img = DecodePng(ReadFile(web + name));
    ASSERT_EQ(img.Width, size);
    ASSERT_EQ(img.Height, size);
    const double c = (size - 1) / 2.0, r = 0.4 * size;
    int outside = 0, notSea = 0, badge = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        ASSERT_EQ(img.Alpha(x, y), 255u) << x << "," << y;
        if ((x - c) * (x - c) + (y - c) * (y - c) > r * r) {
          ++outside;
          notSea += (img.At(x, y) & 0xFFFFFF) != 0x06203A;
        } else {
          badge += (img.At(x, y) & 0xFFFFFF) != 0x06203A;
        }
      }
    }
    EXPECT_EQ(notSea, 0) << "of " << outside << " pixels outside the circle";
    EXPECT_GT(badge, size * size / 4) << "the badge fills the circle";
  }
}

}  // namespace
