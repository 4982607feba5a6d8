// The scrolling sea tile and the islands that drift past on it.
#include <algorithm>
#include <cmath>
#include <vector>

#include "GameArtKit.h"
#include "GameArtParts.h"

namespace assetgen::gameart {

namespace {

constexpr int kTileW = GameImageSize(5).Width;
constexpr int kTileH = GameImageSize(5).Height;

// Offset of (x, y) in a row-major map w wide.
size_t Index(int x, int y, int w) { return static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x); }

double SmoothStep(double e0, double e1, double x) {
  const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// Ripple ridges: bright where a stretched noise field crosses its middle value.
double Ridge(double u, double v, int seed) {
  // A periodic warp bends the ridges and hides the lattice of the noise.
  u += 0.09 * (WrappedNoise(u, v, 4, 10, seed + 5) - 0.5);
  v += 0.02 * (WrappedNoise(u, v, 5, 8, seed + 6) - 0.5);
  const double n = 0.6 * WrappedNoise(u, v, 3, 26, seed) + 0.28 * WrappedNoise(u, v, 7, 52, seed + 1) +
                   0.12 * WrappedNoise(u, v, 13, 95, seed + 2);
  return 1.0 - std::abs(2.0 * n - 1.0);
}

// The sea colour at a point of the tile: every term repeats over the tile in both directions.
uint32_t SeaAt(int x, int y) {
  const double u = x / static_cast<double>(kTileW), v = y / static_cast<double>(kTileH);
  const double dv = 1.0 / kTileH;
  const double swell = 0.65 * WrappedNoise(u, v, 2, 4, 101) + 0.35 * WrappedNoise(u, v, 5, 10, 102);
  const double patches = WrappedNoise(u, v, 6, 14, 103);
  const double grain = WrappedNoise(u, v, 41, 82, 104);
  // Crests show where the ridges are sharp and the patch noise lets them through.
  const double through = SmoothStep(0.3, 0.75, patches);
  const double crest = SmoothStep(0.86, 0.985, Ridge(u, v, 110)) * through;
  const double shadow = SmoothStep(0.86, 0.985, Ridge(u, v - 2 * dv, 110)) * through;
  const double depth = std::clamp(0.3 + 0.45 * (swell - 0.25) / 0.5 + 0.06 * (grain - 0.5), 0.0, 1.0);
  uint32_t colour = Mix(kSeaDeep, kSeaLight, depth);
  colour = Mix(colour, Scale(colour, 0.72), shadow * 0.8);
  colour = Mix(colour, 0x3F84B0, crest * 0.75);
  // Sparse whitecaps on the strongest crests.
  const double cap = SmoothStep(0.7, 0.95, crest * SmoothStep(0.6, 0.9, swell + 0.3 * (grain - 0.5)));
  colour = Mix(colour, 0xB8D6E8, cap * 0.6);
  return colour;
}

// A land mask with the distance of every pixel to the shore, inside and outside.
struct IslandMap {
  int W = 0, H = 0;
  std::vector<char> Land;
  std::vector<double> Inside;   // distance to the nearest water pixel (land pixels)
  std::vector<double> Outside;  // distance to the nearest land pixel (water pixels)
  bool IsLand(int x, int y) const { return Land[Index(x, y, W)] != 0; }
};

IslandMap BuildIsland(int w, int h, bool leftSide, int seed) {
  IslandMap m;
  m.W = w;
  m.H = h;
  m.Land.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
  const double y0 = 9, y1 = h - 9;
  const double padReach = leftSide ? w / 2.0 + 32 : w / 2.0 + 8;  // the gun's clearing stays on land
  const double maxReach = w - 6;
  for (int y = 0; y < h; ++y) {
    const double t = (y + 0.5 - y0) / (y1 - y0);
    if (t <= 0 || t >= 1) continue;
    double reach = maxReach * std::pow(std::sin(M_PI * t), 0.55);
    reach *= 0.82 + 0.18 * WrappedNoise(t, 0.5, 5, 1, seed) + 0.1 * (WrappedNoise(t, 0.2, 13, 1, seed + 1) - 0.5);
    const double nearPad = std::exp(-std::pow((y - h / 2.0 - 14) / 34.0, 4));
    reach = std::max(reach, padReach * nearPad);
    reach = std::min(reach, maxReach);
    for (int x = 0; x < w; ++x) {
      const double fromSide = leftSide ? x + 0.5 : w - x - 0.5;
      if (fromSide < reach) m.Land[Index(x, y, w)] = 1;
    }
  }
  // Distances by brute force against the shore pixels (the pictures are small).
  std::vector<std::pair<int, int>> shoreLand, shoreWater;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool land = m.IsLand(x, y);
      bool edge = false;
      for (const auto& d : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
        const int nx = x + d.first, ny = y + d.second;
        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;  // land goes on beyond the flat side
        if (m.IsLand(nx, ny) != land) edge = true;
      }
      if (edge) (land ? shoreLand : shoreWater).push_back({x, y});
    }
  }
  m.Inside.assign(m.Land.size(), 0);
  m.Outside.assign(m.Land.size(), 1e9);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool land = m.IsLand(x, y);
      const auto& targets = land ? shoreWater : shoreLand;
      double best = 1e9;
      for (const auto& p : targets) {
        const double dx = p.first - x, dy = p.second - y;
        best = std::min(best, dx * dx + dy * dy);
      }
      (land ? m.Inside : m.Outside)[Index(x, y, w)] = std::sqrt(best);
    }
  }
  return m;
}

