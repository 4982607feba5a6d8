// The side panels of the game screen, the life icon, the health bar and the spare tiles. The
// program writes the level, score and ammunition figures in orange into the dark read-out wells
// and lays the life icons, health bar and weapon cells into the places drawn here.
#include <algorithm>
#include <cmath>

#include "GameArtKit.h"
#include "GameArtParts.h"

namespace assetgen::gameart {

namespace {

constexpr int kPanelW = GameImageSize(0).Width;  // both side panels
constexpr int kPanelH = GameImageSize(0).Height;
constexpr uint32_t kRail = 0x3D474F;  // the dark rail bordering the playfield
constexpr uint32_t kTray = 0x13263A;  // flat floor of the trays the keyed icons sit in
constexpr uint32_t kFrameSteel = 0x76838D;

// Brushed steel: a vertical light fall-off with fine horizontal streaks.
void BrushedSteel(const Canvas& c, int seed) {
  c.Flush();
  for (int y = 0; y < c.Height(); ++y) {
    for (int x = 0; x < c.Width(); ++x) {
      const double streak = WrappedNoise(x / 118.0, y / 600.0, 3, 240, seed) - 0.5;
      const double grain = Hash01(x, y, seed + 1) - 0.5;
      const double light = 1.07 - 0.12 * y / c.Height() + 0.06 * streak + 0.03 * grain;
      c.Put(x, y, Scale(kPanelSteel, light), 1.0);
    }
  }
  c.MarkDirty();
}

// An engraved seam across the plate: a dark groove with a lit lip under it.
void Seam(cairo_t* cr, double x0, double x1, double y) {
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, x0, y + 0.5);
  cairo_line_to(cr, x1, y + 0.5);
  SetRgb(cr, 0x3A444C, 0.8);
  cairo_stroke(cr);
  cairo_move_to(cr, x0, y + 1.5);
  cairo_line_to(cr, x1, y + 1.5);
  SetRgb(cr, 0xFFFFFF, 0.55);
  cairo_stroke(cr);
}

// The heavy rail along the playfield edge, with rivets every 40 pixels.
void EdgeRail(cairo_t* cr, double x, double w) {
  cairo_pattern_t* g = cairo_pattern_create_linear(x, 0, x + w, 0);
  AddStop(g, 0, Scale(kRail, 1.5));
  AddStop(g, 0.35, kRail);
  AddStop(g, 1, Scale(kRail, 0.6));
  cairo_rectangle(cr, x, 0, w, kPanelH);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  for (int y = 20; y < kPanelH; y += 40) Rivet(cr, x + w / 2, y, 1.8);
}

// The outer frame of a panel: dark outline and a lit inner line along the three outer sides.
void OuterFrame(cairo_t* cr, bool left) {
  cairo_set_line_width(cr, 2);
  cairo_rectangle(cr, 1, 1, kPanelW - 2, kPanelH - 2);
  SetRgb(cr, 0x2B3339);
  cairo_stroke(cr);
  cairo_set_line_width(cr, 1);
  const double x0 = left ? 2.5 : 8.5, x1 = left ? 110.5 : 115.5;
  cairo_move_to(cr, x0, kPanelH - 2.5);
  cairo_line_to(cr, x0, 2.5);
  cairo_line_to(cr, x1, 2.5);
  SetRgb(cr, 0xFFFFFF, 0.6);
  cairo_stroke(cr);
  for (double ry : {9.0, kPanelH - 9.0}) {
    Rivet(cr, left ? 8 : 110, ry, 2.2);
    Rivet(cr, left ? 104 : 14, ry, 2.2);
  }
}

// A dark read-out window with a steel bezel; the program writes its orange figure into it.
void ReadoutWell(cairo_t* cr, double x, double y, double w, double h, double bezel = 4) {
  RaisedPlate(cr, x - bezel, y - bezel, w + 2 * bezel, h + 2 * bezel, bezel + 1, kFrameSteel);
  SunkenWell(cr, x, y, w, h, 3, kWellDark);
  // A faint glass sheen over the upper half.
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h / 2);
  AddStop(g, 0, 0xFFFFFF, 0.10);
  AddStop(g, 1, 0xFFFFFF, 0.0);
  RoundedRect(cr, x + 1, y + 1, w - 2, h / 2, 2);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

// A flat tray for keyed icons: its floor is exactly kTray so the icons' edges match it.
void Tray(cairo_t* cr, double x, double y, double w, double h) {
  RaisedPlate(cr, x - 4, y - 4, w + 8, h + 8, 5, kFrameSteel);
  RoundedRect(cr, x, y, w, h, 3);
  SetRgb(cr, kTray);
  cairo_fill(cr);
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, x + 0.5, y + h);
  cairo_line_to(cr, x + 0.5, y + 0.5);
  cairo_line_to(cr, x + w, y + 0.5);
  SetRgb(cr, 0x05101A, 0.9);
  cairo_stroke(cr);
}

