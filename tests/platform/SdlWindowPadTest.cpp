// The real window on SDL's dummy video driver, with SDL's virtual joystick as a game pad.
#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/Input.h"
#include "platform/sdl/SdlWindow.h"

namespace sf {
namespace {

std::vector<InputEvent> Drain(SdlWindow& window) {
  std::vector<InputEvent> events;
  InputEvent e;
  for (int i = 0; i < 1000 && window.PollEvent(e); ++i) events.push_back(e);
  return events;
}

bool HasKey(const std::vector<InputEvent>& events, uint16_t vk) {
  for (const InputEvent& e : events) {
    if (e.Kind == InputEvent::KeyDown && e.Key == vk) return true;
  }
  return false;
}

class SdlWindowPad : public ::testing::Test {
 protected:
  void SetUp() override {
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    window = std::make_unique<SdlWindow>();
    window->SetMode(true);
  }
  std::unique_ptr<SdlWindow> window;
};

TEST_F(SdlWindowPad, OpensWithoutAnyPad) {
  Drain(*window);
  EXPECT_EQ(window->ConnectedPads(), 0);
  Surface frame(800, 600, 0x123456);
  window->Present(frame);  // presenting on the software path works without a screen
}

TEST_F(SdlWindowPad, AVirtualPadIsOpenedPlaysAndIsReleasedWhenUnplugged) {
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                              SDL_CONTROLLER_BUTTON_MAX, 0);
  ASSERT_GE(index, 0) << SDL_GetError();
  SDL_Joystick* joystick = SDL_JoystickOpen(index);
  ASSERT_NE(joystick, nullptr) << SDL_GetError();
  Drain(*window);
  ASSERT_EQ(window->ConnectedPads(), 1) << "the virtual pad is a game controller";

  SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_A, 1);
  SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, -32000);
  SDL_JoystickUpdate();
  const auto events = Drain(*window);
  EXPECT_TRUE(HasKey(events, vkReturn));
  EXPECT_TRUE(HasKey(events, vkLeft));
  uint8_t keys[256] = {};
  ASSERT_TRUE(window->GetKeyboardState(keys));
  EXPECT_EQ(keys[kScanLeftCtrl], 0x80);
  EXPECT_EQ(keys[kScanLeft], 0x80);

  SDL_JoystickClose(joystick);
  SDL_JoystickDetachVirtual(index);
  Drain(*window);
  EXPECT_EQ(window->ConnectedPads(), 0);
  uint8_t after[256] = {};
  window->GetKeyboardState(after);
  EXPECT_EQ(after[kScanLeftCtrl], 0) << "no stuck fire after unplugging";
  EXPECT_EQ(after[kScanLeft], 0);
}

}  // namespace
}  // namespace sf
