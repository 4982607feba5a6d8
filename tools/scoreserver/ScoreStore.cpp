#include "ScoreStore.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string_view>

#include "ResultRecord.h"

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

namespace sf::scores {

namespace {

constexpr size_t kMaxLoadedLines = 1000000;

template <typename T>
std::optional<T> ParseNumber(std::string_view text) {
  T value{};
  if (text.empty()) return std::nullopt;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<StoredResult> ParseLine(std::string_view line) {
  std::string_view parts[4];
  for (size_t i = 0; i < 4; ++i) {
    const size_t tab = line.find('\t');
    if ((tab == std::string_view::npos) != (i == 3)) return std::nullopt;
    parts[i] = line.substr(0, tab);
    line.remove_prefix(tab == std::string_view::npos ? line.size() : tab + 1);
  }
  const auto time = ParseNumber<int64_t>(parts[0]);
  const auto score = ParseNumber<int32_t>(parts[1]);
  if (!time || !score || !IsStorableName(parts[2]) || !IsStorableName(parts[3])) return std::nullopt;
  return StoredResult{*time, *score, std::string(parts[2]), std::string(parts[3])};
}

}  // namespace

ScoreStore::ScoreStore(std::filesystem::path file) : file_(std::move(file)) {
  std::ifstream in(file_, std::ios::binary);
  std::string line;
  for (size_t n = 0; n < kMaxLoadedLines && std::getline(in, line); ++n) {
    if (auto result = ParseLine(line)) results_.push_back(std::move(*result));
  }
}

bool ScoreStore::Add(const StoredResult& result) {
  if (!IsStorableName(result.Name) || !IsStorableName(result.PlayerName)) return false;
  std::string line = std::to_string(result.Time) + '\t' + std::to_string(result.Score) + '\t' + result.Name + '\t' +
                     result.PlayerName + '\n';
  std::FILE* f = std::fopen(file_.string().c_str(), "ab");
  if (!f) return false;
  bool ok = std::fwrite(line.data(), 1, line.size(), f) == line.size();
  ok = std::fflush(f) == 0 && ok;
#if defined(__unix__) || defined(__APPLE__)
  ok = ::fsync(::fileno(f)) == 0 && ok;
#endif
  ok = std::fclose(f) == 0 && ok;
  if (!ok) return false;
  results_.push_back(result);
  return true;
}

std::vector<StoredResult> ScoreStore::Best(size_t n) const {
  std::vector<StoredResult> best = results_;
  std::stable_sort(best.begin(), best.end(),
                   [](const StoredResult& a, const StoredResult& b) { return a.Score > b.Score; });
  if (best.size() > n) best.resize(n);
  return best;
}

}  // namespace sf::scores
