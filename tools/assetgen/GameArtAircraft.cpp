// Aircraft seen from above (the bomber and helicopter nose down, the supply plane nose up) and the
// gun emplacement that stands on an island.
#include <cmath>

#include "GameArtKit.h"
#include "GameArtShipKit.h"

namespace assetgen::gameart {

namespace {

constexpr uint32_t kOlive = 0x56604A;
constexpr uint32_t kSand = 0xCBBE95;

// A propeller seen from above at a slant: a grey blur with three blades at `turn`.
void Propeller(cairo_t* cr, double x, double y, double rx, double ry, double turn) {
  Ellipse(cr, x, y, rx, ry);
  SetRgb(cr, 0x9AA4AA, 0.58);
  cairo_fill(cr);
  cairo_set_line_width(cr, 1.3);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = 0; i < 3; ++i) {
    const double a = turn + i * 2 * M_PI / 3;
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + rx * 0.95 * std::cos(a), y + ry * 0.95 * std::sin(a));
  }
  SetRgb(cr, 0x1E2226);
  cairo_stroke(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  Circle(cr, x, y, 1.1);
  SetRgb(cr, 0xC8CED2);
  cairo_fill(cr);
}

// A body or wing filled with a light-from-the-left gradient and a thin dark outline.
void Skin(cairo_t* cr, double x0, double x1, uint32_t colour) {
  cairo_pattern_t* g = cairo_pattern_create_linear(x0, 0, x1, 0);
  AddStop(g, 0, Scale(colour, 1.25));
  AddStop(g, 0.45, colour);
  AddStop(g, 1, Scale(colour, 0.7));
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  SetRgb(cr, 0x1A1E22, 0.8);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
}

}  // namespace

void IslandGun(cairo_t* cr) {
  // Sandbags around the gun pit, a concrete bunker with a firing slit facing down, and the ring
  // the turning gun stands on (its pivot lands at (12, 7) or (9, 10)).
  RoundedRect(cr, 3, 12, 17, 14, 3);
  SetRgb(cr, 0x0C1014, 0.4);
  cairo_fill(cr);
  RoundedRect(cr, 2.5, 11, 17.5, 14.5, 3);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 11, 0, 26);
  AddStop(g, 0, 0xB8BAB2);
  AddStop(g, 1, 0x6E706A);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_rectangle(cr, 5, 21.5, 12.5, 1.8);
  SetRgb(cr, 0x16191C);
  cairo_fill(cr);
  for (int i = 0; i < 10; ++i) {
    const double a = M_PI * 0.9 + i * M_PI * 1.2 / 9;
    const double x = 11 + 7.6 * std::cos(a), y = 9 + 6.0 * std::sin(a);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, a + M_PI / 2);
    Ellipse(cr, 0, 0, 2.0, 1.3);
    cairo_restore(cr);
    SetRgb(cr, 0xB49A66);
    cairo_fill_preserve(cr);
    SetRgb(cr, 0x6E5A36);
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
  }
  MountRing(cr, 11, 9, 6.2);
}

