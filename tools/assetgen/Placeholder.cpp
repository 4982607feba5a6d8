#include "Art.h"

namespace assetgen {

Picture PlaceholderPicture(int width, int height, bool keyed, uint32_t colour) {
  Picture p(width, height, keyed ? kKey : colour);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool edge = x == 0 || y == 0 || x == width - 1 || y == height - 1;
      if (edge) p.At(x, y) = 0xB8C4CC;
      else if (keyed && (x + y) % 4 == 0) p.At(x, y) = colour;
    }
  }
  return p;
}

}  // namespace assetgen
