// The weapon cells of the right panel and the falling bonus icons. Both use the same pictograms
// (shells for the guns, rockets for the launchers) so a bonus says which weapon it feeds.
#include <cmath>

#include "GameArtKit.h"
#include "GameArtParts.h"

namespace assetgen::gameart {

namespace {

constexpr uint32_t kCellFloor = 0x13263A;  // the weapon column's tray floor on the right panel

// An artillery shell, nose up before `angle` (radians, clockwise) is applied; `len` long.
void ShellGlyph(cairo_t* cr, double cx, double cy, double len, double angle) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, angle);
  const double w = len * 0.34, h = len / 2;
  // Brass case.
  cairo_pattern_t* g = cairo_pattern_create_linear(-w / 2, 0, w / 2, 0);
  AddStop(g, 0, 0x8A5A12);
  AddStop(g, 0.35, 0xFFE08A);
  AddStop(g, 1, 0x9C6A1A);
  RoundedRect(cr, -w / 2, -len * 0.04, w, h + len * 0.04, w * 0.12);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_rectangle(cr, -w / 2 - 0.6, h - len * 0.07, w + 1.2, len * 0.07);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // Driving band and the steel projectile with its pointed nose.
  cairo_rectangle(cr, -w / 2, -len * 0.1, w, len * 0.07);
  SetRgb(cr, 0xC0502A);
  cairo_fill(cr);
  g = cairo_pattern_create_linear(-w / 2, 0, w / 2, 0);
  AddStop(g, 0, 0x46525B);
  AddStop(g, 0.35, 0xDDE5EA);
  AddStop(g, 1, 0x4C5861);
  cairo_move_to(cr, -w / 2, -len * 0.1);
  cairo_line_to(cr, -w / 2, -len * 0.22);
  cairo_curve_to(cr, -w / 2, -len * 0.38, -w * 0.15, -h * 0.98, 0, -h);
  cairo_curve_to(cr, w * 0.15, -h * 0.98, w / 2, -len * 0.38, w / 2, -len * 0.22);
  cairo_line_to(cr, w / 2, -len * 0.1);
  cairo_close_path(cr);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_restore(cr);
}

// A rocket with fins and a flame, nose up before `angle` is applied; `len` long without flame.
void RocketGlyph(cairo_t* cr, double cx, double cy, double len, double angle, bool flame) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, angle);
  const double w = len * 0.17, h = len / 2;
  if (flame) {
    cairo_pattern_t* f = cairo_pattern_create_linear(0, h, 0, h + len * 0.42);
    AddStop(f, 0, 0xFFF6B0);
    AddStop(f, 0.35, 0xFFA020);
    AddStop(f, 1, 0xE03010, 0.0);
    cairo_move_to(cr, -w * 0.45, h);
    cairo_curve_to(cr, -w * 0.5, h + len * 0.2, -w * 0.1, h + len * 0.35, 0, h + len * 0.45);
    cairo_curve_to(cr, w * 0.1, h + len * 0.35, w * 0.5, h + len * 0.2, w * 0.45, h);
    cairo_close_path(cr);
    cairo_set_source(cr, f);
    cairo_fill(cr);
    cairo_pattern_destroy(f);
  }
  // Fins.
  cairo_move_to(cr, -w / 2, h - len * 0.28);
  cairo_line_to(cr, -w * 1.25, h + len * 0.02);
  cairo_line_to(cr, -w / 2, h - len * 0.04);
  cairo_close_path(cr);
  cairo_move_to(cr, w / 2, h - len * 0.28);
  cairo_line_to(cr, w * 1.25, h + len * 0.02);
  cairo_line_to(cr, w / 2, h - len * 0.04);
  cairo_close_path(cr);
  SetRgb(cr, 0xB8322A);
  cairo_fill(cr);
  // Body.
  cairo_pattern_t* g = cairo_pattern_create_linear(-w / 2, 0, w / 2, 0);
  AddStop(g, 0, 0x7E8A93);
  AddStop(g, 0.35, 0xF6F9FA);
  AddStop(g, 1, 0x7A868F);
  cairo_rectangle(cr, -w / 2, -h + len * 0.22, w, len * 0.78);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // Red nose cone and a dark band.
  cairo_move_to(cr, -w / 2, -h + len * 0.22);
  cairo_curve_to(cr, -w / 2, -h + len * 0.08, -w * 0.2, -h, 0, -h);
  cairo_curve_to(cr, w * 0.2, -h, w / 2, -h + len * 0.08, w / 2, -h + len * 0.22);
  cairo_close_path(cr);
  SetRgb(cr, 0xD63A22);
  cairo_fill(cr);
  cairo_rectangle(cr, -w / 2, -h + len * 0.3, w, len * 0.05);
  SetRgb(cr, 0x39434B);
  cairo_fill(cr);
  cairo_restore(cr);
}

