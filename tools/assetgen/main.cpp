// Builds every asset of the game, deterministically: the image pack, the music modules and the
// source file that compiles the sound effects into the program. With --icons it draws the
// program's icons instead, so the game's data never depends on them.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string_view>

#include "AppIcon.h"
#include "Art.h"
#include "ImageSizes.h"
#include "PackWriter.h"

namespace {

void CheckSize(const assetgen::Picture& p, assetgen::Size s, const char* set, int k) {
  if (p.Width != s.Width || p.Height != s.Height ||
      p.Pixels.size() != static_cast<size_t>(s.Width) * static_cast<size_t>(s.Height)) {
    throw std::runtime_error(std::string(set) + " image " + std::to_string(k) + " has the wrong size");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr,
                 "usage: assetgen <game folder> <generated waves .cpp>\n"
                 "       assetgen --icons <icon folder>   (the web page's in <icon folder>/web)\n");
    return 2;
  }
  try {
    if (std::string_view(argv[1]) == "--icons") {
      assetgen::WriteAppIcons(argv[2]);
      assetgen::WriteWebIcons(std::string(argv[2]) + "/web");
      return 0;
    }
    namespace fs = std::filesystem;
    const fs::path game = argv[1];
    fs::create_directories(game / "Data");
    fs::create_directories(game / "sound");

    std::vector<std::vector<uint8_t>> bitmaps;
    for (int k = 0; k < 42; ++k) {
      const assetgen::Picture p = assetgen::MakeGameImage(k);
      CheckSize(p, assetgen::kGameImageSizes[static_cast<size_t>(k)], "game", k);
      bitmaps.push_back(assetgen::EncodeBmp24(p));
    }
    for (int k = 0; k < 34; ++k) {
      const assetgen::Picture p = assetgen::MakeMenuImage(k);
      CheckSize(p, assetgen::kMenuImageSizes[static_cast<size_t>(k)], "menu", k);
      bitmaps.push_back(assetgen::EncodeBmp24(p));
    }
    assetgen::WriteFile((game / "Data" / "Data.pp").string(), assetgen::EncodePack(bitmaps));
    assetgen::WriteFile((game / "sound" / "1.xm").string(), assetgen::MakeMusicModule(1));
    assetgen::WriteFile((game / "sound" / "2.xm").string(), assetgen::MakeMusicModule(2));

    std::vector<std::vector<uint8_t>> waves;
    for (int i = 0; i < 10; ++i) waves.push_back(assetgen::MakeSoundWave(i));
    const std::string src = assetgen::EmbeddedWavesSource(waves, assetgen::kSoundNames);
    std::ofstream out(argv[2], std::ios::trunc);
    out << src;
    if (!out) throw std::runtime_error(std::string("cannot write ") + argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "assetgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
