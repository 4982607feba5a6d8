#include "options/HighScores.h"

#include <utility>

#include "options/Settings.h"

namespace sf {

HighScores::HighScores() { ResetHighScores(*this); }

void ResetHighScores(HighScores& table) {
  for (size_t i = 0; i < kHighScoreCount; ++i) {
    table[i].Name = "Anonymous";
    table[i].Score = 1000 - 100 * static_cast<int32_t>(i);
  }
}

void SortHighScores(HighScores& table) {
  for (size_t i = 0; i < kHighScoreCount; ++i) {
    for (size_t j = kHighScoreCount - 1; j > i; --j) {
      if (table[j - 1].Score < table[j].Score) std::swap(table[j - 1], table[j]);
    }
  }
}

size_t InsertHighScore(HighScores& table, std::string_view name, int32_t score) {
  size_t at = kHighScoreCount - 1;
  table[at].Name = std::string(name.substr(0, kMaxNameLength));
  table[at].Score = score;
  // The same bubbling as SortHighScores, following the new entry so its place can be reported.
  for (size_t i = 0; i < kHighScoreCount; ++i) {
    for (size_t j = kHighScoreCount - 1; j > i; --j) {
      if (table[j - 1].Score < table[j].Score) {
        std::swap(table[j - 1], table[j]);
        if (at == j)
          at = j - 1;
        else if (at == j - 1)
          at = j;
      }
    }
  }
  return at;
}

}  // namespace sf
