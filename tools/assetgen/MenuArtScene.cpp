// The menu background: a warship at sea at dusk, with the steel plate that carries the main menu.
#include <cmath>

#include "CairoPicture.h"
#include "MenuArtDraw.h"

namespace assetgen::menu {
namespace {

constexpr double kHorizon = 332;
constexpr double kSunX = 668;
constexpr double kSunR = 30;

void Sky(cairo_t* cr) {
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, kHorizon);
  AddStop(g, 0, kNightSky);
  AddStop(g, 0.28, 0x17224C);
  AddStop(g, 0.52, 0x3E3262);
  AddStop(g, 0.72, 0x8A4463);
  AddStop(g, 0.88, 0xD9693F);
  AddStop(g, 1, 0xF6A44E);
  cairo_rectangle(cr, 0, 0, 800, kHorizon);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);

  // Stars fading out towards the glow.
  Noise noise(0x5A17F00D);
  for (int i = 0; i < 90; ++i) {
    const double x = noise.Range(0, 800), y = noise.Range(0, 170);
    const double a = noise.Range(0.2, 0.9) * (1 - y / 190);
    cairo_arc(cr, x, y, noise.Range(0.4, 1.1), 0, 2 * M_PI);
    SetRgb(cr, 0xFFF6E0, a);
    cairo_fill(cr);
  }

  // The sun's glow, then the sun itself half under the horizon.
  cairo_pattern_t* glow = cairo_pattern_create_radial(kSunX, kHorizon, kSunR, kSunX, kHorizon, 300);
  AddStop(glow, 0, 0xFFD27A, 0.75);
  AddStop(glow, 0.3, 0xFF9A3C, 0.3);
  AddStop(glow, 1, 0xFF7A3C, 0);
  cairo_rectangle(cr, 0, 0, 800, kHorizon);
  cairo_set_source(cr, glow);
  cairo_fill(cr);
  cairo_pattern_destroy(glow);
  cairo_pattern_t* sun = cairo_pattern_create_linear(0, kHorizon - kSunR, 0, kHorizon);
  AddStop(sun, 0, 0xFFF0B8);
  AddStop(sun, 1, 0xFFA640);
  cairo_arc(cr, kSunX, kHorizon + 6, kSunR, M_PI, 2 * M_PI);
  cairo_set_source(cr, sun);
  cairo_fill(cr);
  cairo_pattern_destroy(sun);

  // Long thin clouds lit from below by the setting sun.
  Noise clouds(0xC10D5);
  for (int i = 0; i < 26; ++i) {
    const double cy = clouds.Range(150, 300);
    const double cx = clouds.Range(260, 860);
    const double rx = clouds.Range(40, 150) * (0.6 + (cy - 150) / 250);
    const double ry = clouds.Range(2.5, 6.5);
    const double t = (cy - 150) / 150;
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* c = cairo_pattern_create_linear(0, cy - ry, 0, cy + ry);
    AddStop(c, 0, 0x2B2450, 0.75);
    AddStop(c, 0.6, 0x6A3A5E, 0.7);
    AddStop(c, 1, t > 0.6 ? 0xFFB070 : 0xE07A5A, 0.8);
    cairo_set_source(cr, c);
    cairo_fill(cr);
    cairo_pattern_destroy(c);
  }
}

void DistantShip(cairo_t* cr, double x, double scale, uint32_t colour) {
  cairo_save(cr);
  cairo_translate(cr, x, kHorizon);
  cairo_scale(cr, scale, scale);
  cairo_move_to(cr, -40, -4);
  cairo_line_to(cr, 38, -4);
  cairo_line_to(cr, 44, -8);
  cairo_line_to(cr, 34, 0.5);
  cairo_line_to(cr, -36, 0.5);
  cairo_close_path(cr);
  cairo_rectangle(cr, -14, -10, 22, 6);
  cairo_rectangle(cr, -8, -15, 10, 5);
  cairo_rectangle(cr, 10, -9, 5, 5);
  cairo_rectangle(cr, -4, -26, 1.5, 11);
  cairo_rectangle(cr, -26, -7, 8, 3);
  SetRgb(cr, colour);
  cairo_fill(cr);
  cairo_restore(cr);
}

