// The program's icon: the player's warship steaming up a sea-blue badge in a steel rim, its guns
// trained abeam and the forward one firing. One drawing serves every size: it is laid out on a
// 240-unit badge that each size scales to its pixels, and it paints only the detail those pixels
// can carry; from 16 to 24 pixels the ship is redrawn on the pixel grid (TinyShip).
#include "AppIcon.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "GameArtKit.h"
#include "GameArtShipKit.h"
#include "PackWriter.h"

namespace assetgen {
namespace {

using gameart::AddStop;
using gameart::Circle;
using gameart::Ellipse;
using gameart::kOrange;
using gameart::RoundedRect;
using gameart::Scale;
using gameart::SetRgb;

constexpr double kBadge = 240;         // the badge's side in drawing units
constexpr double kCorner = 44;         // the badge's corner radius
constexpr int kVectorSize = 256;       // the SVG's nominal size, drawn with the most detail
constexpr double kAim = -M_PI / 2;     // the guns' bearing from the bow: abeam to port
constexpr double kHeading = M_PI / 4;  // the ship's course: up the badge's diagonal
constexpr uint32_t kInk = 0x0A141C;    // outlines

enum class Detail { Tiny, Small, Medium, Full };  // 16-24 px, 32 px, 48-64 px, 128 px and up

struct Plan {
  double Margin = 0;  // transparent pixels around the badge
  double Unit = 0;    // pixels per drawing unit
  double Rim = 0;     // the steel rim's width in units: whole pixels, so its inner edge is crisp
  Detail Level = Detail::Full;

  double Px(double pixels) const { return pixels / Unit; }
  bool AtLeast(Detail d) const { return Level >= d; }
};

Plan PlanFor(int size) {
  Plan p;
  p.Margin = std::max(1.0, std::round(size / 32.0));
  p.Unit = (size - 2 * p.Margin) / kBadge;
  p.Rim = std::max(1.0, std::round(14 * p.Unit)) / p.Unit;
  p.Level = size <= 24 ? Detail::Tiny : size <= 32 ? Detail::Small : size <= 64 ? Detail::Medium : Detail::Full;
  return p;
}

void FieldPath(cairo_t* cr, const Plan& p) {
  RoundedRect(cr, p.Rim, p.Rim, kBadge - 2 * p.Rim, kBadge - 2 * p.Rim, kCorner - 0.7 * p.Rim);
}

// A linear gradient along local y with the given stops of one colour's alpha.
cairo_pattern_t* FadeAlongY(double y0, double y1, uint32_t rgb, double a0, double a1) {
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y0, 0, y1);
  AddStop(g, 0, rgb, a0);
  AddStop(g, 1, rgb, a1);
  return g;
}

void StrokeWith(cairo_t* cr, cairo_pattern_t* g, double width) {
  cairo_set_source(cr, g);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
  cairo_pattern_destroy(g);
}

// The sea fills the whole badge; the rim drawn over its edge later frames it.
void Sea(cairo_t* cr) {
  RoundedRect(cr, 0, 0, kBadge, kBadge, kCorner);
  cairo_pattern_t* sea = cairo_pattern_create_linear(0, 0, kBadge, kBadge);
  AddStop(sea, 0, 0x15679C);
  AddStop(sea, 0.45, 0x0D4A73);
  AddStop(sea, 1, 0x06203A);
  cairo_set_source(cr, sea);
  cairo_fill(cr);
  cairo_pattern_destroy(sea);
}

// The steel rim, drawn last over the sea's edge so the wake runs out under it. Nothing needs a
// clip that way, which keeps the SVG plain for renderers that ignore clip paths.
void Rim(cairo_t* cr, const Plan& p) {
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  RoundedRect(cr, 0, 0, kBadge, kBadge, kCorner);
  FieldPath(cr, p);
  cairo_pattern_t* steel = cairo_pattern_create_linear(0, 0, kBadge, kBadge);
  AddStop(steel, 0, 0xE4EAEE);
  AddStop(steel, 0.5, 0x9AA6AF);
  AddStop(steel, 1, 0x4A565F);
  cairo_set_source(cr, steel);
  cairo_fill(cr);
  cairo_pattern_destroy(steel);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  if (!p.AtLeast(Detail::Medium)) return;
  // A dark outer edge keeps the light rim apart from light backgrounds.
  const double edge = std::max(p.Px(1), 2.5);
  RoundedRect(cr, edge / 2, edge / 2, kBadge - edge, kBadge - edge, kCorner - edge / 2);
  SetRgb(cr, 0x1E2830);
  cairo_set_line_width(cr, edge);
  cairo_stroke(cr);
  // The sea sits under the rim: a shadow inside its upper and left edges.
  const double shade = std::max(p.Px(2), 5.0), in = p.Rim + shade / 2;
  RoundedRect(cr, in, in, kBadge - 2 * in, kBadge - 2 * in, kCorner - 0.7 * p.Rim - shade / 2);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, kBadge, kBadge);
  AddStop(g, 0, 0x020A18, 0.8);
  AddStop(g, 0.6, 0x020A18, 0.15);
  cairo_set_source(cr, g);
  cairo_set_line_width(cr, shade);
  cairo_stroke(cr);
  cairo_pattern_destroy(g);
}