// A side view of a machine gun on a short mount, muzzle to the right, fitted to `w` wide.
void MachineGunGlyph(cairo_t* cr, double cx, double cy, double w) {
  cairo_save(cr);
  cairo_translate(cr, cx - w / 2, cy);
  const double s = w / 48.0;
  cairo_scale(cr, s, s);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, -8, 0, 8);
  AddStop(g, 0, 0xDCE4E9);
  AddStop(g, 0.5, 0x8D99A2);
  AddStop(g, 1, 0x4B565E);
  // Stock, receiver, cooling jacket, barrel and muzzle.
  cairo_move_to(cr, 0, -4);
  cairo_line_to(cr, 10, -6);
  cairo_line_to(cr, 10, 3);
  cairo_line_to(cr, 2, 5);
  cairo_close_path(cr);
  cairo_rectangle(cr, 10, -7, 13, 10);
  RoundedRect(cr, 23, -5, 16, 6, 1.5);
  cairo_rectangle(cr, 39, -3.2, 7, 2.4);
  cairo_rectangle(cr, 45, -4.2, 3, 4.4);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // Cooling holes.
  for (int i = 0; i < 4; ++i) {
    Circle(cr, 25.5 + i * 3.8, -2, 0.9);
    SetRgb(cr, 0x2A3238);
    cairo_fill(cr);
  }
  // Grip, ammunition box and the belt of brass rounds.
  cairo_move_to(cr, 11, 3);
  cairo_line_to(cr, 15, 3);
  cairo_line_to(cr, 13, 10);
  cairo_line_to(cr, 9, 10);
  cairo_close_path(cr);
  SetRgb(cr, 0x5A3A22);
  cairo_fill(cr);
  cairo_rectangle(cr, 16, 3, 9, 8);
  SetRgb(cr, 0x4E5A3A);
  cairo_fill(cr);
  for (int i = 0; i < 5; ++i) {
    RoundedRect(cr, 25.5 + i * 2.6, 4 + i * 1.3, 2, 4.5, 0.8);
    SetRgb(cr, 0xF0C050);
    cairo_fill(cr);
  }
  // Tripod.
  cairo_set_line_width(cr, 1.6);
  cairo_move_to(cr, 30, 1);
  cairo_line_to(cr, 26, 12);
  cairo_move_to(cr, 30, 1);
  cairo_line_to(cr, 35, 12);
  SetRgb(cr, 0x3A444C);
  cairo_stroke(cr);
  cairo_restore(cr);
}

// Tracer dashes leaving the muzzle.
void Tracers(cairo_t* cr, double x, double y) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, 2);
  for (int i = 0; i < 3; ++i) {
    cairo_move_to(cr, x + i * 3.5, y - 0.5 - i * 2.2);
    cairo_line_to(cr, x + i * 3.5 + 2.5, y - 1.3 - i * 2.2);
    SetRgb(cr, 0xFFD060, 0.95 - i * 0.2);
    cairo_stroke(cr);
  }
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

