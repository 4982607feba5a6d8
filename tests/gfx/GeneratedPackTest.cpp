// The pack the build generates: every one of its 76 entries is a valid bitmap of the size its
// role needs, and the colour key appears exactly where pictures are drawn keyed.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/Colour.h"
#include "gfx/ImageSets.h"
#include "layout/ImageSizes.h"

namespace sf {
namespace {

const std::string kPack = std::string(SALTFANG_GAME_DIR) + "/Data/Data.pp";

bool HasKey(const Surface& s) { return std::find(s.Pixels.begin(), s.Pixels.end(), kColourKey) != s.Pixels.end(); }

TEST(GeneratedPack, EveryEntryDecodesWithItsSizeAndKey) {
  for (int entry = 0; entry < kPackEntryCount; ++entry) {
    SCOPED_TRACE("entry " + std::to_string(entry));
    const auto image = LoadPackImage(kPack, static_cast<uint8_t>(entry));
    ASSERT_NE(image, nullptr);
    const bool game = entry < 42;
    const int k = game ? entry : entry - 42;
    const ImageSize size = game ? kGameImageSizes[static_cast<size_t>(k)] : kMenuImageSizes[static_cast<size_t>(k)];
    EXPECT_EQ(image->Width, size.Width);
    EXPECT_EQ(image->Height, size.Height);
    const bool keyed = game ? GameImageKeyed(k) : MenuImageKeyed(k);
    if (!keyed) {
      EXPECT_FALSE(HasKey(*image)) << "a picture drawn without the key has a magenta pixel";
    }
  }
  EXPECT_THROW(LoadPackImage(kPack, kPackEntryCount), PackError) << "the pack holds exactly 76 entries";
}

TEST(GeneratedPack, SpritesAndOverlaysAreCutOutWithTheKey) {
  // Sprites drawn over the sea, the title overlay and the about picture.
  const int gameSprites[] = {2, 6, 7, 8, 9, 10, 14, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 34, 41};
  for (int k : gameSprites) EXPECT_TRUE(HasKey(*LoadPackImage(kPack, static_cast<uint8_t>(k)))) << "game image " << k;
  for (int k : {20, 29}) EXPECT_TRUE(HasKey(*LoadPackImage(kPack, static_cast<uint8_t>(42 + k)))) << "menu image " << k;
}

}  // namespace
}  // namespace sf
