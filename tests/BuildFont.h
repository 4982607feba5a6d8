#pragma once
#include <filesystem>
#include <stdexcept>
#include <string>

namespace sf::testing {

// The face the build puts beside the game (game/font.ttf), so tests measure and draw exactly the
// program's text; a build without it fails the test with this message instead of testing another face.
inline std::string BuildFontPath() {
  const std::string path = std::string(SALTFANG_GAME_DIR) + "/font.ttf";
  if (!std::filesystem::exists(path)) throw std::runtime_error("the build has no font: " + path);
  return path;
}

}  // namespace sf::testing
