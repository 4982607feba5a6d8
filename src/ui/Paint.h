#pragma once
#include <cstdint>

#include "gfx/Surface.h"
#include "ui/MenuHost.h"

namespace sf {

// Keyed copy of the whole menu image k with its top-left at (x, y). An image slot that is empty
// (images not loaded yet, or a reload that failed) draws nothing.
void BlitMenuImage(MenuHost& host, Surface& target, int k, int32_t x, int32_t y);

// The 2-pixel underline under a highlighted item: the outline of (x1, y1, x2, y2) drawn with a
// 2-pixel pen, which for a rectangle one pixel high is a solid bar over rows y1 and y2.
void DrawUnderline(Surface& target, int32_t x1, int32_t y1, int32_t x2, int32_t y2);

}  // namespace sf
