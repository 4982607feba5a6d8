#include "MenuArtText.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <cairo.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <stdexcept>

#include "gfx/Surface.h"
#include "gfx/Text.h"

namespace assetgen {

struct LabelFont::Impl {
  // Labels go through the program's own text renderer, so they look exactly like its text.
  explicit Impl(const std::string& path) : Text(path) {}
  sf::TextRenderer Text;
  // A face of our own for the outlines of display lettering.
  FT_Library Library = nullptr;
  FT_Face Face = nullptr;
};

LabelFont::LabelFont() : impl_(std::make_unique<Impl>(FontPath())) {
  const std::string path = FontPath();
  if (FT_Init_FreeType(&impl_->Library) != 0) throw std::runtime_error("cannot start FreeType");
  if (FT_New_Face(impl_->Library, path.c_str(), 0, &impl_->Face) != 0) {
    FT_Done_FreeType(impl_->Library);
    throw std::runtime_error("cannot open the menu font " + path);
  }
}

LabelFont::~LabelFont() {
  FT_Done_Face(impl_->Face);
  FT_Done_FreeType(impl_->Library);
}

std::string LabelFont::FontPath() {
  for (const char* p : {"/usr/share/wine/fonts/tahomabd.ttf", "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"}) {
    if (std::filesystem::exists(p)) return p;
  }
  throw std::runtime_error("no bold menu font found (install fonts-wine)");
}

namespace {

// Lends the picture's pixels to an sf::Surface for the program's text renderer, and takes them back.
class SurfaceLoan {
 public:
  explicit SurfaceLoan(Picture& p) : picture_(p) {
    surface_.Width = p.Width;
    surface_.Height = p.Height;
    surface_.Pixels.swap(p.Pixels);
  }
  ~SurfaceLoan() { picture_.Pixels.swap(surface_.Pixels); }
  SurfaceLoan(const SurfaceLoan&) = delete;
  SurfaceLoan& operator=(const SurfaceLoan&) = delete;
  sf::Surface& Surface() { return surface_; }

 private:
  Picture& picture_;
  sf::Surface surface_;
};

uint32_t ToGdi(uint32_t rgb) { return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF); }

}  // namespace

void LabelFont::Draw(Picture& target, Origin origin, int x, int y, int height, int width, std::string_view text,
                     uint32_t rgb) {
  SurfaceLoan loan(target);
  impl_->Text.DrawPlainText(loan.Surface(), x - origin.X, y - origin.Y, height, width, text, ToGdi(rgb), false);
}

void LabelFont::DrawShadowLabel(Picture& target, Origin origin, int x, int y, int height, int width,
                                std::string_view text, bool highlight) {
  SurfaceLoan loan(target);
  impl_->Text.DrawShadowText(loan.Surface(), x - origin.X, y - origin.Y, height, width, text,
                             ToGdi(highlight ? kMenuOrange : kMenuBlue));
}

int LabelFont::Advance(int height, int width, std::string_view text) {
  return impl_->Text.MeasureString(height, width, 800, text);
}

InkBox LabelFont::Ink(int height, int width, std::string_view text) {
  // Draw the string white on black with a margin all round and find its lit pixels.
  const int pad = height;
  Picture probe(Advance(height, width, text) + 2 * pad, 3 * height, 0);
  Draw(probe, {}, pad, pad, height, width, text, 0xFFFFFF);
  InkBox box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int py = 0; py < probe.Height; ++py) {
    for (int px = 0; px < probe.Width; ++px) {
      if (probe.At(px, py) == 0) continue;
      box.Left = std::min(box.Left, px - pad);
      box.Top = std::min(box.Top, py - pad);
      box.Right = std::max(box.Right, px - pad + 1);
      box.Bottom = std::max(box.Bottom, py - pad + 1);
    }
  }
  if (box.Left == INT_MAX) return InkBox{};
  return box;
}

int LabelFont::Ascent(int height) { return impl_->Text.Metrics(height, 0).Ascent; }

namespace {

struct PathSink {
  cairo_t* Cr;
  double X, Y, ScaleX, ScaleY;
  double Px(const FT_Vector* v) const { return X + static_cast<double>(v->x) * ScaleX; }
  double Py(const FT_Vector* v) const { return Y - static_cast<double>(v->y) * ScaleY; }
};

int MoveTo(const FT_Vector* to, void* user) {
  auto* s = static_cast<PathSink*>(user);
  cairo_close_path(s->Cr);
  cairo_move_to(s->Cr, s->Px(to), s->Py(to));
  return 0;
}

int LineTo(const FT_Vector* to, void* user) {
  auto* s = static_cast<PathSink*>(user);
  cairo_line_to(s->Cr, s->Px(to), s->Py(to));
  return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
  auto* s = static_cast<PathSink*>(user);
  double x0 = 0, y0 = 0;
  cairo_get_current_point(s->Cr, &x0, &y0);
  const double cx = s->Px(control), cy = s->Py(control), x = s->Px(to), y = s->Py(to);
  cairo_curve_to(s->Cr, x0 + 2.0 / 3.0 * (cx - x0), y0 + 2.0 / 3.0 * (cy - y0), x + 2.0 / 3.0 * (cx - x),
                 y + 2.0 / 3.0 * (cy - y), x, y);
  return 0;
}

int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
  auto* s = static_cast<PathSink*>(user);
  cairo_curve_to(s->Cr, s->Px(c1), s->Py(c1), s->Px(c2), s->Py(c2), s->Px(to), s->Py(to));
  return 0;
}

}  // namespace

void LabelFont::AppendPath(cairo_t* cr, double x, double baseline, double sizeX, double sizeY, std::string_view text) {
  FT_Face face = impl_->Face;
  const double unitsX = sizeX / face->units_per_EM, unitsY = sizeY / face->units_per_EM;
  const FT_Outline_Funcs funcs{MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
  double pen = x;
  for (const char ch : text) {
    const FT_UInt glyph = FT_Get_Char_Index(face, static_cast<unsigned char>(ch));
    if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) != 0) continue;
    PathSink sink{cr, pen, baseline, unitsX, unitsY};
    cairo_new_sub_path(cr);
    FT_Outline_Decompose(&face->glyph->outline, &funcs, &sink);
    cairo_close_path(cr);
    pen += static_cast<double>(face->glyph->advance.x) * unitsX;
  }
}

double LabelFont::PathAdvance(double sizeX, std::string_view text) {
  FT_Face face = impl_->Face;
  double units = 0;
  for (const char ch : text) {
    const FT_UInt glyph = FT_Get_Char_Index(face, static_cast<unsigned char>(ch));
    if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) == 0)
      units += static_cast<double>(face->glyph->advance.x);
  }
  return units * sizeX / face->units_per_EM;
}

}  // namespace assetgen
