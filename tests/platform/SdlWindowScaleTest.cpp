// How the 800 x 600 picture is scaled on a larger output: whole pixels where they fill the room,
// a filtered fit elsewhere; and, on a real X display of 3840 x 2160 in full screen, every
// picture pixel as a 3 x 3 block of the screen (the full_screen_sharp test runs it under Xvfb).
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "gfx/Surface.h"
#include "platform/sdl/SdlWindow.h"

namespace sf {
namespace {

TEST(SharpScale, TakesTheLargestWholeScaleOnlyWhileItFillsTheRoom) {
  struct Case {
    int W, H, Scale;
  };
  const Case cases[] = {
      {800, 600, 1},    // the window
      {3840, 2160, 3},  // 2400 x 1800 of a possible 2880 x 2160: 83 %
      {2560, 1440, 2},  // 1600 x 1200 of 1920 x 1440
      {1600, 1200, 2},  // exactly twice
      {1000, 700, 1},   // 800 x 600 of 933 x 700: 86 %
      {1920, 1080, 0},  // 800 x 600 of 1440 x 1080: 56 %, filtered
      {1366, 768, 0},   // 800 x 600 of 1024 x 768: 78 %, filtered
      {1000, 750, 1},   // exactly 80 %: still sharp
      {1001, 751, 0},   // just under 80 %
      {640, 480, 0},    // smaller than the picture
      {0, 600, 0},      // a window with no size yet
  };
  for (const Case& c : cases) EXPECT_EQ(SharpScale(c.W, c.H), c.Scale) << c.W << " x " << c.H;
}

// A frame whose every pixel differs from its neighbours, so any pixel drawn twice or dropped by
// the scaling shows.
Surface PatternFrame() {
  Surface frame(800, 600);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      frame.Pixels[static_cast<size_t>(y * 800 + x)] =
          static_cast<uint32_t>(((x * 7) & 0xFF) << 16 | ((y * 13) & 0xFF) << 8 | ((x + y) * 29 & 0xFF)) | 0x010101u;
    }
  }
  return frame;
}

TEST(SdlWindowFullScreen, EveryPicturePixelIsAWholeBlockWithBlackBorders) {
  const char* display = SDL_getenv("DISPLAY");
  if (!display || !*display || SDL_getenv("SALTFANG_FULL_SCREEN_TEST") == nullptr) {
    GTEST_SKIP() << "runs on an X display of 3840 x 2160 (the full_screen_sharp test starts one)";
  }
  SDL_setenv("SDL_VIDEODRIVER", "x11", 1);
  SdlWindow window;
  ASSERT_EQ(window.DesktopWidth(), 3840);
  ASSERT_EQ(window.DesktopHeight(), 2160);
  window.SetMode(false);
  const Surface frame = PatternFrame();
  // The window reaches the desktop's size once the X server has carried out the requests.
  std::vector<uint32_t> out;
  int w = 0, h = 0;
  const uint32_t deadline = SDL_GetTicks() + 10000;
  do {
    InputEvent e;
    while (window.PollEvent(e)) {
    }
    window.Present(frame);
    out = window.ReadOutput(w, h);
  } while ((w != 3840 || h != 2160) && !SDL_TICKS_PASSED(SDL_GetTicks(), deadline));
  ASSERT_EQ(w, 3840);
  ASSERT_EQ(h, 2160);

  constexpr int kScale = 3, kLeft = (3840 - 800 * kScale) / 2, kTop = (2160 - 600 * kScale) / 2;
  int wrong = 0;
  for (int y = 0; y < h && wrong < 10; ++y) {
    for (int x = 0; x < w && wrong < 10; ++x) {
      const int px = x - kLeft, py = y - kTop;
      const bool inside = px >= 0 && py >= 0 && px < 800 * kScale && py < 600 * kScale;
      const uint32_t want = inside ? frame.At(px / kScale, py / kScale) : 0u;
      const uint32_t got = out[static_cast<size_t>(y * w + x)] & 0xFFFFFFu;
      if (got != want) {
        ADD_FAILURE() << "screen pixel (" << x << ", " << y << ") is " << std::hex << got << ", not " << want;
        ++wrong;
      }
    }
  }
  EXPECT_EQ(wrong, 0);

  // Back in the window the picture is the frame itself.
  window.SetMode(true);
  const uint32_t windowDeadline = SDL_GetTicks() + 10000;
  do {
    InputEvent e;
    while (window.PollEvent(e)) {
    }
    window.Present(frame);
    out = window.ReadOutput(w, h);
  } while ((w != 800 || h != 600) && !SDL_TICKS_PASSED(SDL_GetTicks(), windowDeadline));
  ASSERT_EQ(w, 800);
  ASSERT_EQ(h, 600);
  size_t differ = 0;
  for (size_t i = 0; i < out.size(); ++i) differ += (out[i] & 0xFFFFFFu) != frame.Pixels[i];
  EXPECT_EQ(differ, 0u);
}

}  // namespace
}  // namespace sf
