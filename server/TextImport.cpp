#include "TextImport.h"

#include <charconv>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "ResultRecord.h"
#include "Text.h"

namespace sf::scores {

namespace {
template <typename T>
std::optional<T> ParseNumber(std::string_view text) {
  T value{};
  if (text.empty()) return std::nullopt;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}
}  // namespace

std::optional<StoredResult> ParseOldLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  std::string_view parts[4];
  for (size_t i = 0; i < 4; ++i) {
    const size_t tab = line.find('\t');
    if ((tab == std::string_view::npos) != (i == 3)) return std::nullopt;
    parts[i] = line.substr(0, tab);
    line.remove_prefix(tab == std::string_view::npos ? line.size() : tab + 1);
  }
  const auto time = ParseNumber<int64_t>(parts[0]);
  const auto score = ParseNumber<int32_t>(parts[1]);
  if (!time || !score || *score < 0 || !IsStorableName(parts[2]) || !IsStorableName(parts[3])) return std::nullopt;
  StoredResult r;
  r.Time = *time;
  r.Score = *score;
  r.Name = Cp1252ToUtf8(parts[2]);
  r.PlayerName = Cp1252ToUtf8(parts[3]);
  return r;
}

ImportCount ImportTextFile(ScoreStore& store, const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  ImportCount count;
  std::vector<StoredResult> batch;
  std::string line;
  const auto flush = [&] {
    count.Added += store.Import(batch);
    batch.clear();
  };
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    if (auto r = ParseOldLine(line)) {
      batch.push_back(std::move(*r));
      if (batch.size() == 10000) flush();
    } else {
      ++count.Skipped;
    }
  }
  if (in.bad()) throw std::runtime_error("cannot read " + file.string());
  flush();
  return count;
}

}  // namespace sf::scores
