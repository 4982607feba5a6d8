// Frames, plates, fields and the small drawn figures of the menu pictures.
#include <cmath>

#include "CairoPicture.h"
#include "ImageSizes.h"
#include "MenuArtDraw.h"

namespace assetgen::menu {

void SetRgb(cairo_t* cr, uint32_t rgb, double alpha) {
  cairo_set_source_rgba(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha);
}

void AddStop(cairo_pattern_t* p, double offset, uint32_t rgb, double alpha) {
  cairo_pattern_add_color_stop_rgba(p, offset, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                                    (rgb & 0xFF) / 255.0, alpha);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void Rivet(cairo_t* cr, double x, double y, double r) {
  cairo_arc(cr, x + 0.6, y + 0.8, r, 0, 2 * M_PI);
  SetRgb(cr, 0x1E2830, 0.55);
  cairo_fill(cr);
  cairo_pattern_t* g = cairo_pattern_create_radial(x - r * 0.35, y - r * 0.4, r * 0.1, x, y, r);
  AddStop(g, 0, 0xF4F7F9);
  AddStop(g, 0.55, 0xA9B5BE);
  AddStop(g, 1, 0x56626B);
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

cairo_surface_t* ToCairo(const Picture& p) {
  cairo_surface_t* s = NewCairoSurface(p.Width, p.Height);
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < p.Height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * static_cast<size_t>(stride));
    for (int x = 0; x < p.Width; ++x) row[x] = 0xFF000000u | p.At(x, y);
  }
  cairo_surface_mark_dirty(s);
  return s;
}

Picture Crop(const Picture& p, int x, int y, int w, int h) {
  Picture out(w, h);
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) out.At(i, j) = p.At(x + i, y + j);
  }
  return out;
}

void SteelPanel(cairo_t* cr, double x, double y, double w, double h, double rim, double radius, bool accent) {
  // Soft drop shadow onto whatever lies below.
  for (int i = 4; i >= 1; --i) {
    RoundedRect(cr, x + 1 + i * 0.5, y + 2 + i * 0.7, w - 2, h - 2, radius + i);
    SetRgb(cr, 0x000814, 0.09);
    cairo_fill(cr);
  }
  // Steel rim: a diagonal brushed gradient with a bright upper-left bevel.
  cairo_pattern_t* steel = cairo_pattern_create_linear(x, y, x + w * 0.35, y + h);
  AddStop(steel, 0, 0xC9D3DA);
  AddStop(steel, 0.45, 0x8C99A3);
  AddStop(steel, 0.7, 0xA7B3BC);
  AddStop(steel, 1, 0x5B6770);
  RoundedRect(cr, x, y, w, h, radius);
  cairo_set_source(cr, steel);
  cairo_fill(cr);
  cairo_pattern_destroy(steel);
  cairo_set_line_width(cr, 1);
  RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, radius);
  SetRgb(cr, 0x26313A);
  cairo_stroke(cr);
  RoundedRect(cr, x + 1.5, y + 1.5, w - 3, h - 3, radius - 1);
  SetRgb(cr, 0xFFFFFF, 0.45);
  cairo_stroke(cr);

  // Pale interior, sunk by a one-pixel dark line above and a light one below.
  const double ix = x + rim, iy = y + rim, iw = w - 2 * rim, ih = h - 2 * rim;
  const double ir = std::max(2.0, radius - rim);
  RoundedRect(cr, ix - 1, iy - 1, iw + 2, ih + 2, ir + 1);
  SetRgb(cr, 0xF8FAFB, 0.9);
  cairo_fill(cr);
  RoundedRect(cr, ix - 1, iy - 1, iw + 1, ih + 1, ir + 1);
  SetRgb(cr, 0x38444D);
  cairo_fill(cr);
  cairo_pattern_t* pale = cairo_pattern_create_linear(0, iy, 0, iy + ih);
  AddStop(pale, 0, kPanelLight);
  AddStop(pale, 1, kPanelDark);
  RoundedRect(cr, ix, iy, iw, ih, ir);
  cairo_set_source(cr, pale);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(pale);
  // Brushed-metal streaks, faint enough to keep text crisp.
  cairo_save(cr);
  cairo_clip(cr);
  Noise noise(static_cast<uint32_t>(x * 7919 + y * 104729 + w));
  cairo_set_line_width(cr, 1);
  for (double yy = iy + 0.5; yy < iy + ih; yy += 1) {
    const double a = noise.Range(0, 0.05);
    SetRgb(cr, noise.Next() & 1 ? 0xFFFFFF : 0x7C8A95, a);
    const double x0 = ix + noise.Range(-40, iw * 0.5);
    cairo_move_to(cr, x0, yy);
    cairo_line_to(cr, x0 + noise.Range(60, iw), yy);
    cairo_stroke(cr);
  }
  if (accent) {
    // A warm orange hairline just inside the top edge: the menus' accent colour.
    SetRgb(cr, 0xFF9900, 0.85);
    cairo_rectangle(cr, ix + 6, iy + 3, iw - 12, 2);
    cairo_fill(cr);
    SetRgb(cr, 0x003399, 0.35);
    cairo_rectangle(cr, ix + 6, iy + 5, iw - 12, 1);
    cairo_fill(cr);
  }
  cairo_restore(cr);

  // Rivets in the rim: the corners and evenly along each side.
  const double rr = std::max(1.6, rim * 0.28);
  const double inset = rim / 2;
  const int across = std::max(1, static_cast<int>((w - 2 * inset) / 70));
  const int down = std::max(1, static_cast<int>((h - 2 * inset) / 70));
  for (int i = 0; i <= across; ++i) {
    const double rx = x + inset + (w - 2 * inset) * i / across;
    Rivet(cr, rx, y + inset, rr);
    Rivet(cr, rx, y + h - inset, rr);
  }
  for (int j = 1; j < down; ++j) {
    const double ry = y + inset + (h - 2 * inset) * j / down;
    Rivet(cr, x + inset, ry, rr);
    Rivet(cr, x + w - inset, ry, rr);
  }
}

