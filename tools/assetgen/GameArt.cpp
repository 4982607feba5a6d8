#include "Art.h"
#include "ImageSizes.h"

namespace assetgen {

Picture MakeGameImage(int k) {
  const Size s = kGameImageSizes[k];
  return PlaceholderPicture(s.Width, s.Height, GameImageKeyed(k), 0x5B6770);
}

}  // namespace assetgen
