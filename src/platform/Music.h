#pragma once
#include <cstdint>
#include <string>

namespace sf {

// A tracker-module player holding songs by handle. One song sounds at a time; playback runs in
// the background and loops the song.
using SongHandle = uint32_t;  // 0 = no song

class Music {
 public:
  virtual ~Music() = default;
  // Loads an XM module; 0 when the file is missing or cannot be read as a module.
  virtual SongHandle SongLoadFromFile(const std::string& path) = 0;
  // Starts the song from its beginning (stopping any other) and returns at once.
  virtual void SongPlay(SongHandle song) = 0;
  // Stops the song if it sounds and releases it. Handle 0 or an unknown handle is ignored.
  virtual void SongFree(SongHandle song) = 0;
  // The song's position in its pattern order list; 0 at the start and for a song not sounding.
  virtual int32_t SongGetOrder(SongHandle song) = 0;
};

}  // namespace sf
