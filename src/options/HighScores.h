#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sf {

inline constexpr size_t kHighScoreCount = 10;

struct HighScoreEntry {
  std::string Name;
  int32_t Score = 0;
  bool operator==(const HighScoreEntry&) const = default;
};

// The ten best results, index 0 the best. Sorted by score, highest first; among equal scores the
// entry that was there first stays above. A new table holds the defaults.
struct HighScores {
  HighScores();

  HighScoreEntry& operator[](size_t i) { return Entries[i]; }
  const HighScoreEntry& operator[](size_t i) const { return Entries[i]; }

  std::array<HighScoreEntry, kHighScoreCount> Entries;
  bool operator==(const HighScores&) const = default;
};

// The default table: "Anonymous" ten times with 1000, 900, ..., 100.
void ResetHighScores(HighScores& table);

// Sorts by bubbling towards the top; equal scores are never swapped, so the order among them stays.
void SortHighScores(HighScores& table);

// Replaces the tenth entry with the result and bubbles it up; a result equal to an existing score
// lands below it. The name is shortened to the name field's length. Returns the result's index.
// The caller has checked that the score beats the tenth entry and saves the file afterwards.
size_t InsertHighScore(HighScores& table, std::string_view name, int32_t score);

}  // namespace sf
