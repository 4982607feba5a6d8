#include <stdexcept>
#include <string>

#include "Art.h"
#include "MusicArtThemes.h"
#include "XmWriter.h"

namespace assetgen {

std::vector<uint8_t> MakeMusicModule(int number) {
  switch (number) {
    case 1: return xm::WriteXm(music::ComposeMenuTheme());
    case 2: return xm::WriteXm(music::ComposeGameTheme());
    default: throw std::out_of_range("no music module " + std::to_string(number));
  }
}

}  // namespace assetgen
