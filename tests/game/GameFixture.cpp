#include "GameFixture.h"

#include "BuildFont.h"
#include "layout/ImageSizes.h"

namespace sf::testing {

uint32_t GameImageColour(int k) { return 0x102030u + static_cast<uint32_t>(k) * 0x030507u; }
uint32_t MenuImageColour(int k) { return 0x204060u + static_cast<uint32_t>(k) * 0x050301u; }

const ImageSets& TestImages() {
  static const ImageSets images = [] {
    ImageSets set;
    for (int k = 0; k < 42; ++k) {
      const auto size = kGameImageSizes[static_cast<size_t>(k)];
      set.GameImages[static_cast<size_t>(k)] = std::make_unique<Surface>(size.Width, size.Height, GameImageColour(k));
    }
    for (int k = 42; k < kGameImageCount; ++k) {
      const auto size = kGameImageSizes[static_cast<size_t>(k - 20)];
      set.GameImages[static_cast<size_t>(k)] = std::make_unique<Surface>(size.Width, size.Height, GameImageColour(k));
    }
    for (int k = 0; k < kMenuImageCount; ++k) {
      const auto size = kMenuImageSizes[static_cast<size_t>(k)];
      set.MenuImages[static_cast<size_t>(k)] = std::make_unique<Surface>(size.Width, size.Height, MenuImageColour(k));
    }
    return set;
  }();
  return images;
}

TextRenderer& TestText() {
  static TextRenderer text(BuildFontPath());
  return text;
}

}  // namespace sf::testing
