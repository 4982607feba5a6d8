#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace sf::scores {

struct StoredResult {
  int64_t Time = 0;  // seconds since 1970, UTC
  int32_t Score = 0;
  std::string Name;
  std::string PlayerName;
};

// The results the service has accepted, kept in a text file of one line each:
// time, score, name and player name separated by tabs (names never hold control characters).
class ScoreStore {
 public:
  // Reads the results already in the file; lines that do not parse are skipped.
  explicit ScoreStore(std::filesystem::path file);

  // Appends one result to the file and keeps it; false (and nothing kept) when it cannot be written.
  bool Add(const StoredResult& result);

  // The best n results, highest score first; among equal scores the earlier one first.
  std::vector<StoredResult> Best(size_t n) const;
  const std::vector<StoredResult>& All() const { return results_; }

 private:
  std::filesystem::path file_;
  std::vector<StoredResult> results_;
};

}  // namespace sf::scores
