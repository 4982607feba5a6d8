#include "CairoPicture.h"

namespace assetgen {

cairo_surface_t* NewCairoSurface(int width, int height) {
  return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
}

Picture FromCairo(cairo_surface_t* surface, bool keyed, uint32_t matte) {
  cairo_surface_flush(surface);
  const int w = cairo_image_surface_get_width(surface);
  const int h = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  Picture out(w, h);
  const uint32_t mr = (matte >> 16) & 0xFF, mg = (matte >> 8) & 0xFF, mb = matte & 0xFF;
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * static_cast<size_t>(stride));
    for (int x = 0; x < w; ++x) {
      const uint32_t p = row[x];  // premultiplied ARGB
      const uint32_t a = p >> 24;
      if (keyed && a < 128) {
        out.At(x, y) = kKey;
        continue;
      }
      const uint32_t r = ((p >> 16) & 0xFF) + mr * (255 - a) / 255;
      const uint32_t g = ((p >> 8) & 0xFF) + mg * (255 - a) / 255;
      const uint32_t b = (p & 0xFF) + mb * (255 - a) / 255;
      uint32_t v = ((r > 255 ? 255 : r) << 16) | ((g > 255 ? 255 : g) << 8) | (b > 255 ? 255 : b);
      if (v == kKey) v = 0xFE00FE;  // an opaque pixel must never read as transparent
      out.At(x, y) = v;
    }
  }
  return out;
}

}  // namespace assetgen
