// SDL's events as the program receives them, on SDL's dummy video driver.
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gfx/Surface.h"
#include "platform/Input.h"
#include "platform/sdl/SdlWindow.h"

namespace sf {
namespace {

class SdlWindowEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    window = std::make_unique<SdlWindow>();
    window->SetMode(true);
    Drain();
  }
  // Every translated event waiting, of the kinds the test looks at.
  std::vector<InputEvent> Drain() {
    std::vector<InputEvent> events;
    InputEvent e;
    for (int i = 0; i < 1000 && window->PollEvent(e); ++i) {
      if (e.Kind == InputEvent::KeyDown || e.Kind == InputEvent::WheelUp || e.Kind == InputEvent::WheelDown) {
        events.push_back(e);
      }
    }
    return events;
  }
  static void PushWheel(int32_t notches) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = notches;
    e.wheel.preciseY = static_cast<float>(notches);
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
  }
  static void PushKey(SDL_Keycode key, SDL_Scancode place, Uint16 mod) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = place;
    e.key.keysym.mod = mod;
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
  }
  std::unique_ptr<SdlWindow> window;
};

TEST_F(SdlWindowEvents, EveryWheelNotchIsAnEventOfItsOwn) {
  PushWheel(3);
  PushWheel(-2);
  PushKey(SDLK_p, SDL_SCANCODE_P, KMOD_NONE);
  const std::vector<InputEvent> events = Drain();
  ASSERT_EQ(events.size(), 6u);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(events[i].Kind, InputEvent::WheelUp) << i;
  for (size_t i = 3; i < 5; ++i) EXPECT_EQ(events[i].Kind, InputEvent::WheelDown) << i;
  EXPECT_EQ(events[5].Kind, InputEvent::KeyDown) << "later events keep their place";
  MouseState mouse;
  ASSERT_TRUE(window->GetMouseState(mouse));
  EXPECT_EQ(mouse.Z, 120) << "the game's wheel axis moves by 120 a notch";
}

TEST_F(SdlWindowEvents, KeysArriveWithTheLayoutsCodesAndNoKeyIsLost) {
  PushKey(SDLK_COMMA, SDL_SCANCODE_M, KMOD_NONE);          // AZERTY ","
  PushKey(SDLK_KP_8, SDL_SCANCODE_KP_8, KMOD_NONE);        // keypad 8, Num Lock off
  PushKey(SDLK_KP_8, SDL_SCANCODE_KP_8, KMOD_NUM);         // keypad 8, Num Lock on
  PushKey(SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, KMOD_NONE);  // a key SDL cannot name
  PushKey(SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);
  const std::vector<InputEvent> events = Drain();
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[0].Key, 188);
  EXPECT_EQ(events[1].Key, vkUp);
  EXPECT_EQ(events[2].Key, 104);
  EXPECT_NE(events[3].Key, 0) << "still a key press";
  EXPECT_EQ(events[4].Key, vkReturn);
  EXPECT_TRUE(events[4].Alt);
}

TEST_F(SdlWindowEvents, ATouchPressWaitsForTheFrameThatFollowsTheFinger) {
  // A finger lands: SDL moves the pointer there and presses in the same breath.
  const auto push = [](Uint32 type, Uint32 which, int32_t x, int32_t y) {
    SDL_Event e{};
    e.type = type;
    if (type == SDL_MOUSEMOTION) {
      e.motion.which = which;
      e.motion.x = x;
      e.motion.y = y;
    } else {
      e.button.which = which;
      e.button.button = SDL_BUTTON_LEFT;
      e.button.state = SDL_PRESSED;
      e.button.x = x;
      e.button.y = y;
    }
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
  };
  const auto kinds = [this] {
    std::vector<InputEvent::Type> seen;
    InputEvent e;
    for (int i = 0; i < 1000 && window->PollEvent(e); ++i) {
      if (e.Kind == InputEvent::MouseMove || e.Kind == InputEvent::MouseDown) seen.push_back(e.Kind);
    }
    return seen;
  };
  const Surface frame(800, 600);
  window->Present(frame);
  push(SDL_MOUSEMOTION, SDL_TOUCH_MOUSEID, 300, 200);
  push(SDL_MOUSEBUTTONDOWN, SDL_TOUCH_MOUSEID, 300, 200);
  EXPECT_EQ(kinds(), std::vector<InputEvent::Type>{InputEvent::MouseMove});
  EXPECT_TRUE(kinds().empty()) << "no frame yet: the press still waits";
  window->Present(frame);
  EXPECT_EQ(kinds(), std::vector<InputEvent::Type>{InputEvent::MouseDown});

  // The mouse's own press comes at once.
  push(SDL_MOUSEMOTION, 0, 100, 100);
  push(SDL_MOUSEBUTTONDOWN, 0, 100, 100);
  EXPECT_EQ(kinds(), (std::vector<InputEvent::Type>{InputEvent::MouseMove, InputEvent::MouseDown}));
}

}  // namespace
}  // namespace sf
