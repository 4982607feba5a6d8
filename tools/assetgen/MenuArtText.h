#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "Picture.h"

typedef struct _cairo cairo_t;

namespace assetgen {

// The menu's two theme colours as 0x00RRGGBB.
inline constexpr uint32_t kMenuOrange = 0xFF9900;
inline constexpr uint32_t kMenuBlue = 0x003399;

// Where a picture lies on the 800 x 600 screen: labels are placed in screen pixels, so the same
// call paints the same pixels into the background and into a cut-out highlight copy.
struct Origin {
  int X = 0;
  int Y = 0;
};

// Ink extent of a string relative to the top-left of its character cell.
struct InkBox {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
};

// The menu labels, drawn by the program's own text renderer (the Tahoma-compatible bold at a cell
// height and an average character width), so painted labels and program text look the same.
// Anti-aliased glyphs blend onto the picture's pixels, so labels sit on whatever is under them.
class LabelFont {
 public:
  // Opens the bold face; throws std::runtime_error when no usable font file exists.
  LabelFont();
  ~LabelFont();
  LabelFont(const LabelFont&) = delete;
  LabelFont& operator=(const LabelFont&) = delete;

  static std::string FontPath();

  // The string with its one-pixel shadow right and down: orange labels get a dark-blue shadow,
  // dark-blue labels an orange one, exactly like the program's shadowed text.
  void DrawShadowLabel(Picture& target, Origin origin, int x, int y, int height, int width, std::string_view text,
                       bool highlight);
  // The string alone in one colour.
  void Draw(Picture& target, Origin origin, int x, int y, int height, int width, std::string_view text, uint32_t rgb);

  int Advance(int height, int width, std::string_view text);
  InkBox Ink(int height, int width, std::string_view text);
  // Distance from the top of the cell to the baseline.
  int Ascent(int height);

  // Adds the outlines of the string to the current Cairo path, starting at (x, baseline), with an
  // em of sizeX pixels across and sizeY pixels up (large display lettering such as the title).
  void AppendPath(cairo_t* cr, double x, double baseline, double sizeX, double sizeY, std::string_view text);
  // Advance of the string in pixels at that em size.
  double PathAdvance(double sizeX, std::string_view text);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace assetgen
