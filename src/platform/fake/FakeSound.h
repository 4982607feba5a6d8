#pragma once
#include <cstdint>
#include <vector>

#include "platform/Sound.h"

namespace sf {

// Records every call. A voice plays from PlayVoice until the test finishes it or stops it.
class FakeSound : public Sound {
 public:
  struct Play {
    int Voice;
    int Wave;
    int32_t Pan;
    int32_t Volume;
  };

  bool Device = true;             // false: behaves as a machine without a sound device
  std::vector<size_t> WaveSizes;  // per loaded wave, its size in bytes
  std::vector<int> VoiceWave;     // per voice, its wave
  std::vector<bool> Playing;      // per voice
  std::vector<Play> Plays;        // every PlayVoice, in order
  std::vector<int> Stops;         // every StopVoice, in order

  bool Available() const override { return Device; }
  // Accepts only a well-formed RIFF WAVE file holding PCM data, as the real device does.
  int LoadWave(const uint8_t* data, size_t size) override;
  int CreateVoice(int wave) override;
  void PlayVoice(int voice, int32_t pan, int32_t volume) override;
  bool VoicePlaying(int voice) const override;
  void StopVoice(int voice) override;

  // The voice reaches the end of its wave.
  void Finish(int voice);
  void FinishAll();
};

}  // namespace sf
