#pragma once
// Drawing pieces shared by the menu pictures: the scene, the steel frames, the overlays.
#include <cairo.h>

#include <cstdint>

#include "MenuArtLayout.h"
#include "MenuArtText.h"
#include "Picture.h"

namespace assetgen::menu {

// Palette of the menus.
inline constexpr uint32_t kPanelLight = 0xEEF2F4;  // top of a pale steel panel
inline constexpr uint32_t kPanelDark = 0xCFD8DE;   // bottom of a pale steel panel
inline constexpr uint32_t kPanelMid = 0xDFE6EA;    // what keyed overlays on a panel blend towards
inline constexpr uint32_t kNightSky = 0x08142C;    // top of the sky, under the title

// A small fixed-seed generator for texture noise, so every build paints the same pixels.
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed ? seed : 1u) {}
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  // Uniform in [lo, hi).
  double Range(double lo, double hi) { return lo + (hi - lo) * (Next() >> 8) / 16777216.0; }

 private:
  uint32_t state_;
};

void SetRgb(cairo_t* cr, uint32_t rgb, double alpha = 1.0);
void AddStop(cairo_pattern_t* p, double offset, uint32_t rgb, double alpha = 1.0);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void Rivet(cairo_t* cr, double x, double y, double r);

// An opaque Cairo surface holding the picture's pixels, to paint on.
cairo_surface_t* ToCairo(const Picture& p);
Picture Crop(const Picture& p, int x, int y, int w, int h);

// A pale steel panel of (x, y, w, h) with a bevelled steel rim `rim` wide, rivets and a soft shadow.
// With `accent`, an orange hairline runs along the inside of the top edge.
void SteelPanel(cairo_t* cr, double x, double y, double w, double h, double rim, double radius, bool accent = true);
// An engraved line across a pale panel.
void EngravedLine(cairo_t* cr, double x1, double x2, double y);
// A sunken field for the typed name; focused fields are darker with an orange rim.
void NameWell(cairo_t* cr, double x, double y, double w, double h, bool focused);
// A recessed, flat track under a toggle's two choices, split by a groove at x `split`.
void ChoiceTrack(cairo_t* cr, int x, int y, int w, int h, int split);
// A small raised button plate exactly covering (x, y, w, h).
void ButtonPlate(cairo_t* cr, double x, double y, double w, double h);

// The dusk naval scene with the main menu's steel plate, without labels or markers.
Picture DrawScene();
// A torpedo with its wake pointing right, its nose at `noseX`, centred on `centreY`, the wake
// starting at `tailX`.
void Torpedo(cairo_t* cr, double tailX, double noseX, double centreY);
// Keyed overlays.
Picture DrawTitle(LabelFont& font);
Picture DrawEmblem();

}  // namespace assetgen::menu
