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
  EXPECT_EQ(VirtualKeyCode(SDLK_KP_0, SDL_SCANCODE_KP_0, KMOD_NUM), 96);
  EXPECT_EQ(VirtualKeyCode(SDLK_KP_9, SDL_SCANCODE_KP_9, KMOD_NUM), 105);
  EXPECT_EQ(VirtualKeyCode(SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS), 107);
  EXPECT_EQ(VirtualKeyCode(SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON), 186);
  EXPECT_EQ(VirtualKeyCode(SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE), 222);
  EXPECT_EQ(VirtualKeyCode(SDLK_LGUI, SDL_SCANCODE_LGUI), 91);
  EXPECT_EQ(VirtualKeyCode(SDLK_F12, SDL_SCANCODE_F12), vkF12);
  EXPECT_EQ(VirtualKeyCode(SDLK_RETURN, SDL_SCANCODE_RETURN), vkReturn);
  EXPECT_EQ(VirtualKeyCode(SDLK_LEFT, SDL_SCANCODE_LEFT), vkLeft);
}

bool IsLetterCode(uint16_t vk) { return vk >= 'A' && vk <= 'Z'; }

TEST(KeyMap, PunctuationOnALetterKeyOfTheUsLayoutGivesItsOemCodeNeverTheLetter) {
  // AZERTY's bottom row: "," sits on the US "M", then ";" ":" "!"; its "m" sits on the US ";".
  EXPECT_EQ(VirtualKeyCode(SDLK_COMMA, SDL_SCANCODE_M), 188);
  EXPECT_EQ(VirtualKeyCode(SDLK_m, SDL_SCANCODE_SEMICOLON), 'M');
  const struct {
    SDL_Keycode Key;
    SDL_Scancode Place;
  } others[] = {
      {SDLK_SEMICOLON, SDL_SCANCODE_COMMA},
      {SDLK_COLON, SDL_SCANCODE_PERIOD},
      {SDLK_EXCLAIM, SDL_SCANCODE_SLASH},
      {SDLK_RIGHTPAREN, SDL_SCANCODE_MINUS},
      {SDLK_DOLLAR, SDL_SCANCODE_RIGHTBRACKET},
      {SDLK_ASTERISK, SDL_SCANCODE_BACKSLASH},
      {0xF9 /* u grave */, SDL_SCANCODE_APOSTROPHE},
      {0xB2 /* superscript two */, SDL_SCANCODE_GRAVE},
      {SDLK_LESS, SDL_SCANCODE_NONUSBACKSLASH},
      {SDLK_PLUS, SDL_SCANCODE_RIGHTBRACKET},
  };
  for (const auto& k : others) {
    const uint16_t vk = VirtualKeyCode(k.Key, k.Place);
    EXPECT_GE(vk, 186) << SDL_GetKeyName(k.Key) << " gets one of the OEM codes";
    EXPECT_FALSE(IsLetterCode(vk)) << SDL_GetKeyName(k.Key);
  }
  EXPECT_EQ(VirtualKeyCode(SDLK_PLUS, SDL_SCANCODE_RIGHTBRACKET), 187) << "the \"+\" key everywhere";
  // A layout without Latin letters still gives the letter of the key's place, as Windows does.
  EXPECT_EQ(VirtualKeyCode(0x0444 /* Cyrillic ef */, SDL_SCANCODE_A), 'A');
}

TEST(KeyMap, TheKeypadGivesNavigationCodesWithNumLockOffAndDigitsWithItOn) {
  const struct {
    SDL_Keycode Key;
    SDL_Scancode Place;
    uint16_t Off;
    uint16_t On;
  } pad[] = {
      {SDLK_KP_8, SDL_SCANCODE_KP_8, vkUp, 104},   {SDLK_KP_2, SDL_SCANCODE_KP_2, vkDown, 98},
      {SDLK_KP_4, SDL_SCANCODE_KP_4, vkLeft, 100}, {SDLK_KP_6, SDL_SCANCODE_KP_6, vkRight, 102},
      {SDLK_KP_7, SDL_SCANCODE_KP_7, 36, 103},     {SDLK_KP_1, SDL_SCANCODE_KP_1, 35, 97},
      {SDLK_KP_9, SDL_SCANCODE_KP_9, 33, 105},     {SDLK_KP_3, SDL_SCANCODE_KP_3, 34, 99},
      {SDLK_KP_0, SDL_SCANCODE_KP_0, 45, 96},      {SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, 46, 110},
      {SDLK_KP_5, SDL_SCANCODE_KP_5, 12, 101},
  };
  for (const auto& k : pad) {
    EXPECT_EQ(VirtualKeyCode(k.Key, k.Place, KMOD_NONE), k.Off) << SDL_GetScancodeName(k.Place);
    EXPECT_EQ(VirtualKeyCode(k.Key, k.Place, KMOD_SHIFT), k.Off) << SDL_GetScancodeName(k.Place);
    EXPECT_EQ(VirtualKeyCode(k.Key, k.Place, KMOD_NUM), k.On) << SDL_GetScancodeName(k.Place);
  }
  EXPECT_EQ(VirtualKeyCode(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, KMOD_NONE), vkReturn);
  EXPECT_EQ(VirtualKeyCode(SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, KMOD_NONE), 107) << "not affected by Num Lock";
}

TEST(KeyMap, AKeyWithoutACodeOfItsOwnStillGivesAKeyCode) {
  EXPECT_NE(VirtualKeyCode(SDLK_AUDIOMUTE, SDL_SCANCODE_AUDIOMUTE), 0);
  EXPECT_NE(VirtualKeyCode(SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN), 0);
  EXPECT_FALSE(IsLetterCode(VirtualKeyCode(SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN)));
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
