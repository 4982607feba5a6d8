#pragma once

namespace sf {

// The sound device shared by the effects and the music: SDL's audio subsystem and the mixer,
// opened at 44.1 kHz, 16-bit stereo. When no device can be opened it stays closed and everything
// built on it is silent; nothing is reported.
class SdlSoundDevice {
 public:
  // openDevice false builds a closed device without touching SDL (for machines and tests that
  // must stay silent).
  explicit SdlSoundDevice(bool openDevice = true);
  ~SdlSoundDevice();
  SdlSoundDevice(const SdlSoundDevice&) = delete;
  SdlSoundDevice& operator=(const SdlSoundDevice&) = delete;

  bool Open() const { return open_; }
  // The output format the mixer runs at (the requested one while closed).
  int Rate() const { return rate_; }
  int Channels() const { return channels_; }

 private:
  bool subsystem_ = false;
  bool open_ = false;
  int rate_ = 44100;
  int channels_ = 2;
};

}  // namespace sf
