#pragma once
#include <cstddef>

namespace sf {

// The ten sound effects compiled into the program, in SoundId order ("CheckMenu", "Win", "Loose",
// "Shot", "Snarad", "Bomba", "Expl", "Vert", "Hit", "Bonus"); each is a complete RIFF WAVE file.
// The definition is generated at build time by the asset generator.
struct EmbeddedWave {
  const char* Name;
  const unsigned char* Data;
  size_t Size;
};
extern const EmbeddedWave kEmbeddedWaves[10];

}  // namespace sf