void Sea(cairo_t* cr) {
  cairo_pattern_t* g = cairo_pattern_create_linear(0, kHorizon, 0, 600);
  AddStop(g, 0, 0x3A5C7E);
  AddStop(g, 0.08, 0x1C5378);
  AddStop(g, 0.45, 0x0D4A73);
  AddStop(g, 1, 0x06203A);
  cairo_rectangle(cr, 0, kHorizon, 800, 600 - kHorizon);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);

  // Wave crests and troughs, small and dense near the horizon, larger towards the viewer.
  Noise noise(0x0CEA4);
  for (int i = 0; i < 1500; ++i) {
    const double t = std::pow(noise.Range(0, 1), 1.4);
    const double y = kHorizon + 2 + t * (600 - kHorizon);
    const double x = noise.Range(-40, 820);
    const double len = 5 + 50 * t * noise.Range(0.5, 1.2);
    const bool crest = noise.Next() % 3 != 0;
    cairo_move_to(cr, x, y);
    cairo_curve_to(cr, x + len * 0.3, y - 1.5 - 2 * t, x + len * 0.7, y - 1.5 - 2 * t, x + len, y);
    cairo_set_line_width(cr, 0.7 + 1.6 * t);
    if (crest)
      SetRgb(cr, 0x6E9CC0, 0.16 + 0.12 * t);
    else
      SetRgb(cr, 0x031526, 0.3);
    cairo_stroke(cr);
  }

  // The sun's path of glitter on the water.
  Noise glitter(0x6117);
  for (double y = kHorizon + 1; y < 600; y += 1 + (y - kHorizon) / 45) {
    const double t = (y - kHorizon) / (600 - kHorizon);
    const double half = 18 + 150 * t;
    const int dashes = 3 + static_cast<int>(6 * (1 - t));
    for (int d = 0; d < dashes; ++d) {
      const double off = glitter.Range(-1, 1);
      const double x = kSunX + off * std::abs(off) * half + (y - kHorizon) * 0.05;
      const double len = glitter.Range(4, 14 + 30 * (1 - t)) * (1 - std::abs(off) * 0.7);
      const double a = (0.85 - 0.7 * t) * (1 - std::abs(off) * 0.6);
      cairo_rectangle(cr, x - len / 2, y, len, 0.8 + 1.5 * t);
      SetRgb(cr, glitter.Next() % 2 ? 0xFFD27A : 0xFF9A3C, a);
      cairo_fill(cr);
    }
  }
  // A haze line along the horizon.
  cairo_pattern_t* haze = cairo_pattern_create_linear(0, kHorizon - 3, 0, kHorizon + 5);
  AddStop(haze, 0, 0xFFC27A, 0);
  AddStop(haze, 0.5, 0xFFC27A, 0.45);
  AddStop(haze, 1, 0xFFC27A, 0);
  cairo_rectangle(cr, 0, kHorizon - 3, 800, 8);
  cairo_set_source(cr, haze);
  cairo_fill(cr);
  cairo_pattern_destroy(haze);
}

