#include "platform/sdl/SdlClock.h"

#include <SDL.h>

#include "platform/SystemTick.h"

namespace sf {

SdlClock::SdlClock() : start_(SDL_GetPerformanceCounter()), frequency_(SDL_GetPerformanceFrequency()) {
  if (frequency_ == 0) frequency_ = 1000;
}

uint32_t SdlClock::TickCount() { return TickMillisecondsAt(SDL_GetPerformanceCounter() - start_, frequency_); }

uint64_t SdlClock::PerformanceCounter() { return SDL_GetPerformanceCounter(); }

uint64_t SdlClock::PerformanceFrequency() { return frequency_; }

void SdlClock::Sleep(uint32_t ms) { SDL_Delay(ms); }

uint32_t SdlClock::MsUntilNextTick() {
  return MillisecondsToNextTick(SDL_GetPerformanceCounter() - start_, frequency_);
}

}  // namespace sf