// A small radar scope for the lower half of the left panel.
void RadarScope(cairo_t* cr, double cx, double cy, double r) {
  RaisedPlate(cr, cx - r - 7, cy - r - 7, 2 * r + 14, 2 * r + 14, 10, kFrameSteel);
  Circle(cr, cx, cy, r + 2);
  SetRgb(cr, 0x20292F);
  cairo_fill(cr);
  cairo_pattern_t* g = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
  AddStop(g, 0, 0x0E3A2E);
  AddStop(g, 1, 0x06180F);
  Circle(cr, cx, cy, r);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_set_line_width(cr, 1);
  SetRgb(cr, 0x3FCF8E, 0.35);
  for (double rr : {r * 0.33, r * 0.66}) {
    Circle(cr, cx, cy, rr);
    cairo_stroke(cr);
  }
  cairo_move_to(cr, cx - r, cy);
  cairo_line_to(cr, cx + r, cy);
  cairo_move_to(cr, cx, cy - r);
  cairo_line_to(cr, cx, cy + r);
  cairo_stroke(cr);
  // The sweep: a bright line with a fading wedge behind it.
  const double a = -0.9;
  for (int i = 0; i < 24; ++i) {
    const double a0 = a - 0.05 * (i + 1), a1 = a - 0.05 * i;
    cairo_move_to(cr, cx, cy);
    cairo_arc(cr, cx, cy, r - 1, a0, a1);
    cairo_close_path(cr);
    SetRgb(cr, 0x45F0A0, 0.28 * (1 - i / 24.0));
    cairo_fill(cr);
  }
  cairo_move_to(cr, cx, cy);
  cairo_line_to(cr, cx + (r - 1) * std::cos(a), cy + (r - 1) * std::sin(a));
  SetRgb(cr, 0x9CFFD0, 0.9);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  // Contacts.
  const double blips[][2] = {{0.45, -0.5}, {-0.35, 0.3}, {0.2, 0.55}};
  for (const auto& b : blips) {
    Circle(cr, cx + b[0] * r, cy + b[1] * r, 1.6);
    SetRgb(cr, 0xB8FFD8, 0.9);
    cairo_fill(cr);
  }
  // Glass highlight.
  Ellipse(cr, cx - r * 0.3, cy - r * 0.45, r * 0.45, r * 0.22);
  SetRgb(cr, 0xFFFFFF, 0.08);
  cairo_fill(cr);
}

// Vent slots pressed into the plate.
void VentGrille(cairo_t* cr, double x, double y, double w, int slots) {
  for (int i = 0; i < slots; ++i) {
    const double sy = y + i * 9;
    RoundedRect(cr, x, sy, w, 4, 2);
    SetRgb(cr, 0x1E262C);
    cairo_fill(cr);
    cairo_move_to(cr, x + 2, sy + 4.5);
    cairo_line_to(cr, x + w - 2, sy + 4.5);
    SetRgb(cr, 0xFFFFFF, 0.5);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
}

}  // namespace

Picture LeftPanel() {
  Canvas c(kPanelW, kPanelH);
  cairo_t* cr = c.Cr();
  BrushedSteel(c, 11);
  EdgeRail(cr, 111, 7);
  OuterFrame(cr, true);
  for (double y : {150.0, 272.0, 372.0}) Seam(cr, 3, 111, y);

  // Name plate.
  RaisedPlate(cr, 10, 14, 92, 26, 4, 0xC9D3DA);
  Rivet(cr, 15, 27, 1.6);
  Rivet(cr, 97, 27, 1.6);
  Label(cr, 56, 18, 17, "SALT FANG", Align::Centre);

  // Level: figure centred on (58, 85), 30 high.
  Label(cr, 58, 57, 19, "LEVEL", Align::Centre);
  ReadoutWell(cr, 20, 81, 76, 38);
  // Score: figure centred on (58, 205), 30 high.
  Label(cr, 58, 177, 19, "SCORE", Align::Centre);
  ReadoutWell(cr, 9, 201, 98, 38);
  // Lives: icons at (9 + 34 d, 320), 32 x 32.
  Label(cr, 58, 290, 19, "LIVES", Align::Centre);
  Tray(cr, 5, 316, 106, 40);

  RadarScope(cr, 57, 458, 36);
  VentGrille(cr, 22, 534, 70, 5);
  return c.Finish(true, kPanelSteel);
}