// Wave crests in the open water on either side of the ship's track.
void Waves(cairo_t* cr, const Plan& p) {
  struct Crest {
    double X, Y, Len;
  };
  static constexpr Crest kCrests[] = {{150, 196, 34}, {186, 160, 30}, {112, 214, 22},
                                      {200, 206, 20}, {40, 120, 24},  {62, 150, 18}};
  const int count = p.AtLeast(Detail::Full) ? 6 : 3;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = 0; i < count; ++i) {
    const Crest& c = kCrests[i];
    cairo_move_to(cr, c.X - c.Len / 2, c.Y);
    cairo_curve_to(cr, c.X - c.Len / 4, c.Y - c.Len * 0.22, c.X, c.Y - c.Len * 0.22, c.X + c.Len / 4, c.Y);
    cairo_curve_to(cr, c.X + c.Len * 0.35, c.Y + c.Len * 0.1, c.X + c.Len * 0.42, c.Y + c.Len * 0.08, c.X + c.Len / 2,
                   c.Y + c.Len * 0.02);
    SetRgb(cr, 0x9CC3DE, 0.45);
    cairo_set_line_width(cr, std::max(p.Px(1), 3.0));
    cairo_stroke(cr);
  }
}

struct Ship {
  double Length;
  double Half;  // half the beam
  double At(double fromBow) const { return -Length / 2 + Length * fromBow; }
};

Ship ShipFor(const Plan& p) {
  // Wider than the game's sprite at 32 pixels, so the deck keeps a few light pixels.
  return p.AtLeast(Detail::Medium) ? Ship{194, 29} : Ship{200, 33};
}

// The hull's outline `inset` units inside the sides. The large sizes use the game's hull; 32
// pixels a straight-sided hull with a sharper bow, since the game's long curved bow blurs into a
// rounded bar at a few pixels and the ship stops reading as one.
void HullPath(cairo_t* cr, const Plan& p, const Ship& s, double inset) {
  const double stern = s.Length / 2 - inset, bow = -s.Length / 2 + inset * 1.8, h = s.Half - inset;
  if (p.AtLeast(Detail::Medium)) {
    gameart::HullPath(cr, 0, stern, bow, h);
    return;
  }
  const double shoulder = bow + s.Length * 0.3, mid = (shoulder + bow) / 2, tip = bow + (shoulder - bow) * 0.12;
  cairo_new_path(cr);
  cairo_move_to(cr, -h * 0.8, stern);
  cairo_line_to(cr, -h, stern - s.Length * 0.06);
  cairo_line_to(cr, -h, shoulder);
  cairo_curve_to(cr, -h, mid, -h * 0.4, tip, 0, bow);
  cairo_curve_to(cr, h * 0.4, tip, h, mid, h, shoulder);
  cairo_line_to(cr, h, stern - s.Length * 0.06);
  cairo_line_to(cr, h * 0.8, stern);
  cairo_close_path(cr);
}

