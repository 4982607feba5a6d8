#include "FormFixture.h"
#include "platform/SystemTick.h"

namespace sf::testing {
namespace {

// A clock whose tick follows the 64 Hz system tick of a microsecond counter the test moves.
class SystemTickClock : public Clock {
 public:
  uint32_t TickCount() override { return TickMillisecondsAt(micros, 1000000); }
  uint64_t PerformanceCounter() override { return micros; }
  uint64_t PerformanceFrequency() override { return 1000000; }
  void Sleep(uint32_t ms) override { micros += ms * 1000ull; }
  uint32_t MsUntilNextTick() override { return MillisecondsToNextTick(micros, 1000000); }
  uint64_t micros = 0;
};

TEST(SystemTick, MovesInSixtyFourthsOfASecond) {
  EXPECT_EQ(TickMillisecondsAt(0, 1000000), 0u);
  EXPECT_EQ(TickMillisecondsAt(15624, 1000000), 0u);
  EXPECT_EQ(TickMillisecondsAt(15625, 1000000), 15u);
  EXPECT_EQ(TickMillisecondsAt(31250, 1000000), 31u);
  EXPECT_EQ(TickMillisecondsAt(1000000, 1000000), 1000u);
  EXPECT_EQ(MillisecondsToNextTick(0, 1000000), 16u);
  EXPECT_EQ(MillisecondsToNextTick(15000, 1000000), 1u);
  // After 2^32 ms the tick wraps like GetTickCount.
  EXPECT_GT(TickMillisecondsAt(4294967296ull * 1000 - 20000, 1000000), 4294967200u);
  EXPECT_LT(TickMillisecondsAt(4294967296ull * 1000 + 1000000, 1000000), 1000u);
}

TEST(SystemTick, TheFrameLoopDrawsAboutSixtyFourFramesASecond) {
  FakePlatform fake;
  SystemTickClock clock;  // in place of the fake's manual clock
  FakeWindow& window = fake.window;
  Platform platform{window, window, clock, fake.shell, fake.sound, fake.music, fake.http};
  const TForm1::Files files = FormFixture::GameFiles(std::filesystem::temp_directory_path() / "saltfang_pacing.cfg");
  TForm1 form(platform, files);
  form.FormCreate();
  const int start = window.Presents;
  // Passes every 100 us for two seconds, as an idle loop would run them.
  for (int pass = 0; pass < 20000; ++pass) {
    clock.micros += 100;
    form.FrameStep();
  }
  const int perSecond = (window.Presents - start) / 2;
  EXPECT_GE(perSecond, 63);
  EXPECT_LE(perSecond, 65);
  std::filesystem::remove(files.Config);
}

}  // namespace
}  // namespace sf::testing