void EngravedLine(cairo_t* cr, double x1, double x2, double y) {
  cairo_pattern_t* g = cairo_pattern_create_linear(x1, 0, x2, 0);
  AddStop(g, 0, 0x7C8A95, 0);
  AddStop(g, 0.15, 0x7C8A95, 0.9);
  AddStop(g, 0.85, 0x7C8A95, 0.9);
  AddStop(g, 1, 0x7C8A95, 0);
  cairo_rectangle(cr, x1, y, x2 - x1, 1);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  g = cairo_pattern_create_linear(x1, 0, x2, 0);
  AddStop(g, 0, 0xFFFFFF, 0);
  AddStop(g, 0.15, 0xFFFFFF, 0.9);
  AddStop(g, 0.85, 0xFFFFFF, 0.9);
  AddStop(g, 1, 0xFFFFFF, 0);
  cairo_rectangle(cr, x1, y + 1, x2 - x1, 1);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

void NameWell(cairo_t* cr, double x, double y, double w, double h, bool focused) {
  // Light bevel under and right of the well, dark lip above and left.
  RoundedRect(cr, x, y, w, h, 4);
  SetRgb(cr, focused ? 0xFF9900 : 0x4F5E69);
  cairo_fill(cr);
  const double b = focused ? 2 : 1;
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
  if (focused) {
    AddStop(g, 0, 0x030C18);
    AddStop(g, 0.25, 0x0A2238);
    AddStop(g, 1, 0x14426A);
  } else {
    AddStop(g, 0, 0x1D2C3B);
    AddStop(g, 0.25, 0x2C4058);
    AddStop(g, 1, 0x3F5873);
  }
  RoundedRect(cr, x + b, y + b, w - 2 * b, h - 2 * b, 3);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // Inner shadow along the top.
  SetRgb(cr, 0x000000, 0.35);
  cairo_rectangle(cr, x + b + 1, y + b, w - 2 * b - 2, 1);
  cairo_fill(cr);
  if (focused) {
    // A thin inner glow of the rim.
    cairo_set_line_width(cr, 1);
    RoundedRect(cr, x + b + 0.5, y + b + 0.5, w - 2 * b - 1, h - 2 * b - 1, 3);
    SetRgb(cr, 0xFF9900, 0.35);
    cairo_stroke(cr);
  }
}

void ChoiceTrack(cairo_t* cr, int x, int y, int w, int h, int split) {
  RoundedRect(cr, x, y, w, h + 1, 5);
  SetRgb(cr, 0xFFFFFF, 0.9);
  cairo_fill(cr);
  RoundedRect(cr, x, y, w, h, 5);
  SetRgb(cr, 0x8996A0);
  cairo_fill(cr);
  RoundedRect(cr, x + 1, y + 1, w - 2, h - 2, 4);
  SetRgb(cr, 0xC9D2D8);
  cairo_fill(cr);
  RoundedRect(cr, x + 1, y + 2, w - 2, h - 3, 4);
  SetRgb(cr, 0xF6F8F9);
  cairo_fill(cr);
  cairo_rectangle(cr, split, y + 3, 1, h - 6);
  SetRgb(cr, 0x9AA6AF);
  cairo_fill(cr);
  cairo_rectangle(cr, split + 1, y + 3, 1, h - 6);
  SetRgb(cr, 0xFFFFFF);
  cairo_fill(cr);
}

void ButtonPlate(cairo_t* cr, double x, double y, double w, double h) {
  RoundedRect(cr, x, y, w, h, 4);
  SetRgb(cr, 0x5B6770);
  cairo_fill(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
  AddStop(g, 0, 0xFFFFFF);
  AddStop(g, 0.5, 0xE4EAEE);
  AddStop(g, 1, 0xC3CDD4);
  RoundedRect(cr, x + 1, y + 1, w - 2, h - 2, 3);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  SetRgb(cr, 0x8996A0, 0.8);
  cairo_rectangle(cr, x + 3, y + h - 2, w - 6, 1);
  cairo_fill(cr);
}

void Torpedo(cairo_t* cr, double tailX, double noseX, double cy) {
  const double length = std::min(46.0, noseX - tailX - 6);  // room for the fins and screw
  const double bodyL = noseX - length;
  const double r = 5.5;  // body radius
  // Wake: a fading trail of foam and bubbles behind the screw.
  Noise noise(static_cast<uint32_t>(tailX * 131 + cy * 17));
  if (bodyL - 6 > tailX) {
    cairo_pattern_t* g = cairo_pattern_create_linear(tailX, 0, bodyL, 0);
    AddStop(g, 0, 0x5B7A93, 0);
    AddStop(g, 1, 0x5B7A93, 0.55);
    cairo_move_to(cr, tailX, cy);
    cairo_curve_to(cr, (tailX + bodyL) / 2, cy - 1, bodyL - 10, cy - 4, bodyL - 2, cy - 3.5);
    cairo_line_to(cr, bodyL - 2, cy + 3.5);
    cairo_curve_to(cr, bodyL - 10, cy + 4, (tailX + bodyL) / 2, cy + 1, tailX, cy);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    for (double bx = bodyL - 6; bx > tailX + 4; bx -= noise.Range(4, 9)) {
      const double t = (bx - tailX) / (bodyL - tailX);
      const double by = cy + noise.Range(-4, 4) * t;
      cairo_arc(cr, bx, by, 0.8 + 1.4 * t, 0, 2 * M_PI);
      SetRgb(cr, 0xFFFFFF, 0.25 + 0.6 * t);
      cairo_fill_preserve(cr);
      SetRgb(cr, 0x3E5C75, 0.5 * t);
      cairo_set_line_width(cr, 0.6);
      cairo_stroke(cr);
    }
  }
  // Tail fins and screw.
  SetRgb(cr, 0x0A1F3D);
  cairo_move_to(cr, bodyL + 7, cy - r + 1);
  cairo_line_to(cr, bodyL + 1, cy - r - 4);
  cairo_line_to(cr, bodyL - 1, cy - r - 4);
  cairo_line_to(cr, bodyL + 1, cy);
  cairo_line_to(cr, bodyL - 1, cy + r + 4);
  cairo_line_to(cr, bodyL + 1, cy + r + 4);
  cairo_line_to(cr, bodyL + 7, cy + r - 1);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_rectangle(cr, bodyL - 3, cy - 3, 3, 6);
  cairo_fill(cr);
  // Body: a rounded cylinder with a pointed nose, brass-orange with a dark outline.
  cairo_new_path(cr);
  cairo_move_to(cr, bodyL + 2, cy - r + 1.5);
  cairo_line_to(cr, noseX - 12, cy - r);
  cairo_curve_to(cr, noseX - 4, cy - r, noseX, cy - 2, noseX, cy);
  cairo_curve_to(cr, noseX, cy + 2, noseX - 4, cy + r, noseX - 12, cy + r);
  cairo_line_to(cr, bodyL + 2, cy + r - 1.5);
  cairo_close_path(cr);
  cairo_pattern_t* body = cairo_pattern_create_linear(0, cy - r, 0, cy + r);
  AddStop(body, 0, 0xFFE0A0);
  AddStop(body, 0.3, 0xFFB030);
  AddStop(body, 0.65, 0xFF9900);
  AddStop(body, 1, 0xA85A00);
  cairo_set_source(cr, body);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(body);
  cairo_set_line_width(cr, 1.2);
  SetRgb(cr, 0x0A1F3D);
  cairo_stroke(cr);
  // Warhead band and a highlight along the top.
  cairo_set_line_width(cr, 1.5);
  SetRgb(cr, 0x003399, 0.85);
  cairo_move_to(cr, noseX - 15, cy - r + 0.8);
  cairo_line_to(cr, noseX - 15, cy + r - 0.8);
  cairo_stroke(cr);
  SetRgb(cr, 0xFFFFFF, 0.6);
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, bodyL + 5, cy - r + 2.5);
  cairo_line_to(cr, noseX - 10, cy - r + 2);
  cairo_stroke(cr);
}

Picture DrawTitle(LabelFont& font) {
  const Size s{800, 600};
  cairo_surface_t* surface = NewCairoSurface(s.Width, s.Height);
  cairo_t* cr = cairo_create(surface);
  const char* text = "SALT FANG";
  // Heavy lettering, slightly condensed, filling the sliding region with room for the outline.
  const double sizeY = 80, sizeX = 80;
  const double advance = font.PathAdvance(sizeX, text);
  const double x = (kTitle.W() - advance) / 2 + 2, baseline = 74;

  // Dark outline under everything.
  font.AppendPath(cr, x, baseline, sizeX, sizeY, text);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, 9);
  SetRgb(cr, 0x020A18);
  cairo_stroke_preserve(cr);
  cairo_set_line_width(cr, 5);
  SetRgb(cr, 0xFF9900);
  cairo_stroke_preserve(cr);
  cairo_set_line_width(cr, 2);
  SetRgb(cr, 0x7A3A00);
  cairo_stroke_preserve(cr);
  // Polished steel face: bright top, a dark horizon band, a lit lower half.
  cairo_pattern_t* steel = cairo_pattern_create_linear(0, baseline - 58, 0, baseline);
  AddStop(steel, 0, 0xFFFFFF);
  AddStop(steel, 0.42, 0xC6D1D9);
  AddStop(steel, 0.5, 0x4D5C68);
  AddStop(steel, 0.58, 0x8F9EAA);
  AddStop(steel, 1, 0xE8EEF2);
  cairo_set_source(cr, steel);
  cairo_fill(cr);
  cairo_pattern_destroy(steel);

  // A fang-shaped blade under the words: wide at the left, tapering to a point at the right.
  const double by = baseline + 12;
  cairo_move_to(cr, x + 4, by - 5);
  cairo_curve_to(cr, x + advance * 0.4, by - 6, x + advance * 0.8, by - 4, x + advance + 10, by + 3);
  cairo_curve_to(cr, x + advance * 0.75, by + 3, x + advance * 0.4, by + 5, x + 4, by + 5);
  cairo_close_path(cr);
  cairo_set_line_width(cr, 3);
  SetRgb(cr, 0x020A18);
  cairo_stroke_preserve(cr);
  cairo_pattern_t* blade = cairo_pattern_create_linear(0, by - 5, 0, by + 5);
  AddStop(blade, 0, 0xFFD089);
  AddStop(blade, 0.5, 0xFF9900);
  AddStop(blade, 1, 0xB35E00);
  cairo_set_source(cr, blade);
  cairo_fill(cr);
  cairo_pattern_destroy(blade);

  cairo_destroy(cr);
  Picture p = FromCairo(surface, true, kNightSky);
  cairo_surface_destroy(surface);
  return p;
}