// Foam trailing `len` units behind the stern and peeling off the bow, in the ship's frame (bow
// towards -y). The arms of the wake end `len` astern and 0.3 `len` abeam of the stern.
void Wake(cairo_t* cr, const Plan& p, const Ship& s, double len) {
  const double stern = s.Length / 2;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (const double side : {-1.0, 1.0}) {
    cairo_move_to(cr, side * s.Half * 0.7, stern - 6);
    cairo_curve_to(cr, side * s.Half, stern + len * 0.3, side * (s.Half + len * 0.15), stern + len * 0.65,
                   side * (s.Half + len * 0.3), stern + len);
    StrokeWith(cr, FadeAlongY(stern, stern + len, 0xE9F5FA, 1, 0.3), std::max(p.Px(1.3), 7.0));
  }
  // Churned water straight behind the screws.
  cairo_move_to(cr, 0, stern);
  cairo_line_to(cr, 0, stern + len);
  StrokeWith(cr, FadeAlongY(stern, stern + len, 0xE9F5FA, 0.8, 0), s.Half * 0.8);
  if (p.AtLeast(Detail::Full)) {
    gameart::Rng rng(7);
    for (int i = 0; i < 40; ++i) {
      const double k = rng.Next(), side = rng.Next() < 0.5 ? -1 : 1;
      const double y = stern + k * len;
      const double x = side * (s.Half * 0.7 + k * len * 0.3) + rng.Range(-4, 4);
      Circle(cr, x, y, rng.Range(1.5, 3.5) * (1.1 - 0.5 * k));
      SetRgb(cr, 0xE9F5FA, 0.85 - 0.6 * k);
      cairo_fill(cr);
    }
  }
  // The bow wave peeling off both sides.
  const double bow = -s.Length / 2, reach = s.Length * (p.AtLeast(Detail::Medium) ? 0.38 : 0.5);
  for (const double side : {-1.0, 1.0}) {
    cairo_move_to(cr, 0, bow - 3);
    cairo_curve_to(cr, side * s.Half * 0.9, bow + 10, side * (s.Half + 6), bow + reach * 0.5,
                   side * (s.Half + reach * 0.3), bow + reach);
    StrokeWith(cr, FadeAlongY(bow, bow + reach, 0xE9F5FA, 0.95, 0), std::max(p.Px(1.1), 5.0));
  }
}

void Hull(cairo_t* cr, const Plan& p, const Ship& s) {
  HullPath(cr, p, s, 0);
  // Stroked under the fill, so half the line shows outside the hull.
  SetRgb(cr, kInk);
  cairo_set_line_width(cr, std::max(p.Px(1.5), 5.0));
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  SetRgb(cr, 0x3A4650);
  cairo_fill(cr);
  // The deck, inset from the sides.
  const double inset = std::max(p.Px(0.9), s.Half * 0.14);
  HullPath(cr, p, s, inset);
  cairo_pattern_t* deck = cairo_pattern_create_linear(-s.Half, 0, s.Half, 0);
  AddStop(deck, 0, Scale(0xB8C8D4, 0.9));
  AddStop(deck, 0.4, Scale(0xB8C8D4, 1.1));
  AddStop(deck, 1, Scale(0xB8C8D4, 0.84));
  cairo_set_source(cr, deck);
  cairo_fill(cr);
  cairo_pattern_destroy(deck);
  // The player's colours: an orange chevron at the bow and a band across the stern.
  const double cy = s.At(0.06), w = s.Half * 0.55, t = std::max(p.Px(1.2), s.Half * 0.18);
  cairo_move_to(cr, -w, cy + w * 0.6);
  cairo_line_to(cr, 0, cy);
  cairo_line_to(cr, w, cy + w * 0.6);
  cairo_line_to(cr, w, cy + w * 0.6 + t);
  cairo_line_to(cr, 0, cy + t);
  cairo_line_to(cr, -w, cy + w * 0.6 + t);
  cairo_close_path(cr);
  SetRgb(cr, kOrange);
  cairo_fill(cr);
  if (p.AtLeast(Detail::Medium)) {
    cairo_rectangle(cr, -s.Half * 0.78, s.At(0.94), s.Half * 1.56, t * 0.8);
    SetRgb(cr, kOrange);
    cairo_fill(cr);
  }
}

