#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/Music.h"

namespace sf {

// Records every call as text ("load sound/1.xm -> 1", "play 1", "free 1"); songs load unless
// their path is listed as missing; the sounding song reports the scripted order.
class FakeMusic : public Music {
 public:
  std::vector<std::string> Calls;
  std::set<std::string> MissingPaths;
  std::set<SongHandle> Loaded;
  SongHandle Playing = 0;
  int32_t Order = 0;  // what SongGetOrder answers for the sounding song

  SongHandle SongLoadFromFile(const std::string& path) override;
  void SongPlay(SongHandle song) override;
  void SongFree(SongHandle song) override;
  int32_t SongGetOrder(SongHandle song) override;

 private:
  SongHandle next_ = 1;
};

}  // namespace sf
