// Checks of the game-screen pictures against the places where the program draws them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "Art.h"
#include "ImageSizes.h"

namespace {

using assetgen::kGameImageSizes;
using assetgen::kKey;
using assetgen::MakeGameImage;
using assetgen::Picture;

// Every game image, drawn once for all tests and looked up by slot.
struct GameImageSet {
  const std::vector<Picture>& All;
  const Picture& operator[](int k) const { return All[static_cast<size_t>(k)]; }
};
GameImageSet GameImages() {
  static const std::vector<Picture> images = [] {
    std::vector<Picture> v;
    for (int k = 0; k < 42; ++k) v.push_back(MakeGameImage(k));
    return v;
  }();
  return {images};
}

int Red(uint32_t c) { return (c >> 16) & 0xFF; }
int Green(uint32_t c) { return (c >> 8) & 0xFF; }
int Blue(uint32_t c) { return c & 0xFF; }
double Luma(uint32_t c) { return 0.3 * Red(c) + 0.59 * Green(c) + 0.11 * Blue(c); }

// True when every pixel on the outline of the rectangle is the key.
bool RingIsKey(const Picture& p, int x0, int y0, int w, int h) {
  for (int x = x0; x < x0 + w; ++x) {
    if (p.At(x, y0) != kKey || p.At(x, y0 + h - 1) != kKey) return false;
  }
  for (int y = y0; y < y0 + h; ++y) {
    if (p.At(x0, y) != kKey || p.At(x0 + w - 1, y) != kKey) return false;
  }
  return true;
}

double OpaqueShare(const Picture& p, int x0, int y0, int w, int h) {
  int opaque = 0;
  for (int y = y0; y < y0 + h; ++y) {
    for (int x = x0; x < x0 + w; ++x) opaque += p.At(x, y) != kKey;
  }
  return static_cast<double>(opaque) / (w * h);
}

TEST(GameArt, EveryPictureHasItsSlotsSizeAndOnlyKeyedOnesUseTheKey) {
  for (int k = 0; k < 42; ++k) {
    const Picture& p = GameImages()[k];
    ASSERT_EQ(p.Width, kGameImageSizes[static_cast<size_t>(k)].Width) << "image " << k;
    ASSERT_EQ(p.Height, kGameImageSizes[static_cast<size_t>(k)].Height) << "image " << k;
    ASSERT_EQ(p.Pixels.size(), static_cast<size_t>(p.Width) * static_cast<size_t>(p.Height));
    if (!assetgen::GameImageKeyed(k)) {
      for (uint32_t c : p.Pixels) ASSERT_NE(c, kKey) << "image " << k;
    }
    for (uint32_t c : p.Pixels) ASSERT_EQ(c & 0xFF000000u, 0u) << "image " << k;
  }
}

TEST(GameArt, SpritesAreSurroundedByTheKeyFrameByFrame) {
  const auto& g = GameImages();
  // Single-frame sprites: life, turrets, projectiles, bonuses, enemies other than the bomber.
  for (int k : {2, 17, 18, 19, 20, 21, 23, 24, 26, 27, 28, 29, 30, 31, 34, 35, 36, 37, 38, 39, 40, 41}) {
    const Picture& p = g[k];
    EXPECT_TRUE(RingIsKey(p, 0, 0, p.Width, p.Height)) << "image " << k;
    EXPECT_GT(OpaqueShare(p, 0, 0, p.Width, p.Height), 0.15) << "image " << k;
  }
  for (int f = 0; f < 4; ++f) {
    EXPECT_TRUE(RingIsKey(g[22], 0, 56 * f, 47, 56)) << "bomber frame " << f;
    EXPECT_GT(OpaqueShare(g[22], 0, 56 * f, 47, 56), 0.2);
  }
  for (int f = 0; f < 2; ++f) EXPECT_TRUE(RingIsKey(g[25], 38 * f, 0, 38, 103)) << "ship frame " << f;
  for (int k = 10; k <= 14; ++k) {
    for (int f = 0; f < 16; ++f) EXPECT_TRUE(RingIsKey(g[k], 64 * f, 0, 64, 64)) << "image " << k << " frame " << f;
    EXPECT_GT(OpaqueShare(g[k], 0, 0, 64, 64), 0.0) << "image " << k << " starts with something to see";
  }
}

TEST(GameArt, BomberFramesTurnTheirPropellersAndShipFramesDifferInSpray) {
  const Picture& bomber = GameImages()[22];
  for (int f = 1; f < 4; ++f) {
    int differing = 0;
    for (int y = 0; y < 56; ++y) {
      for (int x = 0; x < 47; ++x) differing += bomber.At(x, y) != bomber.At(x, 56 * f + y);
    }
    EXPECT_GT(differing, 10) << "frame " << f;
  }
  const Picture& ship = GameImages()[25];
  int differing = 0;
  for (int y = 0; y < 103; ++y) {
    for (int x = 0; x < 38; ++x) differing += ship.At(x, y) != ship.At(38 + x, y);
  }
  EXPECT_GT(differing, 20);
}

TEST(GameArt, GunsStandOnTheirPivotsAndShipsCarryThemWhereTheyLand) {
  const auto& g = GameImages();
  // Turret pivots: (6, 18), (6, 18), (9, 15); the barrel reaches up towards row 1.
  const int pivots[3][2] = {{6, 18}, {6, 18}, {9, 15}};
  for (int t = 0; t < 3; ++t) {
    const Picture& p = g[26 + t];
    EXPECT_NE(p.At(pivots[t][0], pivots[t][1]), kKey) << "turret " << t;
    EXPECT_GT(OpaqueShare(p, 0, 1, p.Width, 3), 0.0) << "turret " << t << " has a barrel at the top";
  }
  // The player's mounts at (12, 17), (12, 47), (12, 75) of both frames; the right 12 columns
  // hold at most a little spray.
  for (int f = 0; f < 2; ++f) {
    for (int y : {17, 47, 75}) EXPECT_NE(g[25].At(38 * f + 12, y), kKey);
    EXPECT_LT(OpaqueShare(g[25], 38 * f + 26, 0, 12, 103), 0.05);
  }
  // Where the enemies' guns pivot: turret offset minus the turret's pivot.
  const int mounts[5][3] = {{17, 12, 72}, {18, 16, 72}, {19, 17, 102}, {20, 20, 115}, {21, 12, 7}};
  for (const auto& m : mounts) EXPECT_NE(g[m[0]].At(m[1], m[2]), kKey) << "enemy image " << m[0];
  EXPECT_NE(g[21].At(9, 10), kKey);
}

TEST(GameArt, ProjectilesPointUpWithTheirBodyOnTheMiddleColumn) {
  const auto& g = GameImages();
  for (int k = 29; k <= 31; ++k) {
    const Picture& p = g[k];
    int opaqueRows = 0;
    for (int y = 0; y < p.Height; ++y) opaqueRows += p.At(3, y) != kKey;
    EXPECT_GT(opaqueRows, p.Height * 2 / 3) << "image " << k;
  }
  // The shell's nose (top) is narrower than its body.
  const Picture& shell = g[30];
  EXPECT_LT(OpaqueShare(shell, 0, 1, 7, 2), OpaqueShare(shell, 0, 6, 7, 2));
}

TEST(GameArt, IslandsTouchTheirPlayfieldEdgeAndLeaveTheOtherSidesClear) {
  const auto& g = GameImages();
  for (int kind = 0; kind < 4; ++kind) {
    const Picture& p = g[6 + kind];
    const bool left = kind < 2;
    const int shoreColumn = left ? 0 : p.Width - 1;
    const int farColumn = left ? p.Width - 1 : 0;
    int landRows = 0;
    for (int y = 0; y < p.Height; ++y) {
      landRows += p.At(shoreColumn, y) != kKey;
      EXPECT_EQ(p.At(farColumn, y), kKey) << "island " << kind << " row " << y;
    }
    EXPECT_GT(landRows, p.Height / 2) << "island " << kind << " has a flat shore on its side";
    for (int x = 0; x < p.Width; ++x) {
      EXPECT_EQ(p.At(x, 0), kKey);
      EXPECT_EQ(p.At(x, p.Height - 1), kKey);
    }
    // The gun's 23 x 28 picture goes at the island's centre: that ground is solid and not water.
    for (int y = p.Height / 2; y < p.Height / 2 + 28; y += 3) {
      for (int x = p.Width / 2; x < p.Width / 2 + 23; x += 3) {
        const uint32_t c = p.At(x, y);
        ASSERT_NE(c, kKey) << "island " << kind;
        EXPECT_LT(Blue(c), Red(c) + 40) << "island " << kind << " at " << x << "," << y << " looks like water";
      }
    }
  }
}

TEST(GameArt, SeaTileRepeatsWithoutSeams) {
  const Picture& sea = GameImages()[5];
  const auto diff = [](uint32_t a, uint32_t b) {
    return std::abs(Red(a) - Red(b)) + std::abs(Green(a) - Green(b)) + std::abs(Blue(a) - Blue(b));
  };
  double inner = 0, across = 0;
  for (int y = 0; y < sea.Height; ++y) {
    inner += diff(sea.At(60, y), sea.At(61, y));
    across += diff(sea.At(sea.Width - 1, y), sea.At(0, y));
  }
  EXPECT_LT(across, inner * 2 + sea.Height);
  inner = across = 0;
  for (int x = 0; x < sea.Width; ++x) {
    inner += diff(sea.At(x, 120), sea.At(x, 121));
    across += diff(sea.At(x, sea.Height - 1), sea.At(x, 0));
  }
  EXPECT_LT(across, inner * 2 + sea.Width);
  // Dusk blues: blue dominates everywhere.
  for (uint32_t c : sea.Pixels) ASSERT_GT(Blue(c), Red(c));
}

TEST(GameArt, PanelsGiveTheOrangeFiguresDarkWellsAndTheLabelsLightSteel) {
  const auto& g = GameImages();
  // Level, score (left panel) and ammunition (right panel, 682 to the left).
  EXPECT_LT(Luma(g[0].At(58, 100)), 50);
  EXPECT_LT(Luma(g[0].At(58, 220)), 50);
  EXPECT_LT(Luma(g[0].At(30, 220)), 50);
  EXPECT_LT(Luma(g[1].At(793 - 682 - 5, 370)), 50);
  EXPECT_GT(Luma(g[0].At(4, 60)), 120);  // the plate beside the "LEVEL" label
  // The health well is dark where the bar is not drawn; the weapon column lies under the cells.
  EXPECT_LT(Luma(g[1].At(708 - 682 + 14, 450)), 60);
  EXPECT_LT(Luma(g[1].At(700 - 682 + 30, 33 + 61 * 2 + 30)), 60);
  for (int k : {0, 1}) {
    for (uint32_t c : g[k].Pixels) ASSERT_NE(c, kKey) << "panel " << k << " is opaque";
  }
}

TEST(GameArt, HealthBarRunsFromRedAtTheBottomToGreenAtTheTop) {
  const Picture& bar = GameImages()[3];
  const uint32_t bottom = bar.At(14, 140), middle = bar.At(14, 72), top = bar.At(14, 2);
  EXPECT_GT(Red(bottom), 2 * Green(bottom));
  EXPECT_GT(Green(top), Red(top));
  EXPECT_GT(Red(middle), 150);
  EXPECT_GT(Green(middle), 80);
}

TEST(GameArt, WeaponCellsHaveKeyedCornersAndTheGlowingSetStandsOut) {
  const Picture& plain = GameImages()[33];
  const Picture& glowing = GameImages()[4];
  for (int w = 0; w < 5; ++w) {
    for (const Picture* p : {&plain, &glowing}) {
      EXPECT_EQ(p->At(0, 61 * w), kKey);
      EXPECT_EQ(p->At(60, 61 * w + 60), kKey);
      EXPECT_NE(p->At(30, 61 * w + 30), kKey);
    }
    double plainRed = 0, glowRed = 0;
    for (int x = 3; x < 58; ++x) {
      plainRed += Red(plain.At(x, 61 * w + 2));
      glowRed += Red(glowing.At(x, 61 * w + 2));
    }
    EXPECT_GT(glowRed, plainRed + 55 * 60) << "cell " << w << " glows orange";
  }
}

TEST(GameArt, SameBytesEveryTime) {
  for (int k : {0, 5, 6, 10, 22, 25, 34}) {
    EXPECT_EQ(MakeGameImage(k).Pixels, GameImages()[k].Pixels) << "image " << k;
  }
}

}  // namespace