void Superstructure(cairo_t* cr, const Plan& p, const Ship& s) {
  const uint32_t house = 0xD2DCE3;
  if (p.AtLeast(Detail::Medium)) {
    // The bridge, its windows facing the bow, the radar on its roof.
    const double w = s.Half * 1.3, top = s.At(0.32), h = s.Length * 0.12;
    RoundedRect(cr, -w / 2 + 2, top + 4, w, h, 6);
    SetRgb(cr, 0x0C1014, 0.45);
    cairo_fill(cr);
    RoundedRect(cr, -w / 2, top, w, h, 6);
    cairo_pattern_t* g = cairo_pattern_create_linear(-w / 2, 0, w / 2, 0);
    AddStop(g, 0, Scale(house, 1.1));
    AddStop(g, 1, Scale(house, 0.76));
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetRgb(cr, kInk, 0.8);
    cairo_set_line_width(cr, std::max(p.Px(0.8), 1.5));
    cairo_stroke(cr);
    RoundedRect(cr, -w / 2 + 3, top + 3, w - 6, std::max(p.Px(1.2), 5.0), 2);
    SetRgb(cr, 0x1E3A52);
    cairo_fill(cr);
    if (p.AtLeast(Detail::Full)) {
      Ellipse(cr, 0, top + h * 0.62, w * 0.28, 3);
      SetRgb(cr, 0x2A3036);
      cairo_fill(cr);
    }
  }
  // The funnel in the player's orange; its smoky mouth where there are pixels for it.
  const double fy = s.At(0.66);
  if (p.AtLeast(Detail::Full)) {
    for (const double side : {-1.0, 1.0}) {  // lifeboats
      Ellipse(cr, side * s.Half * 0.68, fy, 3.4, 11);
      SetRgb(cr, 0xEEF2F4);
      cairo_fill_preserve(cr);
      SetRgb(cr, kInk, 0.6);
      cairo_set_line_width(cr, 1.2);
      cairo_stroke(cr);
    }
  }
  const double rx = s.Half * 0.44, ry = rx * 1.3;
  Ellipse(cr, 2, fy + 3, rx, ry);
  SetRgb(cr, 0x0C1014, 0.45);
  cairo_fill(cr);
  Ellipse(cr, 0, fy, rx, ry);
  SetRgb(cr, kOrange);
  cairo_fill_preserve(cr);
  SetRgb(cr, kInk, 0.8);
  cairo_set_line_width(cr, std::max(p.Px(0.8), 1.5));
  cairo_stroke(cr);
  if (p.AtLeast(Detail::Full)) {
    Ellipse(cr, 0, fy, rx * 0.55, ry * 0.55);
    SetRgb(cr, 0x1A1D20);
    cairo_fill(cr);
  }
}

