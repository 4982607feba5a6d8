// The player's ship and the enemy warships, seen from above. The player's bow points up, the
// enemies' bows down (they sail down the screen). The turning guns are separate pictures that
// the program draws over the mount rings painted here, so every ring sits where that ship's gun
// pivot lands on screen.
#include <algorithm>
#include <cmath>
#include <vector>

#include "GameArtKit.h"
#include "GameArtParts.h"
#include "GameArtShipKit.h"

namespace assetgen::gameart {

namespace {

// Half the beam at fraction s of the length from stern (0) to bow (1).
double HalfBeam(double s, double half) {
  if (s < 0.12) return half * (0.78 + 0.22 * std::sin(s / 0.12 * M_PI / 2));
  if (s < 0.58) return half;
  const double k = (s - 0.58) / 0.42;
  return half * std::cos(k * M_PI / 2) * (1 - 0.12 * k) + 0.2 * (1 - k);
}

}  // namespace

void HullPath(cairo_t* cr, double cx, double sternY, double bowY, double half) {
  constexpr int kSteps = 48;
  cairo_new_path(cr);
  for (int i = 0; i <= kSteps; ++i) {
    const double s = static_cast<double>(i) / kSteps;
    const double y = sternY + (bowY - sternY) * s;
    const double x = cx - HalfBeam(s, half);
    if (i == 0)
      cairo_move_to(cr, x, y);
    else
      cairo_line_to(cr, x, y);
  }
  for (int i = kSteps; i >= 0; --i) {
    const double s = static_cast<double>(i) / kSteps;
    cairo_line_to(cr, cx + HalfBeam(s, half), sternY + (bowY - sternY) * s);
  }
  cairo_close_path(cr);
}

void Hull(cairo_t* cr, const HullStyle& st) {
  // Hull sides, then the deck inset from them, shaded across its width.
  HullPath(cr, st.Cx, st.SternY, st.BowY, st.Half);
  SetRgb(cr, st.Side);
  cairo_fill(cr);
  HullPath(cr, st.Cx, st.SternY + (st.BowY > st.SternY ? 1.2 : -1.2), st.BowY - (st.BowY > st.SternY ? 2.0 : -2.0),
           st.Half - 1.3);
  cairo_pattern_t* g = cairo_pattern_create_linear(st.Cx - st.Half, 0, st.Cx + st.Half, 0);
  AddStop(g, 0, Scale(st.Deck, 0.78));
  AddStop(g, 0.4, Scale(st.Deck, 1.1));
  AddStop(g, 1, Scale(st.Deck, 0.72));
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  if (st.Planks) {
    cairo_save(cr);
    cairo_clip(cr);
    cairo_set_line_width(cr, 0.6);
    SetRgb(cr, 0x4A3A22, 0.35);
    for (double x = st.Cx - st.Half + 2; x < st.Cx + st.Half; x += 2.5) {
      cairo_move_to(cr, x, std::min(st.SternY, st.BowY));
      cairo_line_to(cr, x, std::max(st.SternY, st.BowY));
    }
    cairo_stroke(cr);
    cairo_restore(cr);
  }
  cairo_new_path(cr);
}

void Foam(cairo_t* cr, double x, double y, double r, double alpha) {
  Circle(cr, x, y, r);
  SetRgb(cr, 0xE9F5FA, alpha);
  cairo_fill(cr);
}

void Wake(cairo_t* cr, double cx, double y0, double dir, double len, double spread, int seed) {
  // A V of foam trailing from the stern (dir = +1: trailing downwards, -1: upwards).
  Rng rng(static_cast<uint32_t>(seed));
  for (int i = 0; i < 60; ++i) {
    const double k = rng.Next();
    const double side = rng.Next() < 0.5 ? -1 : 1;
    const double x = cx + side * (2 + k * spread) + rng.Range(-1.2, 1.2);
    const double y = y0 + dir * k * len;
    Foam(cr, x, y, rng.Range(0.7, 1.6) * (1.1 - 0.5 * k), 0.95 - 0.4 * k);
  }
  // Churned water straight behind the screws.
  for (int i = 0; i < 25; ++i) {
    const double k = rng.Next();
    Foam(cr, cx + rng.Range(-2.5, 2.5) * (1 + k), y0 + dir * k * len * 0.8, rng.Range(0.8, 1.8), 0.85 - 0.3 * k);
  }
}

void BowWave(cairo_t* cr, double cx, double bowY, double dir, double half, double len, int seed) {
  // Foam peeling off both sides of the bow (dir: the way the bow points, -1 up, +1 down).
  Rng rng(static_cast<uint32_t>(seed));
  for (int i = 0; i < 34; ++i) {
    const double k = rng.Next();
    const double side = rng.Next() < 0.5 ? -1 : 1;
    const double y = bowY - dir * (2 + k * len);
    const double x = cx + side * (HalfBeam(1 - (2 + k * len) / (len * 4), half) * 0.6 + 1 + k * half * 0.5);
    Foam(cr, x, y, rng.Range(0.6, 1.3), 0.9 - 0.3 * k);
  }
  Foam(cr, cx, bowY + dir * 0.5, 1.4, 0.9);
}

void MountRing(cairo_t* cr, double x, double y, double r) {
  Circle(cr, x + 0.8, y + 0.8, r + 0.5);
  SetRgb(cr, 0x101418, 0.5);
  cairo_fill(cr);
  Circle(cr, x, y, r);
  SetRgb(cr, 0x2F373D);
  cairo_fill(cr);
  Circle(cr, x, y, r - 1.2);
  SetRgb(cr, 0x59646C);
  cairo_fill(cr);
  Circle(cr, x, y, r - 2.4);
  SetRgb(cr, 0x3A444B);
  cairo_fill(cr);
}

void Block(cairo_t* cr, double x, double y, double w, double h, uint32_t colour, double radius) {
  RoundedRect(cr, x + 1.2, y + 1.2, w, h, radius);
  SetRgb(cr, 0x0C1014, 0.45);
  cairo_fill(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(x, 0, x + w, 0);
  AddStop(g, 0, Scale(colour, 1.18));
  AddStop(g, 1, Scale(colour, 0.8));
  RoundedRect(cr, x, y, w, h, radius);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, radius);
  SetRgb(cr, 0xFFFFFF, 0.25);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
}

void Funnel(cairo_t* cr, double x, double y, double rx, double ry, uint32_t band) {
  Ellipse(cr, x + 1.3, y + 1.3, rx, ry);
  SetRgb(cr, 0x0C1014, 0.45);
  cairo_fill(cr);
  Ellipse(cr, x, y, rx, ry);
  SetRgb(cr, Scale(band, 1.0));
  cairo_fill(cr);
  Ellipse(cr, x, y, rx - 1.1, ry - 1.1);
  SetRgb(cr, 0x1A1D20);
  cairo_fill(cr);
  Ellipse(cr, x - rx * 0.25, y - ry * 0.2, rx * 0.35, ry * 0.35);
  SetRgb(cr, 0x3A2A20, 0.8);
  cairo_fill(cr);
}

void FixedTurret(cairo_t* cr, double x, double y, double r, int barrels, double dir, uint32_t colour) {
  // A turret that does not turn, barrels along the keel (dir -1 up, +1 down).
  const double spacing = r * 0.42;
  for (int i = 0; i < barrels; ++i) {
    const double bx = x + (i - (barrels - 1) / 2.0) * spacing;
    cairo_rectangle(cr, bx - 0.6, y, 1.2, dir * r * 2.1);
    SetRgb(cr, 0x2A3036);
    cairo_fill(cr);
  }
  Circle(cr, x + 1, y + 1, r);
  SetRgb(cr, 0x0C1014, 0.45);
  cairo_fill(cr);
  cairo_pattern_t* g = cairo_pattern_create_radial(x - r * 0.3, y - r * 0.3, 0.2, x, y, r);
  AddStop(g, 0, Scale(colour, 1.35));
  AddStop(g, 1, Scale(colour, 0.75));
  Circle(cr, x, y, r);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // Flat rear face of the gun house.
  cairo_rectangle(cr, x - r * 0.7, y - dir * r * 0.95, r * 1.4, 0.9);
  SetRgb(cr, Scale(colour, 0.6));
  cairo_fill(cr);
}

namespace {

struct EnemyShipPlan {
  int W, H;
  double Cx, Half;
  double MountY, MountR;
  bool Teak;
};

void EnemyWarship(cairo_t* cr, int kind) {
  static constexpr EnemyShipPlan kPlans[4] = {
      {24, 88, 12.5, 6.5, 72.5, 5.5, false},
      {30, 111, 16.5, 9.0, 72.5, 6.5, false},
      {34, 136, 17.5, 12.0, 102.5, 6.5, true},
      {47, 146, 20.5, 17.5, 115.5, 8.5, true},
  };
  const EnemyShipPlan& p = kPlans[kind];
  const double stern = 4, bow = p.H - 2.5;
  const uint32_t grey = 0x6C767D, side = 0x353C42, house = 0x838D94;
  Wake(cr, p.Cx, stern + 1, -1, 3.5, p.Half * 0.6, 40 + kind);
  BowWave(cr, p.Cx, bow, 1, p.Half, std::min(20.0, p.H * 0.16), 60 + kind);
  HullStyle st{p.Cx, stern, bow, p.Half, side, p.Teak ? 0xA88A5C : grey, p.Teak};
  Hull(cr, st);
  const double L = bow - stern;
  const auto at = [&](double s) { return stern + L * s; };  // 0 stern .. 1 bow
  const double cx = p.Cx;
  // A red identification band across the stern.
  cairo_rectangle(cr, cx - p.Half + 1.5, at(0.05), 2 * p.Half - 3, 1.6);
  SetRgb(cr, 0xB02A1E);
  cairo_fill(cr);
  switch (kind) {
    case 0:  // Cutter: depth-charge racks, deckhouse with bridge, small funnel, one gun forward
      for (double dx : {-3.0, 3.0}) {
        cairo_rectangle(cr, cx + dx - 1, at(0.09), 2, 6);
        SetRgb(cr, 0x2A3036);
        cairo_fill(cr);
      }
      Block(cr, cx - 4.5, at(0.38), 9, 20, house, 2);
      Funnel(cr, cx, at(0.33), 2.6, 3.4, 0x4A5258);
      cairo_rectangle(cr, cx - 3.5, at(0.38) + 17, 7, 1.6);
      SetRgb(cr, 0x1E3A52);
      cairo_fill(cr);
      Circle(cr, cx, at(0.48), 1.3);
      SetRgb(cr, 0xD8DEE2);
      cairo_fill(cr);
      break;
    case 1:  // Destroyer: aft gun, torpedo tubes, two funnels, bridge, forward gun
      FixedTurret(cr, cx, at(0.12), 4.2, 1, -1, grey);
      for (double dx : {-2.5, 2.5}) {
        RoundedRect(cr, cx + dx - 1.1, at(0.22), 2.2, 9, 1);
        SetRgb(cr, 0x3C444A);
        cairo_fill(cr);
      }
      Block(cr, cx - 5, at(0.33), 10, 26, house, 2);
      Funnel(cr, cx, at(0.36), 3.2, 4.2, 0x4A5258);
      Funnel(cr, cx, at(0.45), 3.2, 4.2, 0x4A5258);
      Block(cr, cx - 6, at(0.52), 12, 11, Scale(house, 1.08), 2.5);
      cairo_rectangle(cr, cx - 4.5, at(0.52) + 8.8, 9, 1.5);
      SetRgb(cr, 0x1E3A52);
      cairo_fill(cr);
      break;
    case 2:  // "Crulser": two aft turrets, catapult, funnels, tower bridge, forward gun
      FixedTurret(cr, cx, at(0.1), 5, 2, -1, grey);
      FixedTurret(cr, cx, at(0.2), 5, 2, -1, grey);
      Block(cr, cx - 7, at(0.28), 14, 50, house, 2.5);
      Funnel(cr, cx, at(0.34), 3.8, 5, 0x4A5258);
      Funnel(cr, cx, at(0.43), 3.8, 5, 0x4A5258);
      for (double dx : {-9.0, 9.0}) {
        Ellipse(cr, cx + dx, at(0.4), 1.6, 4);
        SetRgb(cr, 0xD6DCE0);
        cairo_fill(cr);
      }
      Block(cr, cx - 5.5, at(0.53), 11, 14, Scale(house, 1.1), 3);
      cairo_rectangle(cr, cx - 4.5, at(0.53) + 11.5, 9, 1.6);
      SetRgb(cr, 0x1E3A52);
      cairo_fill(cr);
      Circle(cr, cx, at(0.56), 1.8);
      SetRgb(cr, 0xC9D2D8);
      cairo_fill(cr);
      FixedTurret(cr, cx, at(0.66), 5, 2, 1, grey);
      break;
    default:  // BattleShip: two big aft turrets, superstructure with secondaries, forward gun
      FixedTurret(cr, cx, at(0.1), 7, 3, -1, grey);
      FixedTurret(cr, cx, at(0.22), 7, 3, -1, grey);
      Block(cr, cx - 10, at(0.3), 20, 48, house, 3);
      Funnel(cr, cx, at(0.4), 5, 6.5, 0x4A5258);
      for (double dx : {-13.0, 13.0}) {
        for (double s : {0.34, 0.46}) FixedTurret(cr, cx + dx, at(s), 2.8, 1, dx < 0 ? -1 : -1, grey);
      }
      Block(cr, cx - 7, at(0.52), 14, 16, Scale(house, 1.08), 4);
      Circle(cr, cx, at(0.56), 3);
      SetRgb(cr, 0xC9D2D8);
      cairo_fill(cr);
      cairo_rectangle(cr, cx - 6, at(0.52) + 13.5, 12, 1.8);
      SetRgb(cr, 0x1E3A52);
      cairo_fill(cr);
      FixedTurret(cr, cx, at(0.68), 6.5, 3, 1, grey);
      break;
  }
  MountRing(cr, p.Cx, p.MountY, p.MountR);
}

}  // namespace

Picture PlayerShip() {
  Canvas c(GameImageSize(25));
  cairo_t* cr = c.Cr();
  for (int f = 0; f < 2; ++f) {
    cairo_save(cr);
    cairo_rectangle(cr, 38 * f, 0, 38, 103);
    cairo_clip(cr);
    cairo_translate(cr, 38 * f, 0);
    const double cx = 12.5, bow = 2.5, stern = 91.5;
    // Wake and spray change between the two frames.
    Wake(cr, cx, stern - 1, 1, 9, 6, 10 + f * 31);
    BowWave(cr, cx, bow, -1, 10, 14, 20 + f * 17);
    HullStyle st{cx, stern, bow, 10.0, 0x3A4650, 0xA3B3BF, false};
    Hull(cr, st);
    const uint32_t house = 0xC2CED6;
    // Orange bow chevron and stern band: the player's colours.
    cairo_move_to(cr, cx - 6, 10);
    cairo_line_to(cr, cx, 6.5);
    cairo_line_to(cr, cx + 6, 10);
    cairo_line_to(cr, cx + 6, 11.8);
    cairo_line_to(cr, cx, 8.3);
    cairo_line_to(cr, cx - 6, 11.8);
    cairo_close_path(cr);
    SetRgb(cr, kOrange);
    cairo_fill(cr);
    cairo_rectangle(cr, cx - 8.5, 87, 17, 1.8);
    SetRgb(cr, kOrange);
    cairo_fill(cr);
    // Bridge with its windows, the mast and radar, the funnel, lifeboats.
    Block(cr, cx - 6.5, 25, 13, 15, house, 2.5);
    cairo_rectangle(cr, cx - 5, 25.8, 10, 1.6);
    SetRgb(cr, 0x1E3A52);
    cairo_fill(cr);
    cairo_rectangle(cr, cx - 0.6, 29, 1.2, 9);
    SetRgb(cr, 0x39434B);
    cairo_fill(cr);
    Ellipse(cr, cx, 33, 3.2, 1.3);  // radar dish
    SetRgb(cr, 0x2A3036);
    cairo_fill(cr);
    Block(cr, cx - 5, 55, 10, 12, house, 2);
    Funnel(cr, cx, 61, 3.2, 4.3, 0xFF9900);
    for (double dx : {-7.6, 7.6}) {
      Ellipse(cr, cx + dx, 61, 1.3, 4.2);
      SetRgb(cr, 0xEEF2F4);
      cairo_fill(cr);
    }
    MountRing(cr, cx, 17.5, 6.0);
    MountRing(cr, cx, 47.5, 5.2);
    MountRing(cr, cx, 75.5, 7.5);
    cairo_restore(cr);
  }
  return c.Finish(true, kSeaMid);
}

Picture Enemy(int kind) {
  Canvas c(GameImageSize(17 + kind));
  cairo_t* cr = c.Cr();
  if (kind < 4) {
    EnemyWarship(cr, kind);
    return c.Finish(true, kSeaMid);
  }
  if (kind == 4) {
    IslandGun(cr);
    return c.Finish(true, kClearingConcrete);
  }
  if (kind == 5) {
    for (int f = 0; f < 4; ++f) Bomber(cr, 56.0 * f, f);
  } else if (kind == 6) {
    Helicopter(cr);
  } else {
    SupplyPlane(cr);
  }
  return c.Finish(true, kSeaMid);
}

}  // namespace assetgen::gameart
