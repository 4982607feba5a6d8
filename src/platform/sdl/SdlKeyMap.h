#pragma once
#include <SDL.h>

#include <cstdint>

namespace sf {

// DirectInput scan code of an SDL scancode (the key-state array's numbering); 0 when unmapped.
uint8_t DirectInputScanCode(SDL_Scancode scancode);

// A key Windows has no code for (its layouts' "no key" value); still a key press.
inline constexpr uint16_t kVkNoCode = 0xFF;

// Windows virtual-key code of an SDL key (what key events carry), as the layout labels the key;
// mod's Num Lock decides between the keypad's digits and its navigation keys. Never 0: a key
// without a code of its own gives kVkNoCode.
uint16_t VirtualKeyCode(SDL_Keycode key, SDL_Scancode scancode, Uint16 mod = KMOD_NONE);

}  // namespace sf