// A gun on its mount ring at (0, y) of the ship, trained to kAim; the forward gun may be firing.
void Gun(cairo_t* cr, const Plan& p, double y, double r, bool firing) {
  cairo_save(cr);
  cairo_translate(cr, 0, y);
  Circle(cr, 0, 0, r * 1.2);
  SetRgb(cr, 0x2F373D);
  cairo_fill(cr);
  cairo_rotate(cr, kAim);
  const double len = r * 2.6, bw = std::max(p.Px(1), r * 0.34);
  for (const double x : {-r * 0.35, r * 0.35}) {
    cairo_rectangle(cr, x - bw / 2, -len, bw, len);
    cairo_pattern_t* g = cairo_pattern_create_linear(x - bw / 2, 0, x + bw / 2, 0);
    AddStop(g, 0, 0x5A656E);
    AddStop(g, 0.4, 0xE2EAF0);
    AddStop(g, 1, 0x4A545C);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetRgb(cr, kInk);
    cairo_set_line_width(cr, std::max(p.Px(0.7), 1.6));
    cairo_stroke(cr);
  }
  // The gun house: a rounded front and a flat back, lit from the upper left.
  cairo_new_path(cr);
  cairo_arc(cr, 0, -r * 0.1, r, M_PI, 2 * M_PI);
  cairo_line_to(cr, r, r * 0.55);
  cairo_curve_to(cr, r, r * 0.95, -r, r * 0.95, -r, r * 0.55);
  cairo_close_path(cr);
  cairo_pattern_t* house = cairo_pattern_create_radial(-r * 0.4, -r * 0.4, r * 0.1, 0, 0, r * 1.2);
  AddStop(house, 0, 0xC8D3DB);
  AddStop(house, 0.5, 0x7D8B96);
  AddStop(house, 1, 0x46525B);
  cairo_set_source(cr, house);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(house);
  SetRgb(cr, kInk);
  cairo_set_line_width(cr, std::max(p.Px(1), 2.2));
  cairo_stroke(cr);
  if (p.AtLeast(Detail::Full)) {
    Circle(cr, r * 0.3, r * 0.3, r * 0.24);  // the commander's hatch
    SetRgb(cr, 0x3A444C);
    cairo_fill(cr);
  }
  if (firing) {
    // The muzzle flash: a white-hot core in an orange star.
    const double fy = -len - r * 0.9, big = r * 1.35;
    cairo_new_path(cr);
    for (int i = 0; i < 14; ++i) {
      const double a = -M_PI / 2 + i * M_PI / 7, rr = i % 2 ? big * 0.45 : big * (i % 4 ? 0.8 : 1.15);
      cairo_line_to(cr, rr * std::cos(a), fy + rr * std::sin(a));
    }
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_radial(0, fy, 0, 0, fy, big * 1.15);
    AddStop(g, 0, 0xFFFFFF);
    AddStop(g, 0.3, 0xFFE6A0);
    AddStop(g, 0.65, kOrange);
    AddStop(g, 1, 0xE04A10, 0.9);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
  }
  cairo_restore(cr);
}

