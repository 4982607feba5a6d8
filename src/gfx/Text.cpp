#include "gfx/Text.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <unistd.h>

#include <algorithm>
#include <array>
#include <stdexcept>
#include <vector>

#include "core/CodePage.h"
#include "core/Colour.h"
#include "gfx/GdiFontMetrics.h"

namespace sf {
namespace {

// A horizontal run of glyph pixels of one coverage level, relative to the pen position and
// the top of the cell. Level 16 runs are solid; lighter levels are blended one pixel at a time.
struct GlyphSpan {
  int16_t Dx = 0;
  int16_t Dy = 0;
  uint16_t Length = 0;
  uint8_t Level = 0;
};

struct Glyph {
  bool Ready = false;
  int32_t Advance = 0;
  uint32_t FirstSpan = 0;
  uint32_t SpanCount = 0;
  // Ink box relative to the pen and the cell top (right and bottom exclusive).
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// One CreateFont size: its metrics, whether it is drawn anti-aliased, and its glyphs.
struct SizedFont {
  int32_t Height = 0;
  int32_t Width = 0;
  GdiFontSize Size;
  bool Grey = true;
  std::array<Glyph, 256> Glyphs;
  std::vector<GlyphSpan> Spans;
};

// Blend results for one text colour: for each channel and each partial level (2..15), the new
// channel value for every destination value.
struct ColourTable {
  uint32_t Gdi = 0;
  std::array<std::array<std::array<uint8_t, 256>, 16>, 3> Channel{};
};

constexpr size_t kMaxColourTables = 16;
// The screens use about a dozen sizes; a caller cycling through many more reuses the slots.
constexpr size_t kMaxSizedFonts = 48;

}  // namespace

struct TextRenderer::Impl {
  FT_Library Library = nullptr;
  FT_Face Face = nullptr;
  FaceTables Tables;
  std::vector<std::pair<uint16_t, uint16_t>> Gasp;  // (largest ppem, behaviour flags)
  bool HonourGasp = true;
  std::vector<std::unique_ptr<SizedFont>> Fonts;
  std::vector<std::unique_ptr<ColourTable>> Colours;
  size_t NextColourSlot = 0;
  size_t NextFontSlot = 0;

  ~Impl() {
    if (Face) FT_Done_Face(Face);
    if (Library) FT_Done_FreeType(Library);
  }