// The hero: a destroyer sailing left, dark against the dusk with a warm rim light.
void Warship(cairo_t* cr) {
  const double wl = 548;  // waterline
  auto hull = [&]() {
    cairo_new_path(cr);
    cairo_move_to(cr, 404, 500);
    cairo_curve_to(cr, 430, 508, 470, 512, 520, 512);
    cairo_line_to(cr, 770, 510);
    cairo_line_to(cr, 786, 508);
    cairo_line_to(cr, 782, 528);
    cairo_line_to(cr, 770, wl);
    cairo_line_to(cr, 450, wl);
    cairo_curve_to(cr, 430, 530, 416, 514, 404, 500);
    cairo_close_path(cr);
  };
  auto upper = [&]() {
    cairo_new_path(cr);
    // Forward gun house and barrel.
    cairo_move_to(cr, 478, 512);
    cairo_line_to(cr, 482, 500);
    cairo_line_to(cr, 506, 498);
    cairo_line_to(cr, 512, 512);
    cairo_close_path(cr);
    cairo_rectangle(cr, 446, 501, 36, 3);
    // Bridge and its tower.
    cairo_move_to(cr, 540, 512);
    cairo_line_to(cr, 546, 480);
    cairo_line_to(cr, 612, 480);
    cairo_line_to(cr, 616, 512);
    cairo_close_path(cr);
    cairo_move_to(cr, 556, 480);
    cairo_line_to(cr, 560, 462);
    cairo_line_to(cr, 596, 462);
    cairo_line_to(cr, 600, 480);
    cairo_close_path(cr);
    // Mast with yards and a radar.
    cairo_rectangle(cr, 577, 410, 3, 52);
    cairo_rectangle(cr, 563, 426, 31, 2);
    cairo_rectangle(cr, 568, 440, 21, 2);
    cairo_rectangle(cr, 570, 412, 17, 4);
    // Funnel, raked back.
    cairo_move_to(cr, 628, 512);
    cairo_line_to(cr, 634, 470);
    cairo_line_to(cr, 662, 468);
    cairo_line_to(cr, 668, 512);
    cairo_close_path(cr);
    // After deckhouse and gun.
    cairo_rectangle(cr, 680, 496, 40, 16);
    cairo_move_to(cr, 728, 510);
    cairo_line_to(cr, 732, 498);
    cairo_line_to(cr, 754, 497);
    cairo_line_to(cr, 758, 510);
    cairo_close_path(cr);
    cairo_rectangle(cr, 756, 500, 26, 3);
    // Aft mast and a launch on its davits.
    cairo_rectangle(cr, 690, 462, 2, 34);
    cairo_rectangle(cr, 683, 470, 16, 2);
    cairo_move_to(cr, 672, 496);
    cairo_line_to(cr, 674, 488);
    cairo_line_to(cr, 700, 488);
    cairo_line_to(cr, 704, 496);
    cairo_close_path(cr);
  };

  // Smoke drifting aft from the funnel.
  Noise smoke(0x5E0CE);
  for (int i = 0; i < 18; ++i) {
    const double t = i / 17.0;
    const double x = 648 + t * 150 + smoke.Range(-6, 6);
    const double y = 462 - t * 38 + smoke.Range(-5, 5);
    cairo_arc(cr, x, y, 7 + t * 16, 0, 2 * M_PI);
    SetRgb(cr, 0x2A2A3A, 0.32 * (1 - t * 0.8));
    cairo_fill(cr);
  }

  // The dark reflection below the waterline.
  cairo_pattern_t* refl = cairo_pattern_create_linear(0, wl, 0, wl + 30);
  AddStop(refl, 0, 0x030A14, 0.6);
  AddStop(refl, 1, 0x030A14, 0);
  cairo_rectangle(cr, 452, wl, 318, 30);
  cairo_set_source(cr, refl);
  cairo_fill(cr);
  cairo_pattern_destroy(refl);

  cairo_pattern_t* body = cairo_pattern_create_linear(0, 410, 0, wl);
  AddStop(body, 0, 0x2A3448);
  AddStop(body, 0.6, 0x18202E);
  AddStop(body, 1, 0x0B111C);
  upper();
  cairo_set_source(cr, body);
  cairo_fill(cr);
  hull();
  cairo_set_source(cr, body);
  cairo_fill(cr);
  cairo_pattern_destroy(body);

  // Warm rim light on the edges facing the sun.
  cairo_set_line_width(cr, 1.2);
  upper();
  SetRgb(cr, 0xFF9A4A, 0.35);
  cairo_stroke(cr);
  cairo_move_to(cr, 404, 500);
  cairo_curve_to(cr, 430, 508, 470, 512, 520, 512);
  cairo_line_to(cr, 770, 510);
  cairo_line_to(cr, 786, 508);
  SetRgb(cr, 0xFFB060, 0.7);
  cairo_stroke(cr);
  // Guard rail along the deck: a thin line on posts.
  cairo_set_line_width(cr, 0.8);
  SetRgb(cr, 0x6B7580, 0.8);
  cairo_move_to(cr, 470, 506.5);
  cairo_line_to(cr, 776, 504.5);
  cairo_stroke(cr);
  for (double x = 470; x < 776; x += 9) {
    cairo_move_to(cr, x + 0.5, 506);
    cairo_line_to(cr, x + 0.5, 511);
  }
  cairo_stroke(cr);
  // Lit bridge windows and a red masthead light.
  for (double x = 562; x < 596; x += 6) {
    cairo_rectangle(cr, x, 466, 4, 3);
  }
  for (double x = 550; x < 610; x += 7) cairo_rectangle(cr, x, 486, 4, 3);
  SetRgb(cr, 0xFFD27A, 0.85);
  cairo_fill(cr);
  cairo_arc(cr, 578.5, 409, 1.6, 0, 2 * M_PI);
  SetRgb(cr, 0xFF3020);
  cairo_fill(cr);
  // Dark boot-topping along the waterline.
  cairo_rectangle(cr, 452, wl - 5, 318, 5);
  SetRgb(cr, 0x3A1216, 0.85);
  cairo_fill(cr);
  // Portholes.
  for (double x = 530; x < 760; x += 14) {
    cairo_arc(cr, x, 522, 1.3, 0, 2 * M_PI);
    SetRgb(cr, 0xFFD27A, 0.55);
    cairo_fill(cr);
  }

  // Bow wave and wake foam.
  Noise foam(0xF0A4);
  for (int i = 0; i < 120; ++i) {
    const bool bow = i < 60;
    const double x = bow ? foam.Range(400, 470) : foam.Range(760, 800);
    const double y = bow ? wl - 6 + foam.Range(-2, 6) - (470 - x) * 0.25 : wl - 4 + foam.Range(-3, 8);
    cairo_arc(cr, x, y, foam.Range(0.8, 2.4), 0, 2 * M_PI);
    SetRgb(cr, 0xE8F2F8, foam.Range(0.3, 0.8));
    cairo_fill(cr);
  }
  cairo_set_line_width(cr, 2);
  for (int i = 0; i < 6; ++i) {
    const double y = wl + 2 + i * 5;
    cairo_move_to(cr, 440 - i * 18, y + i * 2);
    cairo_curve_to(cr, 500, y + 1, 700, y + 1, 790, y);
    SetRgb(cr, 0xCFE3EF, 0.22 - i * 0.03);
    cairo_stroke(cr);
  }
}

// The plate that carries the main menu on the left.
void MenuPlate(cairo_t* cr) {
  SteelPanel(cr, 4, 148, 288, 378, 8, 12);
  // Engraved lines between the items.
  for (int i = 0; i + 1 < 6; ++i) {
    const double y = std::floor((kMainItems[i].Rect.B + kMainItems[i + 1].Rect.T) / 2.0);
    EngravedLine(cr, 18, 280, y);
  }
}

}  // namespace

Picture DrawScene() {
  cairo_surface_t* surface = NewCairoSurface(800, 600);
  cairo_t* cr = cairo_create(surface);
  Sky(cr);
  DistantShip(cr, 380, 0.55, 0x2A1E36);
  DistantShip(cr, 468, 0.35, 0x3A2840);
  Sea(cr);
  Warship(cr);
  MenuPlate(cr);
  cairo_destroy(cr);
  Picture p = FromCairo(surface, false, 0);
  cairo_surface_destroy(surface);
  return p;
}

}  // namespace assetgen::menu