// A palm seen from above: a shadow, then fronds around a small crown.
void Palm(cairo_t* cr, double cx, double cy, double r, double turn) {
  for (int pass = 0; pass < 2; ++pass) {
    const double ox = pass == 0 ? 2.5 : 0, oy = pass == 0 ? 2.5 : 0;
    for (int i = 0; i < 7; ++i) {
      const double a = turn + i * 2 * M_PI / 7;
      cairo_save(cr);
      cairo_translate(cr, cx + ox, cy + oy);
      cairo_rotate(cr, a);
      cairo_move_to(cr, 0, 0);
      cairo_curve_to(cr, r * 0.3, -r * 0.32, r * 0.8, -r * 0.22, r, 0.15 * r);
      cairo_curve_to(cr, r * 0.7, r * 0.12, r * 0.3, r * 0.2, 0, 0);
      cairo_restore(cr);
    }
    if (pass == 0) {
      SetRgb(cr, 0x0E2A12, 0.45);
      cairo_fill(cr);
    } else {
      cairo_pattern_t* g = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
      AddStop(g, 0, 0x7DBA4A);
      AddStop(g, 1, 0x2C6A26);
      cairo_set_source(cr, g);
      cairo_fill(cr);
      cairo_pattern_destroy(g);
    }
  }
  Circle(cr, cx, cy, r * 0.16 + 0.6);
  SetRgb(cr, 0x6A4A26);
  cairo_fill(cr);
}

// A round jungle bush with a lit side.
void Bush(cairo_t* cr, double cx, double cy, double r) {
  Circle(cr, cx + 2, cy + 2, r);
  SetRgb(cr, 0x0E2A12, 0.4);
  cairo_fill(cr);
  cairo_pattern_t* g = cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.35, r * 0.1, cx, cy, r);
  AddStop(g, 0, 0x6FAE48);
  AddStop(g, 0.7, 0x2F6C2A);
  AddStop(g, 1, 0x1D4A1E);
  Circle(cr, cx, cy, r);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