  void ReadTables() {
    Tables.UnitsPerEm = Face->units_per_EM;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(Face, FT_SFNT_OS2)); os2 && os2->version != 0xFFFF) {
      Tables.WinAscent = os2->usWinAscent;
      Tables.WinDescent = static_cast<int16_t>(os2->usWinDescent);
      Tables.XAvgCharWidth = os2->xAvgCharWidth;
    }
    if (auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(Face, FT_SFNT_HHEA))) {
      Tables.HheaAscender = hhea->Ascender;
      Tables.HheaDescender = hhea->Descender;
    }
    if (Tables.XAvgCharWidth == 0) Tables.XAvgCharWidth = static_cast<int32_t>(Face->max_advance_width / 2);
    FT_ULong length = 0;
    if (FT_Load_Sfnt_Table(Face, TTAG_gasp, 0, nullptr, &length) == 0 && length >= 4 && length < 65536) {
      std::vector<FT_Byte> gasp(length);
      if (FT_Load_Sfnt_Table(Face, TTAG_gasp, 0, gasp.data(), &length) == 0) {
        const size_t ranges = static_cast<size_t>((gasp[2] << 8) | gasp[3]);
        for (size_t i = 0; i < ranges && 4 + 4 * i + 4 <= length; ++i) {
          const FT_Byte* r = gasp.data() + 4 + 4 * i;
          Gasp.emplace_back(static_cast<uint16_t>((r[0] << 8) | r[1]), static_cast<uint16_t>((r[2] << 8) | r[3]));
        }
      }
    }
  }

  // GDI draws grey-scale only where the face's gasp table allows grey at this size.
  bool GreyAt(int32_t ppem) const {
    if (!HonourGasp || Gasp.empty()) return true;
    for (const auto& [maxPpem, flags] : Gasp) {
      if (ppem <= maxPpem) return (flags & 0x2) != 0;
    }
    return true;
  }

  SizedFont& FontFor(int32_t height, int32_t width) {
    for (auto& f : Fonts) {
      if (f->Height == height && f->Width == width) return *f;
    }
    auto font = std::make_unique<SizedFont>();
    font->Height = height;
    font->Width = width;
    font->Size = ComputeGdiFontSize(Tables, height, width);
    font->Grey = GreyAt(font->Size.Ppem);
    font->Spans.reserve(1024);
    if (Fonts.size() < kMaxSizedFonts) {
      Fonts.push_back(std::move(font));
      return *Fonts.back();
    }
    std::unique_ptr<SizedFont>& slot = Fonts[NextFontSlot];
    NextFontSlot = (NextFontSlot + 1) % kMaxSizedFonts;
    slot = std::move(font);
    return *slot;
  }

  const Glyph& GlyphFor(SizedFont& font, uint8_t c) {
    Glyph& g = font.Glyphs[c];
    if (!g.Ready) Rasterise(font, c, g);
    return g;
  }

  void Rasterise(SizedFont& font, uint8_t c, Glyph& g) {
    g = Glyph{};
    g.Ready = true;
    const GdiFontSize& size = font.Size;
    if (FT_Set_Pixel_Sizes(Face, 0, static_cast<FT_UInt>(size.Ppem)) != 0) return;
    const bool scaled = size.ScaleX != 0x10000;
    FT_Matrix matrix{size.ScaleX, 0, 0, 0x10000};
    FT_Set_Transform(Face, scaled ? &matrix : nullptr, nullptr);
    // Outlines are hinted at the square size and then scaled; embedded bitmaps only serve
    // unscaled black-and-white sizes, as in GDI.
    FT_Int32 flags = font.Grey ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO;
    if (font.Grey || scaled) flags |= FT_LOAD_NO_BITMAP;
    const FT_UInt index = FT_Get_Char_Index(Face, Cp1252ToUnicode(c));
    if (FT_Load_Glyph(Face, index, flags) != 0) return;
    FT_GlyphSlot slot = Face->glyph;
    const int64_t advance = FtMulFix(slot->metrics.horiAdvance, size.ScaleX);
    g.Advance = static_cast<int32_t>((advance + 63) / 64);
    if (slot->format != FT_GLYPH_FORMAT_BITMAP &&
        FT_Render_Glyph(slot, font.Grey ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0)
      return;
    const FT_Bitmap& bm = slot->bitmap;
    const int32_t cell = size.CellHeight();
    const int32_t top = size.Ascent - slot->bitmap_top;
    g.FirstSpan = static_cast<uint32_t>(font.Spans.size());
    g.Left = INT32_MAX;
    g.Top = INT32_MAX;
    g.Right = INT32_MIN;
    g.Bottom = INT32_MIN;
    for (uint32_t row = 0; row < bm.rows; ++row) {
      const int32_t dy = top + static_cast<int32_t>(row);
      if (dy < 0 || dy >= cell) continue;  // ink outside the cell is cut off
      const unsigned char* line = bm.buffer + static_cast<ptrdiff_t>(row) * bm.pitch;
      auto levelAt = [&](uint32_t x) -> uint8_t {
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO) return ((line[x >> 3] >> (7 - (x & 7))) & 1) ? 16 : 0;
        if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
          const uint8_t level = CoverageLevel(line[x]);
          return font.Grey ? level : (level >= 8 ? 16 : 0);
        }
        return 0;
      };
      uint32_t x = 0;
      while (x < bm.width) {
        const uint8_t level = levelAt(x);
        if (level <= 1) {
          ++x;
          continue;
        }
        uint32_t end = x + 1;
        if (level == 16) {
          while (end < bm.width && levelAt(end) == 16) ++end;
        }
        const int32_t dx = slot->bitmap_left + static_cast<int32_t>(x);
        font.Spans.push_back(
            GlyphSpan{static_cast<int16_t>(dx), static_cast<int16_t>(dy), static_cast<uint16_t>(end - x), level});
        g.Left = std::min(g.Left, dx);
        g.Right = std::max(g.Right, dx + static_cast<int32_t>(end - x));
        g.Top = std::min(g.Top, dy);
        g.Bottom = std::max(g.Bottom, dy + 1);
        x = end;
      }
    }
    g.SpanCount = static_cast<uint32_t>(font.Spans.size()) - g.FirstSpan;
    if (g.SpanCount == 0) g.Left = g.Top = g.Right = g.Bottom = 0;
  }

  const ColourTable& TableFor(uint32_t gdi) {
    for (const auto& t : Colours) {
      if (t->Gdi == gdi) return *t;
    }
    if (Colours.size() < kMaxColourTables) {
      Colours.push_back(std::make_unique<ColourTable>());
      ColourTable& t = *Colours.back();
      Fill(t, gdi);
      return t;
    }
    ColourTable& t = *Colours[NextColourSlot];
    NextColourSlot = (NextColourSlot + 1) % kMaxColourTables;
    Fill(t, gdi);
    return t;
  }

  static void Fill(ColourTable& t, uint32_t gdi) {
    t.Gdi = gdi;
    const uint8_t text[3] = {static_cast<uint8_t>(gdi & 0xFF), static_cast<uint8_t>((gdi >> 8) & 0xFF),
                             static_cast<uint8_t>((gdi >> 16) & 0xFF)};  // red, green, blue
    for (int ch = 0; ch < 3; ++ch) {
      for (int level = 2; level < 16; ++level) {
        for (int d = 0; d < 256; ++d)
          t.Channel[static_cast<size_t>(ch)][static_cast<size_t>(level)][static_cast<size_t>(d)] =
              BlendTextChannel(level, text[ch], static_cast<uint8_t>(d));
      }
    }
  }

  int64_t Extent(SizedFont& font, std::string_view text) {
    int64_t w = 0;
    for (char ch : text) w += GlyphFor(font, static_cast<uint8_t>(ch)).Advance;
    return w;
  }

  void Draw(Surface& target, int64_t x, int64_t y, int32_t height, int32_t width, std::string_view text,
            uint32_t gdiColour, uint32_t align) {
    if (text.empty() || target.Lost || target.Empty()) return;
    SizedFont& font = FontFor(height, width);
    const int64_t extent = Extent(font, text);
    int64_t pen = x;
    if ((align & 6) == 6) {
      pen = x - extent / 2;
    } else if ((align & 6) == 2) {
      pen = x - extent;
    }
    int64_t top = y;
    if ((align & 24) == 24) {
      top = y - font.Size.Ascent;
    } else if (align & 8) {
      top = y - font.Size.CellHeight();
    }
    if (top >= target.Height || top + font.Size.CellHeight() <= 0) return;
    const ColourTable& table = TableFor(gdiColour);
    const uint32_t solid = GdiToPixel(gdiColour) & 0xFFFFFF;
    for (char ch : text) {
      const Glyph& g = GlyphFor(font, static_cast<uint8_t>(ch));
      if (pen >= target.Width) break;
      if (g.SpanCount > 0 && pen + g.Right > 0) DrawGlyph(target, font, g, pen, top, table, solid);
      pen += g.Advance;
    }
  }

  static void DrawGlyph(Surface& target, const SizedFont& font, const Glyph& g, int64_t penX, int64_t top,
                        const ColourTable& table, uint32_t solid) {
    const GlyphSpan* span = font.Spans.data() + g.FirstSpan;
    const GlyphSpan* end = span + g.SpanCount;
    const bool inside =
        penX + g.Left >= 0 && penX + g.Right <= target.Width && top + g.Top >= 0 && top + g.Bottom <= target.Height;
    for (; span != end; ++span) {
      int64_t px = penX + span->Dx;
      const int64_t py = top + span->Dy;
      int64_t len = span->Length;
      if (!inside) {
        if (py < 0 || py >= target.Height) continue;
        if (px < 0) {
          len += px;
          px = 0;
        }
        len = std::min<int64_t>(len, target.Width - px);
        if (len <= 0) continue;
      }
      uint32_t* d = target.Row(static_cast<int32_t>(py)) + px;
      if (span->Level >= 16) {
        std::fill_n(d, len, solid);
      } else {
        const auto& r = table.Channel[0][span->Level];
        const auto& gr = table.Channel[1][span->Level];
        const auto& b = table.Channel[2][span->Level];
        for (int64_t i = 0; i < len; ++i) {
          const uint32_t p = d[i];
          d[i] = (uint32_t{r[(p >> 16) & 0xFF]} << 16) | (uint32_t{gr[(p >> 8) & 0xFF]} << 8) | b[p & 0xFF];
        }
      }
    }
  }
};

