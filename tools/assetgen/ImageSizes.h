#pragma once
// The pack's picture sizes belong to the program (layout/ImageSizes.h); the generator draws every
// picture at exactly that size.
#include "layout/ImageSizes.h"

namespace assetgen {

using Size = sf::ImageSize;
using sf::GameImageKeyed;
using sf::kGameImageSizes;
using sf::kMenuImageSizes;
using sf::MenuImageKeyed;

}  // namespace assetgen
