#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "options/HighScores.h"
#include "options/Settings.h"

namespace sf {

// "Config.cfg": three flag bytes (Windowed, MusicOn, SoundOn: 1 or 0), the low byte of the minimise
// key, the player name, then the ten entries from the best (name, then the score as 4 bytes,
// little-endian). No header; 145 bytes with the defaults.

// One string record: a length byte, then each character's code with all eight bits inverted.
// A text over 255 characters is written as its first 255, so the length byte stays true.
void WriteCfgString(std::string& out, std::string_view text);
// Reads one string record at pos and moves pos past it. When the bytes end before the record does,
// returns false and leaves pos and text as they were.
bool ReadCfgString(std::string_view bytes, size_t& pos, std::string& text);

std::string EncodeConfig(const Settings& settings, const HighScores& table);
// Starts from the defaults and takes every field the bytes hold in full: a short file keeps what it
// has and the rest stays default. Names are shortened to kMaxNameLength and the table is sorted
// (a no-op for any file this program wrote). Returns true when every field was present.
bool DecodeConfig(std::string_view bytes, Settings& settings, HighScores& table);

struct ConfigLoadResult {
  bool Existed = false;   // false: first start; the default table and the settings were written
  bool Complete = false;  // every field came from the file
  bool Written = true;    // false: on a first start, the file could not be written
};

// Reads the file. A missing file is a first start: the table is reset and written together with
// the settings passed in (the defaults at start-up). An unreadable or short file is not an error:
// what could be read is kept and the rest takes its default.
ConfigLoadResult LoadConfig(const std::filesystem::path& path, Settings& settings, HighScores& table);

// Writes a complete new file beside the old one and renames it over it, so the old file stays
// whole when anything fails. Returns false (and leaves the old file) when the file could not be
// written. A missing file is simply created; nothing in memory changes.
bool SaveConfig(const std::filesystem::path& path, const Settings& settings, const HighScores& table);

}  // namespace sf