void Bomber(cairo_t* cr, double top, int frame) {
  cairo_save(cr);
  cairo_rectangle(cr, 0, top, 47, 56);
  cairo_clip(cr);
  cairo_translate(cr, 0, top);
  const double cx = 23.5;
  // Wings (leading edge towards the nose, at the bottom).
  cairo_move_to(cr, cx - 4, 21);
  cairo_line_to(cr, 2, 25);
  cairo_curve_to(cr, 1, 27, 1, 30, 2.5, 31);
  cairo_line_to(cr, cx - 4, 35);
  cairo_line_to(cr, cx + 4, 35);
  cairo_line_to(cr, 44.5, 31);
  cairo_curve_to(cr, 46, 30, 46, 27, 45, 25);
  cairo_line_to(cr, cx + 4, 21);
  cairo_close_path(cr);
  Skin(cr, 0, 47, kOlive);
  // Red tips: the enemy's colour.
  for (double x : {4.5, 42.5}) {
    cairo_rectangle(cr, x - 2, 25.2, 4, 5.6);
    SetRgb(cr, 0xA82A1E);
    cairo_fill(cr);
  }
  // Tailplane and fin.
  cairo_move_to(cr, cx - 2, 3);
  cairo_line_to(cr, cx - 11, 5);
  cairo_line_to(cr, cx - 11, 9);
  cairo_line_to(cr, cx - 2, 11);
  cairo_line_to(cr, cx + 2, 11);
  cairo_line_to(cr, cx + 11, 9);
  cairo_line_to(cr, cx + 11, 5);
  cairo_line_to(cr, cx + 2, 3);
  cairo_close_path(cr);
  Skin(cr, cx - 11, cx + 11, kOlive);
  // Engines with their nacelles reaching forward.
  for (double ex : {11.5, 35.5}) {
    RoundedRect(cr, ex - 3, 20, 6, 21, 3);
    Skin(cr, ex - 3, ex + 3, Scale(kOlive, 0.9));
    cairo_rectangle(cr, ex - 2.5, 22, 5, 2);
    SetRgb(cr, 0x2A2E30);
    cairo_fill(cr);
  }
  // Fuselage from the tail (top) to the glazed nose (bottom).
  cairo_move_to(cr, cx, 1.5);
  cairo_curve_to(cr, cx + 3, 3, cx + 4.5, 15, cx + 4.5, 30);
  cairo_curve_to(cr, cx + 4.5, 44, cx + 3.5, 53, cx, 54);
  cairo_curve_to(cr, cx - 3.5, 53, cx - 4.5, 44, cx - 4.5, 30);
  cairo_curve_to(cr, cx - 4.5, 15, cx - 3, 3, cx, 1.5);
  cairo_close_path(cr);
  Skin(cr, cx - 4.5, cx + 4.5, Scale(kOlive, 1.05));
  Ellipse(cr, cx, 49.5, 2.6, 3.6);
  SetRgb(cr, 0x8FC4E0);
  cairo_fill(cr);
  Ellipse(cr, cx, 39.5, 2.8, 3);
  SetRgb(cr, 0x6AA4C8);
  cairo_fill(cr);
  Circle(cr, cx, 16, 2);
  SetRgb(cr, 0x7AB0D0);
  cairo_fill(cr);
  // Propellers ahead of the engines, a third of their turn further each frame.
  for (double ex : {11.5, 35.5}) Propeller(cr, ex, 43.5, 8.5, 2.6, frame * M_PI / 6 + (ex > cx ? 0.6 : 0));
  cairo_restore(cr);
}

void Helicopter(cairo_t* cr) {
  const double cx = 25;
  // The rotor's blur, under the body so the body still reads through it.
  Circle(cr, cx, 32, 21.5);
  SetRgb(cr, 0x8C9CA8, 0.54);
  cairo_fill(cr);
  // Tail boom up to the tail rotor, stabiliser.
  cairo_rectangle(cr, cx - 1.5, 5, 3, 26);
  Skin(cr, cx - 1.5, cx + 1.5, kOlive);
  cairo_rectangle(cr, cx - 6, 10, 12, 2.6);
  Skin(cr, cx - 6, cx + 6, kOlive);
  cairo_rectangle(cr, cx - 1.5, 3.5, 3, 2.5);
  SetRgb(cr, 0xA82A1E);
  cairo_fill(cr);
  Ellipse(cr, cx + 3.5, 6, 1.3, 3.8);
  SetRgb(cr, 0xA0AAB0, 0.6);
  cairo_fill(cr);
  // Skids.
  cairo_set_line_width(cr, 1.3);
  for (double dx : {-9.0, 9.0}) {
    cairo_move_to(cr, cx + dx, 26);
    cairo_line_to(cr, cx + dx, 47);
  }
  SetRgb(cr, 0x2A2E30);
  cairo_stroke(cr);
  // Cabin with its glazed nose.
  cairo_move_to(cr, cx, 21);
  cairo_curve_to(cr, cx + 6, 21, cx + 7.5, 30, cx + 7.5, 38);
  cairo_curve_to(cr, cx + 7.5, 46, cx + 4, 51, cx, 51);
  cairo_curve_to(cr, cx - 4, 51, cx - 7.5, 46, cx - 7.5, 38);
  cairo_curve_to(cr, cx - 7.5, 30, cx - 6, 21, cx, 21);
  cairo_close_path(cr);
  Skin(cr, cx - 7.5, cx + 7.5, kOlive);
  cairo_move_to(cr, cx - 6, 41);
  cairo_curve_to(cr, cx - 5.5, 47, cx - 3, 49.5, cx, 49.5);
  cairo_curve_to(cr, cx + 3, 49.5, cx + 5.5, 47, cx + 6, 41);
  cairo_close_path(cr);
  cairo_pattern_t* glass = cairo_pattern_create_linear(0, 41, 0, 50);
  AddStop(glass, 0, 0x4A86B0);
  AddStop(glass, 1, 0xB4E0F4);
  cairo_set_source(cr, glass);
  cairo_fill(cr);
  cairo_pattern_destroy(glass);
  // Rocket pods on stub wings.
  for (double dx : {-10.5, 10.5}) {
    RoundedRect(cr, cx + dx - 1.6, 31, 3.2, 10, 1.4);
    SetRgb(cr, 0x3A3F42);
    cairo_fill(cr);
  }
  // Main rotor: two blades over the blur drawn first.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (double a : {0.45, 0.45 + M_PI / 2}) {
    cairo_move_to(cr, cx - 21 * std::cos(a), 32 - 21 * std::sin(a));
    cairo_line_to(cr, cx + 21 * std::cos(a), 32 + 21 * std::sin(a));
  }
  SetRgb(cr, 0x1C2024);
  cairo_set_line_width(cr, 1.7);
  cairo_stroke(cr);
  for (double a : {0.25, 0.25 + M_PI / 2}) {
    cairo_move_to(cr, cx - 20 * std::cos(a), 32 - 20 * std::sin(a));
    cairo_line_to(cr, cx + 20 * std::cos(a), 32 + 20 * std::sin(a));
  }
  SetRgb(cr, 0x40484E, 0.5);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  Circle(cr, cx, 32, 2.2);
  SetRgb(cr, 0x2A2E30);
  cairo_fill(cr);
}

