#pragma once
#include <cairo.h>

#include <cstdint>

#include "Picture.h"

namespace assetgen {

// A Cairo ARGB32 drawing surface of the given size, cleared to transparent.
cairo_surface_t* NewCairoSurface(int width, int height);

// Flattens a Cairo ARGB32 surface into a pack picture. Opaque pictures are composited over
// `matte`. Keyed pictures turn pixels under half coverage into the magenta key and composite the
// rest over `matte` (the colour the sprite will sit on), so edges never blend towards magenta.
Picture FromCairo(cairo_surface_t* surface, bool keyed, uint32_t matte);

}  // namespace assetgen
