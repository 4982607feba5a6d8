#include "audio/Audio.h"

#include <algorithm>
#include <utility>

namespace sf {

Audio::Audio(Sound& sound, Music& music, std::string musicFolder, std::span<const EmbeddedWave> waves,
             const std::function<void()>& afterEachWave)
    : music_(music), musicFolder_(std::move(musicFolder)), waves_(sound, waves, afterEachWave) {}

void Audio::PlaySoundAt(int32_t x, int32_t y, int soundIndex) {
  if (!soundOn_ || soundIndex < 0 || soundIndex >= kSoundCount) return;
  WaveItem& item = waves_.Item(soundIndex);
  // Screen positions stay well inside the ranges; the clamp only keeps far off-screen positions
  // (and arithmetic on extreme values) from producing values the device would refuse.
  item.Pan = static_cast<int32_t>(std::clamp<int64_t>((int64_t{x} - 400) * 10, -10000, 10000));
  item.Volume = static_cast<int32_t>(std::clamp<int64_t>(int64_t{y} - 800, -10000, 0));
  waves_.Play(soundIndex);
}

void Audio::StartMusic(const std::string& name) {
  if (currentSong_ != 0) music_.SongFree(currentSong_);
  currentSong_ = music_.SongLoadFromFile(musicFolder_ + name);
  lastSongOrder_ = 0;
  if (currentSong_ != 0) music_.SongPlay(currentSong_);
}

void Audio::StopMusic() {
  if (currentSong_ != 0) music_.SongFree(currentSong_);
  currentSong_ = 0;
  lastSongOrder_ = 0;
}

void Audio::MusicTick(const char* screenTrack, bool musicOn) {
  if (!musicOn || currentSong_ == 0) return;
  const int32_t order = music_.SongGetOrder(currentSong_);
  if (order == 0 && lastSongOrder_ != 0) {
    if (screenTrack != nullptr) {
      StartMusic(screenTrack);
      return;
    }
  }
  lastSongOrder_ = order;
}

}  // namespace sf
