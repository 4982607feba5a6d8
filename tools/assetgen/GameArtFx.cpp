// Explosion strips: 16 frames of 64 x 64 side by side. The program shows each frame for about
// 30 ms, so a strip lasts half a second. Fading is dithered, since the pictures are colour-keyed.
#include <algorithm>
#include <cmath>

#include "GameArtKit.h"
#include "GameArtParts.h"

namespace assetgen::gameart {

namespace {

constexpr int kFrames = 16;
constexpr int kFrame = 64;

// One soft blob: a radial gradient from `inner` to `outer`, fading out at its rim.
void Blob(cairo_t* cr, double x, double y, double r, uint32_t inner, uint32_t outer, double alpha) {
  if (r <= 0.2 || alpha <= 0) return;
  cairo_pattern_t* g = cairo_pattern_create_radial(x - r * 0.2, y - r * 0.25, 0, x, y, r);
  AddStop(g, 0, inner, alpha);
  AddStop(g, 0.6, Mix(inner, outer, 0.7), alpha);
  AddStop(g, 0.85, outer, alpha * 0.9);
  AddStop(g, 1, outer, 0);
  Circle(cr, x, y, r);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
}

// Fire colour by heat: 1 white-hot, 0.6 yellow-orange, 0.3 red, 0 dark smoke.
uint32_t Heat(double h) {
  h = std::clamp(h, 0.0, 1.0);
  if (h > 0.75) return Mix(0xFFC838, 0xFFFCE8, (h - 0.75) / 0.25);
  if (h > 0.45) return Mix(0xF26A12, 0xFFC838, (h - 0.45) / 0.3);
  if (h > 0.2) return Mix(0x7A2A12, 0xF26A12, (h - 0.2) / 0.25);
  return Mix(0x3A3634, 0x7A2A12, h / 0.2);
}

void Sparks(cairo_t* cr, double cx, double cy, double dist, double len, int count, int seed, double alpha) {
  Rng rng(static_cast<uint32_t>(seed));
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = 0; i < count; ++i) {
    const double a = rng.Range(0, 2 * M_PI), d = dist * rng.Range(0.6, 1.0);
    cairo_move_to(cr, cx + std::cos(a) * d, cy + std::sin(a) * d);
    cairo_line_to(cr, cx + std::cos(a) * (d + len), cy + std::sin(a) * (d + len));
    SetRgb(cr, 0xFFE070, alpha);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
  }
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

// A ship blowing up: a white flash, a fireball that grows and reddens, then rolling smoke.
void Fireball(cairo_t* cr, int f, double scale, int seed, bool oily) {
  const double cx = 32, cy = 32;
  const double t = f / 15.0;
  const double grow = scale * (0.5 + 0.7 * std::sqrt(t));
  const double heat = std::max(0.0, 1.0 - f / 11.0);
  const double fade = f < 10 ? 1.0 : 1.0 - (f - 10) / 6.5;
  Rng rng(static_cast<uint32_t>(seed));
  // Shock ring in the first frames.
  if (f >= 1 && f <= 4) {
    Circle(cr, cx, cy, 12 + f * 5);
    SetRgb(cr, 0xFFE8B0, 0.7 - f * 0.1);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
  }
  // Smoke puffs ride outwards and upwards and darken as the fire dies.
  for (int i = 0; i < 9; ++i) {
    const double a = rng.Range(0, 2 * M_PI), d = rng.Range(5, 12), r = rng.Range(9, 13);
    const double rise = f * 0.4;
    const double smokeAlpha = std::clamp((f - 3) / 3.0, 0.0, 1.0) * fade;
    const uint32_t smoke = oily ? 0x1C1A1A : Mix(0x6A6461, 0x35312F, rng.Next());
    Blob(cr, cx + std::cos(a) * d * grow, cy + std::sin(a) * d * grow - rise, r * grow * 1.05, Scale(smoke, 1.3), smoke,
         smokeAlpha);
  }
  // Fire: overlapping balls of flame, hottest at the start.
  Rng fire(static_cast<uint32_t>(seed + 7));
  for (int i = 0; i < 10; ++i) {
    const double a = fire.Range(0, 2 * M_PI), d = fire.Range(0, 12), r = fire.Range(8, 12);
    const double h = heat * fire.Range(0.75, 1.05);
    if (h <= 0.05) continue;
    const double alpha = std::min(1.0, h * 3.0) * fade;
    Blob(cr, cx + std::cos(a) * d * grow, cy + std::sin(a) * d * grow, r * grow * (0.75 + 0.4 * h), Heat(h + 0.05),
         Heat(h * 0.55), alpha);
  }
  // White-hot core of the first frames.
  if (f < 3) Blob(cr, cx, cy, 7 + f * 3, 0xFFFFFF, 0xFFD860, 1.0);
  if (f >= 1 && f <= 8) Sparks(cr, cx, cy, 10 + f * 3 * scale, 3, 10, seed + 3, std::min(1.0, 1.4 - f * 0.15));
}

// A shell striking home: a small star of light near the frame's top-left corner, which is where
// the program puts the strike point, then a few sparks and a wisp of smoke.
void ImpactFlash(cairo_t* cr, int f) {
  const double cx = 11, cy = 11;
  if (f < 4) {
    const double r = 3.5 + f * 1.3;
    Blob(cr, cx, cy, r * 2.1, 0xFFE080, 0xFF7A10, 0.85 - f * 0.12);
    for (int i = 0; i < 4; ++i) {
      const double a = i * M_PI / 2 + 0.3 + f * 0.25;
      cairo_move_to(cr, cx + std::cos(a) * (r * 2.6), cy + std::sin(a) * (r * 2.6));
      cairo_line_to(cr, cx + std::cos(a + M_PI / 2) * 1.4, cy + std::sin(a + M_PI / 2) * 1.4);
      cairo_line_to(cr, cx - std::cos(a) * (r * 2.6), cy - std::sin(a) * (r * 2.6));
      cairo_line_to(cr, cx - std::cos(a + M_PI / 2) * 1.4, cy - std::sin(a + M_PI / 2) * 1.4);
      cairo_close_path(cr);
    }
    SetRgb(cr, 0xFFFBE0, 0.95 - f * 0.1);
    cairo_fill(cr);
    Blob(cr, cx, cy, r, 0xFFFFFF, 0xFFF0A0, 1.0);
  } else if (f < 12) {
    const double k = (f - 4) / 8.0;
    Blob(cr, cx + 1 + k * 3, cy - k * 4, 4 + k * 4, 0x8A8682, 0x4A4644, 0.9 - k * 0.8);
    if (f < 7) Blob(cr, cx, cy, 5 - (f - 4) * 1.2, 0xFFD050, 0xE05010, 0.95);
    Sparks(cr, cx, cy, 4 + (f - 3) * 2.4, 2, 6, 901, 1.0 - k);
  }
}

// A water spout from a shot into the sea: a white column seen from above and a ring of spray.
void Splash(cairo_t* cr, int f) {
  const double cx = 32, cy = 32;
  const double k = f / 15.0;
  const double fade = 1.0 - std::max(0.0, (k - 0.45) / 0.55);
  Circle(cr, cx, cy, 6 + f * 1.6);
  SetRgb(cr, 0xE8F6FF, 0.9 * fade);
  cairo_set_line_width(cr, 3.0 - k * 2);
  cairo_stroke(cr);
  Rng rng(77);
  for (int i = 0; i < 18; ++i) {
    const double a = rng.Range(0, 2 * M_PI), d = (4 + f * rng.Range(1.2, 2.0));
    Circle(cr, cx + std::cos(a) * d, cy + std::sin(a) * d, rng.Range(0.8, 1.8));
    SetRgb(cr, 0xFFFFFF, fade);
    cairo_fill(cr);
  }
  if (f < 10) Blob(cr, cx, cy, 9 - f * 0.6, 0xFFFFFF, 0x9CD8F0, 1.0 - f * 0.08);
}

// An electric burst: a blue-white ring with crackling arcs.
void ShockBurst(cairo_t* cr, int f) {
  const double cx = 32, cy = 32;
  const double k = f / 15.0;
  const double fade = 1.0 - k;
  Circle(cr, cx, cy, 4 + f * 1.8);
  SetRgb(cr, 0x9EE8FF, fade);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  Rng rng(static_cast<uint32_t>(55 + f));
  cairo_set_line_width(cr, 1.2);
  for (int i = 0; i < 6; ++i) {
    double a = rng.Range(0, 2 * M_PI), r = 2;
    cairo_move_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
    for (int s = 0; s < 4; ++s) {
      r += 2 + f * 0.5;
      a += rng.Range(-0.5, 0.5);
      cairo_line_to(cr, cx + std::cos(a) * r, cy + std::sin(a) * r);
    }
    SetRgb(cr, 0xE8FAFF, fade);
    cairo_stroke(cr);
  }
  if (f < 8) Blob(cr, cx, cy, 8 - f * 0.7, 0xFFFFFF, 0x60B8FF, 1.0);
}

}  // namespace

Picture Explosion(int kind) {
  Canvas c(GameImageSize(10 + kind));
  cairo_t* cr = c.Cr();
  for (int f = 0; f < kFrames; ++f) {
    cairo_save(cr);
    // One pixel of margin keeps every frame's edge transparent.
    cairo_rectangle(cr, kFrame * f + 1, 1, kFrame - 2, kFrame - 2);
    cairo_clip(cr);
    cairo_translate(cr, kFrame * f, 0);
    switch (kind) {
      case 0: Fireball(cr, f, 1.0, 17, false); break;
      case 1: Splash(cr, f); break;
      case 2: Fireball(cr, f, 1.2, 29, true); break;
      case 3: ShockBurst(cr, f); break;
      default: ImpactFlash(cr, f); break;
    }
    cairo_restore(cr);
  }
  return c.FinishDithered(kSeaMid);
}

}  // namespace assetgen::gameart
