#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "ScoreStore.h"

namespace sf::scores {

// One line of the old data file: time, score, name and player name separated by tabs (names in
// the game's single-byte code page, stored as UTF-8). Nothing when the line is malformed.
std::optional<StoredResult> ParseOldLine(std::string_view line);

struct ImportCount {
  int64_t Added = 0;
  int64_t Skipped = 0;  // malformed lines
};

// Brings every well-formed line of the old file into the store, in batches; throws
// std::runtime_error when the file cannot be read.
ImportCount ImportTextFile(ScoreStore& store, const std::filesystem::path& file);

}  // namespace sf::scores
