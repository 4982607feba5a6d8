#pragma once
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "audio/WaveList.h"
#include "platform/Music.h"
#include "platform/Sound.h"
#include "waves/EmbeddedWaves.h"

namespace sf {

// The program's sound: effects placed by screen position, and the music track with its rules.
// Everything is called from the main thread.
class Audio {
 public:
  // Loads the ten effects into the sound device. Music tracks are read from musicFolder ("sound/"
  // relative to the working directory unless the program was installed). afterEachWave, when
  // given, runs between the loads.
  Audio(Sound& sound, Music& music, std::string musicFolder = "sound/",
        std::span<const EmbeddedWave> waves = kEmbeddedWaves, const std::function<void()>& afterEachWave = {});

  // The sound setting: when off, PlaySoundAt does nothing at all.
  void SetSoundOn(bool on) { soundOn_ = on; }
  bool SoundOn() const { return soundOn_; }

  // Plays a sound effect once: pan follows x (-4000 at the left edge, 4000 at the right), volume
  // follows y (-800 at the top, -200 at the bottom, full at y 800). Off-screen positions are held
  // to the device's ranges; an unknown index plays nothing.
  void PlaySoundAt(int32_t x, int32_t y, int soundIndex);

  // Frees the current song, loads the music folder's track name and plays it from its start. A track that
  // cannot be loaded leaves no song and no message.
  void StartMusic(const std::string& name);
  // Frees the current song, if any.
  void StopMusic();
  // The music check run before each frame: when the loaded song has come round to its first
  // order again, the track that belongs to the screen shown (screenTrack, "1.xm" on the menu
  // screens, "2.xm" in the game, nullptr where none belongs) is loaded and started. Acts only
  // while music is on and a song is loaded.
  void MusicTick(const char* screenTrack, bool musicOn);

  SongHandle CurrentSong() const { return currentSong_; }
  int32_t LastSongOrder() const { return lastSongOrder_; }
  const WaveList& Waves() const { return waves_; }

 private:
  Music& music_;
  std::string musicFolder_;
  WaveList waves_;
  bool soundOn_ = true;
  SongHandle currentSong_ = 0;
  int32_t lastSongOrder_ = 0;
};

}  // namespace sf