void Rock(cairo_t* cr, double cx, double cy, double r, Rng& rng) {
  cairo_new_path(cr);
  for (int i = 0; i < 7; ++i) {
    const double a = i * 2 * M_PI / 7, rr = r * rng.Range(0.7, 1.1);
    if (i == 0)
      cairo_move_to(cr, cx + rr * std::cos(a), cy + rr * std::sin(a));
    else
      cairo_line_to(cr, cx + rr * std::cos(a), cy + rr * std::sin(a));
  }
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(cx - r, cy - r, cx + r, cy + r);
  AddStop(g, 0, 0xB3AEA2);
  AddStop(g, 1, 0x55524B);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

// The clearing where an island's gun may stand: a round concrete emplacement, its top-left
// quarter at the island's centre where the gun's picture is placed.
void GunClearing(cairo_t* cr, double cx, double cy) {
  Circle(cr, cx + 1.5, cy + 1.5, 15.5);
  SetRgb(cr, 0x1A2A14, 0.4);
  cairo_fill(cr);
  Circle(cr, cx, cy, 15.5);
  SetRgb(cr, 0xB9A67A);
  cairo_fill(cr);
  Circle(cr, cx, cy, 13);
  cairo_pattern_t* g = cairo_pattern_create_radial(cx - 4, cy - 4, 1, cx, cy, 13);
  AddStop(g, 0, 0xA7A9A2);
  AddStop(g, 1, 0x7C7F79);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_set_line_width(cr, 1);
  SetRgb(cr, 0x5E615C, 0.8);
  for (int i = 0; i < 8; ++i) {
    const double a = i * M_PI / 4;
    cairo_move_to(cr, cx + 6 * std::cos(a), cy + 6 * std::sin(a));
    cairo_line_to(cr, cx + 12.5 * std::cos(a), cy + 12.5 * std::sin(a));
  }
  cairo_stroke(cr);
}

void Lighthouse(cairo_t* cr, double cx, double cy) {
  Circle(cr, cx + 2, cy + 2, 6);
  SetRgb(cr, 0x0E2A12, 0.45);
  cairo_fill(cr);
  Circle(cr, cx, cy, 6);
  SetRgb(cr, 0xF2F2EE);
  cairo_fill(cr);
  Circle(cr, cx, cy, 4);
  SetRgb(cr, 0xC8281E);
  cairo_fill(cr);
  Circle(cr, cx, cy, 2);
  SetRgb(cr, 0xFFE680);
  cairo_fill(cr);
}

void Hut(cairo_t* cr, double cx, double cy) {
  cairo_rectangle(cr, cx - 5 + 2, cy - 4 + 2, 10, 8);
  SetRgb(cr, 0x0E2A12, 0.45);
  cairo_fill(cr);
  cairo_move_to(cr, cx - 5, cy - 4);
  cairo_line_to(cr, cx + 5, cy - 4);
  cairo_line_to(cr, cx + 5, cy + 4);
  cairo_line_to(cr, cx - 5, cy + 4);
  cairo_close_path(cr);
  SetRgb(cr, 0xA4783E);
  cairo_fill(cr);
  cairo_move_to(cr, cx - 5, cy);
  cairo_line_to(cr, cx + 5, cy);
  SetRgb(cr, 0x6A4620);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

}  // namespace

Picture SeaTile() {
  Canvas c(kTileW, kTileH);
  c.Flush();
  for (int y = 0; y < kTileH; ++y) {
    for (int x = 0; x < kTileW; ++x) c.Put(x, y, SeaAt(x, y), 1.0);
  }
  c.MarkDirty();
  return c.Finish(false, 0);
}

Picture Island(int kind) {
  static constexpr int kW[4] = {78, 62, 77, 72};
  static constexpr int kH[4] = {210, 139, 191, 176};
  const int w = kW[kind], h = kH[kind];
  const bool left = kind < 2;
  const IslandMap m = BuildIsland(w, h, left, 300 + 17 * kind);
  Canvas c(w, h);

  // Shallows, surf, wet and dry sand, and the green interior, pixel by pixel.
  c.Flush();
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const size_t i = Index(x, y, w);
      const double n = WrappedNoise(x / 40.0, y / 40.0, 7, 7, 400 + kind);
      const double fine = Hash01(x, y, 410 + kind) - 0.5;
      if (!m.Land[i]) {
        const double d = m.Outside[i];
        if (d > 9.5) continue;
        uint32_t col = Mix(0x3AB4B0, kSeaMid, SmoothStep(0.0, 9.0, d + 2.0 * (n - 0.5)));
        if (d < 2.2) col = Mix(col, 0xE8F6F4, 0.75 * (1 - d / 2.2) + 0.15 * fine);
        const double farEdge = left ? w - 1 - x : x;  // the shallows fade before the far edge
        c.Put(x, y, col, (1.0 - SmoothStep(6.0, 9.5, d)) * SmoothStep(0.5, 3.5, farEdge));
        continue;
      }
      const double d = m.Inside[i];
      const double beach = 4.0 + 3.5 * n;
      uint32_t col;
      if (d < 1.6) {
        col = Mix(0xA08758, 0xC8AE78, d / 1.6);
      } else if (d < beach) {
        col = Scale(0xE2CA94, 1.0 + 0.12 * fine);
      } else {
        const double lush = WrappedNoise(x / 30.0, y / 30.0, 9, 9, 420 + kind);
        col = Mix(0x5C8E3A, 0x2D5E26, lush);
        col = Mix(col, 0x8C7A4E, SmoothStep(beach, beach + 1.5, d) < 1 ? 0.5 : 0.0);
        col = Scale(col, 1.0 + 0.14 * fine);
      }
      c.Put(x, y, col, 1.0);
    }
  }
  c.MarkDirty();

  cairo_t* cr = c.Cr();
  Rng rng(static_cast<uint32_t>(500 + kind));
  // The gun's picture (23 x 28) is placed with its top-left at the island's centre.
  const double padX = w / 2 + 11.5, padY = h / 2 + 12;
  const auto freeSpot = [&](double x, double y, double r) {
    const int ix = static_cast<int>(x), iy = static_cast<int>(y);
    if (ix < 0 || iy < 0 || ix >= w || iy >= h || !m.IsLand(ix, iy)) return false;
    if (m.Inside[Index(ix, iy, w)] < r + 3) return false;
    return std::hypot(x - padX, y - padY) > r + 18;
  };
  // Rocks along the shore.
  for (int i = 0, placed = 0; i < 400 && placed < 5 + kind % 2 * 4; ++i) {
    const double x = rng.Range(0, w), y = rng.Range(0, h);
    const int ix = static_cast<int>(x), iy = static_cast<int>(y);
    if (!m.IsLand(ix, iy)) continue;
    const double d = m.Inside[Index(ix, iy, w)];
    if (d < 1 || d > 4) continue;
    Rock(cr, x, y, rng.Range(1.8, 3.5), rng);
    ++placed;
  }
  GunClearing(cr, padX, padY);
  if (kind == 1) Lighthouse(cr, left ? 16 : w - 16, 30);
  if (kind == 2) Hut(cr, w - 22, h - 45);
  // Jungle: bushes first, palms on top.
  for (int i = 0, placed = 0; i < 3000 && placed < h / 7; ++i) {
    const double r = rng.Range(4, 8);
    const double x = rng.Range(0, w), y = rng.Range(0, h);
    if (!freeSpot(x, y, r * 0.6)) continue;
    if (kind == 1 && std::hypot(x - (left ? 16 : w - 16), y - 30) < 12) continue;
    if (kind == 2 && std::hypot(x - (w - 22), y - (h - 45)) < 12) continue;
    Bush(cr, x, y, r);
    ++placed;
  }
  for (int i = 0, placed = 0; i < 3000 && placed < h / 18; ++i) {
    const double r = rng.Range(7, 10);
    const double x = rng.Range(0, w), y = rng.Range(0, h);
    if (!freeSpot(x, y, 2)) continue;
    if (kind == 1 && std::hypot(x - (left ? 16 : w - 16), y - 30) < 14) continue;
    if (kind == 2 && std::hypot(x - (w - 22), y - (h - 45)) < 14) continue;
    Palm(cr, x, y, r, rng.Range(0, 2));
    ++placed;
  }
  return c.FinishDithered(kSeaMid);
}

}  // namespace assetgen::gameart
