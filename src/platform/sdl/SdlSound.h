#pragma once
#include <vector>

#include "platform/Sound.h"
#include "platform/sdl/SdlSoundDevice.h"

struct Mix_Chunk;

namespace sf {

// Effects on SDL2_mixer: a wave is a mixer chunk, and every voice owns one mixer channel, so a
// voice can be restarted or asked whether it still plays. Silent when the device is closed.
class SdlSound : public Sound {
 public:
  explicit SdlSound(SdlSoundDevice& device);
  ~SdlSound() override;
  SdlSound(const SdlSound&) = delete;
  SdlSound& operator=(const SdlSound&) = delete;

  bool Available() const override { return device_.Open(); }
  int LoadWave(const uint8_t* data, size_t size) override;
  int CreateVoice(int wave) override;
  void PlayVoice(int voice, int32_t pan, int32_t volume) override;
  bool VoicePlaying(int voice) const override;
  void StopVoice(int voice) override;

 private:
  bool ValidVoice(int voice) const;

  SdlSoundDevice& device_;
  std::vector<Mix_Chunk*> waves_;
  std::vector<int> voiceWave_;  // voice v plays on mixer channel v
};

}  // namespace sf
