#pragma once
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "platform/Music.h"
#include "platform/sdl/SdlSoundDevice.h"

namespace sf {

// XM music: libxmp renders the sounding song into SDL2_mixer's music hook on the audio thread.
// The hook and every change of the sounding song take our own lock (the mixer's lock is not
// reachable from outside), and the order position crosses threads through an atomic, so the main
// thread reads it without waiting for the mixer. Songs load and play also without a device; they
// are then never rendered and their order stays 0.
class SdlMusic : public Music {
 public:
  explicit SdlMusic(SdlSoundDevice& device);
  ~SdlMusic() override;
  SdlMusic(const SdlMusic&) = delete;
  SdlMusic& operator=(const SdlMusic&) = delete;

  SongHandle SongLoadFromFile(const std::string& path) override;
  void SongPlay(SongHandle song) override;
  void SongFree(SongHandle song) override;
  int32_t SongGetOrder(SongHandle song) override;

  // Fills one buffer of 16-bit samples in the device format with the sounding song (silence when
  // none sounds) and publishes its order. Called by the music hook; tests call it directly.
  void Render(uint8_t* stream, int bytes);

 private:
  using Context = char*;  // libxmp's xmp_context

  void Stop(SongHandle song);

  SdlSoundDevice& device_;
  bool hooked_ = false;
  std::map<SongHandle, Context> songs_;  // main thread only
  SongHandle nextHandle_ = 1;

  std::mutex lock_;             // held by Render and by every change of what Render plays
  Context sounding_ = nullptr;  // guarded by lock_
  std::atomic<SongHandle> soundingHandle_{0};
  std::atomic<int32_t> order_{0};
};

}  // namespace sf
