#pragma once
#include <cstdint>

#include "core/Rect.h"
#include "gfx/Surface.h"

namespace sf {

// Result of a blit: 0 on success, kBlitSurfaceLost when either surface is lost.
inline constexpr int32_t kBlitOk = 0;
inline constexpr int32_t kBlitSurfaceLost = -1;

// Copies the source rectangle of src to (x, y) of dst. Keyed copies skip pixels equal to the
// source's colour key. Parts outside either surface are clipped, never written.
int32_t BltFast(Surface& dst, int32_t x, int32_t y, const Surface& src, const Rect& srcRect, bool keyed);

// Copies the whole of src to (x, y) of dst.
int32_t BltFast(Surface& dst, int32_t x, int32_t y, const Surface& src, bool keyed);

// Fills the whole surface with one raw pixel value.
int32_t FillSurface(Surface& dst, uint32_t pixel);

}  // namespace sf