// From 16 to 24 pixels the ship sails bow up with its sides, stern, funnel and guns on the pixel
// grid: turned on the diagonal it smears into a rounded bar there. What is left to tell a ship is
// its pointed light hull, the V of its bow wave, the orange funnel and the dark guns. Drawn in the
// badge's pixels.
void TinyShip(cairo_t* cr, const Plan& p) {
  cairo_save(cr);
  cairo_scale(cr, 1 / p.Unit, 1 / p.Unit);
  const double w = std::round(kBadge * p.Unit), rim = std::round(p.Rim * p.Unit), sea = w - rim;
  const double cx = w / 2, half = 3;
  const double bow = rim + 0.3, stern = sea - (w < 20 ? 2 : 3), len = stern - bow;
  const double shoulder = std::round(bow + len * 0.45);
  // The bow wave, and churned water astern. At 16 pixels it starts abreast the shoulders: drawn
  // from the bow it would only widen the hull.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (const double side : {-1.0, 1.0}) {
    if (w < 20) {
      cairo_move_to(cr, cx + side * (half + 0.5), shoulder - 1);
      cairo_line_to(cr, cx + side * (half + 2), sea);
    } else {
      cairo_move_to(cr, cx + side * 0.5, bow + 1);
      cairo_curve_to(cr, cx + side * (half + 0.5), bow + len * 0.35, cx + side * (half + 1.5), bow + len * 0.6,
                     cx + side * (half + 3), sea);
    }
    StrokeWith(cr, FadeAlongY(bow, sea, 0xFFFFFF, 0.95, 0.3), 1);
  }
  cairo_rectangle(cr, cx - 1, stern, 2, sea - stern);
  cairo_pattern_t* churn = FadeAlongY(stern, sea, 0xFFFFFF, 0.85, 0.2);
  cairo_set_source(cr, churn);
  cairo_fill(cr);
  cairo_pattern_destroy(churn);
  cairo_new_path(cr);
  cairo_move_to(cr, cx - half, stern);
  cairo_line_to(cr, cx - half, shoulder);
  cairo_curve_to(cr, cx - half, (shoulder + bow) / 2, cx - half * 0.2, bow + 0.5, cx, bow);
  cairo_curve_to(cr, cx + half * 0.2, bow + 0.5, cx + half, (shoulder + bow) / 2, cx + half, shoulder);
  cairo_line_to(cr, cx + half, stern);
  cairo_close_path(cr);
  cairo_pattern_t* deck = cairo_pattern_create_linear(cx - half, 0, cx + half, 0);
  AddStop(deck, 0, 0xE2EAF0);
  AddStop(deck, 1, 0x8C9CA8);
  cairo_set_source(cr, deck);
  cairo_fill(cr);
  cairo_pattern_destroy(deck);
  // The forward gun, the orange funnel and the aft gun.
  cairo_rectangle(cr, cx - 1, shoulder - 1, 2, 1);
  SetRgb(cr, 0x26303A);
  cairo_fill(cr);
  cairo_rectangle(cr, cx - 1, shoulder + 1, 2, 2);
  SetRgb(cr, kOrange);
  cairo_fill(cr);
  cairo_rectangle(cr, cx - 1, stern - 2, 2, 1);
  SetRgb(cr, 0x26303A);
  cairo_fill(cr);
  cairo_restore(cr);
}

// From 32 pixels up the ship runs up the badge's diagonal, bow to the upper right and wake into
// the lower left.
void DiagonalShip(cairo_t* cr, const Plan& p) {
  const Ship s = ShipFor(p);
  // Moved up its track from the centre to give the wake room: it runs out under the rim but must
  // end, half its stroke included, inside the badge. Its arms end (half + length / 2 + 1.3 wake)
  // / sqrt 2 left of and below the ship's centre.
  const double along = 8, cx = kBadge / 2 + along * std::sqrt(0.5), cy = kBadge / 2 - along * std::sqrt(0.5);
  const double wake = ((kBadge / 2 - 4.5) / std::sqrt(0.5) + along - s.Half - s.Length / 2) / 1.3;
  // Its shadow on the water falls down and to the right.
  cairo_save(cr);
  cairo_translate(cr, cx + 4, cy + 7);
  cairo_rotate(cr, kHeading);
  HullPath(cr, p, s, 0);
  SetRgb(cr, 0x020A18, 0.45);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, kHeading);
  Wake(cr, p, s, wake);
  Hull(cr, p, s);
  Superstructure(cr, p, s);
  if (p.AtLeast(Detail::Medium)) {
    Gun(cr, p, s.At(0.84), s.Half * 0.5, false);
    Gun(cr, p, s.At(0.52), s.Half * 0.42, false);
    Gun(cr, p, s.At(0.25), s.Half * 0.54, true);
  } else {
    Gun(cr, p, s.At(0.86), s.Half * 0.44, false);
    Gun(cr, p, s.At(0.26), s.Half * 0.5, true);
  }
  cairo_restore(cr);
}

