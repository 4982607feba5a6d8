#include "GameArtKit.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "CairoPicture.h"

namespace assetgen::gameart {

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), surface_(NewCairoSurface(width, height)), cr_(cairo_create(surface_)) {}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

void Canvas::Flush() const { cairo_surface_flush(surface_); }
void Canvas::MarkDirty() const { cairo_surface_mark_dirty(surface_); }

uint32_t* Canvas::Row(int y) const {
  unsigned char* data = cairo_image_surface_get_data(surface_);
  return reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) *
                                                static_cast<size_t>(cairo_image_surface_get_stride(surface_)));
}

void Canvas::Put(int x, int y, uint32_t rgb, double alpha) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  const double a = std::clamp(alpha, 0.0, 1.0);
  const auto ch = [&](int shift) { return static_cast<uint32_t>(std::lround(((rgb >> shift) & 0xFF) * a)); };
  Row(y)[x] = (static_cast<uint32_t>(std::lround(a * 255)) << 24) | (ch(16) << 16) | (ch(8) << 8) | ch(0);
}

Picture Canvas::Finish(bool keyed, uint32_t matte) const { return FromCairo(surface_, keyed, matte); }

Picture Canvas::FinishDithered(uint32_t matte) const {
  // 4 x 4 ordered dither thresholds, spread over 0.2 .. 0.8 so solid parts stay solid.
  static constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  Flush();
  Picture out(width_, height_, kKey);
  const double mr = (matte >> 16) & 0xFF, mg = (matte >> 8) & 0xFF, mb = matte & 0xFF;
  for (int y = 0; y < height_; ++y) {
    const uint32_t* row = Row(y);
    for (int x = 0; x < width_; ++x) {
      const uint32_t p = row[x];
      const double a = (p >> 24) / 255.0;
      const double threshold = 0.2 + 0.6 * (kBayer[y & 3][x & 3] + 0.5) / 16.0;
      if (a < threshold) continue;
      // Straight colour, slightly pulled towards the matte where the layer was thin.
      const double keep = 0.55 + 0.45 * a;
      const auto ch = [&](int shift, double m) {
        const double straight = ((p >> shift) & 0xFF) / a;
        return static_cast<uint32_t>(std::clamp(std::lround(straight * keep + m * (1 - keep)), 0L, 255L));
      };
      uint32_t v = (ch(16, mr) << 16) | (ch(8, mg) << 8) | ch(0, mb);
      if (v == kKey) v = 0xFE00FE;
      out.At(x, y) = v;
    }
  }
  return out;
}

void SetRgb(cairo_t* cr, uint32_t rgb, double alpha) {
  cairo_set_source_rgba(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha);
}

uint32_t Mix(uint32_t a, uint32_t b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const double ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    out |= static_cast<uint32_t>(std::lround(ca + (cb - ca) * t)) << shift;
  }
  return out;
}

uint32_t Scale(uint32_t rgb, double f) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const double c = ((rgb >> shift) & 0xFF) * f;
    out |= static_cast<uint32_t>(std::clamp(std::lround(c), 0L, 255L)) << shift;
  }
  return out;
}

void AddStop(cairo_pattern_t* p, double offset, uint32_t rgb, double alpha) {
  cairo_pattern_add_color_stop_rgba(p, offset, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                                    (rgb & 0xFF) / 255.0, alpha);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min({r, w / 2, h / 2});
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
  cairo_close_path(cr);
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
}

void Circle(cairo_t* cr, double cx, double cy, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
}

void Rivet(cairo_t* cr, double cx, double cy, double r) {
  Circle(cr, cx + 0.5, cy + 0.6, r);
  SetRgb(cr, 0x2A3238, 0.55);
  cairo_fill(cr);
  cairo_pattern_t* g = cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.35, r * 0.1, cx, cy, r);
  AddStop(g, 0, 0xF4F8FA);
  AddStop(g, 0.5, 0xA9B5BD);
  AddStop(g, 1, 0x56626B);
  Circle(cr, cx, cy, r);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

void RaisedPlate(cairo_t* cr, double x, double y, double w, double h, double r, uint32_t base) {
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
  AddStop(g, 0, Scale(base, 1.12));
  AddStop(g, 1, Scale(base, 0.86));
  RoundedRect(cr, x, y, w, h, r);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_set_line_width(cr, 1);
  // Lit top and left edges, shadowed bottom and right edges.
  cairo_move_to(cr, x + 0.5, y + h - r);
  cairo_line_to(cr, x + 0.5, y + 0.5);
  cairo_line_to(cr, x + w - r, y + 0.5);
  SetRgb(cr, 0xFFFFFF, 0.7);
  cairo_stroke(cr);
  cairo_move_to(cr, x + w - 0.5, y + r);
  cairo_line_to(cr, x + w - 0.5, y + h - 0.5);
  cairo_line_to(cr, x + r, y + h - 0.5);
  SetRgb(cr, 0x1C2329, 0.75);
  cairo_stroke(cr);
}