Picture RightPanel() {
  Canvas c(kPanelW, kPanelH);
  cairo_t* cr = c.Cr();
  BrushedSteel(c, 12);
  EdgeRail(cr, 0, 7);
  OuterFrame(cr, false);
  for (double y : {396.0}) Seam(cr, 7, 115, y);

  // Weapon column: cells of 61 x 61 at (700, 33 + 61 w) on screen, (18, 33 + 61 w) here.
  Label(cr, 48, 7, 18, "WEAPON", Align::Centre);
  Tray(cr, 18, 33, 61, 305);
  for (int w = 1; w < 5; ++w) {
    cairo_move_to(cr, 20, 33 + 61 * w + 0.5);
    cairo_line_to(cr, 77, 33 + 61 * w + 0.5);
    SetRgb(cr, 0x2C4560);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  for (int w = 0; w < 5; ++w) {
    // A numbered tab beside each cell.
    RaisedPlate(cr, 88, 50 + 61 * w, 22, 26, 4, 0xC9D3DA);
    const char text[2] = {static_cast<char>('1' + w), 0};
    Label(cr, 99, 54 + 61 * w, 17, text, Align::Centre);
  }

  // Ammunition: the figure ends at x 793 (111 here), top 360, 20 high.
  Label(cr, 57, 361, 18, "AMMO", Align::Right);
  ReadoutWell(cr, 63, 356, 50, 28, 3);

  // Health: the bar stands on y 586 in the well (26, 442)-(54, 586).
  Label(cr, 58, 412, 18, "HEALTH", Align::Centre);
  RaisedPlate(cr, 20, 436, 40, 156, 5, kFrameSteel);
  SunkenWell(cr, 26, 442, 28, 144, 1, 0x101C26);
  cairo_set_line_width(cr, 1);
  for (int i = 0; i <= 6; ++i) {
    const double y = 586 - 24 * i + 0.5;
    cairo_move_to(cr, 62, y);
    cairo_line_to(cr, i % 3 == 0 ? 72 : 68, y);
    SetRgb(cr, 0x26313A);
    cairo_stroke(cr);
  }
  // A first-aid roundel beside the well.
  Circle(cr, 92, 514, 13);
  SetRgb(cr, kFrameSteel);
  cairo_fill(cr);
  Circle(cr, 92, 514, 10.5);
  SetRgb(cr, 0xF2F4F5);
  cairo_fill(cr);
  cairo_rectangle(cr, 89, 506, 6, 16);
  cairo_rectangle(cr, 84, 511, 16, 6);
  SetRgb(cr, 0xD42020);
  cairo_fill(cr);
  Rivet(cr, 92, 460, 2);
  Rivet(cr, 92, 568, 2);
  return c.Finish(true, kPanelSteel);
}

Picture LifeIcon() {
  // A small top view of the player's ship, bow up, on the lives tray.
  Canvas c(GameImageSize(2));
  cairo_t* cr = c.Cr();
  cairo_move_to(cr, 16, 1.5);
  cairo_curve_to(cr, 21, 7, 22.5, 12, 22.5, 18);
  cairo_line_to(cr, 21.5, 28);
  cairo_curve_to(cr, 19, 30.5, 13, 30.5, 10.5, 28);
  cairo_line_to(cr, 9.5, 18);
  cairo_curve_to(cr, 9.5, 12, 11, 7, 16, 1.5);
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(9, 0, 23, 0);
  AddStop(g, 0, 0xE8EEF2);
  AddStop(g, 0.5, 0xB4C0C8);
  AddStop(g, 1, 0x6E7B85);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  SetRgb(cr, 0x2A333A);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  // Orange bow stripe, bridge and three turrets.
  cairo_rectangle(cr, 11, 9, 10, 2);
  SetRgb(cr, kOrange);
  cairo_fill(cr);
  RoundedRect(cr, 13, 15, 6, 5, 1);
  SetRgb(cr, 0x59656E);
  cairo_fill(cr);
  for (double y : {12.5, 22.0, 26.0}) {
    Circle(cr, 16, y, 1.8);
    SetRgb(cr, 0x3C464E);
    cairo_fill(cr);
  }
  return c.Finish(true, kTray);
}

Picture HealthBar() {
  // Read from the bottom up: red when little is left, through orange, to green at full health.
  Canvas c(GameImageSize(3));
  c.Flush();
  for (int y = 0; y < 144; ++y) {
    const double t = (143 - y) / 143.0;  // 0 at the bottom, 1 at the top
    uint32_t base = t < 0.5 ? Mix(0xD81E14, 0xFF9A10, t / 0.5) : Mix(0xFF9A10, 0x3ED84A, (t - 0.5) / 0.5);
    for (int x = 0; x < 28; ++x) {
      // A rounded tube: lit a little left of the middle, dark at both sides.
      const double u = (x + 0.5) / 28.0;
      const double shade =
          0.55 + 0.6 * std::sin(M_PI * u) - 0.25 * std::pow(u, 3) + 0.25 * std::exp(-std::pow((u - 0.35) / 0.08, 2));
      uint32_t px = Scale(base, shade);
      if (y % 8 == 7) px = Scale(px, 0.55);           // segment gaps every 4 health points
      if (x == 0 || x == 27) px = Scale(base, 0.35);  // dark side walls
      c.Put(x, y, px, 1.0);
    }
  }
  c.MarkDirty();
  return c.Finish(false, 0);
}

Picture SpareTile(int width, int height) {
  Canvas c(width, height);
  RaisedPlate(c.Cr(), 1, 1, width - 2, height - 2, 3, kFrameSteel);
  Rivet(c.Cr(), width / 2.0, height / 2.0, std::min(width, height) / 6.0);
  return c.Finish(true, kSeaMid);
}

}  // namespace assetgen::gameart