void Rivets(cairo_t* cr, const Plan& p) {
  const double mid = p.Rim / 2, corner = kCorner - (kCorner - mid) * std::sqrt(0.5);
  const double spots[8][2] = {
      {corner, corner},  {kBadge - corner, corner},  {corner, kBadge - corner}, {kBadge - corner, kBadge - corner},
      {kBadge / 2, mid}, {kBadge / 2, kBadge - mid}, {mid, kBadge / 2},         {kBadge - mid, kBadge / 2}};
  for (const auto& s : spots) gameart::Rivet(cr, s[0], s[1], p.Rim * 0.26);
}

void DrawIcon(cairo_t* cr, const Plan& p) {
  cairo_save(cr);
  cairo_translate(cr, p.Margin, p.Margin);
  cairo_scale(cr, p.Unit, p.Unit);
  Sea(cr);
  if (p.AtLeast(Detail::Medium)) Waves(cr, p);
  if (p.Level == Detail::Tiny) {
    TinyShip(cr, p);
  } else {
    DiagonalShip(cr, p);
  }
  Rim(cr, p);
  if (p.AtLeast(Detail::Full)) Rivets(cr, p);
  cairo_restore(cr);
}

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// An icon-file bitmap: the header with the height doubled for the mask, straight-alpha BGRA rows
// bottom-up, then the one-bit transparency mask that pre-alpha readers use.
std::vector<uint8_t> IcoBitmap(const gameart::Canvas& c) {
  const int size = c.Width();
  const auto n = static_cast<uint32_t>(size);
  const uint32_t maskRow = (n + 31) / 32 * 4;
  std::vector<uint8_t> out;
  Put32(out, 40);
  Put32(out, n);
  Put32(out, 2 * n);
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);
  Put32(out, n * n * 4 + maskRow * n);
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  c.Flush();
  for (int y = size - 1; y >= 0; --y) {
    const uint32_t* row = c.Row(y);
    for (int x = 0; x < size; ++x) {
      const uint32_t px = row[x], a = px >> 24;
      for (const int shift : {0, 8, 16}) {  // Cairo's pixels are premultiplied
        const uint32_t ch = (px >> shift) & 0xFF;
        out.push_back(static_cast<uint8_t>(a ? std::min(255u, (ch * 255 + a / 2) / a) : 0));
      }
      out.push_back(static_cast<uint8_t>(a));
    }
  }
  for (int y = size - 1; y >= 0; --y) {
    const uint32_t* row = c.Row(y);
    std::vector<uint8_t> bits(maskRow, 0);
    for (int x = 0; x < size; ++x) {
      if ((row[x] >> 24) == 0) bits[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), bits.begin(), bits.end());
  }
  return out;
}

std::vector<uint8_t> Png(const gameart::Canvas& c) {
  std::vector<uint8_t> out;
  if (cairo_surface_write_to_png_stream(c.Surface(), Append, &out) != CAIRO_STATUS_SUCCESS) {
    throw std::runtime_error("cannot encode the icon as PNG");
  }
  return out;
}

}  // namespace

std::vector<uint8_t> AppIconPng(int size) {
  gameart::Canvas c(size, size);
  DrawIcon(c.Cr(), PlanFor(size));
  return Png(c);
}

std::vector<uint8_t> AppIconSvg() {
  std::vector<uint8_t> out;
  cairo_surface_t* surface = cairo_svg_surface_create_for_stream(Append, &out, kVectorSize, kVectorSize);
  cairo_svg_surface_restrict_to_version(surface, CAIRO_SVG_VERSION_1_1);
  cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
  cairo_t* cr = cairo_create(surface);
  DrawIcon(cr, PlanFor(kVectorSize));
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const cairo_status_t status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot write the icon as SVG");
  // Cairo names its groups after a count of every surface the process has made, so the same icon
  // would come out differently after other drawings: number them by their order in the document.
  const std::string text(out.begin(), out.end());
  std::string renamed;
  std::vector<std::string> names;
  size_t done = 0;
  for (size_t at = text.find("surface"); at != std::string::npos; at = text.find("surface", done)) {
    size_t end = at + 7;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
    renamed.append(text, done, at - done);
    const std::string name = text.substr(at, end - at);
    const auto known = std::find(names.begin(), names.end(), name);
    renamed += "layer" + std::to_string(known - names.begin());
    if (known == names.end()) names.push_back(name);
    done = end;
  }
  renamed.append(text, done);
  return std::vector<uint8_t>(renamed.begin(), renamed.end());
}