void WeaponCell(cairo_t* cr, int w, double top, bool glowing) {
  const double x = 1.5, y = top + 1.5, s = 58;
  RoundedRect(cr, x, y, s, s, 7);
  cairo_pattern_t* bg = cairo_pattern_create_radial(30.5, top + 30.5, 3, 30.5, top + 30.5, 40);
  if (glowing) {
    AddStop(bg, 0, 0x7A4A10);
    AddStop(bg, 0.55, 0x3A2C20);
    AddStop(bg, 1, 0x1A1C24);
  } else {
    AddStop(bg, 0, 0x21405E);
    AddStop(bg, 1, 0x0E2135);
  }
  cairo_set_source(cr, bg);
  cairo_fill(cr);
  cairo_pattern_destroy(bg);
  // Rim: steel for a weapon at hand, a glowing orange ring for the one selected.
  RoundedRect(cr, x, y, s, s, 7);
  if (glowing) {
    SetRgb(cr, kOrange, 0.35);
    cairo_set_line_width(cr, 5);
    cairo_stroke_preserve(cr);
    SetRgb(cr, 0xFFC560);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
  } else {
    SetRgb(cr, 0x8795A0);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    RoundedRect(cr, x + 2, y + 2, s - 4, s - 4, 5);
    SetRgb(cr, 0x05101A, 0.6);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  const double cx = 30.5, cy = top + 30.5;
  switch (w) {
    case 0:
      MachineGunGlyph(cr, cx - 5, cy + 2, 42);
      Tracers(cr, cx + 17, cy - 2);
      break;
    case 1: ShellGlyph(cr, cx, cy, 40, 0.35); break;
    case 2:
      ShellGlyph(cr, cx - 9, cy + 1, 36, 0.3);
      ShellGlyph(cr, cx + 9, cy - 1, 36, 0.3);
      break;
    case 3: RocketGlyph(cr, cx - 2, cy - 3, 34, 0.6, true); break;
    default:
      RocketGlyph(cr, cx - 13, cy + 1, 26, -0.35, true);
      RocketGlyph(cr, cx + 13, cy + 1, 26, 0.35, true);
      RocketGlyph(cr, cx, cy - 5, 28, 0, true);
      break;
  }
  if (glowing) {
    // A warm sheen over the pictogram.
    RoundedRect(cr, x + 2, y + 2, s - 4, s - 4, 6);
    cairo_pattern_t* sheen = cairo_pattern_create_linear(0, y, 0, y + s);
    AddStop(sheen, 0, 0xFFD080, 0.18);
    AddStop(sheen, 0.5, 0xFFD080, 0.0);
    cairo_set_source(cr, sheen);
    cairo_fill(cr);
    cairo_pattern_destroy(sheen);
  }
}

// The round badge behind the ammunition bonuses: navy with an orange rim.
void AmmoBadge(cairo_t* cr, double cx, double cy, double r) {
  Circle(cr, cx, cy, r);
  cairo_pattern_t* g = cairo_pattern_create_radial(cx - 3, cy - 3, 1, cx, cy, r);
  AddStop(g, 0, 0x2D5A86);
  AddStop(g, 1, 0x0C2440);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  Circle(cr, cx, cy, r - 0.9);
  SetRgb(cr, kOrange);
  cairo_set_line_width(cr, 1.8);
  cairo_stroke(cr);
}

}  // namespace

Picture WeaponIcons(bool glowing) {
  Canvas c(GameImageSize(glowing ? 4 : 33));
  for (int w = 0; w < 5; ++w) WeaponCell(c.Cr(), w, 61.0 * w, glowing);
  return c.Finish(true, kCellFloor);
}

