#include "platform/fake/FakeMusic.h"

namespace sf {

SongHandle FakeMusic::SongLoadFromFile(const std::string& path) {
  SongHandle song = 0;
  if (!MissingPaths.contains(path)) {
    song = next_++;
    Loaded.insert(song);
  }
  Calls.push_back("load " + path + " -> " + std::to_string(song));
  return song;
}

void FakeMusic::SongPlay(SongHandle song) {
  Calls.push_back("play " + std::to_string(song));
  if (Loaded.contains(song)) {
    Playing = song;
    Order = 0;
  }
}

void FakeMusic::SongFree(SongHandle song) {
  Calls.push_back("free " + std::to_string(song));
  Loaded.erase(song);
  if (Playing == song) Playing = 0;
}

int32_t FakeMusic::SongGetOrder(SongHandle song) { return song != 0 && song == Playing ? Order : 0; }

}  // namespace sf
