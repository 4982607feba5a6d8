#include "PngWriter.h"

#include <cairo.h>

#include <cstring>

bool WritePng(const sf::Surface& surface, const std::string& path) {
  if (surface.Empty()) return false;
  cairo_surface_t* img = cairo_image_surface_create(CAIRO_FORMAT_RGB24, surface.Width, surface.Height);
  cairo_surface_flush(img);
  unsigned char* data = cairo_image_surface_get_data(img);
  const int stride = cairo_image_surface_get_stride(img);
  for (int y = 0; y < surface.Height; ++y) {
    std::memcpy(data + static_cast<size_t>(y) * static_cast<size_t>(stride), surface.Row(y),
                static_cast<size_t>(surface.Width) * 4);
  }
  cairo_surface_mark_dirty(img);
  const bool ok = cairo_surface_write_to_png(img, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(img);
  return ok;
}
