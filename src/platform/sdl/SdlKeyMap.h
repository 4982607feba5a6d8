#pragma once
#include <SDL.h>

#include <cstdint>

namespace sf {

// DirectInput scan code of an SDL scancode (the key-state array's numbering); 0 when unmapped.
uint8_t DirectInputScanCode(SDL_Scancode scancode);

// Windows virtual-key code of an SDL key (what key events carry); 0 when unmapped.
uint16_t VirtualKeyCode(SDL_Keycode key, SDL_Scancode scancode);

}  // namespace sf
