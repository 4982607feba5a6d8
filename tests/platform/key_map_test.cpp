#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/Input.h"
#include "platform/sdl/SdlKeyMap.h"

namespace sf {
namespace {

TEST(KeyMap, EventsCarryTheWindowsCodesTheKeyTablesUse) {
  EXPECT_EQ(VirtualKeyCode(SDLK_q, SDL_SCANCODE_Q), 'Q');
  EXPECT_EQ(VirtualKeyCode(SDLK_a, SDL_SCANCODE_Q), 'A') << "letters follow the layout (AZERTY)";
  EXPECT_EQ(VirtualKeyCode(SDLK_AMPERSAND, SDL_SCANCODE_1), '1') << "the digit row gives its digit";
  EXPECT_EQ(VirtualKeyCode(SDLK_0, SDL_SCANCODE_0), '0');
  EXPECT_EQ(VirtualKeyCode(SDLK_LSHIFT, SDL_SCANCODE_LSHIFT), 16);
  EXPECT_EQ(VirtualKeyCode(SDLK_RCTRL, SDL_SCANCODE_RCTRL), 17);
  EXPECT_EQ(VirtualKeyCode(SDLK_LALT, SDL_SCANCODE_LALT), 18);
  EXPECT_EQ(VirtualKeyCode(SDLK_KP_0, SDL_SCANCODE_KP_0), 96);
  EXPECT_EQ(VirtualKeyCode(SDLK_KP_9, SDL_SCANCODE_KP_9), 105);
  EXPECT_EQ(VirtualKeyCode(SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS), 107);
  EXPECT_EQ(VirtualKeyCode(SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON), 186);
  EXPECT_EQ(VirtualKeyCode(SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE), 222);
  EXPECT_EQ(VirtualKeyCode(SDLK_LGUI, SDL_SCANCODE_LGUI), 91);
  EXPECT_EQ(VirtualKeyCode(SDLK_F12, SDL_SCANCODE_F12), vkF12);
  EXPECT_EQ(VirtualKeyCode(SDLK_RETURN, SDL_SCANCODE_RETURN), vkReturn);
  EXPECT_EQ(VirtualKeyCode(SDLK_LEFT, SDL_SCANCODE_LEFT), vkLeft);
}

TEST(KeyMap, TheKeyStateArrayUsesDirectInputNumbers) {
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_LEFT), kScanLeft);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_RIGHT), kScanRight);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_UP), kScanUp);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_DOWN), kScanDown);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_LCTRL), kScanLeftCtrl);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_RCTRL), kScanRightCtrl);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_Q), 16);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_A), 30);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_M), 50);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_ESCAPE), 1);
  EXPECT_EQ(DirectInputScanCode(SDL_SCANCODE_0), 11);
}

}  // namespace
}  // namespace sf
