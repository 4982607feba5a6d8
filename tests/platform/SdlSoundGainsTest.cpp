#include <gtest/gtest.h>

#include <cmath>

#include "platform/sdl/SdlSoundGains.h"

namespace sf {
namespace {

double Db(double hundredths) { return std::pow(10.0, hundredths / 2000.0); }

TEST(AudioGains, DirectSoundVolumeAndPanGiveChannelGains) {
  struct Case {
    int32_t volume, pan;
    double left, right;
  };
  const Case cases[] = {
      {0, 0, 1.0, 1.0},
      {-10000, 0, Db(-10000), Db(-10000)},
      {0, -10000, 1.0, Db(-10000)},        // left only
      {0, 10000, Db(-10000), 1.0},         // right only
      {-800, -4000, Db(-800), Db(-4800)},  // the top left corner of the screen
      {-200, 4000, Db(-4200), Db(-200)},   // the bottom right corner
      {0, -2173, 1.0, Db(-2173)},          // one channel stays at the volume
      {-600, 0, 0.501187, 0.501187},       // 6 dB is a factor of about one half
      {-2000, 0, 0.1, 0.1},
  };
  for (const Case& c : cases) {
    const ChannelGains g = DirectSoundGains(c.volume, c.pan);
    EXPECT_NEAR(g.Left, c.left, 1e-6) << c.volume << " " << c.pan;
    EXPECT_NEAR(g.Right, c.right, 1e-6) << c.volume << " " << c.pan;
  }
}

TEST(AudioGains, OutOfRangeValuesAreHeldToTheRanges) {
  const ChannelGains loud = DirectSoundGains(700, 0);
  EXPECT_DOUBLE_EQ(loud.Left, 1.0);
  EXPECT_DOUBLE_EQ(loud.Right, 1.0);
  const ChannelGains far = DirectSoundGains(-30000, 25000);
  EXPECT_NEAR(far.Left, Db(-20000), 1e-12);
  EXPECT_NEAR(far.Right, Db(-10000), 1e-12);
  const ChannelGains extreme = DirectSoundGains(INT32_MIN, INT32_MIN);
  EXPECT_GE(extreme.Left, 0.0);
  EXPECT_LT(extreme.Right, 1e-9);
}

TEST(AudioGains, MixerPanningRoundsToTheMixersSteps) {
  struct Case {
    int32_t volume, pan;
    int left, right;
  };
  const Case cases[] = {
      {0, 0, 255, 255},    {-2000, 0, 26, 26}, {0, -4000, 255, 3}, {0, 4000, 3, 255},
      {-800, 0, 102, 102}, {-10000, 0, 0, 0},  {0, 10000, 0, 255}, {-600, -600, 128, 64},
  };
  for (const Case& c : cases) {
    const MixerPanning p = MixerPanningFor(c.volume, c.pan);
    EXPECT_EQ(p.Left, c.left) << c.volume << " " << c.pan;
    EXPECT_EQ(p.Right, c.right) << c.volume << " " << c.pan;
  }
}

}  // namespace
}  // namespace sf
