#pragma once
#include <cstdint>
#include <vector>

#include "Picture.h"

namespace assetgen {

// Each returns the finished picture of its slot, of exactly the size in layout/ImageSizes.h.
Picture MakeGameImage(int k);  // game image k = pack entry k, 0..41
Picture MakeMenuImage(int k);  // menu image k = pack entry 42 + k, 0..33

// The ten sound effects in SoundId order, each a complete RIFF WAVE file (8-bit mono PCM).
std::vector<uint8_t> MakeSoundWave(int id);
extern const char* const kSoundNames[10];

// The music modules: 1 for "1.xm" (menus), 2 for "2.xm" (game); complete XM files.
std::vector<uint8_t> MakeMusicModule(int number);

}  // namespace assetgen