Picture DrawEmblem() {
  const double w = 120, h = 200;
  cairo_surface_t* surface = NewCairoSurface(static_cast<int>(w), static_cast<int>(h));
  cairo_t* cr = cairo_create(surface);
  // Shield outline: flat top, straight sides, curving to a point.
  auto shield = [&](double inset) {
    cairo_new_path(cr);
    cairo_move_to(cr, 6 + inset, 16 + inset);
    cairo_curve_to(cr, 30, 10 + inset, 90, 10 + inset, w - 6 - inset, 16 + inset);
    cairo_line_to(cr, w - 6 - inset, 110);
    cairo_curve_to(cr, w - 6 - inset, 150, 80, 172 - inset * 0.5, w / 2, 192 - inset * 1.4);
    cairo_curve_to(cr, 40, 172 - inset * 0.5, 6 + inset, 150, 6 + inset, 110);
    cairo_close_path(cr);
  };
  shield(0);
  cairo_pattern_t* rim = cairo_pattern_create_linear(0, 0, w, h);
  AddStop(rim, 0, 0xE4EAEE);
  AddStop(rim, 0.5, 0x8C99A3);
  AddStop(rim, 1, 0x4A565F);
  cairo_set_source(cr, rim);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(rim);
  cairo_set_line_width(cr, 1.5);
  SetRgb(cr, 0x1E2830);
  cairo_stroke(cr);
  // Sea-blue field with a dusk glow at the top.
  shield(7);
  cairo_pattern_t* field = cairo_pattern_create_linear(0, 20, 0, 180);
  AddStop(field, 0, 0xF09040);
  AddStop(field, 0.22, 0x7A3F5E);
  AddStop(field, 0.45, 0x0D4A73);
  AddStop(field, 1, 0x06203A);
  cairo_set_source(cr, field);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(field);
  cairo_set_line_width(cr, 2);
  SetRgb(cr, 0xFF9900);
  cairo_stroke(cr);

  cairo_save(cr);
  shield(8);
  cairo_clip(cr);
  // Setting sun and waves.
  cairo_arc(cr, w / 2, 62, 17, M_PI, 2 * M_PI);
  SetRgb(cr, 0xFFC060);
  cairo_fill(cr);
  cairo_set_line_width(cr, 2);
  for (int i = 0; i < 4; ++i) {
    const double wy = 66 + i * 9;
    cairo_move_to(cr, 0, wy);
    for (double xx = 0; xx < w; xx += 16) cairo_curve_to(cr, xx + 4, wy - 4, xx + 12, wy + 4, xx + 16, wy);
    SetRgb(cr, 0x9CC3DE, 0.65 - i * 0.12);
    cairo_stroke(cr);
  }
  cairo_restore(cr);

  // The anchor: ring, shank, stock, arms and flukes, in orange with a dark edge.
  auto anchor = [&]() {
    cairo_new_path(cr);
    cairo_arc(cr, w / 2, 86, 7, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_move_to(cr, w / 2, 93);
    cairo_line_to(cr, w / 2, 156);
    cairo_move_to(cr, w / 2 - 20, 104);
    cairo_line_to(cr, w / 2 + 20, 104);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, w / 2, 128, 30, M_PI * 0.95, M_PI * 0.05);
  };
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  anchor();
  cairo_set_line_width(cr, 9);
  SetRgb(cr, 0x020A18);
  cairo_stroke(cr);
  anchor();
  cairo_set_line_width(cr, 5);
  SetRgb(cr, 0xFF9900);
  cairo_stroke(cr);
  // Flukes: arrow heads at the arm ends, and a fang-like crown at the foot.
  auto fluke = [&](double fx, double fy, double dir) {
    cairo_move_to(cr, fx - 8 * dir, fy - 6);
    cairo_line_to(cr, fx + 2 * dir, fy - 16);
    cairo_line_to(cr, fx + 5 * dir, fy + 2);
    cairo_close_path(cr);
  };
  for (int pass = 0; pass < 2; ++pass) {
    fluke(w / 2 - 29.5, 133, -1);
    fluke(w / 2 + 29.5, 133, 1);
    cairo_move_to(cr, w / 2 - 7, 152);
    cairo_line_to(cr, w / 2, 166);
    cairo_line_to(cr, w / 2 + 7, 152);
    cairo_close_path(cr);
    if (pass == 0) {
      cairo_set_line_width(cr, 3);
      SetRgb(cr, 0x020A18);
      cairo_stroke(cr);
    } else {
      SetRgb(cr, 0xFF9900);
      cairo_fill(cr);
    }
  }
  SetRgb(cr, 0xFFFFFF, 0.5);
  cairo_set_line_width(cr, 1.5);
  cairo_move_to(cr, w / 2 - 1.5, 96);
  cairo_line_to(cr, w / 2 - 1.5, 150);
  cairo_stroke(cr);
  // Two stars over the sun.
  for (const double sx : {w / 2 - 26, w / 2 + 26}) {
    cairo_new_path(cr);
    for (int i = 0; i < 10; ++i) {
      const double a = -M_PI / 2 + i * M_PI / 5, rr = i % 2 ? 2.6 : 6.5;
      cairo_line_to(cr, sx + rr * std::cos(a), 36 + rr * std::sin(a));
    }
    cairo_close_path(cr);
    SetRgb(cr, 0xFFF1D0);
    cairo_fill(cr);
  }

  cairo_destroy(cr);
  Picture p = FromCairo(surface, true, kPanelMid);
  cairo_surface_destroy(surface);
  return p;
}

}  // namespace assetgen::menu