std::vector<uint8_t> AppIconIco(const std::vector<int>& sizes) {
  // Bitmap entries below 256 pixels, as Windows' own icons have them: every reader of the format
  // takes those, while a PNG entry is only read since Vista; the 256-pixel image is PNG, which
  // every reader that uses that size understands and which keeps it small.
  std::vector<std::vector<uint8_t>> images;
  for (const int size : sizes) {
    gameart::Canvas c(size, size);
    DrawIcon(c.Cr(), PlanFor(size));
    images.push_back(size >= 256 ? Png(c) : IcoBitmap(c));
  }
  std::vector<uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);  // an icon, not a cursor
  Put16(out, static_cast<uint32_t>(images.size()));
  auto offset = static_cast<uint32_t>(6 + 16 * images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    const int size = sizes[i];
    out.push_back(static_cast<uint8_t>(size >= 256 ? 0 : size));  // 0 stands for 256
    out.push_back(static_cast<uint8_t>(size >= 256 ? 0 : size));
    out.push_back(0);  // no palette
    out.push_back(0);
    Put16(out, 1);  // planes
    Put16(out, 32);
    Put32(out, static_cast<uint32_t>(images[i].size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}

std::vector<uint8_t> AppIconIco() { return AppIconIco({kAppIconIcoSizes.begin(), kAppIconIcoSizes.end()}); }

std::vector<uint8_t> AppIconFullBleedPng(int size) {
  gameart::Canvas c(size, size);
  cairo_t* cr = c.Cr();
  // The deep sea of the badge's lower corner all round, so no launcher's mask shows a seam.
  SetRgb(cr, 0x06203A);
  cairo_paint(cr);
  // The badge with its rounded corners stays within the central circle of 80 % of the side.
  const int badge = static_cast<int>(std::lround(size * 0.625));
  const double offset = std::round((size - badge) / 2.0);
  cairo_save(cr);
  cairo_translate(cr, offset, offset);
  DrawIcon(cr, PlanFor(badge));
  cairo_restore(cr);
  return Png(c);
}

void WriteAppIcons(const std::string& folder) {
  namespace fs = std::filesystem;
  const fs::path root = folder;
  for (const int size : kAppIconSizes) {
    const std::string name = std::to_string(size) + "x" + std::to_string(size);
    const fs::path dir = root / "hicolor" / name / "apps";
    fs::create_directories(dir);
    WriteFile((dir / "saltfang.png").string(), AppIconPng(size));
  }
  const fs::path scalable = root / "hicolor" / "scalable" / "apps";
  fs::create_directories(scalable);
  WriteFile((scalable / "saltfang.svg").string(), AppIconSvg());
  WriteFile((root / "saltfang.ico").string(), AppIconIco());
}

void WriteWebIcons(const std::string& folder) {
  namespace fs = std::filesystem;
  const fs::path root = folder;
  fs::create_directories(root);
  WriteFile((root / "favicon.ico").string(), AppIconIco({kFaviconSizes.begin(), kFaviconSizes.end()}));
  for (const int size : {192, 512}) {
    WriteFile((root / ("icon-" + std::to_string(size) + ".png")).string(), AppIconPng(size));
  }
  WriteFile((root / "maskable-512.png").string(), AppIconFullBleedPng(512));
  WriteFile((root / "apple-touch-icon.png").string(), AppIconFullBleedPng(180));
}

}  // namespace assetgen
