// The turning guns and the projectiles. Both point up in the picture: the program turns them by
// their heading plus half a turn, so at rest the player's guns point up and the enemies' down.
#include <cmath>

#include "GameArtKit.h"
#include "GameArtParts.h"
#include "GameArtShipKit.h"

namespace assetgen::gameart {

namespace {

constexpr uint32_t kDeck = 0x75828C;  // the decks the guns stand on
constexpr uint32_t kGun = 0x8C9AA5;

void Barrel(cairo_t* cr, double x, double top, double bottom, double width) {
  cairo_pattern_t* g = cairo_pattern_create_linear(x - width / 2, 0, x + width / 2, 0);
  AddStop(g, 0, 0x3A434A);
  AddStop(g, 0.4, 0xC4CED6);
  AddStop(g, 1, 0x39424A);
  cairo_rectangle(cr, x - width / 2, top, width, bottom - top);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_rectangle(cr, x - width / 2 - 0.3, top, width + 0.6, 1.2);
  SetRgb(cr, 0x1E2327);
  cairo_fill(cr);
}

// A domed gun house centred on the pivot, lit from the upper left.
void GunHouse(cairo_t* cr, double cx, double cy, double r) {
  Circle(cr, cx, cy, r);
  cairo_pattern_t* g = cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.35, r * 0.1, cx, cy, r);
  AddStop(g, 0, Scale(kGun, 1.45));
  AddStop(g, 0.6, kGun);
  AddStop(g, 1, Scale(kGun, 0.6));
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  SetRgb(cr, 0x23292E);
  cairo_set_line_width(cr, 0.9);
  cairo_stroke(cr);
}

}  // namespace

Picture Turret(int gunKind) {
  if (gunKind == 0) {
    // Twin machine guns, 12 x 24, pivot (6, 18).
    Canvas c(GameImageSize(26));
    cairo_t* cr = c.Cr();
    Barrel(cr, 4.0, 1.5, 16, 1.7);
    Barrel(cr, 9.0, 1.5, 16, 1.7);
    GunHouse(cr, 6.5, 18.5, 4.3);
    cairo_rectangle(cr, 3.2, 13.2, 6.6, 1.6);  // gun shield
    SetRgb(cr, 0x4A555D);
    cairo_fill(cr);
    return c.Finish(true, kDeck);
  }
  if (gunKind == 1) {
    // One heavy gun, 14 x 25, pivot (6, 18).
    Canvas c(GameImageSize(27));
    cairo_t* cr = c.Cr();
    Barrel(cr, 6.5, 1, 14, 2.6);
    cairo_rectangle(cr, 4.6, 10, 3.8, 3.5);  // mantlet
    SetRgb(cr, 0x4A555D);
    cairo_fill(cr);
    cairo_move_to(cr, 1.2, 22.5);
    cairo_line_to(cr, 1.2, 17);
    cairo_curve_to(cr, 1.2, 13, 4, 12.6, 6.5, 12.6);
    cairo_curve_to(cr, 9, 12.6, 11.8, 13, 11.8, 17);
    cairo_line_to(cr, 11.8, 22.5);
    cairo_curve_to(cr, 11.8, 23.8, 1.2, 23.8, 1.2, 22.5);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(1, 0, 12, 0);
    AddStop(g, 0, Scale(kGun, 1.35));
    AddStop(g, 0.5, kGun);
    AddStop(g, 1, Scale(kGun, 0.62));
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetRgb(cr, 0x23292E);
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
    Circle(cr, 6.5, 18.5, 1.4);  // the commander's hatch on the pivot
    SetRgb(cr, 0x4A555D);
    cairo_fill(cr);
    return c.Finish(true, kDeck);
  }
  // Triple rocket launcher, 18 x 24, pivot (9, 15).
  Canvas c(GameImageSize(28));
  cairo_t* cr = c.Cr();
  GunHouse(cr, 9.5, 15.5, 6.8);
  for (int i = 0; i < 3; ++i) {
    const double x = 4.5 + 5 * i;
    cairo_pattern_t* g = cairo_pattern_create_linear(x - 2.2, 0, x + 2.2, 0);
    AddStop(g, 0, 0x48533A);
    AddStop(g, 0.4, 0x9AA882);
    AddStop(g, 1, 0x3E4832);
    RoundedRect(cr, x - 2.2, 1.2, 4.4, 18.5, 1.2);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetRgb(cr, 0x1E2327);
    cairo_set_line_width(cr, 0.7);
    cairo_stroke(cr);
    // The red nose of the next rocket in each tube mouth.
    Circle(cr, x, 3, 1.3);
    SetRgb(cr, 0xD63A22);
    cairo_fill(cr);
  }
  cairo_rectangle(cr, 2, 11, 15, 1.5);  // the strap holding the tubes
  SetRgb(cr, 0x2A3036);
  cairo_fill(cr);
  return c.Finish(true, kDeck);
}