void SunkenWell(cairo_t* cr, double x, double y, double w, double h, double r, uint32_t inner) {
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
  AddStop(g, 0, Scale(inner, 0.7));
  AddStop(g, 0.35, inner);
  AddStop(g, 1, Scale(inner, 1.35));
  RoundedRect(cr, x, y, w, h, r);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, x - 0.5, y + h);
  cairo_line_to(cr, x - 0.5, y - 0.5);
  cairo_line_to(cr, x + w, y - 0.5);
  SetRgb(cr, 0x141A20, 0.8);
  cairo_stroke(cr);
  cairo_move_to(cr, x + w + 0.5, y);
  cairo_line_to(cr, x + w + 0.5, y + h + 0.5);
  cairo_line_to(cr, x, y + h + 0.5);
  SetRgb(cr, 0xFFFFFF, 0.65);
  cairo_stroke(cr);
}

namespace {

// The program's face, opened once and kept for the life of the generator (it never changes).
struct Face {
  cairo_font_face_t* Cairo = nullptr;
  double CellPerEm = 1.2;    // (win ascent + win descent) / units per em
  double AscentPerEm = 1.0;  // win ascent / units per em
};

const Face& LabelFace() {
  static const Face face = [] {
    Face f;
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) throw std::runtime_error("cannot start FreeType");
    FT_Face ft = nullptr;
    const char* const paths[] = {"/usr/share/wine/fonts/tahomabd.ttf",
                                 "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"};
    for (const char* path : paths) {
      if (FT_New_Face(lib, path, 0, &ft) == 0) break;
      ft = nullptr;
    }
    if (!ft) throw std::runtime_error("cannot open the bold face tahomabd.ttf");
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
    const double em = ft->units_per_EM;
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
      f.CellPerEm = (os2->usWinAscent + os2->usWinDescent) / em;
      f.AscentPerEm = os2->usWinAscent / em;
    }
    f.Cairo = cairo_ft_font_face_create_for_ft_face(ft, 0);
    return f;
  }();
  return face;
}

void SelectFace(cairo_t* cr, double cellHeight) {
  const Face& f = LabelFace();
  cairo_set_font_face(cr, f.Cairo);
  cairo_set_font_size(cr, cellHeight / f.CellPerEm);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

}  // namespace

double LabelWidth(cairo_t* cr, double cellHeight, std::string_view text) {
  SelectFace(cr, cellHeight);
  cairo_text_extents_t ext;
  const std::string s(text);
  cairo_text_extents(cr, s.c_str(), &ext);
  return ext.x_advance;
}

void Label(cairo_t* cr, double x, double top, double cellHeight, std::string_view text, Align align) {
  const double width = LabelWidth(cr, cellHeight, text);
  const double left = align == Align::Left ? x : align == Align::Centre ? x - width / 2 : x - width;
  const double baseline = top + cellHeight / LabelFace().CellPerEm * LabelFace().AscentPerEm;
  const std::string s(text);
  const double lx = std::round(left);
  const double by = std::round(baseline);
  cairo_move_to(cr, lx + 1, by + 1);
  SetRgb(cr, kOrange);
  cairo_show_text(cr, s.c_str());
  cairo_move_to(cr, lx, by);
  SetRgb(cr, kDarkBlue);
  cairo_show_text(cr, s.c_str());
}

uint32_t Hash(int x, int y, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^
               static_cast<uint32_t>(seed) * 0xCB1AB31Fu;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

double Hash01(int x, int y, int seed) { return (Hash(x, y, seed) & 0xFFFFFF) / 16777216.0; }

double WrappedNoise(double u, double v, int cellsX, int cellsY, int seed) {
  const double fx = u * cellsX, fy = v * cellsY;
  const double x0 = std::floor(fx), y0 = std::floor(fy);
  const double tx = fx - x0, ty = fy - y0;
  const auto wrap = [](int i, int n) { return ((i % n) + n) % n; };
  const int ix = static_cast<int>(x0), iy = static_cast<int>(y0);
  const auto at = [&](int dx, int dy) { return Hash01(wrap(ix + dx, cellsX), wrap(iy + dy, cellsY), seed); };
  const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
  const double top = at(0, 0) + (at(1, 0) - at(0, 0)) * sx;
  const double bottom = at(0, 1) + (at(1, 1) - at(0, 1)) * sx;
  return top + (bottom - top) * sy;
}

double Rng::Next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return (state_ & 0xFFFFFF) / 16777216.0;
}

}  // namespace assetgen::gameart
