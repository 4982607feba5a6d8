#include "ui/Paint.h"

#include "core/Colour.h"
#include "gfx/Blit.h"
#include "gfx/DrawOps.h"
#include "gfx/ImageSets.h"

namespace sf {

void BlitMenuImage(MenuHost& host, Surface& target, int k, int32_t x, int32_t y) {
  if (k < 0 || k >= kMenuImageCount) return;
  const auto& slot = host.Images().MenuImages[static_cast<size_t>(k)];
  if (!slot) return;
  BltFast(target, x, y, *slot, true);
}

void DrawUnderline(Surface& target, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const int32_t top = y1 < y2 ? y1 : y2;
  const int32_t bottom = y1 < y2 ? y2 : y1;
  FillBar(x1, top, x2 - x1, bottom - top + 1, kNormalColour, target);
}

}  // namespace sf
