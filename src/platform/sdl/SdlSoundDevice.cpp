#include "platform/sdl/SdlSoundDevice.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace sf {

SdlSoundDevice::SdlSoundDevice(bool openDevice) {
  if (!openDevice) return;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
  subsystem_ = true;
  // No allowed changes: SDL converts to whatever the hardware wants, so the music hook and the
  // effects always see exactly this format.
  if (Mix_OpenAudioDevice(rate_, AUDIO_S16SYS, channels_, 1024, nullptr, 0) != 0) return;
  open_ = true;
}

SdlSoundDevice::~SdlSoundDevice() {
  if (open_) Mix_CloseAudio();
  if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace sf