TextRenderer::TextRenderer(const std::string& fontPath, bool honourGasp) : impl_(std::make_unique<Impl>()) {
  impl_->HonourGasp = honourGasp;
  if (FT_Init_FreeType(&impl_->Library) != 0) throw std::runtime_error("cannot start the FreeType library");
  if (fontPath.empty())
    throw std::runtime_error("no font file found for the text (tried font.ttf, tahomabd.ttf, DejaVu Sans Bold)");
  if (const FT_Error e = FT_New_Face(impl_->Library, fontPath.c_str(), 0, &impl_->Face); e != 0) {
    impl_->Face = nullptr;
    throw std::runtime_error("cannot read the font file \"" + fontPath + "\" (FreeType error " + std::to_string(e) +
                             ")");
  }
  if (!FT_IS_SCALABLE(impl_->Face))
    throw std::runtime_error("the font file \"" + fontPath + "\" is not a scalable face");
  FT_Select_Charmap(impl_->Face, FT_ENCODING_UNICODE);
  impl_->ReadTables();
}

TextRenderer::~TextRenderer() = default;

TextRenderer::TextRenderer() = default;

std::string TextRenderer::FindDefaultFont(const std::string& dataFolder) {
  const std::string candidates[] = {
      dataFolder + "font.ttf",
      "/usr/share/wine/fonts/tahomabd.ttf",
      "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
      "/usr/share/fonts/dejavu/DejaVuSans-Bold.ttf",
      dataFolder + "tahomabd.ttf",
  };
  for (const std::string& path : candidates) {
    if (::access(path.c_str(), R_OK) == 0) return path;
  }
  return {};
}

