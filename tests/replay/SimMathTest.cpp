#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>

#include "game/SimMath.h"

namespace sf::simmath {
namespace {

// Largest difference from the C library over evenly spread arguments, in absolute terms.
template <typename Ours, typename Library>
double WorstError(Ours ours, Library library, double from, double to, int samples) {
  double worst = 0;
  for (int i = 0; i <= samples; ++i) {
    const double x = from + (to - from) * i / samples;
    worst = std::max(worst, std::fabs(ours(x) - library(x)));
  }
  return worst;
}

TEST(SimMath, SineAndCosineFollowTheLibraryWithinAFewUlps) {
  const auto sin = [](double x) { return Sin(x); };
  const auto cos = [](double x) { return Cos(x); };
  const auto libSin = [](double x) { return std::sin(x); };
  const auto libCos = [](double x) { return std::cos(x); };
  // The game's angles (headings, turret angles plus a quarter turn) and the floating scores'
  // arguments (a screen row over ten, which can go far below zero).
  EXPECT_LT(WorstError(sin, libSin, -7.0, 7.0, 200001), 4e-16);
  EXPECT_LT(WorstError(cos, libCos, -7.0, 7.0, 200001), 4e-16);
  EXPECT_LT(WorstError(sin, libSin, -3300.0, 3300.0, 200001), 1e-15);
  EXPECT_LT(WorstError(cos, libCos, -3300.0, 3300.0, 200001), 1e-15);
  // Quadrant edges, where the reduction changes its choice.
  for (int k = -8; k <= 8; ++k) {
    for (double d : {-1e-12, 0.0, 1e-12}) {
      const double x = k * 0.78539816339744830962 + d;
      EXPECT_NEAR(Sin(x), std::sin(x), 4e-16) << x;
      EXPECT_NEAR(Cos(x), std::cos(x), 4e-16) << x;
    }
  }
  EXPECT_EQ(Sin(0.0), 0.0);
  EXPECT_EQ(Cos(0.0), 1.0);
  EXPECT_TRUE(std::isnan(Sin(std::numeric_limits<double>::infinity())));
  EXPECT_TRUE(std::isnan(Cos(std::numeric_limits<double>::quiet_NaN())));
}

TEST(SimMath, ArcTangentFollowsTheLibraryOverEveryRange) {
  const auto atan = [](double x) { return Atan(x); };
  const auto libAtan = [](double x) { return std::atan(x); };
  EXPECT_LT(WorstError(atan, libAtan, -3.0, 3.0, 200001), 4e-16);
  EXPECT_LT(WorstError(atan, libAtan, -2000.0, 2000.0, 200001), 4e-16);
  // Each side of the reduction points, and the ends.
  for (double x : {0.41421356237309503, 0.414213562373095, 0.4142135623730951, 2.414213562373095, 2.4142135623730954,
                   1.0, 1e-300, 1e300}) {
    EXPECT_NEAR(Atan(x), std::atan(x), 4e-16) << x;
    EXPECT_EQ(Atan(-x), -Atan(x));
  }
  EXPECT_EQ(Atan(std::numeric_limits<double>::infinity()), std::atan(std::numeric_limits<double>::infinity()));
  EXPECT_TRUE(std::isnan(Atan(std::numeric_limits<double>::quiet_NaN())));
}

TEST(SimMath, RoundingTakesHalvesToEvenWhateverTheRoundingMode) {
  const int saved = std::fegetround();
  for (int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
    std::fesetround(mode);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(2.4999999999999996), 2);
    EXPECT_EQ(RoundHalfEven(-0.7), -1);
    EXPECT_EQ(RoundHalfEven(1e10), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(RoundHalfEven(-1e10), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
  }
  std::fesetround(saved);
  // The same as the library in its default mode.
  for (double v = -40.0; v <= 40.0; v += 0.125) EXPECT_EQ(RoundHalfEven(v), static_cast<int32_t>(std::nearbyint(v)));
}

// The simulation library is built with contraction off: a fused multiply-add there would make
// recorded games play back differently on builds that do not fuse.
TEST(SimMath, TheSimulationRoundsEveryProductBeforeItsSum) { EXPECT_TRUE(ProductsRoundBeforeSums()); }

}  // namespace
}  // namespace sf::simmath