void SupplyPlane(cairo_t* cr) {
  const double cx = 36.5;
  // High wing with orange tips.
  RoundedRect(cr, 1.5, 24, 70, 11, 5);
  Skin(cr, 1.5, 71.5, kSand);
  for (double x : {2.0, 63.0}) {
    RoundedRect(cr, x, 24.5, 8, 10, 4);
    SetRgb(cr, kOrange);
    cairo_fill(cr);
  }
  // Tailplane.
  RoundedRect(cr, cx - 15, 58, 30, 7, 3);
  Skin(cr, cx - 15, cx + 15, kSand);
  for (double x : {cx - 15, cx + 10}) {
    RoundedRect(cr, x, 58.5, 5, 6, 2.5);
    SetRgb(cr, kOrange);
    cairo_fill(cr);
  }
  // Engines reaching forward of the wing.
  for (double ex : {19.0, 54.0}) {
    RoundedRect(cr, ex - 3.5, 16, 7, 22, 3.5);
    Skin(cr, ex - 3.5, ex + 3.5, Scale(kSand, 0.9));
  }
  // Fuselage, nose up.
  cairo_move_to(cr, cx, 2);
  cairo_curve_to(cr, cx + 5, 2, cx + 6.5, 7, cx + 6.5, 14);
  cairo_line_to(cr, cx + 6.5, 50);
  cairo_curve_to(cr, cx + 6.5, 60, cx + 3, 69, cx, 70);
  cairo_curve_to(cr, cx - 3, 69, cx - 6.5, 60, cx - 6.5, 50);
  cairo_line_to(cr, cx - 6.5, 14);
  cairo_curve_to(cr, cx - 6.5, 7, cx - 5, 2, cx, 2);
  cairo_close_path(cr);
  Skin(cr, cx - 6.5, cx + 6.5, Scale(kSand, 1.05));
  // Cockpit glazing and the supply cross.
  cairo_move_to(cr, cx - 4.5, 9);
  cairo_curve_to(cr, cx - 3, 5, cx + 3, 5, cx + 4.5, 9);
  cairo_line_to(cr, cx + 4.5, 11);
  cairo_line_to(cr, cx - 4.5, 11);
  cairo_close_path(cr);
  SetRgb(cr, 0x5A9AC4);
  cairo_fill(cr);
  RoundedRect(cr, cx - 5, 40, 10, 10, 1.5);
  SetRgb(cr, 0xF6F2E6);
  cairo_fill(cr);
  cairo_rectangle(cr, cx - 1.3, 41.5, 2.6, 7);
  cairo_rectangle(cr, cx - 3.5, 43.7, 7, 2.6);
  SetRgb(cr, kOrange);
  cairo_fill(cr);
  for (double ex : {19.0, 54.0}) Propeller(cr, ex, 14.5, 9, 2.6, ex > cx ? 0.4 : 1.1);
}

}  // namespace assetgen::gameart
