#include "platform/sdl/SdlSound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <climits>

#include "platform/sdl/SdlSoundGains.h"

namespace sf {

SdlSound::SdlSound(SdlSoundDevice& device) : device_(device) {
  if (device_.Open()) Mix_AllocateChannels(0);
}

SdlSound::~SdlSound() {
  if (!device_.Open()) return;
  Mix_HaltChannel(-1);
  Mix_AllocateChannels(0);
  for (Mix_Chunk* chunk : waves_) Mix_FreeChunk(chunk);
}

int SdlSound::LoadWave(const uint8_t* data, size_t size) {
  if (!device_.Open() || data == nullptr || size == 0 || size > INT_MAX) return -1;
  SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
  if (rw == nullptr) return -1;
  // The chunk is converted to the device format here, once; the source memory is not kept.
  Mix_Chunk* chunk = Mix_LoadWAV_RW(rw, 1);
  if (chunk == nullptr) return -1;
  waves_.push_back(chunk);
  return static_cast<int>(waves_.size()) - 1;
}

int SdlSound::CreateVoice(int wave) {
  if (!device_.Open() || wave < 0 || static_cast<size_t>(wave) >= waves_.size()) return -1;
  const int voice = static_cast<int>(voiceWave_.size());
  // Growing the channel table keeps the channels that play.
  if (Mix_AllocateChannels(voice + 1) != voice + 1) return -1;
  voiceWave_.push_back(wave);
  return voice;
}

bool SdlSound::ValidVoice(int voice) const {
  return device_.Open() && voice >= 0 && static_cast<size_t>(voice) < voiceWave_.size();
}

void SdlSound::PlayVoice(int voice, int32_t pan, int32_t volume) {
  if (!ValidVoice(voice)) return;
  // Halting first matters: the mixer drops a channel's effects (the panning among them) when it
  // stops, so pan and volume are set on the halted channel and playback starts afterwards.
  Mix_HaltChannel(voice);
  const MixerPanning p = MixerPanningFor(volume, pan);
  Mix_Volume(voice, MIX_MAX_VOLUME);
  Mix_SetPanning(voice, p.Left, p.Right);
  Mix_PlayChannel(voice, waves_[static_cast<size_t>(voiceWave_[static_cast<size_t>(voice)])], 0);
}

bool SdlSound::VoicePlaying(int voice) const { return ValidVoice(voice) && Mix_Playing(voice) != 0; }

void SdlSound::StopVoice(int voice) {
  if (ValidVoice(voice)) Mix_HaltChannel(voice);
}

}  // namespace sf
