#include "Art.h"
#include "ImageSizes.h"

namespace assetgen {

Picture MakeMenuImage(int k) {
  const Size s = kMenuImageSizes[k];
  return PlaceholderPicture(s.Width, s.Height, MenuImageKeyed(k), 0x0D4A73);
}

}  // namespace assetgen
