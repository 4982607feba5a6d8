#pragma once
#include <cstdint>

#include "core/Rect.h"
#include "gfx/Surface.h"

namespace sf {

// The colour-keyed sprite blit, clipped to x 0..799 and y 0..597 of the screen.
int32_t DrawClipped(const Surface& src, Surface& dst, Rect srcRect, int16_t x, int16_t y);

// Per-pixel rotation of the top-left w x h region of src about (cx, cy) by angle (radians),
// written into the playfield x 118..682, y 0..598 of dst: source pixel (k, r) goes to
// (x - (rx + cx), y - (ry + cy)) with (rx, ry) the offset from the centre turned by angle,
// rounded half to even, and is written again one pixel below (or right) to fill gaps.
int32_t DrawRotated(const Surface& src, Surface& dst, int32_t cx, int32_t cy, long double angle, uint16_t w, uint16_t h,
                    uint16_t x, uint16_t y);

// dst(k, r) = src(k, h - 1 - r) over dst's size.
void MirrorVertical(const Surface& src, Surface& dst);

// Fills [left, left + width) x [top, top + height) with a GDI colour value.
int32_t FillBar(int32_t left, int32_t top, int32_t width, int32_t height, uint32_t gdiColour, Surface& dst);

// True when left < x < right and top < y < bottom (strict on all four edges).
inline bool PointInRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x, int32_t y) {
  return left < x && x < right && top < y && y < bottom;
}

}  // namespace sf