uint32_t TextRenderer::ShadowColour(uint32_t colour) {
  return colour == kHighlightColour ? kNormalColour : kHighlightColour;
}

void TextRenderer::DrawShadowText(Surface& target, int32_t x, int32_t y, int32_t height, int32_t width,
                                  std::string_view text, uint32_t colour) {
  DrawAlignedText(target, x, y, height, width, text, colour, kAlignLeft, true);
}

void TextRenderer::DrawAlignedText(Surface& target, int32_t x, int32_t y, int32_t height, int32_t width,
                                   std::string_view text, uint32_t colour, uint32_t align, bool shadow) {
  if (!impl_) return;
  if (shadow) impl_->Draw(target, int64_t{x} + 1, int64_t{y} + 1, height, width, text, ShadowColour(colour), align);
  impl_->Draw(target, x, y, height, width, text, colour, align);
}

void TextRenderer::DrawPlainText(Surface& target, int32_t x, int32_t y, int32_t height, int32_t width,
                                 std::string_view text, uint32_t colour, bool shadow) {
  DrawAlignedText(target, x, y, height, width, text, colour, kAlignLeft, shadow);
}

void TextRenderer::DrawString(Surface& target, int32_t x, int32_t y, int32_t height, int32_t width, int32_t weight,
                              std::string_view text, uint32_t colour, uint32_t align) {
  (void)weight;  // 700 and 800 both select the bold face as it is
  if (!impl_) return;
  impl_->Draw(target, x, y, height, width, text, colour, align);
}

int32_t TextRenderer::MeasureString(int32_t height, int32_t width, int32_t weight, std::string_view text) {
  (void)weight;
  if (!impl_) return 0;
  const int64_t extent = impl_->Extent(impl_->FontFor(height, width), text);
  return static_cast<int32_t>(std::min<int64_t>(extent, INT32_MAX));
}

CellMetrics TextRenderer::Metrics(int32_t height, int32_t width) {
  if (!impl_) return CellMetrics{};
  const SizedFont& font = impl_->FontFor(height, width);
  return CellMetrics{font.Size.Ascent, font.Size.Descent, font.Size.Ppem, font.Grey};
}

}  // namespace sf
