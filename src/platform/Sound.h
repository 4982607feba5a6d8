#pragma once
#include <cstddef>
#include <cstdint>

namespace sf {

// The sound-effect device: waves loaded once, and voices that each play one wave. Pan and volume
// are in DirectSound units: volume in hundredths of a decibel (0 = full, -10000 = silence), pan
// from -10000 (left only) to 10000 (right only), attenuating the opposite channel by |pan|
// hundredths of a decibel. Without a sound device every call is accepted and nothing sounds.
class Sound {
 public:
  virtual ~Sound() = default;
  // False when no sound device could be opened; the caller then plays nothing.
  virtual bool Available() const = 0;
  // Loads a complete RIFF WAVE file from memory; the wave's handle, or -1 when it cannot be used.
  virtual int LoadWave(const uint8_t* data, size_t size) = 0;
  // A new voice (a copy of the wave's buffer) for a loaded wave; its handle, or -1.
  virtual int CreateVoice(int wave) = 0;
  // Stops the voice, rewinds it, sets pan and volume and plays it once from the start.
  virtual void PlayVoice(int voice, int32_t pan, int32_t volume) = 0;
  virtual bool VoicePlaying(int voice) const = 0;
  virtual void StopVoice(int voice) = 0;
};

}  // namespace sf