Picture Projectile(int kind) {
  if (kind == 0) {
    // A tracer round: white-hot head, orange tail.
    Canvas c(GameImageSize(29 + kind));
    cairo_t* cr = c.Cr();
    Ellipse(cr, 3.5, 6.5, 2.5, 5.3);
    SetRgb(cr, 0xFF8A20, 0.62);
    cairo_fill(cr);
    cairo_move_to(cr, 3.5, 1.6);
    cairo_curve_to(cr, 5.2, 1.6, 5.2, 5, 4.6, 7);
    cairo_line_to(cr, 3.5, 12.4);
    cairo_line_to(cr, 2.4, 7);
    cairo_curve_to(cr, 1.8, 5, 1.8, 1.6, 3.5, 1.6);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 1.5, 0, 12.5);
    AddStop(g, 0, 0xFFFFFF);
    AddStop(g, 0.3, 0xFFE27A);
    AddStop(g, 0.7, 0xFF8A1E);
    AddStop(g, 1, 0xE0401A);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    return c.Finish(true, kSeaMid);
  }
  if (kind == 1) {
    // A cannon shell with a short glowing trail.
    Canvas c(GameImageSize(29 + kind));
    cairo_t* cr = c.Cr();
    cairo_move_to(cr, 3.5, 12.8);
    cairo_line_to(cr, 2.0, 9.5);
    cairo_line_to(cr, 5.0, 9.5);
    cairo_close_path(cr);
    SetRgb(cr, 0xFF9A30);
    cairo_fill(cr);
    cairo_move_to(cr, 1.3, 10);
    cairo_line_to(cr, 1.3, 5);
    cairo_curve_to(cr, 1.3, 3, 2.6, 1.2, 3.5, 1.2);
    cairo_curve_to(cr, 4.4, 1.2, 5.7, 3, 5.7, 5);
    cairo_line_to(cr, 5.7, 10);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(1.3, 0, 5.7, 0);
    AddStop(g, 0, 0x5A646C);
    AddStop(g, 0.4, 0xE8EEF2);
    AddStop(g, 1, 0x56606A);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_rectangle(cr, 1.3, 7.6, 4.4, 1.2);
    SetRgb(cr, 0xC8782A);
    cairo_fill(cr);
    return c.Finish(true, kSeaMid);
  }
  // A rocket: red nose, white body, fins and its exhaust flame.
  Canvas c(GameImageSize(31));
  cairo_t* cr = c.Cr();
  cairo_move_to(cr, 2.2, 19.5);
  cairo_curve_to(cr, 2.0, 22, 3.0, 24.5, 3.5, 26);
  cairo_curve_to(cr, 4.0, 24.5, 5.0, 22, 4.8, 19.5);
  cairo_close_path(cr);
  cairo_pattern_t* flame = cairo_pattern_create_linear(0, 19.5, 0, 26);
  AddStop(flame, 0, 0xFFF6C0);
  AddStop(flame, 0.4, 0xFFB030);
  AddStop(flame, 1, 0xE84A18);
  cairo_set_source(cr, flame);
  cairo_fill(cr);
  cairo_pattern_destroy(flame);
  cairo_move_to(cr, 2.0, 14);
  cairo_line_to(cr, 0.6, 19.8);
  cairo_line_to(cr, 2.0, 19.8);
  cairo_close_path(cr);
  cairo_move_to(cr, 5.0, 14);
  cairo_line_to(cr, 6.4, 19.8);
  cairo_line_to(cr, 5.0, 19.8);
  cairo_close_path(cr);
  SetRgb(cr, 0xB8322A);
  cairo_fill(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(1.8, 0, 5.2, 0);
  AddStop(g, 0, 0x7E8A93);
  AddStop(g, 0.4, 0xFAFCFD);
  AddStop(g, 1, 0x76828B);
  cairo_rectangle(cr, 1.8, 5.5, 3.4, 14.3);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_move_to(cr, 1.8, 6);
  cairo_curve_to(cr, 1.8, 3, 3, 1, 3.5, 1);
  cairo_curve_to(cr, 4, 1, 5.2, 3, 5.2, 6);
  cairo_close_path(cr);
  SetRgb(cr, 0xD63A22);
  cairo_fill(cr);
  return c.Finish(true, kSeaMid);
}

}  // namespace assetgen::gameart
