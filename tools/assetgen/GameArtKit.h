#pragma once
// Small drawing kit shared by the game-screen pictures: colours, shapes, steel plates, labels in
// the program's face, fixed-seed noise and the flattening of Cairo layers into pack pictures.
#include <cairo.h>

#include <cstdint>
#include <string_view>

#include "ImageSizes.h"
#include "Picture.h"

namespace assetgen::gameart {

// The palette: dusk sea, steel, and the program's two text colours.
inline constexpr uint32_t kSeaDeep = 0x06203A;
inline constexpr uint32_t kSeaMid = 0x0A3558;  // the matte for sprites that sit on the sea
inline constexpr uint32_t kSeaLight = 0x0D4A73;
inline constexpr uint32_t kSteelDark = 0x5B6770;
inline constexpr uint32_t kSteelLight = 0xB8C4CC;
inline constexpr uint32_t kPanelSteel = 0x9FACB5;  // the side panels' plate colour
inline constexpr uint32_t kWellDark = 0x0B1A2A;    // recessed read-outs behind orange figures
inline constexpr uint32_t kOrange = 0xFF9900;
inline constexpr uint32_t kDarkBlue = 0x003399;

// The size of game image k, which its drawing must fill exactly.
constexpr Size GameImageSize(int k) { return kGameImageSizes[static_cast<size_t>(k)]; }

// A Cairo surface with its context; both are released when it goes out of scope.
class Canvas {
 public:
  Canvas(int width, int height);
  explicit Canvas(Size size) : Canvas(size.Width, size.Height) {}
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* Cr() const { return cr_; }
  cairo_surface_t* Surface() const { return surface_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Direct pixel access (premultiplied ARGB); call Flush before and MarkDirty after writing.
  void Flush() const;
  void MarkDirty() const;
  uint32_t* Row(int y) const;
  // Writes one straight-alpha colour at (x, y), replacing what was there.
  void Put(int x, int y, uint32_t rgb, double alpha) const;

  // Keyed pictures: coverage under half becomes the key, the rest is composited over `matte`.
  Picture Finish(bool keyed, uint32_t matte) const;
  // Keyed with an ordered dither instead of a fixed threshold, so fading smoke thins out.
  Picture FinishDithered(uint32_t matte) const;

 private:
  int width_;
  int height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

// Colours.
void SetRgb(cairo_t* cr, uint32_t rgb, double alpha = 1.0);
uint32_t Mix(uint32_t a, uint32_t b, double t);  // t = 0 gives a, 1 gives b
uint32_t Scale(uint32_t rgb, double f);          // brighten (>1) or darken (<1)
void AddStop(cairo_pattern_t* p, double offset, uint32_t rgb, double alpha = 1.0);

// Shapes.
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);
void Circle(cairo_t* cr, double cx, double cy, double r);
// A domed rivet head with a highlight at its upper left.
void Rivet(cairo_t* cr, double cx, double cy, double r);
// A raised steel plate: vertical gradient, light top-left bevel, dark bottom-right bevel.
void RaisedPlate(cairo_t* cr, double x, double y, double w, double h, double r, uint32_t base);
// A sunken well: dark inner gradient with a shadowed top-left rim and a lit bottom-right rim.
void SunkenWell(cairo_t* cr, double x, double y, double w, double h, double r, uint32_t inner);

// Labels in the program's bold face: dark blue with a one-pixel orange shadow right and down.
enum class Align { Left, Centre, Right };
// Draws `text` with its character cell's top at `top` and `cellHeight` high (as the program's
// font heights are given); x is the left edge, the centre or the right edge by `align`.
void Label(cairo_t* cr, double x, double top, double cellHeight, std::string_view text, Align align);
// The advance width of `text` at that cell height.
double LabelWidth(cairo_t* cr, double cellHeight, std::string_view text);

// Fixed-seed randomness.
uint32_t Hash(int x, int y, int seed);
double Hash01(int x, int y, int seed);
// Value noise on a lattice of `cellsX` x `cellsY` cells that wraps, so a tile built from it repeats
// seamlessly; u and v run from 0 to 1 over one period.
double WrappedNoise(double u, double v, int cellsX, int cellsY, int seed);

// A small deterministic generator for placing details.
class Rng {
 public:
  explicit Rng(uint32_t seed) : state_(seed * 2654435761u + 12345u) {}
  double Next();  // 0 .. 1
  double Range(double lo, double hi) { return lo + (hi - lo) * Next(); }
  int Int(int n) { return static_cast<int>(Next() * n) % n; }  // 0 .. n - 1

 private:
  uint32_t state_;
};

}  // namespace assetgen::gameart
