#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace sf {

// Names are typed into a ten-letter field; longer stored names are shortened to this on load.
inline constexpr size_t kMaxNameLength = 10;
// F12: the virtual-key code that minimises the program until the player picks another.
inline constexpr int32_t kDefaultMinimizeKey = 123;

// The player's settings, alive for the whole run and kept in "Config.cfg".
struct Settings {
  bool Windowed = true;
  bool SoundOn = true;
  bool MusicOn = true;
  int32_t MinimizeKey = kDefaultMinimizeKey;  // a virtual-key code, 0 to 255 after loading
  std::string PlayerName;                     // sent with online results
  bool operator==(const Settings&) const = default;
};

}  // namespace sf