Picture BonusIcon(int kind) {
  Canvas c(GameImageSize(34 + kind));
  cairo_t* cr = c.Cr();
  const double cx = c.Width() == 23 ? 11.5 : 12, cy = 11.5;  // narrow icons centre on the half pixel
  switch (kind) {
    case 0:  // Rocket
      AmmoBadge(cr, cx, cy, 10.8);
      RocketGlyph(cr, cx, cy - 1, 15, 0.6, true);
      break;
    case 1:  // Gun
      AmmoBadge(cr, cx, cy, 10.8);
      ShellGlyph(cr, cx, cy, 16, 0.35);
      break;
    case 2:  // Rocket 3x
      AmmoBadge(cr, cx, cy, 10.8);
      RocketGlyph(cr, cx - 5, cy + 1, 11, -0.4, false);
      RocketGlyph(cr, cx + 5, cy + 1, 11, 0.4, false);
      RocketGlyph(cr, cx, cy - 1, 12, 0, false);
      break;
    case 3:  // Gun 2x
      AmmoBadge(cr, cx, cy, 10.8);
      ShellGlyph(cr, cx - 3.5, cy + 0.5, 14, 0.3);
      ShellGlyph(cr, cx + 3.5, cy - 0.5, 14, 0.3);
      break;
    case 4: {  // First-aid set: a white case with a red cross
      RoundedRect(cr, 2, 4.5, 19, 16, 3);
      cairo_pattern_t* g = cairo_pattern_create_linear(0, 4, 0, 21);
      AddStop(g, 0, 0xFFFFFF);
      AddStop(g, 1, 0xC9D0D6);
      cairo_set_source(cr, g);
      cairo_fill_preserve(cr);
      cairo_pattern_destroy(g);
      SetRgb(cr, 0x5A656E);
      cairo_set_line_width(cr, 1);
      cairo_stroke(cr);
      RoundedRect(cr, 8, 2, 7, 3.2, 1.2);
      SetRgb(cr, 0x5A656E);
      cairo_set_line_width(cr, 1.2);
      cairo_stroke(cr);
      cairo_rectangle(cr, 9, 7, 5, 12);
      cairo_rectangle(cr, 5.5, 10.5, 12, 5);
      SetRgb(cr, 0xE01818);
      cairo_fill(cr);
      break;
    }
    case 5: {  // Ice: a six-armed snowflake on a frosty disc
      Circle(cr, cx, cy, 10.8);
      cairo_pattern_t* g = cairo_pattern_create_radial(cx - 3, cy - 3, 1, cx, cy, 11);
      AddStop(g, 0, 0xE6FAFF);
      AddStop(g, 1, 0x58B8E8);
      cairo_set_source(cr, g);
      cairo_fill(cr);
      cairo_pattern_destroy(g);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
      for (int i = 0; i < 6; ++i) {
        const double a = i * M_PI / 3 - M_PI / 2, ca = std::cos(a), sa = std::sin(a);
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + ca * 8.5, cy + sa * 8.5);
        for (double side : {-1.0, 1.0}) {
          const double b = a + side * 0.75;
          cairo_move_to(cr, cx + ca * 5, cy + sa * 5);
          cairo_line_to(cr, cx + ca * 5 + std::cos(b) * 3, cy + sa * 5 + std::sin(b) * 3);
        }
      }
      SetRgb(cr, 0x0B4A86);
      cairo_set_line_width(cr, 1.5);
      cairo_stroke(cr);
      break;
    }
    case 6: {  // Coins: a small stack and a coin in front
      for (int i = 0; i < 4; ++i) {
        Ellipse(cr, 8, 17.5 - i * 3, 6.5, 3);
        SetRgb(cr, i % 2 ? 0xE3A91C : 0xC98A12);
        cairo_fill_preserve(cr);
        SetRgb(cr, 0x7A4E06);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
      }
      Circle(cr, 15, 13, 7.2);
      cairo_pattern_t* g = cairo_pattern_create_radial(13, 10.5, 1, 15, 13, 7.6);
      AddStop(g, 0, 0xFFF1A0);
      AddStop(g, 0.6, 0xF2BF2A);
      AddStop(g, 1, 0xB07808);
      cairo_set_source(cr, g);
      cairo_fill_preserve(cr);
      cairo_pattern_destroy(g);
      SetRgb(cr, 0x7A4E06);
      cairo_set_line_width(cr, 1);
      cairo_stroke(cr);
      Label(cr, 15, 7.5, 12, "$", Align::Centre);
      break;
    }
    default: {  // Mega-Bomb: a black bomb with a burning fuse
      Circle(cr, 10.5, 13.5, 8.5);
      cairo_pattern_t* g = cairo_pattern_create_radial(8, 11, 0.5, 10.5, 13.5, 9);
      AddStop(g, 0, 0x8A96A0);
      AddStop(g, 0.35, 0x2A3036);
      AddStop(g, 1, 0x07090B);
      cairo_set_source(cr, g);
      cairo_fill(cr);
      cairo_pattern_destroy(g);
      cairo_rectangle(cr, 13, 3.5, 4, 4);
      SetRgb(cr, 0x3A4248);
      cairo_fill(cr);
      cairo_move_to(cr, 15, 4);
      cairo_curve_to(cr, 16, 2.5, 17.5, 2.5, 18.5, 4);
      SetRgb(cr, 0xC8A060);
      cairo_set_line_width(cr, 1.2);
      cairo_stroke(cr);
      for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        cairo_move_to(cr, 18.5, 4.2);
        cairo_line_to(cr, 18.5 + std::cos(a) * 2.6, 4.2 + std::sin(a) * 2.6);
      }
      SetRgb(cr, 0xFFD040);
      cairo_set_line_width(cr, 1.1);
      cairo_stroke(cr);
      Circle(cr, 18.5, 4.2, 1.2);
      SetRgb(cr, 0xFFFFE0);
      cairo_fill(cr);
      break;
    }
  }
  return c.Finish(true, kSeaMid);
}

}  // namespace assetgen::gameart
